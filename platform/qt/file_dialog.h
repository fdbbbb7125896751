#pragma once

#include <QString>
#include <functional>

class QWidget;

enum class FileDialogKind { Open, Save };

// The open and save dialogs of the document commands, filtered on one file
// type: `filterName` and `extension` (".ext") make "name (*.ext)". Returns
// the chosen path, empty when the user cancelled. A saved name without an
// extension gets `extension`.
QString AskFileName(FileDialogKind kind, QWidget* parent, const QString& suggestedPath, const QString& filterName,
    const QString& extension);

// A save dialog offering several file types, `filters` in Qt's form
// ("PNG (*.png);;SVG (*.svg)"); a name chosen without an extension gets
// `extension`. Tests answer it through the same responder.
QString AskSaveFileName(QWidget* parent, const QString& suggestedPath, const QString& filters,
    const QString& extension);

// `path`, or `path` + `extension` when its file name has no extension.
QString WithDefaultExtension(const QString& path, const QString& extension);

// Tests choose files without a person: while a responder is set, it is
// asked instead of a dialog being shown. It returns the path or empty.
using FileDialogResponder = std::function<QString(FileDialogKind kind, const QString& suggestedPath)>;
void SetFileDialogResponder(FileDialogResponder responder);
