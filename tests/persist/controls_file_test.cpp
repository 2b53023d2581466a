// Tests of the controls file: round trips, damaged lines falling back per action, conflicts and
// garbage; and of the binding rules the controls page relies on.
#include "persist/controls_file.h"

#include "engine/pad_input.h"
#include "engine/virtual_keys.h"
#include "persist_fixture.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

using test::WriteBytes;

struct TLoaded
{
    TControlBindings Controls;
    std::vector<std::string> Problems;
};

TLoaded Load(const std::string& Path)
{
    TLoaded L;
    L.Controls.Rumble = false; // the reader must start from the defaults, not from what it is given
    L.Controls.SetKeys(acHorn, {'Q'});
    LoadControls(Path, L.Controls, L.Problems);
    return L;
}

TEST(ControlsFile, RoundTripKeepsEveryBindingAndRumbleAndReadsAsText)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Controls.cfg");
    TControlBindings Saved;
    int Conflict = -1;
    ASSERT_EQ(Saved.BindKey(acAccelerate, 'W', Conflict), TBindResult::Bound);
    ASSERT_EQ(Saved.BindKey(acHorn, vkNumpad8, Conflict), TBindResult::Bound);
    ASSERT_EQ(Saved.BindPad(acBrake, pcStickDown, Conflict), TBindResult::Bound);
    Saved.Rumble = false;
    std::string Error;
    ASSERT_TRUE(SaveControls(Path, Saved, Error)) << Error;

    const TLoaded L = Load(Path);
    EXPECT_TRUE(L.Problems.empty()) << L.Problems.front();
    EXPECT_EQ(L.Controls, Saved);

    const std::string Text = test::ReadBytes(Path);
    EXPECT_EQ(Text.rfind("#", 0), 0u);
    for (const char* Line : {"\naccelerate keys W\n", "\nbrake pad lefty+\n", "\nhandbrake keys Space Ctrl\n",
                             "\naccelerate pad righttrigger a\n", "\nleave keys Esc\n", "\nrumble off\n"})
        EXPECT_NE(Text.find(Line), std::string::npos) << Line;

    // A missing file is no problem.
    const TLoaded Missing = Load(Dir.File("none.cfg"));
    EXPECT_EQ(Missing.Controls, TControlBindings());
    EXPECT_TRUE(Missing.Problems.empty());
}

TEST(ControlsFile, ADamagedLineLeavesOnlyThatActionAtItsDefaults)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Controls.cfg");
    WriteBytes(Path, "# mine\r\n"
                     "accelerate keys W\r\n"
                     "brake keys Bogus\r\n" // no such key
                     "left keys A D\r\n"    // fine: two keys
                     "right keys Esc\r\n"   // Esc only leaves
                     "leave keys Q\r\n"     // leave keeps Esc
                     "horn pad a a\r\n"     // named twice
                     "pause pad\r\n"        // nothing given
                     "handbrake pad nosuchbutton\r\n"
                     "jump keys J\r\n"       // no such action
                     "accelerate keys S\r\n" // given twice: the first counts
                     "rumble maybe\r\n");
    const TLoaded L = Load(Path);
    const TControlBindings Defaults;
    EXPECT_EQ(L.Controls.Of(acAccelerate).Keys, std::vector<int>{'W'});
    EXPECT_EQ(L.Controls.Of(acSteerLeft).Keys, (std::vector<int>{'A', 'D'}));
    for (int Action : {acBrake, acSteerRight, acLeave})
        EXPECT_EQ(L.Controls.Of(Action).Keys, Defaults.Of(Action).Keys) << ActionName(Action);
    for (int Action : {acHorn, acPause, acHandBrake})
        EXPECT_EQ(L.Controls.Of(Action).Pad, Defaults.Of(Action).Pad) << ActionName(Action);
    EXPECT_TRUE(L.Controls.Rumble);
    ASSERT_EQ(L.Problems.size(), 9u);
    EXPECT_NE(L.Problems[0].find("line 3"), std::string::npos) << L.Problems[0];
    EXPECT_NE(L.Problems[0].find("Bogus"), std::string::npos) << L.Problems[0];
}

