#include "view/qt/tarelog_view.h"

#include "diary/diary_editor.h"
#include "diary/diary_file_error.h"
#include "diary/diary_stats.h"
#include "diary/tarelog_doc.h"
#include "platform/format.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/frame_wnd.h"
#include "platform/qt/framework_ids.h"
#include "platform/qt/message_box.h"
#include "platform/qt/qpainter_surface.h"
#include "view/view_command_ids.h"
#include "view/draw_graph.h"
#include "view/qt/graph_image.h"
#include "view/shown_days_text.h"
#include "view/start_reopen.h"
#include "view/status_text.h"
#include "view/pointing_text.h"
#include "view/view_settings.h"
#include "view/window_graph.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

CTarelogView::CTarelogView(CTarelogDoc& diary, ProfileStore& profile, DataDialogs dialogs, QWidget* parent,
    DiaryEditor* editor, StartReopen* reopen)
    : CView(parent)
    , m_diary(&diary)
    , m_profile(profile)
    , m_dialogs(std::move(dialogs))
    , m_editor(editor)
    , m_reopen(reopen)
{
    SetDocument(&diary);
    m_state.LoadColors(m_profile);
    LoadViewMenuSettings(m_state, m_profile);
    BindCommands();
    // Pointing reads a day without a button pressed, and the arrows move
    // the mark once the graph has the focus.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("体重のグラフ"));
}

CTarelogView::~CTarelogView()
{
    m_state.SaveColors(m_profile);
}

void CTarelogView::OnInitialUpdate()
{
    // A new or opened diary brings its own goal.
    m_state.m_goal = GetDocument() ? LoadGoal(m_profile, GetDocument()->GetPathName()) : std::nullopt;
    // Another diary has other days.
    m_state.m_zoom.reset();
    m_marked.reset();
    m_drag.reset();
    CView::OnInitialUpdate();
    if (!m_reopen || !m_reopen->TakeReopen())
        return;
    // Handled once start-up has finished and the window is shown.
    if (auto* frame = qobject_cast<CFrameWnd*>(window()))
        PostCommand(frame, ID_FILE_MRU_FILE1);
}

void CTarelogView::OnUpdate(CDocument* document, long hint)
{
    // Indexes move when days come and go.
    m_marked.reset();
    CView::OnUpdate(document, hint);
    RefreshStatus();
}

void CTarelogView::OnDraw(QPainter& painter)
{
    if (!GetDocument())
        return;
    QPainterSurface surface(painter, &m_texts);
    m_layout = DrawWindowGraph(surface, Rect{0, 0, width(), height()}, *GetDocument(), m_state, m_profile,
        &m_paintCache, m_marked);
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
        Edit("新規入力", [this](CTarelogDoc& doc) { m_dialogs.weightEntry(doc, this); });
        update();
        RefreshStatus();
    });
    // Always enabled: the default state is left as it is.
    OnUpdateCommand(ID_DATA_NEW, [](CCmdUI&) {});
    // One run of the list editor is one step: it has no OK or Cancel, and
    // undoing afterwards brings the whole list back as it was opened.
    OnCommand(ID_DATA_EDIT, [this] {
        Edit("変更、修正", [this](CTarelogDoc& doc) { m_dialogs.editList(doc, this); });
        update();
        RefreshStatus();
    });
    OnCommand(ID_DATA_COLOR, [this] {
        m_dialogs.color(m_state.m_colorSlots, this);
        update();
    });
    OnCommand(ID_DATA_UNIT, [this] {
        Edit("単位、少数桁", [this](CTarelogDoc& doc) { m_dialogs.unitDigits(doc, m_profile, this); });
        update();
        RefreshStatus();
    });
    BindAverage(ID_AVG_NARROW, AverageKind::Narrow);
    BindAverage(ID_AVG_NORMAL, AverageKind::Normal);
    BindAverage(ID_AVG_WIDE, AverageKind::Wide);
    BindViewMenu();
    OnCommand(ID_FILE_SAVE_GRAPH, [this] { OnSaveGraph(); });
    OnCommand(ID_EDIT_COPY, [this] { OnCopy(); });
}

void CTarelogView::Edit(const char* name, const std::function<void(CTarelogDoc&)>& change)
{
    if (CTarelogDoc* doc = GetDocument())
        EditDiary(m_editor, *doc, name, change);
}

