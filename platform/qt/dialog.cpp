#include "platform/qt/dialog.h"

#include "platform/qt/data_exchange.h"
#include "platform/qt/japanese_font.h"
#include "platform/qt/message_box.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>

namespace {

// The window system's MulDiv: a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c)
{
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

// Labels share IDC_STATIC and so have no object name; the id rides on
// every control as a property.
constexpr char kControlIdProperty[] = "controlId";

} // namespace

QFont DialogFont()
{
    QFont font = QApplication::font();
    // The templates name a 9 point system face that Linux lacks; the texts
    // are Japanese, so a CJK face keeps them from falling back glyph by glyph.
    const QString japanese = InstalledJapaneseFamily();
    if (!japanese.isEmpty())
        font.setFamilies({japanese});
    font.setPointSize(9);
    return font;
}

CDialog::CDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setFont(DialogFont());
}

int CDialog::DoModal()
{
    InitDialog();
    return exec();
}

void CDialog::EndDialog(int result)
{
    done(result);
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

void CDialog::InitDialog()
{
    if (m_initialized)
        return;
    m_initialized = true;
    OnInitDialog();
}

QWidget* CDialog::GetDlgItem(int id) const
{
    return findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

QSize CDialog::DialogBaseUnits() const
{
    // The average width as the window system measures it: the 52 Latin
    // letters, halved with rounding.
    const QFontMetrics metrics(font());
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize((letters / 26 + 1) / 2, metrics.height());
}

QRect CDialog::MapDialogRect(const QRect& units) const
{
    const QSize base = DialogBaseUnits();
    return QRect(MulDiv(units.x(), base.width(), 4), MulDiv(units.y(), base.height(), 8),
        MulDiv(units.width(), base.width(), 4), MulDiv(units.height(), base.height(), 8));
}

void CDialog::SetTimer(int id, int milliseconds)
{
    KillTimer(id);
    m_timers[startTimer(milliseconds)] = id;
}

void CDialog::KillTimer(int id)
{
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->second == id) {
            killTimer(it->first);
            m_timers.erase(it);
            return;
        }
    }
}

bool CDialog::HasTimer(int id) const
{
    for (const auto& [qtId, ownId] : m_timers)
        if (ownId == id)
            return true;
    return false;
}

void CDialog::SetTemplate(const QString& title, int widthUnits, int heightUnits)
{
    setWindowTitle(title);
    setFixedSize(MapDialogRect(QRect(0, 0, widthUnits, heightUnits)).size());
}

void CDialog::PlaceControl(QWidget* control, int id, const QRect& units)
{
    if (id != IDC_STATIC)
        control->setObjectName(QString::number(id));
    control->setProperty(kControlIdProperty, id);
    control->setGeometry(MapDialogRect(units));
}

QLabel* CDialog::AddStatic(int id, int x, int y, int width, int height, const QString& text, Qt::Alignment alignment)
{
    auto* label = AddControl<QLabel>(id, x, y, width, height);
    label->setText(text);
    label->setAlignment(alignment);
    QRect area = label->geometry();
    const int needed = label->fontMetrics().horizontalAdvance(text);
    if (needed > area.width()) {
        if (alignment & Qt::AlignRight)
            area.setLeft(std::max(0, area.right() + 1 - needed));
        else
            area.setWidth(needed);
        label->setGeometry(area);
    }
    return label;
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::accept()
{
    OnOK();
}

void CDialog::reject()
{
    OnCancel();
}

void CDialog::showEvent(QShowEvent* event)
{
    InitDialog();
    QDialog::showEvent(event);
}

void CDialog::timerEvent(QTimerEvent* event)
{
    const auto it = m_timers.find(event->timerId());
    if (it == m_timers.end()) {
        QDialog::timerEvent(event);
        return;
    }
    OnTimer(it->second);
}

QPushButton* CDialog::AddOkButton(int x, int y, int width, int height)
{
    auto* ok = AddControl<QPushButton>(IDOK, x, y, width, height);
    ok->setText(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    return ok;
}

std::optional<int> ControlIdOf(const QWidget* widget)
{
    const QVariant id = widget ? widget->property(kControlIdProperty) : QVariant();
    return id.isValid() ? std::optional<int>(id.toInt()) : std::nullopt;
}
