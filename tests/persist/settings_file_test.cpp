// Tests of the settings file: its layout, round trips, defaults and damaged files.
#include "persist/settings_file.h"

#include "persist_fixture.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace vm {
namespace {

struct TSettings
{
    TGameState State;
    THighScoreTable Scores;
    TProfiles Profiles;
    std::vector<std::string> Problems;
};

// Every stored value by the line that holds it (47 entries: lines 1..27 and ten profiles), so a
// test can say "all as saved except line L".
std::vector<std::string> Snapshot(const TSettings& S)
{
    auto Flag = [](bool On) { return std::string(On ? "on" : "off"); };
    std::vector<std::string> V;
    V.push_back(Flag(S.State.FullScreenOn) + "/" + Flag(S.State.FullScreenApplied));
    V.push_back(Flag(S.State.MusicOn));
    V.push_back(std::to_string(S.State.VolumeLevel));
    V.push_back(S.State.OnlineName);
    V.push_back(S.State.PlayerName);
    for (int P = 1; P <= kHighScoreRows; ++P)
    {
        V.push_back(S.Scores.Row(P).Name);
        V.push_back(S.Scores.Row(P).ScoreText);
    }
    V.push_back(std::to_string(S.Profiles.FProfileCount));
    V.push_back(std::to_string(S.Profiles.FCurrentProfile));
    for (const TProfile& P : S.Profiles.FProfiles)
    {
        V.push_back(P.Name);
        V.push_back(std::to_string(P.ProfileTag));
    }
    return V;
}

// Settings unlike the defaults in every stored value.
TSettings Sample()
{
    TSettings S;
    S.State.FullScreenOn = S.State.FullScreenApplied = false;
    S.State.MusicOn = false;
    S.State.VolumeLevel = 4;
    S.State.OnlineName = "Zoë Ørsted";
    S.State.PlayerName = "Bo Lind";
    for (int P = 1; P <= kHighScoreRows; ++P)
        S.Scores.EnterHighScore("Racer " + std::to_string(P), 5000 - P);
    std::string Name;
    S.Profiles.AddProfile("Ann", Name);
    S.Profiles.AddProfile("Bo Lind", Name);
    S.Profiles.AddProfile("Čeněk", Name);
    S.Profiles.FProfiles[0].ProfileTag = -7;
    S.Profiles.FProfiles[1].ProfileTag = 123456;
    S.Profiles.FProfiles[2].ProfileTag = 9;
    S.Profiles.FProfileCursor = 1;
    S.Profiles.SelectProfile(Name);
    return S;
}

TSettings Load(const std::string& Path)
{
    TSettings S;
    LoadSettings(Path, S.State, S.Scores, S.Profiles, S.Problems);
    return S;
}

void Save(const std::string& Path, const TSettings& S)
{
    std::string Error;
    ASSERT_TRUE(SaveSettings(Path, S.State, S.Scores, S.Profiles, Error)) << Error;
}

std::size_t CountContaining(const std::vector<std::string>& Problems, const std::string& Part)
{
    return static_cast<std::size_t>(
        std::count_if(Problems.begin(), Problems.end(),
                      [&](const std::string& P) { return P.find(Part) != std::string::npos; }));
}

TEST(SettingsFile, WithoutAFileTheDefaultsStandSilently)
{
    test::TTempDir Dir;
    TSettings S = Load(Dir.File("Config.cfg"));
    EXPECT_TRUE(S.Problems.empty());
    EXPECT_TRUE(S.State.FullScreenOn);
    EXPECT_TRUE(S.State.FullScreenApplied);
    EXPECT_TRUE(S.State.MusicOn);
    EXPECT_EQ(S.State.VolumeLevel, 0);
    EXPECT_EQ(S.State.OnlineName, "");
    EXPECT_EQ(S.State.PlayerName, "");
    EXPECT_EQ(S.Profiles.FProfileCount, 0);
    EXPECT_EQ(S.Profiles.FCurrentProfile, 0);
    EXPECT_EQ(Snapshot(S), Snapshot(TSettings{}));
    EXPECT_EQ(S.Scores.Row(1).ScoreText, "1000");
}

TEST(SettingsFile, LinesArePaddedEncodedAndEndInCrLf)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Config.cfg");
    TSettings S;
    S.State.PlayerName = "Ann";
    std::string Name;
    S.Profiles.AddProfile("Ann", Name);
    Save(Path, S);

