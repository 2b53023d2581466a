// The score service over libmicrohttpd: the library's epoll thread pool, its connection limits, and
// the same request limits as the server's own front before the service answers.
#include "mhd_front.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>

#include <cstdlib>
#include <cstring>
#include <optional>

namespace vm::bench {

namespace {

constexpr std::size_t MaxTargetBytes = 4096;
constexpr std::size_t MaxHeaderBytes = 4096;
constexpr std::size_t MaxBodyBytes = 4096;

// What the library keeps for one request between its calls: the target exactly as sent.
struct TRequestState
{
    std::string FTarget;
    bool FHeadSeen = false;
};

void* KeepTarget(void*, const char* Uri, MHD_Connection*)
{
    auto* State = new TRequestState;
    State->FTarget = Uri != nullptr ? Uri : "";
    return State;
}

void ForgetRequest(void*, MHD_Connection*, void** RequestState, MHD_RequestTerminationCode)
{
    delete static_cast<TRequestState*>(*RequestState);
    *RequestState = nullptr;
}

MHD_Result AddHeaderBytes(void* Total, MHD_ValueKind, const char* Name, const char* Value)
{
    *static_cast<std::size_t*>(Total) += std::strlen(Name) + (Value != nullptr ? std::strlen(Value) : 0) + 4;
    return MHD_YES;
}

std::string ClientAddress(MHD_Connection* Connection)
{
    const MHD_ConnectionInfo* Info = MHD_get_connection_info(Connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    if (Info == nullptr || Info->client_addr == nullptr)
        return {};
    char Text[INET6_ADDRSTRLEN] = "";
    if (Info->client_addr->sa_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(Info->client_addr)->sin_addr, Text,
                  sizeof Text);
    else if (Info->client_addr->sa_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(Info->client_addr)->sin6_addr, Text,
                  sizeof Text);
    return Text;
}

MHD_Result HandleRequest(void* Front, MHD_Connection* Connection, const char*, const char* Method,
                         const char*, const char*, std::size_t* UploadSize, void** RequestState)
{
    auto* State = static_cast<TRequestState*>(*RequestState);
    if (State == nullptr)
        return MHD_NO;
    scored::THttpRequest Request;
    Request.FMethod = Method;
    Request.FClient = ClientAddress(Connection);
    std::size_t HeaderBytes = 0;
    MHD_get_connection_values(Connection, MHD_HEADER_KIND, AddHeaderBytes, &HeaderBytes);
    const char* Length =
        MHD_lookup_connection_value(Connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    if (State->FTarget.size() <= MaxTargetBytes)
        scored::SetTarget(Request, State->FTarget);
    else
        Request.FTarget = State->FTarget;
    auto& Carrier = *static_cast<TMhdFront*>(Front);
    // The head alone is seen first. A request over the limits is refused at once (the library then
    // closes the connection); any other is answered once its body, which is not used, has been read,
    // so that the connection can be kept alive.
    std::optional<scored::THttpReply> Reply =
        Carrier.Refusal(Request, HeaderBytes, Length != nullptr ? Length : "");
    if (!Reply && !State->FHeadSeen)
    {
        State->FHeadSeen = true;
        return MHD_YES;
    }
    if (!Reply && *UploadSize != 0)
    {
        *UploadSize = 0;
        return MHD_YES;
    }
    if (!Reply)
        Reply = Carrier.Answer(Request);

    MHD_Response* Response = MHD_create_response_from_buffer(
        Reply->FBody.size(), const_cast<char*>(Reply->FBody.data()), MHD_RESPMEM_MUST_COPY);
    if (Response == nullptr)
        return MHD_NO;
    MHD_add_response_header(Response, MHD_HTTP_HEADER_CONTENT_TYPE, Reply->FContentType.c_str());
    for (const auto& [Name, Value] : Reply->FHeaders)
        MHD_add_response_header(Response, Name.c_str(), Value.c_str());
    const MHD_Result Queued = MHD_queue_response(Connection, static_cast<unsigned>(Reply->FStatus), Response);
    MHD_destroy_response(Response);
    return Queued;
}

} // namespace

TMhdFront::TMhdFront(scored::TScoreStore& Store, TMhdLimits Limits, scored::TScoreServerOptions Options)
    : FService(Store, std::move(Options)), FLimits(Limits)
{}

TMhdFront::~TMhdFront() { Stop(); }

std::optional<scored::THttpReply> TMhdFront::Refusal(const scored::THttpRequest& Request,
                                                     std::size_t HeaderBytes,
                                                     const std::string& ContentLength) const
{
    if (Request.FTarget.size() > MaxTargetBytes)
        return scored::TextReply(414, scored::ErrorText(414));
    if (HeaderBytes > MaxHeaderBytes)
        return scored::TextReply(431, scored::ErrorText(431));
    if (ContentLength.size() > 9 ||
        (!ContentLength.empty() && std::strtoul(ContentLength.c_str(), nullptr, 10) > MaxBodyBytes))
        return scored::TextReply(413, scored::ErrorText(413));
    return std::nullopt;
}

scored::THttpReply TMhdFront::Answer(const scored::THttpRequest& Request)
{
    try
    {
        scored::THttpReply Reply = FService.Handle(Request);
        // Answers that come later (a recording played) are the Beast front's alone.
        if (Reply.FLater)
            return scored::TextReply(501, "ERR not served here");
        return Reply;
    }
    catch (...)
    {
        return scored::TextReply(500, scored::ErrorText(500));
    }
}

int TMhdFront::Start(const std::string& Host, int Port)
{
    Stop();
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_port = htons(static_cast<std::uint16_t>(Port));
    if (Port < 0 || Port > 65535 || inet_pton(AF_INET, Host.c_str(), &Address.sin_addr) != 1)
        return -1;
    FDaemon = MHD_start_daemon(
        MHD_USE_EPOLL_INTERNAL_THREAD, static_cast<std::uint16_t>(Port), nullptr, nullptr, HandleRequest,
        this, MHD_OPTION_SOCK_ADDR, reinterpret_cast<sockaddr*>(&Address), MHD_OPTION_THREAD_POOL_SIZE,
        static_cast<unsigned>(FLimits.FThreads), MHD_OPTION_CONNECTION_MEMORY_LIMIT,
        static_cast<std::size_t>(FLimits.FMemoryBytes), MHD_OPTION_CONNECTION_TIMEOUT,
        static_cast<unsigned>(FLimits.FTimeoutSeconds), MHD_OPTION_PER_IP_CONNECTION_LIMIT,
        static_cast<unsigned>(FLimits.FPerAddressConnections), MHD_OPTION_CONNECTION_LIMIT,
        static_cast<unsigned>(FLimits.FConnections), MHD_OPTION_URI_LOG_CALLBACK, KeepTarget, nullptr,
        MHD_OPTION_NOTIFY_COMPLETED, ForgetRequest, nullptr, MHD_OPTION_END);
    if (FDaemon == nullptr)
        return -1;
    const MHD_DaemonInfo* Info = MHD_get_daemon_info(FDaemon, MHD_DAEMON_INFO_BIND_PORT);
    return Info != nullptr ? Info->port : Port;
}

void TMhdFront::Stop()
{
    if (FDaemon != nullptr)
        MHD_stop_daemon(FDaemon);
    FDaemon = nullptr;
}

} // namespace vm::bench
