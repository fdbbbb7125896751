#include "app/about_dlg.h"

#include "app/app_resources.h"

#include <QApplication>
#include <QFontMetrics>
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

    QPushButton* ok = AddOkButton(47, 0, 22, 12);

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

    WidenForCaption(ok);
}

void CAboutDlg::WidenForCaption(QPushButton* ok)
{
    // At 69 dialog units the window manager shows the caption as "…". It
    // draws the caption in a font of its own, commonly bolder and a little
    // larger than the dialog's, beside its buttons: the box takes that
    // width, the OK button keeps to the top right and the rest stays centred.
    QFont captionFont = QApplication::font();
    captionFont.setBold(true);
    constexpr int kCaptionButtons = 96;
    const int needed = QFontMetrics(captionFont).horizontalAdvance(windowTitle()) * 5 / 4 + kCaptionButtons;
    const int extra = needed - width();
    if (extra <= 0)
        return;
    setFixedSize(width() + extra, height());
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        control->move(control->x() + (control == ok ? extra : extra / 2), control->y());
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
