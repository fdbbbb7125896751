#include "dialog_test_support.h"

#include "dialogs/qt/dialog_commands.h"
#include "dialogs/qt/weight_entry_dlg.h"
#include "diary/tarelog_doc.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class WeightEntryDlgTest : public DialogTest {
protected:
    static QLineEdit* Weight(CWeightEntryDlg& dlg) { return dlg.GetDlgItem<QLineEdit>(IDC_WEIGHT); }
    static QDateEdit* Picker(CWeightEntryDlg& dlg) { return dlg.GetDlgItem<QDateEdit>(IDC_ENTRY_DATE); }
    static void Click(CWeightEntryDlg& dlg, int id) { dlg.GetDlgItem<QPushButton>(id)->click(); }

    // Runs the new-entry command and lets `act` work the dialog it opens.
    template <class Act> void RunCommand(CTarelogDoc& doc, Act act)
    {
        DriveModal<CWeightEntryDlg>([&doc] { RunWeightEntryCommand(doc, nullptr); }, act);
    }

    CTarelogDoc m_empty; // for a dialog made without the command
};

TEST_F(WeightEntryDlgTest, LayoutFollowsTemplate130)
{
    CWeightEntryDlg dlg(m_empty);
    const TemplateUnits u(dlg.font());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("体重入力"));
    EXPECT_EQ(dlg.size(), QSize(u.X(107), u.Y(133)));
    EXPECT_EQ(dlg.GetDlgItem(1)->geometry(), u.Rect(83, 0, 24, 14));
    EXPECT_EQ(Weight(dlg)->geometry(), u.Rect(67, 20, 39, 12));
    EXPECT_EQ(Picker(dlg)->geometry(), u.Rect(5, 4, 69, 14));
    EXPECT_EQ(dlg.GetDlgItem(IDC_WEIGHT_MINUS)->geometry(), u.Rect(45, 78, 58, 14));
    EXPECT_TRUE(dlg.GetDlgItem<QPushButton>(1)->isDefault());
    EXPECT_EQ(Weight(dlg)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_TRUE(Picker(dlg)->calendarPopup());
    EXPECT_TRUE(Picker(dlg)->displayFormat().contains(QStringLiteral("yyyy")));
    EXPECT_EQ(dlg.GetDlgItem<QPushButton>(IDC_WEIGHT_TENTH)->text(), QStringLiteral("1/10にする"));
    EXPECT_EQ(dlg.GetDlgItem<QPushButton>(IDC_WEIGHT_PLUS)->text(), QStringLiteral("＋０．１"));
    EXPECT_EQ(dlg.GetDlgItem<QPushButton>(IDC_WEIGHT_MINUS)->text(), QStringLiteral("－０．１"));
    const QLabel* label = dlg.findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("体重（Kｇ）"));
    // The label keeps its template's right edge and line, and has room for
    // its whole text even where the face's glyphs run wider.
    const QRect area = label->geometry();
    EXPECT_EQ(area.left() + area.width(), u.X(31) + u.X(36));
    EXPECT_EQ(area.top(), u.Y(22));
    EXPECT_EQ(area.height(), u.Y(8));
    EXPECT_GE(area.width(), u.X(36));
    EXPECT_GE(area.width(), label->fontMetrics().horizontalAdvance(label->text()));
    EXPECT_EQ(TabOrder(&dlg), (std::vector<int>{1, 1000, 1001, 1004, 1006, 1007}));
}

TEST_F(WeightEntryDlgTest, StepButtonsReadStepAndWriteBack)
{
    CWeightEntryDlg dlg(m_empty);
    dlg.InitDialog();
    Weight(dlg)->setText(QStringLiteral("655"));
    Click(dlg, IDC_WEIGHT_TENTH);
    EXPECT_EQ(Weight(dlg)->text(), QStringLiteral("65.5"));
    Click(dlg, IDC_WEIGHT_TENTH);
    EXPECT_EQ(Weight(dlg)->text(), QStringLiteral("6.55"));
    Weight(dlg)->setText(QStringLiteral("70"));
    Click(dlg, IDC_WEIGHT_PLUS);
    EXPECT_EQ(Weight(dlg)->text(), QStringLiteral("70.1"));
    Click(dlg, IDC_WEIGHT_MINUS);
    Click(dlg, IDC_WEIGHT_MINUS);
    EXPECT_EQ(Weight(dlg)->text(), QStringLiteral("69.9"));
    // The picked day is read and written back untouched.
    Picker(dlg)->setDate(QDate(2002, 3, 4));
    Click(dlg, IDC_WEIGHT_PLUS);
    EXPECT_EQ(dlg.m_date, CalendarDate::FromYmd(2002, 3, 4));
    EXPECT_EQ(Picker(dlg)->date(), QDate(2002, 3, 4));
}

TEST_F(WeightEntryDlgTest, RefusedTextIsReplacedByTheSteppedPreviousWeight)
{
    MessageBoxRecorder boxes;
    CWeightEntryDlg dlg(m_empty);
    dlg.m_weight = 70.0;
    dlg.InitDialog();
    Weight(dlg)->setText(QStringLiteral("abc"));
    Click(dlg, IDC_WEIGHT_PLUS);
    EXPECT_EQ(Weight(dlg)->text(), QStringLiteral("70.1"));
    Weight(dlg)->setText(QStringLiteral("x"));
    Click(dlg, IDC_WEIGHT_MINUS);
    EXPECT_EQ(Weight(dlg)->text(), QStringLiteral("70"));
    EXPECT_EQ(boxes.Texts(),
        (QStringList{QStringLiteral("数値を入力してください。"), QStringLiteral("数値を入力してください。")}));
}

