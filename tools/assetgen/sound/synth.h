// A small synthesis toolkit for the sound effects: oscillators, envelopes, seeded noise and filters.
#pragma once

#include "engine/random.h"

#include <cstdint>
#include <vector>

namespace vm::assetgen::synth {

constexpr int SampleRate = 22050;
constexpr double Pi = 3.14159265358979323846;
constexpr double TwoPi = 2.0 * Pi;

// A mono signal, nominally within -1..1.
using TSignal = std::vector<double>;

// Number of samples in Seconds (rounded).
int SampleCount(double Seconds);
// Time in seconds of sample Index.
inline double TimeOf(int Index) { return static_cast<double>(Index) / SampleRate; }
// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double NoteFrequency(double Midi);
// Decibels to a linear gain.
double DbGain(double Db);

// Band-limited oscillators advanced by a running phase in cycles (0..1). The saw and pulse
// use polyBLEP corrections so their edges do not alias at 22 kHz.
class TOscillator
{
public:
    explicit TOscillator(double Phase = 0.0) : FPhase(Phase) {}
    double Sine(double Freq);
    double Saw(double Freq);
    // Pulse wave with the given duty cycle (0.5 = square).
    double Pulse(double Freq, double Duty = 0.5);
    double Phase() const { return FPhase; }

private:
    // Moves the phase on by one sample; returns the phase before the move and sets Step.
    double Advance(double Freq, double& Step);

    double FPhase;
};

// Uniform white noise in -1..1 from a fixed seed, so every build makes the same sounds.
class TNoise
{
public:
    explicit TNoise(std::uint64_t Seed) : FRandom(Seed) {}
    double White();
    // Uniform in 0..1.
    double Unit();

private:
    vm::TRandom FRandom;
};

// First-order low- and high-pass filter (one state per instance; use one per signal path).
class TOnePole
{
public:
    double LowPass(double X, double Cutoff);
    double HighPass(double X, double Cutoff);
    void Reset() { FState = 0.0; }

private:
    double FState = 0.0;
};

// Zero-delay state-variable filter; Cutoff and Q may change every sample.
class TSvf
{
public:
    struct TOut
    {
        double Low;
        double Band;
        double High;
    };
    TOut Process(double X, double Cutoff, double Q);
    double LowPass(double X, double Cutoff, double Q) { return Process(X, Cutoff, Q).Low; }
    double BandPass(double X, double Cutoff, double Q) { return Process(X, Cutoff, Q).Band; }
    double HighPass(double X, double Cutoff, double Q) { return Process(X, Cutoff, Q).High; }

private:
    double FIc1 = 0.0;
    double FIc2 = 0.0;
};

// 0 before Start, 1 after End, linear between.
double Ramp(double T, double Start, double End);
// Linear attack over Attack seconds, then exponential decay with time constant Decay.
double AttackDecay(double T, double Attack, double Decay);
// Exponential (perceptually even) move from From to To as Amount goes 0..1; both must be > 0.
double Glide(double From, double To, double Amount);
// Smooth 0..1 step (raised cosine) of Amount clamped to 0..1.
double SmoothStep(double Amount);

// One partial of a struck tone: frequency ratio to the fundamental, gain and decay time constant.
struct TPartial
{
    double Ratio;
    double Gain;
    double Decay;
};

// Mixes a struck tone (bell, chime, wood) into Signal from Start seconds. Partials above the
// band limit are left out; each starts with a short linear attack so the onset does not click.
void AddStruck(TSignal& Signal, double Start, double Freq, double Gain, const std::vector<TPartial>& Partials,
               double Attack = 0.002);

// Mixes a short burst of filtered white noise from Start seconds: the contact part of a click or
// knock. The burst rises in half a millisecond and decays with time constant Decay.
void AddNoiseBurst(TSignal& Signal, double Start, double Cutoff, bool HighPass, double Decay, double Gain,
                   std::uint64_t Seed);

// Largest absolute sample value.
double Peak(const TSignal& Signal);
// Root mean square level.
double Rms(const TSignal& Signal);
// Removes slow drift (DC) with a gentle high-pass.
void RemoveDc(TSignal& Signal);
// Raised-cosine fade-in and fade-out at the ends.
void FadeEdges(TSignal& Signal, double FadeIn, double FadeOut);
// Scales so the peak sits at PeakDb dBFS (no change for a silent signal).
void NormalisePeak(TSignal& Signal, double PeakDb);
// How loud the signal sounds, roughly: the level in dB of its loudest 300 ms after a weighting
// that discounts the deep bass and the top octave, as the ear does at moderate volume.
double Loudness(const TSignal& Signal);
// Scales to the Target loudness, but never so far that the peak exceeds CeilingDb dBFS.
void Level(TSignal& Signal, double Target, double CeilingDb);
// Gentle saturation that rounds peaks instead of clipping them.
double SoftClip(double X);

// Loops: frequencies that complete a whole number of cycles over LoopSamples, so the loop is seamless.
double LoopFrequency(double Freq, int LoopSamples);
// Runs a stateful per-sample Step over a looping signal twice and keeps the second pass, so the
// filter starts in the state the end of the loop leaves it in and the result wraps without a click.
template <typename TStep> void ProcessLoop(TSignal& Signal, TStep Step)
{
    for (const double X : Signal)
        Step(X);
    for (double& X : Signal)
        X = Step(X);
}

} // namespace vm::assetgen::synth
