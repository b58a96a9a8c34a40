#include "mainwindow.h"
#include "program.h"

int main(int argc, char* argv[])
{
    return rt::start(argc, argv, [] { return std::make_unique<MainWindow>(); });
}
