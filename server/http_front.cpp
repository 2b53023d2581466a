// The HTTP front on Boost.Asio/Beast: accepting within the connection limits, reading each request
// within its size and time limits, answering it through the handler, and draining on Stop.
#include "http_front.h"

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <unordered_map>

namespace vm::scored {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using TClock = std::chrono::steady_clock;
using TErrorCode = boost::system::error_code;

namespace {

// The request line around its target: method, blanks, "HTTP/1.1" and the line end.
constexpr std::size_t RequestLineSlack = 64;
// After an answer that ends a connection, what the client still sends is read and dropped for a
// while, so that closing with unread bytes does not reset the connection before the answer arrives.
constexpr std::chrono::milliseconds LingerTime{2000};
constexpr std::size_t LingerBytes = 64 * 1024;
// Open files kept apart from connections: the database, its journal, the log, the listening socket.
constexpr int ReservedFiles = 64;
// How often Stop looks whether the connections have all closed.
constexpr std::chrono::milliseconds DrainPoll{20};
// The pause before accepting again after accept failed (out of files, say).
constexpr std::chrono::milliseconds AcceptRetry{100};

// "2024-05-01T12:34:56.789Z".
std::string UtcNow()
{
    const auto Now = std::chrono::system_clock::now();
    const std::time_t Seconds = std::chrono::system_clock::to_time_t(Now);
    const auto Millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(Now.time_since_epoch()).count() % 1000;
    std::tm Parts{};
    gmtime_r(&Seconds, &Parts);
    char Text[32];
    const std::size_t Length = std::strftime(Text, sizeof Text, "%Y-%m-%dT%H:%M:%S", &Parts);
    std::snprintf(Text + Length, sizeof Text - Length, ".%03dZ", static_cast<int>(Millis));
    return Text;
}

// A logfmt value: as it is when it is plain, else quoted with '"', '\' and bytes outside printable
// ASCII escaped, so a line can never be split or forged by what a client sent.
void AppendValue(std::string& Line, std::string_view Value)
{
    if (Value.empty())
    {
        Line += '-';
        return;
    }
    const bool Plain = std::all_of(Value.begin(), Value.end(), [](char C) {
        return C > ' ' && C < 0x7F && C != '"' && C != '\\' && C != '=';
    });
    if (Plain)
    {
        Line += Value;
        return;
    }
    Line += '"';
    for (const char C : Value)
    {
        const auto Byte = static_cast<unsigned char>(C);
        if (C == '"' || C == '\\')
        {
            Line += '\\';
            Line += C;
        }
        else if (Byte < 0x20 || Byte >= 0x7F)
        {
            char Escaped[5];
            std::snprintf(Escaped, sizeof Escaped, "\\x%02X", Byte);
            Line += Escaped;
        }
        else
            Line += C;
    }
    Line += '"';
}

std::string AddressText(const asio::ip::address& Address)
{
    if (Address.is_v6() && Address.to_v6().is_v4_mapped())
        return asio::ip::make_address_v4(asio::ip::v4_mapped, Address.to_v6()).to_string();
    return Address.to_string();
}

} // namespace

class TConnection;

struct THttpFrontCore
{
    THttpFrontCore(TRequestHandler Handler, TFrontOptions Options);

    // Takes an accepted socket in, or refuses it when a connection limit is reached.
    void Admit(tcp::socket Socket);
    void Accept();
    void BeginDrain();
    void PollDrain();
    void Forget(std::uint64_t Id, const std::string& Peer);
    void Log(std::string Line) const;
    std::size_t MaxBodyBytes() const
    {
        return FOptions.FLargeBodyPaths.empty()
                   ? FOptions.FMaxBodyBytes
                   : std::max(FOptions.FMaxBodyBytes, FOptions.FMaxLargeBodyBytes);
    }
    std::size_t HeaderLimit() const
    {
        return FOptions.FMaxTargetBytes + FOptions.FMaxHeaderBytes + RequestLineSlack;
    }

