// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aboutwindow.h"

namespace {

// The largest font at which the credits, and every other text of the game, still fit: DejaVu
// Sans at 14 px.
constexpr rt::DesignFont designFont{7.09375, 16.296875};

} // namespace

AboutWindow::AboutWindow(rt::Form& owner)
    : rt::Form({4680, 3195}, rt::BorderStyle::None, designFont, &owner)
    , credits_(*this, {0, 0, 4575, 3135})
{
    credits_.onClick([this] { hideAbout(); });
    setTitle("Om Vombrel 2k3k");
}

void AboutWindow::load()
{
    credits_.setText("Jaggu du fant den super hemmelige about screenen ikke det at deter så syyyykt vanskelig å finne dah... men nå CREDS !!!!!111 ;))) Takk til den som fikk ideen midt på natta og ikke ga seg før arken fløt, takk til den som hjalp litt med koden (mest med semikolonene), takk til den som bare var der og spiste opp all pizzaen, takk til crewet og adminene på partyet for strøm, nett og kaffe, og takk til publikum i hallen som heiet på krokodillene! vel det var alt!!!");
}

void AboutWindow::hideAbout()
{
    setVisible(false);
}
