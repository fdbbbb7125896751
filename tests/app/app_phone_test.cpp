#include "app_fixture.h"

#include "app/phone_dlg.h"
#include "app/phone_serving.h"
#include "phone/device_store.h"
#include "platform/qt/qsettings_profile_store.h"
#include "platform/state_folder.h"

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableWidget>

namespace {

// Posts one day to the API as a script would, over TLS with the server's
// own certificate accepted: what an automation on the network does.
int PostDay(const QString& baseUrl, const std::string& token, const QString& date, double weight)
{
    const QString script = QStringLiteral(
        "import json, ssl, sys, urllib.request\n"
        "request = urllib.request.Request(sys.argv[1] + '/api/entries', method='POST',\n"
        "    data=json.dumps({'date': sys.argv[3], 'weight': float(sys.argv[4])}).encode(),\n"
        "    headers={'Authorization': 'Bearer ' + sys.argv[2], 'Content-Type': 'application/json'})\n"
        "context = ssl.create_default_context()\n"
        "context.check_hostname = False\n"
        "context.verify_mode = ssl.CERT_NONE\n"
        "print(urllib.request.urlopen(request, context=context, timeout=10).status)\n");
    QProcess python;
    python.start(QStringLiteral("python3"),
        {QStringLiteral("-c"), script, baseUrl, QString::fromStdString(token), date, QString::number(weight)});
    if (!python.waitForFinished(20000))
        return -1;
    return python.readAllStandardOutput().trimmed().toInt();
}

class AppPhoneTest : public AppFixture {
protected:
    // Serving on a free port of the loopback address, never the network.
    void StartServingOnLoopback(PhoneServing& serving) { serving.SetListenAddress("127.0.0.1", 0); }
};

TEST_F(AppPhoneTest, AnUnsavedDiaryHasNothingToServe)
{
    PhoneServing serving;
    QSettingsProfileStore profile;
    CPhoneDlg dialog(serving, profile, std::string());
    auto* toggle = dialog.findChild<QCheckBox*>(QStringLiteral("phoneSwitch"));
    ASSERT_NE(toggle, nullptr);
    EXPECT_FALSE(toggle->isEnabled());
    EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("phoneState"))->text().contains(QStringLiteral("保存")));
    dialog.SetServing(true);
    EXPECT_FALSE(serving.IsServing());
}

TEST_F(AppPhoneTest, SwitchingOnServesTheDiaryShowsAPairingCodeAndIsRemembered)
{
    const QString diary = WriteDiary(QStringLiteral("serve.tlg"), {70.0, 69.8});
    ASSERT_TRUE(StartAndSettle({diary}));
    PhoneServing serving;
    StartServingOnLoopback(serving);
    QSettingsProfileStore profile;
    CPhoneDlg dialog(serving, profile, diary.toStdString());
    dialog.SetServing(true);
    ASSERT_TRUE(serving.IsServing());
    EXPECT_TRUE(PhoneServingRemembered(profile));
    EXPECT_TRUE(serving.BaseUrl().startsWith(QStringLiteral("https://127.0.0.1:")));
    EXPECT_EQ(serving.Fingerprint().size(), 32 * 3 - 1); // "AB:CD:..." of a SHA-256
    const QString link = dialog.findChild<QLabel*>(QStringLiteral("phoneLink"))->text();
    EXPECT_TRUE(link.startsWith(serving.BaseUrl() + QStringLiteral("/pair/"))) << link.toStdString();
    EXPECT_FALSE(dialog.findChild<QLabel*>(QStringLiteral("phoneCode"))->pixmap().isNull());
    EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("phoneState"))->text().contains(serving.Fingerprint()));

    dialog.SetServing(false);
    EXPECT_FALSE(serving.IsServing());
    EXPECT_FALSE(PhoneServingRemembered(profile));
    EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("phoneLink"))->text().isEmpty());
}

TEST_F(AppPhoneTest, ADayRecordedFromTheNetworkReachesTheFileAndIsAnnounced)
{
    const QString diary = WriteDiary(QStringLiteral("recorded.tlg"), {70.0});
    PhoneServing serving;
    StartServingOnLoopback(serving);
    ASSERT_TRUE(serving.Serve(diary.toStdString()).isEmpty());
    DeviceStore store(diary.toStdString(), StateFolder("tarelog"));
    const auto token = store.NewToken("scale");
    ASSERT_TRUE(token);

    QSignalSpy recorded(&serving, &PhoneServing::dayRecorded);
    EXPECT_EQ(PostDay(serving.BaseUrl(), *token, QStringLiteral("2024-01-02"), 69.6), 200);
    ASSERT_TRUE(recorded.wait(5000));
    EXPECT_EQ(recorded.first().first().toString(),
        QStringLiteral("スマートフォンから 2024/01/02 の体重を記録しました"));
    EXPECT_EQ(WeightsIn(diary), (std::vector<double>{70.0, 69.6}));
}

TEST_F(AppPhoneTest, TheDialogListsDevicesAndRevokesOneOnlyAfterYes)
{
    const QString diary = WriteDiary(QStringLiteral("devices.tlg"), {70.0});
    DeviceStore store(diary.toStdString(), StateFolder("tarelog"));
    ASSERT_TRUE(store.NewToken("scale"));
    ASSERT_TRUE(store.NewToken("shortcut"));
    PhoneServing serving;
    QSettingsProfileStore profile;
    CPhoneDlg dialog(serving, profile, diary.toStdString());
    auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("phoneDevices"));
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("scale"));
    EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("トークン"));

    m_answers = {IDNO, IDYES};
    dialog.Revoke(QStringLiteral("scale"));
    EXPECT_EQ(table->rowCount(), 2);
    dialog.Revoke(QStringLiteral("scale"));
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("shortcut"));
    ASSERT_EQ(m_asked.size(), 2u);
    EXPECT_TRUE(m_asked[0].text.contains(QStringLiteral("「scale」")));
}

} // namespace
