// The recording's reader: checks every chunk, decodes the header, the events and the end record.
#include "persist/replay_reader.h"

#include "persist/replay_codes.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

namespace vm {

namespace {

// Lists and strings in a header are small: anything longer is damage.
constexpr std::uint32_t MostItems = 1024;
constexpr std::uint32_t MostName = 1024;

std::vector<std::int32_t> GetList(TReplayCursor& In)
{
    std::vector<std::int32_t> Values(In.Count(MostItems));
    for (std::int32_t& Value : Values)
        Value = In.Signed();
    return Values;
}

std::vector<std::uint8_t> GetBytes(TReplayCursor& In)
{
    std::vector<std::uint8_t> Values(In.Count(MostItems));
    for (std::uint8_t& Value : Values)
        Value = In.Byte();
    return Values;
}

bool DecodeHeader(TReplayCursor In, TReplayHeader& H)
{
    H.GameVersion = In.String(MostName);
    H.GameRevision = In.String(MostName);
    H.RngState = In.Fixed(8);
    for (std::int32_t* Value : {&H.CarIndex, &H.TrackIndex, &H.CarMax, &H.TrackMax, &H.TracksOpen,
                                &H.CarsOpen, &H.NextUnlockScore, &H.UnlockStep})
        *Value = In.Signed();
    H.UnlockIncrements = GetList(In);
    H.Tracks.resize(In.Count(MostItems));
    for (TReplayTrack& Track : H.Tracks)
    {
        Track.Available = In.Byte();
        Track.BestMinutes = In.Signed();
        Track.BestSeconds = In.Signed();
        Track.BestHundredths = In.Signed();
    }
    H.CarsAvailable = GetBytes(In);
    const std::uint8_t Flags = In.Byte();
    H.SoundOn = (Flags & 1) != 0;
    H.MusicOn = (Flags & 2) != 0;
    H.Rumble = (Flags & 4) != 0;
    H.MouseDown = (Flags & 8) != 0;
    H.LastInputPad = (Flags & 16) != 0;
    H.VolumeLevel = In.Signed();
    H.PlayerName = In.String(MostName);
    H.OnlineName = In.String(MostName);
    H.Bindings.resize(In.Count(MostItems));
    for (TReplayBinding& Binding : H.Bindings)
    {
        Binding.Keys = GetList(In);
        Binding.Pad = GetList(In);
    }
    H.KeysHeld = GetList(In);
    H.KeysReleased = GetList(In);
    H.PadHeld = GetBytes(In);
    H.PadReleased = GetBytes(In);
    for (std::int32_t* Value :
         {&H.MouseX, &H.MouseY, &H.PadPressed, &H.StateTicks, &H.PhaseTicks, &H.CaretTicks})
        *Value = In.Signed();
    H.TypedText = In.String(MaxReplayText);
    H.Pads.resize(In.Count(MostItems));
    for (TReplayPad& Pad : H.Pads)
    {
        Pad.Pad = In.Signed();
        for (std::int32_t& Axis : Pad.Axes)
            Axis = In.Signed();
        Pad.Held = GetList(In);
        Pad.PageKeys.resize(In.Count(MostItems));
        for (auto& [Control, Key] : Pad.PageKeys)
        {
            Control = In.Signed();
            Key = In.Signed();
        }
    }
    return !In.Bad && In.AtEnd();
}

bool DecodeEnd(TReplayCursor In, TReplayEnd& End)
{
    for (std::int32_t* Value : {&End.Frames, &End.Score, &End.Lives, &End.RaceNumber, &End.ScreenState})
        *Value = In.Signed();
    End.PlayerName = In.String(MostName);
    return !In.Bad && In.AtEnd();
}

// Decodes one data chunk's operations onto Replay. Mouse positions carry over from chunk to chunk.
class TDataDecoder
{
public:
    explicit TDataDecoder(TReplay& Replay)
        : R(Replay), FMouseX(Replay.Header.MouseX), FMouseY(Replay.Header.MouseY)
    {}

