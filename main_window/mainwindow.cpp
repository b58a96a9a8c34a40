// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "mainwindow.h"

#include "aboutwindow.h"
#include "animalfile.h"

namespace {

// The largest font at which every text of the game still fits this layout, the longest count
// ("Antall dyr spist av krokodiller: 32767") and the credits included: DejaVu Sans at 14 px.
constexpr rt::DesignFont designFont{7.09375, 16.296875};

} // namespace

MainWindow::AnimalSource MainWindow::animalFile()
{
    return [animals = AnimalFile()] { return animals.randomAnimal(); };
}

MainWindow::MainWindow(AnimalSource randomAnimal, rt::MessageFunction showMessage)
    : rt::Form({6735, 3195}, rt::BorderStyle::FixedSingle, designFont)
    , randomAnimal_(std::move(randomAnimal))
    , showMessage_(std::move(showMessage))
    , animalList_(*this, {240, 240, 4095, 2565})
    , countLabel_(*this, {4560, 240, 1815, 1215})
    , addLabel_(*this, {4560, 1680, 1815, 1215})
    , about_([this] { return std::make_unique<AboutWindow>(*this); })
{
    animalList_.setAccessibleName("Dyr i arken");
    countLabel_.onClick([this] { showAbout(); });
    addLabel_.onClick([this] { throwAnimalIn(); });
    setTitle("Bargeling 2000");
}

MainWindow::~MainWindow() = default;

AboutWindow& MainWindow::about()
{
    return about_.get();
}

void MainWindow::load()
{
    const std::int16_t n = animalList_.itemCount();
    countLabel_.setText("Antall dyr på arken: " + std::to_string(n));
    addLabel_.setText("Sleng inn et dyr i Arken!");
    about_->setVisible(false);
}

void MainWindow::showAbout()
{
    about_->setVisible(true);
}

void MainWindow::throwAnimalIn()
{
    if (animalList_.isFull())
        return; // the ark holds no more: the click adds nothing and says nothing
    const std::string animal = randomAnimal_();
    animalList_.appendItem(animal);
    animalList_.selectIndex(animalList_.newIndex());
    const std::int16_t n = animalList_.itemCount();
    if (n <= 75)
        countLabel_.setText("Antall dyr på arken: " + std::to_string(n));
    else
        countLabel_.setText("Antall dyr spist av krokodiller: " + std::to_string(n));
    if (n == 50)
        showMessage_(*this, "jaggu du har vist greid å stappe inn " + std::to_string(n) + " dyr i Arken til Noah", "Bargeling 2.0");
    if (n == 75)
        showMessage_(*this, "Tobad du kjenner ikke din begrensning " + std::to_string(n) + " dyr i arken er så mye at Arken til Noah synker! SHAEM ON YUO!!!!11", "Bargeling 2.0");
    if (n > 75)
        showMessage_(*this, "Du har slengt på " + std::to_string(n) + " dyr, siden Arken til Noah er sunket blir disse spist av krokodillene, SADIST!!!!!!1", "Bargeling 2.0");
}
