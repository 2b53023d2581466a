// The score service's answers: routing, the version reply, submissions, the show page and the JSON table.
#include "score_service.h"

#include "common/score_protocol.h"
#include "score_json.h"
#include "score_page.h"
#include "submission.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace vm::scored {

namespace {

constexpr int TableSize = 100;
// The table as JSON, beside the endpoint: "?limit=N" rows, 1..TableSize, all of them by default.
constexpr const char* ScoreJsonPath = "/cgi/scores.json";
// For monitors and load balancers: 200 while the store answers, 503 when it does not.
constexpr const char* HealthPath = "/healthz";

std::int64_t SystemSeconds()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// A wait as a player reads it: seconds up to two minutes, then whole minutes, then whole hours
// (rounded up, so the player never comes back too early).
std::string WaitText(int Seconds)
{
    if (Seconds < 120)
        return std::to_string(Seconds) + " s";
    if (Seconds < 2 * 3600)
        return std::to_string((Seconds + 59) / 60) + " min";
    return std::to_string((Seconds + 3599) / 3600) + " h";
}

// A refusal for an address over its limits; the text is short, printable ASCII, shown by the game.
// Retry-After gives the wait in seconds for other clients.
THttpReply TooManyReply(const std::string& What, int RetryAfter)
{
    THttpReply Reply = TextReply(429, "ERR " + What + "; try again in " + WaitText(RetryAfter));
    Reply.FHeaders = {{"Retry-After", std::to_string(RetryAfter)}};
    return Reply;
}

// A server that cannot take a recording now: 503, with the wait in seconds for other clients.
THttpReply BusyReply(const std::string& What, int RetryAfter)
{
    THttpReply Reply = TextReply(503, "ERR " + What + "; try again in " + WaitText(RetryAfter));
    Reply.FHeaders = {{"Retry-After", std::to_string(RetryAfter)}};
    return Reply;
}

// "all=1" asks for the unverified rows too.
ERows RowsAsked(const THttpRequest& Request)
{
    return Request.ParamCount("all") == 1 && Request.Param("all") == "1" ? ERows::All : ERows::Verified;
}

bool IsToken(const std::string& Text)
{
    return Text.size() == TokenLength && std::all_of(Text.begin(), Text.end(), [](char C) {
               return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9');
           });
}

} // namespace

TScoreServerOptions DefaultServerOptions()
{
#ifdef VM_SCORED_VERSION
    const std::string Version = VM_SCORED_VERSION;
#else
    const std::string Version = "0";
#endif
    return TScoreServerOptions{"velomarch-scored " + Version, "Welcome to the Velomarch score table", {}, {}};
}

TScoreService::TScoreService(TScoreStore& Store, TScoreServerOptions Options)
    : FStore(Store), FOptions(std::move(Options))
{
    if (!FOptions.FWallClock)
        FOptions.FWallClock = SystemSeconds;
    FVerifier = std::make_unique<TReplayVerifier>(FOptions.FVerifier);
}

TScoreService::~TScoreService() { StopVerifying(); }

void TScoreService::StopVerifying() { FVerifier->Stop(); }

THttpReply TScoreService::Handle(const THttpRequest& Request)
{
    // Only GET is served; any other method finds nothing.
    if (Request.FMethod == "GET" && Request.FPath == ScoreEndpointPath)
        return Route(Request);
    if (Request.FMethod == "GET" && Request.FPath == ScoreJsonPath)
        return AnswerJson(Request);
    if (Request.FMethod == "GET" && Request.FPath == HealthPath)
        return AnswerHealth();
    if (Request.FPath == ReplayUploadPath)
    {
        if (Request.FMethod != "POST")
            return TextReply(405, "ERR a recording is sent with POST");
        return AnswerUpload(Request);
    }
    return TextReply(404, ErrorText(404));
}

THttpReply TScoreService::Route(const THttpRequest& Request)
{
    if (Request.ParamCount("prg") != 1 || Request.Param("prg") != ScoreProduct)
        return TextReply(400, "ERR unknown product");
    const bool Version = Request.HasParam("version");
    const bool Submission = Request.HasParam("hs");
    const bool Show = Request.HasParam("show");
    if (Version + Submission + Show != 1)
        return TextReply(400, "ERR unknown request");
    if (Version)
        return AnswerVersion(Request);
    if (Submission)
        return AnswerSubmission(Request);
    return AnswerShow(Request);
}

