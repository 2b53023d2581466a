// Synthesised instruments for the music modules: tonal samples built from looping partials, and drums.
#pragma once

#include "music/xm_writer.h"

#include <functional>
#include <vector>

namespace vm::assetgen {

// A tonal sample made of partials that each run a whole number of cycles over the loop, so the loop
// joins without a click. Note C-4 plays it at middle C.
struct TToneRecipe
{
    int Period = 64;                   // frames per cycle of the fundamental
    int LoopCycles = 2;                // fundamental cycles in the loop
    std::vector<int> Detune = {0};     // stacked oscillators, each this many cycles more per loop
    int Harmonics = 16;                // partials per oscillator (kept below the sample's Nyquist limit)
    std::function<double(int)> Steady; // amplitude of harmonic H (1-based) inside the loop
    std::function<double(int)> Attack; // amplitude at the very start, fading to Steady (optional)
    int AttackCycles = 0;              // length of that fade before the loop starts
    unsigned Seed = 1;                 // oscillator phases
};

// Harmonic spectra: saw 1/H, square (odd 1/H), pulse of duty Width, triangle (odd 1/H^2).
double SawSpectrum(int Harmonic);
double SquareSpectrum(int Harmonic);
double PulseSpectrum(int Harmonic, double Width);
double TriangleSpectrum(int Harmonic);
// A gentle two-pole low-pass response at Harmonic for a cut-off of Cutoff harmonics.
double LowPass(int Harmonic, double Cutoff);

// Builds the sample (peak about 90 % of full scale), looped and tuned.
TXmSample SynthTone(const TToneRecipe& Recipe);

// Frames per second of the drum samples; note C-4 plays them at this rate.
constexpr double DrumRate = 22050.0;

TXmSample SynthKick(double Punch, double Length);               // pitch-dropping sine with a click
TXmSample SynthSnare(double Tone, double Length);               // noise burst over a short two-partial tone
TXmSample SynthHat(double Decay, double Length, unsigned Seed); // high-passed noise with a metallic edge
TXmSample SynthShaker();                                        // soft band-passed noise swell
TXmSample SynthCrash();                                         // long bright cymbal wash

// Volume envelope from (seconds, level 0..64) points at Bpm, with the point Sustain held until key off.
TXmEnvelope MakeEnvelope(int Bpm, const std::vector<std::pair<double, int>>& Points, int Sustain);
// Fadeout per tick that silences a released note in about Seconds at Bpm.
std::uint16_t FadeoutFor(int Bpm, double Seconds);

// Automatic vibrato of Hz cycles per second at Bpm, Depth 0..15, fading in over Delay seconds.
void SetAutoVibrato(TXmInstrument& Instrument, int Bpm, double Hz, int Depth, double Delay);

// An instrument from a sample, envelope and fadeout.
TXmInstrument MakeInstrument(const std::string& Name, TXmSample Sample, TXmEnvelope Envelope,
                             std::uint16_t Fadeout = 0);

} // namespace vm::assetgen