TEST(ControlsFile, AKeyAnotherActionHasLosesToTheEarlierLineOrTheDefault)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Controls.cfg");
    const TControlBindings Defaults;

    // Swapped keys are no conflict; the later of two lines claiming W loses.
    WriteBytes(Path, "accelerate keys Down\nbrake keys Up\nhorn keys W\npause keys W F1\n");
    TLoaded L = Load(Path);
    EXPECT_EQ(L.Controls.Of(acAccelerate).Keys, std::vector<int>{vkDown});
    EXPECT_EQ(L.Controls.Of(acBrake).Keys, std::vector<int>{vkUp});
    EXPECT_EQ(L.Controls.Of(acHorn).Keys, std::vector<int>{'W'});
    EXPECT_EQ(L.Controls.Of(acPause).Keys, Defaults.Of(acPause).Keys);
    ASSERT_EQ(L.Problems.size(), 1u);
    EXPECT_NE(L.Problems[0].find("W is already Horn"), std::string::npos) << L.Problems[0];

    // A line taking what an action keeps by default loses; and a drop that brings a default back
    // can make another line lose: accelerate gets Up back, so brake's Up goes too.
    WriteBytes(Path, "horn pad a\naccelerate pad bogus\nhorn keys W\naccelerate keys W\nbrake keys Up\n");
    L = Load(Path);
    EXPECT_EQ(L.Controls.Of(acHorn).Pad, Defaults.Of(acHorn).Pad);
    EXPECT_EQ(L.Controls.Of(acAccelerate).Pad, Defaults.Of(acAccelerate).Pad);
    EXPECT_EQ(L.Controls.Of(acHorn).Keys, std::vector<int>{'W'});
    EXPECT_EQ(L.Controls.Of(acAccelerate).Keys, Defaults.Of(acAccelerate).Keys);
    EXPECT_EQ(L.Controls.Of(acBrake).Keys, Defaults.Of(acBrake).Keys);
    EXPECT_EQ(L.Problems.size(), 4u);
    for (int A = 0; A < ActionCount; ++A)
        for (int Key : L.Controls.Of(A).Keys)
            EXPECT_EQ(L.Controls.ActionOfKey(Key), A);
    for (int A = 0; A < ActionCount; ++A)
        for (int Control : L.Controls.Of(A).Pad)
            EXPECT_EQ(L.Controls.ActionOfPad(Control), A);
}

TEST(ControlsFile, GarbageGivesTheDefaultsWithOneProblem)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Controls.cfg");
    std::string Garbage;
    for (int I = 0; I < 3000; ++I)
        Garbage += static_cast<char>((I * 37 + 11) % 256);
    for (const std::string& Bytes : {Garbage, std::string(70000, 'x')})
    {
        WriteBytes(Path, Bytes);
        const TLoaded L = Load(Path);
        EXPECT_EQ(L.Controls, TControlBindings());
        ASSERT_EQ(L.Problems.size(), 1u) << Bytes.size();
        EXPECT_NE(L.Problems[0].find("default controls"), std::string::npos) << L.Problems[0];
    }
}

TEST(ControlBindings, BindingRefusesTakenAndFixedKeysAndReplacesTheActionsOwn)
{
    TControlBindings C;
    int Conflict = -1;
    EXPECT_EQ(C.BindKey(acAccelerate, vkLeft, Conflict), TBindResult::Taken);
    EXPECT_EQ(Conflict, acSteerLeft);
    EXPECT_EQ(C.Of(acAccelerate).Keys, std::vector<int>{vkUp});

    EXPECT_EQ(C.BindKey(acHorn, vkEscape, Conflict), TBindResult::Fixed);
    EXPECT_EQ(C.BindKey(acLeave, 'L', Conflict), TBindResult::Fixed);
    EXPECT_EQ(C.BindKey(acHorn, 0x07, Conflict), TBindResult::Fixed); // no key the game names
    EXPECT_EQ(C.BindKey(ActionCount, 'L', Conflict), TBindResult::Fixed);

    // An action's own second key becomes its only one, and the freed key binds elsewhere.
    EXPECT_EQ(C.BindKey(acHandBrake, vkControl, Conflict), TBindResult::Bound);
    EXPECT_EQ(C.Of(acHandBrake).Keys, std::vector<int>{vkControl});
    EXPECT_EQ(C.BindKey(acHorn, vkSpace, Conflict), TBindResult::Bound);
    EXPECT_EQ(C.ActionOfKey(vkSpace), acHorn);
    EXPECT_EQ(C.ActionOfKey('H'), -1);

    EXPECT_EQ(C.BindPad(acHorn, pbA, Conflict), TBindResult::Taken);
    EXPECT_EQ(Conflict, acAccelerate);
    EXPECT_EQ(C.BindPad(acLeave, pbGuide, Conflict), TBindResult::Bound);
    EXPECT_EQ(C.Of(acLeave).Pad, std::vector<int>{pbGuide});
    EXPECT_EQ(C.BindPad(acHorn, PadControlCount, Conflict), TBindResult::Fixed);

    C.Reset();
    EXPECT_EQ(C, TControlBindings());
}

} // namespace
} // namespace vm
