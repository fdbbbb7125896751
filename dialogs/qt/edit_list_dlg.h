#pragma once

#include "platform/calendar_date.h"
#include "platform/qt/dialog.h"

class CTarelogDoc;
class QLineEdit;
class QListWidget;

// Template 131, "編集": every record of a document as a line, with a date
// picker and a weight field to correct the selected record, and a delete
// button. Each change reaches the document at once; closing only ends the
// dialog. The list is filled by a one-shot timer after the dialog has
// appeared.
class CEditListDlg : public CDialog {
    Q_OBJECT
public:
    explicit CEditListDlg(CTarelogDoc& doc, QWidget* parent = nullptr);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnTimer(int id) override;

private:
    void FillList();
    void OnSelChangeList();
    void OnUpdate();
    void OnDelete();
    int SelectedRecord() const; // -1 without a selected line

    CTarelogDoc& m_doc;
    CalendarDate m_date = CalendarDate::Today(); // the picker's
    QLineEdit* m_edit = nullptr;
    QListWidget* m_list = nullptr;
};

constexpr int IDD_EDIT_LIST = 131;
constexpr int IDC_LIST_WEIGHT = 1000;
constexpr int IDC_LIST_DATE = 1001;
constexpr int IDC_RECORD_LIST = 1002;
constexpr int IDC_LIST_UPDATE = 1003;
constexpr int IDC_LIST_DELETE = 1007;
constexpr int kFillTimerId = 197;
constexpr int kFillDelayMs = 150;
