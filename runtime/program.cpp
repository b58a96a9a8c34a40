#include "program.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace rt {

QString programDirectory()
{
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const QString canonical = program.canonicalPath();
    return QDir::toNativeSeparators(canonical.isEmpty() ? program.absolutePath() : canonical);
}

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

int start(int& argc, char** argv, const std::function<std::unique_ptr<Form>()>& makeStartupForm)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("bargeling"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BARGELING_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Bargeling"));
    const std::unique_ptr<Form> startupForm = makeStartupForm();
    return run(*startupForm);
}

} // namespace rt
