// The add-player page, the profile list with its add and delete pages, and the high-score pages:
// typing names, moving through the list, what each key and button does, and what is saved.
#include "common/player_name.h"
#include "engine/gui_edit.h"
#include "engine/shell_opener.h"
#include "pages/profile_pages_state.h"
#include "persist/settings_file.h"
#include "screen_game_fixture.h"

#include <algorithm>
#include <vector>

namespace vm::test {
namespace {

class ProfilePagesTest : public ScreenGameTest
{
protected:
    // A key tapped and one frame run: the frame that reads it.
    void Press(int Key)
    {
        Tap(Key);
        RunFrames(1);
    }
    void Type(const std::string& Text)
    {
        Game.TextInput(Text);
        RunFrames(1);
    }
    std::string EditText() const
    {
        return ProfilePages(Game).FEdit != nullptr ? ProfilePages(Game).FEdit->Text
                                                   : std::string("<no edit>");
    }
    bool Drew(const std::string& Text) const
    {
        return std::find(this->Text.Texts.begin(), this->Text.Texts.end(), Text) != this->Text.Texts.end();
    }
    // Profiles made as the settings file would bring them; the last one is current.
    void MakeProfiles(std::initializer_list<const char*> Names)
    {
        for (const char* Name : Names)
            ASSERT_TRUE(Game.Profiles.AddProfile(Name, Game.State.PlayerName));
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> Result;
        for (int I = 0; I < Game.Profiles.FProfileCount; ++I)
            Result.push_back(Game.Profiles.FProfiles[static_cast<std::size_t>(I)].Name);
        return Result;
    }
    // The settings file as the next start would read it.
    TProfiles SavedProfiles()
    {
        TGameState State;
        THighScoreTable Scores;
        TProfiles Profiles;
        std::vector<std::string> Problems;
        LoadSettings("Config.cfg", State, Scores, Profiles, Problems);
        EXPECT_TRUE(Problems.empty());
        SavedPlayerName = State.PlayerName;
        return Profiles;
    }
    std::string SavedPlayerName;
};

class TRecordingShell : public IShellOpener
{
public:
    void OpenUrl(const std::string& Url) override { Opened.push_back(Url); }
    std::vector<std::string> Opened;
};

// --- The add-player page (first start) ---

TEST_F(ProfilePagesTest, FirstNameIsTrimmedStoredAndSavedAndTheMenuFollows)
{
    StartAt(ssAddPlayer);
    RunFrames(2);
    Type("  Ann Lee  ");
    EXPECT_EQ(EditText(), "  Ann Lee  ");
    Press(vkReturn);

    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Plays("check"), 1);
    ASSERT_EQ(Names(), std::vector<std::string>{"Ann Lee"});
    EXPECT_EQ(Game.Profiles.FCurrentProfile, 0);
    // The greeting keeps the name as typed until another profile is chosen.
    EXPECT_EQ(Game.State.PlayerName, "  Ann Lee  ");
    EXPECT_EQ(Button("e_name"), nullptr);
    EXPECT_EQ(ProfilePages(Game).FEdit, nullptr);

    const TProfiles Saved = SavedProfiles();
    EXPECT_EQ(Saved.FProfileCount, 1);
    EXPECT_EQ(Saved.FProfiles[0].Name, "Ann Lee");
    EXPECT_EQ(SavedPlayerName, "  Ann Lee  ");
}

TEST_F(ProfilePagesTest, FirstNameRefusesEmptyAndBlankAndAStaleEnterDoesNotSubmitLater)
{
    StartAt(ssAddPlayer);
    RunFrames(100); // slid in
    Press(vkReturn);
    EXPECT_EQ(StateId(), ssAddPlayer);
    Click(Button("b_add"));
    EXPECT_EQ(StateId(), ssAddPlayer);

    Type("   ");
    Press(vkReturn);
    Click(Button("b_add"));
    EXPECT_EQ(StateId(), ssAddPlayer);
    EXPECT_EQ(Game.Profiles.FProfileCount, 0);
    EXPECT_FALSE(std::filesystem::exists("Config.cfg"));

    // Enter was taken by the refused frames: typing a name afterwards waits for the next Enter.
    Type("\b");
    Press(vkBack);
    Press(vkBack);
    Press(vkBack);
    Type("Bo");
    RunFrames(5);
    EXPECT_EQ(StateId(), ssAddPlayer);
    Click(Button("b_add"));
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Names(), std::vector<std::string>{"Bo"});
}

