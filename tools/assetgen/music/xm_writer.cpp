// Serialises a TXmModule to the extended module format, version 0x0104, as FastTracker 2 writes it.
#include "music/xm_writer.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace vm::assetgen {

namespace {

constexpr int MaxEnvelopePoints = 12;
constexpr std::uint32_t HeaderSize = 276;     // from the header-size field to the end of the order table
constexpr std::uint32_t InstrumentSize = 263; // instrument header with one sample, padded as FastTracker does
constexpr std::uint32_t SampleHeaderSize = 40;

class TByteWriter
{
public:
    explicit TByteWriter(std::vector<std::uint8_t>& Bytes) : FBytes(Bytes) {}
    void U8(unsigned Value) { FBytes.push_back(static_cast<std::uint8_t>(Value)); }
    void U16(unsigned Value)
    {
        U8(Value & 0xFF);
        U8((Value >> 8) & 0xFF);
    }
    void U32(std::uint32_t Value)
    {
        U16(Value & 0xFFFF);
        U16(Value >> 16);
    }
    // Text padded with zeros (or cut) to Size bytes.
    void Text(const std::string& Value, std::size_t Size)
    {
        for (std::size_t I = 0; I < Size; ++I)
            U8(I < Value.size() ? static_cast<unsigned char>(Value[I]) : 0);
    }
    void Zeros(std::size_t Count) { FBytes.insert(FBytes.end(), Count, 0); }
    std::size_t Size() const { return FBytes.size(); }

private:
    std::vector<std::uint8_t>& FBytes;
};

bool Fail(std::string& Error, const std::string& Message)
{
    Error = Message;
    return false;
}

bool CheckEnvelope(const TXmEnvelope& Envelope, const std::string& Where, std::string& Error)
{
    const int Count = static_cast<int>(Envelope.Points.size());
    if (Count > MaxEnvelopePoints)
        return Fail(Error, Where + ": more than 12 envelope points");
    for (int I = 0; I < Count; ++I)
    {
        if (Envelope.Points[I].Value > 64)
            return Fail(Error, Where + ": envelope value above 64");
        if (I > 0 && Envelope.Points[I].Tick <= Envelope.Points[I - 1].Tick)
            return Fail(Error, Where + ": envelope ticks must rise");
    }
    if (Count == 1)
        return Fail(Error, Where + ": an envelope needs at least two points");
    if (Envelope.Sustain >= Count || (Envelope.LoopStart >= 0) != (Envelope.LoopEnd >= 0) ||
        Envelope.LoopEnd >= Count || Envelope.LoopStart > Envelope.LoopEnd)
        return Fail(Error, Where + ": envelope sustain or loop point out of range");
    return true;
}

bool CheckModule(const TXmModule& Module, std::string& Error)
{
    if (Module.Channels < 1 || Module.Channels > 32)
        return Fail(Error, "channel count must be 1..32");
    if (Module.Speed < 1 || Module.Speed > 31 || Module.Bpm < 32 || Module.Bpm > 255)
        return Fail(Error, "speed must be 1..31 and BPM 32..255");
    if (Module.Orders.empty() || Module.Orders.size() > 256)
        return Fail(Error, "the order list needs 1..256 entries");
    if (Module.RestartPosition < 0 || Module.RestartPosition >= static_cast<int>(Module.Orders.size()))
        return Fail(Error, "restart position outside the order list");
    if (Module.Patterns.empty() || Module.Patterns.size() > 256)
        return Fail(Error, "a module needs 1..256 patterns");
    for (const std::uint8_t Order : Module.Orders)
        if (Order >= Module.Patterns.size())
            return Fail(Error, "order list names a missing pattern");
    const int Instruments = static_cast<int>(Module.Instruments.size());
    if (Instruments < 1 || Instruments > 128)
        return Fail(Error, "a module needs 1..128 instruments");
    for (std::size_t P = 0; P < Module.Patterns.size(); ++P)
    {
        const TXmPattern& Pattern = Module.Patterns[P];
        const std::string Where = "pattern " + std::to_string(P);
        if (Pattern.Rows() < 1 || Pattern.Rows() > 256 || Pattern.Channels() != Module.Channels)
            return Fail(Error, Where + ": needs 1..256 rows and the module's channel count");
        for (int Row = 0; Row < Pattern.Rows(); ++Row)
            for (int Channel = 0; Channel < Pattern.Channels(); ++Channel)
            {
                const TXmCell& Cell = Pattern.At(Row, Channel);
                if (Cell.Note > XmKeyOff || Cell.Instrument > Instruments || Cell.Effect > 35)
                    return Fail(Error,
                                Where + ": bad note, instrument or effect at row " + std::to_string(Row));
            }
    }
    for (int I = 0; I < Instruments; ++I)
    {
        const TXmInstrument& Instrument = Module.Instruments[I];
        const std::string Where = "instrument " + std::to_string(I + 1);
        const TXmSample& Sample = Instrument.Sample;
        if (Sample.Data.empty() || Sample.Volume > 64)
            return Fail(Error, Where + ": empty sample or volume above 64");
        if (Sample.Loop &&
            (Sample.LoopLength == 0 || Sample.LoopStart + Sample.LoopLength > Sample.Data.size()))
            return Fail(Error, Where + ": sample loop outside the sample");
        if (Instrument.Fadeout > 0xFFF)
            return Fail(Error, Where + ": fadeout above 0xFFF");
        if (!CheckEnvelope(Instrument.VolumeEnvelope, Where, Error))
            return false;
    }
    return true;
}

// Packs one pattern the way FastTracker does: a full cell as five bytes, otherwise a flag byte
// (0x80 | which fields follow) and the fields that are set.
std::vector<std::uint8_t> PackPattern(const TXmPattern& Pattern)
{
    std::vector<std::uint8_t> Packed;
    TByteWriter Out(Packed);
    for (int Row = 0; Row < Pattern.Rows(); ++Row)
        for (int Channel = 0; Channel < Pattern.Channels(); ++Channel)
        {
            const TXmCell& Cell = Pattern.At(Row, Channel);
            unsigned Mask = 0;
            Mask |= Cell.Note ? 0x01 : 0;
            Mask |= Cell.Instrument ? 0x02 : 0;
            Mask |= Cell.Volume ? 0x04 : 0;
            Mask |= Cell.Effect ? 0x08 : 0;
            Mask |= Cell.Param ? 0x10 : 0;
            if (Mask == 0x1F)
            {
                Out.U8(Cell.Note);
                Out.U8(Cell.Instrument);
                Out.U8(Cell.Volume);
                Out.U8(Cell.Effect);
                Out.U8(Cell.Param);
                continue;
            }
            Out.U8(0x80 | Mask);
            if (Cell.Note)
                Out.U8(Cell.Note);
            if (Cell.Instrument)
                Out.U8(Cell.Instrument);
            if (Cell.Volume)
                Out.U8(Cell.Volume);
            if (Cell.Effect)
                Out.U8(Cell.Effect);
            if (Cell.Param)
                Out.U8(Cell.Param);
        }
    return Packed;
}

void WriteEnvelopePoints(TByteWriter& Out, const TXmEnvelope& Envelope)
{
    for (int I = 0; I < MaxEnvelopePoints; ++I)
    {
        const bool Used = I < static_cast<int>(Envelope.Points.size());
        Out.U16(Used ? Envelope.Points[I].Tick : 0);
        Out.U16(Used ? Envelope.Points[I].Value : 0);
    }
}

unsigned EnvelopeType(const TXmEnvelope& Envelope)
{
    if (Envelope.Points.empty())
        return 0;
    return 1 | (Envelope.Sustain >= 0 ? 2 : 0) | (Envelope.LoopStart >= 0 ? 4 : 0);
}

void WriteInstrument(TByteWriter& Out, const TXmInstrument& Instrument)
{
    const std::size_t Start = Out.Size();
    const TXmEnvelope& Volume = Instrument.VolumeEnvelope;
    Out.U32(InstrumentSize);
    Out.Text(Instrument.Name, 22);
    Out.U8(0);  // type
    Out.U16(1); // one sample
    Out.U32(SampleHeaderSize);
    Out.Zeros(96); // every note plays sample 0
    WriteEnvelopePoints(Out, Volume);
    WriteEnvelopePoints(Out, TXmEnvelope{}); // no panning envelope
    Out.U8(static_cast<unsigned>(Volume.Points.size()));
    Out.U8(0);
    Out.U8(Volume.Sustain >= 0 ? Volume.Sustain : 0);
    Out.U8(Volume.LoopStart >= 0 ? Volume.LoopStart : 0);
    Out.U8(Volume.LoopEnd >= 0 ? Volume.LoopEnd : 0);
    Out.U8(0);
    Out.U8(0);
    Out.U8(0);
    Out.U8(EnvelopeType(Volume));
    Out.U8(0);
    Out.U8(Instrument.VibratoType);
    Out.U8(Instrument.VibratoSweep);
    Out.U8(Instrument.VibratoDepth);
    Out.U8(Instrument.VibratoRate);
    Out.U16(Instrument.Fadeout);
    Out.Zeros(InstrumentSize - (Out.Size() - Start)); // reserved

    const TXmSample& Sample = Instrument.Sample;
    Out.U32(static_cast<std::uint32_t>(Sample.Data.size() * 2)); // lengths in bytes
    Out.U32(Sample.Loop ? Sample.LoopStart * 2 : 0);
    Out.U32(Sample.Loop ? Sample.LoopLength * 2 : 0);
    Out.U8(Sample.Volume);
    Out.U8(static_cast<std::uint8_t>(Sample.Finetune));
    Out.U8(0x10 | (Sample.Loop ? 1 : 0)); // 16-bit, forward loop
    Out.U8(Sample.Panning);
    Out.U8(static_cast<std::uint8_t>(Sample.RelativeNote));
    Out.U8(0);
    Out.Text(Instrument.Name, 22);

    // Sample data as differences from the previous frame, wrapping in 16 bits.
    std::int16_t Previous = 0;
    for (const std::int16_t Frame : Sample.Data)
    {
        Out.U16(static_cast<std::uint16_t>(Frame - Previous));
        Previous = Frame;
    }
}

} // namespace

