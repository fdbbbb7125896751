#include "platform/qt/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

StandardOptions ReadStandardOptions(const QStringList& arguments, const QString& description, bool strict,
    const QString& fileHelp)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), fileHelp, QStringLiteral("[FILE]"));
    const bool parsed = parser.parse(arguments);

    StandardOptions options;
    if (parser.isSet(help)) {
        options.action = StandardOptions::Exit;
        options.output = parser.helpText();
    } else if (parser.isSet(version)) {
        options.action = StandardOptions::Exit;
        // "NAME 1.11": the command's own name, as the manual page calls it.
        const QString command = arguments.isEmpty() ? QCoreApplication::applicationName()
                                                    : QFileInfo(arguments.first()).fileName();
        options.output = command + QLatin1Char(' ') + QCoreApplication::applicationVersion() + QLatin1Char('\n');
    } else if (strict && !parsed) {
        options.action = StandardOptions::Exit;
        options.exitCode = 2;
        options.error = parser.errorText() + QLatin1Char('\n');
    } else {
        options.files = parser.positionalArguments();
    }
    return options;
}
