// The recording's writer: the header, the events as compact operations, chunks with checksums.
#include "persist/replay_writer.h"

#include "persist/replay_codes.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace vm {

namespace {

void PutList(std::string& Out, const std::vector<std::int32_t>& Values)
{
    PutVarint(Out, Values.size());
    for (std::int32_t Value : Values)
        PutSigned(Out, Value);
}

void PutBytes(std::string& Out, const std::vector<std::uint8_t>& Values)
{
    PutVarint(Out, Values.size());
    for (std::uint8_t Value : Values)
        Out.push_back(static_cast<char>(Value));
}

std::string EncodeHeader(const TReplayHeader& H)
{
    std::string Out;
    PutString(Out, H.GameVersion);
    PutString(Out, H.GameRevision);
    PutFixed(Out, H.RngState, 8);
    for (std::int32_t Value : {H.CarIndex, H.TrackIndex, H.CarMax, H.TrackMax, H.TracksOpen, H.CarsOpen,
                               H.NextUnlockScore, H.UnlockStep})
        PutSigned(Out, Value);
    PutList(Out, H.UnlockIncrements);
    PutVarint(Out, H.Tracks.size());
    for (const TReplayTrack& Track : H.Tracks)
    {
        Out.push_back(static_cast<char>(Track.Available));
        PutSigned(Out, Track.BestMinutes);
        PutSigned(Out, Track.BestSeconds);
        PutSigned(Out, Track.BestHundredths);
    }
    PutBytes(Out, H.CarsAvailable);
    Out.push_back(static_cast<char>((H.SoundOn ? 1 : 0) | (H.MusicOn ? 2 : 0) | (H.Rumble ? 4 : 0) |
                                    (H.MouseDown ? 8 : 0) | (H.LastInputPad ? 16 : 0)));
    PutSigned(Out, H.VolumeLevel);
    PutString(Out, H.PlayerName);
    PutString(Out, H.OnlineName);
    PutVarint(Out, H.Bindings.size());
    for (const TReplayBinding& Binding : H.Bindings)
    {
        PutList(Out, Binding.Keys);
        PutList(Out, Binding.Pad);
    }
    PutList(Out, H.KeysHeld);
    PutList(Out, H.KeysReleased);
    PutBytes(Out, H.PadHeld);
    PutBytes(Out, H.PadReleased);
    for (std::int32_t Value : {H.MouseX, H.MouseY, H.PadPressed, H.StateTicks, H.PhaseTicks, H.CaretTicks})
        PutSigned(Out, Value);
    PutString(Out, H.TypedText);
    PutVarint(Out, H.Pads.size());
    for (const TReplayPad& Pad : H.Pads)
    {
        PutSigned(Out, Pad.Pad);
        for (std::int32_t Axis : Pad.Axes)
            PutSigned(Out, Axis);
        PutList(Out, Pad.Held);
        PutVarint(Out, Pad.PageKeys.size());
        for (const auto& [Control, Key] : Pad.PageKeys)
        {
            PutSigned(Out, Control);
            PutSigned(Out, Key);
        }
    }
    return Out;
}

std::string EncodeEnd(const TReplayEnd& End)
{
    std::string Out;
    for (std::int32_t Value : {End.Frames, End.Score, End.Lives, End.RaceNumber, End.ScreenState})
        PutSigned(Out, Value);
    PutString(Out, End.PlayerName);
    return Out;
}

} // namespace

TReplayWriter::TReplayWriter(int ChunkFrames) : FChunkFrames(ChunkFrames < 1 ? 1 : ChunkFrames) {}

TReplayWriter::~TReplayWriter()
{
    if (FFile != nullptr)
        std::fclose(FFile);
}

void TReplayWriter::Fail(const std::string& What)
{
    if (FError.empty())
        FError = What;
}

