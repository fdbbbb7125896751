#include "dialog_test_support.h"

#include "platform/qt/data_exchange.h"
#include "platform/qt/dialog.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QTimer>

namespace {

// A dialog with one field of every exchanged kind, checked like the real
// dialogs check theirs.
class ExchangeDlg : public CDialog {
public:
    ExchangeDlg()
    {
        SetTemplate(QStringLiteral("test"), 100, 80);
        AddControl<QLineEdit>(10, 4, 4, 40, 12);
        AddControl<QLineEdit>(11, 4, 20, 40, 12);
        AddControl<QLineEdit>(12, 4, 36, 40, 12);
        AddControl<QDateEdit>(13, 50, 4, 40, 12);
        AddControl<QLineEdit>(14, 50, 20, 40, 12);
    }
    QLineEdit* Edit(int id) const { return GetDlgItem<QLineEdit>(id); }

    int m_count = 0;
    double m_value = 0.0;
    std::u16string m_text;
    CalendarDate m_day = CalendarDate::FromYmd(2000, 1, 1);
    int m_after = 0;
    std::vector<int> m_timerIds;

protected:
    void DoDataExchange(CDataExchange& dx) override
    {
        DDX_Text(dx, 10, m_count);
        DDV_MinMaxInt(dx, m_count, 0, 5);
        DDX_Text(dx, 11, m_value);
        DDX_Text(dx, 12, m_text);
        DDV_MaxChars(dx, m_text, 4);
        DDX_DateTimeCtrl(dx, 13, m_day);
        DDX_Text(dx, 14, m_after);
    }
    void OnTimer(int id) override
    {
        m_timerIds.push_back(id);
        KillTimer(id);
    }
};

} // namespace

class DialogBaseTest : public DialogTest {};

TEST_F(DialogBaseTest, TemplateUnitsScaleWithTheDialogFont)
{
    ExchangeDlg dlg;
    const TemplateUnits units(dlg.font());
    EXPECT_GT(units.baseX, 2);
    EXPECT_GT(units.baseY, units.baseX);
    EXPECT_EQ(dlg.DialogBaseUnits(), QSize(units.baseX, units.baseY));
    EXPECT_EQ(dlg.size(), QSize(units.X(100), units.Y(80)));
    EXPECT_EQ(dlg.GetDlgItem(14)->geometry(), units.Rect(50, 20, 40, 12));
    EXPECT_EQ(dlg.font().pointSize(), 9);
}

TEST_F(DialogBaseTest, DoModalReturnsTheEndCode)
{
    ExchangeDlg dlg;
    QTimer::singleShot(0, &dlg, [&dlg] { dlg.EndDialog(7); });
    EXPECT_EQ(dlg.DoModal(), 7);

    ExchangeDlg closed;
    QTimer::singleShot(0, &closed, [&closed] { closed.close(); });
    EXPECT_EQ(closed.DoModal(), 2) << "the close box cancels";
}

TEST_F(DialogBaseTest, OkClosesOnlyWhenTheExchangeSucceeds)
{
    MessageBoxRecorder boxes;
    ExchangeDlg dlg;
    int result = -1;
    QTimer::singleShot(0, &dlg, [&dlg] {
        dlg.Edit(10)->setText(QStringLiteral("9"));
        dlg.accept();
        EXPECT_TRUE(dlg.isVisible()) << "a refused value keeps the dialog open";
        dlg.Edit(10)->setText(QStringLiteral("5"));
        dlg.accept();
    });
    result = dlg.DoModal();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(boxes.Texts(), QStringList{QStringLiteral("0 から 5 までの整数を入力してください。")});
    EXPECT_EQ(dlg.m_count, 5);
}

TEST_F(DialogBaseTest, WritingFillsEveryControl)
{
    ExchangeDlg dlg;
    dlg.m_count = -3;
    dlg.m_value = 65.5 * 0.1;
    dlg.m_text = u"ｋｇ";
    dlg.m_day = CalendarDate::FromYmd(2001, 5, 3);
    dlg.m_after = 42;
    ASSERT_TRUE(dlg.UpdateData(false));
    EXPECT_EQ(dlg.Edit(10)->text(), QStringLiteral("-3"));
    EXPECT_EQ(dlg.Edit(11)->text(), QStringLiteral("6.55"));
    EXPECT_EQ(dlg.Edit(12)->text(), QStringLiteral("ｋｇ"));
    EXPECT_EQ(dlg.GetDlgItem<QDateEdit>(13)->date(), QDate(2001, 5, 3));
    EXPECT_EQ(dlg.Edit(14)->text(), QStringLiteral("42"));
}

TEST_F(DialogBaseTest, ReadingTakesEveryControl)
{
    MessageBoxRecorder boxes;
    ExchangeDlg dlg;
    dlg.Edit(10)->setText(QStringLiteral(" +4 "));
    dlg.Edit(11)->setText(QStringLiteral("-1.25e1"));
    dlg.Edit(12)->setText(QStringLiteral("abcd"));
    dlg.GetDlgItem<QDateEdit>(13)->setDate(QDate(2004, 2, 29));
    dlg.Edit(14)->setText(QStringLiteral("7"));
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.m_count, 4);
    EXPECT_EQ(dlg.m_value, -12.5);
    EXPECT_EQ(dlg.m_text, u"abcd");
    EXPECT_EQ(dlg.m_day, CalendarDate::FromYmd(2004, 2, 29));
    EXPECT_EQ(dlg.m_after, 7);
    EXPECT_TRUE(boxes.Texts().isEmpty());
}

