// The bitmap font's glyph sheet: white Play Bold glyphs on transparent, one equal tile each.
#include "art/menu_font_art.h"

#include "art/art_modules.h"
#include "art/canvas.h"
#include "art/style.h"
#include "engine/utf8.h"

#include <algorithm>
#include <cmath>

namespace vm::assetgen {
namespace {

// The face size; wide letters (W, Ж, Ш, Щ, Ю, m, ...) are condensed to fit the tile.
constexpr double GlyphSize = 15;
// Widest ink a glyph may have, leaving a clear pixel to either side so neighbours never touch.
constexpr double MaxInkWidth = FontTileWidth - 2;

// Play Bold, hinted only vertically (so the shift search below decides the horizontal fit) and
// measured without rounding (so centring is exact).
void SelectGlyphFace(cairo_t* Cr)
{
    SelectFace(Cr, GlyphSize, true);
    cairo_font_options_t* Options = cairo_font_options_create();
    cairo_font_options_set_antialias(Options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(Options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(Options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(Cr, Options);
    cairo_font_options_destroy(Options);
}

void ShowGlyph(cairo_t* Cr, const std::string& Text, double OriginX, double Squeeze)
{
    cairo_save(Cr);
    cairo_translate(Cr, OriginX, FontBaseline);
    cairo_scale(Cr, Squeeze, 1);
    // As a path, so that sub-pixel origins are kept (shown glyphs snap to whole pixels).
    cairo_move_to(Cr, 0, 0);
    cairo_text_path(Cr, Text.c_str());
    cairo_restore(Cr);
    cairo_fill(Cr);
}

// How crisply a trial rendering sits on the pixel grid (sum of squared coverage), or -1 when its
// ink reaches the tile's outer columns.
double Crispness(cairo_surface_t* Trial)
{
    cairo_surface_flush(Trial);
    const unsigned char* Data = cairo_image_surface_get_data(Trial);
    const int Stride = cairo_image_surface_get_stride(Trial);
    double Sum = 0;
    for (int Y = 0; Y < FontTileHeight; ++Y)
    {
        const unsigned char* Row = Data + Y * Stride;
        if (Row[0] > 40 || Row[FontTileWidth - 1] > 40)
            return -1;
        for (int X = 0; X < FontTileWidth; ++X)
            Sum += (Row[X] / 255.0) * (Row[X] / 255.0);
    }
    return Sum;
}

// Draws one glyph centred in the tile, standing on the common baseline. Of a few sub-pixel
// positions around the centre it takes the crispest, so thin stems land on whole pixels.
void DrawGlyph(cairo_t* Cr, char32_t Code)
{
    if (Code == U' ')
        return;
    const std::string Text = EncodeUtf8(std::u32string(1, Code));
    cairo_surface_t* Trial = cairo_image_surface_create(CAIRO_FORMAT_A8, FontTileWidth, FontTileHeight);
    cairo_t* TrialCr = cairo_create(Trial);
    SelectGlyphFace(TrialCr);
    cairo_text_extents_t Ink;
    cairo_text_extents(TrialCr, Text.c_str(), &Ink);
    double Squeeze = Ink.width > 0 ? std::min(1.0, MaxInkWidth / Ink.width) : 1.0;
    double Best = (FontTileWidth - Ink.width * Squeeze) / 2 - Ink.x_bearing * Squeeze;
    double BestSqueeze = Squeeze, BestScore = -1;
    // Should no position keep clear of the edges, condense a little more and try again.
    for (int Attempt = 0; Attempt < 4 && BestScore < 0; ++Attempt, Squeeze *= 0.94)
    {
        const double Centred = (FontTileWidth - Ink.width * Squeeze) / 2 - Ink.x_bearing * Squeeze;
        // From the centre outwards, so that of equally crisp positions the most central wins.
        for (int Step : {0, -1, 1, -2, 2, -3, 3, -4, 4})
        {
            const double Origin = Centred + Step / 8.0;
            cairo_set_operator(TrialCr, CAIRO_OPERATOR_CLEAR);
            cairo_paint(TrialCr);
            cairo_set_operator(TrialCr, CAIRO_OPERATOR_OVER);
            cairo_set_source_rgba(TrialCr, 1, 1, 1, 1);
            ShowGlyph(TrialCr, Text, Origin, Squeeze);
            const double Score = Crispness(Trial);
            if (Score > BestScore + 1e-6)
            {
                BestScore = Score;
                Best = Origin;
                BestSqueeze = Squeeze;
            }
        }
    }
    cairo_destroy(TrialCr);
    cairo_surface_destroy(Trial);
    SelectGlyphFace(Cr);
    SetColor(Cr, {1, 1, 1, 1});
    ShowGlyph(Cr, Text, Best, BestSqueeze);
}

} // namespace

void AddFontSheet(TArtList& Menu)
{
    const int Count = static_cast<int>(FontCharacters.size());
    Menu.push_back(DrawTiles(FontSheetKey, FontTileWidth, FontTileHeight, Count, FontSheetColumns,
                             [](cairo_t* Cr, int Index) { DrawGlyph(Cr, FontCharacters[Index]); }));
}

} // namespace vm::assetgen
