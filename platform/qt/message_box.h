#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Message boxes with the window system's button ids, so callers compare the
// result with the ids they know (Yes is 6).
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_DEFBUTTON2 = 0x100; // the second button, not the first, answers Enter

// Shows `text` with the buttons and icon of `type` and returns the id of the
// button pressed. The title is the application's name. `labels`, when
// given, replace the buttons' usual texts in order (a question whose
// answers are clearer as words than as Yes and No).
int ShowMessageBox(const QString& text, unsigned type = MB_OK, QWidget* parent = nullptr,
    const QStringList& labels = {});

// Tests answer message boxes without a person: while a responder is set,
// ShowMessageBox calls it instead of showing anything.
using MessageBoxResponder = std::function<int(const QString& text, unsigned type)>;
void SetMessageBoxResponder(MessageBoxResponder responder);
