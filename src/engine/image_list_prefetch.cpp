// The image-list prefetch: one thread reads the file, then decodes pictures until told to stop.
#include "engine/image_list_prefetch.h"

#include <utility>

namespace vm {

TImageListPrefetch::TImageListPrefetch(std::string FileName, int MaxDecoded) : FFileName(std::move(FileName))
{
    FThread = std::thread([this, MaxDecoded] { Run(MaxDecoded); });
}

TImageListPrefetch::~TImageListPrefetch() { Stop(); }

void TImageListPrefetch::Run(int MaxDecoded)
{
    FResult = FItems.LoadFromFile(FFileName);
    for (int I = 0; I < FItems.Count() && I < MaxDecoded && !FStop.load(std::memory_order_relaxed); ++I)
        FItems.Items(I)->DecodeAhead();
}

void TImageListPrefetch::Stop()
{
    FStop = true;
    if (FThread.joinable())
        FThread.join();
}

TLoadResult TImageListPrefetch::Take(TImageListCollection& Into)
{
    Stop();
    if (FTaken)
        return Into.LoadFromFile(FFileName);
    FTaken = true;
    Into.TakeItems(FItems);
    return FResult;
}

} // namespace vm
