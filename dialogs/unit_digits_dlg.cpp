#include "dialogs/unit_digits_dlg.h"

#include "platform/qt/data_exchange.h"

#include <QLineEdit>
#include <QPushButton>

CUnitDigitsDlg::CUnitDigitsDlg(QWidget* parent)
    : CDialog(parent)
{
    SetTemplate(QStringLiteral("単位、少数桁"), 114, 107);

    AddOkButton(64, 4, 50, 14);
    auto* cancel = AddControl<QPushButton>(2, 64, 21, 50, 14);
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
    label(IDC_STATIC, 9, 57, 29, 10, QStringLiteral("少数桁："), Qt::AlignRight);
    edit(IDC_DIGITS, 55);
    label(1009, 9, 71, 29, 10, QStringLiteral("日付："), Qt::AlignRight);
    edit(IDC_DATE_STYLE, 69);
    label(IDC_STATIC, 61, 73, 53, 8, QStringLiteral("1,2,3"), Qt::AlignLeft);
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
