#include "dialog_test_support.h"

#include "dialogs/qt/dialog_commands.h"
#include "dialogs/qt/edit_list_dlg.h"
#include "diary/tarelog_doc.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <cstdint>
#include <utility>

namespace {

// The dialog's controls, found by id as the framework finds them.
QListWidget* List(const CEditListDlg& dlg)
{
    return dlg.GetDlgItem<QListWidget>(IDC_RECORD_LIST);
}
QLineEdit* Weight(const CEditListDlg& dlg)
{
    return dlg.GetDlgItem<QLineEdit>(IDC_LIST_WEIGHT);
}

} // namespace

class EditListDlgTest : public DialogTest {
protected:
    void SetUp() override
    {
        m_doc.SetDayWeight(60.0, 2001, 5, 1);
        m_doc.SetDayWeight(61.26, 2001, 5, 2);
        m_doc.SetDayWeight(62.0, 2001, 5, 3);
        m_doc.SetModifiedFlag(false);
    }
    // The dialog shown and its list filled by the timer.
    void ShowFilled()
    {
        m_dlg.show();
        ASSERT_TRUE(PumpUntil([this] { return !m_dlg.HasTimer(kFillTimerId); }));
    }
    QStringList Lines() const
    {
        QStringList lines;
        for (int i = 0; i < List(m_dlg)->count(); ++i)
            lines << List(m_dlg)->item(i)->text();
        return lines;
    }
    std::vector<int> ItemValues() const
    {
        std::vector<int> values;
        for (int i = 0; i < List(m_dlg)->count(); ++i)
            values.push_back(List(m_dlg)->item(i)->data(Qt::UserRole).toInt());
        return values;
    }
    void Select(int row) { List(m_dlg)->item(row)->setSelected(true); }
    QDateEdit* Picker() { return m_dlg.GetDlgItem<QDateEdit>(IDC_LIST_DATE); }
    void Click(int id) { m_dlg.GetDlgItem<QPushButton>(id)->click(); }

    CTarelogDoc m_doc;
    CEditListDlg m_dlg{m_doc};
};

