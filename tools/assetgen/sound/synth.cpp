// A small synthesis toolkit for the sound effects: oscillators, envelopes, seeded noise and filters.
#include "sound/synth.h"

#include <algorithm>
#include <cmath>

namespace vm::assetgen::synth {

namespace {

// Highest frequency a tone may reach; keeps a margin below the 11025 Hz Nyquist limit.
constexpr double BandLimit = 10000.0;

// polyBLEP residual that rounds a unit step at phase 0 over one sample on each side.
double PolyBlep(double T, double Dt)
{
    if (T < Dt)
    {
        T /= Dt;
        return T + T - T * T - 1.0;
    }
    if (T > 1.0 - Dt)
    {
        T = (T - 1.0) / Dt;
        return T * T + T + T + 1.0;
    }
    return 0.0;
}

} // namespace

int SampleCount(double Seconds) { return static_cast<int>(std::lround(Seconds * SampleRate)); }

double NoteFrequency(double Midi) { return 440.0 * std::pow(2.0, (Midi - 69.0) / 12.0); }

double DbGain(double Db) { return std::pow(10.0, Db / 20.0); }

double TOscillator::Advance(double Freq, double& Step)
{
    Step = std::clamp(Freq / SampleRate, 0.0, 0.5);
    const double Before = FPhase;
    FPhase += Step;
    FPhase -= std::floor(FPhase);
    return Before;
}

double TOscillator::Sine(double Freq)
{
    double Step = 0.0;
    return std::sin(TwoPi * Advance(Freq, Step));
}

double TOscillator::Saw(double Freq)
{
    double Step = 0.0;
    const double T = Advance(Freq, Step);
    if (Step <= 0.0)
        return 2.0 * T - 1.0;
    return 2.0 * T - 1.0 - PolyBlep(T, Step);
}

double TOscillator::Pulse(double Freq, double Duty)
{
    double Step = 0.0;
    const double T = Advance(Freq, Step);
    double Value = T < Duty ? 1.0 : -1.0;
    if (Step > 0.0)
    {
        double Fall = T + 1.0 - Duty;
        Fall -= std::floor(Fall);
        Value += PolyBlep(T, Step) - PolyBlep(Fall, Step);
    }
    // Centre the wave: a narrow pulse otherwise carries a DC offset.
    return Value - (2.0 * Duty - 1.0);
}

double TNoise::Unit() { return static_cast<double>(FRandom.Random(1 << 30)) / static_cast<double>(1 << 30); }

double TNoise::White() { return 2.0 * Unit() - 1.0; }

double TOnePole::LowPass(double X, double Cutoff)
{
    const double A = 1.0 - std::exp(-TwoPi * std::clamp(Cutoff, 1.0, 0.45 * SampleRate) / SampleRate);
    FState += A * (X - FState);
    return FState;
}

double TOnePole::HighPass(double X, double Cutoff) { return X - LowPass(X, Cutoff); }

TSvf::TOut TSvf::Process(double X, double Cutoff, double Q)
{
    const double G = std::tan(Pi * std::clamp(Cutoff, 10.0, 0.45 * SampleRate) / SampleRate);
    const double K = 1.0 / std::max(Q, 0.05);
    const double A1 = 1.0 / (1.0 + G * (G + K));
    const double A2 = G * A1;
    const double A3 = G * A2;
    const double V3 = X - FIc2;
    const double V1 = A1 * FIc1 + A2 * V3;
    const double V2 = FIc2 + A2 * FIc1 + A3 * V3;
    FIc1 = 2.0 * V1 - FIc1;
    FIc2 = 2.0 * V2 - FIc2;
    return {V2, V1, X - K * V1 - V2};
}

double Ramp(double T, double Start, double End)
{
    if (T <= Start)
        return 0.0;
    if (T >= End)
        return 1.0;
    return (T - Start) / (End - Start);
}

double AttackDecay(double T, double Attack, double Decay)
{
    if (T < 0.0)
        return 0.0;
    if (T < Attack)
        return T / Attack;
    return std::exp(-(T - Attack) / Decay);
}

double Glide(double From, double To, double Amount)
{
    return From * std::pow(To / From, std::clamp(Amount, 0.0, 1.0));
}

double SmoothStep(double Amount) { return 0.5 - 0.5 * std::cos(Pi * std::clamp(Amount, 0.0, 1.0)); }

void AddStruck(TSignal& Signal, double Start, double Freq, double Gain, const std::vector<TPartial>& Partials,
               double Attack)
{
    const int First = std::max(0, SampleCount(Start));
    for (const TPartial& Partial : Partials)
    {
        const double F = Freq * Partial.Ratio;
        if (F >= BandLimit)
            continue;
        // The partial is inaudible after about seven time constants.
        const int Length = SampleCount(Attack + 7.0 * Partial.Decay);
        const int Last = std::min(static_cast<int>(Signal.size()), First + Length);
        for (int I = First; I < Last; ++I)
        {
            const double T = TimeOf(I - First);
            Signal[I] +=
                Gain * Partial.Gain * AttackDecay(T, Attack, Partial.Decay) * std::sin(TwoPi * F * T);
        }
    }
}

void AddNoiseBurst(TSignal& Signal, double Start, double Cutoff, bool HighPass, double Decay, double Gain,
                   std::uint64_t Seed)
{
    TNoise Noise(Seed);
    TSvf Filter;
    const int First = std::max(0, SampleCount(Start));
    const int Last = std::min(static_cast<int>(Signal.size()), First + SampleCount(8.0 * Decay));
    for (int I = First; I < Last; ++I)
    {
        const TSvf::TOut Out = Filter.Process(Noise.White(), Cutoff, 0.8);
        Signal[I] += Gain * AttackDecay(TimeOf(I - First), 0.0005, Decay) * (HighPass ? Out.High : Out.Band);
    }
}

double Peak(const TSignal& Signal)
{
    double Result = 0.0;
    for (const double X : Signal)
        Result = std::max(Result, std::abs(X));
    return Result;
}

double Rms(const TSignal& Signal)
{
    if (Signal.empty())
        return 0.0;
    double Sum = 0.0;
    for (const double X : Signal)
        Sum += X * X;
    return std::sqrt(Sum / static_cast<double>(Signal.size()));
}

void RemoveDc(TSignal& Signal)
{
    TOnePole Filter;
    for (double& X : Signal)
        X = Filter.HighPass(X, 20.0);
}

void FadeEdges(TSignal& Signal, double FadeIn, double FadeOut)
{
    const int Size = static_cast<int>(Signal.size());
    const int In = std::min(Size, SampleCount(FadeIn));
    const int Out = std::min(Size, SampleCount(FadeOut));
    // The ends land exactly on zero: sample 0 and the last sample get a gain of 0.
    for (int I = 0; I < In; ++I)
        Signal[I] *= SmoothStep(static_cast<double>(I) / In);
    for (int I = 0; I < Out; ++I)
        Signal[Size - 1 - I] *= SmoothStep(static_cast<double>(I) / Out);
}

void NormalisePeak(TSignal& Signal, double PeakDb)
{
    const double Current = Peak(Signal);
    if (Current <= 0.0)
        return;
    const double Scale = DbGain(PeakDb) / Current;
    for (double& X : Signal)
        X *= Scale;
}

double Loudness(const TSignal& Signal)
{
    if (Signal.empty())
        return -200.0;
    TOnePole Bass1;
    TOnePole Bass2;
    TOnePole Treble;
    const int Window = std::min(static_cast<int>(Signal.size()), SampleCount(0.3));
    std::vector<double> Energy(Signal.size());
    for (std::size_t I = 0; I < Signal.size(); ++I)
    {
        const double Weighted =
            Treble.LowPass(Bass2.HighPass(Bass1.HighPass(Signal[I], 150.0), 150.0), 6000.0);
        Energy[I] = Weighted * Weighted;
    }
    double Sum = 0.0;
    double Loudest = 0.0;
    for (std::size_t I = 0; I < Energy.size(); ++I)
    {
        Sum += Energy[I];
        if (I >= static_cast<std::size_t>(Window))
            Sum -= Energy[I - Window];
        Loudest = std::max(Loudest, Sum);
    }
    return 10.0 * std::log10(Loudest / Window + 1e-20);
}

void Level(TSignal& Signal, double Target, double CeilingDb)
{
    const double Current = Peak(Signal);
    if (Current <= 0.0)
        return;
    const double Scale = std::min(DbGain(Target - Loudness(Signal)), DbGain(CeilingDb) / Current);
    for (double& X : Signal)
        X *= Scale;
}

double SoftClip(double X) { return std::tanh(X); }

double LoopFrequency(double Freq, int LoopSamples)
{
    const double LoopSeconds = static_cast<double>(LoopSamples) / SampleRate;
    const double Cycles = std::max(1.0, std::round(Freq * LoopSeconds));
    return Cycles / LoopSeconds;
}

} // namespace vm::assetgen::synth
