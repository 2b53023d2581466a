// A small, strict reader of extended module (XM) files for the music tests, written from the format.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace test {

struct TXmReadCell
{
    int Note = 0, Instrument = 0, Volume = 0, Effect = 0, Param = 0;
};

struct TXmReadPattern
{
    int Rows = 0;
    std::vector<TXmReadCell> Cells; // Rows x channels, row-major
};

struct TXmReadInstrument
{
    std::string Name;
    int Samples = 0;
    int EnvelopePoints = 0, EnvelopeType = 0, EnvelopeSustain = 0;
    std::vector<std::pair<int, int>> Envelope; // (tick, value)
    int Fadeout = 0;
    std::uint32_t LoopStart = 0, LoopLength = 0; // frames
    int Volume = 0, Type = 0, RelativeNote = 0, Finetune = 0;
    std::vector<std::int16_t> Data; // decoded frames
};

struct TXmFile
{
    std::string Magic, Name, Tracker;
    int Version = 0, HeaderSize = 0, SongLength = 0, Restart = 0, Channels = 0, PatternCount = 0,
        InstrumentCount = 0, Flags = 0, Speed = 0, Bpm = 0;
    std::vector<int> Orders;
    std::vector<TXmReadPattern> Patterns;
    std::vector<TXmReadInstrument> Instruments;
    std::size_t FileSize = 0;
    std::size_t Consumed = 0; // bytes the reader walked through; equals FileSize for a well-formed file

    const TXmReadCell& At(int Pattern, int Row, int Channel) const
    {
        return Patterns[Pattern].Cells[Row * Channels + Channel];
    }
};

class TXmReader
{
public:
    // Reads File into Out; false with Error on any structural fault.
    static bool Read(const std::string& File, TXmFile& Out, std::string& Error)
    {
        std::ifstream Stream(File, std::ios::binary);
        if (!Stream)
            return Fail(Error, "cannot open " + File);
        TXmReader Reader{std::vector<std::uint8_t>(std::istreambuf_iterator<char>(Stream), {})};
        return Reader.Parse(Out, Error);
    }

private:
    explicit TXmReader(std::vector<std::uint8_t> Bytes) : FBytes(std::move(Bytes)) {}

    static bool Fail(std::string& Error, const std::string& Message)
    {
        Error = Message;
        return false;
    }
    bool Has(std::size_t Count) const { return FAt + Count <= FBytes.size(); }
    unsigned U8() { return Has(1) ? FBytes[FAt++] : (FBad = true, 0u); }
    unsigned U16()
    {
        const unsigned Low = U8();
        return Low | (U8() << 8);
    }
    std::uint32_t U32()
    {
        const std::uint32_t Low = U16();
        return Low | (static_cast<std::uint32_t>(U16()) << 16);
    }
    std::string Text(std::size_t Size)
    {
        std::string Value;
        for (std::size_t I = 0; I < Size; ++I)
            Value += static_cast<char>(U8());
        return Value.substr(0, Value.find('\0'));
    }

    bool Parse(TXmFile& Out, std::string& Error)
    {
        Out.FileSize = FBytes.size();
        Out.Magic = Text(17);
        Out.Name = Text(20);
        if (U8() != 0x1A)
            return Fail(Error, "no 0x1A after the module name");
        Out.Tracker = Text(20);
        Out.Version = static_cast<int>(U16());
        const std::size_t HeaderStart = FAt;
        Out.HeaderSize = static_cast<int>(U32());
        Out.SongLength = static_cast<int>(U16());
        Out.Restart = static_cast<int>(U16());
        Out.Channels = static_cast<int>(U16());
        Out.PatternCount = static_cast<int>(U16());
        Out.InstrumentCount = static_cast<int>(U16());
        Out.Flags = static_cast<int>(U16());
        Out.Speed = static_cast<int>(U16());
        Out.Bpm = static_cast<int>(U16());
        for (int I = 0; I < 256; ++I)
        {
            const int Order = static_cast<int>(U8());
            if (I < Out.SongLength)
                Out.Orders.push_back(Order);
        }
        FAt = HeaderStart + Out.HeaderSize;
        for (int P = 0; P < Out.PatternCount && !FBad; ++P)
            if (!ParsePattern(Out, Error))
                return false;
        for (int I = 0; I < Out.InstrumentCount && !FBad; ++I)
            if (!ParseInstrument(Out, Error))
                return false;
        if (FBad)
            return Fail(Error, "file ends early");
        Out.Consumed = FAt;
        return true;
    }

