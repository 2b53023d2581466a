// Replacing a file through a temporary file, fsync and rename.
#include "persist/safe_file.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vm {

namespace {

std::string Reason(const std::string& What, const std::string& Path, int Errno)
{
    return What + " \"" + Path + "\": " + std::strerror(Errno);
}

// The folder part of Path ("." when it has none), for syncing the rename.
std::string FolderOf(const std::string& Path)
{
    const std::size_t Slash = Path.find_last_of('/');
    if (Slash == std::string::npos)
        return ".";
    if (Slash == 0)
        return "/";
    return Path.substr(0, Slash);
}

// Creates a temporary file beside Path that did not exist before (O_EXCL), trying a few names
// so that two saves running at once never share one. Returns the descriptor or -1 with errno.
int CreateTemporary(const std::string& Path, std::string& TempPath)
{
    for (int Attempt = 0; Attempt < 100; ++Attempt)
    {
        TempPath = Path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(Attempt);
        const int Fd = ::open(TempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (Fd >= 0 || errno != EEXIST)
            return Fd;
    }
    errno = EEXIST;
    return -1;
}

bool WriteAll(int Fd, const std::string& Content)
{
    std::size_t Done = 0;
    while (Done < Content.size())
    {
        const ssize_t Written = ::write(Fd, Content.data() + Done, Content.size() - Done);
        if (Written < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (Written == 0)
        {
            errno = EIO;
            return false;
        }
        Done += static_cast<std::size_t>(Written);
    }
    return true;
}

// The process number in a temporary file's name "NAME.tmp-PID-N" after Prefix ("NAME.tmp-"), or
// 0 when the name is not one of ours.
long TemporaryOwner(const std::string& Entry, const std::string& Prefix)
{
    if (Entry.compare(0, Prefix.size(), Prefix) != 0)
        return 0;
    const char* Start = Entry.c_str() + Prefix.size();
    char* End = nullptr;
    const long Pid = std::strtol(Start, &End, 10);
    if (End == Start || *End != '-' || Pid <= 0)
        return 0;
    const char* Attempt = End + 1;
    std::strtol(Attempt, &End, 10);
    return End != Attempt && *End == '\0' ? Pid : 0;
}

// True while process Pid runs (it may be another user's: then it cannot be signalled, but exists).
bool ProcessRuns(long Pid)
{
    if (Pid == ::getpid())
        return false; // this process has not saved yet: the number was an earlier one's
    return ::kill(static_cast<pid_t>(Pid), 0) == 0 || errno != ESRCH;
}

} // namespace

std::vector<std::string> RemoveStaleTemporaries(const std::string& Path)
{
    std::vector<std::string> Removed;
    const std::string Folder = FolderOf(Path);
    const std::size_t Slash = Path.find_last_of('/');
    const std::string Prefix = (Slash == std::string::npos ? Path : Path.substr(Slash + 1)) + ".tmp-";
    DIR* Dir = ::opendir(Folder.c_str());
    if (Dir == nullptr)
        return Removed;
    while (const dirent* Entry = ::readdir(Dir))
    {
        const long Owner = TemporaryOwner(Entry->d_name, Prefix);
        if (Owner == 0 || ProcessRuns(Owner))
            continue;
        const std::string Stale = Folder + "/" + Entry->d_name;
        if (::unlink(Stale.c_str()) == 0)
            Removed.push_back(Stale);
    }
    ::closedir(Dir);
    return Removed;
}

bool WriteFileAtomically(const std::string& Path, const std::string& Content, std::string& Error)
{
    Error.clear();
    std::string TempPath;
    const int Fd = CreateTemporary(Path, TempPath);
    if (Fd < 0)
    {
        Error = Reason("cannot create a temporary file for", Path, errno);
        return false;
    }
    // From here on every failure removes the temporary file; the old file was never touched.
    auto Fail = [&](const std::string& What, int Errno, bool Close) {
        if (Close)
            ::close(Fd);
        ::unlink(TempPath.c_str());
        Error = Reason(What, Path, Errno);
        return false;
    };

    // Keep the permission bits of the file being replaced (a player may have narrowed them).
    struct stat Old = {};
    if (::stat(Path.c_str(), &Old) == 0 && S_ISREG(Old.st_mode))
        ::fchmod(Fd, Old.st_mode & 07777);

    if (!WriteAll(Fd, Content))
        return Fail("cannot write", errno, true);
    if (::fsync(Fd) != 0)
        return Fail("cannot flush", errno, true);
    // close can report a delayed write error (network file systems): it must succeed too.
    if (::close(Fd) != 0)
        return Fail("cannot close", errno, false);
    if (::rename(TempPath.c_str(), Path.c_str()) != 0)
    {
        const int Errno = errno;
        ::unlink(TempPath.c_str());
        Error = Reason("cannot replace", Path, Errno);
        return false;
    }
    // Make the rename itself durable. The new content is already whole either way, so a folder
    // that cannot be synced is no failure of the save.
    const int Folder = ::open(FolderOf(Path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Folder >= 0)
    {
        ::fsync(Folder);
        ::close(Folder);
    }
    return true;
}

} // namespace vm