    const TRequestHandler FHandler;
    TFrontOptions FOptions;
    std::vector<asio::ip::address> FTrusted;
    std::atomic<bool> FStopping{false};
    std::atomic<bool> FRunning{false};
    TClock::time_point FDrainDeadline;

    // The open connections: their count, their count per peer address, and each for Stop to drain.
    std::mutex FMutex;
    std::size_t FOpen = 0;
    std::unordered_map<std::string, int> FPerAddress;
    std::map<std::uint64_t, std::weak_ptr<TConnection>> FConnections;
    std::uint64_t FNextId = 0;

    // Declared after the counts: destroying the context destroys the connections it still holds,
    // which take themselves out of the counts.
    asio::io_context FContext;
    asio::strand<asio::io_context::executor_type> FAcceptStrand;
    tcp::acceptor FAcceptor;
    asio::steady_timer FAcceptTimer;
    asio::steady_timer FDrainTimer;
    asio::thread_pool FWorkers;
};

// One client connection, served on its own strand: wait for a request, read it within the limits,
// hand it to a worker, write the answer, then wait again, or linger and close.
class TConnection : public std::enable_shared_from_this<TConnection>
{
public:
    TConnection(THttpFrontCore& Front, tcp::socket Socket, std::string Peer, bool TrustedPeer,
                std::uint64_t Id)
        : FFront(Front), FSocket(std::move(Socket)), FTimer(FSocket.get_executor()),
          FBuffer(Front.HeaderLimit() + 512), FPeer(std::move(Peer)), FTrustedPeer(TrustedPeer), FId(Id)
    {}
    ~TConnection() { FFront.Forget(FId, FPeer); }

    void Start()
    {
        TErrorCode Ignored;
        // Small answers go out at once instead of waiting for the client's acknowledgement.
        FSocket.set_option(tcp::no_delay(true), Ignored);
        WaitForRequest();
    }

    // Runs on the connection's strand once Stop was called: an idle connection closes now, a busy
    // one after its answer.
    void Drain()
    {
        if (FState == EState::Idle)
            CloseNow();
    }

    asio::any_io_executor Executor() { return FSocket.get_executor(); }

private:
    enum class EState
    {
        Idle,     // waiting for a request's first byte
        Reading,  // reading a request's head and body
        Handling, // the handler has the request
        Writing,  // sending the answer
        Closing,  // answered for the last time, dropping what still comes
        Closed
    };

    void WaitForRequest()
    {
        if (FFront.FStopping)
        {
            CloseNow();
            return;
        }
        FParser.emplace();
        FParser->header_limit(static_cast<std::uint32_t>(FFront.HeaderLimit()));
        // The largest body any path takes; OnHead lowers it to the path's own limit.
        FParser->body_limit(FFront.MaxBodyBytes());
        FClient.clear();
        FMethod.clear();
        FPath.clear();
        FVersion = 11;
        if (FBuffer.size() > 0) // the next request came with the last one
        {
            BeginRead();
            return;
        }
        // An idle connection holds no read buffer: it is made again when bytes arrive.
        FBuffer.shrink_to_fit();
        FState = EState::Idle;
        Arm(FFront.FOptions.FIdleTime);
        FSocket.async_wait(tcp::socket::wait_read, [Self = shared_from_this()](const TErrorCode& Error) {
            if (Error || Self->FState != EState::Idle)
                Self->CloseNow();
            else
                Self->BeginRead();
        });
    }

    void BeginRead()
    {
        FState = EState::Reading;
        FStart = TClock::now();
        FTimedOut = false;
        Arm(FFront.FOptions.FRequestTime);
        http::async_read_header(
            FSocket, FBuffer, *FParser,
            [Self = shared_from_this()](const TErrorCode& Error, std::size_t) { Self->OnHead(Error); });
    }