THttpReply TScoreService::AnswerVersion(const THttpRequest& Request)
{
    TIssueResult Issued;
    try
    {
        Issued = FStore.IssueToken(Request.FClient);
    }
    catch (const TStoreError& Error)
    {
        std::fprintf(stderr, "velomarch-scored: %s\n", Error.what());
        return TextReply(500, "ERR cannot issue a token");
    }
    switch (Issued.FOutcome)
    {
    case EIssue::Issued: break;
    case EIssue::TooFast: return TooManyReply("too many requests from your address", Issued.FRetryAfter);
    case EIssue::TooManyPending:
        return TooManyReply("too many unused tokens for your address", Issued.FRetryAfter);
    }
    // The game takes the fifth "|"-separated field as the token.
    return TextReply(200, "OK|" + FOptions.FVersion + "|" + FOptions.FMessageOfTheDay + "||" + Issued.FToken +
                              "|");
}

THttpReply TScoreService::AnswerHealth()
{
    return FStore.Ping() ? TextReply(200, "OK") : TextReply(503, "ERR store unavailable");
}

THttpReply TScoreService::AnswerSubmission(const THttpRequest& Request)
{
    if (Request.ParamCount("inf") != 1)
        return TextReply(400, "ERR missing inf");
    // Every check of the text comes before the token is redeemed, so a refused text leaves its token
    // usable; the token is used up by the submission that is stored (or fails to store).
    const TSubmissionCheck Check = CheckSubmission(Request.Param("inf"));
    if (!Check.FSubmission)
        return TextReply(400, "ERR " + Check.FReason);
    const TSubmission& Submitted = *Check.FSubmission;
    // The token is redeemed and the row stored in one transaction: a failure leaves the token usable.
    TSubmitResult Result;
    try
    {
        Result = FStore.Submit(Submitted.FToken,
                               TScoreRow{Submitted.FName, Submitted.FScore, Submitted.FOnlineName,
                                         FOptions.FWallClock(), Request.FClient});
    }
    catch (const TStoreError& Error)
    {
        std::fprintf(stderr, "velomarch-scored: %s\n", Error.what());
        return TextReply(500, "ERR cannot store the score");
    }
    switch (Result.FOutcome)
    {
    case ESubmit::Stored: break;
    case ESubmit::UnknownToken: return TextReply(400, "ERR unknown token");
    case ESubmit::ExpiredToken: return TextReply(400, "ERR expired token");
    case ESubmit::TooMany: return TooManyReply("too many scores from your address", Result.FRetryAfter);
    }
    return TextReply(200, "OK");
}

std::optional<std::vector<TScoreRow>> TScoreService::ReadTop(int Limit, ERows Which, THttpReply& Failure)
{
    try
    {
        return FStore.Top(Limit, Which);
    }
    catch (const TStoreError& Error)
    {
        std::fprintf(stderr, "velomarch-scored: %s\n", Error.what());
        Failure = TextReply(500, "ERR cannot read the scores");
        return std::nullopt;
    }
}

THttpReply TScoreService::AnswerShow(const THttpRequest& Request)
{
    if (Request.ParamCount("type") != 1 || Request.Param("type") != "0")
        return TextReply(400, "ERR unknown table");
    THttpReply Reply;
    const ERows Which = RowsAsked(Request);
    const auto Rows = ReadTop(TableSize, Which, Reply);
    if (!Rows)
        return Reply;
    Reply.FHeaders = {{"Content-Security-Policy", "default-src 'none'; style-src 'unsafe-inline'"},
                      {"X-Content-Type-Options", "nosniff"}};
    Reply.FContentType = "text/html; charset=utf-8";
    Reply.FBody = RenderScorePage(*Rows, Which);
    return Reply;
}

