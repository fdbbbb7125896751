#include "dialogs/qt/color_dlg.h"

#include "platform/qt/qt_conversions.h"

#include <QComboBox>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

namespace {

// Qt's slider actions as the window system's scroll codes.
int ScrollCodeOf(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return SB_LINELEFT;
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINERIGHT;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGELEFT;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGERIGHT;
    case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
    case QAbstractSlider::SliderToMinimum: return SB_LEFT;
    case QAbstractSlider::SliderToMaximum: return SB_RIGHT;
    default: return SB_ENDSCROLL;
    }
}

} // namespace

CColorDlg::CColorDlg(Color* colorSlots, QWidget* parent)
    : CDialog(parent)
    , m_editor(colorSlots)
{
    SetTemplate(QStringLiteral("色の指定"), 126, 133);

    // The template's 54 units are the height with the list dropped down;
    // closed, the combo keeps its own height.
    m_combo = AddControl<QComboBox>(IDC_COLOR_SLOT, 20, 18, 92, 54);
    m_combo->resize(m_combo->width(), m_combo->sizeHint().height());
    for (const char* name : kColorSlotNames)
        m_combo->addItem(QString::fromUtf8(name));
    connect(m_combo, &QComboBox::activated, this, [this] { OnSelEndOkCombo(); });

    m_swatchHolder = AddControl<QListWidget>(IDC_SWATCH, 8, 38, 104, 16);
    m_swatchHolder->setFocusPolicy(Qt::NoFocus);

    m_red = AddControl<QScrollBar>(IDC_RED, 20, 66, 92, 10);
    m_green = AddControl<QScrollBar>(IDC_GREEN, 20, 78, 92, 10);
    m_blue = AddControl<QScrollBar>(IDC_BLUE, 20, 90, 92, 10);
    for (QScrollBar* bar : {m_red, m_green, m_blue})
        BindScrollBar(bar);

    const struct {
        int y;
        const char16_t* text;
    } labels[] = {{66, u"赤"}, {78, u"緑"}, {90, u"青"}};
    for (const auto& label : labels)
        AddStatic(IDC_STATIC, 8, label.y, 10, 10, QString::fromUtf16(label.text), Qt::AlignRight | Qt::AlignVCenter);

    auto* update = AddControl<QPushButton>(IDC_COLOR_UPDATE, 72, 110, 36, 16);
    update->setText(QStringLiteral("更新"));
    update->setAutoDefault(false);
    connect(update, &QPushButton::clicked, this, [this] { OnUpdateColor(); });

    auto* reset = AddControl<QPushButton>(IDC_COLOR_RESET, 4, 120, 6, 6);
    reset->setText(QStringLiteral("全て初期"));
    reset->setAutoDefault(false);
    reset->hide();
    connect(reset, &QPushButton::clicked, this, [this] { EndDialog(kColorResetResult); });

    // The handheld put OK in the caption; Linux title bars have no room for
    // it, so it sits in the free top-right corner of the dialog, and Enter
    // presses it as Enter sent OK there.
    AddOkButton(96, 2, 26, 14);
}

void CColorDlg::BindScrollBar(QScrollBar* bar)
{
    bar->setOrientation(Qt::Horizontal);
    bar->setRange(0, kMaxColorStep);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    // Qt has already moved the slider when it reports the action; the
    // scroll rule then sets the position it ends at.
    connect(bar, &QScrollBar::actionTriggered, this,
        [this, bar](int action) { OnHScroll(ScrollCodeOf(action), bar->sliderPosition(), bar); });
    connect(bar, &QScrollBar::sliderReleased, this,
        [this, bar] { OnHScroll(SB_THUMBPOSITION, bar->sliderPosition(), bar); });
}

bool CColorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const QRect holder = m_swatchHolder->geometry();
    m_swatch = Rect{holder.left(), holder.top(), holder.left() + holder.width(), holder.top() + holder.height()};
    m_swatchHolder->setGeometry(0, 0, 1, 1);
    m_combo->setCurrentIndex(0);
    OnSelEndOkCombo();
    InvalidateSwatch();
    return true;
}

void CColorDlg::OnSelEndOkCombo()
{
    m_editor.Select(m_combo->currentIndex());
    if (m_editor.Selection() < 0)
        return;
    for (QScrollBar* bar : {m_red, m_green, m_blue})
        bar->setRange(0, kMaxColorStep);
    ShowPositions();
    InvalidateSwatch();
}

void CColorDlg::OnUpdateColor()
{
    if (m_editor.Selection() < 0)
        return;
    m_editor.Store();
    InvalidateSwatch();
}

void CColorDlg::OnHScroll(int code, int thumb, QScrollBar* bar)
{
    bar->setSliderPosition(m_editor.Scroll(BarOf(bar), code, thumb));
    InvalidateSwatch();
}

void CColorDlg::paintEvent(QPaintEvent* event)
{
    CDialog::paintEvent(event);
    QPainter painter(this);
    Color stored = 0;
    if (m_editor.StoredColor(stored))
        painter.fillRect(ToQRect(SwatchStoredHalf(m_swatch)), ToQColor(stored));
    painter.fillRect(ToQRect(SwatchComposedHalf(m_swatch)), ToQColor(m_editor.SliderColor()));
}

void CColorDlg::ShowPositions()
{
    m_red->setValue(m_editor.Position(ColorEditor::RedBar));
    m_green->setValue(m_editor.Position(ColorEditor::GreenBar));
    m_blue->setValue(m_editor.Position(ColorEditor::BlueBar));
}

void CColorDlg::InvalidateSwatch()
{
    update(ToQRect(m_swatch));
}

ColorEditor::Bar CColorDlg::BarOf(const QScrollBar* bar) const
{
    return bar == m_red ? ColorEditor::RedBar : bar == m_green ? ColorEditor::GreenBar : ColorEditor::BlueBar;
}
