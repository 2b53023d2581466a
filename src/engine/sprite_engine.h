// Owns every sprite, keeps them sorted by Z, moves and draws them in that order, frees the dead.
#pragma once

#include <cstdint>
#include <vector>

namespace vm {

class IMessageBox;
class TSprite;

class TSpriteEngine
{
public:
    // Messages (not owned) receives the draw error of a sprite whose image is not prepared.
    explicit TSpriteEngine(IMessageBox* Messages = nullptr) : FMessages(Messages) {}
    // Frees every sprite, the last first.
    ~TSpriteEngine();
    TSpriteEngine(const TSpriteEngine&) = delete;
    TSpriteEngine& operator=(const TSpriteEngine&) = delete;

    std::int32_t DrawAreaX1 = 0, DrawAreaY1 = 0, DrawAreaX2 = 0, DrawAreaY2 = 0;
    float OffsetX = 0.0f;
    float OffsetY = 0.0f;

    // Moves the sprites in Z order as they stood when the pass began: a sprite made during the pass
    // first moves in the next one, and one deleted during the pass is skipped.
    void Move(float MoveCount);
    void Draw();
    // Frees the dead sprites, the last marked first.
    void FreeDead();
    // nullptr outside 0..Count-1.
    TSprite* Sprites(int Index) const;
    int Count() const { return static_cast<int>(FSpriteList.size()); }
    const std::vector<TSprite*>& DeadList() const { return FDeadList; }
    IMessageBox* Messages() const { return FMessages; }

private:
    friend class TSprite;
    // Lower bound on Z: the sprite goes before every sprite of equal Z.
    void Insert(TSprite* Sprite);
    void Remove(TSprite* Sprite);
    void MarkDead(TSprite* Sprite) { FDeadList.push_back(Sprite); }
    void Forget(TSprite* Sprite);

    IMessageBox* FMessages;
    std::vector<TSprite*> FSpriteList;
    std::vector<TSprite*> FDeadList;
    // The sprites of the move pass under way (empty between passes).
    std::vector<TSprite*> FPassList;
};

} // namespace vm
