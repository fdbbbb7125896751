#include "platform/qt/data_exchange.h"

#include "platform/format.h"
#include "platform/number_text.h"
#include "platform/qt/dialog.h"
#include "platform/qt/message_box.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QLineEdit>
#include <QLocale>

#include <charconv>

namespace {

// The number text with surrounding white space removed and one leading
// plus sign dropped (from_chars takes neither).
std::string NumberCore(const QString& text)
{
    std::string core = NumberText(text).trimmed().toStdString();
    if (!core.empty() && core.front() == '+' && (core.size() == 1 || core[1] != '-'))
        core.erase(0, 1);
    return core;
}

QString LineText(QWidget* control)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    return {};
}

void SetLineText(QWidget* control, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
}

} // namespace

CDataExchange::CDataExchange(CDialog* dialog, bool saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate)
    , m_dialog(dialog)
{
}

QWidget* CDataExchange::PrepareControl(int id)
{
    if (m_failed)
        return nullptr;
    m_last = m_dialog->GetDlgItem(id);
    return m_last;
}

void CDataExchange::Fail(const QString& message)
{
    if (m_failed)
        return;
    m_failed = true;
    ShowMessageBox(message, MB_OK | MB_ICONWARNING, m_dialog);
    if (m_last) {
        m_last->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(m_last))
            edit->selectAll();
    }
}

QString NumberText(const QString& text)
{
    // NFKC folds what a Japanese input method types in full-width mode
    // (digits, period, plus, the full-width hyphen-minus and the ideographic
    // space) into ASCII; the minus sign U+2212 has no such folding.
    QString folded = text.normalized(QString::NormalizationForm_KC);
    folded.replace(QChar(0x2212), QLatin1Char('-'));
    return folded;
}

QString NotANumberMessage()
{
    return QStringLiteral("数値を入力してください。");
}

bool ParseIntText(const QString& text, int& value)
{
    const std::string core = NumberCore(text);
    int parsed = 0;
    const auto [end, error] = std::from_chars(core.data(), core.data() + core.size(), parsed);
    if (core.empty() || error != std::errc() || end != core.data() + core.size())
        return false;
    value = parsed;
    return true;
}

bool ParseDoubleText(const QString& text, double& value)
{
    // Infinities and NaN would reach the document and the graph's scale
    // arithmetic; a weight is always a finite number.
    return ParseFiniteNumber(NumberCore(text), value) == NumberProblem::None;
}

QString DoubleText(double value)
{
    return QString::fromStdString(FormatString("%.15g", value));
}

void DDX_Text(CDataExchange& dx, int id, int& value)
{
    QWidget* control = dx.PrepareControl(id);
    if (!control)
        return;
    if (!dx.m_bSaveAndValidate) {
        SetLineText(control, QString::number(value));
        return;
    }
    if (!ParseIntText(LineText(control), value))
        dx.Fail(QStringLiteral("整数を入力してください。"));
}

void DDX_Text(CDataExchange& dx, int id, double& value)
{
    QWidget* control = dx.PrepareControl(id);
    if (!control)
        return;
    if (!dx.m_bSaveAndValidate) {
        SetLineText(control, DoubleText(value));
        return;
    }
    if (!ParseDoubleText(LineText(control), value))
        dx.Fail(NotANumberMessage());
}

void DDX_Text(CDataExchange& dx, int id, std::u16string& value)
{
    QWidget* control = dx.PrepareControl(id);
    if (!control)
        return;
    if (dx.m_bSaveAndValidate)
        value = LineText(control).toStdU16String();
    else
        SetLineText(control, QString::fromStdU16String(value));
}

void DDX_DateTimeCtrl(CDataExchange& dx, int id, CalendarDate& value)
{
    auto* picker = qobject_cast<QDateEdit*>(dx.PrepareControl(id));
    if (!picker)
        return;
    if (dx.m_bSaveAndValidate) {
        const QDate date = picker->date();
        value = CalendarDate::FromYmd(date.year(), date.month(), date.day());
    } else {
        picker->setDate(QDate(value.Year(), value.Month(), value.Day()));
    }
}

void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue)
{
    if (!dx.m_bSaveAndValidate || !dx.LastControl())
        return;
    if (value < minValue || value > maxValue)
        dx.Fail(QStringLiteral("%1 から %2 までの整数を入力してください。").arg(minValue).arg(maxValue));
}

void DDV_MaxChars(CDataExchange& dx, const std::u16string& value, int maxChars)
{
    if (!dx.m_bSaveAndValidate || !dx.LastControl())
        return;
    if (value.size() > static_cast<std::size_t>(maxChars))
        dx.Fail(QStringLiteral("%1 文字以内で入力してください。").arg(maxChars));
}

void SetupDatePicker(QWidget* widget)
{
    auto* picker = qobject_cast<QDateEdit*>(widget);
    if (!picker)
        return;
    // The window speaks Japanese whatever the system's locale: the picker
    // and its calendar name months and weekdays as the rest of it does. A
    // two-digit year would confine the picker to one century.
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QString format = japanese.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    picker->setLocale(japanese);
    picker->setDisplayFormat(format);
    picker->setCalendarPopup(true);
    picker->calendarWidget()->setLocale(japanese);
}
