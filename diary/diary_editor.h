#pragma once

#include <functional>
#include <string>

class CTarelogDoc;

// The road every change the window makes to the diary takes, so that the
// change can be undone: the application keeps each one as a step of its
// undo history. A change made beside it (straight on the document) is not
// undoable, and is treated like days that came from the disk.
class DiaryEditor {
public:
    virtual ~DiaryEditor() = default;

    // Runs `change` on the diary and keeps whatever it changed (days, unit,
    // digits) as one step named `name` (UTF-8, Japanese: what the person
    // did). A change that changes nothing leaves no step. `change` sets the
    // modified flag and updates the views itself, as the dialogs do.
    virtual void Record(const std::string& name, const std::function<void(CTarelogDoc&)>& change) = 0;

    // The diary the editor changes, or null before one is attached.
    virtual CTarelogDoc* Document() const = 0;

    // One day's weight put in or replaced, as the entry dialog does.
    void SetDay(int year, int month, int day, double weight);
    // Every record of the day taken out, as the list editor's "削除" does.
    void RemoveDay(int year, int month, int day);
};

// The change run through `editor` when there is one, straight on `doc`
// when there is none (a view made without an application, in tests).
void EditDiary(DiaryEditor* editor, CTarelogDoc& doc, const std::string& name,
    const std::function<void(CTarelogDoc&)>& change);
