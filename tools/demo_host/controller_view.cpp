#include "controller_view.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

enum class Shape { Box, Round };

struct ButtonLook {
    uint16_t bit;
    const char* label;
    Shape shape;
    RECT place;  // relative to the panel's corner
    COLORREF lit;
};

constexpr COLORREF kBlue = RGB(40, 80, 220), kGreen = RGB(30, 150, 60), kRed = RGB(210, 40, 40),
                   kYellow = RGB(235, 190, 20), kGrey = RGB(90, 90, 90);

// Laid out roughly like the pad: shoulders on top, D-pad left, Start in the middle, C buttons right.
const ButtonLook kButtons[] = {
    {ButtonBit::TriggerLeft, "L", Shape::Box, {10, 28, 50, 44}, kGrey},
    {ButtonBit::TriggerRight, "R", Shape::Box, {150, 28, 190, 44}, kGrey},
    {ButtonBit::PadUp, "^", Shape::Box, {31, 56, 49, 74}, kGrey},
    {ButtonBit::PadDown, "v", Shape::Box, {31, 92, 49, 110}, kGrey},
    {ButtonBit::PadLeft, "<", Shape::Box, {13, 74, 31, 92}, kGrey},
    {ButtonBit::PadRight, ">", Shape::Box, {49, 74, 67, 92}, kGrey},
    {ButtonBit::Start, "Start", Shape::Box, {78, 75, 122, 91}, kRed},
    {ButtonBit::CUp, "^", Shape::Round, {151, 54, 169, 72}, kYellow},
    {ButtonBit::CDown, "v", Shape::Round, {151, 90, 169, 108}, kYellow},
    {ButtonBit::CLeft, "<", Shape::Round, {133, 72, 151, 90}, kYellow},
    {ButtonBit::CRight, ">", Shape::Round, {169, 72, 187, 90}, kYellow},
    {ButtonBit::TriggerZ, "Z", Shape::Box, {20, 120, 60, 136}, kGrey},
    {ButtonBit::B, "B", Shape::Round, {104, 112, 128, 136}, kGreen},
    {ButtonBit::A, "A", Shape::Round, {134, 120, 158, 144}, kBlue},
};

constexpr int kStickHalf = 50;  // pixels for full deflection
constexpr POINT kStickCentre = {100, 200};

RECT Offset(RECT r, POINT by) {
    OffsetRect(&r, by.x, by.y);
    return r;
}

void DrawButton(HDC dc, POINT origin, const ButtonLook& look, bool held) {
    const RECT r = Offset(look.place, origin);
    HBRUSH fill = CreateSolidBrush(held ? look.lit : RGB(228, 228, 228));
    HPEN edge = CreatePen(PS_SOLID, 1, held ? look.lit : RGB(150, 150, 150));
    HGDIOBJ oldBrush = SelectObject(dc, fill), oldPen = SelectObject(dc, edge);
    if (look.shape == Shape::Round)
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
    else
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(fill);
    DeleteObject(edge);
    SetTextColor(dc, held ? RGB(255, 255, 255) : RGB(60, 60, 60));
    RECT text = r;
    DrawTextA(dc, look.label, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void DrawStick(HDC dc, POINT origin, const ButtonState& state) {
    const POINT c = {origin.x + kStickCentre.x, origin.y + kStickCentre.y};
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    HPEN grid = CreatePen(PS_SOLID, 1, RGB(190, 190, 190));
    HGDIOBJ oldPen = SelectObject(dc, grid);
    Rectangle(dc, c.x - kStickHalf, c.y - kStickHalf, c.x + kStickHalf + 1, c.y + kStickHalf + 1);
    MoveToEx(dc, c.x - kStickHalf, c.y, nullptr);
    LineTo(dc, c.x + kStickHalf, c.y);
    MoveToEx(dc, c.x, c.y - kStickHalf, nullptr);
    LineTo(dc, c.x, c.y + kStickHalf);
    SelectObject(dc, oldPen);
    DeleteObject(grid);

    // A joystick axis may report beyond full deflection; the dot stays inside the box.
    auto scale = [](int v) { return std::clamp(v * kStickHalf / kFullDeflection, -kStickHalf, kStickHalf); };
    const int x = c.x + scale(state.stickX), y = c.y - scale(state.stickY);
    HBRUSH dot = CreateSolidBrush(RGB(20, 20, 20));
    SelectObject(dc, dot);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, x - 6, y - 6, x + 7, y + 7);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(dot);
}

}  // namespace

void ControllerView::Draw(HDC dc, POINT origin, int index, const ButtonState& state) {
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, origin.x, origin.y, origin.x + kWidth, origin.y + kHeight);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);

    SetBkMode(dc, TRANSPARENT);
    char text[64];
    std::snprintf(text, sizeof text, "Controller %d", index + 1);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, origin.x + 8, origin.y + 6, text, static_cast<int>(std::strlen(text)));

    for (const ButtonLook& look : kButtons) DrawButton(dc, origin, look, (state.buttons & look.bit) != 0);
    DrawStick(dc, origin, state);

    std::snprintf(text, sizeof text, "0x%04X   x %d   y %d", state.buttons, state.stickX, state.stickY);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, origin.x + 8, origin.y + kHeight - 20, text, static_cast<int>(std::strlen(text)));
}
