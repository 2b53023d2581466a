// Soft shadows made from the alpha outline of a picture.
#include "art/car_shadow.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vm::assetgen {

namespace {

// One pass of a separable Gaussian blur along rows (Step 1) or columns (Step Width).
void BlurPass(const std::vector<float>& In, std::vector<float>& Out, int Width, int Height, bool Rows,
              const std::vector<float>& Kernel)
{
    const int Radius = static_cast<int>(Kernel.size()) / 2;
    const int Lines = Rows ? Height : Width;
    const int Length = Rows ? Width : Height;
    for (int Line = 0; Line < Lines; ++Line)
        for (int I = 0; I < Length; ++I)
        {
            float Sum = 0;
            for (int K = -Radius; K <= Radius; ++K)
            {
                const int J = I + K;
                if (J < 0 || J >= Length)
                    continue; // outside the picture counts as transparent
                const int Index = Rows ? Line * Width + J : J * Width + Line;
                Sum += In[static_cast<std::size_t>(Index)] * Kernel[static_cast<std::size_t>(K + Radius)];
            }
            Out[static_cast<std::size_t>(Rows ? Line * Width + I : I * Width + Line)] = Sum;
        }
}

} // namespace

TPixels SoftShadow(const TPixels& Source, double Sigma, double Opacity)
{
    const int Width = Source.Width, Height = Source.Height;
    std::vector<float> Alpha(static_cast<std::size_t>(Width) * Height);
    for (std::size_t I = 0; I < Alpha.size(); ++I)
        Alpha[I] = static_cast<float>(Source.Argb[I] >> 24) / 255.0f;
    if (Sigma > 0.01)
    {
        const int Radius = std::max(1, static_cast<int>(std::ceil(Sigma * 3)));
        std::vector<float> Kernel(static_cast<std::size_t>(2 * Radius + 1));
        float Total = 0;
        for (int K = -Radius; K <= Radius; ++K)
            Total += Kernel[static_cast<std::size_t>(K + Radius)] =
                static_cast<float>(std::exp(-(K * K) / (2 * Sigma * Sigma)));
        for (float& W : Kernel)
            W /= Total;
        std::vector<float> Temp(Alpha.size());
        BlurPass(Alpha, Temp, Width, Height, true, Kernel);
        BlurPass(Temp, Alpha, Width, Height, false, Kernel);
    }
    TPixels Out;
    Out.Width = Width;
    Out.Height = Height;
    Out.Argb.resize(Alpha.size());
    for (std::size_t I = 0; I < Alpha.size(); ++I)
    {
        const auto A =
            static_cast<std::uint32_t>(std::lround(std::clamp(Alpha[I] * Opacity, 0.0, 1.0) * 255));
        Out.Argb[I] = A ? (A << 24) | 0x05070c : 0;
    }
    return Out;
}

} // namespace vm::assetgen
