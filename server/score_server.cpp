// The HTTP side of the score service: routing, limits and the three answers.
#include "score_server.h"

#include "common/score_protocol.h"
#include "score_json.h"
#include "score_page.h"
#include "submission.h"

#include <httplib.h>

#include <sys/socket.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

namespace vm::scored {

namespace {

// Requests are tiny; anything bigger is refused before it reaches a handler.
constexpr std::size_t MaxTargetBytes = 4096;
constexpr std::size_t MaxHeaderBytes = 4096;
constexpr std::size_t MaxBodyBytes = 4096;
constexpr int TableSize = 100;
// The table as JSON, beside the endpoint: "?limit=N" rows, 1..TableSize, all of them by default.
constexpr const char* ScoreJsonPath = "/cgi/scores.json";

constexpr const char* PlainText = "text/plain; charset=utf-8";

void Answer(httplib::Response& Response, int Status, const std::string& Text)
{
    Response.status = Status;
    Response.set_content(Text, PlainText);
}

// The short text of an error the library answers on its own.
std::string ErrorText(int Status)
{
    switch (Status)
    {
    case 404: return "ERR not found";
    case 405: return "ERR method not allowed";
    case 413: return "ERR request too large";
    case 414: return "ERR request too long";
    case 431: return "ERR headers too large";
    default: return Status >= 500 ? "ERR internal error" : "ERR bad request";
    }
}

std::int64_t SystemSeconds()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

TScoreServerOptions DefaultServerOptions()
{
#ifdef VM_SCORED_VERSION
    const std::string Version = VM_SCORED_VERSION;
#else
    const std::string Version = "0";
#endif
    return TScoreServerOptions{"velomarch-scored " + Version, "Welcome to the Velomarch score table", {}};
}

TScoreServer::TScoreServer(TScoreStore& Store, TTokenBook& Tokens, TScoreServerOptions Options)
    : FStore(Store), FTokens(Tokens), FOptions(std::move(Options)),
      FServer(std::make_unique<httplib::Server>())
{
    if (!FOptions.FWallClock)
        FOptions.FWallClock = SystemSeconds;

    // The library's default also sets SO_REUSEPORT, which would let a second server share a port in use
    // and split the requests between two databases. SO_REUSEADDR alone still allows a quick restart.
    FServer->set_socket_options([](socket_t Socket) {
        int Yes = 1;
        setsockopt(Socket, SOL_SOCKET, SO_REUSEADDR, &Yes, sizeof Yes);
    });
    // The library's own request-line limit is larger and compiled in, so the target is measured here.
    FServer->set_payload_max_length(MaxBodyBytes);
    FServer->set_pre_routing_handler([](const httplib::Request& Request, httplib::Response& Response) {
        if (Request.target.size() > MaxTargetBytes)
        {
            Answer(Response, 414, "ERR request too long");
            return httplib::Server::HandlerResponse::Handled;
        }
        std::size_t HeaderBytes = 0;
        for (const auto& [Name, Value] : Request.headers)
            HeaderBytes += Name.size() + Value.size() + 4;
        if (HeaderBytes > MaxHeaderBytes)
        {
            Answer(Response, 431, "ERR headers too large");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    FServer->Get(
        std::string(ScoreEndpointPath),
        [this](const httplib::Request& Request, httplib::Response& Response) { Route(Request, Response); });
    FServer->Get(ScoreJsonPath, [this](const httplib::Request& Request, httplib::Response& Response) {
        AnswerJson(Request, Response);
    });
    // Errors raised by the library itself (unknown path, too long a line) get a short text too.
    FServer->set_error_handler([](const httplib::Request&, httplib::Response& Response) {
        if (Response.body.empty())
            Response.set_content(ErrorText(Response.status), PlainText);
    });
    FServer->set_exception_handler([](const httplib::Request&, httplib::Response& Response,
                                      std::exception_ptr) { Answer(Response, 500, "ERR internal error"); });
}

TScoreServer::~TScoreServer() { Stop(); }

int TScoreServer::Bind(const std::string& Host, int Port)
{
    if (Port == 0)
        return FServer->bind_to_any_port(Host);
    return FServer->bind_to_port(Host, Port) ? Port : -1;
}

bool TScoreServer::Run()
{
    FInRun = true;
    const bool Ok = FStopRequested ? true : FServer->listen_after_bind();
    FInRun = false;
    return Ok;
}

void TScoreServer::Stop()
{
    FStopRequested = true;
    // The library ignores a stop before its accept loop has started, so wait for the loop when Run
    // is on its way into it.
    while (FInRun && !FServer->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    FServer->stop();
}

bool TScoreServer::IsRunning() const { return FServer->is_running(); }

void TScoreServer::Route(const httplib::Request& Request, httplib::Response& Response)
{
    if (Request.get_param_value_count("prg") != 1 || Request.get_param_value("prg") != ScoreProduct)
    {
        Answer(Response, 400, "ERR unknown product");
        return;
    }
    const bool Version = Request.has_param("version");
    const bool Submission = Request.has_param("hs");
    const bool Show = Request.has_param("show");
    if (Version + Submission + Show != 1)
        Answer(Response, 400, "ERR unknown request");
    else if (Version)
        AnswerVersion(Response);
    else if (Submission)
        AnswerSubmission(Request, Response);
    else
        AnswerShow(Request, Response);
}

void TScoreServer::AnswerVersion(httplib::Response& Response)
{
    // The game takes the fifth "|"-separated field as the token.
    Answer(Response, 200,
           "OK|" + FOptions.FVersion + "|" + FOptions.FMessageOfTheDay + "||" + FTokens.Issue() + "|");
}

void TScoreServer::AnswerSubmission(const httplib::Request& Request, httplib::Response& Response)
{
    if (Request.get_param_value_count("inf") != 1)
    {
        Answer(Response, 400, "ERR missing inf");
        return;
    }
    // Every check of the text comes before the token is redeemed, so a refused text leaves its token
    // usable; the token is used up by the submission that is stored (or fails to store).
    TSubmissionCheck Check = CheckSubmission(Request.get_param_value("inf"));
    if (!Check.FSubmission)
    {
        Answer(Response, 400, "ERR " + Check.FReason);
        return;
    }
    const TSubmission& Submitted = *Check.FSubmission;
    switch (FTokens.Redeem(Submitted.FToken))
    {
    case TTokenBook::ERedeem::Accepted: break;
    case TTokenBook::ERedeem::Unknown: Answer(Response, 400, "ERR unknown token"); return;
    case TTokenBook::ERedeem::Expired: Answer(Response, 400, "ERR expired token"); return;
    }
    try
    {
        FStore.Add(TScoreRow{Submitted.FName, Submitted.FScore, Submitted.FOnlineName, FOptions.FWallClock(),
                             Request.remote_addr});
    }
    catch (const TStoreError& Error)
    {
        std::fprintf(stderr, "velomarch-scored: %s\n", Error.what());
        Answer(Response, 500, "ERR cannot store the score");
        return;
    }
    Answer(Response, 200, "OK");
}

std::optional<std::vector<TScoreRow>> TScoreServer::ReadTop(int Limit, httplib::Response& Response)
{
    try
    {
        return FStore.Top(Limit);
    }
    catch (const TStoreError& Error)
    {
        std::fprintf(stderr, "velomarch-scored: %s\n", Error.what());
        Answer(Response, 500, "ERR cannot read the scores");
        return std::nullopt;
    }
}

void TScoreServer::AnswerShow(const httplib::Request& Request, httplib::Response& Response)
{
    if (Request.get_param_value_count("type") != 1 || Request.get_param_value("type") != "0")
    {
        Answer(Response, 400, "ERR unknown table");
        return;
    }
    const auto Rows = ReadTop(TableSize, Response);
    if (!Rows)
        return;
    Response.status = 200;
    Response.set_header("Content-Security-Policy", "default-src 'none'; style-src 'unsafe-inline'");
    Response.set_header("X-Content-Type-Options", "nosniff");
    Response.set_content(RenderScorePage(*Rows), "text/html; charset=utf-8");
}

void TScoreServer::AnswerJson(const httplib::Request& Request, httplib::Response& Response)
{
    int Limit = TableSize;
    if (Request.has_param("limit"))
    {
        Limit = Request.get_param_value_count("limit") == 1
                    ? ParseScoreLimit(Request.get_param_value("limit"), TableSize)
                    : 0;
        if (Limit == 0)
        {
            Answer(Response, 400, "ERR limit must be a whole number from 1 to " + std::to_string(TableSize));
            return;
        }
    }
    const auto Rows = ReadTop(Limit, Response);
    if (!Rows)
        return;
    Response.status = 200;
    Response.set_header("X-Content-Type-Options", "nosniff");
    Response.set_content(RenderScoreJson(*Rows), "application/json");
}

} // namespace vm::scored
