#include "dialogs/qt/goal_dlg.h"

#include "platform/qt/data_exchange.h"
#include "platform/qt/message_box.h"

#include <QLineEdit>
#include <QPushButton>

CGoalDlg::CGoalDlg(std::optional<double> goal, QWidget* parent)
    : CDialog(parent)
    , m_goal(goal)
{
    Load(goal);
    SetTemplate(QStringLiteral("目標体重"), 118, 54);

    AddStatic(IDC_STATIC, 4, 8, 34, 10, QStringLiteral("目標体重："), Qt::AlignRight | Qt::AlignVCenter);
    auto* field = AddControl<QLineEdit>(IDC_GOAL, 40, 6, 30, 13);
    field->setAlignment(Qt::AlignRight);
    AddStatic(IDC_STATIC, 4, 24, 110, 10, QStringLiteral("空欄にすると目標なし"), Qt::AlignLeft | Qt::AlignVCenter);

    AddOkButton(76, 4, 38, 14);
    auto* cancel = AddControl<QPushButton>(IDCANCEL, 76, 36, 38, 14);
    cancel->setText(QStringLiteral("キャンセル"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, [this] { OnCancel(); });
}

bool CGoalDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    auto* field = GetDlgItem<QLineEdit>(IDC_GOAL);
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
}

void CGoalDlg::DoDataExchange(CDataExchange& dx)
{
    std::u16string text = QString::fromStdString(m_goalText).toStdU16String();
    DDX_Text(dx, IDC_GOAL, text);
    m_goalText = NumberText(QString::fromStdU16String(text)).toStdString();
}

void CGoalDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    std::optional<double> goal;
    if (!Read(goal)) {
        ShowMessageBox(NotANumberMessage(), MB_OK | MB_ICONWARNING, this);
        auto* field = GetDlgItem<QLineEdit>(IDC_GOAL);
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
        return;
    }
    m_goal = goal;
    EndDialog(IDOK);
}
