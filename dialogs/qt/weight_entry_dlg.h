#pragma once

#include "dialogs/weight_entry_logic.h"
#include "platform/qt/dialog.h"

class CTarelogDoc;

// Template 130, "体重入力": a date picker, the weight and three step
// buttons. Made for a document, it opens on today and the latest weight;
// OK stores the day's weight in the document, any other ending changes
// nothing. The step buttons read the controls, step the weight and write it
// back.
class CWeightEntryDlg : public CDialog, private WeightEntryData {
    Q_OBJECT
public:
    explicit CWeightEntryDlg(CTarelogDoc& doc, QWidget* parent = nullptr);

    // The exchanged values: preset by the constructor, read back on OK.
    using WeightEntryData::m_date;
    using WeightEntryData::m_weight;

protected:
    // Opens with the weight field focused and its text selected, so typing
    // a weight and pressing Enter records it.
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;

private:
    void OnStep(int buttonId);

    CTarelogDoc& m_doc;
};

constexpr int IDD_WEIGHT_ENTRY = 130;
constexpr int IDC_WEIGHT = 1000;
constexpr int IDC_ENTRY_DATE = 1001;
