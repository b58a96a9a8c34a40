#pragma once

// The hidden about window with the credits: frameless, owned by the main window, opened from
// its count label and closed by a click on the credits text.

#include "form.h"

namespace rt {
class Label;
}

class Form2 final : public rt::Form {
    Q_OBJECT

public:
    explicit Form2(QWidget* owner);

    void load() override;

private:
    void label1Click();

    rt::Label* const Label1;
};