    // The head is read: the body may be as large as its path allows, checked before it is read.
    void OnHead(const TErrorCode& Error)
    {
        if (Error || FParser->is_done())
            return OnRead(Error);
        const auto Target = FParser->get().target();
        const std::string_view Path =
            std::string_view(Target.data(), Target.size())
                .substr(0, std::string_view(Target.data(), Target.size()).find('?'));
        const auto& Large = FFront.FOptions.FLargeBodyPaths;
        const std::size_t Limit = std::find(Large.begin(), Large.end(), Path) != Large.end()
                                      ? FFront.FOptions.FMaxLargeBodyBytes
                                      : FFront.FOptions.FMaxBodyBytes;
        const auto Length = FParser->content_length();
        if (Length && *Length > Limit)
            return OnRead(http::error::body_limit);
        FParser->body_limit(Limit);
        http::async_read(
            FSocket, FBuffer, *FParser,
            [Self = shared_from_this()](const TErrorCode& Failed, std::size_t) { Self->OnRead(Failed); });
    }

    void OnRead(const TErrorCode& Error)
    {
        Disarm();
        if (!FParser->get().target().empty()) // the request line was read
        {
            const auto& Head = FParser->get();
            FMethod = std::string(Head.method_string());
            const std::string_view Target(Head.target().data(), Head.target().size());
            FPath =
                std::string(Target.substr(0, std::min(Target.find('?'), FFront.FOptions.FMaxTargetBytes)));
            FVersion = Head.version();
        }
        if (FTimedOut)
            return Refuse(408);
        if (Error == http::error::end_of_stream)
            return CloseNow(); // the client closed between requests
        if (Error == http::error::header_limit || Error == http::error::buffer_overflow)
            return Refuse(TooLargeHeadStatus());
        if (Error == http::error::body_limit)
            return Refuse(413);
        if (Error && Error.category() == http::make_error_code(http::error::bad_target).category() &&
            Error != http::error::partial_message)
            return Refuse(400);
        if (Error)
        {
            if (FParser->got_some() || FBuffer.size() > 0)
                LogCut("client-gone");
            return CloseNow();
        }

        const auto& Request = FParser->get();
        if (Request.target().size() > FFront.FOptions.FMaxTargetBytes)
            return Refuse(414);
        std::size_t FieldBytes = 0;
        for (const auto& Field : Request)
            FieldBytes += Field.name_string().size() + Field.value().size() + 4;
        if (FieldBytes > FFront.FOptions.FMaxHeaderBytes)
            return Refuse(431);

        THttpRequest Carried;
        Carried.FMethod = FMethod;
        Carried.FClient = ClientOf(Request);
        FClient = Carried.FClient;
        SetTarget(Carried, std::string_view(Request.target().data(), Request.target().size()));
        Carried.FBody = std::move(FParser->get().body());
        FKeepAlive = Request.keep_alive();
        FState = EState::Handling;
        // The handler may wait on the database, so it runs on a worker: the network threads go on
        // accepting, reading and timing out other connections meanwhile.
        asio::post(FFront.FWorkers, [Self = shared_from_this(), Carried = std::move(Carried),
                                     Work = asio::make_work_guard(FFront.FContext)]() mutable {
            THttpReply Reply;
            try
            {
                Reply = Self->FFront.FHandler(Carried);
            }
            catch (...)
            {
                Reply = TextReply(500, ErrorText(500));
            }
            // Whoever answers later sends the answer to the connection's strand; this worker is free.
            auto Send = [Self = std::move(Self), Work = std::move(Work)](THttpReply Final) mutable {
                auto& Connection = *Self;
                asio::post(Connection.Executor(),
                           [Self = std::move(Self), Final = std::move(Final)]() mutable {
                               Self->Answer(std::move(Final), false);
                           });
            };
            if (!Reply.FLater)
                return Send(std::move(Reply));
            auto Later = std::move(Reply.FLater);
            try
            {
                Later(std::move(Send));
            }
            catch (...)
            {
                // The routine went with the failure: the connection closes unanswered.
            }
        });
    }

