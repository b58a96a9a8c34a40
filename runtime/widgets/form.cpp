#include "form.h"

#include "accessibility.h"

#include <QCloseEvent>
#include <QScreen>

namespace rt {

namespace {

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

} // namespace

void useWindowColors(QWidget& widget)
{
    widget.setAutoFillBackground(true);
    widget.setBackgroundRole(QPalette::Base);
    widget.setForegroundRole(QPalette::Text);
}

Form::Form(TwipSize clientSize, BorderStyle border, QWidget* owner)
    : QWidget(owner, formFlags(border, owner != nullptr))
{
    installAccessibility();
    setFixedSize(clientSize.toPixels());
    useWindowColors(*this);
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
