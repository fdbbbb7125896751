#include "dialogs/qt/weight_entry_dlg.h"

#include "dialogs/weight_check.h"
#include "platform/qt/data_exchange.h"
#include "platform/qt/message_box.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

CWeightEntryDlg::CWeightEntryDlg(CTarelogDoc& doc, QWidget* parent)
    : CDialog(parent)
    , m_doc(doc)
{
    Preset(doc, CalendarDate::Today());
    SetTemplate(QStringLiteral("体重入力"), 107, 133);

    AddOkButton(83, 0, 24, 14);

    AddStatic(IDC_STATIC, 31, 22, 36, 8, QStringLiteral("体重（Kｇ）"), Qt::AlignRight | Qt::AlignVCenter);

    auto* weight = AddControl<QLineEdit>(IDC_WEIGHT, 67, 20, 39, 12);
    weight->setAlignment(Qt::AlignRight);

    SetupDatePicker(AddControl<QDateEdit>(IDC_ENTRY_DATE, 5, 4, 69, 14));

    const struct {
        int id, x, y, width;
        const char16_t* text;
    } steps[] = {
        {IDC_WEIGHT_TENTH, 44, 33, 61, u"1/10にする"},
        {IDC_WEIGHT_PLUS, 45, 59, 58, u"＋０．１"},
        {IDC_WEIGHT_MINUS, 45, 78, 58, u"－０．１"},
    };
    for (const auto& step : steps) {
        auto* button = AddControl<QPushButton>(step.id, step.x, step.y, step.width, 14);
        button->setText(QString::fromUtf16(step.text));
        button->setAutoDefault(false);
        const int id = step.id;
        connect(button, &QPushButton::clicked, this, [this, id] { OnStep(id); });
    }
}

bool CWeightEntryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Only the first focus moves; the tab order stays the template's.
    auto* weight = GetDlgItem<QLineEdit>(IDC_WEIGHT);
    weight->setFocus(Qt::OtherFocusReason);
    weight->selectAll();
    return false;
}

void CWeightEntryDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_DateTimeCtrl(dx, IDC_ENTRY_DATE, m_date);
    DDX_Text(dx, IDC_WEIGHT, m_weight);
}

void CWeightEntryDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    if (NeedsWeightConfirmation(m_weight, LatestWeightBesides(m_doc))
        && ShowMessageBox(QString::fromStdString(WeightConfirmationText(m_weight, *LatestWeightBesides(m_doc))),
               MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, this)
            != IDYES) {
        auto* weight = GetDlgItem<QLineEdit>(IDC_WEIGHT);
        weight->setFocus(Qt::OtherFocusReason);
        weight->selectAll();
        return;
    }
    Commit(m_doc);
    EndDialog(IDOK);
}

void CWeightEntryDlg::OnStep(int buttonId)
{
    // A refused weight text keeps the previous weight, which is stepped and
    // written over the refused text.
    UpdateData(true);
    Step(buttonId);
    UpdateData(false);
}
