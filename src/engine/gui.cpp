// The menu GUI: list ownership, id registry, hover tracking and input dispatch.
#include "engine/gui.h"

#include "engine/clock.h"
#include "engine/game_constants.h"
#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "engine/screen.h"
#include "engine/utf8.h"
#include "engine/virtual_keys.h"

#include <algorithm>
#include <cmath>

namespace vm {

namespace {

constexpr std::int64_t MoveThinningMs = 10;

} // namespace

TGui::TGui(TScreen* Screen, TBitmapFont* BitmapFont, IClock* Clock)
    : Screen(Screen), BitmapFont(BitmapFont), FClock(Clock), FFocusGlow(Screen)
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
    // Widgets may have moved under a still mouse (sliding pages): hover follows them.
    TrackHover(ApplyPendingMove());
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
    if (ShowFocus)
        DrawFocus();
}

void TGui::DrawFocus()
{
    if (const TGuiComponent* Widget = Focused(); Widget != nullptr && !Widget->DrawsOwnFocus())
        FFocusGlow.Draw(Widget->Left, Widget->Top, Widget->Width, Widget->Height);
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
    TrackHover(true);
}

bool TGui::ApplyPendingMove()
{
    if (!FPending)
        return false;
    FPending = false;
    FMouseKnown = true;
    FMouseX = FPendingX;
    FMouseY = FPendingY;
    // A dragged bar follows the mouse wherever it goes.
    if (FButtonDown[mbLeft])
        if (TGuiComponent* Pressed = Find(FPressedId))
            Pressed->MouseDrag(FMouseX, FMouseY);
    return true;
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

void TGui::TrackHover(bool Moved)
{
    TGuiComponent* Hit = HitTest(FMouseX, FMouseY);
    const int NewId = Hit != nullptr ? Hit->Id() : -1;
    const int OldId = FHoverId;
    FHoverId = NewId;
    for (const auto& List : FLists)
        List->SetHoverId(Hit != nullptr && &Hit->List() == List.get() ? NewId : -1);
    if (OldId == NewId)
        return;
    if (FFocusByMouse && FFocusId == OldId)
    {
        FFocusId = -1;
        FFocusByMouse = false;
    }
    // Only a moving mouse takes the focus: widgets sliding under a resting one do not.
    if (Moved && Focusable(Hit) && !Hit->TakesText())
    {
        FFocusId = NewId;
        FFocusByMouse = true;
    }
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
    TrackHover(ApplyPendingMove());
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
        SetFocus(Widget);
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

void TGui::SetFocus(TGuiComponent* Widget)
{
    FFocusId = Widget != nullptr ? Widget->Id() : -1;
    FFocusByMouse = false;
    if (Widget != nullptr && Widget->TakesText())
        Widget->List().TypingId = Widget->Id();
}

void TGui::ClearFocus()
{
    FFocusId = -1;
    FFocusByMouse = false;
    for (const auto& List : FLists)
        List->TypingId = -1;
}

bool TGui::Focusable(const TGuiComponent* Widget)
{
    return Widget != nullptr && Widget->TabStop && Widget->Visible && Widget->Enabled &&
           Widget->List().Visible && Widget->List().Enabled;
}

TGuiComponent* TGui::TypingTarget() const
{
    TGuiComponent* Widget = Focused();
    if (Widget != nullptr && Widget->TakesText())
        return Widget;
    for (auto List = FLists.rbegin(); List != FLists.rend(); ++List)
    {
        if (!(*List)->Visible || !(*List)->Enabled)
            continue;
        TGuiComponent* Typing = Find((*List)->TypingId);
        if (Typing != nullptr && Typing->Visible && Typing->Enabled && Typing->TakesText())
            return Typing;
    }
    return nullptr;
}

std::vector<TGuiComponent*> TGui::TabOrder() const
{
    std::vector<TGuiComponent*> Left;
    for (const auto& List : FLists)
        for (int I = 0; I < List->Count(); ++I)
            if (Focusable(List->Widget(I)))
                Left.push_back(List->Widget(I));
    std::stable_sort(Left.begin(), Left.end(),
                     [](const TGuiComponent* A, const TGuiComponent* B) { return A->Top < B->Top; });
    std::vector<TGuiComponent*> Order;
    while (!Left.empty())
    {
        // The topmost widget opens a row; every widget whose middle lies within its height joins.
        const TGuiComponent* First = Left.front();
        std::vector<TGuiComponent*> Row, Rest;
        for (TGuiComponent* Widget : Left)
        {
            const int Middle = Widget->Top + Widget->Height / 2;
            (Middle >= First->Top && Middle <= First->Top + First->Height ? Row : Rest).push_back(Widget);
        }
        if (Row.empty()) // a widget of negative height: it forms a row of its own
            Row.push_back(Left.front()), Rest.erase(std::find(Rest.begin(), Rest.end(), Left.front()));
        std::stable_sort(Row.begin(), Row.end(),
                         [](const TGuiComponent* A, const TGuiComponent* B) { return A->Left < B->Left; });
        Order.insert(Order.end(), Row.begin(), Row.end());
        Left = std::move(Rest);
    }
    return Order;
}

bool TGui::MoveFocus(int Dx, int Dy)
{
    const TGuiComponent* From = Focused();
    if (From == nullptr)
        return false;
    const auto Middle = [](const TGuiComponent* W, bool Horizontal) {
        return Horizontal ? W->Left + W->Width / 2.0 : W->Top + W->Height / 2.0;
    };
    const bool Horizontal = Dx != 0;
    const int Sign = Horizontal ? Dx : Dy;
    TGuiComponent* Best = nullptr;
    double BestScore = 0;
    for (TGuiComponent* Widget : TabOrder())
    {
        if (Widget == From)
            continue;
        const double Along = (Middle(Widget, Horizontal) - Middle(From, Horizontal)) * Sign;
        // Only widgets whose middle lies past the focused one's edge: a neighbour in the same
        // row a pixel higher is not "up".
        const double Half = (Horizontal ? From->Width : From->Height) / 2.0;
        if (Along <= Half)
            continue;
        // How far the widget lies out of line: the gap between the two across the move, 0 when
        // they overlap. Out of line counts three times as much as the way along.
        const double FromLow = Horizontal ? From->Top : From->Left;
        const double FromHigh = FromLow + (Horizontal ? From->Height : From->Width);
        const double Low = Horizontal ? Widget->Top : Widget->Left;
        const double High = Low + (Horizontal ? Widget->Height : Widget->Width);
        const double Across = std::max({FromLow - High, Low - FromHigh, 0.0});
        // Among widgets as near, the one whose middle is most in line wins.
        const double Offset = std::abs(Middle(Widget, !Horizontal) - Middle(From, !Horizontal));
        const double Score = Along + 3 * Across + Offset / 100;
        if (Best == nullptr || Score < BestScore)
            Best = Widget, BestScore = Score;
    }
    if (Best == nullptr)
        return false;
    SetFocus(Best);
    return true;
}

bool TGui::FocusNext()
{
    const std::vector<TGuiComponent*> Order = TabOrder();
    if (Order.empty())
        return false;
    const auto Found = std::find(Order.begin(), Order.end(), Focused());
    SetFocus(Found == Order.end() || Found + 1 == Order.end() ? Order.front() : *(Found + 1));
    return true;
}

TGuiList* TGui::ActiveList() const
{
    if (const TGuiComponent* Widget = Focused())
        return &Widget->List();
    for (auto List = FLists.rbegin(); List != FLists.rend(); ++List)
        for (int I = 0; I < (*List)->Count(); ++I)
            if (Focusable((*List)->Widget(I)))
                return List->get();
    return nullptr;
}

bool TGui::FocusDefault()
{
    const TGuiList* List = ActiveList();
    if (List == nullptr)
        return false;
    TGuiComponent* Default = Find(List->DefaultFocusId);
    if (Focusable(Default))
    {
        SetFocus(Default);
        return true;
    }
    return FocusNext();
}

bool TGui::TakeKey(int VirtualKey)
{
    if (VirtualKey >= 0 && VirtualKey < static_cast<int>(FTakenKeys.size()))
        FTakenKeys[static_cast<std::size_t>(VirtualKey)] = true;
    return true;
}

bool TGui::KeyUp(int VirtualKey)
{
    if (VirtualKey < 0 || VirtualKey >= static_cast<int>(FTakenKeys.size()))
        return false;
    const bool Taken = FTakenKeys[static_cast<std::size_t>(VirtualKey)];
    FTakenKeys[static_cast<std::size_t>(VirtualKey)] = false;
    return Taken;
}

bool TGui::KeyDown(int VirtualKey)
{
    TGuiComponent* Widget = Focused();
    TGuiComponent* Typing = TypingTarget();
    // While a name is being typed elsewhere, Space is a blank in it, not a click.
    const bool ToWidget =
        Widget != nullptr && !(VirtualKey == vkSpace && Typing != nullptr && Typing != Widget);
    if (ToWidget)
    {
        const int Id = Widget->Id();
        if (TGuiKeyEvent Handler = Widget->OnKeyDown)
        {
            Handler(Widget, VirtualKey);
            Widget = Focused();
            if (Widget == nullptr || Widget->Id() != Id)
                return false;
        }
        if (Widget->KeyDown(VirtualKey))
            return TakeKey(VirtualKey);
    }
    const bool EditKey =
        VirtualKey == vkBack || VirtualKey == vkDelete || VirtualKey == vkHome || VirtualKey == vkEnd;
    if (EditKey && Typing != nullptr && Typing != Widget)
        return Typing->KeyDown(VirtualKey) && TakeKey(VirtualKey);

    int Dx = 0, Dy = 0;
    switch (VirtualKey)
    {
    case vkLeft: Dx = -1; break;
    case vkRight: Dx = 1; break;
    case vkUp: Dy = -1; break;
    case vkDown: Dy = 1; break;
    case vkTab: break;
    default: return false;
    }
    const TGuiList* List = ActiveList();
    if (List == nullptr || List->KeepsKey(VirtualKey))
        return false;
    if (Widget == nullptr)
        return FocusDefault() && TakeKey(VirtualKey);
    if (VirtualKey == vkTab)
        FocusNext();
    else
        MoveFocus(Dx, Dy);
    // Nothing that way: the focus stays, and the key still belongs to the GUI.
    return TakeKey(VirtualKey);
}

void TGui::TextInput(const std::string& Utf8)
{
    for (char32_t Code : DecodeUtf8(Utf8))
    {
        TGuiComponent* Widget = TypingTarget();
        if (Widget == nullptr)
            return;
        Widget->Character(Code);
    }
}

} // namespace vm
