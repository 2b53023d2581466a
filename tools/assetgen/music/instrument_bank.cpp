// Synthesis of the music modules' instruments: additive tones with exact loops, and one-shot drums.
#include "music/instrument_bank.h"

#include "engine/random.h"

#include <algorithm>
#include <cmath>

namespace vm::assetgen {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double MiddleC = 261.6255653;
constexpr double PeakLevel = 0.9 * 32767.0;

// Scales Signal to the peak level and converts it to 16-bit frames.
std::vector<std::int16_t> ToFrames(const std::vector<double>& Signal)
{
    double Peak = 1e-9;
    for (const double Value : Signal)
        Peak = std::max(Peak, std::abs(Value));
    std::vector<std::int16_t> Frames(Signal.size());
    for (std::size_t I = 0; I < Signal.size(); ++I)
        Frames[I] = static_cast<std::int16_t>(std::lround(Signal[I] / Peak * PeakLevel));
    return Frames;
}

// A one-shot sample at the drum rate, faded to zero over its last few milliseconds.
TXmSample DrumSample(std::vector<double> Signal)
{
    const std::size_t Tail = std::min<std::size_t>(Signal.size(), 110);
    for (std::size_t I = 0; I < Tail; ++I)
        Signal[Signal.size() - 1 - I] *= static_cast<double>(I) / static_cast<double>(Tail);
    TXmSample Sample;
    Sample.Data = ToFrames(Signal);
    TuneSampleRate(Sample, DrumRate);
    return Sample;
}

// White noise in -1..1 from the game's generator.
class TNoise
{
public:
    explicit TNoise(unsigned Seed) : FRandom(Seed) {}
    double Next() { return FRandom.Random(65536) / 32768.0 - 1.0; }

private:
    vm::TRandom FRandom;
};

// One-pole high-pass filter at Cutoff Hz.
class THighPass
{
public:
    explicit THighPass(double Cutoff) : FCoef(std::exp(-2.0 * Pi * Cutoff / DrumRate)) {}
    double Step(double In)
    {
        FOut = FCoef * (FOut + In - FIn);
        FIn = In;
        return FOut;
    }

private:
    double FCoef;
    double FIn = 0.0;
    double FOut = 0.0;
};

// One-pole low-pass filter at Cutoff Hz.
class TLowPass
{
public:
    explicit TLowPass(double Cutoff) : FCoef(1.0 - std::exp(-2.0 * Pi * Cutoff / DrumRate)) {}
    double Step(double In) { return FOut += FCoef * (In - FOut); }

private:
    double FCoef;
    double FOut = 0.0;
};

int Frames(double Seconds) { return static_cast<int>(Seconds * DrumRate); }

} // namespace

double SawSpectrum(int Harmonic) { return 1.0 / Harmonic; }
double SquareSpectrum(int Harmonic) { return Harmonic % 2 ? 1.0 / Harmonic : 0.0; }
double PulseSpectrum(int Harmonic, double Width)
{
    return std::abs(std::sin(Pi * Harmonic * Width)) / Harmonic;
}
double TriangleSpectrum(int Harmonic) { return Harmonic % 2 ? 1.0 / (Harmonic * Harmonic) : 0.0; }
double LowPass(int Harmonic, double Cutoff)
{
    const double Ratio = Harmonic / Cutoff;
    return 1.0 / std::sqrt(1.0 + Ratio * Ratio * Ratio * Ratio);
}

