// Cairo drawing surfaces for the asset tool, and their conversion to image-list pixels.
#include "art/canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace vm::assetgen {

TCanvas::TCanvas(int Width, int Height)
    : FWidth(Width), FHeight(Height),
      FSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, Height)), FCr(cairo_create(FSurface))
{
    if (cairo_surface_status(FSurface) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot create a drawing surface");
    // Grey antialiasing and no hinting: the same pixels on every machine with the same fonts.
    cairo_font_options_t* Options = cairo_font_options_create();
    cairo_font_options_set_antialias(Options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(Options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(Options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(FCr, Options);
    cairo_font_options_destroy(Options);
}

TCanvas::~TCanvas()
{
    cairo_destroy(FCr);
    cairo_surface_destroy(FSurface);
}

TPixels TCanvas::Pixels() const { return SurfaceToPixels(FSurface); }

TPixels SurfaceToPixels(cairo_surface_t* Surface)
{
    cairo_surface_flush(Surface);
    TPixels Out;
    Out.Width = cairo_image_surface_get_width(Surface);
    Out.Height = cairo_image_surface_get_height(Surface);
    Out.Argb.resize(static_cast<std::size_t>(Out.Width) * Out.Height);
    const int Stride = cairo_image_surface_get_stride(Surface);
    const unsigned char* Data = cairo_image_surface_get_data(Surface);
    for (int Y = 0; Y < Out.Height; ++Y)
    {
        const auto* Row =
            reinterpret_cast<const std::uint32_t*>(Data + static_cast<std::ptrdiff_t>(Y) * Stride);
        for (int X = 0; X < Out.Width; ++X)
        {
            const std::uint32_t P = Row[X];
            const std::uint32_t A = P >> 24;
            std::uint32_t Straight = 0;
            if (A == 255)
                Straight = P;
            else if (A != 0)
            {
                auto Un = [A](std::uint32_t C) {
                    return std::min<std::uint32_t>(255, (C * 255 + A / 2) / A);
                };
                Straight = (A << 24) | (Un((P >> 16) & 255) << 16) | (Un((P >> 8) & 255) << 8) | Un(P & 255);
            }
            Out.Argb[static_cast<std::size_t>(Y) * Out.Width + X] = Straight;
        }
    }
    return Out;
}

void PaintPixels(cairo_t* Cr, const TPixels& Pixels, double X, double Y, double Alpha)
{
    cairo_surface_t* Source = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Pixels.Width, Pixels.Height);
    cairo_surface_flush(Source);
    const int Stride = cairo_image_surface_get_stride(Source);
    unsigned char* Data = cairo_image_surface_get_data(Source);
    for (int Row = 0; Row < Pixels.Height; ++Row)
    {
        auto* Dest = reinterpret_cast<std::uint32_t*>(Data + static_cast<std::ptrdiff_t>(Row) * Stride);
        for (int Col = 0; Col < Pixels.Width; ++Col)
        {
            const std::uint32_t P = Pixels.Argb[static_cast<std::size_t>(Row) * Pixels.Width + Col];
            const std::uint32_t A = P >> 24;
            auto Pre = [A](std::uint32_t C) { return (C * A + 127) / 255; };
            Dest[Col] = (A << 24) | (Pre((P >> 16) & 255) << 16) | (Pre((P >> 8) & 255) << 8) | Pre(P & 255);
        }
    }
    cairo_surface_mark_dirty(Source);
    cairo_save(Cr);
    cairo_set_source_surface(Cr, Source, X, Y);
    cairo_paint_with_alpha(Cr, Alpha);
    cairo_restore(Cr);
    cairo_surface_destroy(Source);
}

TArtImage DrawTiles(const std::string& Key, int TileWidth, int TileHeight, int Count, int Columns,
                    const TTileDrawer& Draw)
{
    Columns = std::max(1, std::min(Columns, Count));
    const int Rows = (Count + Columns - 1) / Columns;
    TCanvas Canvas(TileWidth * Columns, TileHeight * Rows);
    for (int Index = 0; Index < Count; ++Index)
    {
        cairo_t* Cr = Canvas.Cr();
        cairo_save(Cr);
        cairo_translate(Cr, (Index % Columns) * TileWidth, (Index / Columns) * TileHeight);
        cairo_rectangle(Cr, 0, 0, TileWidth, TileHeight);
        cairo_clip(Cr);
        cairo_new_path(Cr);
        Draw(Cr, Index);
        cairo_restore(Cr);
    }
    return TArtImage{Key, Canvas.Pixels(), TileWidth, TileHeight};
}

TArtImage DrawSingle(const std::string& Key, int Width, int Height,
                     const std::function<void(cairo_t* Cr)>& Draw)
{
    return DrawTiles(Key, Width, Height, 1, 1, [&Draw](cairo_t* Cr, int) { Draw(Cr); });
}

} // namespace vm::assetgen
