// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main window: the list of animals in the ark, the count label and the add label, and the
// game rule that runs on each click of the add label.

#include "form.h"
#include "formslot.h"
#include "label.h"
#include "listbox.h"
#include "messagebox.h"

#include <functional>
#include <string>

class AboutWindow;

class MainWindow final : public rt::Form {
public:
    using AnimalSource = std::function<std::string()>;

    // Animals from "tips.txt" beside the program.
    static AnimalSource animalFile();

    explicit MainWindow(AnimalSource randomAnimal = animalFile(), rt::MessageFunction showMessage = rt::showMessage);
    ~MainWindow() override;

    void load() override;

    rt::ListBox& animalList() { return animalList_; }
    rt::Label& countLabel() { return countLabel_; }
    rt::Label& addLabel() { return addLabel_; }
    AboutWindow& about();

private:
    void showAbout();
    void throwAnimalIn();

    AnimalSource randomAnimal_;
    rt::MessageFunction showMessage_;
    rt::ListBox animalList_;
    rt::Label countLabel_;
    rt::Label addLabel_;
    rt::FormSlot<AboutWindow> about_;
};
