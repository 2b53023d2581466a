// The real score server for the online tests: velomarch-scored on a free loopback port.
#pragma once

#include "support/silent_server.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace vm::test {

// velomarch-scored started on a free loopback port with its own database; stopped at the end.
class TServerProcess
{
public:
    // Extra: more options for the server (its limits, say). Its access log is off.
    explicit TServerProcess(const std::string& DbPath, const std::vector<std::string>& Extra = {})
    {
        std::vector<std::string> Args = {VM_SCORED_BIN, "--listen",     "127.0.0.1:0", "--db",
                                         DbPath,        "--access-log", "off"};
        Args.insert(Args.end(), Extra.begin(), Extra.end());
        std::vector<char*> Argv;
        for (std::string& Arg : Args)
            Argv.push_back(Arg.data());
        Argv.push_back(nullptr);
        int Pipe[2];
        if (pipe(Pipe) != 0)
            return;
        FPid = fork();
        if (FPid == 0)
        {
            dup2(Pipe[1], 1);
            close(Pipe[0]);
            execv(VM_SCORED_BIN, Argv.data());
            _exit(127);
        }
        close(Pipe[1]);
        // "velomarch-scored listening on 127.0.0.1:PORT"
        FILE* Out = fdopen(Pipe[0], "r");
        char Line[256] = {};
        if (Out != nullptr && std::fgets(Line, sizeof Line, Out) != nullptr)
        {
            const std::string Text = Line;
            const auto Colon = Text.rfind(':');
            if (Colon != std::string::npos)
                FPort = std::atoi(Text.c_str() + Colon + 1);
        }
        if (Out != nullptr)
            std::fclose(Out);
    }
    ~TServerProcess() { Stop(); }
    TServerProcess(const TServerProcess&) = delete;
    TServerProcess& operator=(const TServerProcess&) = delete;
    // SIGTERM ends the server cleanly with status 0; any other end (a crash, or a leak found at
    // exit in a sanitizer build) fails the test that started it.
    void Stop()
    {
        if (FPid <= 0)
            return;
        kill(FPid, SIGTERM);
        int Status = 0;
        const bool Reaped = waitpid(FPid, &Status, 0) == FPid;
        FPid = -1;
        if (!Reaped || !WIFEXITED(Status) || WEXITSTATUS(Status) != 0)
            ADD_FAILURE() << "velomarch-scored did not end with status 0 on SIGTERM (wait status " << Status
                          << ")";
    }
    int Port() const { return FPort; }
    std::string Url() const { return LoopbackUrl(FPort); }

private:
    pid_t FPid = -1;
    int FPort = 0;
};

} // namespace vm::test
