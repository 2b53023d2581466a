// The page table: for every screen state, the routines that enter it, run its frames and leave it;
// and the state each page keeps while the game runs.
#pragma once

#include "shell/page_parts.h"

#include <array>
#include <memory>
#include <typeindex>
#include <unordered_map>

namespace vm {

class TGame;

// One screen state's routines. A state without Enter has no page: entering it only stores the
// state, and its frames draw black.
struct TPageRoutines
{
    void (*Enter)(TGame&) = nullptr;
    void (*Frame)(TGame&) = nullptr;
    void (*Leave)(TGame&) = nullptr;
};

// Only the low seven bits of a screen state count.
inline constexpr int ScreenStateCount = 128;
using TPageRows = std::array<TPageRoutines, ScreenStateCount>;

// Owned by the game, one per game: the rows are the program's one table (outliving every game),
// the kept states and the parts live and die with the game.
class TPageTable
{
public:
    explicit TPageTable(const TPageRows& Rows) : FRows(Rows) {}

    const TPageRoutines& Row(int State) const { return FRows[static_cast<std::size_t>(State & 0x7F)]; }

    // The one T a page (or a group of pages) keeps for the whole game, made on first use.
    template <class T> T& Keep()
    {
        std::shared_ptr<void>& Slot = FKept[std::type_index(typeid(T))];
        if (Slot == nullptr)
            Slot = std::make_shared<T>();
        return *static_cast<T*>(Slot.get());
    }
    template <class T> const T& Keep() const
    {
        return const_cast<TPageTable*>(this)->Keep<T>(); // making it on first use is not a change
    }

    // What the page that is up has made.
    TPageParts Parts;

private:
    const TPageRows& FRows;
    std::unordered_map<std::type_index, std::shared_ptr<void>> FKept;
};

} // namespace vm