TEST_F(EditListDlgTest, LayoutFollowsTemplate131)
{
    const TemplateUnits u(m_dlg.font());
    EXPECT_EQ(m_dlg.windowTitle(), QStringLiteral("編集"));
    EXPECT_EQ(m_dlg.size(), QSize(u.X(123), u.Y(141)));
    EXPECT_EQ(List(m_dlg)->geometry(), u.Rect(0, 29, 123, 67));
    EXPECT_EQ(Weight(m_dlg)->geometry(), u.Rect(62, 1, 57, 12));
    EXPECT_EQ(m_dlg.GetDlgItem(IDC_LIST_UPDATE)->geometry(), u.Rect(91, 15, 29, 13));
    EXPECT_EQ(m_dlg.GetDlgItem(IDC_LIST_DELETE)->geometry(), u.Rect(93, 98, 29, 14));
    EXPECT_EQ(m_dlg.GetDlgItem<QPushButton>(IDC_LIST_UPDATE)->text(), QStringLiteral("更新"));
    EXPECT_EQ(m_dlg.GetDlgItem<QPushButton>(IDC_LIST_DELETE)->text(), QStringLiteral("削除"));
    EXPECT_EQ(Weight(m_dlg)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_FALSE(List(m_dlg)->isSortingEnabled());
    EXPECT_TRUE(Picker()->calendarPopup());
    EXPECT_EQ(TabOrder(&m_dlg), (std::vector<int>{1002, 1001, 1000, 1003, 1007}));
}

TEST_F(EditListDlgTest, ListIsFilledOnceByTheTimerAfterShowing)
{
    QElapsedTimer sinceShown;
    sinceShown.start();
    m_dlg.show();
    EXPECT_EQ(List(m_dlg)->count(), 0) << "nothing is listed during initialisation";
    EXPECT_TRUE(m_dlg.HasTimer(kFillTimerId));
    PumpEvents(50);
    // Only meaningful when the machine did not stall past the delay.
    if (sinceShown.elapsed() < kFillDelayMs - 20) {
        EXPECT_EQ(List(m_dlg)->count(), 0) << "not before 150 ms";
    }
    ASSERT_TRUE(PumpUntil([this] { return List(m_dlg)->count() > 0; }));
    EXPECT_EQ(Lines(),
        (QStringList{QStringLiteral(" 2001/05/01   60.0"), QStringLiteral(" 2001/05/02   61.3"),
            QStringLiteral(" 2001/05/03   62.0")}));
    EXPECT_EQ(ItemValues(), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(List(m_dlg)->selectedItems().isEmpty());
    EXPECT_FALSE(m_dlg.HasTimer(kFillTimerId));
}

// Listing and selecting only read: the records' revision stays, so the
// window behind the dialog keeps its paint cache.
TEST_F(EditListDlgTest, SelectionFillsTheFieldsButNotTheRecord)
{
    const std::uint64_t revision = m_doc.Revision();
    ShowFilled();
    Select(1);
    EXPECT_EQ(Weight(m_dlg)->text(), QStringLiteral(" 61.3"));
    EXPECT_EQ(Picker()->date(), QDate(2001, 5, 2));
    EXPECT_EQ(m_doc.Revision(), revision);
    EXPECT_EQ(std::as_const(m_doc).GetRecord(1).weight, 61.26);
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(EditListDlgTest, UpdateStoresTheShownWeightRoundedAndRefills)
{
    ShowFilled();
    Select(1);
    Click(IDC_LIST_UPDATE);
    EXPECT_DOUBLE_EQ(m_doc.GetRecord(1).weight, 61.3);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_TRUE(List(m_dlg)->selectedItems().isEmpty()) << "a refill drops the selection";
    EXPECT_EQ(Weight(m_dlg)->text(), QStringLiteral(" 61.3")) << "the fields keep their contents";
}

TEST_F(EditListDlgTest, ChangedDateMovesTheLine)
{
    ShowFilled();
    Select(0);
    Picker()->setDate(QDate(2001, 5, 4));
    Weight(m_dlg)->setText(QStringLiteral("59.5"));
    Click(IDC_LIST_UPDATE);
    EXPECT_EQ(Lines(),
        (QStringList{QStringLiteral(" 2001/05/02   61.3"), QStringLiteral(" 2001/05/03   62.0"),
            QStringLiteral(" 2001/05/04   59.5")}));
    EXPECT_EQ(ItemValues(), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(m_doc.IsModified());
}

// A typo must not become a weight of 0.0: the entry dialog's message, no
// change, and the field ready to be corrected.
TEST_F(EditListDlgTest, UpdateRefusesAWeightThatIsNoNumber)
{
    MessageBoxRecorder boxes;
    ShowFilled();
    Select(1);
    Picker()->setDate(QDate(2001, 5, 9));
    for (const QString& typo : {QStringLiteral("abc"), QStringLiteral(""), QStringLiteral("ｋｇ６０")}) {
        Weight(m_dlg)->setText(typo);
        Click(IDC_LIST_UPDATE);
        EXPECT_EQ(m_doc.GetRecord(1).weight, 61.26) << typo.toStdString();
        EXPECT_EQ(m_doc.GetRecord(1).day, 2) << "the date is not taken either";
    }
    EXPECT_EQ(boxes.Texts(), QStringList(3, QStringLiteral("数値を入力してください。")));
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_dlg.focusWidget(), Weight(m_dlg));
    EXPECT_EQ(List(m_dlg)->selectedItems().size(), 1) << "the user can correct the text";

    // Text that starts with a number, full-width or not, keeps that number.
    Weight(m_dlg)->setText(QStringLiteral("６１．８ｋｇ"));
    Click(IDC_LIST_UPDATE);
    EXPECT_EQ(m_doc.GetRecord(2).weight, 61.8);
    EXPECT_EQ(m_doc.GetRecord(2).day, 9);
    EXPECT_EQ(boxes.Texts().size(), 3);
}

TEST_F(EditListDlgTest, DateOfAnotherRecordIsRefusedWithAMessage)
{
    MessageBoxRecorder boxes;
    ShowFilled();
    Select(0);
    Picker()->setDate(QDate(2001, 5, 3));
    Weight(m_dlg)->setText(QStringLiteral("70"));
    Click(IDC_LIST_UPDATE);
    EXPECT_EQ(boxes.Texts(), QStringList{QStringLiteral("その日付のデータは既にあります。")});
    EXPECT_EQ(m_doc.GetRecordCount(), 3);
    EXPECT_EQ(m_doc.GetRecord(0).weight, 60.0);
    EXPECT_EQ(m_doc.GetRecord(2).weight, 62.0);
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(List(m_dlg)->selectedItems().size(), 1) << "the user can correct the date";
}

TEST_F(EditListDlgTest, DeleteAsksAndOnlyYesRemoves)
{
    MessageBoxRecorder boxes(IDNO);
    ShowFilled();
    Select(0);
    Click(IDC_LIST_DELETE);
    EXPECT_EQ(boxes.Texts(), QStringList{QStringLiteral("削除しますか")});
    EXPECT_EQ(boxes.Types(), std::vector<unsigned>{MB_YESNO | MB_ICONQUESTION});
    EXPECT_EQ(m_doc.GetRecordCount(), 3);
    EXPECT_FALSE(m_doc.IsModified());

    boxes.Answer(IDYES);
    Click(IDC_LIST_DELETE);
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral(" 2001/05/02   61.3"), QStringLiteral(" 2001/05/03   62.0")}));
    EXPECT_EQ(ItemValues(), (std::vector<int>{0, 1}));
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(EditListDlgTest, ButtonsWithoutSelectionChangeNothing)
{
    MessageBoxRecorder boxes(IDYES);
    ShowFilled();
    Click(IDC_LIST_DELETE);
    Click(IDC_LIST_UPDATE);
    EXPECT_TRUE(boxes.Texts().isEmpty());
    EXPECT_EQ(m_doc.GetRecordCount(), 3);
    EXPECT_FALSE(m_doc.IsModified());

    CTarelogDoc empty;
    CEditListDlg dlg(empty);
    dlg.show();
    ASSERT_TRUE(PumpUntil([&dlg] { return !dlg.HasTimer(kFillTimerId); }));
    EXPECT_EQ(List(dlg)->count(), 0);
    dlg.GetDlgItem<QPushButton>(IDC_LIST_UPDATE)->click();
    EXPECT_EQ(empty.GetRecordCount(), 0);
}

TEST(EditListCommand, ClosingKeepsTheChanges)
{
    EnsureApplication();
    MessageBoxRecorder boxes(IDYES);
    CTarelogDoc doc;
    doc.SetDayWeight(60.0, 2001, 5, 1);
    doc.SetDayWeight(61.0, 2001, 5, 2);
    doc.SetModifiedFlag(false);
    DriveModal<CEditListDlg>([&doc] { RunEditListCommand(doc, nullptr); },
        [](CEditListDlg& dlg) {
        ASSERT_TRUE(PumpUntil([&dlg] { return List(dlg)->count() == 2; }));
        List(dlg)->item(1)->setSelected(true);
        dlg.GetDlgItem<QPushButton>(IDC_LIST_DELETE)->click();
        dlg.close();
    });
    EXPECT_EQ(doc.GetRecordCount(), 1);
    EXPECT_TRUE(doc.IsModified());
}
