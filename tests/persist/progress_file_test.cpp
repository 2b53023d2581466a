// Tests of the progress file: layout, round trips, defaults and damaged files.
#include "persist/progress_file.h"

#include "persist_fixture.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

struct TProgress
{
    std::int32_t Score = 0;
    TCatalogues Catalogues;
    std::vector<std::string> Problems;
};

// The stored values in file order (80 of them).
std::vector<std::int32_t> Snapshot(const TProgress& P)
{
    const TCatalogues& C = P.Catalogues;
    std::vector<std::int32_t> V{P.Score, C.FTracksOpen, C.FCarsOpen, C.NextUnlockScore, C.FUnlockStep};
    for (const TTrackInfo& T : C.FTracks)
    {
        V.push_back(T.BestHundredths);
        V.push_back(T.BestSeconds);
        V.push_back(T.BestMinutes);
    }
    return V;
}

// Progress unlike the defaults everywhere, with a distinct plausible best time on every entry.
TProgress Sample()
{
    TProgress P;
    P.Score = 123456789;
    P.Catalogues.FTracksOpen = 9;
    P.Catalogues.FCarsOpen = 5;
    P.Catalogues.NextUnlockScore = 4321;
    P.Catalogues.FUnlockStep = 6;
    for (std::size_t I = 0; I < P.Catalogues.FTracks.size(); ++I)
    {
        TTrackInfo& T = P.Catalogues.FTracks[I];
        T.BestHundredths = static_cast<std::int32_t>(I * 3 + 1);
        T.BestSeconds = static_cast<std::int32_t>(59 - I);
        T.BestMinutes = static_cast<std::int32_t>(I + 1);
    }
    return P;
}

TProgress Load(const std::string& Path)
{
    TProgress P;
    LoadProgress(Path, P.Score, P.Catalogues, P.Problems);
    return P;
}

void Save(const std::string& Path, const TProgress& P)
{
    std::string Error;
    ASSERT_TRUE(SaveProgress(Path, P.Score, P.Catalogues, Error)) << Error;
}

TEST(ProgressFile, WithoutAFileANewPlayerStarts)
{
    test::TTempDir Dir;
    TProgress P = Load(Dir.File("Configdat.cfg"));
    EXPECT_TRUE(P.Problems.empty());
    EXPECT_EQ(P.Score, 0);
    EXPECT_EQ(Snapshot(P), Snapshot(TProgress{}));
    P.Catalogues.OpenAvailable();
    int TracksOpen = 0, CarsOpen = 0;
    for (const TTrackInfo& T : P.Catalogues.FTracks)
        TracksOpen += T.Available;
    for (const TCarInfo& C : P.Catalogues.FCars)
        CarsOpen += C.Available;
    EXPECT_EQ(TracksOpen, 3);
    EXPECT_EQ(CarsOpen, 5);
}

TEST(ProgressFile, EveryValueAndAllBestTimesComeBack)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Configdat.cfg");
    const TProgress Saved = Sample();
    Save(Path, Saved);

    const std::vector<std::string> Lines = test::StoredLines(test::ReadBytes(Path));
    ASSERT_EQ(Lines.size(), 80u);
    EXPECT_EQ(test::DecodedLine(Lines, 1), "123456789%");
    EXPECT_EQ(test::DecodedLine(Lines, 2), "9%%%%");
    for (std::size_t L = 1; L <= Lines.size(); ++L)
        EXPECT_EQ(test::DecodedLine(Lines, L).size() % 5, 0u) << L;

    const TProgress Loaded = Load(Path);
    EXPECT_TRUE(Loaded.Problems.empty());
    EXPECT_EQ(Snapshot(Loaded), Snapshot(Saved));
}

TEST(ProgressFile, ExtremeAndOutOfRangeValues)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Configdat.cfg");
    TProgress Saved = Sample();
    Saved.Score = INT32_MIN; // no game writes one: gains stop at the limit
    Saved.Catalogues.NextUnlockScore = INT32_MAX;
    Save(Path, Saved);
    std::vector<std::string> Lines = test::StoredLines(test::ReadBytes(Path));
    Lines[1] = EncodeLine("99%%%");           // more tracks open than exist
    Lines[4] = EncodeLine("-3%%%");           // no such ladder step
    Lines[6] = EncodeLine("75%%%");           // track 1's best seconds
    Lines[8] = EncodeLine("2147483648%%%%%"); // track 2's hundredths past 32 bits
    test::WriteBytes(Path, test::JoinLines(Lines, Lines.size()));

    const TProgress Loaded = Load(Path);
    EXPECT_EQ(Loaded.Score, 0);
    EXPECT_EQ(Loaded.Catalogues.NextUnlockScore, INT32_MAX);
    EXPECT_EQ(Loaded.Catalogues.FTracksOpen, kTrackCount);
    EXPECT_EQ(Loaded.Catalogues.FUnlockStep, 0);
    EXPECT_EQ(Loaded.Catalogues.FTracks[0].BestMinutes, kNoBestMinutes); // 1:75.01 is no time
    EXPECT_EQ(Loaded.Catalogues.FTracks[1].BestMinutes, TCatalogues{}.FTracks[1].BestMinutes);
    EXPECT_EQ(Loaded.Catalogues.FTracks[2].BestMinutes, 3);
    // Only the negative score and the number that is no 32-bit number.
    ASSERT_EQ(Loaded.Problems.size(), 2u);
    EXPECT_NE(Loaded.Problems[0].find("line 1 (score): -2147483648 is outside 0..2147483647"),
              std::string::npos)
        << Loaded.Problems[0];

    // The score at its limit comes back; one past it is damage, and the score starts from 0.
    Saved.Score = INT32_MAX;
    Save(Path, Saved);
    EXPECT_EQ(Load(Path).Score, INT32_MAX);
    Lines = test::StoredLines(test::ReadBytes(Path));
    Lines[0] = EncodeLine("2147483648");
    test::WriteBytes(Path, test::JoinLines(Lines, Lines.size()));
    const TProgress Past = Load(Path);
    EXPECT_EQ(Past.Score, 0);
    ASSERT_EQ(Past.Problems.size(), 1u);
    EXPECT_NE(Past.Problems[0].find("line 1 (score)"), std::string::npos) << Past.Problems[0];
}

