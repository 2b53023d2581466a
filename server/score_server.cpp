// The HTTP side of the score service: request limits, then each request handed to the service.
#include "score_server.h"

#include <httplib.h>

#include <sys/socket.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace vm::scored {

namespace {

// Requests are tiny; anything bigger is refused before it reaches the service.
constexpr std::size_t MaxTargetBytes = 4096;
constexpr std::size_t MaxHeaderBytes = 4096;
constexpr std::size_t MaxBodyBytes = 4096;

void Answer(httplib::Response& Response, const THttpReply& Reply)
{
    Response.status = Reply.FStatus;
    for (const auto& [Name, Value] : Reply.FHeaders)
        Response.set_header(Name, Value);
    Response.set_content(Reply.FBody, Reply.FContentType);
}

// The refusal of a request over the limits, if it is one.
std::optional<THttpReply> LimitRefusal(const httplib::Request& Request)
{
    if (Request.target.size() > MaxTargetBytes)
        return TextReply(414, ErrorText(414));
    std::size_t HeaderBytes = 0;
    for (const auto& [Name, Value] : Request.headers)
        HeaderBytes += Name.size() + Value.size() + 4;
    if (HeaderBytes > MaxHeaderBytes)
        return TextReply(431, ErrorText(431));
    const std::string Length = Request.get_header_value("Content-Length");
    if (Length.size() > 9 || (!Length.empty() && std::strtoul(Length.c_str(), nullptr, 10) > MaxBodyBytes))
        return TextReply(413, ErrorText(413));
    return std::nullopt;
}

} // namespace

TScoreServer::TScoreServer(TScoreStore& Store, TScoreServerOptions Options)
    : FService(Store, std::move(Options)), FServer(std::make_unique<httplib::Server>())
{
    // The library's default also sets SO_REUSEPORT, which would let a second server share a port in use
    // and split the requests between two databases. SO_REUSEADDR alone still allows a quick restart.
    FServer->set_socket_options([](socket_t Socket) {
        int Yes = 1;
        setsockopt(Socket, SOL_SOCKET, SO_REUSEADDR, &Yes, sizeof Yes);
    });
    FServer->set_payload_max_length(MaxBodyBytes);
    // Every request is answered here, before the library's own routing: the service routes.
    FServer->set_pre_routing_handler([this](const httplib::Request& Request, httplib::Response& Response) {
        if (const auto Refusal = LimitRefusal(Request))
        {
            Answer(Response, *Refusal);
            return httplib::Server::HandlerResponse::Handled;
        }
        THttpRequest Carried;
        Carried.FMethod = Request.method;
        Carried.FClient = Request.remote_addr;
        SetTarget(Carried, Request.target);
        Answer(Response, FService.Handle(Carried));
        return httplib::Server::HandlerResponse::Handled;
    });
    // Errors raised by the library itself (too long a line, a broken request) get a short text too.
    FServer->set_error_handler([](const httplib::Request&, httplib::Response& Response) {
        if (Response.body.empty())
            Response.set_content(ErrorText(Response.status), "text/plain; charset=utf-8");
    });
    FServer->set_exception_handler(
        [](const httplib::Request&, httplib::Response& Response, std::exception_ptr) {
            Answer(Response, TextReply(500, ErrorText(500)));
        });
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

} // namespace vm::scored
