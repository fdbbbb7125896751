#include "view/qt/tarelog_view.h"

#include "doc/tarelog_doc.h"
#include "platform/qt/frame_wnd.h"
#include "platform/qt/framework_ids.h"
#include "platform/qt/qpainter_surface.h"
#include "view/data_command_ids.h"
#include "view/draw_graph.h"

#include <QMouseEvent>
#include <QPainter>

CTarelogView::CTarelogView(ProfileStore& profile, DataDialogs dialogs, QWidget* parent)
    : CView(parent)
    , m_profile(profile)
    , m_dialogs(std::move(dialogs))
{
    m_state.LoadColors(m_profile);
    BindCommands();
}

CTarelogView::~CTarelogView()
{
    m_state.SaveColors(m_profile);
}

CTarelogDoc* CTarelogView::GetDocument() const
{
    return static_cast<CTarelogDoc*>(CView::GetDocument());
}

void CTarelogView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    if (!s_reopenPending)
        return;
    // Handled once start-up has finished and the window is shown.
    if (auto* frame = qobject_cast<CFrameWnd*>(window()))
        PostCommand(frame, ID_FILE_MRU_FILE1);
    s_reopenPending = false;
}

void CTarelogView::OnDraw(QPainter& painter)
{
    if (!GetDocument())
        return;
    QPainterSurface surface(painter, &m_texts);
    DrawGraph(surface, Rect{0, 0, width(), height()}, *GetDocument(), m_state, m_profile);
}

void CTarelogView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Posted, not run here: the entry dialog opens after the double-click
    // has been handled, by the same road as the menu command.
    PostCommand(this, ID_DATA_NEW);
    CView::mouseDoubleClickEvent(event);
}

void CTarelogView::BindCommands()
{
    OnCommand(ID_DATA_NEW, [this] {
        if (GetDocument())
            m_dialogs.weightEntry(*GetDocument(), this);
        update();
    });
    // Always enabled: the default state is left as it is.
    OnUpdateCommand(ID_DATA_NEW, [](CCmdUI&) {});
    OnCommand(ID_DATA_EDIT, [this] {
        if (GetDocument())
            m_dialogs.editList(*GetDocument(), this);
        update();
    });
    OnCommand(ID_DATA_COLOR, [this] {
        m_dialogs.color(m_state.m_colorSlots, this);
        update();
    });
    OnCommand(ID_DATA_UNIT, [this] {
        if (GetDocument())
            m_dialogs.unitDigits(*GetDocument(), m_profile, this);
        update();
    });
    BindAverage(ID_AVG_NARROW, AverageKind::Narrow);
    BindAverage(ID_AVG_NORMAL, AverageKind::Normal);
    BindAverage(ID_AVG_WIDE, AverageKind::Wide);
}

void CTarelogView::BindAverage(int id, AverageKind kind)
{
    OnCommand(id, [this, kind] {
        ToggleAverage(m_state, kind);
        update();
    });
    OnUpdateCommand(id, [this, kind](CCmdUI& ui) { ui.SetCheck(AverageSwitch(m_state, kind)); });
}
