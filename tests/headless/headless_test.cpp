// velomarch-headless: its script and arguments, and whole runs of the program.
#include "engine/image_list.h"
#include "engine/pad_input.h"
#include "engine/picture.h"
#include "headless_runner.h"
#include "input_script.h"
#include "persist/high_scores.h"
#include "persist/profiles.h"
#include "persist/settings_file.h"
#include "state/game_state.h"
#include "support/state_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

namespace vm {
namespace {

TEST(InputScript, ParsesEveryEventKindSortedByFrame)
{
    std::vector<TScriptEvent> Events;
    std::string Error;
    ASSERT_TRUE(ParseInputScript("# warm-up\n"
                                 "30 press 13\n"
                                 "10 down 38   # throttle\n"
                                 "\n"
                                 "12 move 400 300\n"
                                 "12 click 552 252\n"
                                 "20 text Zoë Ann\n"
                                 "40 up 38\n",
                                 Events, Error))
        << Error;
    ASSERT_EQ(Events.size(), 8u);
    EXPECT_EQ(Events[0].Frame, 10);
    EXPECT_EQ(Events[0].Kind, TScriptEventKind::KeyDown);
    EXPECT_EQ(Events[0].Key, 38);
    EXPECT_EQ(Events[1].Kind, TScriptEventKind::Move);
    EXPECT_EQ(Events[2].Kind, TScriptEventKind::ButtonDown);
    EXPECT_EQ(Events[3].Kind, TScriptEventKind::ButtonUp);
    EXPECT_EQ(Events[3].X, 552);
    EXPECT_EQ(Events[4].Text, "Zoë Ann");
    // press: down at its frame, up on the next.
    EXPECT_EQ(Events[5].Frame, 30);
    EXPECT_EQ(Events[5].Kind, TScriptEventKind::KeyDown);
    EXPECT_EQ(Events[6].Frame, 31);
    EXPECT_EQ(Events[6].Kind, TScriptEventKind::KeyUp);
    EXPECT_EQ(Events[7].Frame, 40);
}

TEST(InputScript, BadLinesNameTheirLine)
{
    const char* Bad[] = {"1 down\n", "1 down 300\n", "x down 3\n", "-4 down 3\n", "5 jump 3\n", "5 move 3\n"};
    for (const char* Script : Bad)
    {
        std::vector<TScriptEvent> Events;
        std::string Error;
        EXPECT_FALSE(ParseInputScript(std::string("# ok\n") + Script, Events, Error)) << Script;
        EXPECT_EQ(Error.rfind("line 2:", 0), 0u) << Error;
    }
}

TEST(InputScript, PadLinesNameTheirPadButtonAndAxisAndPadsComeBeforeTheirEvents)
{
    std::vector<TScriptEvent> Events;
    std::string Error;
    ASSERT_TRUE(ParseInputScript("1 pad connect\n"
                                 "1 pad 2 connect\n"
                                 "5 pad press dpleft\n"
                                 "7 pad 2 axis lefttrigger 32767\n"
                                 "8 pad axis leftx -32768\n"
                                 "9 pad disconnect\n"
                                 "10 pad connect\n",
                                 Events, Error))
        << Error;
    ASSERT_EQ(Events.size(), 8u);
    EXPECT_EQ(Events[1].Key, 2);
    EXPECT_EQ(Events[2].PadOp, TPadOp::Down);
    EXPECT_EQ(Events[2].X, pbDPadLeft);
    EXPECT_EQ(Events[3].Frame, 6);
    EXPECT_EQ(Events[3].PadOp, TPadOp::Up);
    EXPECT_EQ(Events[4].PadOp, TPadOp::Axis);
    EXPECT_EQ(Events[4].X, paLeftTrigger);
    EXPECT_EQ(Events[4].Y, 32767);
    EXPECT_EQ(Events[5].Y, -32768);
    EXPECT_EQ(Events[6].PadOp, TPadOp::Disconnect);

    const char* Bad[] = {"5 pad down a\n",
                         "1 pad connect\n5 pad connect\n",
                         "1 pad connect\n5 pad down z\n",
                         "1 pad connect\n5 pad axis lefttrigger -1\n",
                         "1 pad connect\n5 pad axis leftx 40000\n",
                         "1 pad 5 connect\n",
                         "1 pad connect\n5 pad wiggle\n",
                         "1 pad connect\n2 pad disconnect\n3 pad up a\n"};
    for (const char* Script : Bad)
    {
        EXPECT_FALSE(ParseInputScript(Script, Events, Error)) << Script;
        EXPECT_EQ(Error.rfind("line ", 0), 0u) << Error;
    }
    // The line named is the one at fault, also when it comes first in the file but later in time.
    EXPECT_FALSE(ParseInputScript("20 pad connect\n5 pad press a\n", Events, Error));
    EXPECT_EQ(Error.rfind("line 2:", 0), 0u) << Error;
}

// A press lets its key go on the frame after its own: the last frame a script may name is the one
// before the largest long, and anything past it is refused with its line, never wrapped round.
TEST(InputScript, FrameNumbersEndWhereTheFrameAfterStillFits)
{
    const long Largest = std::numeric_limits<long>::max();
    std::vector<TScriptEvent> Events;
    std::string Error;
    ASSERT_TRUE(ParseInputScript("5 down 38\n" + std::to_string(Largest - 1) + " press 13\n", Events, Error))
        << Error;
    ASSERT_EQ(Events.size(), 3u);
    EXPECT_EQ(Events[1].Frame, Largest - 1);
    EXPECT_EQ(Events[2].Frame, Largest);
    EXPECT_EQ(Events[2].Kind, TScriptEventKind::KeyUp);

    for (const std::string& Frame : {std::to_string(Largest), std::string("9223372036854775808"),
                                     std::string("123456789012345678901234567890")})
        for (const char* Event : {" press 13", " down 13", " text a"})
        {
            SCOPED_TRACE(Frame + Event);
            Events.clear();
            EXPECT_FALSE(ParseInputScript("# ok\n1 down 38\n" + Frame + Event + "\n", Events, Error));
            EXPECT_EQ(Error, "line 3: frame number " + Frame + " is past " + std::to_string(Largest - 1) +
                                 ", the last a script can use");
        }
    EXPECT_FALSE(ParseInputScript("-123456789012345678901234567890 down 1\n", Events, Error));
    EXPECT_EQ(Error, "line 1: frame number -123456789012345678901234567890 is below 0");
}

TEST(HeadlessArgs, AcceptsTheContractAndRejectsTheRest)
{
    const char* Good[] = {
        "velomarch-headless", "--seed",  "42",     "--frames",  "90",   "--shot",     "10:a.png", "--shot",
        "20:b.png",           "--state", "s.json", "--workdir", "/tmp", "--autopilot"};
    THeadlessOptions Options;
    std::string Error;
    ASSERT_EQ(HeadlessCommandLine(Options)->Read(14, Good, Error), TCommandLineOutcome::Run) << Error;
    EXPECT_EQ(Options.Seed, 42u);
    EXPECT_EQ(Options.Frames, 90);
    ASSERT_EQ(Options.Shots.size(), 2u);
    EXPECT_EQ(Options.Shots[1].first, 20);
    EXPECT_EQ(Options.Shots[1].second, "b.png");
    EXPECT_TRUE(Options.Autopilot);

    const std::vector<std::vector<const char*>> Bad = {{"x", "--frames"},
                                                       {"x", "--frames", "ten"},
                                                       {"x", "--shot", "a.png"},
                                                       {"x", "--shot", "5:"},
                                                       {"x", "--seed", "-1"},
                                                       {"x", "--fast"},
                                                       {"x", "--race", "5"},
                                                       {"x", "--race"},
                                                       {"x", "--null-renderer", "--shot", "1:a.png"},
                                                       {"x", "--replay", "r.vmr", "--autopilot"},
                                                       {"x", "--replay", "r.vmr", "--frames", "9"},
                                                       {"x", "--replay", "r.vmr", "--record", "s.vmr"},
                                                       {"x", "--replay"}};
    for (const auto& Args : Bad)
    {
        THeadlessOptions O;
        std::string E;
        EXPECT_EQ(HeadlessCommandLine(O)->Read(static_cast<int>(Args.size()), Args.data(), E),
                  TCommandLineOutcome::Bad);
        EXPECT_FALSE(E.empty());
    }
}

std::string ReadFile(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    std::stringstream Buffer;
    Buffer << In.rdbuf();
    return Buffer.str();
}

// The exit status; the program's error output (a sanitizer report too) goes to the test's log.
int RunProgram(const std::string& Arguments)
{
    const std::string Command = std::string(VM_HEADLESS_BIN) + " " + Arguments;
    const int Status = std::system(Command.c_str());
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

TEST(HeadlessRun, ShowsTheLogoAndReportsItsState)
{
    test::TTempDir Dir;
    std::filesystem::create_directories(Dir.Path() / "Data");
    std::filesystem::create_directories(Dir.Path() / "work");
    // A logo of a bright disc on black.
    TPixels Logo = test::MakeSolidPixels(200, 120, 0xFF000000u);
    for (int Y = 0; Y < 120; ++Y)
        for (int X = 0; X < 200; ++X)
            if ((X - 100) * (X - 100) + (Y - 60) * (Y - 60) < 50 * 50)
                Logo.Argb[Y * 200 + X] = 0xFFF0C030u;
    TImageListCollection Items;
    TImageListItem* Item = Items.Add();
    Item->Name = "logo";
    TPicture Picture;
    ASSERT_TRUE(Picture.Assign(test::MakePngBytes(Logo)));
    Item->SetPicture(std::move(Picture));
    ASSERT_TRUE(Items.SaveToFile(Dir.File("Data/data1.vil")));
    {
        std::ofstream Script(Dir.File("keys.txt"));
        Script << "5 press 27\n";
    }
    const std::string Shot = Dir.File("logo.png");
    ASSERT_EQ(RunProgram("--seed 3 --frames 120 --data " + Dir.Path().string() + " --workdir " +
                         Dir.File("work") + " --input " + Dir.File("keys.txt") + " --shot 116:" + Shot +
                         " --state " + Dir.File("s.json")),
              0);
    const std::string Png = ReadFile(Shot);
    TPixels Pixels;
    ASSERT_TRUE(DecodePng(reinterpret_cast<const std::uint8_t*>(Png.data()), Png.size(), Pixels));
    ASSERT_EQ(Pixels.Width, 800);
    ASSERT_EQ(Pixels.Height, 600);
    // Fully faded in by frame 116: the disc's colour at the centre (alpha 252 of 255), black around.
    const std::uint32_t Centre = Pixels.Argb[300 * 800 + 400];
    EXPECT_NEAR(static_cast<int>((Centre >> 16) & 0xFF), 0xF0 * 252 / 255, 6);
    EXPECT_NEAR(static_cast<int>((Centre >> 8) & 0xFF), 0xC0 * 252 / 255, 6);
    EXPECT_EQ(Pixels.Argb[10 * 800 + 10] & 0xFFFFFF, 0u);
    const auto State = test::ReadStateFile(Dir.File("s.json"));
    ASSERT_TRUE(State.is_object()) << ReadFile(Dir.File("s.json"));
    EXPECT_EQ(State.at("frame"), 120) << State;
    EXPECT_EQ(State.at("screen_state"), 3) << State;
}

// A run started straight from the command line with the real data, driven by the autopilot.
TEST(HeadlessRun, RaceStartsARunAndTheAutopilotDrivesIt)
{
    test::TTempDir Dir;
    const std::string Shot = Dir.File("lights.png");
    ASSERT_EQ(RunProgram(std::string("--seed 4 --race 2 --autopilot --frames 700 --data ") + VM_ASSET_DIR +
                         " --workdir " + Dir.Path().string() + " --shot 100:" + Shot + " --state " +
                         Dir.File("s.json")),
              0);
    const auto State = test::ReadStateFile(Dir.File("s.json"));
    ASSERT_TRUE(State.is_object()) << ReadFile(Dir.File("s.json"));
    EXPECT_EQ(State.at("screen_state"), 12) << State;
    EXPECT_EQ(State.at("race_number"), 1) << State;
    EXPECT_EQ(State.at("lives"), 3) << State;
    EXPECT_EQ(State.at("player").at("driving"), true) << State;
    EXPECT_EQ(State.at("race_finished"), false) << State;
    ASSERT_TRUE(State.at("opponents").is_array()) << State;
    ASSERT_FALSE(State.at("opponents").empty()) << State;
    EXPECT_TRUE(State.at("opponents").front().is_object()) << State;
    EXPECT_EQ(State.at("autopilot").at("races_finished"), 0) << State;
    // 450 frames after the green light the car has left the grid behind.
    EXPECT_GE(State.at("player").at("next_checkpoint").get<int>(), 3) << State;

    // Frame 100: the red lamp of the start lights is lit.
    const std::string Png = ReadFile(Shot);
    TPixels Pixels;
    ASSERT_TRUE(DecodePng(reinterpret_cast<const std::uint8_t*>(Png.data()), Png.size(), Pixels));
    long R = 0, G = 0;
    for (int Y = 70; Y < 90; ++Y)
        for (int X = 316; X < 336; ++X)
        {
            R += (Pixels.Argb[Y * 800 + X] >> 16) & 0xFF;
            G += (Pixels.Argb[Y * 800 + X] >> 8) & 0xFF;
        }
    EXPECT_GT(R / 400, 170);
    EXPECT_GT(R / 400, G / 400 + 80);
}

// The settings file holds names as bytes: one that is not UTF-8 still gives a state file that reads
// as JSON, each bad byte written as U+FFFD.
TEST(HeadlessRun, NamesThatAreNotUtf8StillGiveAStateFileThatReadsAsJson)
{
    test::TTempDir Dir;
    {
        TGameState State;
        THighScoreTable Table;
        TProfiles Profiles;
        State.OnlineName = "on\xFFline";
        // As an older game could store it: the name rule of today refuses it.
        Profiles.FProfiles[0].Name = State.PlayerName = "Te\xC3ster";
        Profiles.FProfileCount = 1;
        std::string Error;
        ASSERT_TRUE(SaveSettings(Dir.File("Config.cfg"), State, Table, Profiles, Error)) << Error;
    }
    ASSERT_EQ(RunProgram(std::string("--null-renderer --frames 1 --data ") + VM_ASSET_DIR + " --workdir " +
                         Dir.Path().string() + " --state " + Dir.File("s.json")),
              0);
    const auto State = test::ReadStateFile(Dir.File("s.json"));
    ASSERT_TRUE(State.is_object()) << ReadFile(Dir.File("s.json"));
    EXPECT_EQ(State.at("player_name"), "Te\xEF\xBF\xBDster");
    EXPECT_EQ(State.at("online_name"), "on\xEF\xBF\xBDline");
}

// Without --workdir the player's files are where the game keeps them: the per-user folders of
// HOME, with an older start's files moved there from the working folder once, and the move told.
TEST(HeadlessRun, KeepsThePlayersFilesInThePerUserFolders)
{
    test::TTempDir Dir;
    namespace fs = std::filesystem;
    fs::create_directories(Dir.Path() / "home");
    fs::create_directories(Dir.Path() / "work");
    {
        TGameState State;
        THighScoreTable Table;
        TProfiles Profiles;
        ASSERT_TRUE(Profiles.AddFirstProfile("Old Hand", State.PlayerName));
        std::string Error;
        ASSERT_TRUE(SaveSettings(Dir.File("work/Config.cfg"), State, Table, Profiles, Error)) << Error;
    }
    const std::string Run = "cd " + Dir.File("work") +
                            " && env -u XDG_CONFIG_HOME XDG_DATA_HOME=" + Dir.File("xdg-data") +
                            " HOME=" + Dir.File("home") + " " + VM_HEADLESS_BIN +
                            " --null-renderer --frames 1 --data " + VM_ASSET_DIR + " --state ";
    ASSERT_EQ(std::system((Run + Dir.File("s1.json")).c_str()), 0);
    EXPECT_TRUE(fs::is_regular_file(Dir.Path() / "home/.config/velomarch/Config.cfg"));
    EXPECT_TRUE(fs::is_directory(Dir.Path() / "xdg-data/velomarch"));
    EXPECT_FALSE(fs::exists(Dir.Path() / "work/Config.cfg"));
    const auto First = test::ReadStateFile(Dir.File("s1.json"));
    EXPECT_EQ(First.at("player_name"), "Old Hand") << First;
    ASSERT_EQ(First.at("notices").size(), 1u) << First;
    EXPECT_NE(First.at("notices")[0].get<std::string>().find("Moved Config.cfg from " + Dir.File("work")),
              std::string::npos)
        << First;
    // The next start reads them from there and has nothing to tell.
    ASSERT_EQ(std::system((Run + Dir.File("s2.json")).c_str()), 0);
    const auto Second = test::ReadStateFile(Dir.File("s2.json"));
    EXPECT_EQ(Second.at("player_name"), "Old Hand") << Second;
    EXPECT_FALSE(Second.contains("notices")) << Second;
    EXPECT_TRUE(fs::is_empty(Dir.Path() / "work"));
}

// A race driven by a pad alone through SDL's virtual joystick and the game's own controller code:
// plugging it in pauses the race and Start resumes it, the trigger drives and the stick steers
// into the wall (the pad rumbles), pulling it out pauses the race, a new pad's Start resumes,
// and Back asks whether to leave.
TEST(HeadlessRun, AVirtualPadDrivesTheRaceAndComingOrGoingPausesIt)
{
    test::TTempDir Dir;
    {
        std::ofstream Script(Dir.File("pad.txt"));
        Script << "1 pad connect\n5 pad press start\n"
                  "300 pad axis righttrigger 32767\n600 pad axis leftx -30000\n640 pad axis leftx 0\n"
                  "1100 pad axis righttrigger 0\n1150 pad disconnect\n"
                  "1200 pad connect\n1250 pad press start\n"
                  "1270 pad press back\n1320 pad press b\n";
    }
    ASSERT_EQ(RunProgram(std::string("--seed 4 --race 0 --frames 1400 --null-renderer --data ") +
                         VM_ASSET_DIR + " --workdir " + Dir.Path().string() + " --input " +
                         Dir.File("pad.txt") + " --state " + Dir.File("s.json")),
              0);
    const auto State = test::ReadStateFile(Dir.File("s.json"));
    ASSERT_TRUE(State.is_object()) << ReadFile(Dir.File("s.json"));
    const auto Screens = State.at("screens");
    // Back asks whether to leave the race, and B on the question answers no.
    const nlohmann::json Expected = {{0, ssRace},     {1, ssPause},   {6, ssRace},
                                     {1150, ssPause}, {1251, ssRace}, {1271, ssRaceExitQuestion},
                                     {1321, ssRace}};
    EXPECT_EQ(Screens, Expected) << State;
    EXPECT_GE(State.at("player").at("next_checkpoint").get<int>(), 3) << State;
    EXPECT_LT(State.at("player").at("health").get<int>(), 100) << State;
    EXPECT_EQ(State.at("pads").at("connected"), 1) << State;
    EXPECT_GT(State.at("pads").at("rumbles").get<int>(), 0) << State;
}

// A run recorded from the command line, played back to the same run state, with a picture; a
// damaged recording is refused with a message, one cut short plays as far as it goes.
TEST(HeadlessRun, RecordsARunAndPlaysItBack)
{
    test::TTempDir Dir;
    std::filesystem::create_directories(Dir.Path() / "work");
    std::filesystem::create_directories(Dir.Path() / "replay");
    const std::string Data = std::string(" --data ") + VM_ASSET_DIR;
    const std::string Recording = Dir.File("run.vmr");
    ASSERT_EQ(RunProgram("--race 1 --seed 2 --autopilot --frames 700 --null-renderer --workdir " +
                         Dir.File("work") + Data + " --record " + Recording + " --state " +
                         Dir.File("a.json") + " > " + Dir.File("a.txt")),
              0);
    EXPECT_NE(ReadFile(Dir.File("a.txt")).find("700 frames"), std::string::npos)
        << ReadFile(Dir.File("a.txt"));
    const std::string Shot = Dir.File("shot.png");
    ASSERT_EQ(RunProgram("--replay " + Recording + " --workdir " + Dir.File("replay") + Data + " --state " +
                         Dir.File("b.json") + " --shot 650:" + Shot + " > " + Dir.File("b.txt")),
              0);
    EXPECT_EQ(ReadFile(Dir.File("b.txt")).rfind("replay: frame 700 of 700, screen 12, ", 0), 0u)
        << ReadFile(Dir.File("b.txt"));
    const auto Recorded = test::ReadStateFile(Dir.File("a.json"));
    const auto Replayed = test::ReadStateFile(Dir.File("b.json"));
    ASSERT_TRUE(Recorded.contains("run")) << Recorded;
    EXPECT_EQ(Recorded.at("run"), Replayed.at("run"));
    EXPECT_GT(Recorded.at("run").at("race_ticks").get<int>(), 300);
    const std::string Png = ReadFile(Shot);
    TPixels Pixels;
    EXPECT_TRUE(DecodePng(reinterpret_cast<const std::uint8_t*>(Png.data()), Png.size(), Pixels));
    EXPECT_TRUE(std::filesystem::is_empty(Dir.File("replay")));

    std::string Bytes = ReadFile(Recording);
    {
        std::ofstream Cut(Dir.File("cut.vmr"), std::ios::binary);
        Cut << Bytes.substr(0, Bytes.size() * 2 / 3);
    }
    EXPECT_EQ(RunProgram("--null-renderer --replay " + Dir.File("cut.vmr") + Data + " --workdir " +
                         Dir.File("replay") + " > " + Dir.File("c.txt")),
              0);
    EXPECT_NE(ReadFile(Dir.File("c.txt")).find("(unfinished run)"), std::string::npos)
        << ReadFile(Dir.File("c.txt"));
    Bytes[Bytes.size() / 2] ^= 0x10;
    {
        std::ofstream Damaged(Dir.File("damaged.vmr"), std::ios::binary);
        Damaged << Bytes;
    }
    EXPECT_EQ(
        RunProgram("--null-renderer --replay " + Dir.File("damaged.vmr") + Data + " 2> " + Dir.File("d.txt")),
        2);
    EXPECT_NE(ReadFile(Dir.File("d.txt")).find("damaged.vmr: the recording is damaged"), std::string::npos)
        << ReadFile(Dir.File("d.txt"));
}

TEST(HeadlessRun, BadScriptOrArgumentsExitWithTwo)
{
    test::TTempDir Dir;
    {
        std::ofstream Script(Dir.File("bad.txt"));
        Script << "5 hold 27\n";
    }
    EXPECT_EQ(RunProgram("--frames 1 --input " + Dir.File("bad.txt")), 2);
    EXPECT_EQ(RunProgram("--frames 1 --input " + Dir.File("missing.txt")), 2);
    {
        std::ofstream Script(Dir.File("far.txt"));
        Script << std::numeric_limits<long>::max() << " press 27\n";
    }
    EXPECT_EQ(RunProgram("--frames 1 --input " + Dir.File("far.txt")), 2);
    EXPECT_EQ(RunProgram("--frames"), 2);
    EXPECT_EQ(RunProgram("--frames 1 --workdir " + Dir.File("no-such-folder")), 2);
}

} // namespace
} // namespace vm
