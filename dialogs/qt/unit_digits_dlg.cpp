#include "dialogs/qt/unit_digits_dlg.h"

#include "platform/qt/data_exchange.h"
#include "platform/qt/message_box.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>

CUnitDigitsDlg::CUnitDigitsDlg(CTarelogDoc& doc, ProfileStore& profile, QWidget* parent)
    : CDialog(parent)
    , m_doc(doc)
    , m_profile(profile)
{
    Load(doc, profile);
    SetTemplate(QStringLiteral("単位、少数桁"), 114, 107);

    AddOkButton(64, 4, 50, 14);
    auto* cancel = AddControl<QPushButton>(IDCANCEL, 64, 21, 50, 14);
    cancel->setText(QStringLiteral("キャンセル"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, [this] { OnCancel(); });

    auto label = [this](int id, int x, int y, int width, int height, const QString& text, Qt::Alignment align) {
        AddStatic(id, x, y, width, height, text, align | Qt::AlignTop);
    };
    auto edit = [this](int id, int y) { AddControl<QLineEdit>(id, 43, y, 16, 13); };

    label(IDC_STATIC, 19, 41, 19, 10, QStringLiteral("単位："), Qt::AlignRight);
    edit(IDC_UNIT, 40);
    GetDlgItem<QLineEdit>(IDC_UNIT)->setMaxLength(kMaxUnitChars);
    WidenUnitField();
    label(IDC_STATIC, 9, 57, 29, 10, QStringLiteral("少数桁："), Qt::AlignRight);
    edit(IDC_DIGITS, 55);
    label(1009, 9, 71, 29, 10, QStringLiteral("日付："), Qt::AlignRight);
    edit(IDC_DATE_STYLE, 69);
    label(IDC_STATIC, 61, 73, 53, 8, QStringLiteral("1,2,3"), Qt::AlignLeft);
}

void CUnitDigitsDlg::WidenUnitField()
{
    // The template's 16 units hold two Latin letters; the unit may be four
    // full-width characters ("ｋｇｋｇ", "ポンド"). The row is free to the
    // right, so the field grows that way until all four show.
    auto* unit = GetDlgItem<QLineEdit>(IDC_UNIT);
    const QFontMetrics metrics = unit->fontMetrics();
    // What the field spends on its frame and margins, as its size hint counts them.
    const int chrome = unit->sizeHint().width() - 17 * metrics.horizontalAdvance(QLatin1Char('x'));
    // A few pixels more for the text cursor after the last character.
    constexpr int kCursor = 4;
    const int needed = metrics.horizontalAdvance(QString(kMaxUnitChars, QChar(0x6F22))) + chrome + kCursor;
    if (needed > unit->width())
        unit->resize(needed, unit->height());
}

void CUnitDigitsDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_DIGITS, m_digits);
    DDV_MinMaxInt(dx, m_digits, kMinDigits, kMaxDigits);
    DDX_Text(dx, IDC_UNIT, m_unit);
    DDV_MaxChars(dx, m_unit, kMaxUnitChars);
    DDX_Text(dx, IDC_DATE_STYLE, m_dateStyle);
    DDV_MinMaxInt(dx, m_dateStyle, kMinDateStyle, kMaxDateStyle);
}

void CUnitDigitsDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    Apply(m_doc, m_profile);
    EndDialog(IDOK);
}
