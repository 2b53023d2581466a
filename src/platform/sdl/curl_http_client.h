// The HTTP getter on libcurl: blocking, with a connect time-out and a total time-out.
#pragma once

#include "engine/http_client.h"

namespace vm {

class TCurlHttpClient : public IHttpClient
{
public:
    // A dead server costs at most ConnectMs to find out; a silent one at most TotalMs in all.
    explicit TCurlHttpClient(long ConnectMs = 3000, long TotalMs = 5000);
    bool Get(const std::string& Url, std::string& Body) override;

    // Replies longer than this are refused (a score page or a version line is a few KB at most).
    static constexpr std::size_t MaxBody = 1 << 20;

private:
    long FConnectMs;
    long FTotalMs;
};

} // namespace vm