TEST_F(ProfilePagesTest, NameEditTakesTwelveCharactersAndBackspaceRemovesOne)
{
    StartAt(ssAddPlayer);
    RunFrames(1);
    Type("ABCDEFGHIJKLMNOP");
    EXPECT_EQ(EditText(), "ABCDEFGHIJKL");
    Press(vkBack);
    RunFrames(3);
    EXPECT_EQ(EditText(), "ABCDEFGHIJK");
    Type("xy");
    EXPECT_EQ(EditText(), "ABCDEFGHIJKx");
}

// "%" pads the settings file (a name ending in it came back shorter, "%%%" as nothing), "|"
// separates the online score text's fields, control characters belong in no name: typing them
// does nothing, so a stored name is always the name the player sees.
TEST_F(ProfilePagesTest, NameEditsRefuseWhatTheFileOrTheOnlineTableCannotKeep)
{
    StartAt(ssAddPlayer);
    RunFrames(1);
    Type("%%%");
    EXPECT_EQ(EditText(), "");
    Press(vkReturn);
    EXPECT_EQ(StateId(), ssAddPlayer);
    Type("Ann|Lee%\t\x7F\xC2\x85 2");
    EXPECT_EQ(EditText(), "AnnLee 2");
    Press(vkReturn);
    ASSERT_EQ(StateId(), ssMainMenu);
    RunFrames(1);
    EXPECT_TRUE(Drew("Hello, AnnLee 2!"));
    EXPECT_EQ(SavedProfiles().FProfiles[0].Name, "AnnLee 2");
    EXPECT_EQ(SavedPlayerName, "AnnLee 2");

    // The add-profile page's edit is the same.
    Game.LeaveState(ssMainMenu);
    Game.EnterState(ssAddProfile);
    RunFrames(1);
    Type("|%Bo%|");
    EXPECT_EQ(EditText(), "Bo");
    Press(vkReturn);
    ASSERT_EQ(StateId(), ssChooseProfile);
    EXPECT_EQ(Names(), (std::vector<std::string>{"AnnLee 2", "Bo"}));
}

// The online table keeps twelve characters, whatever their bytes: the edit takes as many, and
// the name the file gives back is the one the table takes.
TEST_F(ProfilePagesTest, NamesTakeTheOnlineTablesTwelveCharactersAndComeBackWhole)
{
    StartAt(ssAddPlayer);
    RunFrames(1);
    Type("Ёжик В Тумане");
    EXPECT_EQ(EditText(), "Ёжик В Туман"); // twelve characters in 21 bytes; blanks count too
    Press(vkBack);
    Type("ЪЫ");
    EXPECT_EQ(EditText(), "Ёжик В ТумаЪ");
    Press(vkReturn);
    ASSERT_EQ(StateId(), ssMainMenu);
    const std::string Name = SavedProfiles().FProfiles[0].Name;
    EXPECT_EQ(Name, "Ёжик В ТумаЪ");
    EXPECT_EQ(CleanName(Name, 1, MaxNameCharacters), Name);
}

