// Runs a program as a child process and watches it: its standard error line by line as it comes,
// its wall time, its peak resident memory (wait4's ru_maxrss) and its exit.
#pragma once

#include <sys/types.h>

#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace vm::footprint {

struct TChildLaunch
{
    std::vector<std::string> Argv;                        // Argv[0] is looked up on PATH
    std::vector<std::pair<std::string, std::string>> Env; // set on top of this process's environment
    std::vector<std::string> Unset;                       // removed from it
    std::string WorkingDir;                               // "" keeps this process's
    std::string StdoutPath = "/dev/null";                 // where the child's standard output goes
    double TimeoutSeconds = 600;                          // then the child is killed
    // Called for each line of standard error with the seconds since the start.
    std::function<void(const std::string& Line, double Seconds)> OnLine;
    // Called about every SampleSeconds while the child runs, with its process id.
    std::function<void(pid_t Pid)> Sample;
    double SampleSeconds = 0.05;
};

// Asks the watcher to end the child politely: SIGTERM once the given time since the start has come,
// SIGKILL if it is still there GraceSeconds later.
struct TChildStop
{
    double AtSeconds = std::numeric_limits<double>::infinity();
    double GraceSeconds = 20;
};

struct TChildResult
{
    bool Started = false; // false: the program could not be run; Error says why
    std::string Error;
    int ExitStatus = -1;    // the status it exited with, or -1 when a signal ended it
    int Signal = 0;         // the signal that ended it, if any
    bool TimedOut = false;  // killed at TimeoutSeconds
    bool Stopped = false;   // ended by the stop request
    double WallSeconds = 0; // from just before fork to its end
    long MaxRssKb = 0;      // the largest resident set of the child (and of children it waited for)
    std::vector<std::string> StderrLines;
};

// Runs Launch to its end. Stop may be changed by OnLine (or Sample) while the child runs.
TChildResult RunChild(const TChildLaunch& Launch, TChildStop& Stop);
TChildResult RunChild(const TChildLaunch& Launch);

// "exit status 3", "killed by signal 9", "timed out after 600 s", or the start error.
std::string DescribeEnd(const TChildResult& Result, const TChildLaunch& Launch);

} // namespace vm::footprint
