// Helpers of the persistence tests: reading, writing and taking apart stored files.
#pragma once

#include "common/line_codec.h"

#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vm::test {

inline std::string ReadBytes(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& Path, const std::string& Bytes)
{
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out << Bytes;
}

// The lines of a stored file as written (each must end in CR LF; a bare LF fails the test).
inline std::vector<std::string> StoredLines(const std::string& Bytes)
{
    std::vector<std::string> Lines;
    std::size_t Pos = 0;
    while (Pos < Bytes.size())
    {
        const std::size_t End = Bytes.find("\r\n", Pos);
        if (End == std::string::npos)
        {
            Lines.push_back("<no CR LF>" + Bytes.substr(Pos));
            break;
        }
        Lines.push_back(Bytes.substr(Pos, End - Pos));
        Pos = End + 2;
    }
    return Lines;
}

inline std::string JoinLines(const std::vector<std::string>& Lines, std::size_t Count)
{
    std::string Bytes;
    for (std::size_t I = 0; I < Count && I < Lines.size(); ++I)
        Bytes += Lines[I] + "\r\n";
    return Bytes;
}

// Line N (1-based) of the file decoded, padding and all.
inline std::string DecodedLine(const std::vector<std::string>& Lines, std::size_t N)
{
    return DecodeLine(Lines.at(N - 1));
}

// Runs Body in a child process whose files may grow to at most Limit bytes, so writes past it
// fail part of the way through (for root too). Returns Body's result, or -1 when the child did
// not exit normally. The limit never touches the test process itself.
inline int RunWithFileSizeLimit(rlim_t Limit, const std::function<int()>& Body)
{
    const pid_t Child = ::fork();
    if (Child < 0)
        return -1;
    if (Child == 0)
    {
        std::signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead of killing us
        const rlimit Size{Limit, Limit};
        ::setrlimit(RLIMIT_FSIZE, &Size);
        ::_exit(Body());
    }
    int Status = 0;
    if (::waitpid(Child, &Status, 0) != Child || !WIFEXITED(Status))
        return -1;
    return WEXITSTATUS(Status);
}

} // namespace vm::test
