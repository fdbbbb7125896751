#pragma once

#include <string>

class CTarelogDoc;
class DiaryEditor;
class QString;
class QWidget;
struct WeightImport;

// Imports another program's export dropped on the window into the open
// diary, through the same code as tarelog-cli import: after a confirmation
// that shows what the merge would do (days added, replaced, skipped, the
// unit), the diary takes the merged days and is modified, so not saving
// undoes the import, and so does one undo through `editor`. A file in
// another unit than the diary's is converted only when the person agrees;
// unreadable rows are skipped only when they agree to the summary that
// counts them.
void ImportDroppedExport(QWidget* parent, const QString& path, CTarelogDoc& doc, DiaryEditor* editor = nullptr);

// The same questions and summary for days read from elsewhere (`name` says
// from where, as a file's name would), and on OK the merge as one step of
// `editor` named `stepName`. `import` holds at least one weighing.
void MergeImportAsking(QWidget* parent, const QString& name, WeightImport& import, CTarelogDoc& doc,
    DiaryEditor* editor, const std::string& stepName);

// Whether the file is an export ImportDroppedExport reads (by its content).
bool IsDroppableExport(const QString& path);