    // A head over the limit: the target is too long when the request line never ended within the
    // limit or holds a target over its own limit; otherwise the header fields are.
    int TooLargeHeadStatus() const
    {
        const std::size_t Target = FParser->get().target().size();
        return Target == 0 || Target > FFront.FOptions.FMaxTargetBytes ? 414 : 431;
    }

    // The client's address: the peer's, or for a trusted proxy the last X-Forwarded-For entry when it
    // is an address.
    std::string ClientOf(const http::request<http::string_body>& Request) const
    {
        if (!FTrustedPeer)
            return FPeer;
        std::string_view Forwarded;
        for (auto [Field, End] = Request.equal_range("X-Forwarded-For"); Field != End; ++Field)
            Forwarded = std::string_view(Field->value().data(), Field->value().size());
        if (Forwarded.empty())
            return FPeer;
        const std::size_t Comma = Forwarded.rfind(',');
        std::string_view Last = Comma == std::string_view::npos ? Forwarded : Forwarded.substr(Comma + 1);
        while (!Last.empty() && (Last.front() == ' ' || Last.front() == '\t'))
            Last.remove_prefix(1);
        while (!Last.empty() && (Last.back() == ' ' || Last.back() == '\t'))
            Last.remove_suffix(1);
        TErrorCode Error;
        const auto Address = asio::ip::make_address(std::string(Last), Error);
        return Error ? FPeer : AddressText(Address);
    }

    // Answers a request the front itself refuses, then ends the connection.
    void Refuse(int Status)
    {
        FKeepAlive = false;
        Answer(TextReply(Status, ErrorText(Status)), true);
    }

    void Answer(THttpReply Reply, bool Last)
    {
        const bool Keep = !Last && FKeepAlive && !FFront.FStopping;
        FReply = {};
        FReply.version(FVersion == 10 ? 10 : 11);
        FReply.result(static_cast<unsigned>(Reply.FStatus));
        FReply.set(http::field::content_type, Reply.FContentType);
        for (const auto& [Name, Value] : Reply.FHeaders)
            FReply.set(Name, Value);
        FReply.body() = std::move(Reply.FBody);
        FReply.keep_alive(Keep);
        FReply.prepare_payload();
        FState = EState::Writing;
        Arm(FFront.FOptions.FRequestTime);
        http::async_write(FSocket, FReply,
                          [Self = shared_from_this(), Keep](const TErrorCode& Error, std::size_t Bytes) {
                              Self->OnWritten(Error, Bytes, Keep);
                          });
    }

    void OnWritten(const TErrorCode& Error, std::size_t Bytes, bool Keep)
    {
        Disarm();
        LogRequest(FReply.result_int(), Bytes);
        if (Error)
            CloseNow();
        else if (Keep)
            WaitForRequest();
        else
            Linger();
    }

    void Linger()
    {
        FState = EState::Closing;
        TErrorCode Ignored;
        FSocket.shutdown(tcp::socket::shutdown_send, Ignored);
        FLingered = 0;
        Arm(LingerTime);
        DropInput();
    }

    void DropInput()
    {
        FBuffer.consume(FBuffer.size());
        FSocket.async_read_some(FBuffer.prepare(std::min<std::size_t>(4096, FBuffer.max_size())),
                                [Self = shared_from_this()](const TErrorCode& Error, std::size_t Bytes) {
                                    Self->FLingered += Bytes;
                                    if (Error || Self->FLingered > LingerBytes ||
                                        Self->FState != EState::Closing)
                                        Self->CloseNow();
                                    else
                                        Self->DropInput();
                                });
    }

    void CloseNow()
    {
        if (FState == EState::Closed)
            return;
        FState = EState::Closed;
        Disarm();
        TErrorCode Ignored;
        FSocket.shutdown(tcp::socket::shutdown_both, Ignored);
        FSocket.close(Ignored);
    }