TEST(ProgressFile, AFileCutAfterAnyLineKeepsWholeTimesBeforeTheCut)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Configdat.cfg");
    const TProgress Saved = Sample();
    Save(Path, Saved);
    const std::vector<std::string> Lines = test::StoredLines(test::ReadBytes(Path));
    const std::vector<std::int32_t> Full = Snapshot(Saved);
    const std::vector<std::int32_t> Default = Snapshot(TProgress{});

    for (std::size_t Cut = 0; Cut < Lines.size(); ++Cut)
    {
        SCOPED_TRACE("cut after line " + std::to_string(Cut));
        test::WriteBytes(Path, test::JoinLines(Lines, Cut));
        const TProgress Loaded = Load(Path);
        const std::vector<std::int32_t> Got = Snapshot(Loaded);
        for (std::size_t L = 1; L <= 5; ++L)
        {
            // Sanitizing raises open counts below the defaults; a cut file never holds such.
            EXPECT_EQ(Got[L - 1], L <= Cut ? Full[L - 1] : Default[L - 1]) << "line " << L;
        }
        for (std::size_t Track = 0; Track < kTrackSlots; ++Track)
        {
            const std::size_t Last = 5 + 3 * Track + 3; // the track's minutes line
            for (std::size_t Part = 0; Part < 3; ++Part)
            {
                const std::size_t I = 5 + 3 * Track + Part;
                EXPECT_EQ(Got[I], Last <= Cut ? Full[I] : Default[I]) << "track " << Track;
            }
        }
        ASSERT_EQ(Loaded.Problems.size(), 1u);
        EXPECT_NE(Loaded.Problems[0].find(Cut == 0 ? "is empty" : "ends after line " + std::to_string(Cut)),
                  std::string::npos);
    }
}

TEST(ProgressFile, ADamagedLineLosesOnlyItsOwnValueOrTime)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Configdat.cfg");
    const TProgress Saved = Sample();
    Save(Path, Saved);
    const std::vector<std::string> Lines = test::StoredLines(test::ReadBytes(Path));
    const std::vector<std::int32_t> Full = Snapshot(Saved);
    const std::vector<std::int32_t> Default = Snapshot(TProgress{});

    for (const std::string& Damage :
         {std::string("garbage?"), std::string(5000, LineAlphabet[1]), EncodeLine("12x%%"), std::string("")})
    {
        for (std::size_t L = 1; L <= Lines.size(); ++L)
        {
            SCOPED_TRACE("line " + std::to_string(L) + " damaged with " + Damage.substr(0, 10));
            std::vector<std::string> Bad = Lines;
            Bad[L - 1] = Damage;
            test::WriteBytes(Path, test::JoinLines(Bad, Bad.size()));
            const TProgress Loaded = Load(Path);
            std::vector<std::int32_t> Expected = Full;
            if (L <= 5)
                Expected[L - 1] = Default[L - 1];
            else
            {
                const std::size_t First = 5 + 3 * ((L - 6) / 3); // the whole time keeps its default
                for (std::size_t I = First; I < First + 3; ++I)
                    Expected[I] = Default[I];
            }
            EXPECT_EQ(Snapshot(Loaded), Expected);
            ASSERT_EQ(Loaded.Problems.size(), 1u);
            EXPECT_NE(Loaded.Problems[0].find("line " + std::to_string(L) + " "), std::string::npos);
        }
    }
}

TEST(ProgressFile, ASaveThatFailsMidwayLeavesTheOldFileWhole)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Configdat.cfg");
    Save(Path, TProgress{});
    const std::string Before = test::ReadBytes(Path);
    const TProgress New = Sample();
    const int Result = test::RunWithFileSizeLimit(Before.size() / 2, [&] {
        std::string Error;
        return SaveProgress(Path, New.Score, New.Catalogues, Error) || Error.empty() ? 1 : 0;
    });
    EXPECT_EQ(Result, 0);
    EXPECT_EQ(test::ReadBytes(Path), Before);
}

} // namespace
} // namespace vm
