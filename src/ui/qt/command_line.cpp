#include "ui/qt/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace kazunavi {

namespace {

// Qt's own options for every GUI program, taken by the window's start.
constexpr const char* kQtOptionsWithValue[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
    "style",       "stylesheet",         "name",          "title"};
constexpr const char* kQtFlags[] = {"reverse", "widgetcount", "sync", "nograb", "dograb"};

void hide(QCommandLineParser& parser, QCommandLineOption option) {
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
}

}  // namespace

std::optional<int> answerCommandLine(int argc, char* argv[]) {
    if (argc <= 1) {
        return std::nullopt;  // nothing to read
    }
    const QCoreApplication reader(argc, argv);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "Steps the running number of a web address copied to the clipboard and sends the web "
        "browser to each new address. Quit with the red lamp at the top left."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    for (const char* name : kQtOptionsWithValue) {
        hide(parser, QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("v")));
    }
    for (const char* name : kQtFlags) {
        hide(parser, QCommandLineOption(QString::fromLatin1(name)));
    }
    const auto fail = [](const QString& why) {
        std::fprintf(stderr, "kazunavi: %s\nTry 'kazunavi --help'.\n",
                     why.toLocal8Bit().constData());
        return 1;
    };
    if (!parser.parse(QCoreApplication::arguments())) {
        return fail(parser.errorText());
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("Kazunavi %s\n", QCoreApplication::applicationVersion().toLatin1().constData());
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return fail(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments()[0]));
    }
    return std::nullopt;
}

}  // namespace kazunavi