    const std::vector<std::string> Lines = test::StoredLines(test::ReadBytes(Path));
    ASSERT_EQ(Lines.size(), 29u);
    EXPECT_EQ(test::DecodedLine(Lines, 1), "true%%%%%%");
    EXPECT_EQ(Lines[1], EncodeLine("true")); // unpadded
    EXPECT_EQ(test::DecodedLine(Lines, 3), "0%%%%%%%%%");
    EXPECT_EQ(Lines[3], ""); // the empty online name
    EXPECT_EQ(test::DecodedLine(Lines, 5), "Ann%%");
    EXPECT_EQ(test::DecodedLine(Lines, 6), "Anonymous%");
    EXPECT_EQ(test::DecodedLine(Lines, 7), "1000%");
    EXPECT_EQ(test::DecodedLine(Lines, 25), "100%%");
    EXPECT_EQ(test::DecodedLine(Lines, 26), "1%%%%%%%%%");
    EXPECT_EQ(test::DecodedLine(Lines, 27), "0%%%%%%%%%");
    EXPECT_EQ(test::DecodedLine(Lines, 28), "Ann%%%%%%%");
    EXPECT_EQ(test::DecodedLine(Lines, 29), "0%%%%%%%%%");
    EXPECT_EQ(S.State.PlayerName, "Ann"); // the values in memory are not padded
}

TEST(SettingsFile, EverySettingComesBack)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Config.cfg");
    const TSettings Saved = Sample();
    Save(Path, Saved);
    const TSettings Loaded = Load(Path);
    EXPECT_TRUE(Loaded.Problems.empty()) << Loaded.Problems.front();
    EXPECT_EQ(Snapshot(Loaded), Snapshot(Saved));
    EXPECT_EQ(Loaded.Profiles.FCurrentProfile, 1);
    EXPECT_EQ(Loaded.Profiles.FProfileTag, 123456);
    EXPECT_FALSE(Loaded.State.MusicOn);
    EXPECT_FALSE(Loaded.State.FullScreenApplied);
}

TEST(SettingsFile, NamesOfAnyLengthWithBlanksInsideComeBack)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Config.cfg");
    for (int Length = 1; Length <= 12; ++Length)
    {
        std::string Name(static_cast<std::size_t>(Length), 'x');
        for (int I = 1; I + 1 < Length; I += 3)
            Name[static_cast<std::size_t>(I)] = ' ';
        TSettings S;
        std::string PlayerName;
        S.Profiles.AddProfile(Name, PlayerName);
        S.Profiles.AddProfile("Ünïcødé  ñ", PlayerName); // 10 characters, 15 bytes
        S.State.OnlineName = Name;
        Save(Path, S);
        const TSettings Loaded = Load(Path);
        EXPECT_TRUE(Loaded.Problems.empty());
        EXPECT_EQ(Loaded.Profiles.FProfiles[0].Name, Name) << Length;
        EXPECT_EQ(Loaded.Profiles.FProfiles[1].Name, "Ünïcødé  ñ");
        EXPECT_EQ(Loaded.State.OnlineName, Name);
    }
}

TEST(SettingsFile, FlagsReadAsStored)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Config.cfg");
    Save(Path, Sample());
    std::vector<std::string> Lines = test::StoredLines(test::ReadBytes(Path));

    // Music "true" written unpadded decodes with a zero byte in front and still reads as on.
    ASSERT_EQ(DecodeLine(EncodeLine("true")), std::string("\0true", 5));
    Lines[1] = EncodeLine("true");
    test::WriteBytes(Path, test::JoinLines(Lines, Lines.size()));
    TSettings S = Load(Path);
    EXPECT_TRUE(S.Problems.empty());
    EXPECT_TRUE(S.State.MusicOn);
    EXPECT_FALSE(S.State.FullScreenOn);

    // A line of five "%" is an empty value, not a name of "%".
    Lines[3] = EncodeLine("%%%%%");
    Lines[4] = EncodeLine("%%%%%%%%%%");
    Lines[0] = EncodeLine("true%%%%%%");
    test::WriteBytes(Path, test::JoinLines(Lines, Lines.size()));
    S.State.OnlineName = S.State.PlayerName = "before";
    LoadSettings(Path, S.State, S.Scores, S.Profiles, S.Problems);
    EXPECT_TRUE(S.Problems.empty());
    EXPECT_EQ(S.State.OnlineName, "");
    EXPECT_EQ(S.State.PlayerName, "");
    EXPECT_TRUE(S.State.FullScreenOn);
    EXPECT_TRUE(S.State.FullScreenApplied);
}

