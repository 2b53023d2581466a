// The online score table: the version request, the score text and the submission.
#include "persist/online_scores.h"

#include "common/line_codec.h"
#include "common/score_protocol.h"
#include "engine/http_client.h"
#include "engine/message_box.h"
#include "engine/shell_opener.h"

namespace vm {

std::string VersionToken(const std::string& Reply)
{
    // Five times: the text up to the next "|" is the field, the rest goes on.
    std::string Rest = Reply, Field;
    for (int I = 0; I < 5; ++I)
    {
        const std::size_t Bar = Rest.find('|');
        if (Bar == std::string::npos)
            return {};
        Field = Rest.substr(0, Bar);
        Rest.erase(0, Bar + 1);
    }
    return Field;
}

std::string ScoreText(const std::string& PlayerName, std::int32_t Score, const std::string& Token,
                      const std::string& OnlineName)
{
    std::string Text = "type=0|name=" + PlayerName + "|score=" + std::to_string(Score) +
                       "|key=" + std::string(1, ScoreKeyLetter) + "|p=" + Token + "|add=" + OnlineName +
                       "|z=";
    // A multiple of 5 bytes encodes without a leading filler symbol.
    Text.append((5 - Text.size() % 5) % 5, '0');
    return Text;
}

void SendScore(IHttpClient& Http, IMessageBox& Messages, const std::string& EndpointUrl,
               const std::string& PlayerName, std::int32_t Score, const std::string& OnlineName)
{
    const std::string Product(ScoreProduct);
    std::string Reply;
    if (!Http.Get(EndpointUrl + "?version&prg=" + Product, Reply) || Reply.compare(0, 2, "OK") != 0)
    {
        Messages.Show(CannotConnectText, "Velomarch");
        return;
    }
    // The encoded text uses only letters and digits: it needs no escaping in the query.
    const std::string Info = EncodeLine(ScoreText(PlayerName, Score, VersionToken(Reply), OnlineName));
    std::string Ignored;
    Http.Get(EndpointUrl + "?hs&prg=" + Product + "&inf=" + Info, Ignored);
}

void ViewOnlineScores(IShellOpener& Shell, const std::string& EndpointUrl)
{
    Shell.OpenUrl(EndpointUrl + "?prg=" + std::string(ScoreProduct) + "&show&type=0");
}

} // namespace vm