    void Arm(std::chrono::milliseconds Time)
    {
        FTimer.expires_after(Time);
        FTimer.async_wait([Self = shared_from_this(), Armed = ++FArmed](const TErrorCode& Error) {
            if (!Error && Armed == Self->FArmed)
                Self->OnTimeout();
        });
    }
    void Disarm()
    {
        ++FArmed;
        FTimer.cancel();
    }

    void OnTimeout()
    {
        if (FState == EState::Reading)
        {
            // Too slow a request: stop reading, answer 408, close.
            FTimedOut = true;
            TErrorCode Ignored;
            FSocket.cancel(Ignored);
        }
        else if (FState != EState::Handling)
            CloseNow();
    }

    void LogRequest(unsigned Status, std::size_t Bytes) const
    {
        if (!FFront.FOptions.FAccessLog)
            return;
        const double Millis = std::chrono::duration<double, std::milli>(TClock::now() - FStart).count();
        char Numbers[96];
        std::snprintf(Numbers, sizeof Numbers, " status=%u ms=%.1f bytes=%zu\n", Status, Millis, Bytes);
        std::string Line = LinePrefix();
        Line += " method=";
        AppendValue(Line, FMethod);
        Line += " path=";
        AppendValue(Line, FPath);
        Line += Numbers;
        FFront.Log(std::move(Line));
    }

    // A request the client left unfinished.
    void LogCut(std::string_view Reason) const
    {
        if (!FFront.FOptions.FAccessLog)
            return;
        const double Millis = std::chrono::duration<double, std::milli>(TClock::now() - FStart).count();
        char Numbers[48];
        std::snprintf(Numbers, sizeof Numbers, " ms=%.1f\n", Millis);
        std::string Line = LinePrefix();
        Line += " event=cut reason=";
        Line += Reason;
        Line += Numbers;
        FFront.Log(std::move(Line));
    }

    std::string LinePrefix() const
    {
        std::string Line;
        Line.reserve(192);
        Line += "time=";
        Line += UtcNow();
        Line += " client=";
        AppendValue(Line, FClient.empty() ? FPeer : FClient);
        return Line;
    }

