#include "platform/qt/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

MessageBoxResponder& Responder()
{
    static MessageBoxResponder responder;
    return responder;
}

QMessageBox::Icon IconOf(unsigned type)
{
    switch (type & 0xF0) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

void SetMessageBoxResponder(MessageBoxResponder responder)
{
    Responder() = std::move(responder);
}

int ShowMessageBox(const QString& text, unsigned type, QWidget* parent, const QStringList& labels)
{
    if (Responder())
        return Responder()(text, type);
    // Without an owner the box would appear wherever the window manager
    // puts new windows; the framework's default owner is the active window.
    QWidget* owner = parent ? parent->window() : QApplication::activeWindow();
    QMessageBox box(IconOf(type), QApplication::applicationDisplayName(), text, QMessageBox::NoButton, owner);
    // Buttons carry the window system's ids as their roles' results.
    int next = 0;
    auto add = [&](const QString& label, QMessageBox::ButtonRole role, int id) {
        const int index = next++;
        QAbstractButton* button = box.addButton(index < labels.size() ? labels[index] : label, role);
        button->setProperty("frameworkButtonId", id);
        return button;
    };
    switch (type & 0x0F) {
    case MB_YESNOCANCEL:
        box.setDefaultButton(static_cast<QPushButton*>(add(QStringLiteral("はい(&Y)"), QMessageBox::YesRole, IDYES)));
        add(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole, IDNO);
        box.setEscapeButton(add(QStringLiteral("キャンセル"), QMessageBox::RejectRole, IDCANCEL));
        break;
    case MB_YESNO: {
        auto* yes = static_cast<QPushButton*>(add(QStringLiteral("はい(&Y)"), QMessageBox::YesRole, IDYES));
        auto* no = static_cast<QPushButton*>(add(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole, IDNO));
        box.setDefaultButton((type & MB_DEFBUTTON2) ? no : yes);
        box.setEscapeButton(no);
        break;
    }
    default: box.setEscapeButton(add(QStringLiteral("OK"), QMessageBox::AcceptRole, IDOK)); break;
    }
    box.exec();
    if (QAbstractButton* pressed = box.clickedButton())
        return pressed->property("frameworkButtonId").toInt();
    return (type & 0x0F) == MB_YESNOCANCEL ? IDCANCEL : (type & 0x0F) == MB_YESNO ? IDNO : IDOK;
}
