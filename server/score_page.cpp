// The HTML page of the online score table.
#include "score_page.h"

namespace vm::scored {

std::string EscapeHtml(std::string_view Text)
{
    std::string Escaped;
    Escaped.reserve(Text.size());
    for (const char C : Text)
    {
        switch (C)
        {
        case '&': Escaped += "&amp;"; break;
        case '<': Escaped += "&lt;"; break;
        case '>': Escaped += "&gt;"; break;
        case '"': Escaped += "&quot;"; break;
        case '\'': Escaped += "&#39;"; break;
        default: Escaped += C;
        }
    }
    return Escaped;
}

std::string RenderScorePage(const std::vector<TScoreRow>& Rows, ERows Which)
{
    const bool All = Which == ERows::All;
    std::string Page = "<!DOCTYPE html>\n"
                       "<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<title>Velomarch online scores</title>\n"
                       "<style>\n"
                       "body { font-family: sans-serif; background: #1e1e1e; color: #eee; margin: 2em; }\n"
                       "table { border-collapse: collapse; }\n"
                       "th, td { padding: 0.3em 1em; border-bottom: 1px solid #444; text-align: left; }\n"
                       "td.score, th.score { text-align: right; }\n"
                       "a { color: #9cf; }\n"
                       "</style>\n</head>\n<body>\n<h1>Velomarch online scores</h1>\n";
    // The verified scores are those whose run the server played to the same end.
    Page +=
        All ? "<p>All scores. <a href=\"?prg=Velomarch&amp;show&amp;type=0\">Verified scores only</a></p>\n"
            : "<p>Verified scores. <a href=\"?prg=Velomarch&amp;show&amp;type=0&amp;all=1\">Show "
              "unverified scores too</a></p>\n";
    if (Rows.empty())
    {
        Page += "<p>No scores yet.</p>\n";
    }
    else
    {
        Page += "<table>\n<thead><tr><th>#</th><th>Name</th><th>Online name</th>"
                "<th class=\"score\">Score</th>";
        Page += All ? "<th>Verified</th></tr></thead>\n<tbody>\n" : "</tr></thead>\n<tbody>\n";
        int Rank = 1;
        for (const TScoreRow& Row : Rows)
        {
            Page += "<tr><td>" + std::to_string(Rank++) + "</td><td>" + EscapeHtml(Row.FName) + "</td><td>" +
                    EscapeHtml(Row.FOnlineName) + "</td><td class=\"score\">" + std::to_string(Row.FScore) +
                    "</td>";
            if (All)
                Page += Row.FCheck == ECheck::Verified ? "<td>yes</td>" : "<td>no</td>";
            Page += "</tr>\n";
        }
        Page += "</tbody>\n</table>\n";
    }
    Page += "</body>\n</html>\n";
    return Page;
}

} // namespace vm::scored
