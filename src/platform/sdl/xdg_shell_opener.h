// Opens addresses in the desktop's browser with xdg-open.
#pragma once

#include "engine/shell_opener.h"

namespace vm {

class TXdgShellOpener : public IShellOpener
{
public:
    // Only http and https addresses are opened; the address goes to xdg-open as one argument,
    // never through a shell. The browser is started detached: nothing waits for it.
    void OpenUrl(const std::string& Url) override;
};

} // namespace vm
