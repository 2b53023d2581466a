// The track and car tables, the unlock ladder and the best-time rules.
#include "world/catalogue.h"

#include <algorithm>
#include <limits>

namespace vm {

namespace {

struct TTrackRow
{
    const char* Name;
    const char* ImageKey;
    const char* DataFile;
    const char* LengthText;
    std::int32_t Laps;
    std::int32_t Opponents;
};

// Display order is the name order; pictures and data labels deliberately do not follow the index.
constexpr std::array<TTrackRow, kTrackCount> kTrackRows{{
    {"Track 1", "tr_track3", "Data\\data4.prd", "540.4", 5, 4},
    {"Track 2", "tr_track12", "Data\\data13.prd", "662.7", 6, 4},
    {"Track 3", "tr_track4", "Data\\data5.prd", "470.3", 5, 5},
    {"Track 4", "tr_track1", "Data\\data3.prd", "710.4", 5, 5},
    {"Track 5", "tr_track11", "Data\\data12.prd", "785.1", 6, 6},
    {"Track 6", "tr_track7", "Data\\data8.prd", "992.4", 5, 6},
    {"Track 7", "tr_track6", "Data\\data7.prd", "692.4", 6, 7},
    {"Track 8", "tr_track5", "Data\\data6.prd", "643.2", 5, 7},
    {"Track 9", "tr_track8", "Data\\data9.prd", "812.8", 6, 7},
    {"Track 10", "tr_track2", "Data\\data2.prd", "910.4", 7, 7},
    {"Track 11", "tr_track10", "Data\\data11.prd", "952.7", 8, 7},
    {"Track 12", "tr_track9", "Data\\data10.prd", "856.2", 8, 7},
}};

struct TCarRow
{
    const char* Name;
    const char* ImageKey;
    double TopSpeed;
    double Acceleration;
    double TurnRate;
    double Grip;
};

constexpr std::array<TCarRow, kCarCount> kCarRows{{
    {"Razzler", "c_car1", 9.0, 0.05, 0.5, 0.85},
    {"Turbo", "c_car2", 8.5, 0.07, 0.38, 0.9},
    {"Volcano", "c_car3", 9.5, 0.045, 0.42, 0.82},
    {"Viper", "c_car4", 9.3, 0.04, 0.65, 0.8},
    {"Beast", "c_car5", 10.0, 0.06, 0.45, 0.84},
}};

constexpr std::array<std::int32_t, kUnlockSteps> kUnlockIncrements{400,  500,  1000, 500, 2000,
                                                                   2000, 2500, 4000, 4500};

// One ladder row: opens entries First..Last of the tracks or the cars and raises the open count
// to OpenCount.
struct TUnlockRow
{
    bool IsCar;
    std::int32_t OpenCount;
    std::int32_t First;
    std::int32_t Last;
};

constexpr std::array<TUnlockRow, kUnlockSteps> kUnlockLadder{{
    {false, 5, 3, 4},
    {true, 3, 2, 2},
    {false, 7, 5, 6},
    {true, 4, 3, 3},
    {false, 9, 7, 8},
    {true, 5, 4, 4},
    {false, 10, 9, 9},
    {false, 11, 10, 10},
    {false, 12, 11, 11},
}};

constexpr std::int32_t kLastUnlockStep = kUnlockSteps - 1;

std::int64_t TotalHundredths(const TRaceTime& Time)
{
    return (static_cast<std::int64_t>(Time.Minutes) * 60 + Time.Seconds) * 100 + Time.Hundredths;
}

bool IsPlausibleBest(const TTrackInfo& Track)
{
    return Track.BestMinutes >= 0 && Track.BestSeconds >= 0 && Track.BestSeconds <= 59 &&
           Track.BestHundredths >= 0 && Track.BestHundredths <= 99;
}

} // namespace

bool BestTimeStands(const TRaceTime& NewTime, const TTrackInfo& Track)
{
    // No time recorded yet: any finishing time beats it.
    if (Track.BestMinutes >= kNoBestMinutes)
        return false;
    if (Track.BestMinutes != NewTime.Minutes)
        return Track.BestMinutes < NewTime.Minutes;
    if (Track.BestSeconds != NewTime.Seconds)
        return Track.BestSeconds < NewTime.Seconds;
    return Track.BestHundredths <= NewTime.Hundredths;
}

bool UpdateBestTime(const TRaceTime& NewTime, TTrackInfo& Track)
{
    if (BestTimeStands(NewTime, Track))
        return false;
    Track.BestHundredths = NewTime.Hundredths;
    Track.BestSeconds = NewTime.Seconds;
    Track.BestMinutes = NewTime.Minutes;
    return true;
}

TRaceTime TimeTaken(const TRaceTime& Limit, const TRaceTime& Left)
{
    // The clock left is never more than the limit in play; clamp so a stray value gives 0:00:00.
    const std::int64_t Taken = std::max<std::int64_t>(0, TotalHundredths(Limit) - TotalHundredths(Left));
    TRaceTime Result;
    Result.Hundredths = static_cast<std::int32_t>(Taken % 100);
    Result.Seconds = static_cast<std::int32_t>(Taken / 100 % 60);
    Result.Minutes = static_cast<std::int32_t>(
        std::min<std::int64_t>(Taken / 6000, std::numeric_limits<std::int32_t>::max()));
    return Result;
}

TCatalogues::TCatalogues()
{
    InitTracks();
    InitCars();
    SetProgressDefaults();
}

void TCatalogues::InitTracks()
{
    FTrackMax = kTrackCount - 1;
    FTrackIndex = 0;
    for (std::size_t I = 0; I < FTracks.size(); ++I)
    {
        TTrackInfo Entry;
        if (I < kTrackRows.size())
        {
            const TTrackRow& Row = kTrackRows[I];
            Entry.Name = Row.Name;
            Entry.ImageKey = Row.ImageKey;
            Entry.DataFile = Row.DataFile;
            Entry.LengthText = Row.LengthText;
            Entry.Laps = Row.Laps;
            Entry.Opponents = Row.Opponents;
            Entry.BestMinutes = kNoBestMinutes;
        }
        // Entries past the catalogue stay empty (best time 0:00:00) but are still saved and loaded.
        FTracks[I] = Entry;
    }
}

void TCatalogues::InitCars()
{
    FCarIndex = 0;
    FCarMax = kCarCount - 1;
    for (std::size_t I = 0; I < FCars.size(); ++I)
    {
        const TCarRow& Row = kCarRows[I];
        FCars[I] =
            TCarInfo{Row.Name, Row.ImageKey, 0, Row.TopSpeed, Row.Acceleration, Row.TurnRate, Row.Grip};
    }
}

void TCatalogues::SetProgressDefaults()
{
    NextUnlockScore = kFirstUnlockScore;
    FUnlockStep = 0;
    FUnlockIncrements = kUnlockIncrements;
    FTracksOpen = kDefaultTracksOpen;
    FCarsOpen = kDefaultCarsOpen;
}

void TCatalogues::SanitizeProgress()
{
    // A damaged progress file must not leave the player with less than a new player has, nor
    // index past the tables. Open counts below the defaults are never written by the game itself
    // (the ladder only raises them), so raising them loses nothing.
    FTracksOpen = std::clamp(FTracksOpen, kDefaultTracksOpen, kTrackCount);
    FCarsOpen = std::clamp(FCarsOpen, kDefaultCarsOpen, kCarCount);
    FUnlockStep = std::clamp(FUnlockStep, 0, kLastUnlockStep);
    for (TTrackInfo& Track : FTracks)
    {
        if (!IsPlausibleBest(Track))
        {
            Track.BestHundredths = 0;
            Track.BestSeconds = 0;
            Track.BestMinutes = kNoBestMinutes;
        }
    }
}

void TCatalogues::OpenAvailable()
{
    const std::int32_t Cars = std::clamp(FCarsOpen, 0, kCarCount);
    for (std::int32_t I = 0; I < Cars; ++I)
        FCars[static_cast<std::size_t>(I)].Available = 1;
    const std::int32_t Tracks = std::clamp(FTracksOpen, 0, kTrackCount);
    for (std::int32_t I = 0; I < Tracks; ++I)
        FTracks[static_cast<std::size_t>(I)].Available = 1;
}

TUnlockResult TCatalogues::CheckUnlock(std::int32_t ScoreBefore, std::int32_t Gain) const
{
    // Summed in 64 bits: a huge loaded score must not overflow.
    const std::int64_t After = static_cast<std::int64_t>(ScoreBefore) + Gain;
    if (ScoreBefore >= NextUnlockScore || After <= NextUnlockScore)
        return urNothing;
    return (FUnlockStep == 0 || FUnlockStep == 2 || FUnlockStep == 4) ? urTwoTracks : urOneEntry;
}

void TCatalogues::ApplyUnlockStep()
{
    // A step read from a damaged file still picks a real row.
    const std::int32_t Step = std::clamp(FUnlockStep, 0, kLastUnlockStep);
    const TUnlockRow& Row = kUnlockLadder[static_cast<std::size_t>(Step)];
    // A step only ever opens: it keeps the larger of its count and what is open already, so a car
    // step (3, 4, 5 against the start-up 5) never closes a car at the next start. Tracks follow
    // the same rule, which changes nothing on the ladder's own path.
    if (Row.IsCar)
    {
        FCarsOpen = std::max(FCarsOpen, Row.OpenCount);
        for (std::int32_t I = Row.First; I <= Row.Last; ++I)
            FCars[static_cast<std::size_t>(I)].Available = 1;
    }
    else
    {
        FTracksOpen = std::max(FTracksOpen, Row.OpenCount);
        for (std::int32_t I = Row.First; I <= Row.Last; ++I)
            FTracks[static_cast<std::size_t>(I)].Available = 1;
    }
    // Saturating add: past the last step the threshold keeps growing by the last increment.
    const std::int64_t Next =
        static_cast<std::int64_t>(NextUnlockScore) + FUnlockIncrements[static_cast<std::size_t>(Step)];
    NextUnlockScore =
        static_cast<std::int32_t>(std::min<std::int64_t>(Next, std::numeric_limits<std::int32_t>::max()));
    FUnlockStep = std::min(Step + 1, kLastUnlockStep);
}

std::int32_t TCatalogues::ClampedTrackIndex() const
{
    return std::clamp(FTrackIndex, 0, std::clamp(FTrackMax, 0, kTrackSlots - 1));
}

std::int32_t TCatalogues::ClampedCarIndex() const
{
    return std::clamp(FCarIndex, 0, std::clamp(FCarMax, 0, kCarCount - 1));
}

} // namespace vm
