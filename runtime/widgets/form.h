#pragma once

// A top-level window of fixed size laid out in twips, in the desktop's window colours.
// An owned form is a tool window of its owner: not in the task bar, shown centred over it.

#include "twips.h"

#include <QWidget>

namespace rt {

// Paints the widget in the desktop's window colours: its background and its text. Follows the
// palette, so a theme change reaches the forms too.
void useWindowColors(QWidget& widget);

enum class BorderStyle {
    FixedSingle,
    None,
};

class Form : public QWidget {
    Q_OBJECT

public:
    Form(TwipSize clientSize, BorderStyle border, QWidget* owner = nullptr);

    // The form's load step: runs once, after the form is built and before it is first used.
    virtual void load() {}

    void setVisible(bool visible) override;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void centreOverOwner();
};

} // namespace rt
