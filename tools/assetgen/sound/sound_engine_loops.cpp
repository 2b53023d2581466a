// Seamless engine loops: a low idle and high revs, built as periodic trains of cylinder firings.
#include "sound/sound_recipes.h"

#include <algorithm>
#include <cmath>

namespace vm::assetgen::recipes {

namespace {

using namespace synth;

// One exhaust resonance excited by each firing.
struct TResonance
{
    double Freq;
    double Decay;
    double Gain;
};

struct TEngine
{
    double LoopSeconds;
    // Firings per loop; a multiple of four so the pattern of the four cylinders repeats exactly.
    int Firings;
    // How far each firing may stray from its even slot, as a fraction of the slot.
    double Jitter;
    // Each cylinder fires a little differently; this gives the engine its uneven "lope".
    double CylinderGain[4];
    std::vector<TResonance> Resonances;
    double PuffDecay;
    double PuffGain;
    double Cutoff;
    // Slow swell of the whole sound: whole cycles per loop and depth.
    int SwellCycles;
    double SwellDepth;
    std::uint64_t Seed;
};

// Adds every firing's response into the loop with wrap-around, so a response that runs past the
// end continues at the start; together with whole-cycle modulation and a filter run in its steady
// state, the last sample flows into the first exactly as any sample flows into the next.
TSignal RenderEngine(const TEngine& Engine)
{
    const int Size = SampleCount(Engine.LoopSeconds);
    TSignal Signal(Size, 0.0);
    TNoise Noise(Engine.Seed);
    double Longest = Engine.PuffDecay;
    for (const TResonance& Resonance : Engine.Resonances)
        Longest = std::max(Longest, Resonance.Decay);
    const int KernelSize = std::min(Size, SampleCount(7.0 * Longest));
    const double Slot = static_cast<double>(Size) / Engine.Firings;
    for (int Firing = 0; Firing < Engine.Firings; ++Firing)
    {
        const double Position = (Firing + Engine.Jitter * Noise.White()) * Slot;
        const int Start = static_cast<int>(std::ceil(Position));
        const double Gain = Engine.CylinderGain[Firing % 4] * (0.9 + 0.1 * Noise.Unit());
        for (int J = 0; J < KernelSize; ++J)
        {
            const double T = (Start + J - Position) / SampleRate;
            double Value = Engine.PuffGain * std::exp(-T / Engine.PuffDecay) * Noise.White();
            for (const TResonance& Resonance : Engine.Resonances)
                Value +=
                    Resonance.Gain * std::exp(-T / Resonance.Decay) * std::sin(TwoPi * Resonance.Freq * T);
            const double Onset = std::min(1.0, T / 0.0008);
            Signal[((Start + J) % Size + Size) % Size] += Gain * Onset * Value;
        }
    }
    for (int I = 0; I < Size; ++I)
        Signal[I] *= 1.0 + Engine.SwellDepth * std::sin(TwoPi * Engine.SwellCycles * I / Size);
    TOnePole First;
    TOnePole Second;
    ProcessLoop(Signal, [&](double X) {
        return Second.LowPass(First.LowPass(X, Engine.Cutoff), Engine.Cutoff * 1.5);
    });
    double Mean = 0.0;
    for (const double X : Signal)
        Mean += X;
    Mean /= Size;
    for (double& X : Signal)
        X -= Mean;
    return Signal;
}

} // namespace

TSignal EngineIdleLoop()
{
    // About 800 rpm: 32 firings in 1.2 s (26.7 per second) ringing a low exhaust note.
    const TEngine Idle{1.2,
                       32,
                       0.04,
                       {1.0, 0.86, 0.95, 0.8},
                       {{95.0, 0.028, 1.0}, {190.0, 0.012, 0.4}, {420.0, 0.005, 0.2}},
                       0.006,
                       0.2,
                       900.0,
                       2,
                       0.06,
                       91};
    return RenderEngine(Idle);
}

TSignal EngineHighLoop()
{
    // About 6200 rpm: 208 firings in 1.0 s with a brighter, harder exhaust note.
    const TEngine High{1.0,
                       208,
                       0.03,
                       {1.0, 0.88, 0.96, 0.84},
                       {{420.0, 0.004, 1.0}, {1100.0, 0.0022, 0.45}, {2300.0, 0.001, 0.2}},
                       0.0015,
                       0.4,
                       4500.0,
                       3,
                       0.05,
                       92};
    return RenderEngine(High);
}

} // namespace vm::assetgen::recipes
