#include "label.h"

#include "form.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

namespace rt {

namespace {

class LabelAccessible final : public QAccessibleWidget {
public:
    explicit LabelAccessible(Label* label)
        : QAccessibleWidget(label, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<const Label*>(widget())->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& actionName) override
    {
        // Queued: the click may open a modal message box, and the assistive technology that
        // asked must get its answer now, not when that box is closed.
        if (actionName == pressAction())
            QMetaObject::invokeMethod(static_cast<Label*>(widget()), &Label::clicked, Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* labelAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(Label::staticMetaObject.className()))
        return new LabelAccessible(static_cast<Label*>(object));
    return nullptr;
}

} // namespace

Label::Label(QWidget* form, const QString& name, TwipRect geometry)
    : QLabel(form)
{
    static const bool accessibleInstalled = (QAccessible::installFactory(labelAccessible), true);
    Q_UNUSED(accessibleInstalled);

    setObjectName(name);
    setGeometry(geometry.toPixels());
    setSystemColors(*this, SystemColor::WindowBackground, SystemColor::WindowText);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    setFocusPolicy(Qt::NoFocus);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setText(name);
}

void Label::setCaption(const QString& caption)
{
    setText(caption);
}

void Label::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void Label::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}

// The first half of a double-click has already clicked; its second half must not click again.
void Label::mouseDoubleClickEvent(QMouseEvent* event)
{
    pressed_ = false;
    event->accept();
}

} // namespace rt
