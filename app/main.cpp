// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "mainwindow.h"
#include "program.h"

int main(int argc, char* argv[])
{
    const rt::ProgramInfo info{
        .name = "bargeling",
        .version = BARGELING_VERSION,
        .desktopFileName = "org.example.Bargeling",
        .usage = "Bruk: bargeling [valg]\n"
                 "Sleng dyr inn i Arken til Noah. Dyrene hentes fra tips.txt ved siden av programmet.\n"
                 "\n"
                 "Valg:\n"
                 "  -h, --help     vis denne hjelpen\n"
                 "  -v, --version  vis versjonen\n",
    };
    return rt::start(argc, argv, info, [] { return std::make_unique<MainWindow>(); });
}
