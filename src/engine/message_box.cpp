// The stderr message box used headless and in tests.
#include "engine/message_box.h"

#include <cstdio>

namespace vm {

void TStderrMessageBox::Show(const std::string& Text, const std::string& Caption)
{
    std::fprintf(stderr, "%s: %s\n", Caption.c_str(), Text.c_str());
}

} // namespace vm
