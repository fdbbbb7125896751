// The graph window's pointing, keyboard marking, context menu, zoom and
// pan: the parts of CTarelogView that read the last paint's layout.
#include "view/qt/tarelog_view.h"

#include "diary/diary_stats.h"
#include "diary/tarelog_doc.h"
#include "platform/format.h"
#include "platform/qt/frame_wnd.h"
#include "view/view_command_ids.h"
#include "view/day_pointing.h"
#include "view/graph_zoom.h"
#include "view/pointing_text.h"
#include "view/record_days.h"
#include "view/view_settings.h"
#include "view/window_graph.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// A wheel notch zooms by a fifth; a pixel or two of drag is a click.
constexpr double kNotchFactor = 0.8;
constexpr int kDragThreshold = 3;

} // namespace

void CTarelogView::MarkAt(int x)
{
    const CTarelogDoc* doc = GetDocument();
    if (!doc)
        return;
    const ShownRecords shown = ShownRecordsOf(*doc, m_state);
    const std::optional<std::size_t> i = NearestShownRecord(shown.Records(), m_layout, x);
    Mark(i ? std::optional<std::size_t>(shown.DiaryIndex(*i)) : std::nullopt);
}

void CTarelogView::Mark(std::optional<std::size_t> diaryIndex)
{
    if (diaryIndex == m_marked)
        return;
    m_marked = diaryIndex;
    update();
    RefreshStatus();
}

void CTarelogView::MoveMark(int key)
{
    const CTarelogDoc* doc = GetDocument();
    if (!doc)
        return;
    const ShownRecords shown = ShownRecordsOf(*doc, m_state);
    const std::size_t count = shown.Records().size();
    if (count == 0)
        return;
    const std::optional<std::size_t> current = m_marked ? ShownIndexOf(shown, *m_marked) : std::nullopt;
    std::size_t next = 0;
    switch (key) {
    case Qt::Key_Home: next = 0; break;
    case Qt::Key_End: next = count - 1; break;
    // Without a mark, Left starts from the latest day and Right from the first.
    case Qt::Key_Left: next = current ? (*current > 0 ? *current - 1 : 0) : count - 1; break;
    default: next = current ? std::min(*current + 1, count - 1) : 0; break;
    }
    Mark(shown.DiaryIndex(next));
}

std::string CTarelogView::MarkedText()
{
    CTarelogDoc* doc = GetDocument();
    if (!doc || !m_marked || *m_marked >= doc->Records().size())
        return {};
    const double trend = m_paintCache.Trend(*doc)[*m_marked];
    return MarkedDayText(doc->Records()[*m_marked], trend, doc->m_digits, ToUtf8(doc->m_unit));
}

void CTarelogView::RefreshAccessibleText(const DiaryStats& stats, const std::string& marked)
{
    const CTarelogDoc* doc = GetDocument();
    const ShownRecords shown = ShownRecordsOf(*doc, m_state);
    setAccessibleDescription(
        QString::fromStdString(GraphDescription(shown.Records(), stats, doc->m_digits, ToUtf8(doc->m_unit), marked)));
}

void CTarelogView::ZoomAt(int x, double factor)
{
    const CTarelogDoc* doc = GetDocument();
    if (!doc)
        return;
    const std::optional<DaySpan> diary = DiaryDays(*doc);
    const std::optional<DaySpan> shownDays = ShownDays(*doc, m_state);
    if (!diary || !shownDays)
        return;
    const ShownRecords shown = ShownRecordsOf(*doc, m_state);
    // The paint put the first shown record at the left margin; without a
    // paint to read, the zoom keeps the middle of the shown days.
    double around = static_cast<double>(shownDays->first + shownDays->last) / 2.0;
    if (m_layout.drawn && !shown.Records().empty())
        around = DayAtColumn(m_layout, RecordDays().Of(shown.Records()[0]), x);
    ShowZoom(ZoomedSpan(*shownDays, *diary, around, factor));
}

void CTarelogView::ShowZoom(std::optional<DaySpan> zoom)
{
    const CTarelogDoc* doc = GetDocument();
    if (!doc)
        return;
    if (zoom && zoom == DiaryDays(*doc))
        zoom.reset();
    // A span between two days far apart would show an empty graph: the
    // view stays where it was.
    if (zoom && ShownRecords(*doc, *zoom).Records().empty())
        return;
    if (zoom == m_state.m_zoom && (zoom || m_state.m_rangeDays == 0))
        return;
    m_state.m_zoom = zoom;
    if (!zoom && m_state.m_rangeDays != 0) {
        // Zoomed out to the whole diary: "全期間", as the menu would choose it.
        m_state.m_rangeDays = 0;
        SaveViewMenuSettings(m_state, m_profile);
    }
    update();
    RefreshStatus();
}

