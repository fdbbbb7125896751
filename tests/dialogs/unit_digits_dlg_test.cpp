#include "dialog_test_support.h"

#include "dialogs/qt/dialog_commands.h"
#include "dialogs/qt/unit_digits_dlg.h"
#include "diary/tarelog_doc.h"
#include "platform/memory_profile_store.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class UnitDigitsDlgTest : public DialogTest {
protected:
    void SetUp() override
    {
        m_doc.m_unit = u"kg";
        m_doc.m_digits = 1;
        m_doc.SetModifiedFlag(false);
    }
    static QLineEdit* Edit(CUnitDigitsDlg& dlg, int id) { return dlg.GetDlgItem<QLineEdit>(id); }

    // Opens the command's dialog, types `digits`, `unit` and `style`
    // (null leaves a field as shown) and presses OK; returns what the
    // dialog said, with `open` telling whether it stayed open.
    QStringList RunWith(const char16_t* digits, const char16_t* unit, const char16_t* style, bool* open = nullptr)
    {
        MessageBoxRecorder boxes;
        DriveModal<CUnitDigitsDlg>([this] { RunUnitDigitsCommand(m_doc, m_profile, nullptr); },
            [&](CUnitDigitsDlg& dlg) {
            if (digits)
                Edit(dlg, IDC_DIGITS)->setText(QString::fromUtf16(digits));
            if (unit)
                Edit(dlg, IDC_UNIT)->setText(QString::fromUtf16(unit));
            if (style)
                Edit(dlg, IDC_DATE_STYLE)->setText(QString::fromUtf16(style));
            dlg.GetDlgItem<QPushButton>(1)->click();
            if (open)
                *open = dlg.isVisible();
            if (dlg.isVisible())
                dlg.close();
        });
        return boxes.Texts();
    }

    CTarelogDoc m_doc;
    MemoryProfileStore m_profile;
};

TEST_F(UnitDigitsDlgTest, LayoutFollowsTemplate132)
{
    CUnitDigitsDlg dlg(m_doc, m_profile);
    const TemplateUnits u(dlg.font());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("単位、少数桁"));
    EXPECT_EQ(dlg.size(), QSize(u.X(114), u.Y(107)));
    EXPECT_EQ(dlg.GetDlgItem(2)->geometry(), u.Rect(64, 21, 50, 14));
    EXPECT_EQ(dlg.GetDlgItem<QPushButton>(2)->text(), QStringLiteral("キャンセル"));
    // The unit field starts at its template place and may only grow.
    const QRect unit = Edit(dlg, IDC_UNIT)->geometry();
    EXPECT_EQ(unit.topLeft(), u.Rect(43, 40, 16, 13).topLeft());
    EXPECT_EQ(unit.height(), u.Y(13));
    EXPECT_GE(unit.width(), u.X(16));
    EXPECT_LE(unit.right(), dlg.width());
    EXPECT_EQ(Edit(dlg, IDC_DATE_STYLE)->geometry(), u.Rect(43, 69, 16, 13));
    EXPECT_EQ(dlg.GetDlgItem<QLabel>(1009)->text(), QStringLiteral("日付："));
    EXPECT_EQ(dlg.GetDlgItem(1009)->geometry(), u.Rect(9, 71, 29, 10));
    EXPECT_TRUE(dlg.GetDlgItem<QPushButton>(1)->isDefault());
    EXPECT_EQ(TabOrder(&dlg), (std::vector<int>{1, 2, 1008, 1005, 1006}));
}

TEST_F(UnitDigitsDlgTest, UnitFieldRefusesAFifthCharacter)
{
    CUnitDigitsDlg dlg(m_doc, m_profile);
    QLineEdit* unit = Edit(dlg, IDC_UNIT);
    unit->setText(QStringLiteral("ｋｇ"));
    unit->end(false);
    unit->insert(QStringLiteral("abc"));
    EXPECT_EQ(unit->text(), QStringLiteral("ｋｇab"));
}

// Four characters, full-width ones included, show whole: the field does not
// scroll the start of the unit out of sight.
TEST_F(UnitDigitsDlgTest, UnitFieldShowsAllFourCharacters)
{
    CUnitDigitsDlg dlg(m_doc, m_profile);
    dlg.show();
    QLineEdit* unit = Edit(dlg, IDC_UNIT);
    for (const QString& text : {QStringLiteral("ｋｇｋｇ"), QStringLiteral("ポンド"), QStringLiteral("WWWW")}) {
        unit->setText(text);
        unit->setCursorPosition(text.size());
        const QRect end = unit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int start = end.center().x() - unit->fontMetrics().horizontalAdvance(text);
        EXPECT_LE(end.right(), unit->contentsRect().right()) << text.toStdString();
        EXPECT_GE(start, unit->contentsRect().left()) << text.toStdString();
    }
}

