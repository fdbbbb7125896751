#include "app/about_dlg.h"

#include "app/app_resources.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

// Two short lines: the box is only 65 dialog units wide.
const char* const kAboutNotice = "毎日の体重を記録し\nグラフで見る日記";

CAboutDlg::CAboutDlg(QWidget* parent)
    : CDialog(parent)
{
    SetTemplate(QStringLiteral("バージョン情報 (Tarelog)"), 69, 74);

    AddOkButton(47, 0, 22, 12);

    auto* icon = AddControl<QLabel>(IDC_STATIC, 26, 9, 20, 20);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setAlignment(Qt::AlignCenter);
    icon->setPixmap(AppIcon().pixmap(32, 32));

    auto* version = AddControl<QLabel>(IDC_STATIC, 4, 33, 65, 8);
    version->setObjectName(QStringLiteral("aboutVersion"));
    // Plain text: an '&' would be shown as it is.
    version->setTextFormat(Qt::PlainText);
    version->setText(QString::fromUtf8(kVersionText));

    auto* notice = AddControl<QLabel>(IDC_STATIC, 4, 48, 65, 26);
    notice->setObjectName(QStringLiteral("aboutNotice"));
    notice->setTextFormat(Qt::PlainText);
    notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    notice->setText(QString::fromUtf8(kAboutNotice));
}

bool CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Centred over the owner; without one, over the screen.
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = owner ? owner->geometry() : (screen() ? screen()->availableGeometry() : QRect());
    if (area.isValid())
        move(area.center() - rect().center());
    return true;
}
