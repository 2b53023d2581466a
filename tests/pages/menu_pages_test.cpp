// The main menu, help, options and exit-question pages driven through a whole game: keys, clicks,
// slide-ins, the options kept or put back, and the files written on the way out.
#include "engine/gui_button.h"
#include "engine/gui_edit.h"
#include "engine/gui_scroll_bar.h"
#include "engine/shell_opener.h"
#include "pages/menu_pages_state.h"
#include "pages/options_screen.h"
#include "persist/progress_file.h"
#include "persist/settings_file.h"
#include "screen_game_fixture.h"
#include "shell/menu_light.h"
#include "shell/shortcut_file.h"

#include <fstream>
#include <vector>

namespace vm::test {
namespace {

class TRecordingShell : public IShellOpener
{
public:
    void OpenUrl(const std::string& Url) override { Urls.push_back(Url); }
    std::vector<std::string> Urls;
};

void WriteText(const std::string& Path, const std::string& Text)
{
    std::ofstream(Path, std::ios::binary) << Text;
}

class MenuPagesTest : public ScreenGameTest
{
protected:
    // Whether "menumusic" plays now, by the last call the audio device got for it.
    bool MenuMusicPlaying() const
    {
        for (auto Call = Sound.MusicCalls.rbegin(); Call != Sound.MusicCalls.rend(); ++Call)
            if (TRecordingAudioDevice::EndsWith(*Call, "1.xm"))
                return Call->rfind("loop ", 0) == 0 || Call->rfind("play ", 0) == 0;
        return false;
    }
    // Leaves whatever page is up and enters Which, as the state machine does.
    void GoTo(int Which)
    {
        Game.LeaveState(StateId());
        Game.EnterState(Which);
    }
    TGuiButton* OptionsToggle(int Top)
    {
        for (int I = 0; I < Game.Pages.Parts.FGuiList->Count(); ++I)
            if (Game.Pages.Parts.FGuiList->Widget(I)->Top == Top &&
                Game.Pages.Parts.FGuiList->Widget(I)->Left == 517)
                return static_cast<TGuiButton*>(Game.Pages.Parts.FGuiList->Widget(I));
        return nullptr;
    }
    TGuiButton* FullScreenToggle() { return OptionsToggle(271); }
    TGuiButton* MusicToggle() { return OptionsToggle(300); }
};

TEST_F(MenuPagesTest, EveryPageClearsTheKeyLatchesOnEntry)
{
    StartAt(ssMainMenu);
    for (int Which : {ssMainMenu, ssHelp, ssOptions, ssExitQuestion})
    {
        Game.LeaveState(StateId());
        Game.State.KeyReleased[vkEscape] = 1;
        Game.State.KeyReleased['A'] = 1;
        Game.EnterState(Which);
        EXPECT_EQ(StateId(), Which);
        for (int Key = 0; Key < 256; ++Key)
            EXPECT_EQ(Game.State.KeyReleased[Key], 0) << "state " << Which << " key " << Key;
        EXPECT_TRUE(Game.FCursor->Visible);
    }
}

TEST_F(MenuPagesTest, EscLeadsFromEachPageWhereItShould)
{
    StartAt(ssMainMenu);
    const long Check2 = Plays("check2");
    Tap(vkEscape);
    RunFrames(1);
    EXPECT_EQ(StateId(), ssExitQuestion);
    EXPECT_EQ(Plays("check2"), Check2 + 1);

    Tap(vkEscape);
    RunFrames(1);
    EXPECT_EQ(StateId(), ssMainMenu);

    for (int Page : {ssHelp, ssOptions})
    {
        GoTo(Page);
        RunFrames(3);
        Tap(vkEscape);
        RunFrames(1);
        EXPECT_EQ(StateId(), ssMainMenu) << "from " << Page;
        EXPECT_EQ(Game.Pages.Parts.FMenuScreen, nullptr);
    }
    EXPECT_EQ(Plays("check2"), Check2 + 4);
}

TEST_F(MenuPagesTest, MainMenuGreetsThePlayerAndZAddsTenPointsOnce)
{
    StartUp();
    Game.State.PlayerName = "Marta";
    Game.State.Score = 40;
    Game.LeaveState(ssLogo);
    Game.EnterState(ssMainMenu);
    EXPECT_EQ(Game.State.RaceNumber, 1);
    RunFrames(1);
    EXPECT_NE(std::find(Text.Texts.begin(), Text.Texts.end(), "Hello, Marta!"), Text.Texts.end());
    EXPECT_EQ(Game.Font1.Face(), "Micra");
    EXPECT_EQ(Game.Font1.Size(), 10);
    EXPECT_EQ(Game.Font3.Size(), 23);

    Tap('Z');
    RunFrames(3);
    EXPECT_EQ(Game.State.Score, 50);
    EXPECT_EQ(StateId(), ssMainMenu);
}

// A score near the limit (an edited progress file) stops at the limit instead of wrapping round
// to a negative score that the progress file would then keep.
TEST_F(MenuPagesTest, ZStopsTheScoreAtItsLimitAndTheProgressFileKeepsIt)
{
    StartUp();
    Game.State.Score = INT32_MAX - 5;
    Game.LeaveState(ssLogo);
    Game.EnterState(ssMainMenu);
    RunFrames(1);
    Tap('Z');
    RunFrames(1);
    EXPECT_EQ(Game.State.Score, INT32_MAX);
    Tap('Z');
    RunFrames(1);
    EXPECT_EQ(Game.State.Score, INT32_MAX);

    ASSERT_TRUE(Game.SaveFiles());
    std::int32_t Read = 0;
    TCatalogues Catalogues;
    std::vector<std::string> Problems;
    LoadProgress("Configdat.cfg", Read, Catalogues, Problems);
    EXPECT_TRUE(Problems.empty());
    EXPECT_EQ(Read, INT32_MAX);
}

TEST_F(MenuPagesTest, MainMenuShowsTheLightsAndHidesThemWhenLeft)
{
    StartUp();
    Game.LeaveState(ssLogo);
    Game.CreateMenuLights();
    for (TLight* Light : Game.Pages.Parts.FMenuLights)
        Light->Visible = false;
    Game.EnterState(ssMainMenu);
    for (TLight* Light : Game.Pages.Parts.FMenuLights)
        EXPECT_TRUE(Light->Visible);
    GoTo(ssHelp);
    for (TLight* Light : Game.Pages.Parts.FMenuLights)
        EXPECT_FALSE(Light->Visible);

    // Without lights (a run freed them) the menu still comes up.
    Game.FreeMenuLights();
    GoTo(ssMainMenu);
    RunFrames(2);
    EXPECT_EQ(StateId(), ssMainMenu);
}

TEST_F(MenuPagesTest, EachMenuButtonLeadsToItsPage)
{
    StartAt(ssMainMenu);
    const struct
    {
        const char* Name;
        int Next;
    } Routes[] = {{"b_stgame", ssChooseTrack}, {"b_opt", ssOptions},       {"b_hiscr", ssHighScores},
                  {"b_help", ssHelp},          {"b_exit", ssExitQuestion}, {"b_presshere", ssChooseProfile}};
    for (const auto& Route : Routes)
    {
        if (StateId() != ssMainMenu)
            GoTo(ssMainMenu);
        RunFrames(1);
        const long Checks = Plays("check");
        Click(Button(Route.Name));
        EXPECT_EQ(StateId(), Route.Next) << Route.Name;
        EXPECT_EQ(Plays("check"), Checks + 1) << Route.Name;
    }
}

TEST_F(MenuPagesTest, LinkButtonsOpenTheShortcutsOfTheWorkingFolder)
{
    StartAt(ssMainMenu);
    RunFrames(1);
    // Without a browser opener nothing happens, and nothing breaks.
    WriteText("moregames.url", "[InternetShortcut]\r\nURL=https://example.org/more\r\n");
    Click(Button("b_visit"));
    EXPECT_EQ(StateId(), ssMainMenu);

    TRecordingShell Shell;
    Game.Shell = &Shell;
    const long Checks = Plays("check");
    Click(Button("b_visit"));
    Click(Button("b_logo")); // website.url is missing
    EXPECT_EQ(Shell.Urls, std::vector<std::string>{"https://example.org/more"});
    EXPECT_EQ(Plays("check"), Checks + 2);

    WriteText("website.url", "[InternetShortcut]\nurl = http://example.org/ \n");
    Click(Button("b_logo"));
    EXPECT_EQ(Shell.Urls.back(), "http://example.org/");
    EXPECT_EQ(StateId(), ssMainMenu);
    Game.Shell = nullptr;
}

TEST(ShortcutFile, TakesOnlyAWebAddressFromTheUrlLine)
{
    TTempDir Dir;
    const std::string Path = Dir.File("a.url");
    EXPECT_EQ(ShortcutUrl(Path), "");
    WriteText(Path, "[InternetShortcut]\nIconIndex=0\n");
    EXPECT_EQ(ShortcutUrl(Path), "");
    WriteText(Path, "[InternetShortcut]\nURL=file:///bin/sh\n");
    EXPECT_EQ(ShortcutUrl(Path), "");
    WriteText(Path, "URL=https://example.org/a b\n");
    EXPECT_EQ(ShortcutUrl(Path), "");
    WriteText(Path, "[InternetShortcut]\r\nURL=HTTPS://Example.org/x?y=1\r\n");
    EXPECT_EQ(ShortcutUrl(Path), "HTTPS://Example.org/x?y=1");
}

TEST_F(MenuPagesTest, HelpButtonsRiseToTheirRowAndThePagesStopAtTheEnds)
{
    StartAt(ssHelp);
    ASSERT_NE(Game.Pages.Parts.FMenuScreen, nullptr);
    EXPECT_EQ(Game.Pages.Parts.FMenuScreen->Image(), Game.MenuImageList.Find("scr_help"));
    RunFrames(1);
    EXPECT_EQ(Button("b_back")->Top, 630);
    EXPECT_EQ(Button("b_prev")->Top, 750);
    RunFrames(25);
    for (const char* Name : {"b_back", "b_next", "b_prev"})
        EXPECT_EQ(Button(Name)->Top, 420) << Name;
    RunFrames(5);
    EXPECT_EQ(Button("b_prev")->Top, 420);

    const long Checks = Plays("check");
    Click(Button("b_prev")); // already on the first page
    EXPECT_EQ(MenuPages(Game).FHelpPage, 1);
    EXPECT_EQ(Plays("check"), Checks + 1);
    for (int I = 0; I < 4; ++I)
        Click(Button("b_next"));
    EXPECT_EQ(MenuPages(Game).FHelpPage, 4);
    EXPECT_EQ(Game.Pages.Parts.FMenuScreen->Image(), Game.MenuImageList.Find("scr_help4"));
    EXPECT_EQ(Plays("check"), Checks + 5);
    Click(Button("b_prev"));
    EXPECT_EQ(Game.Pages.Parts.FMenuScreen->Image(), Game.MenuImageList.Find("scr_help3"));

    Click(Button("b_back"));
    EXPECT_EQ(StateId(), ssMainMenu);
    // Coming back starts on the first page again.
    GoTo(ssHelp);
    EXPECT_EQ(MenuPages(Game).FHelpPage, 1);
    EXPECT_EQ(Game.Pages.Parts.FMenuScreen->Image(), Game.MenuImageList.Find("scr_help"));
}

TEST_F(MenuPagesTest, VolumeArrowsStayWithinZeroToFiveAndSetTheSoundVolumes)
{
    StartUp();
    Game.State.VolumeLevel = 1;
    Game.LeaveState(ssLogo);
    Game.EnterState(ssOptions);
    RunFrames(1);
    const long Checks = Plays("check");
    for (int I = 0; I < 3; ++I)
        Click(Button("b_menuleft"));
    EXPECT_EQ(Game.State.VolumeLevel, 0);
    EXPECT_EQ(MenuPages(Game).FBar->Position, 0);
    RunFrames(1);
    for (const TSoundListItem& Item : Game.Sound3D.SoundList)
        EXPECT_EQ(Item.Volume, 75) << Item.Name;

    for (int I = 0; I < 7; ++I)
        Click(Button("b_menuright"));
    EXPECT_EQ(Game.State.VolumeLevel, 5);
    EXPECT_EQ(MenuPages(Game).FBar->Position, 5);
    EXPECT_EQ(Plays("check"), Checks + 10); // every click sounds, also at the ends
    RunFrames(1);
    for (const TSoundListItem& Item : Game.Sound3D.SoundList)
        EXPECT_EQ(Item.Volume, 100) << Item.Name;

    // The bar itself moves the level too.
    MenuPages(Game).FBar->Position = 2;
    RunFrames(1);
    EXPECT_EQ(Game.State.VolumeLevel, 2);
    EXPECT_EQ(Game.Sound3D.SoundList.front().Volume, 85);
}

TEST_F(MenuPagesTest, CancelAfterTogglingMusicBringsBackTheMusicOfEntry)
{
    StartAt(ssOptions);
    RunFrames(1);
    ASSERT_TRUE(Game.State.MusicOn);
    ASSERT_TRUE(MenuMusicPlaying());
    ASSERT_EQ(MusicToggle()->Name, "b_on");
    Click(MusicToggle());
    EXPECT_FALSE(Game.State.MusicOn);
    EXPECT_FALSE(MenuMusicPlaying());
    EXPECT_EQ(MusicToggle()->Name, "b_off");
    Click(Button("b_menuright"));
    Click(Button("b_cancel"));
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_TRUE(Game.State.MusicOn);
    EXPECT_TRUE(MenuMusicPlaying());
    EXPECT_EQ(Game.State.VolumeLevel, 0);

    // Entered with the music off, cancel after switching it on stops it again.
    Game.State.MusicOn = false;
    Game.Sound3D.StopMod("menumusic");
    GoTo(ssOptions);
    EXPECT_EQ(MusicToggle()->Name, "b_off");
    Click(MusicToggle());
    EXPECT_TRUE(MenuMusicPlaying());
    Click(Button("b_cancel"));
    EXPECT_FALSE(Game.State.MusicOn);
    EXPECT_FALSE(MenuMusicPlaying());
}

TEST_F(MenuPagesTest, ApplyKeepsTheNewValuesAndWritesThemToTheSettingsFile)
{
    StartAt(ssOptions);
    RunFrames(1);
    Click(FullScreenToggle());
    Click(MusicToggle());
    Click(Button("b_menuright"));
    Click(Button("b_menuright"));
    Click(Button("Edit"));
    Game.TextInput("Racer");
    RunFrames(1);
    Click(Button("b_apply"));
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_FALSE(Game.State.FullScreenOn);
    EXPECT_FALSE(Game.State.FullScreenApplied);
    EXPECT_FALSE(Game.Screen.FullScreen);
    EXPECT_FALSE(Game.State.MusicOn);
    EXPECT_EQ(Game.State.VolumeLevel, 2);
    EXPECT_EQ(Game.State.OnlineName, "Racer");

    TGameState Read;
    THighScoreTable Scores;
    TProfiles Profiles;
    std::vector<std::string> Problems;
    LoadSettings("Config.cfg", Read, Scores, Profiles, Problems);
    EXPECT_TRUE(Problems.empty());
    EXPECT_FALSE(Read.FullScreenOn);
    EXPECT_FALSE(Read.MusicOn);
    EXPECT_EQ(Read.VolumeLevel, 2);
    EXPECT_EQ(Read.OnlineName, "Racer");

    // The page shows what was applied, and a later cancel goes back to it.
    GoTo(ssOptions);
    EXPECT_EQ(MenuPages(Game).FEdit->Text, "Racer");
    EXPECT_EQ(MenuPages(Game).FBar->Position, 2);
    EXPECT_EQ(FullScreenToggle()->Name, "b_off");
    Click(FullScreenToggle());
    Click(Button("b_cancel"));
    EXPECT_FALSE(Game.State.FullScreenOn);
}

TEST_F(MenuPagesTest, EscPutsBackTheValuesOfEntryAndSavesThoseNotTheCancelledOnes)
{
    StartUp();
    Game.State.OnlineName = "Old";
    Game.LeaveState(ssLogo);
    Game.EnterState(ssOptions);
    RunFrames(1);
    Click(FullScreenToggle());
    Click(Button("b_menuright"));
    Click(Button("Edit"));
    Game.TextInput("New");
    RunFrames(1);
    Tap(vkEscape);
    RunFrames(1);
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_TRUE(Game.State.FullScreenOn);
    EXPECT_EQ(Game.State.VolumeLevel, 0);
    EXPECT_EQ(Game.State.OnlineName, "Old");
    EXPECT_EQ(Game.Sound3D.SoundList.front().Volume, 75);

    TGameState Read;
    THighScoreTable Scores;
    TProfiles Profiles;
    std::vector<std::string> Problems;
    LoadSettings("Config.cfg", Read, Scores, Profiles, Problems);
    EXPECT_TRUE(Read.FullScreenOn);
    EXPECT_EQ(Read.VolumeLevel, 0);
    EXPECT_EQ(Read.OnlineName, "Old");
}

TEST_F(MenuPagesTest, OnlineNameEditHoldsTwelveCharactersAndBackspaceRemovesOne)
{
    StartUp();
    Game.State.OnlineName = "Ann%%";
    Game.LeaveState(ssLogo);
    Game.EnterState(ssOptions);
    TGuiEdit* Edit = MenuPages(Game).FEdit;
    EXPECT_EQ(Edit->Text, "Ann");
    EXPECT_FALSE(MenuPages(Game).FEditActive);
    Click(Button("Edit"));
    EXPECT_TRUE(MenuPages(Game).FEditActive);
    Game.TextInput("abcdefghijklmnop");
    RunFrames(1);
    EXPECT_EQ(Edit->Text, "Annabcdefghi");

    Tap(vkBack);
    RunFrames(2);
    EXPECT_EQ(Edit->Text, "Annabcdefgh");

    // Characters the file or the score text could not keep are refused.
    Tap(vkBack);
    Game.TextInput("%|");
    RunFrames(1);
    EXPECT_EQ(Edit->Text, "Annabcdefg");
    // The caret blinks while the edit is active.
    bool Shown = false, Hidden = false;
    for (int I = 0; I < 70; ++I)
    {
        RunFrames(1);
        (Edit->CaretText.empty() ? Hidden : Shown) = true;
    }
    EXPECT_TRUE(Shown && Hidden);

    Click(Button("b_apply"));
    EXPECT_EQ(Game.State.OnlineName, "Annabcdefg");
}

// An online name an older game stored against today's rule stays as it was until the player
// types another; the edit shows the part of it the rule keeps.
TEST_F(MenuPagesTest, AnOldOnlineNameThatBreaksTheRuleIsKeptUntilThePlayerTypesAnother)
{
    const std::string Old = "on|line\x01 and far too long";
    {
        TGameState State;
        State.OnlineName = Old;
        THighScoreTable Scores;
        TProfiles Profiles;
        std::string Error;
        ASSERT_TRUE(SaveSettings("Config.cfg", State, Scores, Profiles, Error)) << Error;
    }
    const auto Stored = [] {
        TGameState Read;
        THighScoreTable Scores;
        TProfiles Profiles;
        std::vector<std::string> Problems;
        LoadSettings("Config.cfg", Read, Scores, Profiles, Problems);
        return Read.OnlineName;
    };
    StartUp();
    ASSERT_EQ(Game.State.OnlineName, Old);
    GoTo(ssOptions);
    EXPECT_EQ(MenuPages(Game).FEdit->Text, "online and f");
    Click(Button("b_apply"));
    EXPECT_EQ(Game.State.OnlineName, Old);
    GoTo(ssOptions);
    Click(Button("b_cancel"));
    EXPECT_EQ(Game.State.OnlineName, Old);
    GoTo(ssOptions);
    Tap(vkEscape);
    RunFrames(1);
    ASSERT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Game.State.OnlineName, Old);
    EXPECT_EQ(Stored(), Old);