TEST_F(ProfilePagesTest, AddPlayerPageSlidesInAndItsCaretBlinks)
{
    StartAt(ssAddPlayer);
    ASSERT_NE(Game.Pages.Parts.FMenuScreen, nullptr);
    EXPECT_FLOAT_EQ(Game.Pages.Parts.FMenuScreen->X(), -620);
    RunFrames(51);
    EXPECT_FLOAT_EQ(Game.Pages.Parts.FMenuScreen->X(), -620) << "still waiting";
    std::vector<std::string> Carets;
    for (int I = 0; I < 80; ++I)
    {
        RunFrames(1);
        Carets.push_back(ProfilePages(Game).FEdit->CaretText);
    }
    EXPECT_FLOAT_EQ(Game.Pages.Parts.FMenuScreen->X(), 180);
    EXPECT_EQ(Button("e_name")->Left, 291);
    EXPECT_EQ(Button("b_add")->Left, 480);
    EXPECT_EQ(ProfilePages(Game).FEdit->Top, 324);
    EXPECT_NE(std::count(Carets.begin(), Carets.end(), "_"), 0);
    EXPECT_NE(std::count(Carets.begin(), Carets.end(), ""), 0);
}

// --- The profile list and its add and delete pages ---

TEST_F(ProfilePagesTest, UpAndDownMoveTheHighlightWithinTheList)
{
    StartUp();
    MakeProfiles({"Ann", "Bob", "Cy"});
    Game.LeaveState(ssLogo);
    Game.EnterState(ssChooseProfile);
    RunFrames(1);
    TProfiles& Profiles = Game.Profiles;
    EXPECT_EQ(Profiles.FProfileCursor, 2) << "starts on the current profile";
    Press(vkDown);
    EXPECT_EQ(Profiles.FProfileCursor, 2);
    EXPECT_EQ(Plays("check"), 0) << "no click when it cannot move";
    Press(vkUp);
    Press(vkUp);
    Press(vkUp);
    EXPECT_EQ(Profiles.FProfileCursor, 0);
    EXPECT_EQ(Plays("check"), 2);
    Click(Button("b_up"));
    EXPECT_EQ(Profiles.FProfileCursor, 0);
    Click(Button("b_down"));
    Click(Button("b_down"));
    Click(Button("b_down"));
    EXPECT_EQ(Profiles.FProfileCursor, 2);
    // Moving only highlights; the player stays who they were.
    EXPECT_EQ(Profiles.FCurrentProfile, 2);
    EXPECT_EQ(Game.State.PlayerName, "Cy");
}

TEST_F(ProfilePagesTest, ChoosingKeepsTheListAndBackOrEscMakesThePlayer)
{
    StartUp();
    MakeProfiles({"Ann", "Bob", "Cy"});
    Game.LeaveState(ssLogo);
    Game.EnterState(ssChooseProfile);
    RunFrames(1);
    Press(vkUp);
    Press(vkReturn);
    EXPECT_EQ(StateId(), ssChooseProfile);
    EXPECT_EQ(Game.Profiles.FCurrentProfile, 1);
    EXPECT_EQ(Game.State.PlayerName, "Bob");
    Press(vkUp);
    Click(Button("b_select"));
    EXPECT_EQ(StateId(), ssChooseProfile);
    EXPECT_EQ(Game.State.PlayerName, "Ann");
    RunFrames(1);
    EXPECT_TRUE(Drew("Ann"));
    EXPECT_TRUE(Drew("Cy"));

    Press(vkEscape);
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Game.State.PlayerName, "Ann");
    EXPECT_EQ(ProfilePages(Game).FChooseLine, nullptr);
    EXPECT_EQ(SavedProfiles().FCurrentProfile, 0);

    Game.LeaveState(ssMainMenu);
    Game.EnterState(ssChooseProfile);
    Press(vkDown);
    Press(vkReturn);
    Click(Button("b_back2"));
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Game.State.PlayerName, "Bob");
}

TEST_F(ProfilePagesTest, WithNoProfileOnlyAddWorksAndEscDoesNothing)
{
    StartAt(ssChooseProfile);
    RunFrames(1);
    Press(vkEscape);
    EXPECT_EQ(StateId(), ssChooseProfile);
    for (const char* Name : {"b_up", "b_down", "b_delete", "b_back2", "b_select"})
    {
        ASSERT_NE(Button(Name), nullptr) << Name;
        EXPECT_FALSE(Button(Name)->Visible) << Name;
        EXPECT_FALSE(Button(Name)->Enabled) << Name;
    }
    // A click where the hidden back button lies does nothing.
    Click(Button("b_back2"));
    EXPECT_EQ(StateId(), ssChooseProfile);
    ASSERT_TRUE(Button("b_add")->Visible);
    Click(Button("b_add"));
    EXPECT_EQ(StateId(), ssAddProfile);
}

