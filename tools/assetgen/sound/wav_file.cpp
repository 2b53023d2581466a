// Encodes and writes mono 16-bit PCM WAV files with the canonical 44-byte RIFF header.
#include "sound/wav_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace vm::assetgen {

namespace {

void PutTag(std::vector<std::uint8_t>& Bytes, const char* Tag)
{
    for (int I = 0; I < 4; ++I)
        Bytes.push_back(static_cast<std::uint8_t>(Tag[I]));
}

void PutLe(std::vector<std::uint8_t>& Bytes, std::uint32_t Value, int Size)
{
    for (int I = 0; I < Size; ++I)
        Bytes.push_back(static_cast<std::uint8_t>((Value >> (8 * I)) & 0xFF));
}

} // namespace

std::vector<std::uint8_t> EncodeWav(const std::vector<double>& Samples, int SampleRate)
{
    constexpr std::uint32_t Channels = 1;
    constexpr std::uint32_t Bits = 16;
    constexpr std::uint32_t BlockAlign = Channels * Bits / 8;
    const std::uint32_t DataSize = static_cast<std::uint32_t>(Samples.size()) * BlockAlign;

    std::vector<std::uint8_t> Bytes;
    Bytes.reserve(44 + DataSize);
    PutTag(Bytes, "RIFF");
    PutLe(Bytes, 36 + DataSize, 4);
    PutTag(Bytes, "WAVE");
    PutTag(Bytes, "fmt ");
    PutLe(Bytes, 16, 4); // size of the PCM format block
    PutLe(Bytes, 1, 2);  // PCM
    PutLe(Bytes, Channels, 2);
    PutLe(Bytes, static_cast<std::uint32_t>(SampleRate), 4);
    PutLe(Bytes, static_cast<std::uint32_t>(SampleRate) * BlockAlign, 4);
    PutLe(Bytes, BlockAlign, 2);
    PutLe(Bytes, Bits, 2);
    PutTag(Bytes, "data");
    PutLe(Bytes, DataSize, 4);
    for (const double X : Samples)
    {
        const double Clamped = std::isfinite(X) ? std::clamp(X, -1.0, 1.0) : 0.0;
        const auto Value = static_cast<std::int16_t>(std::lround(Clamped * 32767.0));
        PutLe(Bytes, static_cast<std::uint16_t>(Value), 2);
    }
    return Bytes;
}

bool WriteFileBytes(const std::filesystem::path& Path, const std::vector<std::uint8_t>& Bytes,
                    std::string& Error)
{
    std::filesystem::path Temporary = Path;
    Temporary += ".part";
    {
        std::ofstream Out(Temporary, std::ios::binary | std::ios::trunc);
        if (Out)
            Out.write(reinterpret_cast<const char*>(Bytes.data()),
                      static_cast<std::streamsize>(Bytes.size()));
        if (Out)
            Out.close(); // close here so a failed final flush is noticed
        if (!Out)
        {
            Error = "cannot write " + Path.string();
            std::error_code Ignored;
            std::filesystem::remove(Temporary, Ignored);
            return false;
        }
    }
    std::error_code Ec;
    std::filesystem::rename(Temporary, Path, Ec);
    if (Ec)
    {
        Error = "cannot write " + Path.string() + ": " + Ec.message();
        std::filesystem::remove(Temporary, Ec);
        return false;
    }
    return true;
}

} // namespace vm::assetgen
