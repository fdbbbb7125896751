#include "platform/qt/view.h"

#include "platform/qt/frame_wnd.h"

#include <QPainter>

CView::CView(QWidget* parent)
    : QWidget(parent)
{
    // The whole client area is painted on every paint; no system background.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CView::~CView()
{
    SetDocument(nullptr);
}

void CView::SetDocument(CDocument* document)
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
    m_pDocument = document;
    if (m_pDocument)
        m_pDocument->AddView(this);
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0);
}

void CView::OnUpdate(CDocument*, long)
{
    update();
}

bool CView::event(QEvent* event)
{
    if (event->type() == CommandEvent::EventType()) {
        // A command posted to the view takes the same road as the menu's.
        const int id = static_cast<CommandEvent*>(event)->Id();
        if (auto* frame = qobject_cast<CFrameWnd*>(window()))
            frame->RouteCommand(id);
        else if (OnCmdMsg(id))
            NotifyCommandRouted(id);
        return true;
    }
    return QWidget::event(event);
}

void CView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    OnDraw(painter);
}