TXmSample SynthTone(const TToneRecipe& Recipe)
{
    const int LoopFrames = Recipe.Period * Recipe.LoopCycles;
    const int AttackFrames = Recipe.Attack ? Recipe.AttackCycles * Recipe.Period : 0;
    const int Total = AttackFrames + LoopFrames;
    // Every partial has a whole number of cycles per loop, so one sine table of the loop's length
    // serves them all exactly and the loop's end meets its start.
    std::vector<double> Sine(LoopFrames);
    for (int I = 0; I < LoopFrames; ++I)
        Sine[I] = std::sin(2.0 * Pi * I / LoopFrames);
    std::vector<double> Signal(Total, 0.0);
    vm::TRandom Phases(Recipe.Seed);
    double CyclesSum = 0.0;
    for (const int Detune : Recipe.Detune)
    {
        const long Cycles = Recipe.LoopCycles + Detune;
        CyclesSum += static_cast<double>(Cycles);
        const long Offset = Phases.Random(LoopFrames);
        for (int H = 1; H <= Recipe.Harmonics; ++H)
        {
            if (2 * H * Cycles >= LoopFrames)
                break; // above the sample's Nyquist limit
            const double Steady = Recipe.Steady(H);
            const double Attack = AttackFrames ? Recipe.Attack(H) : Steady;
            if (Steady == 0.0 && Attack == 0.0)
                continue;
            const long Step = H * Cycles;
            long Index = (Offset * H) % LoopFrames;
            for (int N = 0; N < Total; ++N)
            {
                double Amplitude = Steady;
                if (N < AttackFrames)
                {
                    // Smooth fade from the attack spectrum to the steady one.
                    const double Fade = 0.5 + 0.5 * std::cos(Pi * N / AttackFrames);
                    Amplitude += (Attack - Steady) * Fade;
                }
                Signal[N] += Amplitude * Sine[Index];
                Index = (Index + Step) % LoopFrames;
            }
        }
    }
    TXmSample Sample;
    Sample.Data = ToFrames(Signal);
    Sample.Loop = true;
    Sample.LoopStart = static_cast<std::uint32_t>(AttackFrames);
    Sample.LoopLength = static_cast<std::uint32_t>(LoopFrames);
    // The mean oscillator sets the pitch: it runs CyclesSum / count cycles in LoopFrames frames.
    const double MeanCycles = CyclesSum / static_cast<double>(Recipe.Detune.size());
    TuneSampleRate(Sample, MiddleC * LoopFrames / MeanCycles);
    return Sample;
}

TXmSample SynthKick(double Punch, double Length)
{
    TNoise Noise(11);
    TLowPass Click(3000.0);
    std::vector<double> Signal(Frames(Length));
    double Phase = 0.0;
    for (std::size_t N = 0; N < Signal.size(); ++N)
    {
        const double T = N / DrumRate;
        const double Frequency = 48.0 + 120.0 * Punch * std::exp(-T / 0.03);
        Phase += 2.0 * Pi * Frequency / DrumRate;
        const double Body = std::sin(Phase) * std::exp(-T / (0.12 + 0.08 * Punch)) * std::min(1.0, T / 0.001);
        const double Tick = Click.Step(Noise.Next()) * std::exp(-T / 0.004) * 0.8 * Punch;
        Signal[N] = std::tanh(1.6 * (Body + Tick));
    }
    return DrumSample(std::move(Signal));
}

TXmSample SynthSnare(double Tone, double Length)
{
    TNoise Noise(23);
    THighPass Cut(1200.0);
    TLowPass Soft(7000.0);
    std::vector<double> Signal(Frames(Length));
    double Phase1 = 0.0;
    double Phase2 = 0.0;
    for (std::size_t N = 0; N < Signal.size(); ++N)
    {
        const double T = N / DrumRate;
        Phase1 += 2.0 * Pi * (185.0 + 40.0 * std::exp(-T / 0.01)) / DrumRate;
        Phase2 += 2.0 * Pi * 330.0 / DrumRate;
        const double Body = (std::sin(Phase1) + 0.5 * std::sin(Phase2)) * std::exp(-T / 0.045) * Tone;
        const double Rattle = Soft.Step(Cut.Step(Noise.Next())) * std::exp(-T / 0.075) * 1.6;
        Signal[N] = std::tanh(1.3 * (Body + Rattle) * std::min(1.0, T / 0.0007));
    }
    return DrumSample(std::move(Signal));
}

TXmSample SynthHat(double Decay, double Length, unsigned Seed)
{
    TNoise Noise(Seed);
    THighPass Cut1(5000.0);
    THighPass Cut2(5000.0);
    // Square waves at unrelated frequencies give the cymbal its metallic ring.
    const double Metal[6] = {3140.0, 4472.0, 5431.0, 6121.0, 7407.0, 8285.0};
    std::vector<double> Signal(Frames(Length));
    for (std::size_t N = 0; N < Signal.size(); ++N)
    {
        const double T = N / DrumRate;
        double Ring = 0.0;
        for (const double Frequency : Metal)
            Ring += std::fmod(T * Frequency, 1.0) < 0.5 ? 1.0 : -1.0;
        const double Raw = Noise.Next() + 0.12 * Ring;
        Signal[N] = Cut2.Step(Cut1.Step(Raw)) * std::exp(-T / Decay) * std::min(1.0, T / 0.0005);
    }
    return DrumSample(std::move(Signal));
}

