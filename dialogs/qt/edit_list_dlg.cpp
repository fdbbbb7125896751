#include "dialogs/qt/edit_list_dlg.h"

#include "dialogs/edit_list_logic.h"
#include "dialogs/weight_check.h"
#include "diary/tarelog_doc.h"
#include "platform/format.h"
#include "platform/qt/data_exchange.h"
#include "platform/qt/message_box.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <utility>

CEditListDlg::CEditListDlg(CTarelogDoc& doc, QWidget* parent)
    : CDialog(parent)
    , m_doc(doc)
{
    SetTemplate(QStringLiteral("編集"), 123, 141);

    m_list = AddControl<QListWidget>(IDC_RECORD_LIST, 0, 29, 123, 67);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(false);
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] { OnSelChangeList(); });

    SetupDatePicker(AddControl<QDateEdit>(IDC_LIST_DATE, 0, 0, 61, 14));
    m_edit = AddControl<QLineEdit>(IDC_LIST_WEIGHT, 62, 1, 57, 12);
    m_edit->setAlignment(Qt::AlignRight);

    auto* update = AddControl<QPushButton>(IDC_LIST_UPDATE, 91, 15, 29, 13);
    update->setText(QStringLiteral("更新"));
    update->setAutoDefault(false);
    connect(update, &QPushButton::clicked, this, [this] { OnUpdate(); });
    auto* remove = AddControl<QPushButton>(IDC_LIST_DELETE, 93, 98, 29, 14);
    remove->setText(QStringLiteral("削除"));
    remove->setAutoDefault(false);
    connect(remove, &QPushButton::clicked, this, [this] { OnDelete(); });
}

bool CEditListDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Filling a long list before the dialog shows would keep it from
    // appearing; the timer lets it paint first.
    SetTimer(kFillTimerId, kFillDelayMs);
    return true;
}

void CEditListDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_DateTimeCtrl(dx, IDC_LIST_DATE, m_date);
}

void CEditListDlg::OnTimer(int id)
{
    KillTimer(id);
    FillList();
}

void CEditListDlg::FillList()
{
    // Clearing and refilling must not look like a selection by the user.
    const QSignalBlocker block(m_list);
    m_list->clear();
    for (int i = 0; i < m_doc.GetRecordCount(); ++i) {
        auto* line = new QListWidgetItem(QString::fromStdString(EditListLineText(std::as_const(m_doc).GetRecord(i))),
            m_list);
        line->setData(Qt::UserRole, i);
    }
    m_list->setCurrentRow(-1);
}

int CEditListDlg::SelectedRecord() const
{
    const QList<QListWidgetItem*> lines = m_list->selectedItems();
    return lines.isEmpty() ? -1 : lines.front()->data(Qt::UserRole).toInt();
}

void CEditListDlg::OnSelChangeList()
{
    const int i = SelectedRecord();
    if (i < 0)
        return;
    const WeightRecord& record = std::as_const(m_doc).GetRecord(i);
    m_edit->setText(QString::fromStdString(EditListWeightText(record.weight)));
    m_date = CalendarDate::FromYmd(record.year, record.month, record.day);
    UpdateData(false);
}

void CEditListDlg::OnUpdate()
{
    const int i = SelectedRecord();
    if (i >= 0) {
        UpdateData(true);
        const std::string text = NumberText(m_edit->text()).toStdString();
        double weight = 0.0;
        const std::optional<double> latest = LatestWeightBesides(m_doc, i);
        if (ReadLeadingDouble(text, weight) && NeedsWeightConfirmation(weight, latest)
            && ShowMessageBox(QString::fromStdString(WeightConfirmationText(weight, *latest)),
                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, this)
                != IDYES)
            return;
        switch (UpdateListRecord(m_doc, i, NumberText(m_edit->text()).toStdString(), m_date)) {
        case RecordUpdate::Updated: break;
        case RecordUpdate::DateTaken:
            ShowMessageBox(QStringLiteral("その日付のデータは既にあります。"), MB_OK | MB_ICONWARNING, this);
            return;
        case RecordUpdate::NotANumber:
            ShowMessageBox(NotANumberMessage(), MB_OK | MB_ICONWARNING, this);
            m_edit->setFocus(Qt::OtherFocusReason);
            m_edit->selectAll();
            return;
        }
    }
    FillList();
}

void CEditListDlg::OnDelete()
{
    const int i = SelectedRecord();
    if (i < 0)
        return;
    if (ShowMessageBox(QStringLiteral("削除しますか"), MB_YESNO | MB_ICONQUESTION, this) != IDYES)
        return;
    DeleteListRecord(m_doc, i);
    FillList();
}
