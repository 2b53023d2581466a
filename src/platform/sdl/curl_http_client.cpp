// The HTTP getter on libcurl.
#include "platform/sdl/curl_http_client.h"

#include <curl/curl.h>

#include <mutex>

namespace vm {

namespace {

// libcurl's global set-up is not thread-safe; it is done once, on first use.
void InitCurlOnce()
{
    static std::once_flag Once;
    std::call_once(Once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct TSink
{
    std::string* Body;
    bool Overflow = false;
};

size_t Collect(char* Data, size_t Size, size_t Count, void* User)
{
    auto* Sink = static_cast<TSink*>(User);
    const size_t Bytes = Size * Count;
    if (Sink->Body->size() + Bytes > TCurlHttpClient::MaxBody)
    {
        Sink->Overflow = true;
        return 0; // stops the transfer
    }
    Sink->Body->append(Data, Bytes);
    return Bytes;
}

} // namespace

TCurlHttpClient::TCurlHttpClient(long ConnectMs, long TotalMs) : FConnectMs(ConnectMs), FTotalMs(TotalMs)
{
    InitCurlOnce();
}

bool TCurlHttpClient::Get(const std::string& Url, std::string& Body)
{
    Body.clear();
    CURL* Curl = curl_easy_init();
    if (Curl == nullptr)
        return false;
    TSink Sink{&Body};
    curl_slist* Headers = curl_slist_append(nullptr, "Accept: text/html, */*");
    curl_easy_setopt(Curl, CURLOPT_URL, Url.c_str());
    curl_easy_setopt(Curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(Curl, CURLOPT_HTTPHEADER, Headers);
    curl_easy_setopt(Curl, CURLOPT_USERAGENT, "Velomarch");
    curl_easy_setopt(Curl, CURLOPT_CONNECTTIMEOUT_MS, FConnectMs);
    curl_easy_setopt(Curl, CURLOPT_TIMEOUT_MS, FTotalMs);
    // No signals: the time-outs must not rely on SIGALRM in a program with other threads.
    curl_easy_setopt(Curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(Curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(Curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(Curl, CURLOPT_WRITEDATA, &Sink);
    const CURLcode Result = curl_easy_perform(Curl);
    long Status = 0;
    curl_easy_getinfo(Curl, CURLINFO_RESPONSE_CODE, &Status);
    curl_slist_free_all(Headers);
    curl_easy_cleanup(Curl);
    if (Result != CURLE_OK || Status != 200 || Sink.Overflow)
    {
        Body.clear();
        return false;
    }
    return true;
}

} // namespace vm