TXmSample SynthShaker()
{
    TNoise Noise(41);
    THighPass Cut(4000.0);
    TLowPass Soft(9000.0);
    std::vector<double> Signal(Frames(0.12));
    for (std::size_t N = 0; N < Signal.size(); ++N)
    {
        const double T = N / DrumRate;
        const double Swell = std::min(1.0, T / 0.025) * std::exp(-std::max(0.0, T - 0.025) / 0.025);
        Signal[N] = Soft.Step(Cut.Step(Noise.Next())) * Swell;
    }
    return DrumSample(std::move(Signal));
}

TXmSample SynthCrash()
{
    TNoise Noise(57);
    THighPass Cut1(4500.0);
    THighPass Cut2(3000.0);
    const double Metal[6] = {2713.0, 3917.0, 4889.0, 5512.0, 6968.0, 8849.0};
    std::vector<double> Signal(Frames(1.3));
    for (std::size_t N = 0; N < Signal.size(); ++N)
    {
        const double T = N / DrumRate;
        double Ring = 0.0;
        for (const double Frequency : Metal)
            Ring += std::fmod(T * Frequency, 1.0) < 0.5 ? 1.0 : -1.0;
        const double Raw = Noise.Next() + 0.1 * Ring;
        const double Level = 0.35 * std::exp(-T / 0.45) + 0.65 * std::exp(-T / 0.12);
        Signal[N] = Cut2.Step(Cut1.Step(Raw)) * Level * std::min(1.0, T / 0.001);
    }
    return DrumSample(std::move(Signal));
}

TXmEnvelope MakeEnvelope(int Bpm, const std::vector<std::pair<double, int>>& Points, int Sustain)
{
    // A tick lasts 2.5 / Bpm seconds whatever the speed.
    const double TicksPerSecond = Bpm / 2.5;
    TXmEnvelope Envelope;
    int Last = -1;
    for (const auto& [Seconds, Level] : Points)
    {
        const int Tick = std::max(Last + 1, static_cast<int>(std::lround(Seconds * TicksPerSecond)));
        Envelope.Points.push_back({static_cast<std::uint16_t>(Tick), static_cast<std::uint16_t>(Level)});
        Last = Tick;
    }
    Envelope.Sustain = Sustain;
    return Envelope;
}

std::uint16_t FadeoutFor(int Bpm, double Seconds)
{
    const double Ticks = std::max(1.0, Seconds * Bpm / 2.5);
    return static_cast<std::uint16_t>(std::clamp(std::lround(32768.0 / Ticks), 1L, 0xFFFL));
}

void SetAutoVibrato(TXmInstrument& Instrument, int Bpm, double Hz, int Depth, double Delay)
{
    // The vibrato position moves Rate steps of 256 per tick; the sweep counts ticks to full depth.
    const double TicksPerSecond = Bpm / 2.5;
    Instrument.VibratoType = 0;
    Instrument.VibratoRate =
        static_cast<std::uint8_t>(std::clamp(std::lround(256.0 * Hz / TicksPerSecond), 1L, 63L));
    Instrument.VibratoDepth = static_cast<std::uint8_t>(std::clamp(Depth, 0, 15));
    Instrument.VibratoSweep =
        static_cast<std::uint8_t>(std::clamp(std::lround(Delay * TicksPerSecond), 0L, 255L));
}

TXmInstrument MakeInstrument(const std::string& Name, TXmSample Sample, TXmEnvelope Envelope,
                             std::uint16_t Fadeout)
{
    TXmInstrument Instrument;
    Instrument.Name = Name;
    Instrument.Sample = std::move(Sample);
    Instrument.VolumeEnvelope = std::move(Envelope);
    Instrument.Fadeout = Fadeout;
    return Instrument;
}

} // namespace vm::assetgen