TEST_F(DialogBaseTest, FirstFailureTellsOnceFocusesAndSkipsTheRest)
{
    struct Row {
        int id;
        QString text;
        QString message;
    };
    const Row rows[] = {
        {10, QStringLiteral("abc"), QStringLiteral("整数を入力してください。")},
        {10, QStringLiteral(""), QStringLiteral("整数を入力してください。")},
        {10, QStringLiteral("1.5"), QStringLiteral("整数を入力してください。")},
        {10, QStringLiteral("99999999999"), QStringLiteral("整数を入力してください。")},
        {10, QStringLiteral("-1"), QStringLiteral("0 から 5 までの整数を入力してください。")},
        {11, QStringLiteral("65,5"), QStringLiteral("数値を入力してください。")},
        {11, QStringLiteral("nan"), QStringLiteral("数値を入力してください。")},
        {11, QStringLiteral("inf"), QStringLiteral("数値を入力してください。")},
        {12, QStringLiteral("abcde"), QStringLiteral("4 文字以内で入力してください。")},
    };
    for (const Row& row : rows) {
        MessageBoxRecorder boxes;
        ExchangeDlg dlg;
        dlg.m_after = 1;
        dlg.UpdateData(false);
        dlg.Edit(row.id)->setText(row.text);
        dlg.Edit(14)->setText(QStringLiteral("8"));
        EXPECT_FALSE(dlg.UpdateData(true)) << row.text.toStdString();
        EXPECT_EQ(boxes.Texts(), QStringList{row.message}) << row.text.toStdString();
        EXPECT_EQ(dlg.focusWidget(), dlg.Edit(row.id)) << row.text.toStdString();
        EXPECT_EQ(dlg.m_after, 1) << "fields after the failed one are not read";
    }
}

TEST_F(DialogBaseTest, RefusedNumbersKeepTheMember)
{
    MessageBoxRecorder boxes;
    ExchangeDlg dlg;
    dlg.m_value = 70.0;
    dlg.UpdateData(false);
    dlg.Edit(11)->setText(QStringLiteral("seventy"));
    dlg.UpdateData(true);
    EXPECT_EQ(dlg.m_value, 70.0);
}

TEST_F(DialogBaseTest, TimersReportTheCallersId)
{
    ExchangeDlg dlg;
    dlg.SetTimer(197, 10);
    EXPECT_TRUE(dlg.HasTimer(197));
    ASSERT_TRUE(PumpUntil([&dlg] { return !dlg.m_timerIds.empty(); }));
    EXPECT_EQ(dlg.m_timerIds, std::vector<int>{197});
    EXPECT_FALSE(dlg.HasTimer(197));
}

// What a Japanese input method types in full-width mode reads as the
// same number typed in ASCII.
TEST(DataExchangeText, FullWidthNumbersReadAsTheirAsciiForms)
{
    const struct {
        const char16_t* text;
        double value;
    } doubles[] = {
        {u"６５．５", 65.5},
        {u"　６５．５　", 65.5},
        {u"6５.5", 65.5},
        {u"－０．１", -0.1},
        {u"−３", -3.0},
        {u"＋５", 5.0},
        {u" 64.2 ", 64.2},
    };
    for (const auto& row : doubles) {
        double value = 0.0;
        EXPECT_TRUE(ParseDoubleText(QString::fromUtf16(row.text), value)) << QString::fromUtf16(row.text).toStdString();
        EXPECT_EQ(value, row.value) << QString::fromUtf16(row.text).toStdString();
    }
    const struct {
        const char16_t* text;
        int value;
    } ints[] = {{u"３", 3}, {u"－２", -2}, {u"　１２　", 12}};
    for (const auto& row : ints) {
        int value = 0;
        EXPECT_TRUE(ParseIntText(QString::fromUtf16(row.text), value)) << QString::fromUtf16(row.text).toStdString();
        EXPECT_EQ(value, row.value);
    }
    // Folding makes no number out of what is none.
    for (const char16_t* refused : {u"６５ｋｇ", u"", u"　", u"６５。５", u"ー１"}) {
        double value = 7.0;
        EXPECT_FALSE(ParseDoubleText(QString::fromUtf16(refused), value)) << QString::fromUtf16(refused).toStdString();
        EXPECT_EQ(value, 7.0);
    }
    int whole = 7;
    EXPECT_FALSE(ParseIntText(QStringLiteral("２．５"), whole));
    EXPECT_EQ(whole, 7);
}

TEST(DataExchangeText, DoublesShowUpToFifteenDigits)
{
    EXPECT_EQ(DoubleText(0.0), QStringLiteral("0"));
    EXPECT_EQ(DoubleText(655.0 * 0.1), QStringLiteral("65.5"));
    EXPECT_EQ(DoubleText(65.3 + 0.1), QStringLiteral("65.4"));
    EXPECT_EQ(DoubleText(-0.1), QStringLiteral("-0.1"));
}
