// Writes a run's recording as it is played, so that a crash keeps it up to its last written chunk.
#pragma once

#include "persist/replay.h"

#include <cstddef>
#include <cstdio>
#include <string>

namespace vm {

// Open writes the header to "Path.part"; Add buffers events, and every ChunkFrames frames the
// buffered ones go to the file as one checked chunk, flushed to the system. Finish writes the rest
// (and the end record, when given) and renames the file to Path. A writer destroyed while open
// leaves "Path.part" as a crash would: readable, and unfinished. A failed write is kept as the
// first error, the recording stops there, and Finish reports it.
class TReplayWriter
{
public:
    static constexpr int DefaultChunkFrames = 30;
    static constexpr std::size_t LongChunkBytes = 64 * 1024;

    explicit TReplayWriter(int ChunkFrames = DefaultChunkFrames);
    ~TReplayWriter();
    TReplayWriter(const TReplayWriter&) = delete;
    TReplayWriter& operator=(const TReplayWriter&) = delete;

    bool Open(const std::string& Path, const TReplayHeader& Header, std::string& Error);
    bool IsOpen() const { return FFile != nullptr; }
    // Text is the typed text of a Text event (its A is ignored).
    void Add(const TReplayEvent& Event, const std::string& Text = {});
    // Writes what is buffered as a chunk now, so that the file holds every call added so far;
    // false when the recording has failed (Error says why).
    bool Flush();
    // The file being written ("Path.part").
    const std::string& PartPath() const { return FPartPath; }
    // End null: the file is renamed into place without an end record (a run stopped unfinished).
    bool Finish(const TReplayEnd* End, std::string& Error);
    // Bytes written to the file so far.
    long long Bytes() const { return FBytes; }
    std::int32_t Frames() const { return FFrames; }
    const std::string& Error() const { return FError; }

private:
    void EndChunk();
    void EndLongChunk();
    void FlushRepeat();
    void FlushIntervals();
    void PutCounted(std::uint8_t Op, std::uint64_t Count);
    void PutMouse(std::uint8_t Op, int X, int Y);
    bool WriteChunk(std::uint8_t Kind, const std::string& Payload);
    void Fail(const std::string& What);

    int FChunkFrames;
    std::FILE* FFile = nullptr;
    std::string FPath, FPartPath, FError;
    std::string FPayload;
    int FFramesInChunk = 0;
    std::int32_t FFrames = 0;
    long long FBytes = 0;
    std::uint64_t FPendingIntervals = 0;
    std::uint64_t FLastStep = 0;
    bool FHaveStep = false;
    std::uint64_t FRepeats = 0;
    int FMouseX = 0, FMouseY = 0;
};

} // namespace vm
