// A whole first session of the game scripted through velomarch-headless: every front-end page on
// the way, the files written on the way out, and a second session that starts from them.
#include "support/state_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace vm {
namespace {

std::string ReadAll(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    std::stringstream Buffer;
    Buffer << In.rdbuf();
    return Buffer.str();
}

// The exit status; the program's error output (a sanitizer report too) goes to the test's log.
int RunHeadless(const test::TTempDir& Dir, const std::string& Arguments)
{
    const std::string Command = std::string(VM_HEADLESS_BIN) + " --null-renderer --data " + VM_ASSET_DIR +
                                " --workdir " + Dir.Path().string() + " " + Arguments;
    const int Status = std::system(Command.c_str());
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

// Button centres in the 800 x 600 picture, from the pages' layouts.
constexpr const char* FirstSession = R"(# The logo, then the add-player page.
440 text Tester
450 press 13
# Options: music off, volume up twice, an online name, apply.
500 click 652 298
530 click 553 312
540 click 615 338
550 click 615 338
560 click 547 367
570 text racer1
600 click 325 431
# Help, then back.
620 click 652 362
690 press 27
# High scores and the clear question, back twice.
710 click 652 330
760 click 502 456
810 press 27
830 press 27
# Profiles: add a second player, choose the first, delete the second, back.
850 click 400 569
900 click 366 434
950 text Second
960 press 13
1000 press 38
1010 press 13
1020 press 40
1030 click 474 434
1080 click 328 424
1120 press 27
# The track page, the car page, a race left through the exit question.
1160 click 652 266
1220 click 702 538
1300 press 13
1420 press 27
1470 press 13
# The main menu's exit question: yes.
1510 press 27
1560 press 13
)";

TEST(FrontEndSession, AFirstSessionVisitsEveryPageAndTheSecondStartsFromItsFiles)
{
    test::TTempDir Dir;
    {
        std::ofstream Script(Dir.File("session.txt"));
        Script << FirstSession;
    }
    ASSERT_EQ(RunHeadless(Dir, "--input " + Dir.File("session.txt") + " --frames 1700 --state " +
                                   Dir.File("s1.json")),
              0);
    const auto First = test::ReadStateFile(Dir.File("s1.json"));
    ASSERT_TRUE(First.is_object()) << ReadAll(Dir.File("s1.json"));
    // Logo, add player, main menu, options, menu, help, menu, high scores, clear?, high scores, menu,
    // profiles, add, profiles, delete?, profiles, menu, track, car, race, leave?, menu, exit?, exit.
    const std::vector<std::pair<long, int>> FirstScreens = {
        {0, 3},    {385, 1},   {451, 4},   {500, 7},   {600, 4},  {620, 6},  {691, 4},   {710, 8},
        {760, 9},  {811, 8},   {831, 4},   {850, 22},  {900, 21}, {961, 22}, {1030, 23}, {1080, 22},
        {1121, 4}, {1160, 14}, {1220, 15}, {1301, 12}, {1421, 0}, {1471, 4}, {1511, 10}, {1561, 28}};
    EXPECT_EQ(test::ScreensOf(First), FirstScreens) << First;
    EXPECT_EQ(First.at("profiles"), 1) << First;
    EXPECT_TRUE(std::filesystem::file_size(Dir.File("Config.cfg")) > 0);
    EXPECT_TRUE(std::filesystem::file_size(Dir.File("Configdat.cfg")) > 0);

    // The second session in the same folder: the logo leads straight to the main menu.
    ASSERT_EQ(RunHeadless(Dir, "--frames 450 --state " + Dir.File("s2.json")), 0);
    const auto Second = test::ReadStateFile(Dir.File("s2.json"));
    ASSERT_TRUE(Second.is_object()) << ReadAll(Dir.File("s2.json"));
    const std::vector<std::pair<long, int>> SecondScreens = {{0, 3}, {385, 4}};
    EXPECT_EQ(test::ScreensOf(Second), SecondScreens) << Second;
    EXPECT_EQ(Second.at("player_name"), "Tester") << Second;
    EXPECT_EQ(Second.at("music_on"), false) << Second;
    EXPECT_EQ(Second.at("volume_level"), 2) << Second;
    EXPECT_EQ(Second.at("online_name"), "racer1") << Second;
}

} // namespace
} // namespace vm
