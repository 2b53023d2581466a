// Interface sounds: the menu clicks, the start-light beeps, the clock tick and the time's-up buzzer.
#include "sound/sound_recipes.h"

#include <algorithm>
#include <cmath>

namespace vm::assetgen::recipes {

namespace {

using namespace synth;

// A start-light beep: a softened square (odd harmonics falling off quickly) with a gentle decay.
TSignal LightBeep(double Freq, double Seconds)
{
    // Harmonic number and gain; the small second harmonic adds a little body.
    const double Harmonics[][2] = {{1, 1.0}, {2, 0.05}, {3, 0.22}, {5, 0.08}, {7, 0.03}};
    TSignal Signal(SampleCount(Seconds));
    for (int I = 0; I < static_cast<int>(Signal.size()); ++I)
    {
        const double T = TimeOf(I);
        double Value = 0.0;
        for (const auto& Harmonic : Harmonics)
            if (Freq * Harmonic[0] < 10000.0)
                Value += Harmonic[1] * std::sin(TwoPi * Freq * Harmonic[0] * T);
        const double Envelope = Ramp(T, 0.0, 0.004) * std::exp(-T / (4.0 * Seconds)) *
                                (1.0 - SmoothStep((T - Seconds + 0.04) / 0.04));
        Signal[I] = Envelope * Value;
    }
    return Signal;
}

} // namespace

TSignal BackClick()
{
    // Soft and low: a short falling "tock" with a dull contact noise.
    TSignal Signal(SampleCount(0.060));
    TOscillator Body;
    TOscillator Overtone;
    for (int I = 0; I < static_cast<int>(Signal.size()); ++I)
    {
        const double T = TimeOf(I);
        const double Freq = Glide(640.0, 430.0, T / 0.045);
        Signal[I] = AttackDecay(T, 0.0012, 0.011) * Body.Sine(Freq) +
                    0.25 * AttackDecay(T, 0.0012, 0.005) * Overtone.Sine(2.0 * Freq);
    }
    AddNoiseBurst(Signal, 0.0, 1600.0, false, 0.002, 0.5, 11);
    return Signal;
}

TSignal ConfirmClick()
{
    // Bright and crisp: a "ti-tick" of two quick, slightly rising metallic clicks.
    TSignal Signal(SampleCount(0.080));
    const std::vector<TPartial> Click = {{1.0, 1.0, 0.011}, {2.0, 0.35, 0.006}, {3.1, 0.15, 0.004}};
    AddStruck(Signal, 0.0, 1320.0, 1.0, Click, 0.0006);
    AddStruck(Signal, 0.028, 1760.0, 0.6, Click, 0.0006);
    AddNoiseBurst(Signal, 0.0, 3000.0, true, 0.0015, 0.45, 12);
    AddNoiseBurst(Signal, 0.028, 3500.0, true, 0.0012, 0.3, 13);
    return Signal;
}

TSignal StartLightBeep() { return LightBeep(660.0, 0.30); }

// The same timbre an octave higher and twice as long: the "go" after the two start beeps.
TSignal GreenLightBeep() { return LightBeep(1320.0, 0.60); }

TSignal ClockTick()
{
    // A small wooden block: a few quickly dying inharmonic modes over a short knock of noise.
    TSignal Signal(SampleCount(0.080));
    const std::vector<TPartial> Wood = {{1.0, 1.0, 0.0065}, {2.32, 0.45, 0.0035}, {0.48, 0.4, 0.013}};
    AddStruck(Signal, 0.0, 1850.0, 1.0, Wood, 0.0005);
    AddNoiseBurst(Signal, 0.0, 2500.0, false, 0.0015, 0.5, 21);
    return Signal;
}

TSignal TimesUpBuzzer()
{
    // Two slightly detuned buzzy tones sliding down together; the beating gives the buzz.
    const double Seconds = 1.2;
    TSignal Signal(SampleCount(Seconds));
    TOscillator First;
    TOscillator Second(0.3);
    TSvf Filter;
    for (int I = 0; I < static_cast<int>(Signal.size()); ++I)
    {
        const double T = TimeOf(I);
        const double Freq = Glide(311.0, 98.0, (T - 0.12) / 1.0);
        const double Raw = 0.55 * First.Pulse(Freq, 0.5) + 0.45 * Second.Saw(Freq * 1.013);
        const double Cutoff = Glide(2600.0, 650.0, T / Seconds);
        const double Envelope =
            Ramp(T, 0.0, 0.012) * (1.0 - 0.3 * Ramp(T, 0.2, Seconds)) * (1.0 - SmoothStep((T - 0.9) / 0.3));
        Signal[I] = Envelope * Filter.LowPass(Raw, Cutoff, 0.9);
    }
    return Signal;
}

} // namespace vm::assetgen::recipes