TEST_F(WeightEntryDlgTest, CommandPresetsTodayAndTheLatestWeight)
{
    CTarelogDoc empty;
    RunCommand(empty, [](CWeightEntryDlg& dlg) {
        EXPECT_EQ(Weight(dlg)->text(), QStringLiteral("0"));
        EXPECT_EQ(Picker(dlg)->date(), QDate::currentDate());
        dlg.close();
    });
    EXPECT_EQ(empty.GetRecordCount(), 0);

    CTarelogDoc doc;
    doc.SetDayWeight(72.4, 2001, 5, 2);
    doc.SetDayWeight(71.0, 2001, 5, 1);
    RunCommand(doc, [](CWeightEntryDlg& dlg) {
        EXPECT_EQ(Weight(dlg)->text(), QStringLiteral("72.4"));
        dlg.close();
    });
}

TEST_F(WeightEntryDlgTest, OkStoresThePickedDayAndWeight)
{
    CTarelogDoc doc;
    doc.SetDayWeight(60.0, 2001, 5, 1);
    doc.SetModifiedFlag(false);
    RunCommand(doc, [](CWeightEntryDlg& dlg) {
        Picker(dlg)->setDate(QDate(2001, 5, 1));
        Weight(dlg)->setText(QStringLiteral("655"));
        Click(dlg, IDC_WEIGHT_TENTH);
        Click(dlg, 1);
    });
    ASSERT_EQ(doc.GetRecordCount(), 1) << "the day's record is replaced, not doubled";
    EXPECT_EQ(doc.GetRecord(0).weight, 655.0 * 0.1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(WeightEntryDlgTest, OkWithTextThatIsNoNumberStaysOpen)
{
    MessageBoxRecorder boxes;
    CTarelogDoc doc;
    RunCommand(doc, [&boxes](CWeightEntryDlg& dlg) {
        Weight(dlg)->setText(QStringLiteral("6５kg"));
        Click(dlg, 1);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(boxes.Texts().size(), 1);
        EXPECT_EQ(dlg.focusWidget(), Weight(dlg));
        Weight(dlg)->setText(QStringLiteral("65"));
        Click(dlg, 1);
    });
    ASSERT_EQ(doc.GetRecordCount(), 1);
    EXPECT_EQ(doc.GetRecord(0).weight, 65.0);
}

TEST_F(WeightEntryDlgTest, OkReadsTheFullWidthFormsOfAnInputMethod)
{
    CTarelogDoc doc;
    RunCommand(doc, [](CWeightEntryDlg& dlg) {
        Weight(dlg)->setText(QStringLiteral("　６５．５　"));
        Click(dlg, 1);
    });
    ASSERT_EQ(doc.GetRecordCount(), 1);
    EXPECT_EQ(doc.GetRecord(0).weight, 65.5);
}

// Typing a weight and pressing Enter records it: the field has the focus
// and its text is selected, so the typing replaces the preset weight.
TEST_F(WeightEntryDlgTest, TypingAWeightAndEnterRecordIt)
{
    CTarelogDoc doc;
    doc.SetDayWeight(60.0, 2001, 5, 1);
    RunCommand(doc, [](CWeightEntryDlg& dlg) {
        dlg.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
        ASSERT_EQ(QApplication::focusWidget(), Weight(dlg));
        EXPECT_EQ(Weight(dlg)->selectedText(), QStringLiteral("60"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("64.2"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    ASSERT_EQ(doc.GetRecordCount(), 2);
    EXPECT_EQ(doc.GetRecord(1).weight, 64.2);
}

// The picker and its calendar name months and weekdays in Japanese, like
// the rest of the window, even when the system speaks another language.
TEST_F(WeightEntryDlgTest, DatePickerIsJapaneseWhateverTheSystemLocale)
{
    const QLocale system;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    CWeightEntryDlg dlg(m_empty);
    QLocale::setDefault(system);
    Picker(dlg)->setDate(QDate(2001, 12, 3));
    EXPECT_EQ(Picker(dlg)->locale().language(), QLocale::Japanese);
    EXPECT_EQ(Picker(dlg)->calendarWidget()->locale().language(), QLocale::Japanese);
    EXPECT_EQ(Picker(dlg)->text(), QStringLiteral("2001/12/03"));
}

TEST_F(WeightEntryDlgTest, CloseBoxChangesNothingAfterSteps)
{
    CTarelogDoc doc;
    doc.SetDayWeight(60.0, 2001, 5, 1);
    doc.SetModifiedFlag(false);
    RunCommand(doc, [](CWeightEntryDlg& dlg) {
        Picker(dlg)->setDate(QDate(2001, 5, 1));
        Click(dlg, IDC_WEIGHT_PLUS);
        Click(dlg, IDC_WEIGHT_TENTH);
        dlg.close();
    });
    ASSERT_EQ(doc.GetRecordCount(), 1);
    EXPECT_EQ(doc.GetRecord(0).weight, 60.0);
    EXPECT_FALSE(doc.IsModified());
}
