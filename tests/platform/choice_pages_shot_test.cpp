// The track and car pages of a whole game drawn by the real offscreen renderer with the real fonts.
// With VM_SHOT_DIR set, the pictures are saved there (choice_track.png, choice_track_locked.png,
// choice_car.png, choice_car_fast.png) to be looked at.
#include "page_shot_fixture.h"

namespace vm {
namespace {

class ChoicePagesShot : public test::PageShotTest
{
protected:
};

TEST_F(ChoicePagesShot, TrackAndCarPagesShowTheirPicturesFactsAndBars)
{
    Game->Catalogues.FTracks[0].BestMinutes = 1;
    Game->Catalogues.FTracks[0].BestSeconds = 5;
    Game->Catalogues.FTracks[0].BestHundredths = 3;
    Game->EnterState(ssChooseTrack);
    RunFrames(40);
    const std::vector<std::uint32_t> Open = Shot("choice_track.png");
    Game->Catalogues.FTrackIndex = 4;
    Press(vkRight); // track 6, locked
    const std::vector<std::uint32_t> Locked = Shot("choice_track_locked.png");
    EXPECT_GT(Changed(Open, Locked, 312, 156, 526, 346), 10000); // the preview against the locked one
    EXPECT_GT(Changed(Open, Locked, 300, 60, 540, 92), 50);      // another title
    EXPECT_GT(Changed(Open, Locked, 420, 385, 560, 520), 50);    // dashes for the facts
    EXPECT_GT(Changed(Open, Locked, 640, 524, 800, 560), 200);   // the race button gone

    Game->LeaveState(ssChooseTrack);
    Game->EnterState(ssChooseCar);
    RunFrames(60);
    const std::vector<std::uint32_t> Car = Shot("choice_car.png");
    EXPECT_GT(Changed(Open, Car, 370, 230, 510, 330), 5000);
    Press(vkLeft); // the Beast: the fastest, so a longer top bar
    const std::vector<std::uint32_t> Fast = Shot("choice_car_fast.png");
    EXPECT_GT(Changed(Car, Fast, 386 + 120, 343, 386 + 140, 357), 50);
}

} // namespace
} // namespace vm
