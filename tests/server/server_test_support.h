// Helpers for the score server tests: the game's score text and a real server on a loopback port.
#pragma once

#include "common/line_codec.h"
#include "score_server.h"
#include "score_store.h"
#include "store_test_support.h"
#include "support/test_support.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace vm::scored::test {

// The raw text as the game builds it, "0"-padded to a multiple of 5 characters.
inline std::string PadScoreText(std::string Text)
{
    while (Text.size() % 5 != 0)
        Text += '0';
    return Text;
}

inline std::string ScoreText(const std::string& Name, const std::string& Score, const std::string& Token,
                             const std::string& OnlineName, char Key = 'V')
{
    return PadScoreText("type=0|name=" + Name + "|score=" + Score + "|key=" + std::string(1, Key) +
                        "|p=" + Token + "|add=" + OnlineName + "|z=");
}

// The "inf" value of a submission.
inline std::string ScoreInf(const std::string& Name, const std::string& Score, const std::string& Token,
                            const std::string& OnlineName)
{
    return EncodeLine(ScoreText(Name, Score, Token, OnlineName));
}

// The token of a version reply (its fifth "|" field), or "" when the reply has none.
inline std::string TokenOf(const std::string& Reply)
{
    std::string Rest = Reply;
    std::string Field;
    for (int I = 0; I < 5; ++I)
    {
        const std::size_t Bar = Rest.find('|');
        if (Bar == std::string::npos)
            return {};
        Field = Rest.substr(0, Bar);
        Rest = Rest.substr(Bar + 1);
    }
    return Field;
}

// A real server in this process on a free loopback port, serving on its own thread, with a fresh
// store of the kind asked for and a store clock the test moves by hand. No address limits unless
// the test sets them.
class TRunningServer
{
public:
    explicit TRunningServer(EStoreKind Kind, TScoreServerOptions Options = DefaultServerOptions(),
                            TStoreLimits Limits = NoLimits(), TFrontOptions Front = TFrontOptions())
        : Store(OpenStore(FreshStoreLocation(Kind, Folder), MovedClockOptions(Limits))),
          Server(*Store, std::move(Options), std::move(Front))
    {
        Port = Server.Bind("127.0.0.1", 0);
        if (Port > 0)
            Thread = std::thread([this] { Server.Run(); });
    }
    ~TRunningServer()
    {
        Server.Stop();
        if (Thread.joinable())
            Thread.join();
    }
    TRunningServer(const TRunningServer&) = delete;
    TRunningServer& operator=(const TRunningServer&) = delete;

    // The store's options with its clock read from Seconds.
    TStoreOptions MovedClockOptions(const TStoreLimits& Limits)
    {
        TStoreOptions Options;
        Options.FLimits = Limits;
        Options.FClock = [this] { return std::optional<double>(static_cast<double>(Seconds.load())); };
        return Options;
    }

    std::unique_ptr<httplib::Client> Client() const
    {
        auto Made = std::make_unique<httplib::Client>("127.0.0.1", Port);
        Made->set_connection_timeout(5);
        Made->set_read_timeout(10);
        return Made;
    }

    // A GET of the endpoint with this query; the reply's status and body (status -1: no reply).
    std::pair<int, std::string> Get(const std::string& Query) const
    {
        auto Result = Client()->Get(("/cgi/version.pl?" + Query).c_str());
        if (!Result)
            return {-1, {}};
        return {Result->status, Result->body};
    }

    std::string FreshToken() const { return TokenOf(Get("version&prg=Velomarch").second); }

    std::pair<int, std::string> Submit(const std::string& Inf) const
    {
        return Get("hs&prg=Velomarch&inf=" + Inf);
    }

    // A GET of Path (with its query), with the reply's status, body and Retry-After header.
    struct TReply
    {
        int FStatus = -1;
        std::string FBody;
        std::string FRetryAfter;
    };
    TReply GetPath(const std::string& Path) const
    {
        auto Result = Client()->Get(Path.c_str());
        if (!Result)
            return {};
        return {Result->status, Result->body, Result->get_header_value("Retry-After")};
    }

    vm::test::TTempDir Folder;
    std::atomic<long long> Seconds{1000}; // the store's clock, in seconds
    std::unique_ptr<TScoreStore> Store;
    TScoreServer Server;
    int Port = -1;
    std::thread Thread;
};

} // namespace vm::scored::test
