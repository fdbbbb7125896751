#pragma once

class CTarelogDoc;
class QString;
class QWidget;

// Imports another program's export dropped on the window into the open
// diary, through the same code as tarelog-cli import: after a confirmation
// that shows what the merge would do (days added, replaced, skipped, the
// unit), the diary takes the merged days and is modified, so not saving
// undoes the import. A file in another unit than the diary's is converted
// only when the person agrees; unreadable rows are skipped only when they
// agree to the summary that counts them.
void ImportDroppedExport(QWidget* parent, const QString& path, CTarelogDoc& doc);

// Whether the file is an export ImportDroppedExport reads (by its content).
bool IsDroppableExport(const QString& path);
