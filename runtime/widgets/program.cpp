#include "program.h"

#include "fixedsizeguard.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace rt {

namespace {

// Options that QGuiApplication, QApplication and the platform plugins take for themselves.
constexpr const char* qtValueOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "geometry", "qwindowtitle", "title", "qwindowicon", "icon", "session", "style",
    "stylesheet", "display", "name", "visual", "ncols", "cmap", "qmljsdebugger"};
constexpr const char* qtFlagOptions[] = {"reverse", "testability", "widgetcount", "nograb", "dograb", "sync"};

void print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// The exit status when the command line asks for no game, nothing when the game is to start.
std::optional<int> answerCommandLine(int argc, char** argv, const ProgramInfo& info)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({help, version});
    for (const char* name : qtValueOptions)
        parser.addOption(QCommandLineOption(QLatin1String(name), {}, QStringLiteral("value")));
    for (const char* name : qtFlagOptions)
        parser.addOption(QCommandLineOption(QLatin1String(name)));

    const QString seeHelp = QStringLiteral("; se «%1 --help»\n").arg(info.name);
    if (!parser.parse(arguments)) {
        QString error = parser.errorText();
        if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
            // Named as typed, dashes and all, without any value after "=".
            const auto option = [](const QString& argument) { return argument.section(QLatin1Char('='), 0, 0); };
            const auto typed = std::find_if(arguments.cbegin() + 1, arguments.cend(), [&](const QString& argument) {
                QString name = option(argument);
                while (name.startsWith(QLatin1Char('-')))
                    name.remove(0, 1);
                return argument.startsWith(QLatin1Char('-')) && name == unknown.first();
            });
            error = QStringLiteral("ukjent valg «%1»").arg(typed != arguments.cend() ? option(*typed) : unknown.first());
        }
        if (error.endsWith(QLatin1Char('.')))
            error.chop(1);
        print(stderr, info.name + QStringLiteral(": ") + error + seeHelp);
        return 1;
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr, info.name + QStringLiteral(": tar ingen argumenter, fikk «%1»").arg(parser.positionalArguments().first()) + seeHelp);
        return 1;
    }
    if (parser.isSet(help)) {
        print(stdout, info.usage);
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, info.name + QLatin1Char(' ') + info.version + QLatin1Char('\n'));
        return 0;
    }
    return std::nullopt;
}

// While the application object is made, Qt reports a display it cannot open in several lines
// and then aborts. Those lines are held back: the program says it in one and ends, or, once
// the display is open, lets them through as they came.
class DisplayGuard final {
public:
    explicit DisplayGuard(QString name)
    {
        name_ = std::move(name);
        previous_ = qInstallMessageHandler(hold);
    }
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

    ~DisplayGuard()
    {
        qInstallMessageHandler(previous_);
        for (const Held& message : held_) {
            const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
            previous_ ? previous_(message.type, context, message.text) : qt_message_output(message.type, context, message.text);
        }
        held_.clear();
    }

private:
    struct Held {
        QtMsgType type;
        QByteArray category;
        QString text;
    };

    static void hold(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type != QtFatalMsg) {
            held_.push_back({type, QByteArray(context.category), text});
            return;
        }
        const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
        print(stderr, name_ + (noDisplay
            ? QStringLiteral(": finner ingen skjerm å vise spillet på (verken DISPLAY eller WAYLAND_DISPLAY er satt)\n")
            : QStringLiteral(": får ikke åpnet skjermen å vise spillet på\n")));
        std::_Exit(1);
    }

    static inline QString name_;
    static inline QtMessageHandler previous_ = nullptr;
    static inline std::vector<Held> held_;
};

QIcon drawnIcon(const QString& svgFile)
{
    QSvgRenderer renderer(svgFile);
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    for (const int side : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

int run(Form& startupForm)
{
    QGuiApplication::setQuitOnLastWindowClosed(false);
    const auto connection = QObject::connect(&startupForm, &Form::closed, qApp, [] { QCoreApplication::exit(0); });
    startupForm.load();
    startupForm.show();
    const int status = QCoreApplication::exec();
    QObject::disconnect(connection);
    return status;
}

int start(int& argc, char** argv, const ProgramInfo& info, const std::function<std::unique_ptr<Form>()>& makeStartupForm)
{
    if (const std::optional<int> status = answerCommandLine(argc, argv, info))
        return *status;
    std::optional<DisplayGuard> guard(std::in_place, info.name);
    QApplication app(argc, argv);
    guard.reset();
    FixedSizeGuard::installWhereNeeded();
    QCoreApplication::setApplicationName(info.name);
    QCoreApplication::setApplicationVersion(info.version);
    QGuiApplication::setDesktopFileName(info.desktopFileName);
    QGuiApplication::setWindowIcon(drawnIcon(info.iconFile));
    const std::unique_ptr<Form> startupForm = makeStartupForm();
    return run(*startupForm);
}

} // namespace rt
