// Opens addresses in the desktop's browser with xdg-open.
#include "platform/sdl/xdg_shell_opener.h"

#include <sys/wait.h>
#include <unistd.h>

namespace vm {

void TXdgShellOpener::OpenUrl(const std::string& Url)
{
    if (Url.rfind("http://", 0) != 0 && Url.rfind("https://", 0) != 0)
        return;
    // Fork twice so that the browser is not our child: no zombie is left, nothing is waited for.
    const pid_t Child = fork();
    if (Child < 0)
        return;
    if (Child == 0)
    {
        setsid();
        if (fork() == 0)
        {
            execlp("xdg-open", "xdg-open", Url.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(0);
    }
    int Status = 0;
    waitpid(Child, &Status, 0);
}

} // namespace vm
