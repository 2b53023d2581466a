// Tests of the track and car tables, the best-time rule and the unlock ladder.
#include "world/catalogue.h"

#include <gtest/gtest.h>

#include <limits>

namespace vm {
namespace {

TRaceTime Time(std::int32_t Minutes, std::int32_t Seconds, std::int32_t Hundredths)
{
    return TRaceTime{Hundredths, Seconds, Minutes};
}

TTrackInfo TrackWithBest(std::int32_t Minutes, std::int32_t Seconds, std::int32_t Hundredths)
{
    TTrackInfo Track;
    Track.BestMinutes = Minutes;
    Track.BestSeconds = Seconds;
    Track.BestHundredths = Hundredths;
    return Track;
}

TEST(CatalogueTables, TracksHoldTheirRowsInNameOrder)
{
    TCatalogues C;
    EXPECT_EQ(C.FTrackMax, 11);
    EXPECT_EQ(C.FTrackIndex, 0);
    for (int I = 0; I < kTrackCount; ++I)
    {
        const TTrackInfo& T = C.FTracks[static_cast<std::size_t>(I)];
        EXPECT_EQ(T.Name, "Track " + std::to_string(I + 1));
        EXPECT_EQ(T.Available, 0) << I;
        EXPECT_EQ(T.BestMinutes, kNoBestMinutes) << I;
        EXPECT_EQ(T.BestSeconds, 0) << I;
        EXPECT_EQ(T.BestHundredths, 0) << I;
    }
    const TTrackInfo& First = C.FTracks[0];
    EXPECT_EQ(First.ImageKey, "tr_track3");
    EXPECT_EQ(First.DataFile, "Data\\data4.prd");
    EXPECT_EQ(First.LengthText, "540.4");
    EXPECT_EQ(First.Laps, 5);
    EXPECT_EQ(First.Opponents, 4);
    const TTrackInfo& Fourth = C.FTracks[3];
    EXPECT_EQ(Fourth.ImageKey, "tr_track1");
    EXPECT_EQ(Fourth.DataFile, "Data\\data3.prd");
    EXPECT_EQ(Fourth.LengthText, "710.4");
    const TTrackInfo& Sixth = C.FTracks[5];
    EXPECT_EQ(Sixth.ImageKey, "tr_track7");
    EXPECT_EQ(Sixth.LengthText, "992.4");
    EXPECT_EQ(Sixth.Laps, 5);
    EXPECT_EQ(Sixth.Opponents, 6);
    const TTrackInfo& Last = C.FTracks[11];
    EXPECT_EQ(Last.ImageKey, "tr_track9");
    EXPECT_EQ(Last.DataFile, "Data\\data10.prd");
    EXPECT_EQ(Last.LengthText, "856.2");
    EXPECT_EQ(Last.Laps, 8);
    EXPECT_EQ(Last.Opponents, 7);
    // The slots past the catalogue are empty but present (their best times are saved).
    for (int I = kTrackCount; I < kTrackSlots; ++I)
    {
        const TTrackInfo& T = C.FTracks[static_cast<std::size_t>(I)];
        EXPECT_TRUE(T.Name.empty());
        EXPECT_EQ(T.Available, 0);
        EXPECT_EQ(T.BestMinutes, 0);
    }
}

TEST(CatalogueTables, CarsHoldTheirHandlingValues)
{
    TCatalogues C;
    EXPECT_EQ(C.FCarMax, 4);
    EXPECT_EQ(C.FCarIndex, 0);
    struct TExpected
    {
        const char* Name;
        double TopSpeed, Acceleration, TurnRate, Grip;
    };
    const TExpected Rows[] = {{"Razzler", 9.0, 0.05, 0.5, 0.85},
                              {"Turbo", 8.5, 0.07, 0.38, 0.9},
                              {"Volcano", 9.5, 0.045, 0.42, 0.82},
                              {"Viper", 9.3, 0.04, 0.65, 0.8},
                              {"Beast", 10.0, 0.06, 0.45, 0.84}};
    for (std::size_t I = 0; I < C.FCars.size(); ++I)
    {
        const TCarInfo& Car = C.FCars[I];
        EXPECT_EQ(Car.Name, Rows[I].Name);
        EXPECT_EQ(Car.ImageKey, "c_car" + std::to_string(I + 1));
        EXPECT_EQ(Car.Available, 0);
        EXPECT_DOUBLE_EQ(Car.TopSpeed, Rows[I].TopSpeed);
        EXPECT_DOUBLE_EQ(Car.Acceleration, Rows[I].Acceleration);
        EXPECT_DOUBLE_EQ(Car.TurnRate, Rows[I].TurnRate);
        EXPECT_DOUBLE_EQ(Car.Grip, Rows[I].Grip);
    }
}

TEST(CatalogueTables, NewPlayerHasThreeTracksAndAllCars)
{
    TCatalogues C;
    EXPECT_EQ(C.NextUnlockScore, 300);
    EXPECT_EQ(C.FUnlockStep, 0);
    EXPECT_EQ(C.FTracksOpen, 3);
    EXPECT_EQ(C.FCarsOpen, 5);
    const std::array<std::int32_t, 9> Increments{400, 500, 1000, 500, 2000, 2000, 2500, 4000, 4500};
    EXPECT_EQ(C.FUnlockIncrements, Increments);
    C.SanitizeProgress();
    C.OpenAvailable();
    for (int I = 0; I < kTrackSlots; ++I)
        EXPECT_EQ(C.FTracks[static_cast<std::size_t>(I)].Available, I < 3 ? 1 : 0) << I;
    for (const TCarInfo& Car : C.FCars)
        EXPECT_EQ(Car.Available, 1);
}

TEST(BestTime, EqualOrEarlierStoredTimeStands)
{
    const TTrackInfo Track = TrackWithBest(1, 30, 50);
    EXPECT_TRUE(BestTimeStands(Time(1, 30, 50), Track));  // equal: not recorded
    EXPECT_TRUE(BestTimeStands(Time(1, 30, 51), Track));  // later by a hundredth
    EXPECT_TRUE(BestTimeStands(Time(1, 31, 0), Track));   // later by seconds
    EXPECT_TRUE(BestTimeStands(Time(2, 0, 0), Track));    // later by minutes
    EXPECT_FALSE(BestTimeStands(Time(1, 30, 49), Track)); // earlier by a hundredth
    EXPECT_FALSE(BestTimeStands(Time(1, 29, 99), Track)); // earlier seconds beat more hundredths
    EXPECT_FALSE(BestTimeStands(Time(0, 59, 99), Track)); // minutes compare first
    EXPECT_TRUE(BestTimeStands(Time(2, 0, 0), TrackWithBest(1, 59, 99)));
}

TEST(BestTime, NoTimeYetIsBeatenByAnyTime)
{
    const TTrackInfo Empty = TrackWithBest(kNoBestMinutes, 0, 0);
    EXPECT_FALSE(BestTimeStands(Time(0, 0, 0), Empty));
    EXPECT_FALSE(BestTimeStands(Time(999, 59, 99), Empty));
    EXPECT_FALSE(BestTimeStands(Time(5, 0, 0), TrackWithBest(1234, 10, 10)));
}

TEST(BestTime, UpdateCopiesOnlyABetterTime)
{
    TTrackInfo Track = TrackWithBest(kNoBestMinutes, 0, 0);
    EXPECT_TRUE(UpdateBestTime(Time(1, 5, 20), Track));
    EXPECT_EQ(Track.BestMinutes, 1);
    EXPECT_EQ(Track.BestSeconds, 5);
    EXPECT_EQ(Track.BestHundredths, 20);
    EXPECT_FALSE(UpdateBestTime(Time(1, 5, 20), Track));
    EXPECT_FALSE(UpdateBestTime(Time(1, 6, 0), Track));
    EXPECT_EQ(Track.BestSeconds, 5);
    EXPECT_TRUE(UpdateBestTime(Time(0, 58, 3), Track));
    EXPECT_EQ(Track.BestMinutes, 0);
    EXPECT_EQ(Track.BestSeconds, 58);
    EXPECT_EQ(Track.BestHundredths, 3);
}

TEST(BestTime, TimeTakenCountsInHundredths)
{
    // A limit of 1:60 is two minutes.
    TRaceTime T = TimeTaken(Time(1, 60, 0), Time(0, 30, 50));
    EXPECT_EQ(T.Minutes, 1);
    EXPECT_EQ(T.Seconds, 29);
    EXPECT_EQ(T.Hundredths, 50);
    T = TimeTaken(Time(1, 0, 0), Time(1, 0, 0));
    EXPECT_EQ(T.Minutes * 6000 + T.Seconds * 100 + T.Hundredths, 0);
    T = TimeTaken(Time(1, 0, 0), Time(2, 0, 0)); // clock left past the limit: no negative time
    EXPECT_EQ(T.Minutes * 6000 + T.Seconds * 100 + T.Hundredths, 0);
}

TEST(UnlockLadder, CheckUnlockNeedsTheThresholdCrossed)
{
    TCatalogues C;                                  // threshold 300, step 0 (two tracks)
    EXPECT_EQ(C.CheckUnlock(250, 50), urNothing);   // reaching it exactly is not past it
    EXPECT_EQ(C.CheckUnlock(250, 51), urTwoTracks); // past it
    EXPECT_EQ(C.CheckUnlock(299, 1000), urTwoTracks);
    EXPECT_EQ(C.CheckUnlock(300, 500), urNothing); // already at it before the gain
    EXPECT_EQ(C.CheckUnlock(400, 10), urNothing);
    EXPECT_EQ(C.CheckUnlock(250, 0), urNothing);
    // A huge gain must not wrap around.
    EXPECT_EQ(C.CheckUnlock(100, std::numeric_limits<std::int32_t>::max()), urTwoTracks);
}

TEST(UnlockLadder, StepsOpenInOrderAtTheirThresholds)
{
    TCatalogues C;
    C.FCarsOpen = 2; // fewer than the ladder's car counts, so the car rows show
    C.OpenAvailable();
    struct TStep
    {
        std::int32_t Threshold;
        TUnlockResult Check;
        std::int32_t TracksOpen, CarsOpen, Opened;
        bool IsCar;
    };
    const TStep Steps[] = {{300, urTwoTracks, 5, 2, 4, false},   {700, urOneEntry, 5, 3, 2, true},
                           {1200, urTwoTracks, 7, 3, 6, false},  {2200, urOneEntry, 7, 4, 3, true},
                           {2700, urTwoTracks, 9, 4, 8, false},  {4700, urOneEntry, 9, 5, 4, true},
                           {6700, urOneEntry, 10, 5, 9, false},  {9200, urOneEntry, 11, 5, 10, false},
                           {13200, urOneEntry, 12, 5, 11, false}};
    for (std::int32_t I = 0; I < 9; ++I)
    {
        const TStep& S = Steps[I];
        SCOPED_TRACE(I);
        EXPECT_EQ(C.FUnlockStep, I);
        EXPECT_EQ(C.NextUnlockScore, S.Threshold);
        EXPECT_EQ(C.CheckUnlock(S.Threshold - 1, 1), urNothing);
        EXPECT_EQ(C.CheckUnlock(S.Threshold - 1, 2), S.Check);
        if (S.IsCar)
            EXPECT_EQ(C.FCars[static_cast<std::size_t>(S.Opened)].Available, 0);
        else
            EXPECT_EQ(C.FTracks[static_cast<std::size_t>(S.Opened)].Available, 0);
        C.ApplyUnlockStep();
        EXPECT_EQ(C.FTracksOpen, S.TracksOpen);
        EXPECT_EQ(C.FCarsOpen, S.CarsOpen);
        if (S.IsCar)
            EXPECT_EQ(C.FCars[static_cast<std::size_t>(S.Opened)].Available, 1);
        else
            EXPECT_EQ(C.FTracks[static_cast<std::size_t>(S.Opened)].Available, 1);
    }
    // Every catalogue entry is open now, including the first track of each two-track step.
    for (const TTrackInfo& T : C.FTracks)
        EXPECT_EQ(T.Available, T.Name.empty() ? 0 : 1) << T.Name;
    for (const TCarInfo& Car : C.FCars)
        EXPECT_EQ(Car.Available, 1) << Car.Name;
    EXPECT_EQ(C.NextUnlockScore, 17700);
    EXPECT_EQ(C.FUnlockStep, 8);
}

TEST(UnlockLadder, AfterTheLastStepOnlyTheThresholdGrows)
{
    TCatalogues C;
    for (int I = 0; I < 9; ++I)
        C.ApplyUnlockStep();
    EXPECT_EQ(C.FUnlockStep, 8);
    EXPECT_EQ(C.NextUnlockScore, 17700);
    EXPECT_EQ(C.CheckUnlock(17699, 2), urOneEntry);
    C.ApplyUnlockStep();
    EXPECT_EQ(C.FUnlockStep, 8);
    EXPECT_EQ(C.NextUnlockScore, 22200);
    EXPECT_EQ(C.FTracksOpen, 12);
    EXPECT_EQ(C.FCarsOpen, 5);
    C.ApplyUnlockStep();
    EXPECT_EQ(C.NextUnlockScore, 26700);
}

TEST(UnlockLadder, CarStepNeverClosesAnOpenCar)
{
    TCatalogues C; // five cars open from the start
    C.OpenAvailable();
    C.ApplyUnlockStep(); // step 0: tracks
    C.ApplyUnlockStep(); // step 1: a car step that would set 3
    EXPECT_EQ(C.FCarsOpen, 5);
    C.ApplyUnlockStep();
    C.ApplyUnlockStep(); // step 3: would set 4
    EXPECT_EQ(C.FCarsOpen, 5);

    // The next start-up reads these values back: every car is still there.
    TCatalogues Restarted;
    Restarted.FCarsOpen = C.FCarsOpen;
    Restarted.FTracksOpen = C.FTracksOpen;
    Restarted.FUnlockStep = C.FUnlockStep;
    Restarted.NextUnlockScore = C.NextUnlockScore;
    Restarted.SanitizeProgress();
    Restarted.OpenAvailable();
    for (const TCarInfo& Car : Restarted.FCars)
        EXPECT_EQ(Car.Available, 1) << Car.Name;
    EXPECT_EQ(Restarted.FTracksOpen, 7);
    EXPECT_EQ(Restarted.FTracks[6].Available, 1);
    EXPECT_EQ(Restarted.FTracks[7].Available, 0);

    // A track step does not close tracks either.
    TCatalogues Ahead;
    Ahead.FTracksOpen = 9;
    Ahead.ApplyUnlockStep();
    EXPECT_EQ(Ahead.FTracksOpen, 9);
}

TEST(UnlockLadder, DamagedProgressIsBroughtIntoRange)
{
    TCatalogues C;
    C.FTracksOpen = 99;
    C.FCarsOpen = -4;
    C.FUnlockStep = 42;
    C.FTracks[2] = TrackWithBest(1, 75, 0);  // impossible seconds
    C.FTracks[4].BestMinutes = -3;           // negative minutes would stand forever
    C.FTracks[6] = TrackWithBest(0, 59, 99); // a real time is kept
    C.FTracks[20] = TrackWithBest(0, 0, 0);  // an empty slot's zeros are kept
    C.SanitizeProgress();
    EXPECT_EQ(C.FTracksOpen, 12);
    EXPECT_EQ(C.FCarsOpen, 5);
    EXPECT_EQ(C.FUnlockStep, 8);
    EXPECT_EQ(C.FTracks[2].BestMinutes, kNoBestMinutes);
    EXPECT_EQ(C.FTracks[2].BestSeconds, 0);
    EXPECT_EQ(C.FTracks[4].BestMinutes, kNoBestMinutes);
    EXPECT_EQ(C.FTracks[6].BestMinutes, 0);
    EXPECT_EQ(C.FTracks[6].BestSeconds, 59);
    EXPECT_EQ(C.FTracks[20].BestMinutes, 0);
    C.OpenAvailable();
    EXPECT_EQ(C.FTracks[11].Available, 1);
    EXPECT_EQ(C.FTracks[12].Available, 0);

    TCatalogues Low;
    Low.FTracksOpen = 0;
    Low.FUnlockStep = -7;
    Low.SanitizeProgress();
    EXPECT_EQ(Low.FTracksOpen, 3);
    EXPECT_EQ(Low.FUnlockStep, 0);

    // Unsanitised values still apply a real row instead of reading past the ladder.
    TCatalogues Raw;
    Raw.FUnlockStep = 1000;
    Raw.NextUnlockScore = std::numeric_limits<std::int32_t>::max() - 10;
    Raw.ApplyUnlockStep();
    EXPECT_EQ(Raw.FTracksOpen, 12);
    EXPECT_EQ(Raw.FUnlockStep, 8);
    EXPECT_EQ(Raw.NextUnlockScore, std::numeric_limits<std::int32_t>::max());
}

TEST(UnlockLadder, SelectionOutOfRangeReadsTheNearestEntry)
{
    TCatalogues C;
    C.FTrackIndex = 40;
    C.FCarIndex = -1;
    EXPECT_EQ(C.SelectedTrack().Name, "Track 12");
    EXPECT_EQ(C.SelectedCar().Name, "Razzler");
    // The last index a page may show is FTrackMax (FCarMax), itself kept inside the tables.
    C.FTrackMax = 2;
    EXPECT_EQ(C.ClampedTrackIndex(), 2);
    C.FTrackMax = 1000;
    EXPECT_EQ(C.ClampedTrackIndex(), kTrackSlots - 1);
    C.FCarIndex = 9;
    C.FCarMax = 3;
    EXPECT_EQ(C.ClampedCarIndex(), 3);
}

} // namespace
} // namespace vm