THttpReply TScoreService::AnswerJson(const THttpRequest& Request)
{
    int Limit = TableSize;
    if (Request.HasParam("limit"))
    {
        Limit = Request.ParamCount("limit") == 1 ? ParseScoreLimit(Request.Param("limit"), TableSize) : 0;
        if (Limit == 0)
            return TextReply(400, "ERR limit must be a whole number from 1 to " + std::to_string(TableSize));
    }
    THttpReply Reply;
    const auto Rows = ReadTop(Limit, RowsAsked(Request), Reply);
    if (!Rows)
        return Reply;
    Reply.FHeaders = {{"X-Content-Type-Options", "nosniff"}};
    Reply.FContentType = "application/json";
    Reply.FBody = RenderScoreJson(*Rows);
    return Reply;
}

} // namespace vm::scored

namespace vm::scored {

THttpReply TScoreService::AnswerUpload(const THttpRequest& Request)
{
    if (Request.ParamCount("prg") != 1 || Request.Param("prg") != ScoreProduct)
        return TextReply(400, "ERR unknown product");
    if (Request.ParamCount("token") != 1)
        return TextReply(400, "ERR missing token");
    const std::string Token = Request.Param("token");
    if (!IsToken(Token))
        return TextReply(400, "ERR unknown token");
    // What needs no playing is checked first: a damaged or unfinished upload leaves the row for a
    // whole one, and costs no more than its reading.
    const auto Refused = CheckRecording(Request.FBody, FVerifier->Options());
    if (Refused && Refused->FOutcome != EVerdict::OtherVersion)
        return TextReply(400, "ERR " + Refused->FReason);
    TClaimResult Claim;
    try
    {
        Claim = FStore.ClaimRun(Token);
    }
    catch (const TStoreError& Error)
    {
        std::fprintf(stderr, "velomarch-scored: %s\n", Error.what());
        return TextReply(500, "ERR cannot find the score");
    }
    switch (Claim.FOutcome)
    {
    case EClaim::Claimed: break;
    case EClaim::UnknownToken: return TextReply(400, "ERR unknown token");
    case EClaim::AlreadySent: return TextReply(409, "ERR the score's recording came before");
    }
    // Another version's recording, or a server with no game to play it on: kept, unverified.
    if (Refused || FVerifier->Options().FDataDir.empty())
    {
        const TVerdict Kept =
            Refused ? *Refused : TVerdict{EVerdict::OtherVersion, "this server plays no recordings"};
        return Judge(Claim.FId, Kept);
    }
    THttpReply Later;
    const std::int64_t Id = Claim.FId;
    Later.FLater = [this, Id, Bytes = Request.FBody,
                    Expected = TExpectedRun{Claim.FRow.FScore, Claim.FRow.FName}](
                       std::function<void(THttpReply)> Send) mutable {
        const bool Queued =
            FVerifier->Enqueue(std::move(Bytes), Expected,
                               [this, Id, Send](const TVerdict& Verdict) { Send(Judge(Id, Verdict)); });
        if (!Queued)
            Send(Judge(Id, TVerdict{EVerdict::Unavailable, {}}));
    };
    return Later;
}

THttpReply TScoreService::Judge(std::int64_t Id, const TVerdict& Verdict)
{
    ECheck Check = ECheck::Refused;
    switch (Verdict.FOutcome)
    {
    case EVerdict::Verified: Check = ECheck::Verified; break;
    case EVerdict::OtherVersion: Check = ECheck::Kept; break;
    case EVerdict::Mismatch:
    case EVerdict::Unplayable:
    case EVerdict::OverBudget: Check = ECheck::Refused; break;
    case EVerdict::Unavailable: Check = ECheck::Unchecked; break; // the row waits for another upload
    }
    try
    {
        FStore.SetCheck(Id, Check, Verdict.FReason);
    }
    catch (const TStoreError& Error)
    {
        std::fprintf(stderr, "velomarch-scored: %s\n", Error.what());
        return TextReply(500, "ERR cannot store the recording's check");
    }
    switch (Check)
    {
    case ECheck::Verified: return TextReply(200, "OK verified");
    case ECheck::Kept: return TextReply(200, "OK unverified: " + Verdict.FReason);
    case ECheck::Unchecked:
        return BusyReply(Verdict.FReason.empty() ? "the server is busy" : Verdict.FReason,
                         FVerifier->RetryAfter());
    default: return TextReply(400, "ERR " + Verdict.FReason);
    }
}

} // namespace vm::scored
