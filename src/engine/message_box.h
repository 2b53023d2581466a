// Message box interface: how the engine tells the player about errors.
#pragma once

#include <string>

namespace vm {

class IMessageBox
{
public:
    virtual ~IMessageBox() = default;
    // Shows Text with Caption; implementations also print it on stderr. Blocks until dismissed.
    virtual void Show(const std::string& Text, const std::string& Caption) = 0;
};

// Prints to stderr only; used headless and in tests.
class TStderrMessageBox : public IMessageBox
{
public:
    void Show(const std::string& Text, const std::string& Caption) override;
};

} // namespace vm
