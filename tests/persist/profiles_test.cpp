// Tests of the player profiles: adding, choosing, deleting and index guards.
#include "persist/profiles.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

TProfiles ThreeProfiles(std::string& PlayerName)
{
    TProfiles P;
    EXPECT_TRUE(P.AddFirstProfile("Ann", PlayerName));
    EXPECT_TRUE(P.AddProfile("Bo", PlayerName));
    EXPECT_TRUE(P.AddProfile("Cy", PlayerName));
    return P;
}

TEST(Profiles, TrimmingRemovesOnlyBlanksAround)
{
    EXPECT_EQ(TProfiles::TrimBlanks("  Ann Lee  "), "Ann Lee");
    EXPECT_EQ(TProfiles::TrimBlanks("\tAnn\n"), "\tAnn\n");
    EXPECT_EQ(TProfiles::TrimBlanks(" \t "), "\t");
    EXPECT_EQ(TProfiles::TrimBlanks("    "), "");
    EXPECT_EQ(TProfiles::TrimBlanks(""), "");
}

TEST(Profiles, TheFirstProfileIsTrimmedAndBlankNamesAreRefused)
{
    TProfiles P;
    std::string PlayerName = "typed";
    EXPECT_FALSE(P.AddFirstProfile("", PlayerName));
    EXPECT_FALSE(P.AddFirstProfile("   ", PlayerName));
    EXPECT_EQ(P.FProfileCount, 0);
    EXPECT_EQ(PlayerName, "typed");

    EXPECT_TRUE(P.AddFirstProfile("  Ann  Lee  ", PlayerName));
    EXPECT_EQ(P.FProfileCount, 1);
    EXPECT_EQ(P.FCurrentProfile, 0);
    EXPECT_EQ(P.FProfiles[0].Name, "Ann  Lee");
    EXPECT_EQ(PlayerName, "Ann  Lee");
}

TEST(Profiles, TenProfilesFitAndTheEleventhIsRefused)
{
    TProfiles P;
    std::string PlayerName;
    EXPECT_FALSE(P.AddProfile("  ", PlayerName));
    for (int I = 0; I < kMaxProfiles; ++I)
    {
        ASSERT_TRUE(P.AddProfile("P" + std::to_string(I), PlayerName));
        EXPECT_EQ(P.FCurrentProfile, I);
        EXPECT_EQ(PlayerName, "P" + std::to_string(I));
    }
    EXPECT_FALSE(P.AddProfile("Eleven", PlayerName));
    EXPECT_EQ(P.FProfileCount, 10);
    EXPECT_EQ(PlayerName, "P9");
    EXPECT_EQ(P.FCurrentProfile, 9);
}

TEST(Profiles, SelectingCopiesNameAndTag)
{
    std::string PlayerName;
    TProfiles P = ThreeProfiles(PlayerName);
    P.FProfiles[1].ProfileTag = 77;
    P.FProfileCursor = 1;
    P.SelectProfile(PlayerName);
    EXPECT_EQ(P.FCurrentProfile, 1);
    EXPECT_EQ(PlayerName, "Bo");
    EXPECT_EQ(P.FProfileTag, 77);
}

TEST(Profiles, DeletingAnEarlierEntryKeepsTheCurrentPerson)
{
    std::string PlayerName;
    TProfiles P = ThreeProfiles(PlayerName);
    ASSERT_EQ(P.FCurrentProfile, 2);
    P.FProfiles[2].ProfileTag = 5;
    P.FProfileCursor = 0;
    P.DeleteProfile(PlayerName);
    EXPECT_EQ(P.FProfileCount, 2);
    EXPECT_EQ(P.FCurrentProfile, 1);
    EXPECT_EQ(PlayerName, "Cy");
    EXPECT_EQ(P.FProfileTag, 5);
    EXPECT_EQ(P.FProfiles[0].Name, "Bo");
    EXPECT_EQ(P.FProfiles[1].Name, "Cy");
    EXPECT_EQ(P.FProfiles[2].Name, "");
}

TEST(Profiles, DeletingTheCurrentEntryMakesTheNextOneCurrent)
{
    std::string PlayerName;
    TProfiles P = ThreeProfiles(PlayerName);
    P.FProfileCursor = 1;
    P.SelectProfile(PlayerName);
    P.DeleteProfile(PlayerName);
    EXPECT_EQ(P.FCurrentProfile, 1);
    EXPECT_EQ(PlayerName, "Cy");
}

TEST(Profiles, DeletingTheLastEntryMovesBackAndFreesTheSlot)
{
    std::string PlayerName;
    TProfiles P = ThreeProfiles(PlayerName);
    P.FProfileCursor = 2; // the current one
    P.DeleteProfile(PlayerName);
    EXPECT_EQ(P.FProfileCount, 2);
    EXPECT_EQ(P.FCurrentProfile, 1);
    EXPECT_EQ(P.FProfileCursor, 1);
    EXPECT_EQ(PlayerName, "Bo");
    EXPECT_EQ(P.FProfiles[2].Name, "");
    EXPECT_EQ(P.FProfiles[2].ProfileTag, 1);
    // A new profile takes the freed slot with the tag it holds.
    EXPECT_TRUE(P.AddProfile("Di", PlayerName));
    EXPECT_EQ(P.FProfiles[2].Name, "Di");
    EXPECT_EQ(P.FProfileTag, 1);
}

TEST(Profiles, DeletingTheOnlyProfileLeavesNone)
{
    TProfiles P;
    std::string PlayerName;
    ASSERT_TRUE(P.AddFirstProfile("Ann", PlayerName));
    P.DeleteProfile(PlayerName);
    EXPECT_EQ(P.FProfileCount, 0);
    EXPECT_EQ(P.FCurrentProfile, 0);
    EXPECT_EQ(PlayerName, "");
    P.DeleteProfile(PlayerName); // nothing left to delete
    EXPECT_EQ(P.FProfileCount, 0);
    P.SelectProfile(PlayerName);
    EXPECT_EQ(PlayerName, "");
}

TEST(Profiles, IndicesFromADamagedFileNeverReachPastTheArray)
{
    std::string PlayerName;
    TProfiles P = ThreeProfiles(PlayerName);
    P.FProfileCursor = 1000;
    P.SelectProfile(PlayerName);
    EXPECT_EQ(PlayerName, "Cy");

    P.FProfileCursor = -4;
    P.FCurrentProfile = 50;
    P.DeleteProfile(PlayerName); // deletes entry 0; the current index was clamped to 2 first
    EXPECT_EQ(P.FProfileCount, 2);
    EXPECT_EQ(PlayerName, "Cy");

    P.FProfileCount = 99;
    P.FProfileCursor = 99;
    EXPECT_FALSE(P.AddProfile("Full", PlayerName));
    P.DeleteProfile(PlayerName);
    EXPECT_EQ(P.FProfileCount, 9);
}

} // namespace
} // namespace vm
