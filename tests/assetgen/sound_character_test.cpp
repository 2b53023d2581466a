// The generated effects sound like what they stand for (pitch, direction, brightness, balance), and
// the generator is deterministic and reports write failures.
#include "assetgen/sound_test_wav.h"
#include "sound/sound_effects.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::vector<char> ReadBytes(const std::filesystem::path& Path)
{
    std::ifstream In(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

// A fresh, empty folder under the system's temporary folder, removed at the end of the test.
class TScratchFolder
{
public:
    explicit TScratchFolder(const std::string& Name)
        : FPath(std::filesystem::temp_directory_path() / (Name + "_" + std::to_string(getpid())))
    {
        std::filesystem::remove_all(FPath);
        std::filesystem::create_directories(FPath);
    }
    ~TScratchFolder()
    {
        std::error_code Ignored;
        std::filesystem::remove_all(FPath, Ignored);
    }
    const std::filesystem::path& Path() const { return FPath; }

private:
    std::filesystem::path FPath;
};

TEST(SoundCharacter, GreenLightBeepsAnOctaveAboveTheRedAndYellowAndLonger)
{
    const test::TWav Red = test::LoadEffect("svet1.wav");
    const test::TWav Green = test::LoadEffect("svet2.wav");
    ASSERT_TRUE(Red.Loaded && Green.Loaded);
    const double RedPitch =
        test::DominantFrequency(Red.Samples, test::At(0.05), test::At(0.2), 200.0, 3000.0);
    const double GreenPitch =
        test::DominantFrequency(Green.Samples, test::At(0.1), test::At(0.2), 200.0, 3000.0);
    EXPECT_NEAR(RedPitch, 660.0, 15.0);
    EXPECT_NEAR(GreenPitch / RedPitch, 2.0, 0.05);
    EXPECT_GT(Green.Seconds(), 1.5 * Red.Seconds());
}

TEST(SoundCharacter, ClicksAndTicksStayQuieterThanTheExplosion)
{
    const test::TWav Explosion = test::LoadEffect("exp.wav");
    ASSERT_TRUE(Explosion.Loaded);
    const double Boom = test::LoudestRms(Explosion.Samples, test::At(0.04));
    for (const char* File : {"check1.wav", "check2.wav", "time.wav"})
    {
        SCOPED_TRACE(File);
        const test::TWav Click = test::LoadEffect(File);
        ASSERT_TRUE(Click.Loaded);
        EXPECT_LT(test::LoudestRms(Click.Samples, test::At(0.04)), 0.7 * Boom);
    }
}

TEST(SoundCharacter, ConfirmClickIsBrighterThanBackClick)
{
    const test::TWav Back = test::LoadEffect("check1.wav");
    const test::TWav Confirm = test::LoadEffect("check2.wav");
    ASSERT_TRUE(Back.Loaded && Confirm.Loaded);
    EXPECT_GT(test::Centroid(Confirm.Samples, 0, Confirm.Samples.size()),
              1.5 * test::Centroid(Back.Samples, 0, Back.Samples.size()));
}

TEST(SoundCharacter, PitchMovesTheWayTheEventFeels)
{
    // Time's up falls.
    const test::TWav Buzzer = test::LoadEffect("timesup.wav");
    ASSERT_TRUE(Buzzer.Loaded);
    const double BuzzerEarly = test::DominantFrequency(Buzzer.Samples, 0, test::At(0.15), 60.0, 1000.0);
    const double BuzzerLate =
        test::DominantFrequency(Buzzer.Samples, test::At(0.85), test::At(0.15), 60.0, 1000.0);
    EXPECT_GT(BuzzerEarly, 1.5 * BuzzerLate);

    // The coin's second tone is higher than its first.
    const test::TWav Coin = test::LoadEffect("coin.wav");
    ASSERT_TRUE(Coin.Loaded);
    const double CoinFirst = test::DominantFrequency(Coin.Samples, 0, test::At(0.07), 300.0, 4000.0, 5.0);
    const double CoinSecond =
        test::DominantFrequency(Coin.Samples, test::At(0.1), test::At(0.15), 300.0, 4000.0, 5.0);
    EXPECT_GT(CoinSecond, 1.15 * CoinFirst);

    // Nitro rises: its sound gets brighter from start to end of the boost.
    const test::TWav Nitro = test::LoadEffect("nitro.wav");
    ASSERT_TRUE(Nitro.Loaded);
    EXPECT_GT(test::Centroid(Nitro.Samples, test::At(0.6), test::At(0.2)),
              1.3 * test::Centroid(Nitro.Samples, test::At(0.1), test::At(0.2)));
}

TEST(SoundCharacter, HornSoundsTwoTonesAThirdApart)
{
    const test::TWav Horn = test::LoadEffect("horn.wav");
    ASSERT_TRUE(Horn.Loaded);
    const std::size_t Begin = test::At(0.1);
    const std::size_t Count = test::At(0.3);
    const double First = test::DominantFrequency(Horn.Samples, Begin, Count, 250.0, 600.0);
    // The strongest tone at least a semitone away from the first.
    double Second = 0.0;
    double Best = 0.0;
    for (double Freq = 250.0; Freq <= 600.0; Freq += 2.0)
    {
        if (std::abs(Freq / First - 1.0) < 0.06)
            continue;
        const double Value = test::Strength(Horn.Samples, Begin, Count, Freq);
        if (Value > Best)
        {
            Best = Value;
            Second = Freq;
        }
    }
    const double Ratio = std::max(First, Second) / std::min(First, Second);
    EXPECT_GT(Ratio, 1.18); // between a minor third (1.19) and a major third (1.26)
    EXPECT_LT(Ratio, 1.28);
    EXPECT_GT(Best, 0.3 * test::Strength(Horn.Samples, Begin, Count, First));
}

TEST(SoundCharacter, HighRevsSoundHigherThanIdle)
{
    const test::TWav Idle = test::LoadEffect("s1.wav");
    const test::TWav High = test::LoadEffect("s2.wav");
    ASSERT_TRUE(Idle.Loaded && High.Loaded);
    const std::size_t Count = test::At(0.5);
    EXPECT_GT(test::Centroid(High.Samples, 0, Count), 2.0 * test::Centroid(Idle.Samples, 0, Count));
    EXPECT_LT(test::DominantFrequency(Idle.Samples, 0, Count, 20.0, 1000.0), 200.0);
}

TEST(SoundGenerator, WritesTheSameBytesEveryTime)
{
    TScratchFolder Folder("vm_sound_again");
    std::string Error;
    ASSERT_TRUE(vm::assetgen::WriteSoundEffects(Folder.Path(), Error)) << Error;
    for (const std::string& File : vm::assetgen::SoundEffectFiles())
    {
        SCOPED_TRACE(File);
        const std::vector<char> Again = ReadBytes(Folder.Path() / File);
        ASSERT_GT(Again.size(), 44u);
        EXPECT_TRUE(Again == ReadBytes(test::AssetPath("Sounds/" + File)));
        EXPECT_FALSE(std::filesystem::exists(Folder.Path() / (File + ".part")));
    }
}

TEST(SoundGenerator, ReportsAFolderItCannotWriteInto)
{
    std::string Error;
    EXPECT_FALSE(vm::assetgen::WriteSoundEffects("/nonexistent/velomarch/Sounds", Error));
    EXPECT_NE(Error.find("/nonexistent/velomarch/Sounds"), std::string::npos) << Error;

    // A folder in the way of one file: the write fails with that file's name and leaves no
    // half-written temporary behind.
    TScratchFolder Folder("vm_sound_blocked");
    std::filesystem::create_directories(Folder.Path() / "coin.wav" / "inside");
    Error.clear();
    EXPECT_FALSE(vm::assetgen::WriteSoundEffects(Folder.Path(), Error));
    EXPECT_NE(Error.find("coin.wav"), std::string::npos) << Error;
    EXPECT_FALSE(std::filesystem::exists(Folder.Path() / "coin.wav.part"));
    EXPECT_TRUE(std::filesystem::is_directory(Folder.Path() / "coin.wav" / "inside"));
}

} // namespace
