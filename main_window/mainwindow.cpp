// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "mainwindow.h"

#include "aboutwindow.h"
#include "animalfile.h"
#include "label.h"
#include "listbox.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The largest font at which every text of the game still fits this layout, the longest count
// ("Antall dyr spist av krokodiller: 32767") and the credits included: DejaVu Sans at 14 px.
constexpr rt::DesignFont designFont{7.09375, 16.296875};

} // namespace

MainWindow::AnimalSource MainWindow::animalFile()
{
    return [animals = AnimalFile()] { return animals.randomAnimal(); };
}

MainWindow::MainWindow(AnimalSource randomAnimal, rt::MessageBox showMessage)
    : rt::Form({6735, 3195}, rt::BorderStyle::FixedSingle, designFont)
    , randomAnimal_(std::move(randomAnimal))
    , showMessage_(std::move(showMessage))
    , animalList_(new rt::ListBox(*this, {240, 240, 4095, 2565}))
    , countLabel_(new rt::Label(*this, {4560, 240, 1815, 1215}))
    , addLabel_(new rt::Label(*this, {4560, 1680, 1815, 1215}))
    , about_([this] { return std::make_unique<AboutWindow>(this); })
{
    connect(countLabel_, &rt::Label::clicked, this, &MainWindow::showAbout);
    connect(addLabel_, &rt::Label::clicked, this, &MainWindow::throwAnimalIn);
    setWindowTitle(u"Bargeling 2000"_s);
}

MainWindow::~MainWindow() = default;

AboutWindow& MainWindow::about()
{
    return about_.get();
}

void MainWindow::load()
{
    const qint16 n = animalList_->itemCount();
    countLabel_->setText(u"Antall dyr på arken: "_s + QString::number(n));
    addLabel_->setText(u"Sleng inn et dyr i Arken!"_s);
    about_->setVisible(false);
}

void MainWindow::showAbout()
{
    about_->setVisible(true);
}

void MainWindow::throwAnimalIn()
{
    if (animalList_->isFull())
        return; // the ark holds no more: the click adds nothing and says nothing
    const QString animal = randomAnimal_();
    animalList_->appendItem(animal);
    animalList_->selectIndex(animalList_->newIndex());
    const qint16 n = animalList_->itemCount();
    if (n <= 75)
        countLabel_->setText(u"Antall dyr på arken: "_s + QString::number(n));
    else
        countLabel_->setText(u"Antall dyr spist av krokodiller: "_s + QString::number(n));
    if (n == 50)
        showMessage_(this, u"jaggu du har vist greid å stappe inn "_s + QString::number(n) + u" dyr i Arken til Noah"_s, u"Bargeling 2.0"_s);
    if (n == 75)
        showMessage_(this, u"Tobad du kjenner ikke din begrensning "_s + QString::number(n) + u" dyr i arken er så mye at Arken til Noah synker! SHAEM ON YUO!!!!11"_s, u"Bargeling 2.0"_s);
    if (n > 75)
        showMessage_(this, u"Du har slengt på "_s + QString::number(n) + u" dyr, siden Arken til Noah er sunket blir disse spist av krokodillene, SADIST!!!!!!1"_s, u"Bargeling 2.0"_s);
}
