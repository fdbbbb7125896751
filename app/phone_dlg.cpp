#include "app/phone_dlg.h"

#include "app/phone_serving.h"
#include "phone/device_store.h"
#include "phone/phone_service.h"
#include "platform/qr_code.h"
#include "platform/qt/message_box.h"
#include "platform/state_folder.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

constexpr int kModulePixels = 4;
constexpr int kQuietModules = 4;

// The code drawn black on white with its quiet zone, large enough for a
// phone's camera across a desk.
QPixmap CodePixmap(const QrCode& code)
{
    const int side = code.Size() + 2 * kQuietModules;
    QImage image(side, side, QImage::Format_Mono);
    image.fill(1);
    for (int y = 0; y < code.Size(); ++y)
        for (int x = 0; x < code.Size(); ++x)
            if (code.Dark(x, y))
                image.setPixel(x + kQuietModules, y + kQuietModules, 0);
    return QPixmap::fromImage(image.scaled(side * kModulePixels, side * kModulePixels));
}

QString KindText(Device::Kind kind)
{
    return kind == Device::Kind::Phone ? QStringLiteral("スマートフォン") : QStringLiteral("トークン");
}

} // namespace

CPhoneDlg::CPhoneDlg(PhoneServing& serving, ProfileStore& profile, std::string diaryPath, QWidget* parent)
    : QDialog(parent)
    , m_serving(serving)
    , m_profile(profile)
    , m_diaryPath(std::move(diaryPath))
{
    setWindowTitle(QStringLiteral("スマートフォンから入力"));
    auto* layout = new QVBoxLayout(this);

    m_switch = new QCheckBox(QStringLiteral("このファイルをスマートフォンから入力できるようにする"), this);
    m_switch->setObjectName(QStringLiteral("phoneSwitch"));
    m_switch->setChecked(m_serving.IsServing() && m_serving.DiaryPath() == m_diaryPath);
    m_switch->setEnabled(!m_diaryPath.empty());
    connect(m_switch, &QCheckBox::toggled, this, &CPhoneDlg::SetServing);
    layout->addWidget(m_switch);

    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("phoneState"));
    m_state->setWordWrap(true);
    m_state->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_state);

    m_code = new QLabel(this);
    m_code->setObjectName(QStringLiteral("phoneCode"));
    m_code->setAlignment(Qt::AlignCenter);
    m_code->setAccessibleName(QStringLiteral("ペアリング用リンクの QR コード"));
    layout->addWidget(m_code);

    m_link = new QLabel(this);
    m_link->setObjectName(QStringLiteral("phoneLink"));
    m_link->setWordWrap(true);
    m_link->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_link);

    layout->addWidget(new QLabel(QStringLiteral("登録したスマートフォンとトークン:"), this));
    m_devices = new QTableWidget(0, 4, this);
    m_devices->setObjectName(QStringLiteral("phoneDevices"));
    m_devices->setHorizontalHeaderLabels(
        {QStringLiteral("名前"), QStringLiteral("種類"), QStringLiteral("登録日時"), QString()});
    m_devices->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_devices->verticalHeader()->hide();
    m_devices->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_devices);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    ShowPairing();
    FillDevices();
}

void CPhoneDlg::SetServing(bool on)
{
    if (on && !m_diaryPath.empty()) {
        const QString failed = m_serving.Serve(m_diaryPath);
        if (!failed.isEmpty())
            ShowMessageBox(failed, MB_OK | MB_ICONERROR, this);
    } else {
        m_serving.Stop();
    }
    const bool serving = m_serving.IsServing();
    RememberPhoneServing(m_profile, serving);
    const QSignalBlocker quiet(m_switch);
    m_switch->setChecked(serving);
    ShowPairing();
}

// Each opening of the dialog shows a link of its own: a link works once,
// for ten minutes, so an old one on the screen would only mislead.
void CPhoneDlg::ShowPairing()
{
    m_code->clear();
    m_link->clear();
    if (m_diaryPath.empty()) {
        m_state->setText(QStringLiteral("ファイルに名前を付けて保存すると、スマートフォンから入力できます。"));
        return;
    }
    if (!m_serving.IsServing()) {
        m_state->setText(QStringLiteral("スマートフォンからは入力できません。"));
        return;
    }
    m_state->setText(
        QStringLiteral("スマートフォンのカメラで QR コードを読み取ってください。リンクは 10 分間、1 回だけ使えます。\n"
                       "アドレス: %1\n証明書の指紋 (SHA-256): %2")
            .arg(m_serving.BaseUrl(), m_serving.Fingerprint()));
    try {
        const std::string link = NewPairingLink(m_diaryPath, m_serving.BaseUrl().toStdString());
        m_link->setText(QString::fromStdString(link));
        if (const auto code = QrCode::Encode(link))
            m_code->setPixmap(CodePixmap(*code));
    } catch (const std::runtime_error& failed) {
        m_link->setText(
            QStringLiteral("ペアリング用リンクを作れませんでした（%1）").arg(QString::fromUtf8(failed.what())));
    }
}

void CPhoneDlg::FillDevices()
{
    m_devices->setRowCount(0);
    if (m_diaryPath.empty())
        return;
    const DeviceStore store(m_diaryPath, StateFolder("tarelog"));
    const auto devices = store.List();
    if (!devices)
        return;
    m_devices->setRowCount(static_cast<int>(devices->size()));
    for (int row = 0; row < m_devices->rowCount(); ++row) {
        const Device& device = (*devices)[static_cast<std::size_t>(row)];
        const QString name = QString::fromStdString(device.name);
        m_devices->setItem(row, 0, new QTableWidgetItem(name));
        m_devices->setItem(row, 1, new QTableWidgetItem(KindText(device.kind)));
        m_devices->setItem(row, 2,
            new QTableWidgetItem(
                QDateTime::fromSecsSinceEpoch(device.pairedAt).toString(QStringLiteral("yyyy/MM/dd HH:mm"))));
        auto* revoke = new QPushButton(QStringLiteral("取り消す"), m_devices);
        revoke->setAccessibleName(QStringLiteral("%1 の登録を取り消す").arg(name));
        connect(revoke, &QPushButton::clicked, this, [this, name] { Revoke(name); });
        m_devices->setCellWidget(row, 3, revoke);
    }
}

void CPhoneDlg::Revoke(const QString& name)
{
    const QString question = QStringLiteral("「%1」からは入力できなくなります。登録を取り消しますか?").arg(name);
    if (ShowMessageBox(question, MB_YESNO | MB_ICONQUESTION, this) != IDYES)
        return;
    DeviceStore store(m_diaryPath, StateFolder("tarelog"));
    if (const Status<std::string> revoked = store.Revoke(name.toStdString()); !revoked)
        ShowMessageBox(QStringLiteral("登録を取り消せませんでした（%1）").arg(QString::fromStdString(revoked.error())),
            MB_OK | MB_ICONERROR, this);
    FillDevices();
}
