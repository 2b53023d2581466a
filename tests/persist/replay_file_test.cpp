// Tests that a recording reads back as written, whole or cut short, and that damage is refused.
#include "persist/replay_codes.h"
#include "persist/replay_reader.h"
#include "persist/replay_writer.h"

#include "persist_fixture.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace vm {
namespace {

namespace fs = std::filesystem;

TReplayHeader SampleHeader()
{
    TReplayHeader H;
    H.GameVersion = "9.8.7";
    H.GameRevision = "abc123";
    H.RngState = 0x0123456789ABCDEFull;
    H.CarIndex = 2;
    H.TrackIndex = 5;
    H.CarMax = 4;
    H.TrackMax = 11;
    H.TracksOpen = 6;
    H.CarsOpen = 5;
    H.NextUnlockScore = 4500;
    H.UnlockStep = 3;
    H.UnlockIncrements = {300, 600, -1};
    H.Tracks = {{1, 1, 59, 99}, {0, 1000, 0, 0}};
    H.CarsAvailable = {1, 1, 0};
    H.MusicOn = false;
    H.VolumeLevel = 4;
    H.PlayerName = "Zoë";
    H.OnlineName = "zo";
    H.Bindings = {{{38, 87}, {16}}, {{40}, {}}};
    H.Rumble = false;
    H.KeysHeld = {13};
    H.KeysReleased = {27, 255};
    H.PadHeld = {0, 1};
    H.PadReleased = {1, 0};
    H.MouseX = 400;
    H.MouseY = -3;
    H.MouseDown = true;
    H.LastInputPad = true;
    H.PadPressed = 17;
    H.TypedText = "ab";
    H.StateTicks = 7;
    H.CaretTicks = -2;
    TReplayPad Pad;
    Pad.Pad = 3;
    Pad.Axes = {1, -32768, 32767, 0, 5, 6};
    Pad.Held = {0, 16};
    Pad.PageKeys = {{0, 38}};
    H.Pads = {Pad};
    return H;
}

// A run of every kind of call over several chunks: steady frames, events between the race-clock
// steps and the frame, and frames with no step.
std::vector<std::pair<TReplayEvent, std::string>> SampleCalls()
{
    std::vector<std::pair<TReplayEvent, std::string>> Calls;
    const auto Add = [&](TReplayEventKind Kind, int A = 0, int B = 0, int C = 0, std::string Text = {}) {
        Calls.push_back({{Kind, 0, A, B, C}, std::move(Text)});
    };
    using K = TReplayEventKind;
    for (int F = 0; F < 100; ++F)
    {
        for (int I = 0; I < (F % 9 == 8 ? 2 : 1); ++I)
            Add(K::RaceInterval);
        switch (F)
        {
        case 3: Add(K::KeyDown, 38); break;
        case 4: Add(K::KeyUp, -5); break;
        case 8: Add(K::KeyDown, 37); break; // two race-clock steps before it
        case 10: Add(K::MouseMove, 799, 0); break;
        case 11: Add(K::MouseButton, 12, 600, 1); break;
        case 12: Add(K::MouseButton, 12, 600, 0); break;
        case 20: Add(K::Text, 0, 0, 0, std::string("é\0x", 4)); break;
        case 30: Add(K::PadAdded, 1); break;
        case 31: Add(K::PadButton, 1, 14, 1); break;
        case 32: Add(K::PadAxis, 1, 5, -32768); break;
        case 33: Add(K::PadRemoved, 1); break;
        case 40: Add(K::Focus, 0, 0, 0); break;
        case 41: Add(K::Focus, 1, 0, 0); break;
        case 50:
            for (int I = 0; I < 40; ++I)
                Add(K::RaceInterval);
            break;
        default: break;
        }
        Add(K::Frame);
    }
    Add(K::KeyDown, 13); // the call that ends the run, after the last frame
    return Calls;
}

std::string Record(const std::string& Path, const TReplayEnd* End, int ChunkFrames = 7)
{
    TReplayWriter Writer(ChunkFrames);
    std::string Error;
    EXPECT_TRUE(Writer.Open(Path, SampleHeader(), Error)) << Error;
    for (const auto& [Event, Text] : SampleCalls())
        Writer.Add(Event, Text);
    EXPECT_TRUE(Writer.Finish(End, Error)) << Error;
    return test::ReadBytes(Path);
}

TReplayEnd SampleEnd()
{
    TReplayEnd End;
    End.Frames = 100;
    End.Score = 12345;
    End.Lives = -1;
    End.RaceNumber = 4;
    End.ScreenState = 8;
    End.PlayerName = "Zoë";
    return End;
}

// The calls as the reader gives them back, with the text in place of its index.
std::vector<std::pair<TReplayEvent, std::string>> CallsOf(const TReplay& Replay)
{
    std::vector<std::pair<TReplayEvent, std::string>> Calls;
    for (TReplayEvent Event : Replay.Events)
    {
        std::string Text;
        if (Event.Kind == TReplayEventKind::Text)
        {
            Text = Replay.Texts.at(static_cast<std::size_t>(Event.A));
            Event.A = 0;
        }
        Calls.push_back({Event, Text});
    }
    return Calls;
}

void ExpectSameCalls(const std::vector<std::pair<TReplayEvent, std::string>>& Read,
                     const std::vector<std::pair<TReplayEvent, std::string>>& Written)
{
    ASSERT_LE(Read.size(), Written.size());
    for (std::size_t I = 0; I < Read.size(); ++I)
    {
        const auto& [R, RText] = Read[I];
        const auto& [W, WText] = Written[I];
        ASSERT_EQ(static_cast<int>(R.Kind), static_cast<int>(W.Kind)) << "call " << I;
        EXPECT_EQ(R.A, W.A) << "call " << I;
        EXPECT_EQ(R.B, W.B) << "call " << I;
        EXPECT_EQ(R.C, W.C) << "call " << I;
        EXPECT_EQ(RText, WText) << "call " << I;
    }
}

TEST(ReplayFile, ReadsBackWhatWasWritten)
{
    test::TTempDir Dir;
    const TReplayEnd End = SampleEnd();
    const std::string Bytes = Record(Dir.File("run.vmr"), &End);
    EXPECT_FALSE(fs::exists(Dir.File("run.vmr.part")));
    TReplay Replay;
    std::string Error;
    ASSERT_TRUE(ReadReplay(Bytes, Replay, Error)) << Error;
    EXPECT_TRUE(Replay.Finished);
    EXPECT_EQ(Replay.Frames, 100);
    const auto Written = SampleCalls();
    ASSERT_EQ(Replay.Events.size(), Written.size());
    ExpectSameCalls(CallsOf(Replay), Written);
    // Each call carries the number of frames before it.
    int Frames = 0;
    for (const TReplayEvent& Event : Replay.Events)
    {
        EXPECT_EQ(Event.Frame, Frames);
        Frames += Event.Kind == TReplayEventKind::Frame ? 1 : 0;
    }
    const TReplayHeader H = SampleHeader();
    const TReplayHeader& R = Replay.Header;
    EXPECT_EQ(R.GameVersion, H.GameVersion);
    EXPECT_EQ(R.GameRevision, H.GameRevision);
    EXPECT_EQ(R.RngState, H.RngState);
    EXPECT_EQ(R.TrackIndex, H.TrackIndex);
    EXPECT_EQ(R.NextUnlockScore, H.NextUnlockScore);
    EXPECT_EQ(R.UnlockIncrements, H.UnlockIncrements);
    ASSERT_EQ(R.Tracks.size(), 2u);
    EXPECT_EQ(R.Tracks[0].BestSeconds, 59);
    EXPECT_EQ(R.Tracks[1].BestMinutes, 1000);
    EXPECT_EQ(R.CarsAvailable, H.CarsAvailable);
    EXPECT_EQ(R.MusicOn, false);
    EXPECT_EQ(R.SoundOn, true);
    EXPECT_EQ(R.Rumble, false);
    EXPECT_EQ(R.MouseDown, true);
    EXPECT_EQ(R.LastInputPad, true);
    EXPECT_EQ(R.PlayerName, H.PlayerName);
    ASSERT_EQ(R.Bindings.size(), 2u);
    EXPECT_EQ(R.Bindings[0].Keys, H.Bindings[0].Keys);
    EXPECT_EQ(R.Bindings[0].Pad, H.Bindings[0].Pad);
    EXPECT_EQ(R.KeysReleased, H.KeysReleased);
    EXPECT_EQ(R.PadHeld, H.PadHeld);
    EXPECT_EQ(R.MouseY, -3);
    EXPECT_EQ(R.PadPressed, 17);
    EXPECT_EQ(R.TypedText, "ab");
    EXPECT_EQ(R.CaretTicks, -2);
    ASSERT_EQ(R.Pads.size(), 1u);
    EXPECT_EQ(R.Pads[0].Axes, H.Pads[0].Axes);
    EXPECT_EQ(R.Pads[0].Held, H.Pads[0].Held);
    EXPECT_EQ(R.Pads[0].PageKeys, H.Pads[0].PageKeys);
    EXPECT_EQ(Replay.End.Score, End.Score);
    EXPECT_EQ(Replay.End.Lives, End.Lives);
    EXPECT_EQ(Replay.End.RaceNumber, End.RaceNumber);
    EXPECT_EQ(Replay.End.ScreenState, End.ScreenState);
    EXPECT_EQ(Replay.End.PlayerName, End.PlayerName);
}

TEST(ReplayFile, UnfinishedRecordingsKeepTheirCompleteFrames)
{
    test::TTempDir Dir;
    // Stopped before its run ended: in place, with no end record.
    const std::string Bytes = Record(Dir.File("stopped.vmr"), nullptr);
    TReplay Replay;
    std::string Error;
    ASSERT_TRUE(ReadReplay(Bytes, Replay, Error)) << Error;
    EXPECT_FALSE(Replay.Finished);
    EXPECT_EQ(Replay.Frames, 100);
    EXPECT_EQ(Replay.Events.back().Kind, TReplayEventKind::Frame);

    // A writer that goes without finishing (as in a crash) leaves the part file, whole chunks only.
    {
        TReplayWriter Writer(10);
        ASSERT_TRUE(Writer.Open(Dir.File("crash.vmr"), SampleHeader(), Error)) << Error;
        int Frames = 0;
        for (const auto& [Event, Text] : SampleCalls())
        {
            if (Event.Kind == TReplayEventKind::Frame && ++Frames > 25)
                break;
            Writer.Add(Event, Text);
        }
    }
    EXPECT_FALSE(fs::exists(Dir.File("crash.vmr")));
    ASSERT_TRUE(ReadReplayFile(Dir.File("crash.vmr.part"), Replay, Error)) << Error;
    EXPECT_FALSE(Replay.Finished);
    EXPECT_EQ(Replay.Frames, 20);
    ExpectSameCalls(CallsOf(Replay), SampleCalls());
}

TEST(ReplayFile, AFlushAnywhereReadsBackEveryCallSoFarAndTheRecordingGoesOnAlike)
{
    test::TTempDir Dir;
    const auto Calls = SampleCalls();
    TReplayWriter Writer(10);
    std::string Error;
    ASSERT_TRUE(Writer.Open(Dir.File("run.vmr"), SampleHeader(), Error)) << Error;
    int Frames = 0;
    for (std::size_t I = 0; I < Calls.size(); ++I)
    {
        Writer.Add(Calls[I].first, Calls[I].second);
        Frames += Calls[I].first.Kind == TReplayEventKind::Frame;
        // Flushed after a frame in the middle of a run of repeated steps, and after other calls.
        if (I % 13 != 5 && Calls[I].first.Kind != TReplayEventKind::Frame)
            continue;
        ASSERT_TRUE(Writer.Flush());
        TReplay SoFar;
        ASSERT_TRUE(ReadReplayFile(Writer.PartPath(), SoFar, Error)) << Error;
        EXPECT_EQ(SoFar.Frames, Frames);
        EXPECT_EQ(SoFar.Frames, Writer.Frames());
        if (Calls[I].first.Kind == TReplayEventKind::Frame)
        {
            const std::vector<std::pair<TReplayEvent, std::string>> Expected(Calls.begin(),
                                                                             Calls.begin() + I + 1);
            ExpectSameCalls(CallsOf(SoFar), Expected);
        }
    }
    ASSERT_TRUE(Writer.Finish(nullptr, Error)) << Error;
    TReplay Whole;
    ASSERT_TRUE(ReadReplayFile(Dir.File("run.vmr"), Whole, Error)) << Error;
    ExpectSameCalls(CallsOf(Whole), Calls);
    EXPECT_FALSE(Writer.Flush());
}

TEST(ReplayFile, EveryCutReadsAsUnfinishedUpToALaterFrame)
{
    test::TTempDir Dir;
    const TReplayEnd End = SampleEnd();
    const std::string Bytes = Record(Dir.File("run.vmr"), &End, 3);
    const auto Written = SampleCalls();
    int LastFrames = -1;
    int Readable = 0;
    for (std::size_t Size = 0; Size < Bytes.size(); ++Size)
    {
        TReplay Replay;
        std::string Error;
        if (!ReadReplay(Bytes.substr(0, Size), Replay, Error))
        {
            EXPECT_FALSE(Error.empty());
            // Only a file cut within its start is refused.
            EXPECT_EQ(Readable, 0) << "cut at " << Size << ": " << Error;
            continue;
        }
        ++Readable;
        EXPECT_FALSE(Replay.Finished) << Size;
        EXPECT_GE(Replay.Frames, LastFrames) << Size;
        LastFrames = Replay.Frames;
        if (!Replay.Events.empty())
        {
            EXPECT_EQ(Replay.Events.back().Kind, TReplayEventKind::Frame);
        }
        ExpectSameCalls(CallsOf(Replay), Written);
    }
    EXPECT_GT(Readable, 0);
    EXPECT_EQ(LastFrames, 100);
}

TEST(ReplayFile, DamageIsRefusedWithAMessage)
{
    test::TTempDir Dir;
    const TReplayEnd End = SampleEnd();
    const std::string Bytes = Record(Dir.File("run.vmr"), &End);
    // Every single bit flipped, anywhere, is refused.
    for (std::size_t At = 0; At < Bytes.size(); ++At)
        for (int Bit = 0; Bit < 8; ++Bit)
        {
            std::string Damaged = Bytes;
            Damaged[At] = static_cast<char>(Damaged[At] ^ (1 << Bit));
            TReplay Replay;
            std::string Error;
            EXPECT_FALSE(ReadReplay(Damaged, Replay, Error)) << "byte " << At << " bit " << Bit;
            EXPECT_FALSE(Error.empty());
        }
    // Bytes after the end record.
    TReplay Replay;
    std::string Error;
    EXPECT_FALSE(ReadReplay(Bytes + "x", Replay, Error));
    EXPECT_NE(Error.find("damaged"), std::string::npos) << Error;
    // Random bytes after a good start, and random files.
    std::mt19937 Random(7);
    for (int Try = 0; Try < 300; ++Try)
    {
        std::string Noise(1 + Random() % 200, '\0');
        for (char& C : Noise)
            C = static_cast<char>(Random());
        EXPECT_FALSE(ReadReplay(Noise, Replay, Error));
        const std::string Tail = Bytes.substr(0, 60) + Noise;
        if (ReadReplay(Tail, Replay, Error))
        {
            EXPECT_FALSE(Replay.Finished);
        }
    }
}

TEST(ReplayFile, AFloodOfEventsInOneFrameReadsBack)
{
    test::TTempDir Dir;
    TReplayWriter Writer;
    std::string Error;
    ASSERT_TRUE(Writer.Open(Dir.File("flood.vmr"), SampleHeader(), Error)) << Error;
    const std::string Text(MaxReplayText, 'x');
    for (int I = 0; I < 400; ++I) // 1.6 MB of typing between two frames
    {
        Writer.Add({TReplayEventKind::RaceInterval, 0, 0, 0, 0});
        Writer.Add({TReplayEventKind::Text, 0, 0, 0, 0}, Text);
        Writer.Add({TReplayEventKind::KeyDown, 0, 38, 0, 0});
    }
    Writer.Add({TReplayEventKind::Frame, 0, 0, 0, 0});
    ASSERT_TRUE(Writer.Finish(nullptr, Error)) << Error;
    TReplay Replay;
    ASSERT_TRUE(ReadReplayFile(Dir.File("flood.vmr"), Replay, Error)) << Error;
    ASSERT_EQ(Replay.Events.size(), 1201u);
    EXPECT_EQ(Replay.Texts.size(), 400u);
    EXPECT_EQ(Replay.Texts.back(), Text);
    EXPECT_EQ(Replay.Events[1200].Kind, TReplayEventKind::Frame);
    EXPECT_EQ(Replay.Events[1199].Kind, TReplayEventKind::KeyDown);
    EXPECT_EQ(Replay.Events[1197].Kind, TReplayEventKind::RaceInterval);
}

TEST(ReplayFile, ForeignFilesAreRefusedSayingWhy)
{
    TReplay Replay;
    std::string Error;
    EXPECT_FALSE(ReadReplay("PNG\x89 not a recording", Replay, Error));
    EXPECT_EQ(Error, "not a Velomarch recording");
    std::string Future(ReplayMagic, sizeof ReplayMagic);
    Future += std::string("\x07\x00", 2);
    EXPECT_FALSE(ReadReplay(Future, Replay, Error));
    EXPECT_NE(Error.find("format version 7"), std::string::npos) << Error;
    test::TTempDir Dir;
    EXPECT_FALSE(ReadReplayFile(Dir.File("missing.vmr"), Replay, Error));
    EXPECT_NE(Error.find("missing.vmr"), std::string::npos) << Error;
}

TEST(ReplayFile, AWriterThatCannotWriteSaysSo)
{
    test::TTempDir Dir;
    TReplayWriter Writer;
    std::string Error;
    EXPECT_FALSE(Writer.Open(Dir.File("no/such/folder/run.vmr"), SampleHeader(), Error));
    EXPECT_NE(Error.find("no/such/folder/run.vmr.part"), std::string::npos) << Error;
    EXPECT_FALSE(Writer.IsOpen());
    EXPECT_FALSE(Writer.Finish(nullptr, Error));
}

} // namespace
} // namespace vm
