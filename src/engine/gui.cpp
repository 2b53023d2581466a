// The menu GUI: list ownership, id registry, hover tracking and input dispatch.
#include "engine/gui.h"

#include "engine/clock.h"
#include "engine/game_constants.h"
#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "engine/screen.h"
#include "engine/utf8.h"

#include <algorithm>
#include <cmath>

namespace vm {

namespace {

constexpr std::int64_t MoveThinningMs = 10;

} // namespace

TGui::TGui(TScreen* Screen, TBitmapFont* BitmapFont, IClock* Clock)
    : Screen(Screen), BitmapFont(BitmapFont), FClock(Clock)
{}

TGui::~TGui()
{
    // Widgets unregister from the registry as they die, so the lists go first.
    FLists.clear();
}

TGuiList* TGui::CreateList(const std::string& Name)
{
    FLists.push_back(std::make_unique<TGuiList>(*this, Name));
    return FLists.back().get();
}

void TGui::FreeList(TGuiList* List)
{
    auto Found = std::find_if(FLists.begin(), FLists.end(), [&](const auto& L) { return L.get() == List; });
    if (Found == FLists.end())
        return;
    // Out of the order first, then destroyed: its widgets' ids leave the registry, so hover,
    // pressed and focus ids that named them resolve to nothing from now on.
    std::unique_ptr<TGuiList> Dying = std::move(*Found);
    FLists.erase(Found);
}

void TGui::BringToFront(TGuiList* List)
{
    auto Found = std::find_if(FLists.begin(), FLists.end(), [&](const auto& L) { return L.get() == List; });
    if (Found != FLists.end())
        std::rotate(Found, Found + 1, FLists.end());
}

TGuiList* TGui::List(int Index) const
{
    if (Index < 0 || Index >= ListCount())
        return nullptr;
    return FLists[static_cast<std::size_t>(Index)].get();
}

TGuiComponent* TGui::Find(int Id) const
{
    const auto Found = FRegistry.find(Id);
    return Found == FRegistry.end() ? nullptr : Found->second;
}

int TGui::RegisterWidget(TGuiComponent* Widget)
{
    const int Id = FNextId++;
    FRegistry[Id] = Widget;
    return Id;
}

void TGui::UnregisterWidget(int Id) { FRegistry.erase(Id); }

void TGui::Prepare(int ClientWidth, int ClientHeight)
{
    const int ScreenWidth = Screen != nullptr ? Screen->Width : PictureWidth;
    const int ScreenHeight = Screen != nullptr ? Screen->Height : PictureHeight;
    FScaleX = ClientWidth > 0 && ScreenWidth > 0 ? static_cast<float>(ScreenWidth) / ClientWidth : 1.0f;
    FScaleY = ClientHeight > 0 && ScreenHeight > 0 ? static_cast<float>(ScreenHeight) / ClientHeight : 1.0f;
}

void TGui::Draw()
{
    ApplyPendingMove();
    // Widgets may have moved under a still mouse (sliding pages): hover follows them.
    TrackHover();
    if (Background != nullptr && Background->Screen() != nullptr)
    {
        TQuadParams P;
        const float W = static_cast<float>(Background->Width());
        const float H = static_cast<float>(Background->Height());
        P.X2 = W, P.X3 = W, P.Y3 = H, P.Y4 = H;
        P.PatternIndex = -1;
        DrawImageQuad(*Background, P);
    }
    // Drawing calls no handlers, so the lists cannot change under this walk.
    for (const auto& List : FLists)
    {
        if (!List->Visible)
            continue;
        for (int I = 0; I < List->Count(); ++I)
        {
            TGuiComponent* Widget = List->Widget(I);
            if (Widget->Visible)
                Widget->Draw();
        }
    }
}

std::int64_t TGui::Milliseconds() const
{
    const std::int64_t Now = FClock->Now();
    const std::int64_t Frequency = std::max<std::int64_t>(FClock->Frequency(), 1);
    return Now / Frequency * 1000 + Now % Frequency * 1000 / Frequency;
}

void TGui::MouseMove(int X, int Y)
{
    FPendingX = static_cast<int>(std::lround(X * static_cast<double>(FScaleX)));
    FPendingY = static_cast<int>(std::lround(Y * static_cast<double>(FScaleY)));
    FPending = true;
    if (FClock != nullptr)
    {
        const std::int64_t Now = Milliseconds();
        if (FHaveLastMove && Now >= FLastMove && Now - FLastMove < MoveThinningMs)
            return;
        FLastMove = Now;
        FHaveLastMove = true;
    }
    ApplyPendingMove();
    TrackHover();
}

void TGui::ApplyPendingMove()
{
    if (!FPending)
        return;
    FPending = false;
    FMouseKnown = true;
    FMouseX = FPendingX;
    FMouseY = FPendingY;
    // A dragged bar follows the mouse wherever it goes.
    if (FButtonDown[mbLeft])
        if (TGuiComponent* Pressed = Find(FPressedId))
            Pressed->MouseDrag(FMouseX, FMouseY);
}

TGuiComponent* TGui::HitTest(int X, int Y) const
{
    if (!FMouseKnown)
        return nullptr;
    for (auto List = FLists.rbegin(); List != FLists.rend(); ++List)
    {
        if (!(*List)->Enabled || !(*List)->Visible)
            continue;
        for (int I = (*List)->Count() - 1; I >= 0; --I)
        {
            TGuiComponent* Widget = (*List)->Widget(I);
            if (Widget->Visible && Widget->Enabled && Widget->Contains(X, Y))
                return Widget;
        }
    }
    return nullptr;
}

void TGui::TrackHover()
{
    TGuiComponent* Hit = HitTest(FMouseX, FMouseY);
    const int NewId = Hit != nullptr ? Hit->Id() : -1;
    const int OldId = FHoverId;
    FHoverId = NewId;
    for (const auto& List : FLists)
        List->SetHoverId(Hit != nullptr && &Hit->List() == List.get() ? NewId : -1);
    if (OldId == NewId)
        return;
    // Handlers may free lists: every widget is looked up again after a handler ran.
    if (TGuiComponent* Old = Find(OldId))
    {
        Old->RestartAnimations();
        if (TGuiNotifyEvent Handler = Old->OnMouseLeave)
            Handler(Old);
    }
    if (TGuiComponent* New = Find(NewId))
    {
        New->RestartAnimations();
        if (TGuiNotifyEvent Handler = New->OnMouseEnter)
            Handler(New);
    }
}

void TGui::MouseButton(int Button, bool Down, bool DoubleClick)
{
    if (Button < 0 || Button > 2)
        return;
    ApplyPendingMove();
    TrackHover();
    FButtonDown[Button] = Down;
    TGuiComponent* Under = Find(FHoverId);
    if (Button != mbLeft)
    {
        if (Under != nullptr)
        {
            if (Down)
                Under->MouseDown(Button, FMouseX, FMouseY);
            else
                Under->MouseUp(Button);
        }
        return;
    }
    if (Down)
    {
        FPressedId = FHoverId;
        FPressedDouble = DoubleClick;
        if (Under != nullptr)
            Under->MouseDown(mbLeft, FMouseX, FMouseY);
        return;
    }
    const int PressedId = FPressedId;
    const bool Double = FPressedDouble;
    FPressedId = -1;
    if (TGuiComponent* Pressed = Find(PressedId))
        Pressed->MouseUp(mbLeft);
    // Released where it went down: a click. Pressed elsewhere, or on nothing: no click.
    if (PressedId != -1 && PressedId == FHoverId)
        if (TGuiComponent* Widget = Find(PressedId))
            Click(Widget, mbLeft, Double);
}

void TGui::Click(TGuiComponent* Widget, int Button, bool DoubleClick)
{
    if (Widget == nullptr)
        return;
    if (Widget->TakesFocusOnClick())
        FFocusId = Widget->Id();
    // A copy runs: the handler may free the widget and with it the stored function.
    TGuiClickEvent Handler = DoubleClick && Widget->OnDoubleClick ? Widget->OnDoubleClick : Widget->OnClick;
    if (Handler)
        Handler(Widget, Button);
}

TGuiComponent* TGui::Focused() const
{
    TGuiComponent* Widget = Find(FFocusId);
    if (Widget == nullptr || !Widget->List().Enabled || !Widget->Enabled || !Widget->Visible)
        return nullptr;
    return Widget;
}

void TGui::SetFocus(TGuiComponent* Widget) { FFocusId = Widget != nullptr ? Widget->Id() : -1; }

void TGui::KeyDown(int VirtualKey)
{
    TGuiComponent* Widget = Focused();
    if (Widget == nullptr)
        return;
    const int Id = Widget->Id();
    if (TGuiKeyEvent Handler = Widget->OnKeyDown)
    {
        Handler(Widget, VirtualKey);
        Widget = Focused();
        if (Widget == nullptr || Widget->Id() != Id)
            return;
    }
    Widget->KeyDown(VirtualKey);
}

void TGui::TextInput(const std::string& Utf8)
{
    for (char32_t Code : DecodeUtf8(Utf8))
    {
        TGuiComponent* Widget = Focused();
        if (Widget == nullptr)
            return;
        Widget->Character(Code);
    }
}

} // namespace vm
