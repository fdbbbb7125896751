#pragma once

#include <QDialog>

#include <string>

class PhoneServing;
class ProfileStore;
class QCheckBox;
class QLabel;
class QTableWidget;

// "スマートフォンから入力": switches serving the open diary to phones on and
// off, shows a fresh one-time pairing link as a QR code with the address
// and the certificate's fingerprint, and lists the paired phones and
// scripts' tokens, each with a button that takes its access away.
class CPhoneDlg : public QDialog {
    Q_OBJECT
public:
    // `diaryPath` is the open diary's file; empty for one never saved,
    // which has nothing to serve yet.
    CPhoneDlg(PhoneServing& serving, ProfileStore& profile, std::string diaryPath, QWidget* parent = nullptr);

    // Switches serving, as the check box does; public for the tests.
    void SetServing(bool on);
    // Takes the access of the phone or token named `name` away, after a question.
    void Revoke(const QString& name);

private:
    void ShowPairing();
    void FillDevices();

    PhoneServing& m_serving;
    ProfileStore& m_profile;
    std::string m_diaryPath;
    QCheckBox* m_switch = nullptr;
    QLabel* m_state = nullptr;
    QLabel* m_code = nullptr;
    QLabel* m_link = nullptr;
    QTableWidget* m_devices = nullptr;
};
