// The line format shared by the settings and progress files: encoded, "%"-padded lines, CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vm {

// Lines longer than this are damaged (no real value comes near it); files are read up to
// kMaxStoredFileBytes, so a huge or endless file costs neither memory nor time.
inline constexpr std::size_t kMaxStoredLineLength = 4096;
inline constexpr std::size_t kMaxStoredFileBytes = 1 << 20;

// The padding character: a stored text loses every trailing one when it is read back.
inline constexpr char kStoredPadding = '%';

// Appends one stored line: Text padded with "%" to a multiple of PadTo characters (PadTo 0: as
// it is), encoded, then CR LF.
void AppendStoredLine(std::string& Content, const std::string& Text, std::size_t PadTo);

// Text without its trailing "%" padding (a text of only "%" becomes empty).
std::string StripPadding(std::string Text);

// A whole-text decimal integer with an optional minus that fits in 32 bits; nothing else.
std::optional<std::int32_t> ParseStoredInt(const std::string& Text);

// Reads one stored file for a loader and reports each damaged value once into Problems.
// Lines are numbered from 1. Problems must outlive the reader.
class TStoredLineReader
{
public:
    // Reads at most MaxLines lines of Path (the most the loader can use).
    TStoredLineReader(std::string Path, std::size_t MaxLines, std::vector<std::string>& Problems);

    // False when there is nothing to read: the file is missing (not reported) or unreadable
    // (reported).
    bool Read();
    std::size_t LineCount() const { return FLines.size(); }

    // Line N decoded, with the padding stripped unless Raw. Empty when the line is missing
    // (the file's early end is reported once) or damaged (reported, naming What).
    std::optional<std::string> Text(std::size_t Line, const std::string& What, bool Raw = false);
    // Line N decoded and stripped like Text, but with nothing reported: for looking ahead.
    std::optional<std::string> Peek(std::size_t Line) const;
    // Line N as a number in Low..High; empty (and reported) when it is missing, damaged, not a
    // number or out of range.
    std::optional<std::int32_t> Number(std::size_t Line, const std::string& What,
                                       std::int32_t Low = INT32_MIN, std::int32_t High = INT32_MAX);
    // Adds "<path> line <N> (<What>): <Why>; <Outcome>".
    void Report(std::size_t Line, const std::string& What, const std::string& Why,
                const std::string& Outcome = "keeping the current value");

private:
    // Line N decoded (stripped unless Raw), or empty with Why set to what is wrong with it
    // (nullptr when the line is missing).
    std::optional<std::string> Decode(std::size_t Line, bool Raw, const char*& Why) const;

    struct TLine
    {
        std::string Text;             // as stored, without the line end; empty when damaged
        const char* Damage = nullptr; // why the whole line is unusable, when it is
    };

    std::string FPath;
    std::size_t FMaxLines;
    std::vector<std::string>& FProblems;
    std::vector<TLine> FLines;
    bool FEndReported = false;
};

} // namespace vm
