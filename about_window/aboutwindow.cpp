// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aboutwindow.h"

#include "label.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The largest font at which the credits, and every other text of the game, still fit: DejaVu
// Sans at 14 px.
constexpr rt::DesignFont designFont{7.09375, 16.296875};

} // namespace

AboutWindow::AboutWindow(QWidget* owner)
    : rt::Form({4680, 3195}, rt::BorderStyle::None, designFont, owner)
    , credits_(new rt::Label(*this, {0, 0, 4575, 3135}))
{
    connect(credits_, &rt::Label::clicked, this, &AboutWindow::hideAbout);
    setWindowTitle(u"Om Vombrel 2k3k"_s);
}

void AboutWindow::load()
{
    credits_->setText(u"Jaggu du fant den super hemmelige about screenen ikke det at deter så syyyykt vanskelig å finne dah... men nå CREDS !!!!!111 ;))) Takk til den som fikk ideen midt på natta og ikke ga seg før arken fløt, takk til den som hjalp litt med koden (mest med semikolonene), takk til den som bare var der og spiste opp all pizzaen, takk til crewet og adminene på partyet for strøm, nett og kaffe, og takk til publikum i hallen som heiet på krokodillene! vel det var alt!!!"_s);
}

void AboutWindow::hideAbout()
{
    setVisible(false);
}