TEST_F(ProfilePagesTest, AddsUpToTenProfilesAndThenOffersNoAdd)
{
    StartAt(ssChooseProfile);
    RunFrames(1);
    for (int I = 0; I < kMaxProfiles; ++I)
    {
        SCOPED_TRACE(I);
        ASSERT_TRUE(Button("b_add")->Visible);
        Click(Button("b_add"));
        ASSERT_EQ(StateId(), ssAddProfile);
        RunFrames(1);
        Type(" P" + std::to_string(I) + " ");
        Press(vkReturn);
        ASSERT_EQ(StateId(), ssChooseProfile);
        EXPECT_EQ(Game.State.PlayerName, "P" + std::to_string(I));
        RunFrames(1);
    }
    EXPECT_EQ(Game.Profiles.FProfileCount, kMaxProfiles);
    EXPECT_EQ(Game.Profiles.FCurrentProfile, kMaxProfiles - 1);
    EXPECT_FALSE(Button("b_add")->Visible);
    // Even called directly, the add action refuses an eleventh.
    Button("b_add")->OnClick(Button("b_add"), mbLeft);
    EXPECT_EQ(StateId(), ssChooseProfile);
    EXPECT_EQ(SavedProfiles().FProfileCount, kMaxProfiles);
}

TEST_F(ProfilePagesTest, AddProfilePageRefusesBlanksAndEscReturnsWithoutAdding)
{
    StartUp();
    MakeProfiles({"Ann"});
    Game.LeaveState(ssLogo);
    Game.EnterState(ssAddProfile);
    RunFrames(1);
    EXPECT_FALSE(Button("b_add")->Visible) << "nothing typed";
    Type("  ");
    EXPECT_FALSE(Button("b_add")->Visible) << "only blanks";
    Press(vkReturn);
    EXPECT_EQ(StateId(), ssAddProfile);
    Type("Zo");
    EXPECT_TRUE(Button("b_add")->Visible);
    const long Check2 = Plays("check2");
    Press(vkEscape);
    EXPECT_EQ(StateId(), ssChooseProfile);
    EXPECT_EQ(Plays("check2"), Check2 + 1);
    EXPECT_EQ(Names(), std::vector<std::string>{"Ann"});

    // Back again: the edit starts empty and the button adds.
    Click(Button("b_add"));
    ASSERT_EQ(StateId(), ssAddProfile);
    EXPECT_EQ(EditText(), "");
    Type("Zo");
    Click(Button("b_add"));
    EXPECT_EQ(StateId(), ssChooseProfile);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Ann", "Zo"}));
    EXPECT_EQ(Game.Profiles.FProfileCursor, 1) << "the list highlights the new current profile";
}

TEST_F(ProfilePagesTest, DeleteAsksAboutTheHighlightedProfileAndOnlyYesDeletes)
{
    StartUp();
    MakeProfiles({"Ann", "Bob", "Cy"});
    Game.LeaveState(ssLogo);
    Game.EnterState(ssChooseProfile);
    Press(vkUp);
    Press(vkUp);
    Click(Button("b_delete"));
    ASSERT_EQ(StateId(), ssDeleteProfile);
    RunFrames(1);
    EXPECT_TRUE(Drew("Ann"));

    Press(vkEscape);
    EXPECT_EQ(StateId(), ssChooseProfile);
    Press(vkUp);
    Press(vkUp);
    Click(Button("b_delete"));
    Click(Button("b_no"));
    EXPECT_EQ(StateId(), ssChooseProfile);
    EXPECT_EQ(Game.Profiles.FProfileCount, 3);

    Press(vkUp);
    Press(vkUp);
    Click(Button("b_delete"));
    Click(Button("b_yes"));
    EXPECT_EQ(StateId(), ssChooseProfile);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Bob", "Cy"}));
    // Cy was current and stays current in her new place.
    EXPECT_EQ(Game.Profiles.FCurrentProfile, 1);
    EXPECT_EQ(Game.State.PlayerName, "Cy");
    Press(vkEscape);
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(SavedProfiles().FProfileCount, 2);
}

