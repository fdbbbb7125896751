#pragma once

#include "platform/qt/graph_text_cache.h"
#include "platform/qt/view.h"
#include "view/draw_graph.h"
#include "view/graph_view_state.h"
#include "view/paint_cache.h"

#include <QPoint>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

class CTarelogDoc;
class DiaryEditor;
class QMenu;
struct DiaryStats;
class ProfileStore;
class StartReopen;

// What the data menu's dialogs are, given by the application: the view
// binds the commands and repaints after each, without knowing the dialogs.
struct DataDialogs {
    std::function<void(CTarelogDoc& doc, QWidget* parent)> weightEntry;                       // 32771
    std::function<void(CTarelogDoc& doc, QWidget* parent)> editList;                          // 32772
    std::function<void(Color* colorSlots, QWidget* parent)> color;                            // 32775
    std::function<void(CTarelogDoc& doc, ProfileStore& profile, QWidget* parent)> unitDigits; // 32776
    // The goal after OK (none for no goal); nothing when cancelled.
    std::function<std::optional<std::optional<double>>(std::optional<double> goal, QWidget* parent)> goal;
    // The graph's context menu on the diary's record `index`: "この日を修正..."
    // and "この日を削除".
    std::function<void(CTarelogDoc& doc, std::size_t index, QWidget* parent)> correctDay;
    std::function<void(CTarelogDoc& doc, std::size_t index, QWidget* parent)> deleteDay;
};

// The graph window. It draws the whole graph of its document on every
// paint, holds the colour slots and average switches, binds the data and
// view menus' commands, and turns a double-click into the new-entry
// command. The colours come from the profile when the view is made and go
// back to it when the view is destroyed; the switches start off every time.
// The view menu's range, fill and trend are the user's and are written to
// the profile as they change; the goal is the diary's, kept under its path.
// While the status bar is idle it shows the trend, its weekly rate and the
// way to the goal. Every change the view makes to the diary goes through
// the application's DiaryEditor (when it has one), so it can be undone;
// Edit is that road.
//
// Pointing at the graph (or Left, Right, Home and End) marks a day and the
// status bar reads it; the context menu corrects or deletes the marked day.
// The wheel and a pinch zoom the date axis, dragging pans it, and "全期間"
// or Escape shows the whole diary again. Screen readers get the shown
// dates, the latest weight and trend, and the marked day.
class CTarelogView : public CView {
    Q_OBJECT
public:
    // Shows `diary`, which outlives the view. `reopen` says whether this
    // start still reopens the most recent diary (nothing is reopened
    // without it).
    CTarelogView(CTarelogDoc& diary, ProfileStore& profile, DataDialogs dialogs, QWidget* parent = nullptr,
        DiaryEditor* editor = nullptr, StartReopen* reopen = nullptr);
    ~CTarelogView() override;

    CTarelogDoc* GetDocument() const { return m_diary; }
    const GraphViewState& State() const { return m_state; }

    void OnInitialUpdate() override;
    void OnUpdate(CDocument* document, long hint) override;
    // About the client area of the handheld the program was made for.
    QSize sizeHint() const override { return QSize(240, 320); }

    // The diary's index of the marked day, if one is marked.
    std::optional<std::size_t> MarkedRecord() const { return m_marked; }
    // The context menu's two commands, on the marked day.
    void OnCorrectMarkedDay();
    void OnDeleteMarkedDay();
    // The context menu of the marked day; nothing while no day is marked.
    std::unique_ptr<QMenu> MakeDayMenu();

protected:
    void OnDraw(QPainter& painter) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void BindCommands();
    // Runs `change` on the document as one undoable step named `name`.
    void Edit(const char* name, const std::function<void(CTarelogDoc&)>& change);
    void OnCopy();
    void BindAverage(int id, AverageKind kind);
    void BindViewMenu();
    void ChangeView();
    void OnGoal();
    void OnSaveGraph();
    void RefreshStatus();
    // Pointing and zooming (graph_pointing.cpp).
    void MarkAt(int x);
    void Mark(std::optional<std::size_t> diaryIndex);
    void MoveMark(int key);
    void ZoomAt(int x, double factor);
    void ShowZoom(std::optional<DaySpan> zoom);
    void RefreshAccessibleText(const DiaryStats& stats, const std::string& marked);
    std::string MarkedText();

    CTarelogDoc* m_diary;
    ProfileStore& m_profile;
    DataDialogs m_dialogs;
    DiaryEditor* m_editor = nullptr;
    StartReopen* m_reopen = nullptr;
    GraphViewState m_state;
    // The labels of one paint come back in the next.
    GraphTextCache m_texts;
    // And the diary's trend and weight range, until its records change.
    PaintCache m_paintCache;
    // Where the last paint drew the shown records.
    GraphLayout m_layout;
    std::optional<std::size_t> m_marked;
    // A drag in progress: where it started and what was shown then.
    struct Drag {
        QPoint start;
        DaySpan shown;
        double kx;
    };
    std::optional<Drag> m_drag;
};
