// The page table: a game dispatches through the rows it is given, hands over with its cue, and
// keeps one state object of each kind for itself.
#include "engine/clock.h"
#include "engine/null_render_device.h"
#include "shell/game.h"
#include "support/recording_audio_device.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vm {
namespace {

// What the test pages did, in order.
std::vector<std::string> Calls;

constexpr int PageA = 40;
constexpr int PageB = 41;

TPageRows TestRows()
{
    TPageRows Rows{};
    Rows[PageA] = {[](TGame& Game) {
                       Calls.push_back("enter A");
                       Game.State.ScreenState = PageA;
                   },
                   [](TGame&) { Calls.push_back("frame A"); }, [](TGame&) { Calls.push_back("leave A"); }};
    // B has no leave routine.
    Rows[PageB] = {[](TGame& Game) {
                       Calls.push_back("enter B");
                       Game.State.ScreenState = PageB;
                   },
                   [](TGame&) { Calls.push_back("frame B"); }, nullptr};
    return Rows;
}

struct TKeptCounter
{
    int Value = 0;
};

class PageTableTest : public ::testing::Test
{
protected:
    PageTableTest() { Calls.clear(); }
    long Plays(TGame& Game, const std::string& Name)
    {
        const TSoundListItem* Item = Game.Sound3D.FindSound(Name);
        return Item == nullptr ? -1 : Sound.PlayCount("/" + Item->FileName);
    }

    const TPageRows Rows = TestRows();
    test::TTempDir Data;
    TNullRenderDevice Device;
    TManualClock Clock{90000};
    test::TRecordingAudioDevice Sound;
    test::TMessageRecorder Messages;
};

TEST_F(PageTableTest, StatesRunTheirRowsAndAStateWithoutOneDrawsBlack)
{
    TGame Game(TGamePlatform{Device, Clock, Sound, Messages, Data.Path().string()}, Rows);
    Game.EnterState(PageA | 0x80); // only the low seven bits count
    Game.StateFrame(PageA);
    Game.LeaveState(PageB); // no leave routine: nothing happens
    EXPECT_EQ(Calls, (std::vector<std::string>{"enter A", "frame A"}));

    // A state with no row is stored, and its frames count ticks without calling any page.
    Game.EnterState(PageB + 2);
    EXPECT_EQ(Game.State.ScreenState, PageB + 2);
    Game.State.StateTicks = 0;
    Game.StateFrame(PageB + 2);
    EXPECT_EQ(Game.State.StateTicks, 1);
    EXPECT_EQ(Calls.size(), 2u);
}

TEST_F(PageTableTest, AHandOverLeavesThenEntersWithItsCueOnlyWhenAsked)
{
    TGame Game(TGamePlatform{Device, Clock, Sound, Messages, Data.Path().string()}, Rows);
    Game.Sound3D.InitAudioPaths();
    Game.EnterState(PageA);
    Game.ChangeState(PageA, PageB);
    EXPECT_EQ(Calls, (std::vector<std::string>{"enter A", "leave A", "enter B"}));
    EXPECT_EQ(Game.State.ScreenState, PageB);

    // With sound off the usual cue stays quiet, the one that always sounds does not.
    Game.State.SoundOn = false;
    const long Before = Plays(Game, "check");
    Game.ChangeState(PageB, PageA, "check");
    EXPECT_EQ(Plays(Game, "check"), Before);
    Game.ChangeState(PageA, PageB, "check", TCueWhen::Always);
    EXPECT_EQ(Plays(Game, "check"), Before + 1);
    Game.State.SoundOn = true;
    Game.ChangeState(PageB, PageA, "check");
    EXPECT_EQ(Plays(Game, "check"), Before + 2);
}

TEST_F(PageTableTest, EachGameKeepsItsOwnPageStates)
{
    TGame First(TGamePlatform{Device, Clock, Sound, Messages, Data.Path().string()}, Rows);
    First.Pages.Keep<TKeptCounter>().Value = 7;
    EXPECT_EQ(First.Pages.Keep<TKeptCounter>().Value, 7);
    const TGame& Seen = First;
    EXPECT_EQ(&Seen.Pages.Keep<TKeptCounter>(), &First.Pages.Keep<TKeptCounter>());

    // A second game starts from a fresh state, however the first left it.
    TGame Second(TGamePlatform{Device, Clock, Sound, Messages, Data.Path().string()}, Rows);
    EXPECT_EQ(Second.Pages.Keep<TKeptCounter>().Value, 0);
}

} // namespace
} // namespace vm
