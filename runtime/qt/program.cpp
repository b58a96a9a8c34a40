// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program.h"

#include "fixedsizeguard.h"
#include "nativewidgets.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <vector>

namespace rt {

namespace {

// Options that QGuiApplication, QApplication and the platform plugins take for themselves. Qt
// reads the value of most as the next argument; only these few also take it after "=".
constexpr const char* qtValueOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "geometry", "qwindowtitle", "title", "qwindowicon", "icon", "session", "display",
    "name", "visual", "ncols", "cmap"};
constexpr const char* qtValueOptionsWithEquals[] = {"style", "stylesheet", "qmljsdebugger"};
constexpr const char* qtFlagOptions[] = {"reverse", "testability", "widgetcount", "nograb", "dograb", "sync"};

void print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// An option as typed, dashes and all, without a value after "="; and its bare name.
QString typedOption(const QString& argument)
{
    return argument.section(QLatin1Char('='), 0, 0);
}

QString optionName(const QString& argument)
{
    QString name = typedOption(argument);
    while (name.startsWith(QLatin1Char('-')))
        name.remove(0, 1);
    return name;
}

// What is wrong with the command line, in a few words; empty when nothing is.
QString commandLineError(QCommandLineParser& parser, const QStringList& arguments)
{
    const auto typed = [&](const QString& name) {
        const auto found = std::find_if(arguments.cbegin() + 1, arguments.cend(), [&](const QString& argument) {
            return argument.startsWith(QLatin1Char('-')) && optionName(argument) == name;
        });
        return found != arguments.cend() ? typedOption(*found) : name;
    };
    if (!parser.parse(arguments)) {
        if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty())
            return QStringLiteral("ukjent valg «%1»").arg(typed(unknown.first()));
        // The parser's own words for the two other faults it knows.
        static const QRegularExpression missing(QStringLiteral("^Missing value after '(.*)'"));
        static const QRegularExpression unexpected(QStringLiteral("^Unexpected value after '(.*)'"));
        if (const auto match = missing.match(parser.errorText()); match.hasMatch())
            return QStringLiteral("valget «%1» mangler en verdi").arg(match.captured(1));
        if (const auto match = unexpected.match(parser.errorText()); match.hasMatch())
            return QStringLiteral("valget «%1» tar ingen verdi").arg(typedOption(match.captured(1)));
        return parser.errorText();
    }
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break;
        if (argument.startsWith(QLatin1Char('-')) && argument.contains(QLatin1Char('='))
            && std::any_of(std::begin(qtValueOptions), std::end(qtValueOptions),
                [&](const char* name) { return optionName(argument) == QLatin1String(name); }))
            return QStringLiteral("skriv verdien til «%1» som eget argument, uten «=»").arg(typedOption(argument));
    }
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("tar ingen argumenter, fikk «%1»").arg(parser.positionalArguments().first());
    return {};
}

// The exit status when the command line asks for no game, nothing when the game is to start.
std::optional<int> answerCommandLine(int argc, char** argv, const ProgramInfo& programInfo)
{
    const struct {
        QString name;
        QString version;
        QString usage;
    } info{QString::fromStdString(programInfo.name), QString::fromStdString(programInfo.version),
        QString::fromStdString(programInfo.usage) + QStringLiteral("Qts egne valg, som -platform, -style og -stylesheet, virker også.\n")};

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
    for (const char* name : qtValueOptionsWithEquals)
        parser.addOption(QCommandLineOption(QLatin1String(name), {}, QStringLiteral("value")));
    for (const char* name : qtFlagOptions)
        parser.addOption(QCommandLineOption(QLatin1String(name)));

    if (const QString error = commandLineError(parser, arguments); !error.isEmpty()) {
        print(stderr, QStringLiteral("%1: %2; se «%1 --help»\n").arg(info.name, error));
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

// While the application object is made, Qt reports a display that it cannot open in several
// lines and then aborts. Those lines are held back. Where no display could be opened, the program
// says so in one line; where start-up failed for another reason, Qt's own lines follow; either
// way it ends with status 1. Once the application object stands, the held lines go out as they
// came.
class StartupMessages final {
public:
    explicit StartupMessages(QString name)
    {
        const std::lock_guard lock(mutex_);
        name_ = std::move(name);
        previous_ = qInstallMessageHandler(hold);
    }
    StartupMessages(const StartupMessages&) = delete;
    StartupMessages& operator=(const StartupMessages&) = delete;

    ~StartupMessages()
    {
        qInstallMessageHandler(previous_);
        const std::lock_guard lock(mutex_);
        release();
    }

private:
    struct Held {
        QtMsgType type;
        QByteArray category;
        QString text;
    };

    // Qt's threads may report while the application object is made, hence the lock.
    static void hold(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        const std::lock_guard lock(mutex_);
        if (type != QtFatalMsg && !qEnvironmentVariableIsSet("QT_FATAL_WARNINGS")) {
            held_.push_back({type, QByteArray(context.category), text});
            return;
        }
        const bool noDisplay = std::any_of(held_.cbegin(), held_.cend(), [](const Held& message) {
            return message.text.contains(QLatin1String("connect to display")) || message.text.contains(QLatin1String("wl_display"));
        });
        if (noDisplay) {
            const bool unset = qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
            print(stderr, name_ + (unset
                ? QStringLiteral(": finner ingen skjerm å vise spillet på (verken DISPLAY eller WAYLAND_DISPLAY er satt)\n")
                : QStringLiteral(": får ikke åpnet skjermen å vise spillet på\n")));
        } else {
            held_.push_back({type, QByteArray(context.category), text});
            release();
        }
        // Not exit(): the half-made application object must not meet the static destructors.
        std::_Exit(1);
    }

    static void release()
    {
        for (const Held& message : held_)
            previous_(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category.constData()), message.text);
        held_.clear();
    }

    static inline std::mutex mutex_;
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
    const auto connection = QObject::connect(&qt::widget(startupForm), &qt::FormWidget::closed, qApp, [] { QCoreApplication::exit(0); });
    startupForm.load();
    startupForm.setVisible(true);
    const int status = QCoreApplication::exec();
    QObject::disconnect(connection);
    return status;
}

int start(int argc, char** argv, const ProgramInfo& info, const std::function<std::unique_ptr<Form>()>& makeStartupForm)
{
    if (const std::optional<int> status = answerCommandLine(argc, argv, info))
        return *status;
    std::optional<StartupMessages> messages(std::in_place, QString::fromStdString(info.name));
    QApplication app(argc, argv);
    messages.reset();
    qt::FixedSizeGuard::installWhereNeeded();
    QCoreApplication::setApplicationName(QString::fromStdString(info.name));
    QCoreApplication::setApplicationVersion(QString::fromStdString(info.version));
    QGuiApplication::setDesktopFileName(QString::fromStdString(info.desktopFileName));
    QGuiApplication::setWindowIcon(drawnIcon(QStringLiteral(":/program/icon.svg")));
    const std::unique_ptr<Form> startupForm = makeStartupForm();
    return run(*startupForm);
}

} // namespace rt
