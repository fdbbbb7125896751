#pragma once

#include "platform/calendar_date.h"

#include <QString>

#include <string>

class CDialog;
class QWidget;

// One pass of data exchange between a dialog's members and its controls.
// Writing (members to controls) always succeeds. Reading stops at the first
// failed conversion or check: the user is told in a message box, the focus
// goes to the offending field, and every later exchange in the pass is
// skipped, so the members after it keep their values.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate);

    const bool m_bSaveAndValidate;

    bool Failed() const { return m_failed; }
    // The control of the exchange in progress; null once the pass failed.
    QWidget* PrepareControl(int id);
    QWidget* LastControl() const { return m_failed ? nullptr : m_last; }
    void Fail(const QString& message);

private:
    CDialog* m_dialog;
    QWidget* m_last = nullptr;
    bool m_failed = false;
};

// Text of an edit control (QLineEdit) as an integer, a double or a string.
void DDX_Text(CDataExchange& dx, int id, int& value);
void DDX_Text(CDataExchange& dx, int id, double& value);
void DDX_Text(CDataExchange& dx, int id, std::u16string& value);
// The date of a date picker (QDateEdit).
void DDX_DateTimeCtrl(CDataExchange& dx, int id, CalendarDate& value);

// Checks on the value just read; they follow the DDX_Text of their field.
void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue);
void DDV_MaxChars(CDataExchange& dx, const std::u16string& value, int maxChars);

// The text a double is shown with: up to 15 significant digits, so results
// of decimal steps such as 65.5 * 0.1 read as 6.55.
QString DoubleText(double value);
// A number as typed, full-width forms folded to ASCII ("６５．５" gives
// "65.5"); every numeric field reads its text through this.
QString NumberText(const QString& text);
// What the user is told when a field's text is not a number.
QString NotANumberMessage();
// Parsers behind the exchange; false when the text is not a whole number
// (or a finite number), white space around it allowed.
bool ParseIntText(const QString& text, int& value);
bool ParseDoubleText(const QString& text, double& value);

// Makes a date picker show the Japanese short date (with a four-digit
// year) and open a calendar in Japanese, whatever the system's locale.
void SetupDatePicker(QWidget* picker);
