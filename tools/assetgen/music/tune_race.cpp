// The race tune: a driving loop in E minor at 150 BPM (four-on-the-floor drums, pulsing octave bass,
// detuned-saw lead hook, square-wave arpeggios and a pad).
#include "music/instrument_bank.h"
#include "music/tune_writing.h"
#include "music/tunes.h"

#include <array>
#include <string_view>
#include <vector>

namespace vm::assetgen {

namespace {

constexpr int Bpm = 150;
constexpr int BarRows = 16;

// Instrument numbers.
enum : int
{
    Kick = 1,
    Snare,
    Hat,
    OpenHat,
    Crash,
    Bass,
    Pad,
    Lead,
    Arp
};

// Channels.
enum : int
{
    ChKick,
    ChSnare,
    ChHat,
    ChCymbal,
    ChBass,
    ChPad, // three pad voices
    ChPad2,
    ChPad3,
    ChLead,
    ChLeadEcho,
    ChArp,
    ChArpEcho,
    ChannelCount
};

// A bar's harmony: pad voicing, the bass line's shift from E, and a sixteenth-note arpeggio.
struct TChord
{
    std::vector<std::string_view> Pad;
    int BassShift;
    std::string_view Arp;
};

const TChord EMin{{"G3", "B3", "E4"}, 0, "E4/1 B4/1 G4/1 B4/1 E5/1 B4/1 G4/1 B4/1"};
const TChord CMaj{{"G3", "C4", "E4"}, -4, "C4/1 G4/1 E4/1 G4/1 C5/1 G4/1 E4/1 G4/1"};
const TChord GMaj{{"G3", "B3", "D4"}, 3, "G4/1 D5/1 B4/1 D5/1 G5/1 D5/1 B4/1 D5/1"};
const TChord DMaj{{"F#3", "A3", "D4"}, -2, "D4/1 A4/1 F#4/1 A4/1 D5/1 A4/1 F#4/1 A4/1"};
const TChord AMin{{"A3", "C4", "E4"}, 5, "A4/1 E5/1 C5/1 E5/1 A5/1 E5/1 C5/1 E5/1"};
const TChord BMaj{{"F#3", "B3", "D#4"}, -5, "B3/1 F#4/1 D#4/1 F#4/1 B4/1 F#4/1 D#4/1 F#4/1"};

using TBars = std::array<const TChord*, 4>;

// Bass lines for one bar, written on E and shifted to each chord.
constexpr std::string_view BassPulse = "E2/2 E2/2 E3/2 E2/2 E2/2 E3/2 E2/2 B2/2";
constexpr std::string_view BassDrive =
    "E2/1 r/1 E2/1 E2/1 E3/1 r/1 E2/1 E2/1 E2/1 r/1 E2/1 E2/1 E3/1 r/1 B2/1 B2/1";
constexpr std::string_view BassLong = "E2/14 r/2";

// Drum grids for one bar; the cymbal line plays the crash with 'X' and the open hat otherwise.
struct TBeat
{
    std::string_view Kick, Snare, Hat, OpenHat;
};

const TBeat Drive{"X...X...X...X...", "....X.......X...", "x-x-x-x-x-x-x-x-", ""};
const TBeat DriveOpen{"X...X...X...X..o", "....X.......X...", "x-.-x-.-x-.-x-.-", "..x...x...x...x."};
const TBeat DriveFill{"X...X...X...X.X.", "....X...X.o.XxXX", "x-x-x-x-x-x-....", ""};
const TBeat KickHat{"X...X...X...X...", "", "x-x-x-x-x-x-x-x-", ""};
const TBeat Sparse{"X.........X.....", "", "x.o.x.o.x.o.x.o.", ""};
const TBeat Roll8{"X...X...X...X...", "o.o.o.o.x.x.x.x.", "x-x-x-x-x-x-x-x-", ""};
const TBeat Roll16{"X...X...X...X...", "oooooooxxxxxXXXX", "x-x-x-x-x-x-x-x-", ""};

void Harmony(TPatternWriter& W, const TBars& Bars, std::string_view BassBar, bool WithArp)
{
    for (int Bar = 0; Bar < 4; ++Bar)
    {
        const TChord& Chord = *Bars[Bar];
        const int Row = Bar * BarRows;
        W.Chord(ChPad, Pad, Row, Chord.Pad, BarRows, 22);
        W.Phrase(ChBass, Bass, Row, BassBar, 48, Chord.BassShift, BarRows);
        if (WithArp)
        {
            W.Phrase(ChArp, Arp, Row, Chord.Arp, 20, 0, BarRows / 2);
            W.Phrase(ChArp, Arp, Row + BarRows / 2, Chord.Arp, 16, 0, BarRows / 2);
        }
    }
    if (WithArp)
        W.Echo(ChArp, ChArpEcho, 3, 9, 60);
}

void Drums(TPatternWriter& W, const std::array<const TBeat*, 4>& Beats, bool CrashFirst)
{
    for (int Bar = 0; Bar < 4; ++Bar)
    {
        const TBeat& Beat = *Beats[Bar];
        const int Row = Bar * BarRows;
        if (!Beat.Kick.empty())
            W.Hits(ChKick, Kick, Row, BarRows, Beat.Kick, 64);
        if (!Beat.Snare.empty())
            W.Hits(ChSnare, Snare, Row, BarRows, Beat.Snare, 50);
        if (!Beat.Hat.empty())
            W.Hits(ChHat, Hat, Row, BarRows, Beat.Hat, 56);
        if (!Beat.OpenHat.empty())
            W.Hits(ChCymbal, OpenHat, Row, BarRows, Beat.OpenHat, 40);
    }
    if (CrashFirst)
        W.NoteNumber(0, ChCymbal, 49, Crash, 40);
}

void Melody(TPatternWriter& W, std::string_view Text, int Volume = 42)
{
    W.Phrase(ChLead, Lead, 0, Text, Volume, 0, 64);
    W.Echo(ChLead, ChLeadEcho, 3, 14, 200);
}

void AddInstruments(TXmModule& Module)
{
    std::vector<TXmInstrument>& List = Module.Instruments;
    const TXmEnvelope OneShot;
    List.push_back(MakeInstrument("kick", SynthKick(1.0, 0.32), OneShot));
    List.push_back(MakeInstrument("snare", SynthSnare(1.0, 0.24), OneShot));
    TXmSample HatSample = SynthHat(0.018, 0.08, 13);
    HatSample.Panning = 168;
    List.push_back(MakeInstrument("hat", std::move(HatSample), OneShot));
    TXmSample OpenSample = SynthHat(0.1, 0.3, 17);
    OpenSample.Panning = 92;
    List.push_back(MakeInstrument("open hat", std::move(OpenSample), OneShot));
    List.push_back(MakeInstrument("crash", SynthCrash(), OneShot));

    TToneRecipe Bass;
    Bass.Period = 128;
    Bass.LoopCycles = 2;
    Bass.Harmonics = 32;
    Bass.Steady = [](int H) { return PulseSpectrum(H, 0.35) * LowPass(H, 6.0) + (H == 1 ? 0.3 : 0.0); };
    Bass.Attack = [](int H) { return PulseSpectrum(H, 0.35) * LowPass(H, 18.0) + (H == 1 ? 0.3 : 0.0); };
    Bass.AttackCycles = 4;
    List.push_back(MakeInstrument("bass", SynthTone(Bass), MakeEnvelope(Bpm, {{0.0, 64}, {0.12, 44}}, 1),
                                  FadeoutFor(Bpm, 0.05)));

    TToneRecipe Pad;
    Pad.Period = 64;
    Pad.LoopCycles = 160;
    Pad.Detune = {-1, 0, 1};
    Pad.Harmonics = 20;
    Pad.Steady = [](int H) { return SawSpectrum(H) * LowPass(H, 6.0); };
    Pad.Seed = 3;
    List.push_back(MakeInstrument(
        "pad", SynthTone(Pad), MakeEnvelope(Bpm, {{0.0, 0}, {0.3, 56}, {1.0, 46}}, 2), FadeoutFor(Bpm, 0.5)));

    TToneRecipe Lead;
    Lead.Period = 64;
    Lead.LoopCycles = 128;
    Lead.Detune = {-1, 0, 1};
    Lead.Harmonics = 16;
    Lead.Steady = [](int H) { return SawSpectrum(H) * LowPass(H, 9.0); };
    Lead.Seed = 5;
    TXmInstrument LeadInstrument = MakeInstrument(
        "lead", SynthTone(Lead), MakeEnvelope(Bpm, {{0.0, 64}, {0.25, 54}}, 1), FadeoutFor(Bpm, 0.15));
    LeadInstrument.Sample.Panning = 116;
    SetAutoVibrato(LeadInstrument, Bpm, 6.0, 8, 0.3);
    List.push_back(std::move(LeadInstrument));

    TToneRecipe Square;
    Square.Period = 64;
    Square.LoopCycles = 2;
    Square.Harmonics = 24;
    Square.Steady = [](int H) { return SquareSpectrum(H) * LowPass(H, 5.0); };
    Square.Attack = [](int H) { return SquareSpectrum(H) * LowPass(H, 14.0); };
    Square.AttackCycles = 10;
    TXmSample ArpSample = SynthTone(Square);
    ArpSample.Panning = 176;
    List.push_back(MakeInstrument("arp", std::move(ArpSample),
                                  MakeEnvelope(Bpm, {{0.0, 64}, {0.05, 36}, {0.25, 10}, {0.5, 0}}, -1),
                                  FadeoutFor(Bpm, 0.1)));
}

} // namespace

bool BuildRaceTune(TXmModule& Module, std::string& Error)
{
    Module = TXmModule{};
    Module.Name = "Velomarch race";
    Module.Channels = ChannelCount;
    Module.Speed = 6;
    Module.Bpm = Bpm;
    AddInstruments(Module);

    const TBars Hook{&EMin, &CMaj, &GMaj, &DMaj};
    const TBars Tension{&AMin, &CMaj, &EMin, &BMaj};
    const TBars Turn{&AMin, &CMaj, &DMaj, &BMaj};
    auto Add = [&Module]() -> TXmPattern& { return Module.Patterns.emplace_back(64, ChannelCount); };

    // 0: intro, the groove assembles over the pad; arpeggios enter halfway.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Hook, BassPulse, false);
        for (int Bar = 2; Bar < 4; ++Bar)
            W.Phrase(ChArp, Arp, Bar * BarRows, Hook[Bar]->Arp, 18, 0, BarRows / 2);
        Drums(W, {&KickHat, &KickHat, &Drive, &DriveFill}, false);
    }
    // 1: A, the hook.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Hook, BassPulse, true);
        Drums(W, {&Drive, &Drive, &Drive, &Drive}, true);
        Melody(W, "E4/2 G4/2 B4/2 E5/4 D5/2 B4/2 G4/2 "
                  "E4/2 G4/2 C5/4 B4/2 G4/2 E4/4 "
                  "D4/2 G4/2 B4/2 D5/4 C5/2 B4/2 A4/2 "
                  "F#4/6 A4/2 F#4/4 D4/4");
    }
    // 2: A', the hook again with a higher ending.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Hook, BassDrive, true);
        Drums(W, {&DriveOpen, &DriveOpen, &DriveOpen, &DriveFill}, false);
        Melody(W, "E4/2 G4/2 B4/2 E5/4 D5/2 B4/2 G4/2 "
                  "E4/2 G4/2 C5/4 B4/2 G4/2 E4/4 "
                  "B4/2 D5/2 G4/4 A4/2 B4/2 D5/4 "
                  "F#5/8 E5/2 D5/2 A4/4");
    }
    // 3: B, tension through the subdominant to the major dominant.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Tension, BassPulse, true);
        Drums(W, {&Drive, &Drive, &Drive, &Drive}, true);
        Melody(W, "A4/4 C5/4 E5/6 D5/2 "
                  "C5/4 B4/4 G4/6 E4/2 "
                  "G4/4 B4/4 E5/6 F#5/2 "
                  "D#5/8 B4/4 F#4/4");
    }
    // 4: B', busier, ending in a fill.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Tension, BassDrive, true);
        Drums(W, {&DriveOpen, &DriveOpen, &DriveOpen, &DriveFill}, false);
        Melody(W, "E5/2 D5/2 C5/2 A4/4 C5/2 D5/4 "
                  "E5/4 D5/2 C5/2 G4/8 "
                  "B4/2 E5/2 G5/4 F#5/2 E5/2 B4/4 "
                  "D#5/4 F#5/4 D#5/4 B4/4");
    }
    // 5: break, the drums drop back and the lead holds long notes over the arpeggios.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Hook, BassLong, true);
        Drums(W, {&Sparse, &Sparse, &Sparse, &KickHat}, true);
        Melody(W, "B4/12 A4/4 G4/16 B4/8 D5/8 F#4/12 r/4", 38);
    }
    // 6: build, a snare roll rising into the hook.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Tension, BassPulse, true);
        Drums(W, {&Drive, &Drive, &Roll8, &Roll16}, false);
    }
    // 7: turnaround, a rising line that jumps back to A.
    {
        TPatternWriter W(Add(), Error);
        Harmony(W, Turn, BassDrive, true);
        Drums(W, {&Drive, &Drive, &Drive, &DriveFill}, true);
        Melody(W, "A4/4 C5/4 E5/4 A5/4 "
                  "G5/4 E5/4 C5/4 E5/4 "
                  "F#5/4 D5/4 A4/4 F#5/4 "
                  "D#5/8 F#5/4 B4/4");
        W.Effect(63, ChKick, XmEffectPositionJump, 1);
    }
    // Intro once, then A A' B B' break build A A' B B' turnaround, looping back to A.
    Module.Orders = {0, 1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 7};
    Module.RestartPosition = 1;
    return Error.empty();
}

} // namespace vm::assetgen
