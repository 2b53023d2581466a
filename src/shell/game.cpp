// The game object: components, window events, start-up of the engine parts.
#include "shell/game.h"

#include "engine/clock.h"
#include "engine/game_constants.h"
#include "engine/gui_list.h"
#include "engine/image_list_prefetch.h"
#include "engine/message_box.h"
#include "persist/controls_file.h"
#include "persist/online_scores.h"
#include "persist/progress_file.h"
#include "persist/safe_file.h"
#include "persist/settings_file.h"
#include "shell/cursor.h"
#include "shell/menu_light.h"
#include "shell/shortcut_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <vector>

namespace vm {

namespace {

// One notice for what could not be read from a file: the first problem, how many more, and Then.
void PostReadProblems(TNoticeBoard& Notices, const std::string& Title,
                      const std::vector<std::string>& Problems, const std::string& Then)
{
    if (Problems.empty())
        return;
    const std::string More =
        Problems.size() > 1 ? " (and " + std::to_string(Problems.size() - 1) + " more)" : std::string();
    Notices.Post(Title, Problems.front() + More + ". " + Then);
}

std::string Joined(const std::vector<std::string>& Names)
{
    std::string Text;
    for (const std::string& Name : Names)
        Text += (Text.empty() ? "" : ", ") + Name;
    return Text;
}

std::string FolderOf(const std::string& Path) { return std::filesystem::path(Path).parent_path().string(); }

// Tells the player (and stderr) which files of an older start were moved, and which could not be.
void ReportMovedFiles(const TMoveReport& Report, const std::string& OldFolder, const TUserFiles& Files,
                      TNoticeBoard& Notices)
{
    if (!Report.Moved.empty())
    {
        const std::string Text = "Moved " + Joined(Report.Moved) + " from " + OldFolder +
                                 ". Settings are kept in " + FolderOf(Files.SettingsFile) +
                                 " and progress in " + FolderOf(Files.ProgressFile) + " from now on.";
        std::fprintf(stderr, "velomarch: %s\n", Text.c_str());
        Notices.Post("Your files have a new place", Text);
    }
    for (const std::string& Name : Report.Skipped)
        std::fprintf(stderr, "velomarch: %s/%s was not moved: the per-user folder has one already\n",
                     OldFolder.c_str(), Name.c_str());
    if (!Report.Failed.empty())
    {
        for (const std::string& Line : Report.Failed)
            std::fprintf(stderr, "velomarch: cannot move %s\n", Line.c_str());
        Notices.Post("Your old files could not be moved", "Cannot move " + Joined(Report.Failed) + ".");
    }
}

} // namespace

TGame::TGame(const TGamePlatform& Platform, const TPageRows& PageRows)
    : Messages(Platform.Messages), Clock(Platform.Clock), Screen(Platform.Render, Platform.Messages),
      MenuImageList(&Screen), GameImageList(&Screen), SpriteEngine(&Platform.Messages),
      FrameTimer(Platform.Clock), RaceTimer(Platform.Clock, RaceStepMs),
      Sound3D(Platform.Audio, Platform.Clock, Platform.DataDir), BitmapFont(&Screen),
      Font1(&Screen, Platform.Text), Font2(&Screen, Platform.Text), Font3(&Screen, Platform.Text),
      Font4(&Screen, Platform.Text), Gui(&Screen, &BitmapFont, &GuiClock),
      World(SpriteEngine, GameImageList, MenuImageList, Rng, State, Catalogues), Shell(Platform.Shell),
      ScoreUrl(Platform.ScoreUrl), TextRasterizer(Platform.Text), Pages(PageRows),
      Notices(Screen, Platform.Text), Files(Platform.Files), KeptRuns(Platform.Files.ReplayFolder),
      FScoreService(HighScores, State, Platform.Http, Platform.ScoreUrl), FDataDir(Platform.DataDir),
      FFullScreenAllowed(Platform.FullScreenAllowed), FFullScreenThisStart(Platform.FullScreenThisStart),
      FOldFilesFolder(Platform.OldFilesFolder), FPadRumble(Platform.PadRumble),
      FMenuPictures(Platform.MenuPictures)
{
    Screen.BeforePresent = [this] {
        if (FView != nullptr)
            FView->DrawOverlay();
        Notices.Draw();
    };
    if (KeptRuns.Enabled())
    {
        Recorder.NextPath = [this] { return KeptRuns.NextPath(std::time(nullptr)); };
        Recorder.OnFinished = [this](const std::string&, const TReplayEnd*) { KeptRuns.Prune(); };
    }
    Screen.Width = PictureWidth;
    Screen.Height = PictureHeight;
    Screen.CenterX = PictureWidth / 2;
    Screen.CenterY = PictureHeight / 2;
    Screen.ShowMouseCursor = false;
    FrameTimer.SetTargetFPS(FrameRate);
    FrameTimer.SetMinFPS(MinFrameRate);
    FrameTimer.SetMaxFPS(MaxFrameRate);
    FrameTimer.SetFPSWarningFrames(SlowFramesWarning);
    FrameTimer.OnTimer = [this] { FrameTimerTick(); };
    RaceTimer.OnTimer = [this] { RaceTimerTimer(); };
    // The race sprites' cues; a skid that still sounds is not started again.
    World.PlaySound = [this](const std::string& Name) {
        TSoundListItem* Item = Sound3D.FindSound(Name);
        if (Name == "skid" && Sound3D.IsSoundPlaying(Item))
            return;
        Sound3D.PlaySound(Item);
    };
    World.Rumble = [this](float Strength, int Milliseconds) { Rumble(Strength, Milliseconds); };
}

// A view still watching goes first, while everything its playback touches is there.
TGame::~TGame() { FView.reset(); }

std::string TGame::DataPath(const std::string& Relative) const
{
    if (FDataDir.empty())
        return Relative;
    return FDataDir + "/" + Relative;
}

void TGame::PlaySoundIfOn(const std::string& Name)
{
    if (State.SoundOn)
        Sound3D.PlaySound(Name);
}

void TGame::ApplyVolumeLevel()
{
    const int Level = std::clamp(State.VolumeLevel, 0, MaxVolumeLevel);
    const int Volume =
        static_cast<int>(std::lround(Level / static_cast<double>(MaxVolumeLevel) * 25.0 + 75.0));
    for (TSoundListItem& Item : Sound3D.SoundList)
        Item.Volume = Volume;
}

void TGame::ShowCursor(bool Show)
{
    if (FCursor != nullptr)
        FCursor->Visible = Show;
}

void TGame::NewGuiList()
{
    FreeGuiList();
    Pages.Parts.FGuiList = Gui.CreateList("GUI2");
}

void TGame::FreeGuiList()
{
    if (Pages.Parts.FGuiList != nullptr)
        Gui.FreeList(Pages.Parts.FGuiList);
    Pages.Parts.FGuiList = nullptr;
}

void TGame::CreateMenuLights()
{
    FreeMenuLights();
    auto& Lights = Pages.Parts.FMenuLights;
    Lights[0] = new TLight(SpriteEngine, MenuImageList, Rng, 376, 353, 0);
    Lights[1] = new TLight(SpriteEngine, MenuImageList, Rng, 403, 370, 1);
}

void TGame::FreeMenuLights()
{
    for (TLight*& Light : Pages.Parts.FMenuLights)
    {
        if (Light != nullptr)
            Light->Dead();
        Light = nullptr;
    }
    SpriteEngine.FreeDead();
}

void TGame::FormCreate(std::uint64_t Seed)
{
    Rng.SetSeed(Seed);
    // The cursor is drawn where the mouse is in full screen too: the platform hands the mouse in
    // picture coordinates in both modes, so no offset is switched on.
    State.FullScreenOn = true;
    State.FullScreenApplied = true;
    State.MusicOn = true;
    State.SoundOn = true;
    State.OnlineName.clear();
    State.PlayerName.clear();
    HighScores.ResetHighScores();
    State.Score = 0;
    Race.FGameImagesLoaded = false;
    State.KeyReleased.fill(0);
    const std::string MenuFile = DataPath(MenuPicturesFile);
    if (FMenuPictures != nullptr && FMenuPictures->FileName() == MenuFile)
        MenuImageList.LoadFromPrefetch(*FMenuPictures, &Messages);
    else
        MenuImageList.LoadFromFile(MenuFile, &Messages);
    // The picture keeps its size whatever the window's size: the platform hands the mouse in it.
    Gui.Prepare(PictureWidth, PictureHeight);
    // Players without a mouse see which widget Enter or Space would press.
    Gui.ShowFocus = true;
    Catalogues.InitTracks();
    Catalogues.InitCars();
    Catalogues.SetProgressDefaults();
    // The files overwrite what they hold, then the open tracks and cars are marked available.
    LoadFiles();
    Catalogues.OpenAvailable();
    Screen.Initialize();
    // The stored choice, unless this start was asked to be windowed or full screen; the stored
    // choice itself stays as it is.
    const bool WantFullScreen = FFullScreenThisStart.value_or(State.FullScreenOn);
    if (FFullScreenAllowed && Screen.FullScreen != WantFullScreen)
        Screen.ToggleFullScreen();
    State.FullScreenApplied = FFullScreenAllowed ? WantFullScreen : Screen.FullScreen;
    Screen.SetLinearFilter(true);
    // The GUI's font: the glyph sheet, picture 0 of the menu list, in the default character order.
    BitmapFont.ImageList = &MenuImageList;
    BitmapFont.SetCharacters({});
    BitmapFont.SetImageIndex(0);
    Font1.SetFont("Micra", 30, 1);
    Font1.SetColor(0xFFFFFFFFu);
    // The mouse cursor lives for the whole program; pages show and hide it.
    FCursor = new TCursor(SpriteEngine, MenuImageList, State);
    FCursor->Visible = false;
    State.StateTicks = 0;
    Sound3D.InitAudioPaths();
    // The stored volume step applies from the start, not only once the options page was opened.
    ApplyVolumeLevel();
}

void TGame::LoadFiles()
{
    if (!FOldFilesFolder.empty())
        ReportMovedFiles(MoveOldFiles(FOldFilesFolder, Files), FOldFilesFolder, Files, Notices);
    for (const std::string& Path : {Files.SettingsFile, Files.ProgressFile, Files.ControlsFile})
        for (const std::string& Stale : RemoveStaleTemporaries(Path))
            std::fprintf(stderr, "velomarch: removed \"%s\", left by a save that was cut short\n",
                         Stale.c_str());
    std::vector<std::string> Problems;
    LoadSettings(Files.SettingsFile, State, HighScores, Profiles, Problems);
    LoadProgress(Files.ProgressFile, State.Score, Catalogues, Problems);
    for (const std::string& Problem : Problems)
        std::fprintf(stderr, "velomarch: %s\n", Problem.c_str());
    PostReadProblems(Notices, "Some saved settings could not be read", Problems,
                     "They are written whole again at the next save.");

    std::vector<std::string> ControlProblems;
    LoadControls(Files.ControlsFile, State.Controls, ControlProblems);
    FStoredControls = State.Controls;
    for (const std::string& Problem : ControlProblems)
        std::fprintf(stderr, "velomarch: %s\n", Problem.c_str());
    PostReadProblems(Notices, "Some controls could not be read", ControlProblems,
                     "The controls page shows what is in force.");
}

void TGame::ReportSaveFailure(const std::string& What, const std::string& Path, const std::string& Error)
{
    std::fprintf(stderr, "velomarch: %s not saved: %s\n", Path.c_str(), Error.c_str());
    FLastSaveFailure = "Your " + What + " could not be saved: " + Error + ".";
    // Each kind of failure is shown once; the same one again is only written to stderr.
    if (FSaveFailuresShown.insert(Error).second)
        Notices.Post("Your " + What + " could not be saved",
                     Error +
                         ". The game goes on; the old file is kept whole and it is tried again next time.");
}

void TGame::SetPlayback(bool On)
{
    if (On == FPlayback)
        return;
    FPlayback = On;
    if (On)
    {
        // A run held for watching its own recording goes on afterwards.
        if (!Recorder.Held())
            Recorder.Stop(*this);
        FScoresBeforePlayback = Scores;
        Scores = &FPlaybackScores;
    }
    else
        Scores = FScoresBeforePlayback != nullptr ? FScoresBeforePlayback : &FScoreService;
}

void TGame::Watch(std::unique_ptr<IPlaybackView> View) { FView = std::move(View); }

void TGame::Feed(const std::function<void()>& Calls)
{
    const bool Was = FFeeding;
    FFeeding = true;
    Calls();
    FFeeding = Was;
}

void TGame::ViewAnswered(bool GoesOn)
{
    if (!GoesOn)
        FView.reset();
}

bool TGame::SaveSettingsFile()
{
    if (FPlayback)
        return true;
    std::string Error;
    if (SaveSettings(Files.SettingsFile, State, HighScores, Profiles, Error))
        return true;
    ReportSaveFailure("settings", Files.SettingsFile, Error);
    return false;
}

bool TGame::SaveControlsFile()
{
    if (FPlayback)
        return true;
    std::string Error;
    if (SaveControls(Files.ControlsFile, State.Controls, Error))
    {
        FStoredControls = State.Controls;
        return true;
    }
    ReportSaveFailure("controls", Files.ControlsFile, Error);
    return false;
}

bool TGame::SaveFiles()
{
    if (FPlayback)
        return true;
    FLastSaveFailure.clear();
    std::string Error;
    bool Saved = SaveSettingsFile();
    if (!SaveProgress(Files.ProgressFile, State.Score, Catalogues, Error))
    {
        ReportSaveFailure("progress", Files.ProgressFile, Error);
        Saved = false;
    }
    if (State.Controls != FStoredControls && !SaveControlsFile())
        Saved = false;
    return Saved;
}

void TGame::FocusChanged(bool Focused)
{
    if (ToView())
        return;
    Recorder.Add({TReplayEventKind::Focus, 0, Focused ? 1 : 0, 0, 0});
    if (!Focused && (State.ScreenState == ssRace || State.ScreenState == ssWrecked))
        State.PauseRequested = true;
    // Music held while away comes back with the focus; music off stays off.
    if (!Focused && State.MusicOn && !FMusicHeld)
    {
        Sound3D.PauseMusic(true);
        FMusicHeld = true;
    }
    else if (Focused && FMusicHeld)
    {
        Sound3D.PauseMusic(false);
        FMusicHeld = false;
    }
    Recorder.AfterCall(*this);
}

void TGame::FormShow()
{
    FrameTimer.SetEnabled(true);
    // The menu track is loaded even when music is off, so that switching it on starts at once.
    Sound3D.PlayMod("menumusic");
    if (!State.MusicOn)
        Sound3D.StopMod("menumusic");
    EnterState(ssLogo);
}

bool TGame::FormCloseQuery() const
{
    // The player leaves through the exit question; a close request anywhere else is refused.
    return State.ScreenState == ssExit;
}

void TGame::FormDestroy()
{
    Recorder.Stop(*this);
    RaceTimer.SetEnabled(false);
    FrameTimer.SetEnabled(false);
    Sound3D.FreeMod("menumusic");
    Sound3D.FreeMod("gamemusic");
    Sound3D.FreeMod("losemusic");
    // A "play.url" shortcut among the player's files opens on the way out.
    OpenShortcut(*this, "play.url");
}

void TGame::FrameTimerTick()
{
    if (ToView())
    {
        ViewAnswered(FView->Tick());
        return;
    }
    Recorder.Add({TReplayEventKind::Frame, 0, 0, 0, 0});
    GuiClock.Advance(1);
    if (State.MusicOn)
        MusicPlayer.Update();
    StateFrame(State.ScreenState);
    Recorder.AfterCall(*this);
    // The server's word on a run's recording comes after the run: told as the score's was.
    if (auto Upload = Scores->TakeUploadResult())
        if (const std::string Text = UploadResultText(*Upload); !Text.empty())
            Messages.Show(Text, "Velomarch");
}

void TGame::DeviceReset()
{
    Screen.Reset();
    for (TSystemFont* Font : {&Font1, &Font2, &Font3, &Font4})
        Font->DeviceReset();
    BitmapFont.DeviceReset();
    Notices.DeviceReset();
}

void TGame::EnterUnbuiltState(int Which)
{
    State.ClearLatches();
    State.StateTicks = 0;
    State.ScreenState = static_cast<std::uint8_t>(Which & 0x7F);
}

void TGame::DrawEmptyFrame()
{
    Screen.Clear(0, 0, 0, 0);
    if (!Screen.BeginScene())
        return;
    SpriteEngine.Draw();
    Screen.EndScene();
}

} // namespace vm
