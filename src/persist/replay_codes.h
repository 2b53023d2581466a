// The recording file's building blocks, shared by its writer and its reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vm {

// The file: the 8-byte magic, the format version (2 bytes, little-endian), then chunks. A chunk is
// its kind (1 byte), its payload's length (4 bytes), a check of those five bytes (the low 2 bytes
// of their CRC-32), the payload, and the payload's CRC-32 (4 bytes); numbers little-endian.
inline constexpr std::uint8_t ChunkHeader = 'H'; // the header: one, first
inline constexpr std::uint8_t ChunkData = 'D';   // events: any number
inline constexpr std::uint8_t ChunkEnd = 'E';    // the run's outcome: last, only when it ended
inline constexpr std::size_t ChunkHeadSize = 7;
inline constexpr std::size_t ChunkTailSize = 4;
inline constexpr std::uint32_t MaxChunkPayload = 1u << 20;

// The data chunks' operations: a byte whose high nibble is the operation and, for the first
// three, whose low nibble is a count (15: 15 plus a varint that follows); see also OpShortKey.
inline constexpr std::uint8_t OpStep = 0x00;      // count race-clock intervals, then one frame
inline constexpr std::uint8_t OpRepeat = 0x10;    // count + 1 more of the chunk's last step
inline constexpr std::uint8_t OpIntervals = 0x20; // count (1 or more) race-clock intervals
// Whole-byte operations; numbers after them are zigzag varints, mouse positions as the change from
// the last one written (the header's position at first).
inline constexpr std::uint8_t OpKeyDown = 0x30;
inline constexpr std::uint8_t OpKeyUp = 0x31;
inline constexpr std::uint8_t OpMouseMove = 0x32;
inline constexpr std::uint8_t OpMouseUp = 0x33;
inline constexpr std::uint8_t OpMouseDown = 0x34;
inline constexpr std::uint8_t OpText = 0x35; // varint length, then the bytes
inline constexpr std::uint8_t OpPadAdded = 0x36;
inline constexpr std::uint8_t OpPadRemoved = 0x37;
inline constexpr std::uint8_t OpPadUp = 0x38;
inline constexpr std::uint8_t OpPadDown = 0x39;
inline constexpr std::uint8_t OpPadAxis = 0x3A;
inline constexpr std::uint8_t OpFocusLost = 0x3B;
inline constexpr std::uint8_t OpFocusGot = 0x3C;

// A key of ShortKeys in one byte: OpShortKey, 0x20 when one race-clock step came just before it
// (as the race's driving keys usually do), 0x10 for down, and the key's place in the list.
inline constexpr std::uint8_t OpShortKey = 0x40;
inline constexpr int ShortKeys[16] = {37, 38, 39, 40, 13, 27, 32, 16, 17, 8, 80, 72, 65, 68, 83, 87};

inline constexpr std::uint32_t MaxReplayText = 4096;
// Two hours of frames: a longer recording is refused rather than filling the memory.
inline constexpr std::int64_t MaxReplayFrames = 90LL * 60 * 60 * 2;

// The CRC-32 (zlib's) of Size bytes.
std::uint32_t ReplayCrc(const void* Data, std::size_t Size);

// Appends unsigned and zigzag-coded signed varints, fixed little-endian numbers and strings.
void PutVarint(std::string& Out, std::uint64_t Value);
void PutSigned(std::string& Out, std::int64_t Value);
void PutFixed(std::string& Out, std::uint64_t Value, int Bytes);
void PutString(std::string& Out, const std::string& Text);

// Reads what the Put routines wrote from a byte range; every read checks the range and the
// value's bounds and sets Bad instead of reading past the end.
struct TReplayCursor
{
    const std::uint8_t* At = nullptr;
    const std::uint8_t* End = nullptr;
    bool Bad = false;

    bool AtEnd() const { return At >= End; }
    std::uint8_t Byte();
    std::uint64_t Varint();
    std::int32_t Signed();                   // must fit an int32
    std::uint32_t Count(std::uint32_t Most); // an unsigned varint of at most Most
    std::uint64_t Fixed(int Bytes);
    std::string String(std::uint32_t MostBytes);
};

} // namespace vm
