// The lose tune: a short, slow, melancholic loop in A minor at 72 BPM (soft bass, dark pad, electric
// piano arpeggios and a breathy lead), four bars that turn back into themselves.
#include "music/instrument_bank.h"
#include "music/tune_writing.h"
#include "music/tunes.h"

#include <string_view>
#include <vector>

namespace vm::assetgen {

namespace {

constexpr int Bpm = 72;
constexpr int BarRows = 16;

// Instrument numbers.
enum : int
{
    Bass = 1,
    Pad,
    Piano,
    Lead
};

// Channels.
enum : int
{
    ChBass,
    ChPad, // three pad voices
    ChPad2,
    ChPad3,
    ChLead,
    ChLeadEcho,
    ChPiano,
    ChPianoEcho,
    ChannelCount
};

// A bar's harmony: bass note, pad voicing and a broken chord for the piano.
struct TChord
{
    std::string_view Bass;
    std::vector<std::string_view> Pad;
    std::string_view Piano;
};

const TChord Bars[4] = {
    {"A2/16", {"A3", "C4", "E4"}, "A3/2 E4/2 A4/2 C5/2 E5/4 C5/2 A4/2"},
    {"F2/16", {"A3", "C4", "E4"}, "F3/2 C4/2 A4/2 C5/2 E5/4 C5/2 A4/2"},
    {"D2/16", {"A3", "D4", "F4"}, "D3/2 A3/2 D4/2 F4/2 A4/4 F4/2 D4/2"},
    {"E2/16", {"A3", "B3", "E4"}, "E3/2 B3/2 E4/2 G#4/2 B4/4 G#4/2 E4/2"},
};

void AddInstruments(TXmModule& Module)
{
    std::vector<TXmInstrument>& List = Module.Instruments;

    TToneRecipe Bass;
    Bass.Period = 128;
    Bass.LoopCycles = 2;
    Bass.Harmonics = 8;
    Bass.Steady = [](int H) { return H == 1 ? 1.0 : H == 2 ? 0.3 : H == 3 ? 0.1 : 0.0; };
    List.push_back(MakeInstrument("bass", SynthTone(Bass),
                                  MakeEnvelope(Bpm, {{0.0, 0}, {0.05, 64}, {1.5, 44}}, 2),
                                  FadeoutFor(Bpm, 0.4)));

    TToneRecipe Pad;
    Pad.Period = 64;
    Pad.LoopCycles = 192;
    Pad.Detune = {-1, 0, 1};
    Pad.Harmonics = 16;
    Pad.Steady = [](int H) { return SawSpectrum(H) * LowPass(H, 3.0); };
    Pad.Seed = 21;
    List.push_back(MakeInstrument(
        "pad", SynthTone(Pad), MakeEnvelope(Bpm, {{0.0, 0}, {0.9, 56}, {2.0, 48}}, 2), FadeoutFor(Bpm, 1.2)));

    TToneRecipe Piano;
    Piano.Period = 64;
    Piano.LoopCycles = 2;
    Piano.Harmonics = 12;
    Piano.Steady = [](int H) { return H == 1 ? 1.0 : H == 2 ? 0.12 : H == 3 ? 0.03 : 0.0; };
    Piano.Attack = [](int H) {
        return H == 1 ? 1.0 : H == 2 ? 0.45 : H == 3 ? 0.15 : H == 4 ? 0.1 : H == 7 ? 0.12 : 0.0;
    };
    Piano.AttackCycles = 24;
    TXmSample PianoSample = SynthTone(Piano);
    PianoSample.Panning = 148;
    List.push_back(MakeInstrument(
        "piano", std::move(PianoSample),
        MakeEnvelope(Bpm, {{0.0, 64}, {0.1, 48}, {0.8, 28}, {2.5, 10}, {4.0, 0}}, -1), FadeoutFor(Bpm, 0.6)));

    TToneRecipe Lead;
    Lead.Period = 64;
    Lead.LoopCycles = 200;
    Lead.Detune = {0, 1};
    Lead.Harmonics = 10;
    Lead.Steady = [](int H) { return TriangleSpectrum(H) + 0.15 * SawSpectrum(H) * LowPass(H, 3.0); };
    Lead.Seed = 33;
    TXmInstrument LeadInstrument =
        MakeInstrument("lead", SynthTone(Lead), MakeEnvelope(Bpm, {{0.0, 0}, {0.1, 64}, {0.8, 52}}, 2),
                       FadeoutFor(Bpm, 0.5));
    LeadInstrument.Sample.Panning = 112;
    SetAutoVibrato(LeadInstrument, Bpm, 4.5, 12, 0.6);
    List.push_back(std::move(LeadInstrument));
}

} // namespace

bool BuildLoseTune(TXmModule& Module, std::string& Error)
{
    Module = TXmModule{};
    Module.Name = "Velomarch lose";
    Module.Channels = ChannelCount;
    Module.Speed = 6;
    Module.Bpm = Bpm;
    AddInstruments(Module);

    TPatternWriter W(Module.Patterns.emplace_back(64, ChannelCount), Error);
    for (int Bar = 0; Bar < 4; ++Bar)
    {
        const TChord& Chord = Bars[Bar];
        const int Row = Bar * BarRows;
        W.Phrase(ChBass, Bass, Row, Chord.Bass, 48, 0, BarRows);
        W.Chord(ChPad, Pad, Row, Chord.Pad, BarRows, 24);
        W.Phrase(ChPiano, Piano, Row, Chord.Piano, 30, 0, BarRows);
    }
    // The suspension over E resolves to the major third halfway through the last bar.
    W.Note(56, ChPad, "G#3", Pad, 24);
    W.Echo(ChPiano, ChPianoEcho, 3, 12, 80);
    W.Phrase(ChLead, Lead, 0,
             "E5/6 D5/2 C5/4 B4/4 "
             "C5/8 A4/8 "
             "F4/4 A4/4 D5/6 C5/2 "
             "B4/8 G#4/4 r/4",
             40, 0, 64);
    W.Echo(ChLead, ChLeadEcho, 4, 14, 190);
    // Back to the first bar without ending the song, so nothing is cut at the loop.
    W.Effect(63, ChBass, XmEffectPositionJump, 0);
    Module.Orders = {0};
    Module.RestartPosition = 0;
    return Error.empty();
}

} // namespace vm::assetgen
