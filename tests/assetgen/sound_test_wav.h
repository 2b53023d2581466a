// Reads the generated sound effects through SDL's own WAV loader and measures them, for the sound tests.
#pragma once

#include "assetgen/asset_test_support.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

namespace test {

struct TWav
{
    bool Loaded = false;
    std::string Error;
    int Frequency = 0;
    SDL_AudioFormat Format = 0;
    int Channels = 0;
    // Samples scaled to -1..1 (only filled for 16-bit data).
    std::vector<double> Samples;
    std::vector<int> Raw;

    double Seconds() const { return Frequency > 0 ? static_cast<double>(Samples.size()) / Frequency : 0.0; }
};

// Loads Sounds/File of this build's generated assets.
inline TWav LoadEffect(const std::string& File)
{
    TWav Wav;
    const std::string Path = AssetPath("Sounds/" + File);
    SDL_RWops* Stream = SDL_RWFromFile(Path.c_str(), "rb");
    if (!Stream)
    {
        Wav.Error = "cannot open " + Path;
        return Wav;
    }
    SDL_AudioSpec Loaded{};
    Uint8* Buffer = nullptr;
    Uint32 Length = 0;
    if (!SDL_LoadWAV_RW(Stream, 1, &Loaded, &Buffer, &Length))
    {
        Wav.Error = Path + ": " + SDL_GetError();
        return Wav;
    }
    Wav.Loaded = true;
    Wav.Frequency = Loaded.freq;
    Wav.Format = Loaded.format;
    Wav.Channels = Loaded.channels;
    if (Loaded.format == AUDIO_S16LSB)
        for (Uint32 I = 0; I + 1 < Length; I += 2)
        {
            const auto Value = static_cast<Sint16>(static_cast<Uint16>(Buffer[I] | (Buffer[I + 1] << 8)));
            Wav.Raw.push_back(Value);
            Wav.Samples.push_back(Value / 32768.0);
        }
    SDL_FreeWAV(Buffer);
    return Wav;
}

inline double PeakOf(const std::vector<double>& Samples)
{
    double Peak = 0.0;
    for (const double X : Samples)
        Peak = std::max(Peak, std::abs(X));
    return Peak;
}

inline double RmsOf(const std::vector<double>& Samples, std::size_t Begin, std::size_t Count)
{
    double Sum = 0.0;
    const std::size_t End = std::min(Samples.size(), Begin + Count);
    for (std::size_t I = Begin; I < End; ++I)
        Sum += Samples[I] * Samples[I];
    return End > Begin ? std::sqrt(Sum / static_cast<double>(End - Begin)) : 0.0;
}

// RMS of the loudest stretch of Count samples.
inline double LoudestRms(const std::vector<double>& Samples, std::size_t Count)
{
    double Best = 0.0;
    for (std::size_t Begin = 0; Begin + Count <= Samples.size(); Begin += Count / 4)
        Best = std::max(Best, RmsOf(Samples, Begin, Count));
    return Best;
}

// Strength of frequency Freq (Hz) in a Hann-windowed stretch of the signal at 22050 Hz.
inline double Strength(const std::vector<double>& Samples, std::size_t Begin, std::size_t Count, double Freq)
{
    const std::size_t End = std::min(Samples.size(), Begin + Count);
    double Re = 0.0;
    double Im = 0.0;
    for (std::size_t I = Begin; I < End; ++I)
    {
        const double Window = 0.5 - 0.5 * std::cos(2.0 * M_PI * (I - Begin) / (End - Begin));
        const double Angle = 2.0 * M_PI * Freq * static_cast<double>(I - Begin) / 22050.0;
        Re += Window * Samples[I] * std::cos(Angle);
        Im += Window * Samples[I] * std::sin(Angle);
    }
    return std::sqrt(Re * Re + Im * Im);
}

// The strongest frequency between Low and High, searched in steps of Step Hz.
inline double DominantFrequency(const std::vector<double>& Samples, std::size_t Begin, std::size_t Count,
                                double Low, double High, double Step = 2.0)
{
    double Best = 0.0;
    double BestFreq = Low;
    for (double Freq = Low; Freq <= High; Freq += Step)
    {
        const double Value = Strength(Samples, Begin, Count, Freq);
        if (Value > Best)
        {
            Best = Value;
            BestFreq = Freq;
        }
    }
    return BestFreq;
}

// Power-weighted mean frequency (spectral centroid) of a stretch, over 50 Hz..10 kHz.
inline double Centroid(const std::vector<double>& Samples, std::size_t Begin, std::size_t Count)
{
    double Weighted = 0.0;
    double Total = 0.0;
    for (double Freq = 50.0; Freq <= 10000.0; Freq += 25.0)
    {
        const double Power = std::pow(Strength(Samples, Begin, Count, Freq), 2.0);
        Weighted += Power * Freq;
        Total += Power;
    }
    return Total > 0.0 ? Weighted / Total : 0.0;
}

inline std::size_t At(double Seconds) { return static_cast<std::size_t>(Seconds * 22050.0); }

} // namespace test
