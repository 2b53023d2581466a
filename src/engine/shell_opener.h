// Asks the desktop to open an address in the player's web browser.
#pragma once

#include <string>

namespace vm {

class IShellOpener
{
public:
    virtual ~IShellOpener() = default;
    // Starts the browser on Url without waiting for it; nothing is reported when that fails.
    virtual void OpenUrl(const std::string& Url) = 0;
};

} // namespace vm
