#include "dialog_test_support.h"

#include "dialogs/qt/color_dlg.h"
#include "dialogs/qt/dialog_commands.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include <array>

namespace {

// The dialog's controls, found by id as the framework finds them.
QScrollBar* Bar(const CColorDlg& dlg, int id)
{
    return dlg.GetDlgItem<QScrollBar>(id);
}
QComboBox* Combo(const CColorDlg& dlg)
{
    return dlg.GetDlgItem<QComboBox>(IDC_COLOR_SLOT);
}
void Choose(CColorDlg& dlg, int slot)
{
    Combo(dlg)->setCurrentIndex(slot);
    Combo(dlg)->activated(slot);
}

} // namespace

class ColorDlgTest : public DialogTest {
protected:
    void SetUp() override { m_dlg.InitDialog(); }
    std::array<int, 3> Positions() const
    {
        return {Bar(m_dlg, IDC_RED)->value(), Bar(m_dlg, IDC_GREEN)->value(), Bar(m_dlg, IDC_BLUE)->value()};
    }
    void Click(int id) { m_dlg.GetDlgItem<QPushButton>(id)->click(); }
    QColor Pixel(int x, int y)
    {
        const QImage image = m_dlg.grab().toImage();
        return image.pixelColor(x, y);
    }

    std::array<Color, 10> m_slots{MakeColor(128, 64, 255), MakeColor(0, 0, 0), MakeColor(255, 255, 255),
        MakeColor(10, 20, 30), 0, 0, 0, 0x11111111, 0x22222222, 0x33333333};
    CColorDlg m_dlg{m_slots.data()};
};