    bool Decode(TReplayCursor In, std::string& Error)
    {
        bool HaveStep = false;
        std::uint64_t LastStep = 0;
        while (!In.AtEnd() && !In.Bad)
        {
            const std::uint8_t Op = In.Byte();
            const std::uint8_t High = Op & 0xF0;
            if (High == OpStep || High == OpRepeat || High == OpIntervals)
            {
                std::uint64_t Count = Op & 0x0F;
                if (Count == 15)
                    Count += In.Varint();
                if (In.Bad || Count > static_cast<std::uint64_t>(MaxReplayFrames))
                    break;
                if (High == OpIntervals)
                {
                    if (Count == 0 || !Intervals(Count, Error))
                        return Count != 0 ? false : Damaged(Error);
                }
                else if (High == OpStep)
                {
                    LastStep = Count;
                    HaveStep = true;
                    if (!Intervals(Count, Error) || !Frame(Error))
                        return false;
                }
                else
                {
                    if (!HaveStep)
                        return Damaged(Error);
                    for (std::uint64_t I = 0; I <= Count; ++I)
                        if (!Intervals(LastStep, Error) || !Frame(Error))
                            return false;
                }
                continue;
            }
            TReplayEvent Event;
            if ((Op & 0xC0) == OpShortKey)
            {
                if ((Op & 0x20) != 0 && !Intervals(1, Error))
                    return false;
                Event.Kind = (Op & 0x10) != 0 ? TReplayEventKind::KeyDown : TReplayEventKind::KeyUp;
                Event.A = ShortKeys[Op & 0x0F];
                Push(Event);
                continue;
            }
            switch (Op)
            {
            case OpKeyDown:
            case OpKeyUp:
                Event.Kind = Op == OpKeyDown ? TReplayEventKind::KeyDown : TReplayEventKind::KeyUp;
                Event.A = In.Signed();
                break;
            case OpMouseMove:
            case OpMouseUp:
            case OpMouseDown:
            {
                Event.Kind = Op == OpMouseMove ? TReplayEventKind::MouseMove : TReplayEventKind::MouseButton;
                const std::int64_t X = static_cast<std::int64_t>(FMouseX) + In.Signed();
                const std::int64_t Y = static_cast<std::int64_t>(FMouseY) + In.Signed();
                if (X < INT32_MIN || X > INT32_MAX || Y < INT32_MIN || Y > INT32_MAX)
                    return Damaged(Error);
                FMouseX = Event.A = static_cast<std::int32_t>(X);
                FMouseY = Event.B = static_cast<std::int32_t>(Y);
                Event.C = Op == OpMouseDown ? 1 : 0;
                break;
            }
            case OpText:
                Event.Kind = TReplayEventKind::Text;
                Event.A = static_cast<std::int32_t>(R.Texts.size());
                R.Texts.push_back(In.String(MaxReplayText));
                break;
            case OpPadAdded:
            case OpPadRemoved:
                Event.Kind = Op == OpPadAdded ? TReplayEventKind::PadAdded : TReplayEventKind::PadRemoved;
                Event.A = In.Signed();
                break;
            case OpPadUp:
            case OpPadDown:
                Event.Kind = TReplayEventKind::PadButton;
                Event.A = In.Signed();
                Event.B = In.Signed();
                Event.C = Op == OpPadDown ? 1 : 0;
                break;
            case OpPadAxis:
                Event.Kind = TReplayEventKind::PadAxis;
                Event.A = In.Signed();
                Event.B = In.Signed();
                Event.C = In.Signed();
                break;
            case OpFocusLost:
            case OpFocusGot:
                Event.Kind = TReplayEventKind::Focus;
                Event.A = Op == OpFocusGot ? 1 : 0;
                break;
            default: return Damaged(Error);
            }
            if (In.Bad)
                break;
            Push(Event);
        }
        return In.Bad ? Damaged(Error) : true;
    }

private:
    static bool Damaged(std::string& Error)
    {
        Error = "the recording is damaged (an event that makes no sense)";
        return false;
    }
    void Push(TReplayEvent Event)
    {
        Event.Frame = R.Frames;
        R.Events.push_back(Event);
    }
    bool TooLong(std::string& Error)
    {
        if (static_cast<std::int64_t>(R.Events.size()) <= 3 * MaxReplayFrames)
            return false;
        Error = "the recording is damaged (longer than any run)";
        return true;
    }
    bool Intervals(std::uint64_t Count, std::string& Error)
    {
        if (Count > 1000)
        {
            Error = "the recording is damaged (more race-clock steps in one go than a frame can hold)";
            return false;
        }
        for (std::uint64_t I = 0; I < Count; ++I)
            Push({TReplayEventKind::RaceInterval, 0, 0, 0, 0});
        return !TooLong(Error);
    }
    bool Frame(std::string& Error)
    {
        if (R.Frames >= MaxReplayFrames)
        {
            Error = "the recording is damaged (longer than any run)";
            return false;
        }
        Push({TReplayEventKind::Frame, 0, 0, 0, 0});
        ++R.Frames;
        return !TooLong(Error);
    }