    bool ParsePattern(TXmFile& Out, std::string& Error)
    {
        const std::size_t Start = FAt;
        const std::uint32_t HeaderLength = U32();
        U8(); // packing type
        TXmReadPattern Pattern;
        Pattern.Rows = static_cast<int>(U16());
        const unsigned PackedSize = U16();
        FAt = Start + HeaderLength;
        const std::size_t End = FAt + PackedSize;
        Pattern.Cells.resize(static_cast<std::size_t>(Pattern.Rows) * Out.Channels);
        for (TXmReadCell& Cell : Pattern.Cells)
        {
            if (FAt >= End)
                return Fail(Error, "pattern data shorter than its rows");
            const unsigned First = U8();
            const unsigned Mask = First & 0x80 ? First : 0x1F;
            if (!(First & 0x80))
                Cell.Note = static_cast<int>(First);
            else if (Mask & 0x01)
                Cell.Note = static_cast<int>(U8());
            if (Mask & 0x02)
                Cell.Instrument = static_cast<int>(U8());
            if (Mask & 0x04)
                Cell.Volume = static_cast<int>(U8());
            if (Mask & 0x08)
                Cell.Effect = static_cast<int>(U8());
            if (Mask & 0x10)
                Cell.Param = static_cast<int>(U8());
        }
        if (FAt != End)
            return Fail(Error, "pattern packed size does not match its cells");
        Out.Patterns.push_back(std::move(Pattern));
        return true;
    }

    bool ParseInstrument(TXmFile& Out, std::string& Error)
    {
        const std::size_t Start = FAt;
        TXmReadInstrument Instrument;
        const std::uint32_t Size = U32();
        Instrument.Name = Text(22);
        U8(); // type
        Instrument.Samples = static_cast<int>(U16());
        if (Instrument.Samples != 1)
            return Fail(Error, "instrument without exactly one sample");
        const std::uint32_t SampleHeaderSize = U32();
        FAt += 96; // note-to-sample map
        std::vector<std::pair<int, int>> Points(12);
        for (auto& [Tick, Value] : Points)
        {
            Tick = static_cast<int>(U16());
            Value = static_cast<int>(U16());
        }
        FAt += 48; // panning envelope
        Instrument.EnvelopePoints = static_cast<int>(U8());
        U8();
        Instrument.EnvelopeSustain = static_cast<int>(U8());
        FAt += 5;
        Instrument.EnvelopeType = static_cast<int>(U8());
        FAt += 5; // panning type, vibrato
        Instrument.Fadeout = static_cast<int>(U16());
        if (Instrument.EnvelopePoints > 12)
            return Fail(Error, "more than 12 envelope points");
        Instrument.Envelope.assign(Points.begin(), Points.begin() + Instrument.EnvelopePoints);
        FAt = Start + Size;

        const std::size_t SampleStart = FAt;
        const std::uint32_t Length = U32();
        const std::uint32_t LoopStart = U32();
        const std::uint32_t LoopLength = U32();
        Instrument.Volume = static_cast<int>(U8());
        Instrument.Finetune = static_cast<std::int8_t>(U8());
        Instrument.Type = static_cast<int>(U8());
        U8(); // panning
        Instrument.RelativeNote = static_cast<std::int8_t>(U8());
        FAt = SampleStart + SampleHeaderSize;
        if (!(Instrument.Type & 0x10) || Length % 2 || LoopStart % 2 || LoopLength % 2)
            return Fail(Error, "sample is not 16-bit or has odd byte lengths");
        Instrument.LoopStart = LoopStart / 2;
        Instrument.LoopLength = LoopLength / 2;
        if (!Has(Length))
            return Fail(Error, "sample data past the end of the file");
        std::int16_t Value = 0;
        for (std::uint32_t I = 0; I < Length / 2; ++I)
        {
            Value = static_cast<std::int16_t>(Value + static_cast<std::int16_t>(U16()));
            Instrument.Data.push_back(Value);
        }
        Out.Instruments.push_back(std::move(Instrument));
        return true;
    }

    std::vector<std::uint8_t> FBytes;
    std::size_t FAt = 0;
    bool FBad = false;
};

// Seconds of play of orders First..Last-1, following speed (Fxx below 0x20) and BPM (Fxx from 0x20)
// changes; a position jump ends the pass.
inline double XmSeconds(const TXmFile& Module, int First, int Last)
{
    int Speed = Module.Speed;
    int Bpm = Module.Bpm;
    double Seconds = 0.0;
    for (int Order = 0; Order < Last; ++Order)
    {
        const int Pattern = Module.Orders[Order];
        for (int Row = 0; Row < Module.Patterns[Pattern].Rows; ++Row)
        {
            bool Jump = false;
            for (int Channel = 0; Channel < Module.Channels; ++Channel)
            {
                const TXmReadCell& Cell = Module.At(Pattern, Row, Channel);
                if (Cell.Effect == 0xF && Cell.Param > 0)
                    (Cell.Param < 0x20 ? Speed : Bpm) = Cell.Param;
                Jump = Jump || Cell.Effect == 0xB;
            }
            if (Order >= First)
                Seconds += Speed * 2.5 / Bpm;
            if (Jump)
                return Seconds;
        }
    }
    return Seconds;
}

} // namespace test
