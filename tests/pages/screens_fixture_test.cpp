// The screens' test fixture itself: a fresh game starts in a folder of its own.
#include "screen_game_fixture.h"

namespace vm::test {
namespace {

TEST_F(ScreenGameTest, AFreshGameStartsWithItsDefaultsInAnEmptyFolder)
{
    StartUp();
    EXPECT_EQ(StateId(), ssLogo);
    EXPECT_EQ(Game.Profiles.FProfileCount, 0);
    EXPECT_TRUE(Game.State.MusicOn);
    EXPECT_EQ(Game.Catalogues.FTracksOpen, 3);
    EXPECT_EQ(std::filesystem::current_path(), Work.Path());
}

} // namespace
} // namespace vm::test