    TReplay& R;
    std::int32_t FMouseX, FMouseY;
};

} // namespace

bool ReadReplay(const std::string& Bytes, TReplay& Replay, std::string& Error)
{
    Replay = TReplay{};
    const auto* Data = reinterpret_cast<const std::uint8_t*>(Bytes.data());
    const std::size_t Size = Bytes.size();
    if (Size < sizeof ReplayMagic || std::memcmp(Data, ReplayMagic, sizeof ReplayMagic) != 0)
    {
        Error = "not a Velomarch recording";
        return false;
    }
    std::size_t At = sizeof ReplayMagic;
    if (Size < At + 2)
    {
        Error = "the recording is cut short before its start";
        return false;
    }
    const unsigned Version = Data[At] | (Data[At + 1] << 8);
    At += 2;
    if (Version != ReplayFormatVersion)
    {
        Error = "the recording has format version " + std::to_string(Version) + "; this game reads version " +
                std::to_string(ReplayFormatVersion);
        return false;
    }
    std::optional<TDataDecoder> Decoder;
    bool HaveHeader = false;
    while (At < Size)
    {
        // A chunk not all there is where the recording was cut short.
        if (Size - At < ChunkHeadSize)
            break;
        const std::uint8_t* Head = Data + At;
        const std::uint32_t Length =
            Head[1] | (Head[2] << 8) | (Head[3] << 16) | (static_cast<std::uint32_t>(Head[4]) << 24);
        const unsigned Check = Head[5] | (Head[6] << 8);
        if ((ReplayCrc(Head, 5) & 0xFFFF) != Check || Length > MaxChunkPayload)
        {
            Error = "the recording is damaged (a broken chunk at byte " + std::to_string(At) + ")";
            return false;
        }
        if (Size - At - ChunkHeadSize < static_cast<std::size_t>(Length) + ChunkTailSize)
            break;
        const std::uint8_t* Payload = Head + ChunkHeadSize;
        const std::uint8_t* Tail = Payload + Length;
        const std::uint32_t Crc =
            Tail[0] | (Tail[1] << 8) | (Tail[2] << 16) | (static_cast<std::uint32_t>(Tail[3]) << 24);
        if (ReplayCrc(Payload, Length) != Crc)
        {
            Error = "the recording is damaged (a checksum does not match at byte " + std::to_string(At) + ")";
            return false;
        }
        const TReplayCursor In{Payload, Tail};
        At += ChunkHeadSize + Length + ChunkTailSize;
        const std::uint8_t Kind = Head[0];
        if (!HaveHeader)
        {
            if (Kind != ChunkHeader || !DecodeHeader(In, Replay.Header))
            {
                Error = "the recording is damaged (its start cannot be read)";
                return false;
            }
            HaveHeader = true;
            Decoder.emplace(Replay);
        }
        else if (Kind == ChunkData)
        {
            if (!Decoder->Decode(In, Error))
                return false;
        }
        else if (Kind == ChunkEnd)
        {
            if (!DecodeEnd(In, Replay.End) || At != Size || Replay.End.Frames != Replay.Frames)
            {
                Error = "the recording is damaged (its end record does not fit)";
                return false;
            }
            Replay.Finished = true;
        }
        else
        {
            Error = "the recording is damaged (an unknown chunk at byte " + std::to_string(At) + ")";
            return false;
        }
    }
    if (!HaveHeader)
    {
        Error = "the recording is cut short before its start";
        return false;
    }
    // Unfinished: the events after the last complete frame are dropped with the frame they began.
    if (!Replay.Finished)
    {
        while (!Replay.Events.empty() && Replay.Events.back().Kind != TReplayEventKind::Frame)
            Replay.Events.pop_back();
        Replay.End = {};
    }
    return true;
}

bool ReadReplayFile(const std::string& Path, TReplay& Replay, std::string& Error)
{
    std::ifstream In(Path, std::ios::binary);
    std::stringstream Buffer;
    if (In)
        Buffer << In.rdbuf();
    if (!In || In.bad())
    {
        Error = "cannot read " + Path + ": " + std::strerror(errno);
        return false;
    }
    if (!ReadReplay(Buffer.str(), Replay, Error))
    {
        Error = Path + ": " + Error;
        return false;
    }
    return true;
}

} // namespace vm
