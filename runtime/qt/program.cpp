// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program.h"

#include "commandline.h"
#include "fixedsizeguard.h"
#include "qtdriver.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <vector>

namespace rt {

namespace {

using Value = PlatformOption::Value;

// Options that QGuiApplication, QApplication and the platform plugins take for themselves. Qt
// reads the value of most only as the next argument; -style, -stylesheet and -qmljsdebugger also
// take it after "=".
constexpr PlatformOption qtOptions[] = {{"platform", Value::NextArgument}, {"platformpluginpath", Value::NextArgument},
    {"platformtheme", Value::NextArgument}, {"plugin", Value::NextArgument}, {"qwindowgeometry", Value::NextArgument},
    {"geometry", Value::NextArgument}, {"qwindowtitle", Value::NextArgument}, {"title", Value::NextArgument},
    {"qwindowicon", Value::NextArgument}, {"icon", Value::NextArgument}, {"session", Value::NextArgument},
    {"display", Value::NextArgument}, {"name", Value::NextArgument}, {"visual", Value::NextArgument},
    {"ncols", Value::NextArgument}, {"cmap", Value::NextArgument}, {"style", Value::NextArgumentOrEquals},
    {"stylesheet", Value::NextArgumentOrEquals}, {"qmljsdebugger", Value::NextArgumentOrEquals}, {"reverse"},
    {"testability"}, {"widgetcount"}, {"nograb"}, {"dograb"}, {"sync"}};

void print(FILE* stream, const std::string& text)
{
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
}

void print(FILE* stream, const QString& text)
{
    print(stream, text.toStdString());
}

// The exit status when the command line asks for no game, nothing when the game is to start.
std::optional<int> answerCommandLine(int argc, char** argv, ProgramInfo info)
{
    info.usage += "Qts egne valg, som -platform, -style og -stylesheet, virker også.\n";
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const std::optional<CommandLineAnswer> answer = rt::answerCommandLine(arguments, info, qtOptions);
    if (!answer)
        return std::nullopt;
    print(answer->isError ? stderr : stdout, answer->text);
    return answer->status;
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
