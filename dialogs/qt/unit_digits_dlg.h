#pragma once

#include "dialogs/unit_digits_logic.h"
#include "platform/qt/dialog.h"

class CTarelogDoc;
class ProfileStore;

// Template 132, "単位、少数桁": unit text, decimal digits and date-label
// style. Made for a document and a profile, it opens on their values; OK
// validates the fields and hands them to both, any other ending changes
// nothing.
class CUnitDigitsDlg : public CDialog, private UnitDigitsData {
    Q_OBJECT
public:
    CUnitDigitsDlg(CTarelogDoc& doc, ProfileStore& profile, QWidget* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;

private:
    void WidenUnitField();

    CTarelogDoc& m_doc;
    ProfileStore& m_profile;
};

constexpr int IDD_UNIT_DIGITS = 132;
constexpr int IDC_UNIT = 1008;
constexpr int IDC_DIGITS = 1005;
constexpr int IDC_DATE_STYLE = 1006;
