// The track and car catalogues, the unlock ladder that opens them, and the tracks' best times.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vm {

// One track entry. BestMinutes of kNoBestMinutes or more means no time has been recorded yet.
struct TTrackInfo
{
    std::string Name;
    std::string ImageKey; // preview picture on the track choice page
    std::string DataFile; // a label handed to the course generator; no such file is ever opened
    std::uint8_t Available = 0;
    std::int32_t BestHundredths = 0;
    std::int32_t BestSeconds = 0;
    std::int32_t BestMinutes = 0;
    std::string LengthText;     // shown after "Length:"
    std::int32_t Laps = 0;      // display only
    std::int32_t Opponents = 0; // display only: the race takes its count from the run difficulty
};

// One car entry; the car model copies the four handling values when a car of this type is set up.
struct TCarInfo
{
    std::string Name;
    std::string ImageKey; // "c_car1".."c_car5"
    std::uint8_t Available = 0;
    double TopSpeed = 0.0;
    double Acceleration = 0.0;
    double TurnRate = 0.0;
    double Grip = 0.0;
};

// A time on the race clock. Seconds may stand at 60 (a time limit can), so compare with care.
struct TRaceTime
{
    std::int32_t Hundredths = 0;
    std::int32_t Seconds = 0;
    std::int32_t Minutes = 0;
};

inline constexpr std::int32_t kNoBestMinutes = 1000;
inline constexpr std::int32_t kTrackCount = 12; // tracks in the catalogue
inline constexpr std::int32_t kTrackSlots = 25; // entries kept (and saved) in FTracks
inline constexpr std::int32_t kCarCount = 5;
inline constexpr std::int32_t kUnlockSteps = 9; // ladder rows 0..8
inline constexpr std::int32_t kDefaultTracksOpen = 3;
inline constexpr std::int32_t kDefaultCarsOpen = 5;
inline constexpr std::int32_t kFirstUnlockScore = 300;

// What TCatalogues::CheckUnlock reports about the step about to apply.
enum TUnlockResult : std::int32_t
{
    urNothing = 0,   // nothing to unlock
    urOneEntry = 1,  // any step but the two-track ones: one car, or one track (steps 6, 7, 8)
    urTwoTracks = 2, // the step opens two tracks (steps 0, 2, 4)
};

// True when the track's stored best time is earlier than or equal to NewTime (minutes, then
// seconds, then hundredths): the new time does not replace it. A track with no time never stands.
bool BestTimeStands(const TRaceTime& NewTime, const TTrackInfo& Track);

// The best-time update: copies NewTime into the track unless the stored best stands.
// Returns true when the time was recorded.
bool UpdateBestTime(const TRaceTime& NewTime, TTrackInfo& Track);

// Time driven = Limit - Left, both counted in hundredths (so a limit of 1:60 reads as 2:00).
// Never negative. This is the time to compare as a best time: shorter is better.
TRaceTime TimeTaken(const TRaceTime& Limit, const TRaceTime& Left);

// The catalogues and the unlock ladder; the game object owns one for the whole program.
// Construction does the start-up defaults (InitTracks, InitCars, SetProgressDefaults); the
// progress file may then overwrite the progress fields, after which SanitizeProgress and
// OpenAvailable are called once.
struct TCatalogues
{
    TCatalogues();

    std::int32_t FTrackMax = kTrackCount - 1;
    std::int32_t FTrackIndex = 0;
    std::array<TTrackInfo, kTrackSlots> FTracks{};
    std::int32_t FCarMax = kCarCount - 1;
    std::int32_t FCarIndex = 0;
    std::array<TCarInfo, kCarCount> FCars{};
    std::int32_t FTracksOpen = kDefaultTracksOpen;
    std::int32_t FCarsOpen = kDefaultCarsOpen;
    std::int32_t NextUnlockScore = kFirstUnlockScore;
    std::int32_t FUnlockStep = 0;
    std::array<std::int32_t, kUnlockSteps> FUnlockIncrements{};

    // Fills tracks 0..11 from the table, all closed and with no time; clears entries 12..24.
    void InitTracks();
    // Fills cars 0..4 from the table, all closed.
    void InitCars();
    // NextUnlockScore 300, step 0, the ladder's increments, 3 tracks and 5 cars open.
    // (Score is the caller's: it is cleared to 0 at the same time.)
    void SetProgressDefaults();

    // Brings loaded progress into range: the open counts between the start-up defaults and the
    // catalogue sizes, the step in 0..8, and any impossible best time back to "no time".
    void SanitizeProgress();
    // Marks cars 0..FCarsOpen-1 and tracks 0..FTracksOpen-1 available. Never closes anything.
    void OpenAvailable();

    // urNothing when ScoreBefore is already at or past NextUnlockScore, or ScoreBefore + Gain is not
    // past it; otherwise what the step about to apply opens.
    TUnlockResult CheckUnlock(std::int32_t ScoreBefore, std::int32_t Gain) const;
    // Applies the current ladder row, raises NextUnlockScore by that step's increment, and moves
    // to the next step unless at the last one.
    void ApplyUnlockStep();

    // The selected entries and their indices; an index out of range (past FTrackMax or FCarMax,
    // or past the tables) reads as the nearest valid one.
    TTrackInfo& SelectedTrack() { return FTracks[static_cast<std::size_t>(ClampedTrackIndex())]; }
    const TTrackInfo& SelectedTrack() const { return FTracks[static_cast<std::size_t>(ClampedTrackIndex())]; }
    const TCarInfo& SelectedCar() const { return FCars[static_cast<std::size_t>(ClampedCarIndex())]; }
    std::int32_t ClampedTrackIndex() const;
    std::int32_t ClampedCarIndex() const;
};

} // namespace vm
