// The game object: owns the engine components and the game state, and receives the window's
// events (keys, frames, race clock ticks, close requests) from the platform.
#pragma once

#include "engine/bitmap_font.h"
#include "engine/clock.h"
#include "engine/frame_timer.h"
#include "engine/game_constants.h"
#include "engine/gui.h"
#include "engine/image_list.h"
#include "engine/music_player.h"
#include "engine/notice_board.h"
#include "engine/race_timer.h"
#include "engine/random.h"
#include "engine/screen.h"
#include "engine/sound_system.h"
#include "engine/sprite_engine.h"
#include "engine/system_font.h"
#include "persist/high_scores.h"
#include "persist/profiles.h"
#include "persist/replay_keeper.h"
#include "persist/user_files.h"
#include "shell/game_score_service.h"
#include "shell/page_table.h"
#include "shell/playback_score_service.h"
#include "shell/playback_view.h"
#include "shell/run_recorder.h"
#include "shell/score_service.h"
#include "state/game_state.h"
#include "world/catalogue.h"
#include "world/race_session.h"
#include "world/race_world.h"
#include "world/run_difficulty.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vm {

class IAudioDevice;
class IClock;
class IHttpClient;
class IShellOpener;
class IMessageBox;
class IPadRumble;
class IRenderDevice;
class ITextRasterizer;
class TCursor;
class TImageListPrefetch;

// What the platform hands the game; nothing here is owned and all must outlive the game.
struct TGamePlatform
{
    IRenderDevice& Render;
    IClock& Clock;
    IAudioDevice& Audio;
    IMessageBox& Messages;
    std::string DataDir;             // the folder holding Data/ and Sounds/
    ITextRasterizer* Text = nullptr; // installed fonts; without it system-font texts are not drawn
    IHttpClient* Http = nullptr;     // the online score table (used from a worker thread too);
                                     // without it scores stay local
    IShellOpener* Shell = nullptr;   // the browser for the online table; without it nothing opens
    std::string ScoreUrl = {};       // the high-score endpoint
    bool FullScreenAllowed = true;   // false where there is no desktop to fill (headless runs)
    TUserFiles Files = {};           // the player's files (default: in the working folder)
    std::string OldFilesFolder = {}; // where an older start left them, to move once; empty: none
    std::optional<bool> FullScreenThisStart = {}; // full screen (true) or windowed for this start
    IPadRumble* PadRumble = nullptr;              // the pads' motors; without it nothing shakes
    // The menu pictures (MenuPicturesFile) read ahead while the window opened; without it, or for
    // another file, FormCreate reads them itself.
    TImageListPrefetch* MenuPictures = nullptr;
};

// The menu pictures, in the data folder: the first pictures the game shows.
inline constexpr const char* MenuPicturesFile = "Data/data1.vil";

// Whether a hand-over's cue plays only with sound on, or whatever the setting.
enum class TCueWhen
{
    SoundOn,
    Always,
};

class TGame
{
public:
    // Pages is the program's page table, which must outlive the game.
    TGame(const TGamePlatform& Platform, const TPageRows& Pages);
    ~TGame();
    TGame(const TGame&) = delete;
    TGame& operator=(const TGame&) = delete;

    // Window events, in the order the platform calls them.
    void FormCreate(std::uint64_t Seed);
    void FormShow();
    bool FormCloseQuery() const;
    void FormDestroy();
    void FormKeyDown(int Key);
    void FormKeyUp(int Key);
    // The frame timer's handler: music service, then the frame of the current screen.
    void FrameTimerTick();
    // One 10 ms step of the race clock.
    void RaceTimerTimer();
    // The render device lost its textures: make them again.
    void DeviceReset();
    // Mouse in 800 x 600 picture coordinates, and typed text (UTF-8).
    void MouseMove(int X, int Y);
    void MouseButton(bool Down, int X, int Y);
    void TextInput(const std::string& Utf8);
    // Game controllers: Pad names one (any number may be connected, and each drives). Buttons
    // are TPadButton numbers, axes TPadAxis numbers with SDL's values. A pad connected or lost
    // during a race pauses it, as losing the focus does. In a race the pad drives the actions
    // bound to its controls; on every other page its D-pad, stick, A, B, X, Start and Back act
    // as the arrow keys, Enter, Esc, Backspace, Enter and Esc.
    void PadAdded(int Pad);
    void PadRemoved(int Pad);
    void PadButton(int Pad, int Button, bool Down);
    void PadAxis(int Pad, int Axis, int Value);
    int PadCount() const { return static_cast<int>(FPads.size()); }
    // The connected pads with what each holds, for a run's recording, and the same put back for
    // its playback (replacing the pads connected now, without any action or key reaching a page).
    std::vector<TReplayPad> PadsForReplay() const;
    void RestorePads(const std::vector<TReplayPad>& Pads);
    // Shakes the pads (when the player left rumble on): Strength 0..1 for Milliseconds.
    void Rumble(float Strength, int Milliseconds);
    // True once the game has asked for its window to close.
    bool Terminated() const { return FTerminated; }
    void Terminate() { FTerminated = true; }

