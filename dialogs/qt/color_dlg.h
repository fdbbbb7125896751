#pragma once

#include "dialogs/color_logic.h"
#include "platform/qt/dialog.h"

class QComboBox;
class QListWidget;
class QScrollBar;

// Template 139, "色の指定": a slot chooser, three 17-step scroll bars and a
// swatch showing the stored colour (left) beside the composed one (right).
// Made for the view's colour slots, "更新" stores into the chosen slot in
// place; every way of closing keeps what was stored. ColorEditor holds the
// steps; the bars mirror it.
class CColorDlg : public CDialog {
    Q_OBJECT
public:
    explicit CColorDlg(Color* colorSlots, QWidget* parent = nullptr);

    // A scroll message as the window system sends it; Qt's bar actions
    // arrive here as their scroll codes.
    void OnHScroll(int code, int thumb, QScrollBar* bar);
    // Where the swatch is painted: the placeholder control's rectangle,
    // taken when the dialog initialises.
    Rect Swatch() const { return m_swatch; }

protected:
    bool OnInitDialog() override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OnSelEndOkCombo();
    void OnUpdateColor();
    void ShowPositions();
    void InvalidateSwatch();
    ColorEditor::Bar BarOf(const QScrollBar* bar) const;
    void BindScrollBar(QScrollBar* bar);

    ColorEditor m_editor;
    Rect m_swatch;
    QScrollBar* m_blue = nullptr;
    QScrollBar* m_green = nullptr;
    QScrollBar* m_red = nullptr;
    QComboBox* m_combo = nullptr;
    QListWidget* m_swatchHolder = nullptr;
};

constexpr int IDD_COLOR = 139;
constexpr int IDC_COLOR_SLOT = 1032;
constexpr int IDC_SWATCH = 1002;
constexpr int IDC_RED = 1036;
constexpr int IDC_GREEN = 1037;
constexpr int IDC_BLUE = 1038;
constexpr int IDC_COLOR_UPDATE = 1039;
constexpr int IDC_COLOR_RESET = 1040;
// What the hidden "全て初期" button ends the dialog with.
constexpr int kColorResetResult = 7;
