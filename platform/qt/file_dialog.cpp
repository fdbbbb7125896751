#include "platform/qt/file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

FileDialogResponder& Responder()
{
    static FileDialogResponder responder;
    return responder;
}

QString AskUser(FileDialogKind kind, QWidget* parent, const QString& suggestedPath, const QString& filter,
    const QString& extension)
{
    QFileDialog dialog(parent, QString(), suggestedPath, filter);
    dialog.setAcceptMode(kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(kind == FileDialogKind::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(extension.mid(1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

} // namespace

QString WithDefaultExtension(const QString& path, const QString& extension)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    // "name." asks for no extension on the window system we follow; here it
    // would only make a file nobody can find by type, so it gets one too.
    if (path.endsWith(QLatin1Char('.')))
        return path + extension.mid(1);
    return path + extension;
}

QString AskFileName(FileDialogKind kind, QWidget* parent, const QString& suggestedPath, const QString& filterName,
    const QString& extension)
{
    const QString filter = QStringLiteral("%1 (*%2)").arg(filterName, extension);
    QString chosen = Responder() ? Responder()(kind, suggestedPath)
                                 : AskUser(kind, parent, suggestedPath, filter, extension);
    if (kind == FileDialogKind::Save)
        chosen = WithDefaultExtension(chosen, extension);
    return chosen;
}

QString AskSaveFileName(QWidget* parent, const QString& suggestedPath, const QString& filters, const QString& extension)
{
    const QString chosen = Responder() ? Responder()(FileDialogKind::Save, suggestedPath)
                                       : AskUser(FileDialogKind::Save, parent, suggestedPath, filters, extension);
    return WithDefaultExtension(chosen, extension);
}

void SetFileDialogResponder(FileDialogResponder responder)
{
    Responder() = std::move(responder);
}