    // The settings file ("Config.cfg") and the progress file ("Configdat.cfg") where Files says.
    // Loading first moves the files of an older start over (once), removes what interrupted saves
    // left, and keeps the defaults for whatever is missing or damaged. Saving replaces a file only
    // when the new one is whole, else keeps it. What went wrong goes to stderr and to the player
    // as a notice, each kind of failure once.
    void LoadFiles();
    bool SaveFiles();
    // Only the settings file: when the option, add-player and profile pages are left.
    bool SaveSettingsFile();
    // Only the controls file ("Controls.cfg" beside the settings), from State.Controls: when the
    // controls page is left, and by SaveFiles when they changed since the file was read or
    // written. LoadFiles reads it; its problems make one notice of their own.
    bool SaveControlsFile();
    // The player's message for the last failed save ("" when none failed), for a box at exit.
    const std::string& LastSaveFailure() const { return FLastSaveFailure; }
    // The window lost (false) or got back (true) the keyboard focus: a race pauses, and the music
    // holds until the focus is back.
    void FocusChanged(bool Focused);

    // Screen-state dispatch through the page table; only the low seven bits of State count.
    void EnterState(int State);
    void LeaveState(int State);
    void StateFrame(int State);
    // A page hands over: leaves From and enters To, with the cue Sound when one is given.
    void ChangeState(int From, int To, const char* Sound = nullptr, TCueWhen When = TCueWhen::SoundOn);

    // Draws one frame of a screen that has nothing of its own yet (black).
    void DrawEmptyFrame();
    // Enters a screen that has nothing of its own yet: clears the latches, stores the state.
    void EnterUnbuiltState(int State);
    std::string DataPath(const std::string& Relative) const;
    // Gives every sound effect the volume of the volume step: 75 at step 0 up to 100 at the top step.
    void ApplyVolumeLevel();
    // Plays the effect Name when sound is on: for the cues that depend on the setting.
    void PlaySoundIfOn(const std::string& Name);
    // The mouse cursor sprite is drawn (true) or hidden.
    void ShowCursor(bool Show);
    // The widget list "GUI2" of the page that is up (Pages.Parts.FGuiList): made by a page's enter
    // routine, freed by its leave routine.
    void NewGuiList();
    void FreeGuiList();
    // The two blinking lights of the main menu, made when a run or the logo ends and freed when a
    // run starts.
    void CreateMenuLights();
    void FreeMenuLights();

    TGameState State;
    IMessageBox& Messages;
    IClock& Clock;
    // Components, in the order they are made (destroyed in reverse).
    TScreen Screen;
    TImageList MenuImageList;
    TImageList GameImageList;
    TSpriteEngine SpriteEngine;
    TFrameTimer FrameTimer;
    TRaceTimer RaceTimer;
    TRandom Rng;
    TSoundSystem Sound3D;
    TMusicPlayer MusicPlayer;
    TBitmapFont BitmapFont; // glyphs from picture 0 of the menu list
    TSystemFont Font1, Font2, Font3, Font4;
    // The GUI's clock, one tick a frame of the game: how the GUI thins mouse moves then follows
    // from the frames and the calls between them, which a recording keeps, not from real time.
    TManualClock GuiClock{FrameRate};
    TGui Gui; // uses BitmapFont for captions and the edit box, and GuiClock

