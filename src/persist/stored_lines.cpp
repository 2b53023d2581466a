// Writing and reading the encoded, "%"-padded lines of the settings and progress files.
#include "persist/stored_lines.h"

#include "common/line_codec.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vm {

namespace {

bool InAlphabet(char C) { return LineAlphabet.find(C) != std::string_view::npos; }

// The file's bytes, at most Limit of them (Truncated tells whether there were more). Returns
// false with errno set when it cannot be read; errno ENOENT means there is no such file.
bool ReadHead(const std::string& Path, std::size_t Limit, std::string& Bytes, bool& Truncated)
{
    // O_NONBLOCK: a FIFO put in the file's place must not hang the start of the game.
    const int Fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (Fd < 0)
        return false;
    struct stat Info = {};
    if (::fstat(Fd, &Info) != 0 || !S_ISREG(Info.st_mode))
    {
        const int Errno = S_ISDIR(Info.st_mode) ? EISDIR : EINVAL;
        ::close(Fd);
        errno = Errno;
        return false;
    }
    Bytes.assign(Limit + 1, '\0');
    std::size_t Done = 0;
    while (Done < Bytes.size())
    {
        const ssize_t Got = ::read(Fd, Bytes.data() + Done, Bytes.size() - Done);
        if (Got < 0 && errno == EINTR)
            continue;
        if (Got < 0)
        {
            const int Errno = errno;
            ::close(Fd);
            errno = Errno;
            return false;
        }
        if (Got == 0)
            break;
        Done += static_cast<std::size_t>(Got);
    }
    ::close(Fd);
    Truncated = Done > Limit;
    Bytes.resize(Truncated ? Limit : Done);
    return true;
}

} // namespace

void AppendStoredLine(std::string& Content, const std::string& Text, std::size_t PadTo)
{
    std::string Padded = Text;
    if (PadTo > 0 && Padded.size() % PadTo != 0)
        Padded.append(PadTo - Padded.size() % PadTo, kStoredPadding);
    Content += EncodeLine(Padded);
    Content += "\r\n";
}

std::string StripPadding(std::string Text)
{
    const std::size_t Keep = Text.find_last_not_of(kStoredPadding);
    Text.resize(Keep == std::string::npos ? 0 : Keep + 1);
    return Text;
}

std::optional<std::int32_t> ParseStoredInt(const std::string& Text)
{
    // from_chars takes exactly an optional minus and decimal digits, and reports overflow.
    std::int32_t Value = 0;
    const char* End = Text.data() + Text.size();
    const auto [Stop, Error] = std::from_chars(Text.data(), End, Value, 10);
    if (Text.empty() || Error != std::errc() || Stop != End)
        return std::nullopt;
    return Value;
}

TStoredLineReader::TStoredLineReader(std::string Path, std::size_t MaxLines,
                                     std::vector<std::string>& Problems)
    : FPath(std::move(Path)), FMaxLines(MaxLines), FProblems(Problems)
{}

bool TStoredLineReader::Read()
{
    FLines.clear();
    FEndReported = false;
    std::string Bytes;
    bool Truncated = false;
    if (!ReadHead(FPath, kMaxStoredFileBytes, Bytes, Truncated))
    {
        const int Errno = errno; // taken before any allocation can change it
        if (Errno != ENOENT)
            FProblems.push_back("cannot read \"" + FPath + "\": " + std::strerror(Errno) +
                                "; keeping the default values");
        return false;
    }
    if (Truncated)
        FProblems.push_back("\"" + FPath + "\" is larger than " + std::to_string(kMaxStoredFileBytes) +
                            " bytes; only its start is read");

    // Lines end at CR LF as written, but a lone LF or CR (an edited file) ends a line too.
    std::size_t Pos = 0;
    while (Pos < Bytes.size() && FLines.size() < FMaxLines)
    {
        const std::size_t End = std::min(Bytes.find_first_of("\r\n", Pos), Bytes.size());
        TLine Line;
        if (End - Pos > kMaxStoredLineLength)
            Line.Damage = "the line is too long";
        else if (End == Bytes.size() && Truncated)
            Line.Damage = "the line is cut off";
        else
            Line.Text.assign(Bytes, Pos, End - Pos);
        FLines.push_back(std::move(Line));
        Pos = End;
        if (Pos < Bytes.size() && Bytes[Pos] == '\r')
            ++Pos;
        if (Pos < Bytes.size() && Bytes[Pos] == '\n')
            ++Pos;
    }
    return true;
}

void TStoredLineReader::Report(std::size_t Line, const std::string& What, const std::string& Why,
                               const std::string& Outcome)
{
    FProblems.push_back("\"" + FPath + "\" line " + std::to_string(Line) + " (" + What + "): " + Why + "; " +
                        Outcome);
}

std::optional<std::string> TStoredLineReader::Decode(std::size_t Line, bool Raw, const char*& Why) const
{
    Why = nullptr;
    if (Line == 0 || Line > FLines.size())
        return std::nullopt;
    const TLine& Stored = FLines[Line - 1];
    if (Stored.Damage != nullptr)
        Why = Stored.Damage;
    else if (!std::all_of(Stored.Text.begin(), Stored.Text.end(), InAlphabet))
        Why = "the line is not in the file's encoding";
    // Padded values are whole multiples of 5 bytes, which encode to multiples of 8 characters;
    // any other length would decode to stray bytes.
    else if (!Raw && Stored.Text.size() % 8 != 0)
        Why = "the line has the wrong length for a stored value";
    if (Why != nullptr)
        return std::nullopt;
    const std::string Decoded = DecodeLine(Stored.Text);
    return Raw ? Decoded : StripPadding(Decoded);
}

std::optional<std::string> TStoredLineReader::Peek(std::size_t Line) const
{
    const char* Why = nullptr;
    return Decode(Line, false, Why);
}

std::optional<std::string> TStoredLineReader::Text(std::size_t Line, const std::string& What, bool Raw)
{
    const char* Why = nullptr;
    std::optional<std::string> Decoded = Decode(Line, Raw, Why);
    if (Decoded)
        return Decoded;
    if (Why != nullptr)
        Report(Line, What, Why);
    else if (!FEndReported)
    {
        // One message for the early end, not one for every value after it.
        FProblems.push_back(
            "\"" + FPath + "\" " +
            (FLines.empty() ? std::string("is empty") : "ends after line " + std::to_string(FLines.size())) +
            "; the values missing from it keep their current values");
        FEndReported = true;
    }
    return std::nullopt;
}

std::optional<std::int32_t> TStoredLineReader::Number(std::size_t Line, const std::string& What,
                                                      std::int32_t Low, std::int32_t High)
{
    const std::optional<std::string> Stored = Text(Line, What);
    if (!Stored)
        return std::nullopt;
    const std::optional<std::int32_t> Value = ParseStoredInt(*Stored);
    if (!Value)
    {
        Report(Line, What, "not a whole number that fits in 32 bits");
        return std::nullopt;
    }
    if (*Value < Low || *Value > High)
    {
        Report(Line, What,
               std::to_string(*Value) + " is outside " + std::to_string(Low) + ".." + std::to_string(High));
        return std::nullopt;
    }
    return Value;
}

} // namespace vm
