// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main window: the list of animals in the ark, the count label and the add label, and the
// game rule that runs on each click of the add label.

#include "form.h"
#include "formslot.h"
#include "messagebox.h"

#include <functional>

class AboutWindow;
namespace rt {
class Label;
class ListBox;
}

class MainWindow final : public rt::Form {
    Q_OBJECT

public:
    using AnimalSource = std::function<QString()>;

    // Animals from "tips.txt" beside the program.
    static AnimalSource animalFile();

    explicit MainWindow(AnimalSource randomAnimal = animalFile(), rt::MessageBox showMessage = rt::showMessage);
    ~MainWindow() override;

    void load() override;

    rt::ListBox& animalList() const { return *animalList_; }
    rt::Label& countLabel() const { return *countLabel_; }
    rt::Label& addLabel() const { return *addLabel_; }
    AboutWindow& about();

private:
    void showAbout();
    void throwAnimalIn();

    AnimalSource randomAnimal_;
    rt::MessageBox showMessage_;
    rt::ListBox* const animalList_;
    rt::Label* const countLabel_;
    rt::Label* const addLabel_;
    rt::FormSlot<AboutWindow> about_;
};
