#include "form.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QScreen>

namespace rt {

namespace {

QPalette::ColorRole paletteRole(SystemColor color)
{
    switch (color) {
    case SystemColor::WindowBackground:
        return QPalette::Base;
    case SystemColor::WindowText:
        return QPalette::Text;
    }
    return QPalette::Base;
}

Qt::WindowFlags formFlags(BorderStyle border, bool owned)
{
    Qt::WindowFlags flags = owned ? Qt::Tool : Qt::Window;
    switch (border) {
    case BorderStyle::FixedSingle:
        return flags | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    case BorderStyle::None:
        return flags | Qt::FramelessWindowHint;
    }
    return flags;
}

// A form is announced as a window with its title, not as an anonymous pane.
QAccessibleInterface* formAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(Form::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

void setSystemColors(QWidget& widget, SystemColor back, SystemColor text)
{
    widget.setAutoFillBackground(true);
    widget.setBackgroundRole(paletteRole(back));
    widget.setForegroundRole(paletteRole(text));
}

Form::Form(TwipSize clientSize, BorderStyle border, QWidget* owner)
    : QWidget(owner, formFlags(border, owner != nullptr))
{
    static const bool accessibleInstalled = (QAccessible::installFactory(formAccessible), true);
    Q_UNUSED(accessibleInstalled);
    setFixedSize(clientSize.toPixels());
    setSystemColors(*this, SystemColor::WindowBackground, SystemColor::WindowText);
}

void Form::setVisible(bool visible)
{
    if (visible && !isVisible() && parentWidget())
        centreOverOwner();
    QWidget::setVisible(visible);
}

void Form::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

void Form::centreOverOwner()
{
    const QWidget* owner = parentWidget()->window();
    QRect area(QPoint(), size());
    area.moveCenter(owner->frameGeometry().center());
    if (const QScreen* screen = owner->screen()) {
        const QRect available = screen->availableGeometry();
        area.moveLeft(qBound(available.left(), area.left(), qMax(available.left(), available.right() - area.width() + 1)));
        area.moveTop(qBound(available.top(), area.top(), qMax(available.top(), available.bottom() - area.height() + 1)));
    }
    move(area.topLeft());
}

} // namespace rt