bool TReplayWriter::Open(const std::string& Path, const TReplayHeader& Header, std::string& Error)
{
    if (FFile != nullptr)
    {
        Error = "a recording is already being written";
        return false;
    }
    FError.clear();
    FPayload.clear();
    FFramesInChunk = 0;
    FFrames = 0;
    FBytes = 0;
    FPendingIntervals = 0;
    FLastStep = 0;
    FHaveStep = false;
    FRepeats = 0;
    FPath = Path;
    FPartPath = Path + ".part";
    FFile = std::fopen(FPartPath.c_str(), "wb");
    if (FFile == nullptr)
    {
        Error = "cannot write " + FPartPath + ": " + std::strerror(errno);
        return false;
    }
    FMouseX = Header.MouseX;
    FMouseY = Header.MouseY;
    std::string Start(ReplayMagic, sizeof ReplayMagic);
    PutFixed(Start, ReplayFormatVersion, 2);
    if (std::fwrite(Start.data(), 1, Start.size(), FFile) != Start.size())
        Fail(std::string("cannot write ") + FPartPath + ": " + std::strerror(errno));
    else
        FBytes += static_cast<long long>(Start.size());
    if (!WriteChunk(ChunkHeader, EncodeHeader(Header)))
    {
        Error = FError;
        std::fclose(FFile);
        FFile = nullptr;
        std::filesystem::remove(FPartPath);
        return false;
    }
    return true;
}

bool TReplayWriter::WriteChunk(std::uint8_t Kind, const std::string& Payload)
{
    if (FFile == nullptr || !FError.empty())
        return false;
    std::string Chunk;
    Chunk.reserve(Payload.size() + ChunkHeadSize + ChunkTailSize);
    Chunk.push_back(static_cast<char>(Kind));
    PutFixed(Chunk, Payload.size(), 4);
    PutFixed(Chunk, ReplayCrc(Chunk.data(), 5) & 0xFFFF, 2);
    Chunk += Payload;
    PutFixed(Chunk, ReplayCrc(Payload.data(), Payload.size()), 4);
    if (std::fwrite(Chunk.data(), 1, Chunk.size(), FFile) != Chunk.size() || std::fflush(FFile) != 0)
    {
        Fail(std::string("cannot write ") + FPartPath + ": " + std::strerror(errno));
        return false;
    }
    FBytes += static_cast<long long>(Chunk.size());
    return true;
}

void TReplayWriter::PutCounted(std::uint8_t Op, std::uint64_t Count)
{
    if (Count < 15)
        FPayload.push_back(static_cast<char>(Op | Count));
    else
    {
        FPayload.push_back(static_cast<char>(Op | 15));
        PutVarint(FPayload, Count - 15);
    }
}

void TReplayWriter::FlushRepeat()
{
    if (FRepeats > 0)
        PutCounted(OpRepeat, FRepeats - 1);
    FRepeats = 0;
}

void TReplayWriter::FlushIntervals()
{
    FlushRepeat();
    if (FPendingIntervals > 0)
        PutCounted(OpIntervals, FPendingIntervals);
    FPendingIntervals = 0;
}

void TReplayWriter::PutMouse(std::uint8_t Op, int X, int Y)
{
    FPayload.push_back(static_cast<char>(Op));
    PutSigned(FPayload, static_cast<std::int64_t>(X) - FMouseX);
    PutSigned(FPayload, static_cast<std::int64_t>(Y) - FMouseY);
    FMouseX = X;
    FMouseY = Y;
}

