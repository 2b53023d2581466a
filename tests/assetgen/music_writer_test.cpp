// The XM writer, the tune-writing helpers and the tone synthesis, checked on small modules.
#include "assetgen/music_xm_reader.h"
#include "music/instrument_bank.h"
#include "music/tune_writing.h"
#include "music/xm_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <unistd.h>

namespace {

using namespace vm::assetgen;

TXmModule SmallModule()
{
    TXmModule Module;
    Module.Name = "test";
    Module.Channels = 2;
    Module.Patterns.emplace_back(4, 2);
    Module.Orders = {0};
    TXmInstrument Instrument;
    Instrument.Name = "tone";
    Instrument.Sample.Data = {0, 32767, -32768, 100, -1, 0};
    Module.Instruments.push_back(Instrument);
    return Module;
}

bool WriteAndRead(const TXmModule& Module, test::TXmFile& File, std::string& Error)
{
    const std::filesystem::path Path =
        std::filesystem::temp_directory_path() / ("vm_xm_writer_" + std::to_string(::getpid()) + ".xm");
    const bool Ok = WriteXmFile(Module, Path, Error) && test::TXmReader::Read(Path.string(), File, Error);
    std::filesystem::remove(Path);
    return Ok;
}

TEST(XmWriter, PacksCellsAndDeltaEncodesSamples)
{
    TXmModule Module = SmallModule();
    Module.Patterns[0].At(0, 0) = {49, 1, 0, 0, 0};         // note and instrument only
    Module.Patterns[0].At(1, 1) = {60, 1, 0x30, 0x8, 0x40}; // every field: written unpacked
    Module.Patterns[0].At(3, 0) = {XmKeyOff, 0, 0, XmEffectPositionJump, 0};
    Module.Instruments[0].Sample.Loop = true;
    Module.Instruments[0].Sample.LoopStart = 1;
    Module.Instruments[0].Sample.LoopLength = 4;

    std::vector<std::uint8_t> Bytes;
    std::string Error;
    ASSERT_TRUE(SerializeXm(Module, Bytes, Error)) << Error;
    // The first pattern's data follows the 60 + 276-byte header and the 9-byte pattern header.
    const std::size_t Data = 60 + 276 + 9;
    const std::vector<std::uint8_t> FirstRows(Bytes.begin() + Data, Bytes.begin() + Data + 9);
    EXPECT_EQ(FirstRows, (std::vector<std::uint8_t>{0x83, 49, 1, 0x80, 0x80, 60, 1, 0x30, 0x8}));

    test::TXmFile File;
    ASSERT_TRUE(WriteAndRead(Module, File, Error)) << Error;
    EXPECT_EQ(File.Consumed, File.FileSize);
    EXPECT_EQ(File.At(0, 1, 1).Param, 0x40);
    EXPECT_EQ(File.At(0, 3, 0).Note, XmKeyOff);
    EXPECT_EQ(File.At(0, 3, 0).Effect, XmEffectPositionJump);
    EXPECT_EQ(File.At(0, 2, 0).Note, 0);
    ASSERT_EQ(File.Instruments.size(), 1u);
    EXPECT_EQ(File.Instruments[0].Data, Module.Instruments[0].Sample.Data); // extremes survive the deltas
    EXPECT_EQ(File.Instruments[0].LoopStart, 1u);
    EXPECT_EQ(File.Instruments[0].LoopLength, 4u);
    EXPECT_EQ(File.Instruments[0].Type, 0x11);
}

TEST(XmWriter, RefusesModulesOutsideTheFormat)
{
    std::vector<std::function<void(TXmModule&)>> Breakers = {
        [](TXmModule& M) { M.Orders = {1}; },
        [](TXmModule& M) { M.Orders.clear(); },
        [](TXmModule& M) { M.RestartPosition = 1; },
        [](TXmModule& M) { M.Channels = 33; },
        [](TXmModule& M) { M.Patterns.emplace_back(4, 3); },
        [](TXmModule& M) { M.Patterns[0].At(0, 0).Instrument = 2; },
        [](TXmModule& M) { M.Patterns[0].At(0, 0).Note = 98; },
        [](TXmModule& M) { M.Bpm = 20; },
        [](TXmModule& M) { M.Instruments[0].Sample.Data.clear(); },
        [](TXmModule& M) {
            M.Instruments[0].Sample.Loop = true;
            M.Instruments[0].Sample.LoopStart = 4;
            M.Instruments[0].Sample.LoopLength = 3;
        },
        [](TXmModule& M) { M.Instruments[0].VolumeEnvelope.Points.assign(13, {}); },
        [](TXmModule& M) {
            M.Instruments[0].VolumeEnvelope.Points = {{0, 64}, {0, 0}};
        },
        [](TXmModule& M) {
            M.Instruments[0].VolumeEnvelope.Points = {{0, 64}, {5, 65}};
        },
        [](TXmModule& M) {
            M.Instruments[0].VolumeEnvelope.Points = {{0, 64}, {5, 0}};
            M.Instruments[0].VolumeEnvelope.Sustain = 2;
        },
    };
    for (std::size_t I = 0; I < Breakers.size(); ++I)
    {
        TXmModule Module = SmallModule();
        Breakers[I](Module);
        std::vector<std::uint8_t> Bytes;
        std::string Error;
        EXPECT_FALSE(SerializeXm(Module, Bytes, Error)) << "case " << I;
        EXPECT_FALSE(Error.empty()) << "case " << I;
    }
}

TEST(XmWriter, TunesSampleRatesToCFour)
{
    TXmSample Sample;
    TuneSampleRate(Sample, 8363.0);
    EXPECT_EQ(Sample.RelativeNote, 0);
    EXPECT_EQ(Sample.Finetune, 0);
    TuneSampleRate(Sample, 16726.0);
    EXPECT_EQ(Sample.RelativeNote, 12);
    EXPECT_EQ(Sample.Finetune, 0);
    for (const double Rate : {22050.0, 261.6255653 * 64, 4000.0, 33487.0})
    {
        TuneSampleRate(Sample, Rate);
        const double Played = 8363.0 * std::pow(2.0, (Sample.RelativeNote + Sample.Finetune / 128.0) / 12.0);
        EXPECT_NEAR(1200.0 * std::log2(Played / Rate), 0.0, 0.5) << Rate; // within half a cent
    }
}

TEST(TuneWriting, NamesPhrasesAndEchoes)
{
    EXPECT_EQ(NoteNumber("C4"), 49);
    EXPECT_EQ(NoteNumber("A4"), 58);
    EXPECT_EQ(NoteNumber("C#4"), 50);
    EXPECT_EQ(NoteNumber("Db4"), 50);
    EXPECT_EQ(NoteNumber("B7"), 96);
    EXPECT_EQ(NoteNumber("C8"), 0);
    EXPECT_EQ(NoteNumber("H4"), 0);
    EXPECT_EQ(NoteNumber("C"), 0);
    EXPECT_EQ(NoteNumber("Cb0"), 0);

    TXmPattern Pattern(16, 4);
    std::string Error;
    TPatternWriter W(Pattern, Error);
    EXPECT_EQ(W.Phrase(0, 2, 0, "E4/4 r/2 G4@20/6 A4/4", 40, 12, 16), 16);
    EXPECT_TRUE(Error.empty()) << Error;
    EXPECT_EQ(Pattern.At(0, 0).Note, NoteNumber("E5"));
    EXPECT_EQ(Pattern.At(0, 0).Instrument, 2);
    EXPECT_EQ(Pattern.At(0, 0).Volume, 0x10 + 40);
    EXPECT_EQ(Pattern.At(4, 0).Note, XmKeyOff);
    EXPECT_EQ(Pattern.At(6, 0).Volume, 0x10 + 20);
    EXPECT_EQ(Pattern.At(12, 0).Note, NoteNumber("A5"));

    W.Echo(0, 1, 3, 10, 200);
    EXPECT_EQ(Pattern.At(3, 1).Note, NoteNumber("E5"));
    EXPECT_EQ(Pattern.At(3, 1).Volume, 0x10 + 10);
    EXPECT_EQ(Pattern.At(3, 1).Effect, XmEffectPanning);
    EXPECT_EQ(Pattern.At(3, 1).Param, 200);
    EXPECT_EQ(Pattern.At(7, 1).Note, XmKeyOff);
    EXPECT_EQ(Pattern.At(15, 1).Note, NoteNumber("A5"));
    W.Phrase(0, 2, 13, "r/3");
    W.Echo(0, 3, 4, 10, 0);
    EXPECT_EQ(Pattern.At(15, 3).Note, XmKeyOff); // a late release still silences the echo
    EXPECT_EQ(Pattern.At(14, 3).Note, 0);        // the note echoed past the pattern is dropped

    W.Hits(2, 1, 0, 8, "X.o-", 60);
    EXPECT_EQ(Pattern.At(4, 2).Volume, 0x10 + 60);
    EXPECT_EQ(Pattern.At(6, 2).Volume, 0x10 + 30);
    EXPECT_EQ(Pattern.At(7, 2).Volume, 0x10 + 20);
    EXPECT_EQ(Pattern.At(5, 2).Note, 0);

    W.Chord(1, 3, 8, {"C4", "E4", "G4"}, 4);
    EXPECT_EQ(Pattern.At(8, 3).Note, NoteNumber("G4"));
    EXPECT_EQ(Pattern.At(12, 3).Note, XmKeyOff);
    EXPECT_TRUE(Error.empty()) << Error;

    // Mistakes are reported, not written past the pattern.
    for (const char* Bad : {"E4/4 X4/4", "E4", "E4/0", "E4@x/2", "E4/10 F4/10 G4/2"})
    {
        std::string BadError;
        TPatternWriter Writer(Pattern, BadError);
        Writer.Phrase(0, 1, 0, Bad);
        EXPECT_FALSE(BadError.empty()) << Bad;
    }
    std::string LengthError;
    TPatternWriter(Pattern, LengthError).Phrase(0, 1, 0, "E4/4 F4/4", -1, 0, 16);
    EXPECT_FALSE(LengthError.empty());
}

TEST(InstrumentBank, TonesLoopOnWholeCyclesAtTheirPitch)
{
    TToneRecipe Sine;
    Sine.Period = 64;
    Sine.LoopCycles = 4;
    Sine.Harmonics = 1;
    Sine.Steady = [](int H) { return H == 1 ? 1.0 : 0.0; };
    const TXmSample Sample = SynthTone(Sine);
    ASSERT_TRUE(Sample.Loop);
    ASSERT_EQ(Sample.LoopLength, 256u);
    int Crossings = 0;
    for (std::size_t I = 0; I < Sample.LoopLength; ++I)
    {
        const int A = Sample.Data[Sample.LoopStart + I];
        const int B = Sample.Data[Sample.LoopStart + (I + 1) % Sample.LoopLength];
        Crossings += (A < 0) != (B < 0);
    }
    EXPECT_EQ(Crossings, 8); // four whole cycles, wrapping included
    // C-4 plays 64 frames per cycle at middle C.
    const double Played = 8363.0 * std::pow(2.0, (Sample.RelativeNote + Sample.Finetune / 128.0) / 12.0);
    EXPECT_NEAR(Played / 64.0, 261.63, 0.2);

    // An attack that fades into the loop leaves the loop itself periodic.
    TToneRecipe Pluck = Sine;
    Pluck.Harmonics = 8;
    Pluck.Attack = [](int H) { return 1.0 / H; };
    Pluck.AttackCycles = 3;
    Pluck.Detune = {0, 1};
    const TXmSample Plucked = SynthTone(Pluck);
    EXPECT_EQ(Plucked.LoopStart, 192u);
    EXPECT_EQ(Plucked.Data.size(), 192u + 256u);
}

TEST(InstrumentBank, EnvelopesFollowTheTempo)
{
    // At 125 BPM a tick lasts 20 ms.
    const TXmEnvelope Envelope = MakeEnvelope(125, {{0.0, 0}, {0.2, 64}, {0.2, 30}}, 1);
    ASSERT_EQ(Envelope.Points.size(), 3u);
    EXPECT_EQ(Envelope.Points[1].Tick, 10);
    EXPECT_EQ(Envelope.Points[2].Tick, 11); // ticks keep rising even for equal times
    EXPECT_EQ(Envelope.Sustain, 1);
    EXPECT_EQ(FadeoutFor(125, 1.0), 32768 / 50);
    EXPECT_EQ(FadeoutFor(125, 0.0), 0xFFF);
}

} // namespace
