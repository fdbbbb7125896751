#pragma once

#include "platform/qt/graph_text_cache.h"
#include "platform/qt/view.h"
#include "view/graph_view_state.h"
#include "view/paint_cache.h"

#include <functional>
#include <optional>

class CTarelogDoc;
class DiaryEditor;
class ProfileStore;

// What the data menu's dialogs are, given by the application: the view
// binds the commands and repaints after each, without knowing the dialogs.
struct DataDialogs {
    std::function<void(CTarelogDoc& doc, QWidget* parent)> weightEntry;                       // 32771
    std::function<void(CTarelogDoc& doc, QWidget* parent)> editList;                          // 32772
    std::function<void(Color* colorSlots, QWidget* parent)> color;                            // 32775
    std::function<void(CTarelogDoc& doc, ProfileStore& profile, QWidget* parent)> unitDigits; // 32776
    // The goal after OK (none for no goal); nothing when cancelled.
    std::function<std::optional<std::optional<double>>(std::optional<double> goal, QWidget* parent)> goal;
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
class CTarelogView : public CView {
    Q_OBJECT
public:
    CTarelogView(ProfileStore& profile, DataDialogs dialogs, QWidget* parent = nullptr, DiaryEditor* editor = nullptr);
    ~CTarelogView() override;

    CTarelogDoc* GetDocument() const;
    const GraphViewState& State() const { return m_state; }

    void OnInitialUpdate() override;
    void OnUpdate(CDocument* document, long hint) override;
    // About the client area of the handheld the program was made for.
    QSize sizeHint() const override { return QSize(240, 320); }

    // True until the first initial update of the process has asked the
    // main window to reopen the most recent file. Start-up clears it to skip
    // the reopen; tests set it again to start as a fresh process would.
    static bool ReopenPending() { return s_reopenPending; }
    static void SetReopenPending(bool pending) { s_reopenPending = pending; }

protected:
    void OnDraw(QPainter& painter) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

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

    static inline bool s_reopenPending = true;

    ProfileStore& m_profile;
    DataDialogs m_dialogs;
    DiaryEditor* m_editor = nullptr;
    GraphViewState m_state;
    // The labels of one paint come back in the next.
    GraphTextCache m_texts;
    // And the diary's trend and weight range, until its records change.
    PaintCache m_paintCache;
};