// --- The high-score pages ---

TEST_F(ProfilePagesTest, TableShowsTheTenRowsAndOnlyYesClearsIt)
{
    StartUp();
    ASSERT_TRUE(Game.HighScores.EnterHighScore("Zed", 5000));
    Game.LeaveState(ssLogo);
    Game.EnterState(ssHighScores);
    RunFrames(1);
    for (const char* Shown : {"1", "10", "Zed", "5000", "Anonymous", "1000", "200"})
        EXPECT_TRUE(Drew(Shown)) << Shown;
    EXPECT_FALSE(Drew("100")) << "pushed off the table";

    Click(Button("b_clrhiscr"));
    ASSERT_EQ(StateId(), ssClearHighScores);
    Press(vkEscape);
    EXPECT_EQ(StateId(), ssHighScores);
    Click(Button("b_clrhiscr"));
    Click(Button("b_no"));
    EXPECT_EQ(StateId(), ssHighScores);
    EXPECT_EQ(Game.HighScores.Row(1).Name, "Zed");

    Click(Button("b_clrhiscr"));
    Click(Button("b_yes"));
    EXPECT_EQ(StateId(), ssHighScores);
    EXPECT_EQ(Game.HighScores.Row(1).Name, "Anonymous");
    EXPECT_EQ(Game.HighScores.Row(1).ScoreText, "1000");
    EXPECT_EQ(Game.HighScores.Row(10).ScoreText, "100");
    RunFrames(1);
    EXPECT_TRUE(Drew("100"));

    const long Check2 = Plays("check2");
    Press(vkEscape);
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Plays("check2"), Check2 + 1);
    EXPECT_EQ(Game.Pages.Parts.FMenuScreen, nullptr);
}

TEST_F(ProfilePagesTest, OnlineButtonOpensTheTableOnlyWithABrowser)
{
    StartAt(ssHighScores);
    RunFrames(1);
    Click(Button("b_viewwhiscr")); // no browser: nothing happens
    EXPECT_EQ(StateId(), ssHighScores);

    TRecordingShell Shell;
    Game.Shell = &Shell;
    Game.ScoreUrl = "http://scores.example/vm";
    Click(Button("b_viewwhiscr"));
    ASSERT_EQ(Shell.Opened.size(), 1u);
    EXPECT_EQ(Shell.Opened[0].rfind("http://scores.example/vm", 0), 0u);
    EXPECT_EQ(StateId(), ssHighScores);
    Click(Button("b_back"));
    EXPECT_EQ(StateId(), ssMainMenu);
}

TEST_F(ProfilePagesTest, EveryPageForgetsKeysReleasedBeforeItWasEntered)
{
    StartUp();
    MakeProfiles({"Ann", "Bob"});
    Game.Profiles.FProfileCursor = 1;
    Game.LeaveState(ssLogo);
    int Shown = ssLogo;
    for (int Page :
         {ssAddPlayer, ssAddProfile, ssChooseProfile, ssDeleteProfile, ssHighScores, ssClearHighScores})
    {
        SCOPED_TRACE(Page);
        for (int Key : {vkEscape, vkReturn, vkUp, vkDown, vkBack})
            Game.State.KeyReleased[Key] = 1;
        Game.EnterState(Page);
        Shown = Page;
        RunFrames(3);
        EXPECT_EQ(StateId(), Page);
        EXPECT_EQ(Game.Profiles.FProfileCount, 2);
        EXPECT_EQ(Game.Profiles.FProfileCursor, 1);
        Game.LeaveState(Shown);
    }
}

} // namespace
} // namespace vm::test