void CTarelogView::BindViewMenu()
{
    for (const RangeChoice& choice : kRangeChoices) {
        const int days = choice.days;
        OnCommand(choice.id, [this, days] {
            m_state.m_rangeDays = days;
            m_state.m_zoom.reset();
            ChangeView();
            RefreshStatus();
        });
        OnUpdateCommand(choice.id, [this, days](CCmdUI& ui) { ui.SetRadio(m_state.m_rangeDays == days); });
    }
    OnCommand(ID_VIEW_FILL, [this] {
        m_state.m_fill = !m_state.m_fill;
        ChangeView();
    });
    OnUpdateCommand(ID_VIEW_FILL, [this](CCmdUI& ui) { ui.SetCheck(m_state.m_fill); });
    OnCommand(ID_VIEW_TREND, [this] {
        m_state.m_trend = !m_state.m_trend;
        ChangeView();
    });
    OnUpdateCommand(ID_VIEW_TREND, [this](CCmdUI& ui) { ui.SetCheck(m_state.m_trend); });
    OnCommand(ID_VIEW_GOAL, [this] { OnGoal(); });
}

void CTarelogView::ChangeView()
{
    SaveViewMenuSettings(m_state, m_profile);
    update();
}

void CTarelogView::OnGoal()
{
    const std::optional<std::optional<double>> goal = m_dialogs.goal(m_state.m_goal, this);
    if (!goal)
        return;
    m_state.m_goal = *goal;
    // An unsaved diary keeps its goal until the window closes.
    if (GetDocument())
        SaveGoal(m_profile, GetDocument()->GetPathName(), m_state.m_goal);
    update();
    RefreshStatus();
}

void CTarelogView::OnSaveGraph()
{
    CTarelogDoc* doc = GetDocument();
    if (!doc)
        return;
    const QString diary = QString::fromStdString(doc->GetPathName());
    const QString suggested = diary.isEmpty()
        ? QString()
        : QFileInfo(diary).path() + QLatin1Char('/') + QFileInfo(diary).completeBaseName() + QStringLiteral(".png");
    const QString path = AskSaveFileName(this, suggested, QStringLiteral("PNG 画像 (*.png);;SVG 画像 (*.svg)"),
        QStringLiteral(".png"));
    if (path.isEmpty())
        return;
    const std::optional<GraphImageKind> kind = GraphImageKindOf(path.toStdString());
    if (kind != GraphImageKind::Png && kind != GraphImageKind::Svg) {
        ShowMessageBox(QStringLiteral("グラフの画像は、名前が .png か .svg で終わるファイルに保存します。"),
            MB_OK | MB_ICONWARNING, this);
        return;
    }
    // What the window shows: its own size, settings and profile.
    const Status<GraphImageError> written = WriteGraphImage(path.toStdString(), *kind, width(), height(), *doc, m_state,
        m_profile);
    if (written)
        return;
    const GraphImageError& error = written.error();
    const QString message = error.failure
        ? QString::fromStdString(
            FileOperationError(DiaryFileError::Kind::CannotWrite, path.toStdString(), *error.failure).JapaneseMessage())
        : QStringLiteral("グラフの画像を作れませんでした（メモリが足りません）。");
    ShowMessageBox(message, MB_OK | MB_ICONERROR, this);
}

void CTarelogView::OnCopy()
{
    const CTarelogDoc* doc = GetDocument();
    if (!doc)
        return;
    // The picture as "グラフを画像で保存..." would write it, and the shown days.
    auto data = std::make_unique<QMimeData>();
    for (const auto& [kind, type] :
        {std::pair{GraphImageKind::Png, "image/png"}, {GraphImageKind::Svg, "image/svg+xml"}}) {
        const Result<std::string, GraphImageError> bytes = GraphImageBytes(kind, width(), height(), *doc, m_state,
            m_profile);
        if (bytes)
            data->setData(QString::fromLatin1(type), QByteArray::fromStdString(*bytes));
    }
    data->setText(QString::fromStdString(ShownDaysText(*doc, m_state.m_rangeDays)));
    QGuiApplication::clipboard()->setMimeData(data.release());
}

void CTarelogView::RefreshStatus()
{
    const CTarelogDoc* doc = GetDocument();
    if (!doc)
        return;
    const DiaryStats stats = ComputeDiaryStats(doc->Records());
    const std::string marked = MarkedText();
    RefreshAccessibleText(stats, marked);
    auto* frame = qobject_cast<CFrameWnd*>(window());
    if (!frame)
        return;
    // A marked day is read in the status bar until the pointer leaves.
    if (!marked.empty()) {
        frame->SetIdleText(QString::fromStdString(marked));
        return;
    }
    std::string text = IdleStatusText(stats, m_state.m_goal, ToUtf8(doc->m_unit));
    if (m_state.m_zoom)
        text = ShownSpanText(*m_state.m_zoom) + (text.empty() ? "" : "\u3000") + text;
    frame->SetIdleText(QString::fromStdString(text));
}

void CTarelogView::BindAverage(int id, AverageKind kind)
{
    OnCommand(id, [this, kind] {
        ToggleAverage(m_state, kind);
        update();
    });
    OnUpdateCommand(id, [this, kind](CCmdUI& ui) { ui.SetCheck(AverageSwitch(m_state, kind)); });
}
