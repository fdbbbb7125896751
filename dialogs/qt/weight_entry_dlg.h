#pragma once

#include "dialogs/weight_entry_logic.h"
#include "platform/qt/dialog.h"

// Template 130, "体重入力": a date picker, the weight and three step
// buttons. The members are WeightEntryData's; the buttons read the
// controls, step the weight and write it back.
class CWeightEntryDlg : public CDialog, public WeightEntryData {
    Q_OBJECT
public:
    explicit CWeightEntryDlg(QWidget* parent = nullptr);

protected:
    // Opens with the weight field focused and its text selected, so typing
    // a weight and pressing Enter records it.
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    void OnStep(int buttonId);
};

constexpr int IDD_WEIGHT_ENTRY = 130;
constexpr int IDC_WEIGHT = 1000;
constexpr int IDC_ENTRY_DATE = 1001;
