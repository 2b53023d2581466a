// The online score table: the version request, the score text and the submission.
#include "persist/online_scores.h"

#include "common/line_codec.h"
#include "common/score_protocol.h"
#include "engine/http_client.h"
#include "engine/shell_opener.h"

#include <fstream>
#include <sstream>

namespace vm {

namespace {

// The longest reason shown; a server's own reasons are a few words.
constexpr std::size_t MaxReasonLength = 80;

// The first line of Text, its bytes outside printable ASCII as "?", cut to MaxReasonLength.
std::string ShownReason(const std::string& Text)
{
    std::string Reason;
    for (const char C : Text)
    {
        if (C == '\n' || C == '\r' || Reason.size() == MaxReasonLength)
            break;
        Reason += C >= 0x20 && C < 0x7F ? C : '?';
    }
    while (!Reason.empty() && Reason.back() == ' ')
        Reason.pop_back();
    return Reason;
}

// The reason of a submission's reply that is not "OK": the server's words after "ERR ", or the
// status when the reply is not the server's.
std::string RefusalReason(const THttpResult& Reply)
{
    if (Reply.Body.compare(0, 4, "ERR ") == 0)
    {
        const std::string Reason = ShownReason(Reply.Body.substr(4));
        if (!Reason.empty())
            return Reason;
    }
    return "unexpected reply (HTTP " + std::to_string(Reply.Status) + ")";
}

} // namespace

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

TSendResult SubmitScore(IHttpClient& Http, THttpCancel* Cancel, const std::string& EndpointUrl,
                        const std::string& PlayerName, std::int32_t Score, const std::string& OnlineName)
{
    const std::string Product(ScoreProduct);
    const THttpResult Version = Http.Fetch(EndpointUrl + "?version&prg=" + Product, Cancel);
    if (Version.Outcome == THttpOutcome::Cancelled)
        return {TSendOutcome::Cancelled, {}};
    // A server that refuses to hand out a token (too many requests from this address) says why in
    // its own words; any other reply that is not "OK" is not the score server's.
    if (Version.Outcome == THttpOutcome::Reply && Version.Status >= 400 && Version.Body.starts_with("ERR ") &&
        !ShownReason(Version.Body.substr(4)).empty())
        return {TSendOutcome::Refused, ShownReason(Version.Body.substr(4))};
    if (Version.Outcome != THttpOutcome::Reply || Version.Status != 200 ||
        Version.Body.compare(0, 2, "OK") != 0)
        return {TSendOutcome::NoConnection, {}};
    // The encoded text uses only letters and digits: it needs no escaping in the query.
    const std::string Info = EncodeLine(ScoreText(PlayerName, Score, VersionToken(Version.Body), OnlineName));
    const THttpResult Reply = Http.Fetch(EndpointUrl + "?hs&prg=" + Product + "&inf=" + Info, Cancel);
    switch (Reply.Outcome)
    {
    case THttpOutcome::Cancelled: return {TSendOutcome::Cancelled, {}};
    case THttpOutcome::Failed: return {TSendOutcome::NoConnection, {}};
    case THttpOutcome::Reply: break;
    }
    if (Reply.Status == 200 && Reply.Body.compare(0, 2, "OK") == 0)
        return {TSendOutcome::Stored, {}, VersionToken(Version.Body)};
    return {TSendOutcome::Refused, RefusalReason(Reply)};
}

std::string ReplayUploadUrl(const std::string& EndpointUrl)
{
    const std::string Script(ScoreEndpointPath);
    if (EndpointUrl.size() >= Script.size() &&
        EndpointUrl.compare(EndpointUrl.size() - Script.size(), Script.size(), Script) == 0)
        return EndpointUrl.substr(0, EndpointUrl.size() - Script.size()) + std::string(ReplayUploadPath);
    // Another path: the same server's root.
    const std::size_t Host = EndpointUrl.find("://");
    const std::size_t Path = EndpointUrl.find('/', Host == std::string::npos ? 0 : Host + 3);
    return EndpointUrl.substr(0, Path) + std::string(ReplayUploadPath);
}

TUploadResult UploadRun(IHttpClient& Http, THttpCancel* Cancel, const std::string& EndpointUrl,
                        const std::string& Token, const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    std::ostringstream Bytes;
    Bytes << In.rdbuf();
    if (!In || Bytes.str().empty())
        return {TUploadOutcome::NoConnection, "the run's recording cannot be read"};
    // The token is letters and digits: it needs no escaping in the query.
    const THttpResult Reply =
        Http.Post(ReplayUploadUrl(EndpointUrl) + "?prg=" + std::string(ScoreProduct) + "&token=" + Token,
                  Bytes.str(), "application/octet-stream", Cancel);
    switch (Reply.Outcome)
    {
    case THttpOutcome::Cancelled: return {TUploadOutcome::Cancelled, {}};
    case THttpOutcome::Failed: return {TUploadOutcome::NoConnection, {}};
    case THttpOutcome::Reply: break;
    }
    if (Reply.Status == 200 && Reply.Body.starts_with("OK verified"))
        return {TUploadOutcome::Verified, {}};
    if (Reply.Status == 200 && Reply.Body.starts_with("OK unverified: "))
        return {TUploadOutcome::Unverified, ShownReason(Reply.Body.substr(15))};
    return {TUploadOutcome::Refused, RefusalReason(Reply)};
}

std::string UploadResultText(const TUploadResult& Result)
{
    switch (Result.Outcome)
    {
    case TUploadOutcome::Verified: return "Your run is verified: the online table shows your score.";
    case TUploadOutcome::Unverified: return "Your score is online but not verified: " + Result.Reason;
    case TUploadOutcome::Refused: return "The server did not verify your run: " + Result.Reason;
    case TUploadOutcome::NoConnection:
        return "Your run could not be sent to be verified" +
               (Result.Reason.empty() ? "" : ": " + Result.Reason);
    case TUploadOutcome::Cancelled: break;
    }
    return {};
}

std::string SendResultText(const TSendResult& Result)
{
    switch (Result.Outcome)
    {
    case TSendOutcome::NoConnection: return CannotConnectText;
    case TSendOutcome::Refused: return "The server refused the score: " + Result.Reason;
    case TSendOutcome::Stored:
    case TSendOutcome::Cancelled: break;
    }
    return {};
}

void ViewOnlineScores(IShellOpener& Shell, const std::string& EndpointUrl)
{
    Shell.OpenUrl(EndpointUrl + "?prg=" + std::string(ScoreProduct) + "&show&type=0");
}

} // namespace vm