TEST(SettingsFile, AFileCutAfterAnyLineKeepsEverythingBeforeTheCut)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Config.cfg");
    const TSettings Saved = Sample();
    Save(Path, Saved);
    const std::vector<std::string> Lines = test::StoredLines(test::ReadBytes(Path));
    ASSERT_EQ(Lines.size(), 33u);
    const std::vector<std::string> Full = Snapshot(Saved);
    const std::vector<std::string> Default = Snapshot(TSettings{});

    for (std::size_t Cut = 0; Cut < Lines.size(); ++Cut)
    {
        SCOPED_TRACE("cut after line " + std::to_string(Cut));
        test::WriteBytes(Path, test::JoinLines(Lines, Cut));
        const TSettings Loaded = Load(Path);
        const std::vector<std::string> Got = Snapshot(Loaded);
        for (std::size_t L = 1; L <= 25; ++L)
            EXPECT_EQ(Got[L - 1], L <= Cut ? Full[L - 1] : Default[L - 1]) << "line " << L;
        // A profile is there when its name line is; the current one must be among them.
        const std::int32_t Present =
            Cut < 26 ? 0
                     : std::min<std::int32_t>(3, Cut >= 28 ? static_cast<std::int32_t>(Cut - 28) / 2 + 1 : 0);
        EXPECT_EQ(Loaded.Profiles.FProfileCount, Present);
        EXPECT_EQ(Loaded.Profiles.FCurrentProfile, Present >= 2 && Cut >= 27 ? 1 : 0);
        for (std::int32_t I = 0; I < Present; ++I)
            EXPECT_EQ(Got[27 + 2 * I], Full[27 + 2 * I]);
        EXPECT_EQ(CountContaining(Loaded.Problems, Cut == 0 ? "is empty" : "ends after line"), 1u);
        EXPECT_LE(Loaded.Problems.size(), 2u); // plus, maybe, the current profile that is gone
    }
}

TEST(SettingsFile, ADamagedLineLosesOnlyItsOwnValue)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Config.cfg");
    const TSettings Saved = Sample();
    Save(Path, Saved);
    const std::vector<std::string> Lines = test::StoredLines(test::ReadBytes(Path));
    const std::vector<std::string> Full = Snapshot(Saved);
    const std::vector<std::string> Default = Snapshot(TSettings{});
    const std::string LongLine(100000, LineAlphabet[3]);

    for (const std::string& Damage :
         {std::string("not encoded!"), LongLine, EncodeLine("x"), EncodeLine("maybe")})
    {
        for (std::size_t L = 1; L <= Lines.size(); ++L)
        {
            SCOPED_TRACE("line " + std::to_string(L) + " damaged with " + Damage.substr(0, 12));
            std::vector<std::string> Bad = Lines;
            Bad[L - 1] = Damage;
            test::WriteBytes(Path, test::JoinLines(Bad, Bad.size()));
            const TSettings Loaded = Load(Path);
            std::vector<std::string> Expected = Full;
            // "maybe" is a fine name or high-score name, so those lines take it.
            const bool TextTaken =
                Damage == EncodeLine("maybe") &&
                (L == 4 || L == 5 || (L >= 6 && L <= 24 && L % 2 == 0) || L == 28 || L == 30 || L == 32);
            if (TextTaken)
                Expected[L - 1] = "maybe";
            else if (L != 26) // a damaged profile count is recovered from the lines after it
                Expected[L - 1] = Default[L - 1];
            EXPECT_EQ(Snapshot(Loaded), Expected);
            EXPECT_EQ(Loaded.Problems.size(), TextTaken ? 0u : 1u);
            if (!TextTaken && !Loaded.Problems.empty())
            {
                EXPECT_NE(Loaded.Problems[0].find("line " + std::to_string(L) + " "), std::string::npos)
                    << Loaded.Problems[0];
            }
        }
    }
}

