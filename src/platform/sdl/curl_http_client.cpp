// The HTTP client on libcurl.
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

// The transfer's handles, released in the right order however the transfer ends.
struct TTransfer
{
    CURL* Easy = curl_easy_init();
    CURLM* Multi = curl_multi_init();
    curl_slist* Headers = curl_slist_append(nullptr, "Accept: text/html, */*");
    THttpCancel* Cancel = nullptr;

    ~TTransfer()
    {
        // The cancelling thread must not wake a multi handle that is going away.
        if (Cancel != nullptr)
            Cancel->SetWaker({});
        if (Multi != nullptr && Easy != nullptr)
            curl_multi_remove_handle(Multi, Easy);
        if (Easy != nullptr)
            curl_easy_cleanup(Easy);
        if (Multi != nullptr)
            curl_multi_cleanup(Multi);
        curl_slist_free_all(Headers);
    }
};

// The longest single wait for the socket; curl shortens it to its own time-outs.
constexpr int PollMs = 1000;

} // namespace

TCurlHttpClient::TCurlHttpClient(long ConnectMs, long TotalMs, long PostTotalMs)
    : FConnectMs(ConnectMs), FTotalMs(TotalMs), FPostTotalMs(PostTotalMs)
{
    InitCurlOnce();
}

THttpResult TCurlHttpClient::Fetch(const std::string& Url, THttpCancel* Cancel)
{
    return Transfer(Url, nullptr, {}, FTotalMs, Cancel);
}

THttpResult TCurlHttpClient::Post(const std::string& Url, const std::string& Body,
                                  const std::string& ContentType, THttpCancel* Cancel)
{
    return Transfer(Url, &Body, ContentType, FPostTotalMs, Cancel);
}

THttpResult TCurlHttpClient::Transfer(const std::string& Url, const std::string* Body,
                                      const std::string& ContentType, long TotalMs, THttpCancel* Cancel)
{
    THttpResult Result;
    TTransfer Transfer;
    if (Transfer.Easy == nullptr || Transfer.Multi == nullptr)
        return Result;
    CURL* Curl = Transfer.Easy;
    TSink Sink{&Result.Body};
    curl_easy_setopt(Curl, CURLOPT_URL, Url.c_str());
    if (Body != nullptr)
    {
        // The body goes as it is, with its length; no "Expect: 100-continue" round trip first.
        Transfer.Headers = curl_slist_append(Transfer.Headers, ("Content-Type: " + ContentType).c_str());
        Transfer.Headers = curl_slist_append(Transfer.Headers, "Expect:");
        curl_easy_setopt(Curl, CURLOPT_POST, 1L);
        curl_easy_setopt(Curl, CURLOPT_POSTFIELDS, Body->data());
        curl_easy_setopt(Curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(Body->size()));
    }
    else
        curl_easy_setopt(Curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(Curl, CURLOPT_HTTPHEADER, Transfer.Headers);
    curl_easy_setopt(Curl, CURLOPT_USERAGENT, "Velomarch");
    curl_easy_setopt(Curl, CURLOPT_CONNECTTIMEOUT_MS, FConnectMs);
    curl_easy_setopt(Curl, CURLOPT_TIMEOUT_MS, TotalMs);
    // No signals: the time-outs must not rely on SIGALRM in a program with other threads.
    curl_easy_setopt(Curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(Curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(Curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(Curl, CURLOPT_WRITEDATA, &Sink);
    if (curl_multi_add_handle(Transfer.Multi, Curl) != CURLM_OK)
        return Result;
    if (Cancel != nullptr)
    {
        // A cancel breaks the wait below at once; one raised before this is seen by the loop.
        Transfer.Cancel = Cancel;
        CURLM* Multi = Transfer.Multi;
        Cancel->SetWaker([Multi] { curl_multi_wakeup(Multi); });
    }

    // The transfer runs on the multi interface, whose wait a cancel can break.
    CURLcode Done = CURLE_OK;
    bool Finished = false;
    while (!Finished)
    {
        if (Cancel != nullptr && Cancel->Cancelled())
        {
            Result.Outcome = THttpOutcome::Cancelled;
            Result.Body.clear();
            return Result;
        }
        int Running = 0;
        if (curl_multi_perform(Transfer.Multi, &Running) != CURLM_OK)
            break;
        int Left = 0;
        while (CURLMsg* Message = curl_multi_info_read(Transfer.Multi, &Left))
            if (Message->msg == CURLMSG_DONE)
            {
                Done = Message->data.result;
                Finished = true;
            }
        if (!Finished && curl_multi_poll(Transfer.Multi, nullptr, 0, PollMs, nullptr) != CURLM_OK)
            break;
    }
    if (!Finished || Done != CURLE_OK || Sink.Overflow)
    {
        Result.Body.clear();
        return Result;
    }
    curl_easy_getinfo(Curl, CURLINFO_RESPONSE_CODE, &Result.Status);
    Result.Outcome = THttpOutcome::Reply;
    return Result;
}

} // namespace vm
