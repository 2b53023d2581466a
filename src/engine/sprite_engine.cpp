// TSpriteEngine: the Z-sorted sprite list, the per-frame passes and deferred freeing.
#include "engine/sprite_engine.h"

#include "engine/sprite.h"

#include <algorithm>

namespace vm {

TSpriteEngine::~TSpriteEngine()
{
    // Each destructor takes its sprite out of both lists.
    while (!FSpriteList.empty())
        delete FSpriteList.back();
    FDeadList.clear();
}

void TSpriteEngine::Move(float MoveCount)
{
    // A copy of the list: a sprite made during the pass would otherwise shift the ones behind it,
    // so that one sprite moved twice in a frame and the last not at all. A pass inside a pass
    // (never done by the game) walks the live list instead.
    if (!FPassList.empty())
    {
        const std::size_t Count = FSpriteList.size();
        for (std::size_t Index = 0; Index < Count && Index < FSpriteList.size(); ++Index)
            FSpriteList[Index]->Move(MoveCount);
        return;
    }
    FPassList = FSpriteList;
    for (std::size_t Index = 0; Index < FPassList.size(); ++Index)
        if (TSprite* Sprite = FPassList[Index])
            Sprite->Move(MoveCount);
    FPassList.clear();
}

void TSpriteEngine::Draw()
{
    const std::size_t Count = FSpriteList.size();
    for (std::size_t Index = 0; Index < Count && Index < FSpriteList.size(); ++Index)
        FSpriteList[Index]->Draw();
}

void TSpriteEngine::FreeDead()
{
    while (!FDeadList.empty())
    {
        TSprite* Last = FDeadList.back();
        delete Last;
        // The destructor removed it; make sure the loop ends even if a subclass got in the way.
        if (!FDeadList.empty() && FDeadList.back() == Last)
            FDeadList.pop_back();
    }
}

TSprite* TSpriteEngine::Sprites(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    return FSpriteList[static_cast<std::size_t>(Index)];
}

void TSpriteEngine::Insert(TSprite* Sprite)
{
    const std::int32_t Z = Sprite->Z();
    const auto Place =
        std::lower_bound(FSpriteList.begin(), FSpriteList.end(), Z,
                         [](const TSprite* Existing, std::int32_t Value) { return Existing->Z() < Value; });
    FSpriteList.insert(Place, Sprite);
}

void TSpriteEngine::Remove(TSprite* Sprite)
{
    // The list is sorted by Z, so the sprite lies among those of its own Z.
    const std::int32_t Z = Sprite->Z();
    auto It =
        std::lower_bound(FSpriteList.begin(), FSpriteList.end(), Z,
                         [](const TSprite* Existing, std::int32_t Value) { return Existing->Z() < Value; });
    while (It != FSpriteList.end() && (*It)->Z() == Z && *It != Sprite)
        ++It;
    if (It == FSpriteList.end() || *It != Sprite)
        It = std::find(FSpriteList.begin(), FSpriteList.end(), Sprite);
    if (It != FSpriteList.end())
        FSpriteList.erase(It);
}

void TSpriteEngine::Forget(TSprite* Sprite)
{
    Remove(Sprite);
    // Deleted during a move pass: the pass must not visit it.
    std::replace(FPassList.begin(), FPassList.end(), Sprite, static_cast<TSprite*>(nullptr));
    // FreeDead frees from the back, so look there first.
    const auto Dead = std::find(FDeadList.rbegin(), FDeadList.rend(), Sprite);
    if (Dead != FDeadList.rend())
        FDeadList.erase(std::next(Dead).base());
}

} // namespace vm
