// The cancel flag of an HTTP transfer, and the plain GET on top of any client.
#include "engine/http_client.h"

#include <utility>

namespace vm {

void THttpCancel::Cancel()
{
    FCancelled.store(true);
    std::lock_guard<std::mutex> Lock(FMutex);
    if (FWake)
        FWake();
}

void THttpCancel::SetWaker(std::function<void()> Wake)
{
    std::lock_guard<std::mutex> Lock(FMutex);
    FWake = std::move(Wake);
}

bool IHttpClient::Get(const std::string& Url, std::string& Body)
{
    THttpResult Result = Fetch(Url, nullptr);
    if (Result.Outcome != THttpOutcome::Reply || Result.Status != 200)
    {
        Body.clear();
        return false;
    }
    Body = std::move(Result.Body);
    return true;
}

} // namespace vm
