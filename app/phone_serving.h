#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <string>

class ProfileStore;

// The window's own phone page: while the user has it switched on, the open
// diary is served to the phones paired with it, as `tarelog-cli serve`
// serves it, on the default port of every address of the machine. What a
// phone records reaches the file by the diary's synced write, and the
// window sees it as it sees any other writer's days.
class PhoneServing : public QObject {
    Q_OBJECT
public:
    explicit PhoneServing(QObject* parent = nullptr);
    ~PhoneServing() override;

    // Serves the diary at `diaryPath` (absolute), stopping whatever was
    // served before; the Japanese reason on failure, empty on success.
    QString Serve(const std::string& diaryPath);
    void Stop();

    bool IsServing() const;
    const std::string& DiaryPath() const { return m_diaryPath; }
    // "https://192.168.1.20:8765", where the pairing links point.
    QString BaseUrl() const;
    // The certificate's SHA-256 fingerprint, as the phone's browser shows it.
    QString Fingerprint() const { return m_fingerprint; }

    // Where to listen: every address on the default port unless told
    // otherwise (tests serve on a free port of the loopback address).
    void SetListenAddress(const std::string& address, int port);

signals:
    // A phone or a script recorded a day: a sentence for the status bar.
    void dayRecorded(const QString& message);

private:
    struct Running;
    std::unique_ptr<Running> m_running;
    std::string m_diaryPath;
    QString m_fingerprint;
    std::string m_address = "0.0.0.0";
    int m_port; // the default port, set in the constructor
};

// Whether this user had the window serve the phone page: kept in the
// profile, so that the next start serves again.
bool PhoneServingRemembered(const ProfileStore& profile);
void RememberPhoneServing(ProfileStore& profile, bool serving);