bool SerializeXm(const TXmModule& Module, std::vector<std::uint8_t>& Bytes, std::string& Error)
{
    if (!CheckModule(Module, Error))
        return false;
    Bytes.clear();
    TByteWriter Out(Bytes);
    Out.Text("Extended Module: ", 17);
    Out.Text(Module.Name, 20);
    Out.U8(0x1A);
    Out.Text("Velomarch assetgen", 20);
    Out.U16(0x0104);
    Out.U32(HeaderSize);
    Out.U16(static_cast<unsigned>(Module.Orders.size()));
    Out.U16(static_cast<unsigned>(Module.RestartPosition));
    Out.U16(static_cast<unsigned>(Module.Channels));
    Out.U16(static_cast<unsigned>(Module.Patterns.size()));
    Out.U16(static_cast<unsigned>(Module.Instruments.size()));
    Out.U16(1); // linear frequency table
    Out.U16(static_cast<unsigned>(Module.Speed));
    Out.U16(static_cast<unsigned>(Module.Bpm));
    for (int I = 0; I < 256; ++I)
        Out.U8(I < static_cast<int>(Module.Orders.size()) ? Module.Orders[I] : 0);

    for (std::size_t P = 0; P < Module.Patterns.size(); ++P)
    {
        const TXmPattern& Pattern = Module.Patterns[P];
        const std::vector<std::uint8_t> Packed = PackPattern(Pattern);
        if (Packed.size() > 0xFFFF)
            return Fail(Error, "pattern " + std::to_string(P) + " packs to more than 64 KiB");
        Out.U32(9); // pattern header length
        Out.U8(0);  // packing type
        Out.U16(static_cast<unsigned>(Pattern.Rows()));
        Out.U16(static_cast<unsigned>(Packed.size()));
        Bytes.insert(Bytes.end(), Packed.begin(), Packed.end());
    }
    for (const TXmInstrument& Instrument : Module.Instruments)
        WriteInstrument(Out, Instrument);
    return true;
}

bool WriteXmFile(const TXmModule& Module, const std::filesystem::path& File, std::string& Error)
{
    std::vector<std::uint8_t> Bytes;
    if (!SerializeXm(Module, Bytes, Error))
    {
        Error = File.filename().string() + ": " + Error;
        return false;
    }
    std::ofstream Stream(File, std::ios::binary | std::ios::trunc);
    Stream.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    Stream.close();
    if (!Stream)
        return Fail(Error, "cannot write " + File.string());
    return true;
}

void TuneSampleRate(TXmSample& Sample, double Rate)
{
    // With the linear table, C-4 plays a sample at 8363 Hz shifted by RelativeNote + Finetune / 128.
    const double Semitones = 12.0 * std::log2(Rate / 8363.0);
    int Relative = static_cast<int>(std::floor(Semitones + 0.5));
    int Fine = static_cast<int>(std::lround((Semitones - Relative) * 128.0));
    Fine = std::clamp(Fine, -128, 127);
    Sample.RelativeNote = static_cast<std::int8_t>(std::clamp(Relative, -96, 95));
    Sample.Finetune = static_cast<std::int8_t>(Fine);
}

} // namespace vm::assetgen
