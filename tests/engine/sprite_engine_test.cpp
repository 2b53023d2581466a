// Tests of the sprite engine: Z order on insertion, the move and draw passes, dead sprites.
#include "engine/sprite_engine.h"

#include "engine/sprite_fixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace vm::test {
namespace {

using TSpriteEngineTest = TSpriteFixture;

std::vector<std::string> Order(const TSpriteEngine& Engine)
{
    std::vector<std::string> Tags;
    for (int I = 0; I < Engine.Count(); ++I)
        Tags.push_back(static_cast<TLogSprite*>(Engine.Sprites(I))->FTag);
    return Tags;
}

// A sprite whose Move runs a given action (once), then logs like the others.
class TActionSprite : public TLogSprite
{
public:
    using TLogSprite::TLogSprite;
    void Move(float MoveCount) override
    {
        TLogSprite::Move(MoveCount);
        if (FAction)
            std::exchange(FAction, nullptr)();
    }
    std::function<void()> FAction;
};

TEST_F(TSpriteEngineTest, NewestOfEqualZGoesFirstAndSetZReinsertsBeforeEqualZ)
{
    auto* A = new TLogSprite(Engine, "A", Log);
    auto* B = new TLogSprite(Engine, "B", Log);
    auto* C = new TLogSprite(Engine, "C", Log);
    EXPECT_EQ(Order(Engine), (std::vector<std::string>{"C", "B", "A"}));

    C->SetZ(0); // same value: keeps its place
    EXPECT_EQ(Order(Engine), (std::vector<std::string>{"C", "B", "A"}));

    A->SetZ(5);
    B->SetZ(-3);
    EXPECT_EQ(Order(Engine), (std::vector<std::string>{"B", "C", "A"}));

    auto* D = new TLogSprite(Engine, "D", Log);
    D->SetZ(5); // goes before A, which already has Z 5
    EXPECT_EQ(Order(Engine), (std::vector<std::string>{"B", "C", "D", "A"}));
    C->SetZ(7);
    EXPECT_EQ(Order(Engine), (std::vector<std::string>{"B", "D", "A", "C"}));

    EXPECT_EQ(Engine.Sprites(-1), nullptr);
    EXPECT_EQ(Engine.Sprites(Engine.Count()), nullptr);
}

TEST_F(TSpriteEngineTest, DeadSpritesStayUntilFreeDeadWhichFreesTheLastMarkedFirst)
{
    auto* A = new TLogSprite(Engine, "A", Log);
    auto* B = new TLogSprite(Engine, "B", Log);
    auto* C = new TLogSprite(Engine, "C", Log);
    B->SetImage(MakeOpaque("b", 8, 8));
    A->Dead();
    B->Dead();
    B->Dead();
    ASSERT_EQ(Engine.DeadList().size(), 2u);
    EXPECT_TRUE(B->IsDead());

    // Still moved and drawn in the frame in which it was marked.
    Engine.Move(0.0f);
    EXPECT_EQ(Log, (std::vector<std::string>{"move C", "move B", "move A"}));
    Engine.Draw();
    EXPECT_EQ(Device.FQuads, 1);

    Log.clear();
    Engine.FreeDead();
    EXPECT_EQ(Log, (std::vector<std::string>{"free B", "free A"}));
    EXPECT_TRUE(Engine.DeadList().empty());
    ASSERT_EQ(Engine.Count(), 1);
    EXPECT_EQ(Engine.Sprites(0), C);
    Engine.Draw();
    EXPECT_EQ(Device.FQuads, 1);
}

TEST_F(TSpriteEngineTest, FreeingADeadSpriteDirectlyTakesItOutOfBothLists)
{
    auto* A = new TLogSprite(Engine, "A", Log);
    new TLogSprite(Engine, "B", Log);
    A->Dead();
    delete A;
    EXPECT_TRUE(Engine.DeadList().empty());
    EXPECT_EQ(Order(Engine), (std::vector<std::string>{"B"}));
    Engine.FreeDead(); // nothing left to free twice
    EXPECT_EQ(Engine.Count(), 1);
}

TEST_F(TSpriteEngineTest, SpriteMadeDuringMoveJoinsTheNextPassAndNoneMovesTwice)
{
    auto* A = new TActionSprite(Engine, "A", Log);
    (new TLogSprite(Engine, "B", Log))->SetZ(5);
    (new TLogSprite(Engine, "C", Log))->SetZ(10);
    ASSERT_EQ(Order(Engine), (std::vector<std::string>{"A", "B", "C"}));
    A->FAction = [&] { new TLogSprite(Engine, "N", Log); };

    Engine.Move(0.0f);
    // N lands at index 0, before A: the pass still moves A, B and C once each, and N not yet.
    EXPECT_EQ(Log, (std::vector<std::string>{"move A", "move B", "move C"}));

    Log.clear();
    Engine.Move(0.0f);
    EXPECT_EQ(Log, (std::vector<std::string>{"move N", "move A", "move B", "move C"}));
}

TEST_F(TSpriteEngineTest, SpriteDeletedDuringMoveIsSkipped)
{
    auto* A = new TActionSprite(Engine, "A", Log);
    auto* C = new TLogSprite(Engine, "C", Log);
    new TLogSprite(Engine, "B", Log);
    C->SetZ(10);
    A->SetZ(-1);
    A->FAction = [&] { delete C; };
    Engine.Move(0.0f);
    EXPECT_EQ(Log, (std::vector<std::string>{"move A", "free C", "move B"}));
}

TEST_F(TSpriteEngineTest, SpriteThatChangesItsZDuringMoveMovesOnceThatPass)
{
    auto* A = new TActionSprite(Engine, "A", Log);
    auto* B = new TLogSprite(Engine, "B", Log);
    B->SetZ(5);
    A->FAction = [&] { B->SetZ(-5); };
    Engine.Move(0.0f);
    EXPECT_EQ(Log, (std::vector<std::string>{"move A", "move B"}));
    EXPECT_EQ(Order(Engine), (std::vector<std::string>{"B", "A"}));
}

TEST_F(TSpriteEngineTest, DestroyingTheEngineFreesFromLastToFirst)
{
    std::vector<std::string> Freed;
    {
        TSpriteEngine Local;
        auto* A = new TLogSprite(Local, "A", Freed);
        auto* B = new TLogSprite(Local, "B", Freed);
        new TLogSprite(Local, "C", Freed);
        A->SetZ(2);
        B->SetZ(1);
        B->Dead();
    }
    EXPECT_EQ(Freed, (std::vector<std::string>{"free A", "free B", "free C"}));
}

} // namespace
} // namespace vm::test
