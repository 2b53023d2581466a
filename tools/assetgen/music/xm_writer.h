// An in-memory extended module (XM, version 0x0104) and its serialisation to the file format.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vm::assetgen {

// XM note numbers: 1 is C-0, 49 is C-4 (the pitch a sample is tuned to), 97 releases the note.
constexpr std::uint8_t XmNoNote = 0;
constexpr std::uint8_t XmKeyOff = 97;
// Effect numbers used by the tunes.
constexpr std::uint8_t XmEffectPanning = 0x8;      // 0 left .. 255 right
constexpr std::uint8_t XmEffectPositionJump = 0xB; // continue at this order-list position
constexpr std::uint8_t XmEffectSpeed = 0xF;        // below 0x20 ticks per row, from 0x20 BPM

// One pattern cell. Zero fields are empty; Volume is the volume column byte (0x10..0x50 sets 0..64).
struct TXmCell
{
    std::uint8_t Note = XmNoNote;
    std::uint8_t Instrument = 0; // 1-based, 0 = none
    std::uint8_t Volume = 0;
    std::uint8_t Effect = 0;
    std::uint8_t Param = 0;
};

// Rows x channels of cells, row-major.
class TXmPattern
{
public:
    TXmPattern(int Rows, int Channels) : FRows(Rows), FChannels(Channels), FCells(Rows * Channels) {}
    int Rows() const { return FRows; }
    int Channels() const { return FChannels; }
    TXmCell& At(int Row, int Channel) { return FCells[Row * FChannels + Channel]; }
    const TXmCell& At(int Row, int Channel) const { return FCells[Row * FChannels + Channel]; }

private:
    int FRows;
    int FChannels;
    std::vector<TXmCell> FCells;
};

// Envelope points: Tick from the note's start, Value 0..64 (volume). At most 12 points.
struct TXmEnvelopePoint
{
    std::uint16_t Tick = 0;
    std::uint16_t Value = 0;
};

struct TXmEnvelope
{
    std::vector<TXmEnvelopePoint> Points; // empty = envelope off
    int Sustain = -1;                     // point index held until key off, or -1
    int LoopStart = -1;                   // point indices of a loop, or -1
    int LoopEnd = -1;
};

// One 16-bit mono sample. Loop bounds are in sample frames.
struct TXmSample
{
    std::vector<std::int16_t> Data;
    bool Loop = false;
    std::uint32_t LoopStart = 0;
    std::uint32_t LoopLength = 0;
    std::uint8_t Volume = 64;     // 0..64
    std::int8_t Finetune = 0;     // 1/128 semitone
    std::uint8_t Panning = 128;   // 0 left .. 255 right
    std::int8_t RelativeNote = 0; // semitones added to the played note
};

// An instrument with one sample mapped to every note.
struct TXmInstrument
{
    std::string Name;
    TXmSample Sample;
    TXmEnvelope VolumeEnvelope;
    std::uint16_t Fadeout = 0;    // volume lost per tick after key off, of 32768
    std::uint8_t VibratoType = 0; // automatic vibrato: 0 sine
    std::uint8_t VibratoSweep = 0;
    std::uint8_t VibratoDepth = 0;
    std::uint8_t VibratoRate = 0;
};

struct TXmModule
{
    std::string Name;
    int Channels = 8;
    int Speed = 6; // ticks per row
    int Bpm = 125; // a tick lasts 2.5 / Bpm seconds
    int RestartPosition = 0;
    std::vector<std::uint8_t> Orders; // pattern indices, played in turn
    std::vector<TXmPattern> Patterns;
    std::vector<TXmInstrument> Instruments;
};

// The module as XM file bytes. False with Error set when the module breaks the format's limits.
bool SerializeXm(const TXmModule& Module, std::vector<std::uint8_t>& Bytes, std::string& Error);
// Serialises and writes the module to File.
bool WriteXmFile(const TXmModule& Module, const std::filesystem::path& File, std::string& Error);

// Sets a sample's relative note and finetune so that note C-4 plays it at Rate frames per second.
void TuneSampleRate(TXmSample& Sample, double Rate);

} // namespace vm::assetgen
