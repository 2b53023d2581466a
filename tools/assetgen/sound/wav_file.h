// Encodes and writes mono 16-bit PCM WAV files with the canonical 44-byte RIFF header.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vm::assetgen {

// The complete file: header and samples (clamped to -1..1, rounded to 16 bits).
std::vector<std::uint8_t> EncodeWav(const std::vector<double>& Samples, int SampleRate);
// Writes Bytes to Path through a temporary file in the same folder, so a failed write never
// leaves a half-written file under the final name. False with Error set on failure.
bool WriteFileBytes(const std::filesystem::path& Path, const std::vector<std::uint8_t>& Bytes,
                    std::string& Error);

} // namespace vm::assetgen