TEST(SettingsFile, OutOfRangeNumbersKeepTheDefaults)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Config.cfg");
    Save(Path, Sample());
    std::vector<std::string> Lines = test::StoredLines(test::ReadBytes(Path));
    Lines[2] = EncodeLine("6%%%%%%%%%");            // volume above 5
    Lines[6] = EncodeLine("1e3%%");                 // a high score that is no number
    Lines[25] = EncodeLine("11%%%%%%%%");           // more profiles than fit
    Lines[26] = EncodeLine("3%%%%%%%%%");           // a current profile that is not there
    Lines[28] = EncodeLine("99999999999%%%%%%%%%"); // a tag past 32 bits
    test::WriteBytes(Path, test::JoinLines(Lines, Lines.size()));
    const TSettings Loaded = Load(Path);
    EXPECT_EQ(Loaded.Problems.size(), 5u);
    EXPECT_EQ(Loaded.State.VolumeLevel, 0);
    EXPECT_EQ(Loaded.Scores.Row(1).ScoreText, "1000");
    EXPECT_EQ(Loaded.Scores.Row(1).Name, "Racer 1");
    EXPECT_EQ(Loaded.Profiles.FProfileCount, 3);
    EXPECT_EQ(Loaded.Profiles.FCurrentProfile, 0);
    EXPECT_EQ(Loaded.Profiles.FProfiles[0].ProfileTag, 0);
    EXPECT_EQ(Loaded.Profiles.FProfiles[2].Name, "Čeněk");
}

TEST(SettingsFile, HugeAndOddFilesLoadSafely)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Config.cfg");
    // One line of 5 MB, then a million empty lines, then bare LF line ends: none may crash or hang.
    test::WriteBytes(Path, std::string(5u << 20, LineAlphabet[0]));
    TSettings S = Load(Path);
    EXPECT_EQ(Snapshot(S), Snapshot(TSettings{}));
    EXPECT_FALSE(S.Problems.empty());

    test::WriteBytes(Path, std::string(1u << 21, '\n'));
    S = Load(Path);
    EXPECT_EQ(Snapshot(S), Snapshot(TSettings{}));
    EXPECT_FALSE(S.Problems.empty());

    Save(Path, Sample());
    std::string Bytes = test::ReadBytes(Path);
    Bytes.erase(std::remove(Bytes.begin(), Bytes.end(), '\r'), Bytes.end());
    test::WriteBytes(Path, Bytes);
    S = Load(Path);
    EXPECT_TRUE(S.Problems.empty());
    EXPECT_EQ(Snapshot(S), Snapshot(Sample()));

    // A folder in the file's place is reported, not read.
    std::filesystem::remove(Path);
    std::filesystem::create_directory(Path);
    S = Load(Path);
    EXPECT_EQ(S.Problems.size(), 1u);
    std::string Error;
    EXPECT_FALSE(SaveSettings(Path, S.State, S.Scores, S.Profiles, Error));
    EXPECT_FALSE(Error.empty());
}

TEST(SettingsFile, ASaveThatFailsMidwayLeavesTheOldFileWhole)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Config.cfg");
    TSettings Old;
    Old.State.VolumeLevel = 2;
    Save(Path, Old);
    const std::string Before = test::ReadBytes(Path);

    // Ten long profile names (as an older file may hold) make the new file far larger than the limit.
    TSettings New = Sample();
    New.Profiles.FProfileCount = kMaxProfiles;
    for (int I = 0; I < kMaxProfiles; ++I)
        New.Profiles.FProfiles[static_cast<std::size_t>(I)].Name =
            std::string(200, static_cast<char>('a' + I));
    const int Result = test::RunWithFileSizeLimit(Before.size() + 100, [&] {
        std::string Error;
        return SaveSettings(Path, New.State, New.Scores, New.Profiles, Error) || Error.empty() ? 1 : 0;
    });
    EXPECT_EQ(Result, 0);
    EXPECT_EQ(test::ReadBytes(Path), Before);
    EXPECT_EQ(Load(Path).State.VolumeLevel, 2);
}

} // namespace
} // namespace vm
