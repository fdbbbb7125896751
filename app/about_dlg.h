#pragma once

#include "platform/qt/dialog.h"

class QPushButton;

// The about box: icon, version text and a short notice. Window managers
// give a dialog no OK button in its caption, so one sits at its top right.
class CAboutDlg : public CDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

protected:
    bool OnInitDialog() override;

private:
    void WidenForCaption(QPushButton* ok);
};

// The notice under the version text.
extern const char* const kAboutNotice;