std::unique_ptr<QMenu> CTarelogView::MakeDayMenu()
{
    if (!m_marked)
        return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    connect(menu->addAction(QStringLiteral("この日を修正...")), &QAction::triggered, this,
        [this] { OnCorrectMarkedDay(); });
    connect(menu->addAction(QStringLiteral("この日を削除")), &QAction::triggered, this,
        [this] { OnDeleteMarkedDay(); });
    return menu;
}

void CTarelogView::OnCorrectMarkedDay()
{
    CTarelogDoc* doc = GetDocument();
    if (!doc || !m_marked || !m_dialogs.correctDay)
        return;
    const std::size_t index = *m_marked;
    // Through the undoable road, as the entry dialog's own command goes.
    Edit("この日を修正", [this, index](CTarelogDoc& diary) { m_dialogs.correctDay(diary, index, this); });
    update();
    RefreshStatus();
}

void CTarelogView::OnDeleteMarkedDay()
{
    CTarelogDoc* doc = GetDocument();
    if (!doc || !m_marked || !m_dialogs.deleteDay)
        return;
    const std::size_t index = *m_marked;
    const std::size_t before = doc->Records().size();
    Edit("この日を削除", [this, index](CTarelogDoc& diary) { m_dialogs.deleteDay(diary, index, this); });
    // The later days moved down by one: the index marks another day now.
    if (doc->Records().size() != before)
        m_marked.reset();
    update();
    RefreshStatus();
}

bool CTarelogView::event(QEvent* event)
{
    if (event->type() == QEvent::NativeGesture) {
        const auto* gesture = static_cast<QNativeGestureEvent*>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture) {
            // The value is how much the pinch grew since the last event.
            const double growth = 1.0 + gesture->value();
            if (growth > 0.0)
                ZoomAt(static_cast<int>(gesture->position().x()), 1.0 / growth);
            return true;
        }
    }
    return CView::event(event);
}

void CTarelogView::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        CView::wheelEvent(event);
        return;
    }
    // Away from the user zooms in, as maps do.
    ZoomAt(static_cast<int>(event->position().x()), std::pow(kNotchFactor, delta / 120.0));
    event->accept();
}

void CTarelogView::mousePressEvent(QMouseEvent* event)
{
    const CTarelogDoc* doc = GetDocument();
    if (event->button() == Qt::LeftButton && doc && m_layout.drawn) {
        if (const std::optional<DaySpan> shown = ShownDays(*doc, m_state))
            m_drag = Drag{event->position().toPoint(), *shown, m_layout.geometry.kx};
    }
    CView::mousePressEvent(event);
}

void CTarelogView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const CTarelogDoc* doc = GetDocument();
    if (m_drag && (event->buttons() & Qt::LeftButton) && doc && m_drag->kx > 0.0) {
        const int dx = at.x() - m_drag->start.x();
        if (std::abs(dx) >= kDragThreshold) {
            // The days follow the pointer: dragging right shows earlier days.
            const auto days = static_cast<std::int64_t>(std::llround(-dx / m_drag->kx));
            if (const std::optional<DaySpan> diary = DiaryDays(*doc))
                ShowZoom(PannedSpan(m_drag->shown, *diary, days));
        }
    }
    MarkAt(at.x());
    CView::mouseMoveEvent(event);
}

void CTarelogView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_drag.reset();
    CView::mouseReleaseEvent(event);
}

void CTarelogView::leaveEvent(QEvent* event)
{
    Mark(std::nullopt);
    CView::leaveEvent(event);
}

void CTarelogView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            MoveMark(event->key());
            return;
        }
        break;
    case Qt::Key_Escape:
        // The same road as "全期間".
        if (auto* frame = qobject_cast<CFrameWnd*>(window()))
            frame->RouteCommand(ID_VIEW_ALL);
        return;
    default: break;
    }
    CView::keyPressEvent(event);
}

void CTarelogView::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Mouse)
        MarkAt(event->pos().x());
    else if (!m_marked)
        MoveMark(Qt::Key_End);
    std::unique_ptr<QMenu> menu = MakeDayMenu();
    if (!menu)
        return;
    QPoint at = event->globalPos();
    // From the keyboard the menu opens at the marked day's point.
    if (event->reason() != QContextMenuEvent::Mouse && GetDocument()) {
        const ShownRecords shown = ShownRecordsOf(*GetDocument(), m_state);
        if (const std::optional<std::size_t> i = ShownIndexOf(shown, *m_marked); i && m_layout.drawn) {
            const Point point = ShownRecordPoint(shown.Records(), m_layout, *i);
            at = mapToGlobal(QPoint(point.x, point.y));
        }
    }
    menu->exec(at);
}
