#pragma once

#include "dialogs/unit_digits_logic.h"
#include "platform/qt/dialog.h"

// Template 132, "単位、少数桁": unit text, decimal digits and date-label
// style, validated on OK. The members are UnitDigitsData's.
class CUnitDigitsDlg : public CDialog, public UnitDigitsData {
    Q_OBJECT
public:
    explicit CUnitDigitsDlg(QWidget* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange& dx) override;

private:
    void WidenUnitField();
};

constexpr int IDD_UNIT_DIGITS = 132;
constexpr int IDC_UNIT = 1008;
constexpr int IDC_DIGITS = 1005;
constexpr int IDC_DATE_STYLE = 1006;
