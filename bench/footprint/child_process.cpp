// Runs a program as a child process and watches it.
#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <sstream>

extern char** environ;

namespace vm::footprint {

namespace {

using TClock = std::chrono::steady_clock;

double SecondsSince(TClock::time_point Start)
{
    return std::chrono::duration<double>(TClock::now() - Start).count();
}

// This process's environment with Launch's changes, as "NAME=value" strings.
std::vector<std::string> ChildEnvironment(const TChildLaunch& Launch)
{
    const auto Named = [](const std::string& Entry, const std::string& Name) {
        return Entry.size() > Name.size() && Entry.compare(0, Name.size(), Name) == 0 &&
               Entry[Name.size()] == '=';
    };
    std::vector<std::string> Env;
    for (char** Entry = environ; *Entry != nullptr; ++Entry)
    {
        const std::string Text = *Entry;
        bool Drop = std::any_of(Launch.Unset.begin(), Launch.Unset.end(),
                                [&](const std::string& Name) { return Named(Text, Name); });
        for (const auto& [Name, Value] : Launch.Env)
            Drop = Drop || Named(Text, Name);
        if (!Drop)
            Env.push_back(Text);
    }
    for (const auto& [Name, Value] : Launch.Env)
        Env.push_back(Name + "=" + Value);
    return Env;
}

std::vector<char*> Pointers(std::vector<std::string>& Strings)
{
    std::vector<char*> Result;
    for (std::string& Text : Strings)
        Result.push_back(Text.data());
    Result.push_back(nullptr);
    return Result;
}

// Splits what came from the pipe into whole lines, keeping an unfinished one in Pending.
void TakeLines(std::string& Pending, TChildResult& Result, const TChildLaunch& Launch, double Seconds)
{
    for (auto End = Pending.find('\n'); End != std::string::npos; End = Pending.find('\n'))
    {
        Result.StderrLines.push_back(Pending.substr(0, End));
        Pending.erase(0, End + 1);
        if (Launch.OnLine)
            Launch.OnLine(Result.StderrLines.back(), Seconds);
    }
}

} // namespace

TChildResult RunChild(const TChildLaunch& Launch)
{
    TChildStop Stop;
    return RunChild(Launch, Stop);
}

TChildResult RunChild(const TChildLaunch& Launch, TChildStop& Stop)
{
    TChildResult Result;
    if (Launch.Argv.empty())
    {
        Result.Error = "no program to run";
        return Result;
    }
    std::vector<std::string> ArgStrings = Launch.Argv;
    std::vector<std::string> EnvStrings = ChildEnvironment(Launch);
    std::vector<char*> Args = Pointers(ArgStrings);
    std::vector<char*> Env = Pointers(EnvStrings);
    int ErrPipe[2], ExecPipe[2];
    if (pipe2(ErrPipe, O_CLOEXEC) != 0)
    {
        Result.Error = std::string("pipe: ") + std::strerror(errno);
        return Result;
    }
    if (pipe2(ExecPipe, O_CLOEXEC) != 0)
    {
        Result.Error = std::string("pipe: ") + std::strerror(errno);
        close(ErrPipe[0]);
        close(ErrPipe[1]);
        return Result;
    }
    const auto Start = TClock::now();
    const pid_t Pid = fork();
    if (Pid == 0)
    {
        // The child: its own process group, so that a stop or a kill reaches whatever it starts.
        setpgid(0, 0);
        const int In = open("/dev/null", O_RDONLY);
        const int Out = open(Launch.StdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int Failure = 0;
        if (In < 0 || Out < 0 || dup2(In, 0) < 0 || dup2(Out, 1) < 0 || dup2(ErrPipe[1], 2) < 0)
            Failure = errno;
        else if (!Launch.WorkingDir.empty() && chdir(Launch.WorkingDir.c_str()) != 0)
            Failure = errno;
        else
        {
            execvpe(Args[0], Args.data(), Env.data());
            Failure = errno;
        }
        [[maybe_unused]] const auto Written = write(ExecPipe[1], &Failure, sizeof Failure);
        _exit(127);
    }
    close(ErrPipe[1]);
    close(ExecPipe[1]);
    if (Pid < 0)
    {
        Result.Error = std::string("fork: ") + std::strerror(errno);
        close(ErrPipe[0]);
        close(ExecPipe[0]);
        return Result;
    }
    // The exec pipe closes on a successful exec; a failure sends its errno first.
    int Failure = 0;
    ssize_t Got;
    do
        Got = read(ExecPipe[0], &Failure, sizeof Failure);
    while (Got < 0 && errno == EINTR);
    close(ExecPipe[0]);
    if (Got == static_cast<ssize_t>(sizeof Failure))
    {
        waitpid(Pid, nullptr, 0);
        close(ErrPipe[0]);
        Result.Error = "cannot run " + Launch.Argv[0] + ": " + std::strerror(Failure);
        return Result;
    }
    Result.Started = true;
    fcntl(ErrPipe[0], F_SETFL, fcntl(ErrPipe[0], F_GETFL) | O_NONBLOCK);
    int ErrFd = ErrPipe[0];
    std::string Pending;
    double NextSample = 0, TermSentAt = -1;
    bool KillSent = false;
    const auto ReadAvailable = [&](double Seconds) {
        char Buffer[4096];
        for (;;)
        {
            const ssize_t N = read(ErrFd, Buffer, sizeof Buffer);
            if (N > 0)
            {
                Pending.append(Buffer, static_cast<std::size_t>(N));
                continue;
            }
            if (N == 0)
            {
                close(ErrFd);
                ErrFd = -1;
            }
            else if (errno == EINTR)
                continue;
            break;
        }
        TakeLines(Pending, Result, Launch, Seconds);
    };
    for (;;)
    {
        int Status = 0;
        rusage Usage{};
        const pid_t Ended = wait4(Pid, &Status, WNOHANG, &Usage);
        if (Ended == Pid)
        {
            Result.WallSeconds = SecondsSince(Start);
            Result.MaxRssKb = Usage.ru_maxrss;
            if (WIFEXITED(Status))
                Result.ExitStatus = WEXITSTATUS(Status);
            else if (WIFSIGNALED(Status))
                Result.Signal = WTERMSIG(Status);
            break;
        }
        const double Now = SecondsSince(Start);
        if (Now >= Launch.TimeoutSeconds && !Result.TimedOut)
        {
            Result.TimedOut = true;
            kill(-Pid, SIGKILL);
        }
        if (Now >= Stop.AtSeconds && TermSentAt < 0)
        {
            Result.Stopped = true;
            TermSentAt = Now;
            kill(-Pid, SIGTERM);
        }
        if (TermSentAt >= 0 && !KillSent && Now >= TermSentAt + Stop.GraceSeconds)
        {
            KillSent = true;
            kill(-Pid, SIGKILL);
        }
        if (Launch.Sample && Now >= NextSample)
        {
            Launch.Sample(Pid);
            NextSample = Now + Launch.SampleSeconds;
        }
        // Short waits: the child's end is seen within a few milliseconds.
        pollfd Watch{ErrFd, POLLIN, 0};
        if (ErrFd >= 0)
        {
            if (poll(&Watch, 1, 2) > 0)
                ReadAvailable(SecondsSince(Start));
        }
        else
            poll(nullptr, 0, 1);
    }
    if (ErrFd >= 0)
    {
        ReadAvailable(Result.WallSeconds);
        if (ErrFd >= 0)
            close(ErrFd);
    }
    if (!Pending.empty())
    {
        Pending += '\n';
        TakeLines(Pending, Result, Launch, Result.WallSeconds);
    }
    return Result;
}

std::string DescribeEnd(const TChildResult& Result, const TChildLaunch& Launch)
{
    if (!Result.Started)
        return Result.Error;
    if (Result.TimedOut)
    {
        std::ostringstream Text;
        Text << "timed out after " << Launch.TimeoutSeconds << " s";
        return Text.str();
    }
    if (Result.Signal != 0)
        return std::string("ended by signal ") + std::to_string(Result.Signal) + " (" +
               strsignal(Result.Signal) + ")";
    return "exit status " + std::to_string(Result.ExitStatus);
}

} // namespace vm::footprint
