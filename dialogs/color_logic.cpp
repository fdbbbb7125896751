#include "dialogs/color_logic.h"

#include <algorithm>

const char* const kColorSlotNames[kDialogColorSlots] = {
    "線の色",
    "軸の色",
    "目盛の文字の色",
    "日付の色",
    "平均線（狭）の色",
    "平均線（普）の色",
    "平均線（広）の色",
    "傾向線の色",
    "目標線の色",
};

int ComponentOfStep(int step)
{
    return std::max(0, 16 * step - 1);
}

int StepOfComponent(int component)
{
    return (component + 1) >> 4;
}

int ScrolledStep(int code, int current, int thumb)
{
    int step = current;
    switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
    case SB_LEFT: step = current - 1; break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
    case SB_RIGHT: step = current + 1; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: step = thumb; break;
    default: break;
    }
    return std::clamp(step, 0, kMaxColorStep);
}

namespace {

int Mid(Rect swatch)
{
    return swatch.left + (swatch.right - swatch.left) / 2;
}

} // namespace

Rect SwatchStoredHalf(Rect swatch)
{
    return Rect{swatch.left, swatch.top, Mid(swatch), swatch.bottom};
}

Rect SwatchComposedHalf(Rect swatch)
{
    return Rect{Mid(swatch), swatch.top, swatch.right, swatch.bottom};
}

void ColorEditor::Select(int slot)
{
    m_selection = slot >= 0 && slot < kDialogColorSlots ? slot : -1;
    if (m_selection < 0)
        return;
    const Color c = m_colors[m_selection];
    m_positions[RedBar] = StepOfComponent(RedOf(c));
    m_positions[GreenBar] = StepOfComponent(GreenOf(c));
    m_positions[BlueBar] = StepOfComponent(BlueOf(c));
}

void ColorEditor::Store()
{
    if (m_selection >= 0)
        m_colors[m_selection] = SliderColor();
}

int ColorEditor::Scroll(Bar bar, int code, int thumb)
{
    m_positions[bar] = ScrolledStep(code, m_positions[bar], thumb);
    return m_positions[bar];
}

Color ColorEditor::SliderColor() const
{
    return MakeColor(static_cast<std::uint8_t>(ComponentOfStep(m_positions[RedBar])),
        static_cast<std::uint8_t>(ComponentOfStep(m_positions[GreenBar])),
        static_cast<std::uint8_t>(ComponentOfStep(m_positions[BlueBar])));
}

bool ColorEditor::StoredColor(Color& color) const
{
    if (m_selection < 0)
        return false;
    color = m_colors[m_selection];
    return true;
}
