#pragma once

// The main window: the list of animals in the ark, the count label and the add label, and the
// game rule that runs on each click of the add label.

#include "form.h"
#include "formslot.h"
#include "messagebox.h"

#include <functional>

class Form2;
namespace rt {
class Label;
class ListBox;
}

class Form1 final : public rt::Form {
    Q_OBJECT

public:
    using AnimalSource = std::function<QString()>;

    // Animals from "tips.txt" beside the program.
    static AnimalSource programAnimals();

    explicit Form1(AnimalSource randomAnimal = programAnimals(), rt::MessageBox msgBox = rt::showMessage);
    ~Form1() override;

    void load() override;

private:
    void label1Click();
    void label2Click();

    AnimalSource randomAnimal_;
    rt::MessageBox msgBox_;
    rt::ListBox* const List1;
    rt::Label* const Label1;
    rt::Label* const Label2;
    rt::FormSlot<Form2> form2_;
};
