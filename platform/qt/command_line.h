#pragma once

#include <QString>
#include <QStringList>

// The options every desktop program takes, read with QCommandLineParser:
// --help and --version are answered on the terminal before any window
// opens; what remains are the files named. The window system's own options
// (-platform, -style...) are QApplication's and are taken out before the
// second reading.
struct StandardOptions {
    enum Action { Run, Exit };
    Action action = Run;
    int exitCode = 0;
    QString output; // for stdout when the program exits at once
    QString error;  // for stderr
    QStringList files;
};

// `arguments` starts with the program's name. With `strict` false, options
// the parser does not know are let through for QApplication to take.
// `fileHelp` describes the FILE argument in the help.
StandardOptions ReadStandardOptions(const QStringList& arguments, const QString& description, bool strict,
    const QString& fileHelp = QString());