void TReplayWriter::Add(const TReplayEvent& Event, const std::string& Text)
{
    if (FFile == nullptr || !FError.empty())
        return;
    const auto Op = [this](std::uint8_t Code) { FPayload.push_back(static_cast<char>(Code)); };
    switch (Event.Kind)
    {
    case TReplayEventKind::RaceInterval: ++FPendingIntervals; return;
    case TReplayEventKind::Frame:
        if (FHaveStep && FPendingIntervals == FLastStep)
            ++FRepeats;
        else
        {
            FlushRepeat();
            PutCounted(OpStep, FPendingIntervals);
            FLastStep = FPendingIntervals;
            FHaveStep = true;
        }
        FPendingIntervals = 0;
        ++FFrames;
        if (++FFramesInChunk >= FChunkFrames)
            EndChunk();
        return;
    default: break;
    }
    if (Event.Kind == TReplayEventKind::KeyDown || Event.Kind == TReplayEventKind::KeyUp)
        for (int Index = 0; Index < 16; ++Index)
            if (ShortKeys[Index] == Event.A)
            {
                FlushRepeat();
                const bool OneStep = FPendingIntervals == 1;
                if (!OneStep)
                    FlushIntervals();
                FPendingIntervals = 0;
                Op(static_cast<std::uint8_t>(OpShortKey | (OneStep ? 0x20 : 0) |
                                             (Event.Kind == TReplayEventKind::KeyDown ? 0x10 : 0) | Index));
                EndLongChunk();
                return;
            }
    FlushIntervals();
    switch (Event.Kind)
    {
    case TReplayEventKind::KeyDown:
    case TReplayEventKind::KeyUp:
        Op(Event.Kind == TReplayEventKind::KeyDown ? OpKeyDown : OpKeyUp);
        PutSigned(FPayload, Event.A);
        break;
    case TReplayEventKind::MouseMove: PutMouse(OpMouseMove, Event.A, Event.B); break;
    case TReplayEventKind::MouseButton:
        PutMouse(Event.C != 0 ? OpMouseDown : OpMouseUp, Event.A, Event.B);
        break;
    case TReplayEventKind::Text:
        Op(OpText);
        // Longer text than any page takes is cut on a character boundary.
        if (Text.size() > MaxReplayText)
        {
            std::size_t Size = MaxReplayText;
            while (Size > 0 && (static_cast<unsigned char>(Text[Size]) & 0xC0) == 0x80)
                --Size;
            PutString(FPayload, Text.substr(0, Size));
        }
        else
            PutString(FPayload, Text);
        break;
    case TReplayEventKind::PadAdded:
    case TReplayEventKind::PadRemoved:
        Op(Event.Kind == TReplayEventKind::PadAdded ? OpPadAdded : OpPadRemoved);
        PutSigned(FPayload, Event.A);
        break;
    case TReplayEventKind::PadButton:
        Op(Event.C != 0 ? OpPadDown : OpPadUp);
        PutSigned(FPayload, Event.A);
        PutSigned(FPayload, Event.B);
        break;
    case TReplayEventKind::PadAxis:
        Op(OpPadAxis);
        PutSigned(FPayload, Event.A);
        PutSigned(FPayload, Event.B);
        PutSigned(FPayload, Event.C);
        break;
    case TReplayEventKind::Focus: Op(Event.A != 0 ? OpFocusGot : OpFocusLost); break;
    default: break;
    }
    EndLongChunk();
}

void TReplayWriter::EndChunk()
{
    FlushIntervals();
    WriteChunk(ChunkData, FPayload);
    FPayload.clear();
    FFramesInChunk = 0;
    FHaveStep = false;
}

bool TReplayWriter::Flush()
{
    if (FFile == nullptr || !FError.empty())
        return false;
    if (!FPayload.empty() || FPendingIntervals > 0 || FRepeats > 0)
        EndChunk();
    return FError.empty();
}

void TReplayWriter::EndLongChunk()
{
    // A flood of events within a few frames goes out before its chunk grows past what a reader takes.
    if (FPayload.size() >= LongChunkBytes)
        EndChunk();
}

bool TReplayWriter::Finish(const TReplayEnd* End, std::string& Error)
{
    if (FFile == nullptr)
    {
        Error = FError.empty() ? "no recording is being written" : FError;
        return false;
    }
    FlushIntervals();
    if (!FPayload.empty())
        WriteChunk(ChunkData, FPayload);
    FPayload.clear();
    if (End != nullptr)
        WriteChunk(ChunkEnd, EncodeEnd(*End));
    if (FError.empty() && ::fsync(fileno(FFile)) != 0)
        Fail("cannot write " + FPartPath + ": " + std::strerror(errno));
    if (std::fclose(FFile) != 0)
        Fail("cannot write " + FPartPath + ": " + std::strerror(errno));
    FFile = nullptr;
    std::error_code Ec;
    // A recording that could not be written whole stays as "Path.part": what it holds reads as
    // an unfinished run.
    if (FError.empty())
    {
        std::filesystem::rename(FPartPath, FPath, Ec);
        if (Ec)
            Fail("cannot rename " + FPartPath + " to " + FPath + ": " + Ec.message());
    }
    Error = FError;
    return FError.empty();
}

} // namespace vm