TEST_F(UnitDigitsDlgTest, LongerUnitIsStillRefusedOnOk)
{
    MessageBoxRecorder boxes;
    CUnitDigitsDlg dlg(m_doc, m_profile);
    dlg.InitDialog();
    Edit(dlg, IDC_UNIT)->setMaxLength(32767); // as if typed past the field's limit
    Edit(dlg, IDC_UNIT)->setText(QStringLiteral("abcde"));
    Edit(dlg, IDC_DATE_STYLE)->setText(QStringLiteral("1"));
    EXPECT_FALSE(dlg.UpdateData(true));
    EXPECT_EQ(boxes.Texts(), QStringList{QStringLiteral("4 文字以内で入力してください。")});
    EXPECT_EQ(dlg.focusWidget(), Edit(dlg, IDC_UNIT));
}

TEST_F(UnitDigitsDlgTest, DialogShowsTheDocumentAndStyleOne)
{
    DriveModal<CUnitDigitsDlg>([this] { RunUnitDigitsCommand(m_doc, m_profile, nullptr); },
        [](CUnitDigitsDlg& dlg) {
        EXPECT_EQ(Edit(dlg, IDC_UNIT)->text(), QStringLiteral("kg"));
        EXPECT_EQ(Edit(dlg, IDC_DIGITS)->text(), QStringLiteral("1"));
        EXPECT_EQ(Edit(dlg, IDC_DATE_STYLE)->text(), QStringLiteral("1"));
        dlg.GetDlgItem<QPushButton>(2)->click();
    });
    EXPECT_FALSE(m_profile.Contains("SHOW", "X")) << "cancel writes nothing";
}

TEST_F(UnitDigitsDlgTest, DigitsBounds)
{
    bool open = true;
    EXPECT_TRUE(RunWith(u"0", nullptr, nullptr, &open).isEmpty());
    EXPECT_FALSE(open);
    EXPECT_EQ(m_doc.m_digits, 0);
    EXPECT_TRUE(RunWith(u"5", nullptr, nullptr, &open).isEmpty());
    EXPECT_EQ(m_doc.m_digits, 5);
    EXPECT_EQ(RunWith(u"6", nullptr, nullptr, &open),
        QStringList{QStringLiteral("0 から 5 までの整数を入力してください。")});
    EXPECT_TRUE(open);
    EXPECT_EQ(RunWith(u"two", nullptr, nullptr, &open), QStringList{QStringLiteral("整数を入力してください。")});
    EXPECT_TRUE(open);
    EXPECT_EQ(m_doc.m_digits, 5) << "refused and then closed: unchanged";
}

TEST_F(UnitDigitsDlgTest, StyleBounds)
{
    bool open = true;
    EXPECT_TRUE(RunWith(nullptr, nullptr, u"3", &open).isEmpty());
    EXPECT_EQ(m_profile.GetProfileInt("SHOW", "X", 0), 3);
    EXPECT_TRUE(RunWith(nullptr, nullptr, u"1", &open).isEmpty());
    EXPECT_EQ(m_profile.GetProfileInt("SHOW", "X", 0), 1);
    EXPECT_EQ(RunWith(nullptr, nullptr, u"0", &open),
        QStringList{QStringLiteral("1 から 3 までの整数を入力してください。")});
    EXPECT_TRUE(open);
    EXPECT_EQ(m_profile.GetProfileInt("SHOW", "X", 0), 1);
    EXPECT_FALSE(m_doc.IsModified()) << "the style is no part of the document";
}

TEST_F(UnitDigitsDlgTest, DigitsAndStyleReadTheFullWidthFormsOfAnInputMethod)
{
    bool open = true;
    EXPECT_TRUE(RunWith(u"　４", nullptr, u"３　", &open).isEmpty());
    EXPECT_FALSE(open);
    EXPECT_EQ(m_doc.m_digits, 4);
    EXPECT_EQ(m_profile.GetProfileInt("SHOW", "X", 0), 3);
    // Folded first, then checked against the bounds like any other digit.
    EXPECT_EQ(RunWith(u"６", nullptr, nullptr, &open),
        QStringList{QStringLiteral("0 から 5 までの整数を入力してください。")});
    EXPECT_TRUE(open);
}

TEST_F(UnitDigitsDlgTest, OkHandsTheFieldsToTheDocumentRules)
{
    EXPECT_TRUE(RunWith(nullptr, nullptr, nullptr).isEmpty());
    EXPECT_FALSE(m_doc.IsModified()) << "OK without change";
    EXPECT_EQ(m_profile.WriteCount(), 1);
    EXPECT_TRUE(RunWith(nullptr, u"KG", nullptr).isEmpty());
    EXPECT_TRUE(m_doc.IsModified()) << "a case-only change counts";
    EXPECT_EQ(m_doc.m_unit, u"KG");
    EXPECT_TRUE(RunWith(nullptr, u"", nullptr).isEmpty());
    EXPECT_EQ(m_doc.m_unit, u"") << "an empty unit is accepted";
}
