// The generated music modules are well-formed XM files that loop forever and play long enough.
#include "assetgen/asset_test_support.h"
#include "assetgen/music_xm_reader.h"
#include "music/music_modules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <unistd.h>

namespace {

struct TTuneNeed
{
    const char* File;
    int MinBpm, MaxBpm;
    double MinLoopSeconds, MaxLoopSeconds; // one pass of the looping part
};

const TTuneNeed Tunes[] = {
    {"Sounds/1.xm", 100, 115, 60.0, 180.0}, // menu
    {"Sounds/2.xm", 140, 160, 60.0, 180.0}, // race
    {"Sounds/3.xm", 50, 100, 10.0, 20.0},   // lose
};

test::TXmFile ReadTune(const char* File)
{
    test::TXmFile Module;
    std::string Error;
    EXPECT_TRUE(test::TXmReader::Read(test::AssetPath(File), Module, Error)) << File << ": " << Error;
    return Module;
}

TEST(MusicModules, HeadersDescribeTheWholeFile)
{
    for (const TTuneNeed& Tune : Tunes)
    {
        SCOPED_TRACE(Tune.File);
        const test::TXmFile Module = ReadTune(Tune.File);
        EXPECT_EQ(Module.Magic, "Extended Module: ");
        EXPECT_EQ(Module.Version, 0x0104);
        EXPECT_EQ(Module.HeaderSize, 276);
        EXPECT_EQ(Module.Consumed, Module.FileSize) << "bytes after the last sample";
        EXPECT_LT(Module.FileSize, 1024u * 1024u);
        EXPECT_EQ(Module.Flags & 1, 1) << "linear frequency table";
        EXPECT_TRUE(Module.Channels >= 2 && Module.Channels <= 32 && Module.Channels % 2 == 0);
        EXPECT_GE(Module.Bpm, Tune.MinBpm);
        EXPECT_LE(Module.Bpm, Tune.MaxBpm);
        EXPECT_TRUE(Module.Speed >= 1 && Module.Speed < 0x20);
        ASSERT_EQ(static_cast<int>(Module.Orders.size()), Module.SongLength);
        ASSERT_GE(Module.SongLength, 1);
        EXPECT_LT(Module.Restart, Module.SongLength);
        EXPECT_EQ(static_cast<int>(Module.Patterns.size()), Module.PatternCount);
        EXPECT_EQ(static_cast<int>(Module.Instruments.size()), Module.InstrumentCount);
        std::set<int> Played;
        for (const int Order : Module.Orders)
        {
            ASSERT_LT(Order, Module.PatternCount);
            Played.insert(Order);
        }
        EXPECT_EQ(static_cast<int>(Played.size()), Module.PatternCount) << "a pattern is never played";
    }
}

// The last row jumps back to the restart position, so players loop inside the song instead of
// ending it; nothing else jumps or changes tempo, so every pass sounds and lasts the same.
TEST(MusicModules, LoopBackWithoutTempoJumpsAndPlayLongEnough)
{
    for (const TTuneNeed& Tune : Tunes)
    {
        SCOPED_TRACE(Tune.File);
        const test::TXmFile Module = ReadTune(Tune.File);
        ASSERT_FALSE(Module.Orders.empty());
        const int Last = Module.Orders.back();
        for (int Pattern = 0; Pattern < Module.PatternCount; ++Pattern)
            for (int Row = 0; Row < Module.Patterns[Pattern].Rows; ++Row)
                for (int Channel = 0; Channel < Module.Channels; ++Channel)
                {
                    const test::TXmReadCell& Cell = Module.At(Pattern, Row, Channel);
                    EXPECT_NE(Cell.Effect, 0xF) << "tempo change in pattern " << Pattern;
                    EXPECT_NE(Cell.Effect, 0xD) << "pattern break in pattern " << Pattern;
                    if (Cell.Effect == 0xB)
                    {
                        EXPECT_EQ(Pattern, Last);
                        EXPECT_EQ(Row, Module.Patterns[Pattern].Rows - 1);
                        EXPECT_EQ(Cell.Param, Module.Restart);
                    }
                }
        EXPECT_EQ(std::count(Module.Orders.begin(), Module.Orders.end(), Last), 1)
            << "the pattern that loops back must only end the song";
        bool Jumps = false;
        const int LastRow = Module.Patterns[Last].Rows - 1;
        for (int Channel = 0; Channel < Module.Channels; ++Channel)
            Jumps = Jumps || Module.At(Last, LastRow, Channel).Effect == 0xB;
        EXPECT_TRUE(Jumps) << "the song must loop back rather than end";

        const double Loop = test::XmSeconds(Module, Module.Restart, Module.SongLength);
        EXPECT_GE(Loop, Tune.MinLoopSeconds);
        EXPECT_LE(Loop, Tune.MaxLoopSeconds);
    }
}

TEST(MusicModules, EveryChannelAndInstrumentIsPlayed)
{
    for (const TTuneNeed& Tune : Tunes)
    {
        SCOPED_TRACE(Tune.File);
        const test::TXmFile Module = ReadTune(Tune.File);
        std::set<int> Channels;
        std::set<int> Instruments;
        for (int Pattern = 0; Pattern < Module.PatternCount; ++Pattern)
            for (int Row = 0; Row < Module.Patterns[Pattern].Rows; ++Row)
                for (int Channel = 0; Channel < Module.Channels; ++Channel)
                {
                    const test::TXmReadCell& Cell = Module.At(Pattern, Row, Channel);
                    ASSERT_LE(Cell.Note, 97);
                    ASSERT_LE(Cell.Instrument, Module.InstrumentCount);
                    if (Cell.Note >= 1 && Cell.Note <= 96)
                    {
                        ASSERT_GE(Cell.Instrument, 1) << "a note without its instrument";
                        Channels.insert(Channel);
                        Instruments.insert(Cell.Instrument);
                    }
                    if (Cell.Volume)
                    {
                        EXPECT_TRUE(Cell.Volume >= 0x10 && Cell.Volume <= 0x50)
                            << "volume column " << Cell.Volume;
                    }
                }
        EXPECT_EQ(static_cast<int>(Channels.size()), Module.Channels) << "a silent channel";
        EXPECT_EQ(static_cast<int>(Instruments.size()), Module.InstrumentCount) << "an unused instrument";
    }
}

// Samples have real level; loops join without a jump; sustained notes can be released and
// one-shots end near zero, so nothing clicks or drones.
TEST(MusicModules, SamplesLoopCleanlyAndRelease)
{
    for (const TTuneNeed& Tune : Tunes)
    {
        const test::TXmFile Module = ReadTune(Tune.File);
        for (const test::TXmReadInstrument& Instrument : Module.Instruments)
        {
            SCOPED_TRACE(std::string(Tune.File) + " " + Instrument.Name);
            const std::vector<std::int16_t>& Data = Instrument.Data;
            ASSERT_GE(Data.size(), 64u);
            int Peak = 0;
            for (const std::int16_t Frame : Data)
                Peak = std::max(Peak, std::abs(static_cast<int>(Frame)));
            EXPECT_GT(Peak, 16000);
            EXPECT_TRUE(Instrument.Volume > 0 && Instrument.Volume <= 64);
            if ((Instrument.Type & 3) == 0)
            {
                EXPECT_LT(std::abs(static_cast<int>(Data.back())), 200) << "one-shot ends with a click";
                continue;
            }
            EXPECT_EQ(Instrument.Type & 3, 1) << "forward loop";
            ASSERT_GE(Instrument.LoopLength, 64u);
            ASSERT_LE(Instrument.LoopStart + Instrument.LoopLength, Data.size());
            const std::size_t Start = Instrument.LoopStart;
            const std::size_t End = Start + Instrument.LoopLength;
            // Across the wrap the wave must bend no more than it does anywhere inside the loop.
            auto Bend = [](int Before, int At, int After) { return std::abs(After - 2 * At + Before); };
            int LargestBend = 0;
            for (std::size_t I = Start + 1; I + 1 < End; ++I)
                LargestBend = std::max(LargestBend, Bend(Data[I - 1], Data[I], Data[I + 1]));
            EXPECT_LE(Bend(Data[End - 2], Data[End - 1], Data[Start]), LargestBend + 64)
                << "the loop's end does not meet its start";
            EXPECT_LE(Bend(Data[End - 1], Data[Start], Data[Start + 1]), LargestBend + 64)
                << "the loop's end does not meet its start";
            // A looping sound needs an envelope that holds until release or fades out by itself.
            ASSERT_TRUE(Instrument.EnvelopeType & 1) << "looped sample without a volume envelope";
            ASSERT_GE(Instrument.EnvelopePoints, 2);
            const bool Sustains = (Instrument.EnvelopeType & 2) != 0;
            EXPECT_TRUE(Sustains || Instrument.Envelope.back().second == 0);
            if (Sustains)
            {
                EXPECT_GT(Instrument.Fadeout, 0) << "a released note would ring for ever";
            }
        }
    }
}

// The same sources give the same bytes: writing again matches what the build wrote.
TEST(MusicModules, GenerationIsDeterministic)
{
    const std::filesystem::path Dir =
        std::filesystem::temp_directory_path() / ("vm_music_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(Dir);
    std::string Error;
    ASSERT_TRUE(vm::assetgen::WriteMusicModules(Dir, Error)) << Error;
    for (const char* Name : {"1.xm", "2.xm", "3.xm"})
    {
        auto Slurp = [](const std::filesystem::path& Path) {
            std::ifstream Stream(Path, std::ios::binary);
            return std::vector<char>(std::istreambuf_iterator<char>(Stream), {});
        };
        const std::vector<char> Fresh = Slurp(Dir / Name);
        EXPECT_FALSE(Fresh.empty());
        EXPECT_TRUE(Fresh == Slurp(test::AssetPath(std::string("Sounds/") + Name))) << Name;
    }
    std::filesystem::remove_all(Dir);
}

} // namespace
