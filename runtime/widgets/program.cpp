#include "program.h"

#include <QApplication>

namespace rt {

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
