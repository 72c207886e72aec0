// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/resulthistory.h"
#include "platform/fittingcache.h"
#include "platform/realservices.h"
#include "shell/registry.h"
#include "shell/start.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>
#include <cstdio>
#include <optional>

namespace {

const QString helpText
    = QStringLiteral("Aufruf: korvane [Optionen]\n"
                     "Vier kurze Tests der Geschicklichkeit: Reaktion, Gedächtnis, Geschicklichkeit und Kopfrechnen.\n"
                     "\n"
                     "Optionen:\n"
                     "  -h, --help     Zeigt diese Hilfe an.\n"
                     "  -v, --version  Zeigt die Versionsnummer an.\n"
                     "\n"
                     "Außerdem nimmt Korvane die Optionen von Qt an, etwa -platform xcb oder -style Fusion.\n");
const QString unknownOption
    = QStringLiteral("korvane: Unbekannte Option „%1“. Eine Übersicht zeigt „korvane --help“.\n");
const QString missingValue
    = QStringLiteral("korvane: Nach „%1“ fehlt ein Wert. Eine Übersicht zeigt „korvane --help“.\n");
const QString unexpectedArgument
    = QStringLiteral("korvane: Unerwartetes Argument „%1“. Eine Übersicht zeigt „korvane --help“.\n");
const QString noDisplay = QStringLiteral(
    "Korvane braucht eine grafische Oberfläche, aber es ist keine zu finden (weder DISPLAY noch WAYLAND_DISPLAY ist "
    "gesetzt). Bitte starten Sie Korvane in einer grafischen Sitzung, oder wählen Sie mit -platform oder "
    "QT_QPA_PLATFORM eine andere Plattform.\n");

// A wrong command line ends with this code, as usual for a usage error.
constexpr int usageError = 2;
constexpr int noDisplayError = 1;

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// Qt's own options that take a value, so that they pass the check below.
const char *const qtValueOptions[]
    = { "platform", "platformpluginpath", "platformtheme", "plugin", "display", "style", "stylesheet", "geometry",
          "qwindowgeometry", "qwindowtitle", "qwindowicon", "name", "title", "session", "qmljsdebugger" };
const char *const qtFlags[] = { "reverse", "sync", "widgetcount", "nograb", "dograb" };

// The option as the player typed it (-x, --long or -long), found by its name.
QString asTyped(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments.mid(1)) {
        const QString typed = argument.section(QLatin1Char('='), 0, 0);
        if (typed.startsWith(QLatin1Char('-'))
            && QStringView(typed).mid(typed.startsWith(QStringLiteral("--")) ? 2 : 1) == name)
            return typed;
    }
    return name;
}

// What the command line asks for before any window opens: the exit code when
// the program is to end at once, else nothing. Needs no display.
std::optional<int> readCommandLine(const QStringList &arguments, QString *platform)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({ "h", "help" }, {});
    const QCommandLineOption version({ "v", "version" }, {});
    parser.addOptions({ help, version });
    for (const char *name : qtValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), {}, QStringLiteral("x"));
        parser.addOption(option);
    }
    for (const char *name : qtFlags)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        print(stderr,
            unknown.isEmpty() ? missingValue.arg(arguments.last())
                              : unknownOption.arg(asTyped(arguments, unknown.first())));
        return usageError;
    }
    if (parser.isSet(help)) {
        print(stdout, helpText);
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("Korvane %1\n").arg(QStringLiteral(KORVANE_VERSION)));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr, unexpectedArgument.arg(parser.positionalArguments().first()));
        return usageError;
    }
    *platform = parser.value(QStringLiteral("platform"));
    return std::nullopt;
}

// Chooses X where a Wayland session also offers it: Wayland lets no program
// move the pointer, which the dexterity test does. Ends at once, with a German
// message instead of Qt's abort, where no display is to be had.
std::optional<int> choosePlatform(const QString &platformOption)
{
    const bool chosen = !platformOption.isEmpty() || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    const bool x = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (chosen)
        return std::nullopt;
    if (!x && !wayland) {
        print(stderr, noDisplay);
        return noDisplayError;
    }
    if (x && wayland)
        qputenv("QT_QPA_PLATFORM", "xcb");
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    platform::setIdentity();
    QString platformOption;
    if (const std::optional<int> exitCode = readCommandLine(arguments, &platformOption))
        return *exitCode;
    if (const std::optional<int> exitCode = choosePlatform(platformOption))
        return *exitCode;

    QApplication app(argc, argv);
    // The registry ends the program when its last window unloads, not Qt.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/korvane.png")));
    // Qt's own texts (context menus, standard buttons) in German, as the program's; without them, in English.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    // The sizes fitting found at the last run: the start window opens sooner with them.
    platform::FittingCache fitting(
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/fitting"),
        platform::fittingEnvironment());
    platform::FittingCache::use(&fitting);

    platform::RealServices real([](platform::Dialogs &dialogs, platform::Program &program) {
        return std::make_unique<history::ResultHistory>(dialogs, program);
    });
    WindowRegistry registry(real.services());
    real.program().onShowStart = [&registry] { registry.start().setVisible(true); };

    registry.start().setVisible(true);
    const int exitCode = QApplication::exec();
    fitting.save();
    return exitCode;
}
