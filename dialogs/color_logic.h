#pragma once

#include "platform/surface.h"

#include <array>

// What the colour dialog does to the view's colour slots, without its
// controls. Each component is picked on 17 steps (0 to 16); a slot changes
// only when Store is called, so leaving the dialog keeps what was stored.
class ColorEditor {
public:
    enum Bar { RedBar, GreenBar, BlueBar };

    explicit ColorEditor(Color* colorSlots)
        : m_colors(colorSlots)
    {
    }

    // Choosing a slot (-1 for none) reloads the three steps from it,
    // discarding a colour composed but not stored.
    void Select(int slot);
    int Selection() const { return m_selection; }
    // The selected slot takes the slider colour; nothing without a selection.
    void Store();
    // A scroll message: the bar's new step, clamped to 0..16.
    int Scroll(Bar bar, int code, int thumb);

    int Position(Bar bar) const { return m_positions[bar]; }
    Color SliderColor() const;
    // The selected slot's colour; false without a selection.
    bool StoredColor(Color& color) const;

private:
    Color* m_colors;
    int m_selection = -1;
    std::array<int, 3> m_positions{0, 0, 0};
};

// The seven colours of the graph, then the trend and goal lines' (slots 7
// and 8); slot 9 is carried untouched.
constexpr int kDialogColorSlots = 9;
constexpr int kMaxColorStep = 16;
// Slot names in slot order, UTF-8.
extern const char* const kColorSlotNames[kDialogColorSlots];

// Step p gives max(0, 16p - 1): 0, 15, 31, ..., 255.
int ComponentOfStep(int step);
// Component c gives (c + 1) >> 4: 0..14 -> 0, 15..30 -> 1, 255 -> 16.
int StepOfComponent(int component);

// Scroll codes of a horizontal scroll bar. A page and the two ends move
// one step, like a line; 8 and above (end of scrolling) leave it.
enum ScrollCode {
    SB_LINELEFT = 0,
    SB_LINERIGHT = 1,
    SB_PAGELEFT = 2,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_LEFT = 6,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
};
int ScrolledStep(int code, int current, int thumb);

// The swatch's halves: stored colour left of mid, composed colour from mid
// on, mid = left + width / 2 truncated.
Rect SwatchStoredHalf(Rect swatch);
Rect SwatchComposedHalf(Rect swatch);
