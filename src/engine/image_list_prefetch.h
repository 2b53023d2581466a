// Reading an image-list file and decoding its first pictures on a thread of its own, while the
// program opens its window: the list then takes what was read instead of reading it again.
#pragma once

#include "engine/image_list.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace vm {

// Starts on construction and never touches a render device, so it may run before one exists.
// The prefetch owns what it read until an image list takes it; destroying it stops the thread
// after the picture it is decoding.
class TImageListPrefetch
{
public:
    // Reads FileName and decodes at most MaxDecoded of its pictures, in list order, so that a
    // slow start holds a few decoded pictures, not all of them.
    explicit TImageListPrefetch(std::string FileName, int MaxDecoded = 8);
    ~TImageListPrefetch();
    TImageListPrefetch(const TImageListPrefetch&) = delete;
    TImageListPrefetch& operator=(const TImageListPrefetch&) = delete;

    const std::string& FileName() const { return FFileName; }
    // Stops the thread after the picture it is decoding and moves what was read into Into (which
    // is cleared first): the items, with the pictures decoded so far. Returns how reading went,
    // as TImageListCollection::LoadFromFile would. A second call reads the file again.
    TLoadResult Take(TImageListCollection& Into);

private:
    void Run(int MaxDecoded);
    void Stop();

    std::string FFileName;
    TImageListCollection FItems;
    TLoadResult FResult;
    std::atomic<bool> FStop{false};
    std::thread FThread;
    bool FTaken = false;
};

} // namespace vm
