// The settings file, line by line: full screen, music, volume, the two names, the high-score
// rows, then the profiles.
#include "persist/settings_file.h"

#include "persist/safe_file.h"
#include "persist/stored_lines.h"

#include <algorithm>

namespace vm {

namespace {

constexpr std::size_t kFirstScoreLine = 6;
constexpr std::size_t kProfileCountLine = 26;
constexpr std::size_t kCurrentProfileLine = 27;
constexpr std::size_t kFirstProfileLine = 28;
constexpr std::size_t kMaxSettingsLines = kFirstProfileLine - 1 + 2 * kMaxProfiles;

const char* FlagText(bool On) { return On ? "true" : "false"; }

void LoadFlags(TStoredLineReader& Reader, TGameState& State)
{
    if (const auto Full = Reader.Text(1, "full screen"))
    {
        if (*Full == "true" || *Full == "false")
            State.FullScreenOn = State.FullScreenApplied = (*Full == "true");
        else
            Reader.Report(1, "full screen", "neither true nor false");
    }
    // Written unpadded: "true" (4 bytes) comes back as a zero byte and "true", "false" exactly.
    if (const auto Music = Reader.Text(2, "music", true))
    {
        if (*Music == "false")
            State.MusicOn = false;
        else if (*Music == "true" || *Music == std::string("\0true", 5))
            State.MusicOn = true;
        else
            Reader.Report(2, "music", "neither true nor false");
    }
}

void LoadHighScores(TStoredLineReader& Reader, THighScoreTable& Scores)
{
    // An empty value leaves the row as it is: an empty name (a player who never typed one) reads
    // back as the default name.
    for (int P = 1; P <= kHighScoreRows; ++P)
    {
        const std::size_t Line = kFirstScoreLine + 2 * static_cast<std::size_t>(P - 1);
        const std::string Row = "high score " + std::to_string(P);
        if (const auto Name = Reader.Text(Line, Row + " name"); Name && !Name->empty())
            Scores.Row(P).Name = *Name;
        if (const auto Score = Reader.Text(Line + 1, Row + " score"); Score && !Score->empty())
        {
            if (ParseStoredInt(*Score))
                Scores.Row(P).ScoreText = *Score;
            else
                Reader.Report(Line + 1, Row + " score", "not a whole number that fits in 32 bits");
        }
    }
}

// The number of profiles the file holds: its count line, or, when that line is damaged, the
// number of named profiles after the current profile's line (the game writes exactly a name and
// a tag for each, and never an empty name), so the profiles survive a damaged count. -1 when
// the file ends before the count.
std::int32_t StoredProfileCount(TStoredLineReader& Reader)
{
    if (Reader.LineCount() < kProfileCountLine)
    {
        Reader.Text(kProfileCountLine, "profile count"); // reports the early end once
        return -1;
    }
    if (const auto Text = Reader.Text(kProfileCountLine, "profile count"))
    {
        const std::int32_t Count = ParseStoredInt(*Text).value_or(-1);
        if (Count >= 0 && Count <= kMaxProfiles)
            return Count;
        Reader.Report(kProfileCountLine, "profile count", "not a number in 0..10",
                      "counting the profiles from the lines after it");
    }
    std::int32_t Count = 0;
    while (Count < kMaxProfiles)
    {
        const auto Name = Reader.Peek(kFirstProfileLine + 2 * static_cast<std::size_t>(Count));
        if (!Name || Name->empty())
            break;
        ++Count;
    }
    return Count;
}

void LoadProfiles(TStoredLineReader& Reader, TProfiles& Profiles)
{
    const std::int32_t Count = StoredProfileCount(Reader);
    const std::optional<std::int32_t> Current = Reader.Number(kCurrentProfileLine, "current profile");

    // A profile exists when its name line does; a damaged tag only loses the tag. With no count
    // (Count -1) the profiles keep their values.
    if (Count >= 0)
    {
        std::int32_t Loaded = 0;
        for (std::int32_t I = 0; I < Count; ++I)
        {
            const std::size_t Line = kFirstProfileLine + 2 * static_cast<std::size_t>(I);
            if (Line > Reader.LineCount())
            {
                Reader.Text(Line, "profile name"); // reports the early end once
                break;
            }
            const std::string Which = "profile " + std::to_string(I + 1);
            TProfile& Profile = Profiles.FProfiles[static_cast<std::size_t>(I)];
            if (const auto Name = Reader.Text(Line, Which + " name"))
                Profile.Name = *Name;
            if (const auto Tag = Reader.Number(Line + 1, Which + " tag"))
                Profile.ProfileTag = *Tag;
            Loaded = I + 1;
        }
        Profiles.FProfileCount = Loaded;
    }
    const std::int32_t Loaded = std::clamp(Profiles.FProfileCount, 0, kMaxProfiles);
    Profiles.FProfileCount = Loaded;

    // The current profile must be one of them (0 when there are none).
    if (Current)
    {
        if (*Current >= 0 && (*Current < Loaded || *Current == 0))
            Profiles.FCurrentProfile = *Current;
        else
            Reader.Report(kCurrentProfileLine, "current profile",
                          std::to_string(*Current) + " is not one of the " + std::to_string(Loaded) +
                              " profiles");
    }
    if (Profiles.FCurrentProfile < 0 || Profiles.FCurrentProfile >= std::max(Loaded, 1))
        Profiles.FCurrentProfile = 0;
    Profiles.FProfileCursor = Profiles.FCurrentProfile;
    Profiles.FProfileTag = Profiles.FProfiles[static_cast<std::size_t>(Profiles.FCurrentProfile)].ProfileTag;
}

} // namespace

bool SaveSettings(const std::string& Path, const TGameState& State, const THighScoreTable& Scores,
                  const TProfiles& Profiles, std::string& Error)
{
    std::string Content;
    AppendStoredLine(Content, FlagText(State.FullScreenOn), 10);
    AppendStoredLine(Content, FlagText(State.MusicOn), 0);
    AppendStoredLine(Content, std::to_string(State.VolumeLevel), 10);
    AppendStoredLine(Content, State.OnlineName, 5);
    AppendStoredLine(Content, State.PlayerName, 5);
    for (int P = 1; P <= kHighScoreRows; ++P)
    {
        AppendStoredLine(Content, Scores.Row(P).Name, 5);
        AppendStoredLine(Content, Scores.Row(P).ScoreText, 5);
    }
    const std::int32_t Count = std::clamp(Profiles.FProfileCount, 0, kMaxProfiles);
    AppendStoredLine(Content, std::to_string(Count), 10);
    AppendStoredLine(Content, std::to_string(Profiles.FCurrentProfile), 10);
    for (std::int32_t I = 0; I < Count; ++I)
    {
        const TProfile& Profile = Profiles.FProfiles[static_cast<std::size_t>(I)];
        AppendStoredLine(Content, Profile.Name, 10);
        AppendStoredLine(Content, std::to_string(Profile.ProfileTag), 10);
    }
    return WriteFileAtomically(Path, Content, Error);
}

void LoadSettings(const std::string& Path, TGameState& State, THighScoreTable& Scores, TProfiles& Profiles,
                  std::vector<std::string>& Problems)
{
    TStoredLineReader Reader(Path, kMaxSettingsLines, Problems);
    if (!Reader.Read())
        return;
    LoadFlags(Reader, State);
    if (const auto Volume = Reader.Number(3, "volume", 0, MaxVolumeLevel))
        State.VolumeLevel = *Volume;
    if (const auto Online = Reader.Text(4, "online name"))
        State.OnlineName = *Online;
    if (const auto Player = Reader.Text(5, "player name"))
        State.PlayerName = *Player;
    LoadHighScores(Reader, Scores);
    LoadProfiles(Reader, Profiles);
}

} // namespace vm
