// The real velomarch-scored program as a subprocess for the tests, and reading a whole file.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace vm::scored::test {

// The program running with stdout on a pipe and stderr in a file; killed if a test leaves it running.
class TProgram
{
public:
    TProgram(const std::vector<std::string>& Args, const std::string& ErrorFile)
    {
        int Pipe[2];
        if (pipe(Pipe) != 0)
            return;
        FPid = fork();
        if (FPid == 0)
        {
            dup2(Pipe[1], STDOUT_FILENO);
            const int Error = open(ErrorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(Error, STDERR_FILENO);
            close(Pipe[0]);
            close(Pipe[1]);
            std::vector<char*> Argv;
            std::string Program = VM_SCORED_BIN;
            Argv.push_back(Program.data());
            std::vector<std::string> Copies = Args;
            for (auto& Arg : Copies)
                Argv.push_back(Arg.data());
            Argv.push_back(nullptr);
            execv(Program.c_str(), Argv.data());
            _exit(127);
        }
        close(Pipe[1]);
        FOut = Pipe[0];
    }
    ~TProgram()
    {
        if (FPid > 0 && !FDone)
        {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
        }
        if (FOut >= 0)
            close(FOut);
    }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    // The first line of stdout, waiting at most 10 s; "" when none came.
    std::string FirstLine()
    {
        std::string Line;
        char C = 0;
        while (Line.find('\n') == std::string::npos)
        {
            pollfd Poll{FOut, POLLIN, 0};
            if (poll(&Poll, 1, 10000) <= 0 || read(FOut, &C, 1) != 1)
                break;
            Line += C;
        }
        if (!Line.empty() && Line.back() == '\n')
            Line.pop_back();
        return Line;
    }

    // The exit status, waiting at most 10 s; -1 when killed by a signal or still running.
    int Wait()
    {
        for (int I = 0; I < 1000; ++I)
        {
            int Status = 0;
            if (waitpid(FPid, &Status, WNOHANG) == FPid)
            {
                FDone = true;
                return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
            }
            usleep(10000);
        }
        return -1;
    }

    void Signal(int Number) { kill(FPid, Number); }

private:
    pid_t FPid = -1;
    int FOut = -1;
    bool FDone = false;
};

inline std::string ReadFile(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    std::ostringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

// The port named by the program's "velomarch-scored listening on ADDR:PORT" line; -1 for another line.
inline int ListeningPort(const std::string& Line)
{
    std::smatch Match;
    return std::regex_match(Line, Match, std::regex("velomarch-scored listening on .*:(\\d+)"))
               ? std::stoi(Match[1])
               : -1;
}

} // namespace vm::scored::test
