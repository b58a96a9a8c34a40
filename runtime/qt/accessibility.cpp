// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessibility.h"

#include "formwidget.h"
#include "labelwidget.h"

#include <QAccessibleWidget>

namespace rt::qt {

namespace {

class LabelAccessible final : public QAccessibleWidget {
public:
    explicit LabelAccessible(LabelWidget* label)
        : QAccessibleWidget(label, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<const LabelWidget*>(widget())->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    // Queued: the click may open a modal message box, and the assistive technology that asked
    // must get its answer now, not when that box is closed.
    void doAction(const QString& actionName) override
    {
        auto* label = static_cast<LabelWidget*>(widget());
        if (actionName == pressAction() && label->takesPress())
            QMetaObject::invokeMethod(label, &LabelWidget::pressForAssistiveTechnology, Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* runtimeAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(LabelWidget::staticMetaObject.className()))
        return new LabelAccessible(static_cast<LabelWidget*>(object));
    if (className == QLatin1String(FormWidget::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = (QAccessible::installFactory(runtimeAccessible), true);
    Q_UNUSED(installed);
}

} // namespace rt::qt
