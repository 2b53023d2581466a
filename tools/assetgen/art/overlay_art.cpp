// The pages laid over the frozen race (leave, results, score, send, game over, time's up), with buttons.
#include "art/art_modules.h"
#include "art/canvas.h"
#include "art/hud_shapes.h"
#include "art/overlay_icons.h"
#include "art/style.h"

#include <functional>
#include <string>

namespace vm::assetgen {

namespace {

// Every page sits with its top-left at (PageX, PageY); it is drawn in screen coordinates. The
// width keeps a page that slides in from x -640 fully off screen before it moves.
constexpr double PageX = 160, PageY = 159;
constexpr double PageWidth = 480, TallPage = 300, ShortPage = 220;
constexpr double CentreX = PageX + PageWidth / 2;
// Room for the panel's drop shadow on the right and below.
constexpr int ShadowRoom = 8;

// The overlay buttons: one size for all three, so yes and no line up and next matches them.
constexpr int ButtonWidth = 140, ButtonHeight = 36;
// The send page's turning wheel, drawn where the buttons were.
constexpr int SendWheelSize = 44;

// Rows where the race-over page's values are written (top of the text), centred on ValueX.
constexpr double ValueX = 532;
constexpr double ValueRows[] = {279, 309, 338, 367};
constexpr double ValueWidth = 132, ValueHeight = 23;

TArtImage MakePage(const std::string& Key, double Height, const std::function<void(cairo_t*)>& Draw)
{
    const int Width = static_cast<int>(PageWidth) + ShadowRoom;
    return DrawSingle(Key, Width, static_cast<int>(Height) + ShadowRoom, [&](cairo_t* Cr) {
        cairo_translate(Cr, -PageX, -PageY);
        DrawPanel(Cr, PageX, PageY, PageWidth, Height);
        Draw(Cr);
    });
}

// Two centred lines of body text.
void DrawBody(cairo_t* Cr, const char* First, const char* Second, double Y)
{
    DrawText(Cr, First, CentreX, Y, 16, palette::Fog, TAlign::Center, false);
    if (Second)
        DrawText(Cr, Second, CentreX, Y + 22, 16, palette::Fog, TAlign::Center, false);
}

// A key hint under the buttons: the keys are shown as small caps plates.
void DrawKeyHint(cairo_t* Cr, double Y)
{
    struct THint
    {
        const char* Key;
        const char* Meaning;
    };
    const THint Hints[] = {{"Enter", "yes"}, {"Esc", "no"}};
    double Total = 0;
    for (const THint& Hint : Hints)
        Total += TextWidth(Cr, Hint.Key, 11) + 12 + TextWidth(Cr, Hint.Meaning, 12, false) + 24;
    double X = CentreX - (Total - 24) / 2;
    for (const THint& Hint : Hints)
    {
        const double KeyWidth = TextWidth(Cr, Hint.Key, 11) + 10;
        RoundedRect(Cr, X, Y - 12, KeyWidth, 16, 3);
        SetColor(Cr, palette::Slate.Lighter(0.1));
        cairo_fill_preserve(Cr);
        cairo_set_line_width(Cr, 1);
        SetColor(Cr, palette::Steel);
        cairo_stroke(Cr);
        DrawText(Cr, Hint.Key, X + 5, Y, 11, palette::Snow);
        X += KeyWidth + 6;
        DrawText(Cr, Hint.Meaning, X, Y, 12, palette::Fog, TAlign::Left, false);
        X += TextWidth(Cr, Hint.Meaning, 12, false) + 24;
    }
}

TArtImage MakeLeaveRace()
{
    return MakePage("scr_exitgame", TallPage, [](cairo_t* Cr) {
        DrawTitle(Cr, "Leave the race?", CentreX, 222, 28);
        overlay::DrawExitSign(Cr, PageX + 62, 290, 56);
        DrawBody(Cr, "Your run ends here, and its score", "does not go into the high scores.", 280);
        DrawKeyHint(Cr, 440);
    });
}

TArtImage MakeRaceOver()
{
    return MakePage("scr_raceover", TallPage, [](cairo_t* Cr) {
        DrawTitle(Cr, "Race finished", CentreX, 222, 28);
        overlay::DrawFinishFlag(Cr, PageX + 82, 330, 96);
        const char* Labels[] = {"Place", "Time left", "Bonus", "Score"};
        for (int Row = 0; Row < 4; ++Row)
        {
            const double Y = ValueRows[Row];
            DrawLabel(Cr, Labels[Row], ValueX - ValueWidth / 2 - 10, Y + 15, 16);
            DrawValuePlate(Cr, ValueX - ValueWidth / 2, Y - 3, ValueWidth, ValueHeight);
        }
    });
}

TArtImage MakeYourScore()
{
    return MakePage("scr_yourscore", TallPage, [](cairo_t* Cr) {
        DrawTitle(Cr, "Your score", CentreX, 235, 28);
        overlay::DrawTrophy(Cr, PageX + 62, 300, 70);
        // The score is written centred on x 398, its top at y 279, in a large face.
        DrawValuePlate(Cr, 398 - 110, 272, 220, 40);
        DrawBody(Cr, "The run is over.", nullptr, 348);
    });
}

TArtImage MakeSendScore()
{
    return MakePage("scr_send", TallPage, [](cairo_t* Cr) {
        DrawTitle(Cr, "Send your score?", CentreX, 222, 28);
        overlay::DrawUploadBadge(Cr, PageX + 62, 290, 56);
        DrawBody(Cr, "Post it to the online high-score", "table for other racers to see.", 280);
    });
}

// Turned by the send page about its centre while the score is on its way.
TArtImage MakeSendWheel()
{
    return DrawSingle("sendwheel", SendWheelSize, SendWheelSize, [](cairo_t* Cr) {
        overlay::DrawSendWheel(Cr, SendWheelSize / 2.0, SendWheelSize / 2.0, SendWheelSize - 2);
    });
}

TArtImage MakeGameOver()
{
    return MakePage("scr_gameover", ShortPage, [](cairo_t* Cr) {
        overlay::DrawWarningSign(Cr, PageX + 70, 270, 70);
        DrawTitle(Cr, "Game over", CentreX + 30, 250, 40);
        DrawText(Cr, "No lives left: the run ends here.", CentreX + 30, 300, 16, palette::Fog, TAlign::Center,
                 false);
        DrawText(Cr, "Your final score follows.", CentreX + 30, 326, 14, palette::Steel.Lighter(0.3),
                 TAlign::Center, false);
    });
}

TArtImage MakeTimesUp()
{
    return MakePage("scr_timesup", ShortPage, [](cairo_t* Cr) {
        overlay::DrawStopwatch(Cr, PageX + 70, 268, 76);
        DrawTitle(Cr, "Time's up", CentreX + 30, 250, 40);
        DrawText(Cr, "The clock ran out before the finish.", CentreX + 30, 300, 16, palette::Fog,
                 TAlign::Center, false);
        DrawText(Cr, "Your final score follows.", CentreX + 30, 326, 14, palette::Steel.Lighter(0.3),
                 TAlign::Center, false);
    });
}

// A button's three looks side by side; Arrow adds a chevron after the caption.
TArtImage MakeButton(const std::string& Key, const std::string& Caption, bool Arrow)
{
    return DrawTiles(Key, ButtonWidth, ButtonHeight, 3, 3, [&](cairo_t* Cr, int Index) {
        const auto Look = static_cast<TButtonLook>(Index);
        const double Size = 18;
        if (!Arrow)
        {
            DrawButton(Cr, ButtonWidth, ButtonHeight, Caption, Look, Size);
            return;
        }
        // The caption moves left to make room for the chevron; both centred together.
        DrawButton(Cr, ButtonWidth, ButtonHeight, "", Look, Size);
        const TColor Ink = Look == TButtonLook::Hover      ? palette::Night
                           : Look == TButtonLook::Inactive ? palette::Steel
                                                           : palette::Snow;
        const double TextW = TextWidth(Cr, Caption, Size), Gap = 8, ArrowW = 8;
        const double Left = (ButtonWidth - TextW - Gap - ArrowW) / 2;
        const double Mid = ButtonHeight / 2.0;
        DrawText(Cr, Caption, Left, Mid + Size * 0.36, Size, Ink);
        const double Ax = Left + TextW + Gap;
        cairo_move_to(Cr, Ax, Mid - 6);
        cairo_line_to(Cr, Ax + ArrowW, Mid);
        cairo_line_to(Cr, Ax, Mid + 6);
        cairo_set_line_width(Cr, 2.6);
        cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
        SetColor(Cr, Ink);
        cairo_stroke(Cr);
    });
}

} // namespace

void AddRaceOverlays(TArtList& Race)
{
    Race.push_back(MakeLeaveRace());
    Race.push_back(MakeRaceOver());
    Race.push_back(MakeYourScore());
    Race.push_back(MakeSendScore());
    Race.push_back(MakeSendWheel());
    Race.push_back(MakeGameOver());
    Race.push_back(MakeTimesUp());
    Race.push_back(MakeButton("b_yes1", "Yes", false));
    Race.push_back(MakeButton("b_no1", "No", false));
    Race.push_back(MakeButton("bro_next", "Next", true));
    Race.push_back(MakeButton("bro_replay", "Replay", false));
}

} // namespace vm::assetgen
