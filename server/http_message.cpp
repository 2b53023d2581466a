// Query parsing and the plain replies shared by the score service and its HTTP front.
#include "http_message.h"

namespace vm::scored {

namespace {

int HexValue(char C)
{
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    return -1;
}

} // namespace

std::string THttpRequest::Param(std::string_view Key) const
{
    const auto Found = FParams.find(std::string(Key));
    return Found == FParams.end() ? std::string() : Found->second;
}

THttpReply TextReply(int Status, std::string Text)
{
    THttpReply Reply;
    Reply.FStatus = Status;
    Reply.FBody = std::move(Text);
    return Reply;
}

std::string ErrorText(int Status)
{
    switch (Status)
    {
    case 404: return "ERR not found";
    case 405: return "ERR method not allowed";
    case 408: return "ERR request took too long";
    case 413: return "ERR request too large";
    case 414: return "ERR request too long";
    case 429: return "ERR too many requests";
    case 431: return "ERR headers too large";
    case 503: return "ERR server busy";
    default: return Status >= 500 ? "ERR internal error" : "ERR bad request";
    }
}

std::string PercentDecode(std::string_view Text, bool PlusIsBlank)
{
    std::string Decoded;
    Decoded.reserve(Text.size());
    for (std::size_t I = 0; I < Text.size(); ++I)
    {
        const char C = Text[I];
        if (C == '%' && I + 2 < Text.size() && HexValue(Text[I + 1]) >= 0 && HexValue(Text[I + 2]) >= 0)
        {
            Decoded += static_cast<char>(HexValue(Text[I + 1]) * 16 + HexValue(Text[I + 2]));
            I += 2;
        }
        else
            Decoded += PlusIsBlank && C == '+' ? ' ' : C;
    }
    return Decoded;
}

std::multimap<std::string, std::string> ParseQuery(std::string_view Query)
{
    std::multimap<std::string, std::string> Params;
    while (!Query.empty())
    {
        const std::size_t Amp = Query.find('&');
        const std::string_view Pair = Query.substr(0, Amp);
        Query = Amp == std::string_view::npos ? std::string_view() : Query.substr(Amp + 1);
        if (Pair.empty())
            continue;
        const std::size_t Equals = Pair.find('=');
        if (Equals == std::string_view::npos)
            Params.emplace(PercentDecode(Pair, true), std::string());
        else
            Params.emplace(PercentDecode(Pair.substr(0, Equals), true),
                           PercentDecode(Pair.substr(Equals + 1), true));
    }
    return Params;
}

void SetTarget(THttpRequest& Request, std::string_view Target)
{
    Request.FTarget = std::string(Target);
    const std::size_t Question = Target.find('?');
    Request.FPath = PercentDecode(Target.substr(0, Question), false);
    Request.FParams = Question == std::string_view::npos ? std::multimap<std::string, std::string>()
                                                         : ParseQuery(Target.substr(Question + 1));
}

} // namespace vm::scored
