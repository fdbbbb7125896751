#pragma once

class DiaryEditor;
class QWidget;

// Paste (Ctrl+V, Shift+Insert): the days in the clipboard's text, read as
// ReadPastedWeights reads them, merged into the editor's diary after the
// summary a dropped file shows, as one undoable step. Text without a day
// in it is said so and changes nothing.
void PasteDays(QWidget* parent, DiaryEditor& editor);
