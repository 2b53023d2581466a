// The HTTP client on libcurl: blocking, with a connect time-out and a total time-out, stopped at
// once by its cancel flag.
#pragma once

#include "engine/http_client.h"

#include <cstddef>

namespace vm {

// Keeps no state between requests: Fetch may run on several threads at once.
class TCurlHttpClient : public IHttpClient
{
public:
    // A dead server costs at most ConnectMs to find out; a silent one at most TotalMs in all.
    // A POST may take up to PostTotalMs: the server answers an upload once it has processed it.
    explicit TCurlHttpClient(long ConnectMs = 3000, long TotalMs = 5000, long PostTotalMs = 60000);
    THttpResult Fetch(const std::string& Url, THttpCancel* Cancel) override;
    THttpResult Post(const std::string& Url, const std::string& Body, const std::string& ContentType,
                     THttpCancel* Cancel) override;

    // Replies longer than this are refused (a score page or a version line is a few KB at most).
    static constexpr std::size_t MaxBody = 1 << 20;

private:
    // A GET without Body, else a POST of it.
    THttpResult Transfer(const std::string& Url, const std::string* Body, const std::string& ContentType,
                         long TotalMs, THttpCancel* Cancel);

    long FConnectMs;
    long FTotalMs;
    long FPostTotalMs;
};

} // namespace vm
