#pragma once

#include "diary/diary_editor.h"

#include <QUndoStack>
#include <cstdint>
#include <string>

class QWidget;

// The window's undo history: every change made through it becomes a step
// of a QUndoStack, whose clean index is the saved diary, so undoing back to
// it clears the modified mark and undoing past it sets the mark again.
//
// Days that reach the diary beside it (a reload, another writer's days
// merged on save, a sync engine's copies folded in, a recovery copy) are
// not steps: a step touches only its own days, and before an undo or a
// redo overwrites a day that changed since, the person is asked. Opening
// or starting another diary forgets the history (Clear).
class DiaryUndoStack : public DiaryEditor {
public:
    DiaryUndoStack();
    ~DiaryUndoStack() override;

    // The diary of the window: the history starts empty.
    void Attach(CTarelogDoc& doc);
    CTarelogDoc* Document() const override { return m_doc; }

    void Record(const std::string& name, const std::function<void(CTarelogDoc&)>& change) override;

    // Forgets every step: another diary is shown (New, Open).
    void Clear();

    bool CanUndo();
    bool CanRedo();
    // Undoes (redoes) the latest step. When a day it would put back has
    // changed since, asks over `parent` first and does nothing on No.
    void Undo(QWidget* parent);
    void Redo(QWidget* parent);

    const QUndoStack& Stack() const { return m_stack; }

private:
    void Sync();
    void Moved();

    CTarelogDoc* m_doc = nullptr;
    QUndoStack m_stack;
    // The diary's revision after the last change this history made or saw.
    std::uint64_t m_known = 0;
};