    THttpFrontCore& FFront;
    tcp::socket FSocket;
    asio::steady_timer FTimer;
    std::uint64_t FArmed = 0; // which arming of the timer counts; older ones are stale
    beast::flat_buffer FBuffer;
    std::optional<http::request_parser<http::string_body>> FParser;
    http::response<http::string_body> FReply;
    const std::string FPeer;
    const bool FTrustedPeer;
    const std::uint64_t FId;
    std::string FClient;
    std::string FMethod;
    std::string FPath;
    unsigned FVersion = 11;
    bool FKeepAlive = false;
    bool FTimedOut = false;
    std::size_t FLingered = 0;
    EState FState = EState::Idle;
    TClock::time_point FStart = TClock::now();
};

THttpFrontCore::THttpFrontCore(TRequestHandler Handler, TFrontOptions Options)
    : FHandler(std::move(Handler)), FOptions(std::move(Options)), FAcceptStrand(FContext.get_executor()),
      FAcceptor(FAcceptStrand), FAcceptTimer(FAcceptStrand), FDrainTimer(FContext),
      FWorkers(static_cast<std::size_t>(std::max(1, FOptions.FThreads)))
{
    FOptions.FThreads = std::max(1, FOptions.FThreads);
    FOptions.FMaxConnections = std::max(1, FOptions.FMaxConnections);
    FOptions.FMaxPerAddress = std::max(1, FOptions.FMaxPerAddress);
    for (const std::string& Text : FOptions.FTrustedProxies)
    {
        TErrorCode Error;
        const auto Address = asio::ip::make_address(Text, Error);
        if (Error)
            throw std::invalid_argument("not an IP address: " + Text);
        FTrusted.push_back(Address);
    }
    // Every connection takes an open file; keep the limit where accepting cannot run out of them.
    rlimit Files{};
    if (getrlimit(RLIMIT_NOFILE, &Files) == 0 && Files.rlim_cur != RLIM_INFINITY)
    {
        const auto Fit = static_cast<long long>(Files.rlim_cur) - ReservedFiles;
        if (FOptions.FMaxConnections > Fit)
            FOptions.FMaxConnections = static_cast<int>(std::max(1LL, Fit));
    }
}

void THttpFrontCore::Log(std::string Line) const
{
    if (FOptions.FAccessLog)
        FOptions.FAccessLog(Line);
}

void THttpFrontCore::Accept()
{
    FAcceptor.async_accept(asio::make_strand(FContext), [this](const TErrorCode& Error, tcp::socket Socket) {
        if (FStopping || !FAcceptor.is_open())
            return;
        if (Error)
        {
            // Out of files or memory for the moment: try again shortly rather than spin or give up.
            if (FOptions.FAccessLog)
            {
                std::string Line = "time=" + UtcNow() + " event=accept-failed reason=";
                AppendValue(Line, Error.message());
                Log(Line + "\n");
            }
            FAcceptTimer.expires_after(AcceptRetry);
            FAcceptTimer.async_wait([this](const TErrorCode& Waited) {
                if (!Waited)
                    Accept();
            });
            return;
        }
        Admit(std::move(Socket));
        Accept();
    });
}

void THttpFrontCore::Admit(tcp::socket Socket)
{
    TErrorCode Error;
    const auto Peer = Socket.remote_endpoint(Error);
    if (Error)
        return; // gone already
    const std::string Address = AddressText(Peer.address());
    const bool Trusted = std::find(FTrusted.begin(), FTrusted.end(), Peer.address()) != FTrusted.end();
    const char* Refusal = nullptr;
    std::uint64_t Id = 0;
    {
        std::lock_guard Lock(FMutex);
        if (FOpen >= static_cast<std::size_t>(FOptions.FMaxConnections))
            Refusal = "max-connections";
        else if (!Trusted && FPerAddress[Address] >= FOptions.FMaxPerAddress)
            Refusal = "max-per-address";
        else
        {
            ++FOpen;
            ++FPerAddress[Address];
            Id = ++FNextId;
        }
        if (Refusal != nullptr && FPerAddress[Address] == 0)
            FPerAddress.erase(Address);
    }
    if (Refusal != nullptr)
    {
        if (FOptions.FAccessLog)
        {
            std::string Line = "time=" + UtcNow() + " client=";
            AppendValue(Line, Address);
            Log(Line + " event=refused reason=" + Refusal + "\n");
        }
        // Closed unread: a refused client costs nothing more than the accept.
        Socket.close(Error);
        return;
    }
    auto Connection = std::make_shared<TConnection>(*this, std::move(Socket), Address, Trusted, Id);
    {
        std::lock_guard Lock(FMutex);
        FConnections.emplace(Id, Connection);
    }
    asio::dispatch(Connection->Executor(), [Connection] { Connection->Start(); });
}

void THttpFrontCore::Forget(std::uint64_t Id, const std::string& Peer)
{
    std::lock_guard Lock(FMutex);
    --FOpen;
    if (--FPerAddress[Peer] <= 0)
        FPerAddress.erase(Peer);
    FConnections.erase(Id);
}

void THttpFrontCore::BeginDrain()
{
    asio::post(FAcceptStrand, [this] {
        TErrorCode Ignored;
        FAcceptor.close(Ignored);
        FAcceptTimer.cancel();
    });
    std::vector<std::shared_ptr<TConnection>> Open;
    {
        std::lock_guard Lock(FMutex);
        for (const auto& [Id, Weak] : FConnections)
            if (auto Connection = Weak.lock())
                Open.push_back(std::move(Connection));
    }
    for (auto& Connection : Open)
    {
        auto& Target = *Connection;
        asio::post(Target.Executor(), [Connection = std::move(Connection)] { Connection->Drain(); });
    }
    FDrainDeadline = TClock::now() + FOptions.FDrainTime;
    PollDrain();
}

void THttpFrontCore::PollDrain()
{
    {
        std::lock_guard Lock(FMutex);
        if (FOpen == 0)
            return;
    }
    if (TClock::now() >= FDrainDeadline)
    {
        // Requests still unfinished are given up: Run returns and the connections close with it.
        FContext.stop();
        return;
    }
    FDrainTimer.expires_after(DrainPoll);
    FDrainTimer.async_wait([this](const TErrorCode& Error) {
        if (!Error)
            PollDrain();
    });
}

THttpFront::THttpFront(TRequestHandler Handler, TFrontOptions Options)
    : FCore(std::make_unique<THttpFrontCore>(std::move(Handler), std::move(Options)))
{}

THttpFront::~THttpFront()
{
    Stop();
    // Answers still with the workers go to a context that no longer runs.
    FCore->FWorkers.join();
}

int THttpFront::Bind(const std::string& Host, int Port)
{
    TErrorCode Error;
    tcp::resolver Resolver(FCore->FContext);
    const auto Endpoints = Resolver.resolve(Host, std::to_string(Port),
                                            tcp::resolver::passive | tcp::resolver::numeric_service, Error);
    if (Error)
        return -1;
    tcp::acceptor& Acceptor = FCore->FAcceptor;
    for (const auto& Entry : Endpoints)
    {
        Acceptor.close(Error);
        // SO_REUSEADDR allows a quick restart; SO_REUSEPORT is never set, since it would let a
        // second server share a port in use and split the requests between two databases.
        if (Acceptor.open(Entry.endpoint().protocol(), Error) ||
            Acceptor.set_option(tcp::acceptor::reuse_address(true), Error) ||
            Acceptor.bind(Entry.endpoint(), Error) ||
            Acceptor.listen(asio::socket_base::max_listen_connections, Error))
            continue;
        const auto Bound = Acceptor.local_endpoint(Error);
        if (!Error)
            return Bound.port();
    }
    Acceptor.close(Error);
    return -1;
}

bool THttpFront::Run()
{
    if (!FCore->FAcceptor.is_open())
        return false;
    FCore->FRunning = true;
    asio::post(FCore->FAcceptStrand, [Core = FCore.get()] {
        if (!Core->FStopping)
            Core->Accept();
    });
    auto Serve = [Core = FCore.get()] {
        for (;;)
        {
            try
            {
                Core->FContext.run();
                return;
            }
            catch (const std::exception& Failure)
            {
                // A failure inside one connection's handler must not end the others.
                std::fprintf(stderr, "velomarch-scored: %s\n", Failure.what());
            }
        }
    };
    std::vector<std::thread> Others;
    for (int I = 1; I < FCore->FOptions.FThreads; ++I)
        Others.emplace_back(Serve);
    Serve();
    for (auto& Thread : Others)
        Thread.join();
    FCore->FRunning = false;
    return true;
}

void THttpFront::Stop()
{
    if (FCore->FStopping.exchange(true))
        return;
    asio::post(FCore->FContext, [Core = FCore.get()] { Core->BeginDrain(); });
}

bool THttpFront::IsRunning() const { return FCore->FRunning; }

int THttpFront::MaxConnections() const { return FCore->FOptions.FMaxConnections; }

bool IsIpAddress(const std::string& Text)
{
    TErrorCode Error;
    asio::ip::make_address(Text, Error);
    return !Error;
}

void RaiseOpenFileLimit()
{
    rlimit Files{};
    if (getrlimit(RLIMIT_NOFILE, &Files) == 0 && Files.rlim_cur < Files.rlim_max)
    {
        Files.rlim_cur = Files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &Files);
    }
}

} // namespace vm::scored
