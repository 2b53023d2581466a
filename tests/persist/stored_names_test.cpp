// Tests of the names the game stores: the rule, and that what it takes comes back whole.
#include "persist/stored_names.h"

#include "common/player_name.h"
#include "persist/settings_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

struct TSettings
{
    TGameState State;
    THighScoreTable Scores;
    TProfiles Profiles;
    std::vector<std::string> Problems;
};

TSettings SavedAndLoaded(const TSettings& Saved, const std::string& Path)
{
    std::string Error;
    EXPECT_TRUE(SaveSettings(Path, Saved.State, Saved.Scores, Saved.Profiles, Error)) << Error;
    TSettings Loaded;
    LoadSettings(Path, Loaded.State, Loaded.Scores, Loaded.Profiles, Loaded.Problems);
    EXPECT_TRUE(Loaded.Problems.empty());
    return Loaded;
}

TEST(StoredNames, TheOnlineTablesRuleWithoutTheFilesPadding)
{
    EXPECT_EQ(StoredName("  Ann Lee  ", 1), "Ann Lee");
    EXPECT_FALSE(StoredName("   ", 1));
    EXPECT_EQ(StoredName("  ", 0), "");
    // Characters, not bytes: twelve two-byte letters fit, a thirteenth does not.
    EXPECT_EQ(StoredName("ЁжикВТуманеЪ", 1), "ЁжикВТуманеЪ");
    EXPECT_FALSE(StoredName("ЁжикВТуманеЪЫ", 1));
    for (const char* Bad : {"Ann%", "%%%", "a%b", "a|b", "a\tb", "a\x7F", "a\xC2\x85", "Te\xC3ster"})
        EXPECT_FALSE(StoredName(Bad, 1)) << Bad;
    // The score server takes every name the game stores; "%" is the game's own limit.
    EXPECT_TRUE(CleanName("a%b", 1, MaxNameCharacters));
}

TEST(StoredNames, EveryNameTheRuleTakesComesBackWholeFromTheSettingsFile)
{
    test::TTempDir Dir;
    // Characters of one to four bytes and blanks: names of every byte length's remainder against
    // the padding, each starting and ending in a different way.
    const std::string Pieces[] = {"a", "Ö", "€", "𝄞", " ", "Z", "-"};
    int Taken = 0;
    for (std::size_t Count = 1; Count <= MaxNameCharacters; ++Count)
        for (std::size_t Start = 0; Start < std::size(Pieces); ++Start)
        {
            std::string Name;
            for (std::size_t I = 0; I < Count; ++I)
                Name += Pieces[(Start + I) % std::size(Pieces)];
            SCOPED_TRACE(Name);
            TSettings Saved;
            std::string PlayerName;
            if (Name == " ")
            {
                EXPECT_FALSE(Saved.Profiles.AddProfile(Name, PlayerName));
                continue;
            }
            ASSERT_TRUE(Saved.Profiles.AddProfile(Name, PlayerName));
            ++Taken;
            Saved.State.PlayerName = PlayerName;
            Saved.State.OnlineName = PlayerName;
            const TSettings Loaded = SavedAndLoaded(Saved, Dir.File("Config.cfg"));
            EXPECT_EQ(Loaded.Profiles.FProfiles[0].Name, *StoredName(Name, 1));
            EXPECT_EQ(Loaded.State.PlayerName, PlayerName);
            EXPECT_EQ(Loaded.State.OnlineName, PlayerName);
        }
    EXPECT_EQ(Taken, 12 * 7 - 1);
}

TEST(StoredNames, NamesOfAnOlderFileThatBreakTheRuleAreKeptAsTheyWere)
{
    test::TTempDir Dir;
    TSettings Old;
    const std::string Names[] = {"a|b", "Bell\x07", "Twenty characters ok", "Te\xC3ster", "50%off"};
    for (std::size_t I = 0; I < std::size(Names); ++I)
        Old.Profiles.FProfiles[I].Name = Names[I];
    Old.Profiles.FProfileCount = static_cast<std::int32_t>(std::size(Names));
    Old.State.PlayerName = Names[0];
    Old.State.OnlineName = "on|line\x01 and far too long";

    // Read and written again as the game does at every save: nothing is lost on the way.
    const TSettings Once = SavedAndLoaded(Old, Dir.File("Config.cfg"));
    const TSettings Twice = SavedAndLoaded(Once, Dir.File("Config.cfg"));
    ASSERT_EQ(Twice.Profiles.FProfileCount, Old.Profiles.FProfileCount);
    for (std::size_t I = 0; I < std::size(Names); ++I)
        EXPECT_EQ(Twice.Profiles.FProfiles[I].Name, Names[I]);
    EXPECT_EQ(Twice.State.PlayerName, Names[0]);
    EXPECT_EQ(Twice.State.OnlineName, Old.State.OnlineName);
}

TEST(StoredNames, TheUsablePartOfAnOldNameLeavesOutWhatTheRuleRefusesAndKeepsTwelve)
{
    EXPECT_EQ(UsableNamePart("on|line\x01%"), "online");
    EXPECT_EQ(UsableNamePart("Te\xC3ster"), "Tester");
    EXPECT_EQ(UsableNamePart("ЁжикВТуманеЪЫЬ"), "ЁжикВТуманеЪ");
    EXPECT_EQ(UsableNamePart("Ann"), "Ann");
}

} // namespace
} // namespace vm
