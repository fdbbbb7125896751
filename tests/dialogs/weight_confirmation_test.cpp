// A weight far from the latest one (6530 typed for 65.3) is recorded only
// after the user says yes; the default answer records nothing.
#include "dialog_test_support.h"

#include "dialogs/qt/dialog_commands.h"
#include "dialogs/qt/edit_list_dlg.h"
#include "dialogs/qt/weight_entry_dlg.h"
#include "dialogs/weight_check.h"
#include "diary/tarelog_doc.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

constexpr unsigned kQuestion = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;

TEST(WeightCheck, AsksBeyondTwentyPercentOfTheLatestWeight)
{
    EXPECT_TRUE(NeedsWeightConfirmation(6530.0, 65.3));
    EXPECT_TRUE(NeedsWeightConfirmation(6.53, 65.3));
    EXPECT_FALSE(NeedsWeightConfirmation(78.0, 65.0)) << "exactly 20% is still believable";
    EXPECT_TRUE(NeedsWeightConfirmation(78.01, 65.0));
    EXPECT_FALSE(NeedsWeightConfirmation(52.0, 65.0));
    EXPECT_TRUE(NeedsWeightConfirmation(51.9, 65.0));
    EXPECT_FALSE(NeedsWeightConfirmation(6530.0, std::nullopt)) << "a first weight is taken as it comes";
    EXPECT_FALSE(NeedsWeightConfirmation(65.0, 0.0));
}

TEST(WeightCheck, TheListEditorComparesWithTheLatestOtherRecord)
{
    CTarelogDoc doc;
    EXPECT_FALSE(LatestWeightBesides(doc));
    doc.SetDayWeight(64.0, 2001, 5, 1);
    EXPECT_EQ(LatestWeightBesides(doc), 64.0);
    EXPECT_FALSE(LatestWeightBesides(doc, 0)) << "correcting the only record";
    doc.SetDayWeight(6530.0, 2001, 5, 2);
    EXPECT_EQ(LatestWeightBesides(doc, 1), 64.0) << "correcting the slip itself";
    EXPECT_EQ(LatestWeightBesides(doc, 0), 6530.0);
}

class WeightConfirmationTest : public DialogTest {
protected:
    void SetUp() override
    {
        m_doc.SetDayWeight(65.3, 2001, 5, 1);
        m_doc.SetModifiedFlag(false);
    }
    void Enter(const QString& text)
    {
        DriveModal<CWeightEntryDlg>([this] { RunWeightEntryCommand(m_doc, nullptr); },
            [this, text](CWeightEntryDlg& dlg) {
            dlg.GetDlgItem<QDateEdit>(IDC_ENTRY_DATE)->setDate(QDate(2001, 5, 2));
            dlg.GetDlgItem<QLineEdit>(IDC_WEIGHT)->setText(text);
            dlg.GetDlgItem<QPushButton>(1)->click();
            m_stayedOpen = dlg.isVisible();
            if (m_stayedOpen)
                dlg.reject();
        });
    }
    CTarelogDoc m_doc;
    bool m_stayedOpen = false;
};

TEST_F(WeightConfirmationTest, EntryDialogRecordsASlipOnlyOnYes)
{
    MessageBoxRecorder boxes(IDNO);
    Enter(QStringLiteral("6530"));
    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_EQ(boxes.Types(), std::vector<unsigned>{kQuestion}) << "No is the default button";
    EXPECT_TRUE(boxes.Texts()[0].contains(QStringLiteral("6530")));
    EXPECT_TRUE(boxes.Texts()[0].contains(QStringLiteral("65.3")));
    EXPECT_TRUE(m_stayedOpen) << "the user can correct the weight";
    EXPECT_EQ(m_doc.GetRecordCount(), 1);
    EXPECT_FALSE(m_doc.IsModified());

    boxes.Answer(IDYES);
    Enter(QStringLiteral("6530"));
    EXPECT_FALSE(m_stayedOpen);
    ASSERT_EQ(m_doc.GetRecordCount(), 2);
    EXPECT_EQ(m_doc.GetRecord(1).weight, 6530.0);
}

TEST_F(WeightConfirmationTest, EntryDialogAsksNothingForABelievableWeight)
{
    MessageBoxRecorder boxes(IDNO);
    Enter(QStringLiteral("64.8"));
    EXPECT_TRUE(boxes.Texts().isEmpty());
    ASSERT_EQ(m_doc.GetRecordCount(), 2);
    EXPECT_EQ(m_doc.GetRecord(1).weight, 64.8);
}

TEST_F(WeightConfirmationTest, ListEditorUpdatesASlipOnlyOnYes)
{
    m_doc.SetDayWeight(65.0, 2001, 5, 2);
    m_doc.SetModifiedFlag(false);
    CEditListDlg dlg(m_doc);
    dlg.show();
    ASSERT_TRUE(PumpUntil([&dlg] { return !dlg.HasTimer(kFillTimerId); }));
    MessageBoxRecorder boxes(IDNO);
    dlg.GetDlgItem<QListWidget>(IDC_RECORD_LIST)->item(0)->setSelected(true);
    dlg.GetDlgItem<QLineEdit>(IDC_LIST_WEIGHT)->setText(QStringLiteral("653"));
    dlg.GetDlgItem<QPushButton>(IDC_LIST_UPDATE)->click();
    EXPECT_EQ(boxes.Types(), std::vector<unsigned>{kQuestion});
    EXPECT_EQ(m_doc.GetRecord(0).weight, 65.3);
    EXPECT_FALSE(m_doc.IsModified());

    boxes.Answer(IDYES);
    dlg.GetDlgItem<QPushButton>(IDC_LIST_UPDATE)->click();
    EXPECT_EQ(m_doc.GetRecord(0).weight, 653.0);

    // Correcting the slip back compares with the other record, and asks nothing.
    dlg.GetDlgItem<QListWidget>(IDC_RECORD_LIST)->item(0)->setSelected(true);
    dlg.GetDlgItem<QLineEdit>(IDC_LIST_WEIGHT)->setText(QStringLiteral("65.3"));
    dlg.GetDlgItem<QPushButton>(IDC_LIST_UPDATE)->click();
    EXPECT_EQ(boxes.Texts().size(), 2);
    EXPECT_EQ(m_doc.GetRecord(0).weight, 65.3);
}

} // namespace