    GoTo(ssOptions);
    TGuiEdit* Edit = MenuPages(Game).FEdit;
    Click(Button("Edit"));
    Tap(vkBack);
    RunFrames(1);
    Game.TextInput("|!");
    RunFrames(1);
    EXPECT_EQ(Edit->Text, "online and !");
    Click(Button("b_apply"));
    EXPECT_EQ(Game.State.OnlineName, "online and !");
    EXPECT_EQ(Stored(), "online and !");
}

TEST_F(MenuPagesTest, TheEditFontIsBuiltOnceFromTheSystemFaceAndTinted)
{
    StartUp();
    BuildEditFont(Game, &Text);
    EXPECT_EQ(Game.BitmapFont.FontName, "MicrogrammaDBolExt");
    ASSERT_FALSE(Text.Rendered.empty());
    EXPECT_EQ(Text.Rendered.back().Face, "MicrogrammaDBolExt");
    EXPECT_EQ(Text.Rendered.back().PointSize, 12);
    EXPECT_TRUE(Text.Rendered.back().Bold);
    const int Renders = Text.Renders;

    Game.LeaveState(ssLogo);
    Game.EnterState(ssOptions);
    BuildEditFont(Game, &Text);
    EXPECT_EQ(Text.Renders, Renders);
    const TGuiEdit* Edit = MenuPages(Game).FEdit;
    EXPECT_EQ(Edit->FontRed, 250);
    EXPECT_EQ(Edit->FontGreen, 250);
    EXPECT_EQ(Edit->FontBlue, 250);
    EXPECT_EQ(Edit->Font, &Game.BitmapFont);
}

TEST_F(MenuPagesTest, ExitQuestionSlidesInAndKeepsItsButtonsOnTheirRow)
{
    StartAt(ssExitQuestion);
    ASSERT_NE(Game.Pages.Parts.FMenuScreen, nullptr);
    EXPECT_EQ(Game.Pages.Parts.FMenuScreen->X(), -620);
    RunFrames(1);
    EXPECT_EQ(Game.Pages.Parts.FMenuScreen->X(), -580);
    EXPECT_EQ(Button("b_yes")->Left, -482);
    RunFrames(19);
    EXPECT_EQ(Game.Pages.Parts.FMenuScreen->X(), 180);
    EXPECT_EQ(Game.Pages.Parts.FMenuScreen->Y(), 184);
    EXPECT_EQ(Button("b_yes")->Left, 278);
    EXPECT_EQ(Button("b_no")->Left, 422);
    Button("b_yes")->Top = 10;
    Button("b_no")->Top = 500;
    RunFrames(10);
    EXPECT_EQ(Game.Pages.Parts.FMenuScreen->X(), 180);
    EXPECT_EQ(Button("b_yes")->Left, 278);
    EXPECT_EQ(Button("b_yes")->Top, 404);
    EXPECT_EQ(Button("b_no")->Top, 404);

    const long Checks = Plays("check");
    Click(Button("b_no"));
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Plays("check"), Checks + 1);
    EXPECT_FALSE(std::filesystem::exists("Config.cfg"));
    EXPECT_FALSE(Game.Terminated());
}

TEST_F(MenuPagesTest, YesSavesBothFilesAndEndsTheProgram)
{
    StartAt(ssExitQuestion);
    Game.State.Score = 1230;
    RunFrames(20);
    Click(Button("b_yes"));
    EXPECT_EQ(StateId(), ssExit);
    EXPECT_TRUE(Game.Terminated());
    EXPECT_TRUE(Game.Screen.ShowMouseCursor);
    EXPECT_EQ(Game.Pages.Parts.FGuiList, nullptr);
    EXPECT_TRUE(std::filesystem::exists("Config.cfg"));
    EXPECT_TRUE(std::filesystem::exists("Configdat.cfg"));
}

TEST_F(MenuPagesTest, EnterOnTheExitQuestionAnswersYes)
{
    StartAt(ssExitQuestion);
    RunFrames(3);
    Tap(vkReturn);
    RunFrames(1);
    EXPECT_EQ(StateId(), ssExit);
    EXPECT_TRUE(Game.Terminated());
    EXPECT_TRUE(std::filesystem::exists("Configdat.cfg"));
}

} // namespace
} // namespace vm::test
