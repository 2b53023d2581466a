// Message box on SDL: a simple modal box, and the same text on stderr.
#pragma once

#include "engine/message_box.h"

struct SDL_Window;

namespace vm {

class TSdlMessageBox : public IMessageBox
{
public:
    // Window (may be null) is the parent of the box; not owned.
    explicit TSdlMessageBox(SDL_Window* Window = nullptr) : FWindow(Window) {}
    void Show(const std::string& Text, const std::string& Caption) override;
    void SetWindow(SDL_Window* Window) { FWindow = Window; }

private:
    SDL_Window* FWindow;
};

} // namespace vm
