#include "app/phone_serving.h"

#include "phone/phone_defaults.h"
#include "phone/phone_service.h"
#include "platform/format.h"
#include "platform/http_server.h"
#include "platform/profile_store.h"
#include "platform/qt/qsettings_profile_store.h"
#include "platform/tls_certificate.h"

namespace {

constexpr const char* kSection = "Phone";
constexpr const char* kServingEntry = "Serving";

QString RecordedText(const DayWeight& entry)
{
    return QString::fromStdString(
        FormatString("スマートフォンから %04d/%02d/%02d の体重を記録しました", entry.year, entry.month, entry.day));
}

} // namespace

// The server answers on threads of its own, so it reads the user's
// settings through a QSettings of its own rather than the window's.
struct PhoneServing::Running {
    QSettingsProfileStore profile{QString::fromLatin1(kProfileOrganization), QString::fromLatin1(kProfileApplication)};
    std::unique_ptr<PhoneService> service;
    std::unique_ptr<HttpServer> server;
    std::string baseUrl;
};

PhoneServing::PhoneServing(QObject* parent)
    : QObject(parent)
    , m_port(kDefaultPhonePort)
{
}

PhoneServing::~PhoneServing()
{
    Stop();
}

void PhoneServing::SetListenAddress(const std::string& address, int port)
{
    m_address = address;
    m_port = port;
}

QString PhoneServing::Serve(const std::string& diaryPath)
{
    Stop();
    // The same addresses and certificate names as tarelog-cli serve, which
    // keeps its certificate in the same place.
    const std::vector<std::string> addresses = AddressesToOpen(m_address);
    const std::string& host = addresses.front();
    const auto identity = LoadOrMakePhoneIdentity(addresses);
    if (!identity)
        return QStringLiteral("証明書を用意できませんでした（%1）").arg(QString::fromStdString(identity.error()));

    auto running = std::make_unique<Running>();
    running->baseUrl = ::BaseUrl(true, host, m_port);
    PhoneService::Options options{.diaryPath = diaryPath, .baseUrl = running->baseUrl};
    options.profile = &running->profile;
    options.recorded = [this](const DayWeight& entry) {
        // From a server thread: the status bar is the window's.
        QMetaObject::invokeMethod(
            this, [this, text = RecordedText(entry)] { emit dayRecorded(text); }, Qt::QueuedConnection);
    };
    running->service = std::make_unique<PhoneService>(std::move(options));

    HttpServerOptions serverOptions;
    serverOptions.address = m_address;
    serverOptions.port = m_port;
    serverOptions.tlsIdentity = identity->path;
    PhoneService* service = running->service.get();
    running->server = std::make_unique<HttpServer>(serverOptions,
        [service](const HttpRequest& request) { return service->Handle(request); });
    if (const auto failed = running->server->Start())
        return QStringLiteral("スマートフォン用のページを始められませんでした（%1）")
            .arg(QString::fromStdString(*failed));

    if (m_port == 0)
        running->baseUrl = ::BaseUrl(true, host, running->server->Port());
    m_running = std::move(running);
    m_diaryPath = diaryPath;
    m_fingerprint = QString::fromStdString(identity->fingerprint);
    return {};
}

void PhoneServing::Stop()
{
    if (m_running)
        m_running->server->Stop();
    m_running.reset();
    m_diaryPath.clear();
}

bool PhoneServing::IsServing() const
{
    return m_running != nullptr;
}

QString PhoneServing::BaseUrl() const
{
    return m_running ? QString::fromStdString(m_running->baseUrl) : QString();
}

bool PhoneServingRemembered(const ProfileStore& profile)
{
    return profile.GetProfileInt(kSection, kServingEntry, 0) != 0;
}

void RememberPhoneServing(ProfileStore& profile, bool serving)
{
    profile.WriteProfileInt(kSection, kServingEntry, serving ? 1 : 0);
}