TEST_F(ColorDlgTest, LayoutFollowsTemplate139)
{
    CColorDlg fresh(m_slots.data()); // before initialisation moves the placeholder away
    const TemplateUnits u(fresh.font());
    EXPECT_EQ(fresh.windowTitle(), QStringLiteral("色の指定"));
    EXPECT_EQ(fresh.size(), QSize(u.X(126), u.Y(133)));
    EXPECT_EQ(fresh.GetDlgItem(IDC_SWATCH)->geometry(), u.Rect(8, 38, 104, 16));
    EXPECT_EQ(Bar(fresh, IDC_RED)->geometry(), u.Rect(20, 66, 92, 10));
    EXPECT_EQ(Bar(fresh, IDC_BLUE)->geometry(), u.Rect(20, 90, 92, 10));
    EXPECT_EQ(fresh.GetDlgItem(IDC_COLOR_UPDATE)->geometry(), u.Rect(72, 110, 36, 16));
    EXPECT_EQ(Combo(fresh)->pos(), QPoint(u.X(20), u.Y(18)));
    EXPECT_EQ(Combo(fresh)->width(), u.X(92));
    EXPECT_EQ(Bar(fresh, IDC_RED)->orientation(), Qt::Horizontal);
    EXPECT_EQ(Bar(fresh, IDC_GREEN)->maximum(), 16);
    // The seven colours of the graph in their order, then the trend's and the goal's.
    ASSERT_EQ(Combo(fresh)->count(), 9);
    const QStringList names = {QStringLiteral("線の色"), QStringLiteral("軸の色"), QStringLiteral("目盛の文字の色"),
        QStringLiteral("日付の色"), QStringLiteral("平均線（狭）の色"), QStringLiteral("平均線（普）の色"),
        QStringLiteral("平均線（広）の色"), QStringLiteral("傾向線の色"), QStringLiteral("目標線の色")};
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(Combo(fresh)->itemText(i), names[i]) << i;
    QWidget* reset = fresh.GetDlgItem(IDC_COLOR_RESET);
    EXPECT_TRUE(reset->isHidden());
    EXPECT_EQ(reset->geometry(), u.Rect(4, 120, 6, 6));
    EXPECT_EQ(TabOrder(&fresh), (std::vector<int>{IDC_COLOR_SLOT, IDC_COLOR_UPDATE, 1}));
    EXPECT_TRUE(fresh.GetDlgItem<QPushButton>(1)->isDefault());
    QStringList labels;
    for (const QLabel* label : fresh.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_EQ(labels, (QStringList{QStringLiteral("赤"), QStringLiteral("緑"), QStringLiteral("青")}));
}

TEST_F(ColorDlgTest, OpensOnTheLineColourQuantised)
{
    EXPECT_EQ(Combo(m_dlg)->currentIndex(), 0);
    EXPECT_EQ(Positions(), (std::array<int, 3>{8, 4, 16}));
    EXPECT_EQ(m_dlg.GetDlgItem(IDC_SWATCH)->geometry(), QRect(0, 0, 1, 1));
    const TemplateUnits u(m_dlg.font());
    EXPECT_EQ(m_dlg.Swatch(), (Rect{u.X(8), u.Y(38), u.X(8) + u.X(104), u.Y(38) + u.Y(16)}));
}

TEST_F(ColorDlgTest, ScrollActionsFollowTheScrollCodes)
{
    QScrollBar* red = Bar(m_dlg, IDC_RED); // at 8
    red->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(red->value(), 9) << "a page is one step";
    red->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(red->value(), 10) << "the right end moves one step";
    red->triggerAction(QAbstractSlider::SliderToMinimum);
    red->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(red->value(), 8);
    QScrollBar* blue = Bar(m_dlg, IDC_BLUE); // at 16
    blue->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(blue->value(), 16);
    QScrollBar* green = Bar(m_dlg, IDC_GREEN);
    green->setSliderPosition(0); // a drag to the left end
    green->triggerAction(QAbstractSlider::SliderMove);
    green->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(green->value(), 0);
    m_dlg.OnHScroll(SB_THUMBPOSITION, 40, green);
    EXPECT_EQ(green->value(), 16) << "out-of-range thumbs are clamped";
    EXPECT_EQ(m_slots[0], MakeColor(128, 64, 255)) << "scrolling stores nothing";
    Click(IDC_COLOR_UPDATE);
    EXPECT_EQ(m_slots[0], MakeColor(127, 255, 255));
}

TEST_F(ColorDlgTest, ChoosingAnotherItemDiscardsTheComposedColour)
{
    Bar(m_dlg, IDC_RED)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    Choose(m_dlg, 3);
    EXPECT_EQ(Positions(), (std::array<int, 3>{0, 1, 1}));
    Choose(m_dlg, 0);
    EXPECT_EQ(Positions(), (std::array<int, 3>{8, 4, 16}));
    EXPECT_EQ(m_slots[0], MakeColor(128, 64, 255));
}

TEST_F(ColorDlgTest, SwatchShowsStoredLeftAndComposedRight)
{
    Bar(m_dlg, IDC_GREEN)->triggerAction(QAbstractSlider::SliderToMaximum); // composed 127, 79, 255
    const Rect s = m_dlg.Swatch();
    const int mid = s.left + (s.right - s.left) / 2;
    const int y = (s.top + s.bottom) / 2;
    const QImage image = m_dlg.grab().toImage();
    EXPECT_EQ(image.pixelColor(s.left, s.top), QColor(128, 64, 255));
    EXPECT_EQ(image.pixelColor(mid - 1, s.bottom - 1), QColor(128, 64, 255));
    EXPECT_EQ(image.pixelColor(mid, y), QColor(127, 79, 255));
    EXPECT_EQ(image.pixelColor(s.right - 1, s.bottom - 1), QColor(127, 79, 255));
    EXPECT_NE(image.pixelColor(s.right, y), QColor(127, 79, 255)) << "the right edge is exclusive";
    EXPECT_NE(image.pixelColor(mid, s.bottom), QColor(127, 79, 255)) << "the bottom edge is exclusive";
}

TEST_F(ColorDlgTest, HiddenButtonEndsWithSevenKeepingWhatWasStored)
{
    Bar(m_dlg, IDC_RED)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    Click(IDC_COLOR_UPDATE);
    m_dlg.GetDlgItem<QPushButton>(IDC_COLOR_RESET)->click();
    EXPECT_EQ(m_dlg.result(), kColorResetResult);
    EXPECT_EQ(m_slots[0], MakeColor(143, 63, 255));
    EXPECT_EQ(m_slots[7], 0x11111111u) << "only the chosen slot changes";
    EXPECT_EQ(m_slots[9], 0x33333333u) << "slot 9 is never touched";
}

TEST(ColorCommand, StoredColoursSurviveTheCloseBox)
{
    EnsureApplication();
    std::array<Color, 10> colors{};
    DriveModal<CColorDlg>([&colors] { RunColorCommand(colors.data(), nullptr); },
        [](CColorDlg& dlg) {
        Choose(dlg, 4);
        Bar(dlg, IDC_BLUE)->triggerAction(QAbstractSlider::SliderPageStepAdd);
        dlg.GetDlgItem<QPushButton>(IDC_COLOR_UPDATE)->click();
        Bar(dlg, IDC_RED)->triggerAction(QAbstractSlider::SliderPageStepAdd); // composed, not stored
        dlg.close();
    });
    EXPECT_EQ(colors[4], MakeColor(0, 0, 15));
    EXPECT_EQ(colors[0], 0u);

    DriveModal<CColorDlg>([&colors] { RunColorCommand(colors.data(), nullptr); },
        [](CColorDlg& dlg) {
        Bar(dlg, IDC_RED)->triggerAction(QAbstractSlider::SliderToMaximum);
        dlg.GetDlgItem<QPushButton>(IDC_COLOR_UPDATE)->click();
        dlg.GetDlgItem<QPushButton>(1)->click();
    });
    EXPECT_EQ(colors[0], MakeColor(15, 0, 0));
}