    // The track and car catalogues with the unlock ladder, and the run's difficulty values.
    TCatalogues Catalogues;
    TRunDifficulty Difficulty;
    // The race that is running (or was last run) and what the run keeps beside it.
    TRaceWorld World;
    TRaceSession Race;
    // The players and the local high-score table.
    THighScoreTable HighScores;
    TProfiles Profiles;
    // Where a finished run's score goes (the table above and the online one); never null, and
    // tests may point it elsewhere.
    IScoreService* Scores = &FScoreService;
    IShellOpener* Shell = nullptr;
    std::string ScoreUrl;
    ITextRasterizer* TextRasterizer =
        nullptr; // installed fonts (may be null): the options page builds its font
    // Whether the window may go full screen (not where there is no desktop, as in headless runs).
    bool FullScreenAllowed() const { return FFullScreenAllowed; }

    TCursor* FCursor = nullptr; // made at start-up, lives for the whole program
    // Every state's routines, what each page keeps, and what the page that is up has made.
    TPageTable Pages;
    // Messages to the player drawn over every page (files that could not be saved or read).
    TNoticeBoard Notices;
    // The player's files.
    const TUserFiles Files;
    // Records every run when told where (see TRunRecorder); StartRun begins each recording.
    TRunRecorder Recorder;
    // The kept recordings in Files.ReplayFolder: with a folder, every run is recorded there and
    // the rules applied each time a recording ends.
    TReplayKeeper KeptRuns;
    // Playback of a recording: while on, no file of the player is written, no score reaches the
    // high-score table or the online one (Scores answers as the table would, and a send as
    // stored), and no run is recorded. Off restores the score service that was in place.
    void SetPlayback(bool On);
    bool Playback() const { return FPlayback; }
    // Watching a recording in the window (see IPlaybackView): View takes the window's input from
    // now until one of its calls returns false; null ends the watching at once. Feed hands the
    // game Calls (the recording's) as if the window made them.
    void Watch(std::unique_ptr<IPlaybackView> View);
    bool Watching() const { return FView != nullptr; }
    IPlaybackView* View() const { return FView.get(); }
    void Feed(const std::function<void()>& Calls);

private:
    // What one pad holds: its axes as last reported, its controls as switches, and the key each
    // control stands for on a page while it is held (0: none).
    struct TPadState
    {
        std::array<int, 6> Axes{};
        std::array<bool, PadControlCount> Held{};
        std::array<int, PadControlCount> PageKey{};
    };
    void KeyDown(int Key, bool FromPad);
    void KeyUp(int Key);
    // The bodies of the input calls above, which those record around.
    void MoveMouse(int X, int Y);
    void RemovePad(int Pad);
    void PressPadButton(int Pad, int Button, bool Down);
    void MovePadAxis(int Pad, int Axis, int Value);
    void RaceTimerStep();
    // A pad's control switched: the actions it drives, and on pages the key it stands for.
    void SetPadControl(TPadState& Pad, int Control, bool Down);
    void ReportSaveFailure(const std::string& What, const std::string& Path, const std::string& Error);

    // True when a call from the window goes to the view instead of the game.
    bool ToView() const { return FView != nullptr && !FFeeding; }
    // Removes the view when its call said the watching is over (it is not destroyed while one of
    // its own calls runs: the next call through here does it).
    void ViewAnswered(bool GoesOn);

    std::unique_ptr<IPlaybackView> FView;
    bool FFeeding = false;
    TGameScoreService FScoreService;
    TPlaybackScoreService FPlaybackScores{HighScores};
    IScoreService* FScoresBeforePlayback = nullptr;
    bool FPlayback = false;
    std::string FDataDir;
    bool FFullScreenAllowed = true;
    std::optional<bool> FFullScreenThisStart;
    std::string FOldFilesFolder;
    std::set<std::string> FSaveFailuresShown;
    std::string FLastSaveFailure;
    // The controls as the controls file holds them (read or last written): SaveFiles writes the
    // file only when the controls differ, so a game that never changed them leaves no file.
    TControlBindings FStoredControls;
    bool FMusicHeld = false;
    std::map<int, TPadState> FPads;
    IPadRumble* FPadRumble = nullptr;
    TImageListPrefetch* FMenuPictures = nullptr;
    bool FTerminated = false;
};

} // namespace vm
