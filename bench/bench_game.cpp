// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The cost of a click at different lengths of the list, the cost of drawing an animal from
// different animal files, and the memory that a full ark takes.

#include "animalfile.h"
#include "mainwindow.h"
#include "qtdriver.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

// Under callgrind, only the clicks themselves are counted (scripts/bench does that); elsewhere
// the two marks cost nothing.
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

namespace {

QString bundledFolder;
QTemporaryDir* scratch = nullptr;

void noMessage(rt::Form&, const std::string&, const std::string&) {}

MainWindow::AnimalSource bundledAnimals()
{
    return [animals = AnimalFile(rt::secondsSinceMidnight, bundledFolder.toStdString())] { return animals.randomAnimal(); };
}

// One click on the add label, with the layout and painting it causes, on a list that holds
// `length` animals before the click. Every sample starts from a new window, so that each click
// meets exactly that length.
void BM_Click(benchmark::State& state)
{
    const auto length = int(state.range(0));
    for (auto _ : state) {
        MainWindow form(bundledAnimals(), noMessage);
        form.load();
        form.setVisible(true);
        rt::ListBox* list = &form.animalList();
        QWidget* add = &rt::qt::widget(form.addLabel());
        for (int i = 0; i < length; ++i)
            list->appendItem("Elefant");
        list->selectIndex(list->newIndex());
        QCoreApplication::processEvents();

        QElapsedTimer timer;
        timer.start();
        CALLGRIND_START_INSTRUMENTATION;
        QTest::mouseClick(add, Qt::LeftButton);
        QCoreApplication::processEvents();
        CALLGRIND_STOP_INSTRUMENTATION;
        state.SetIterationTime(double(timer.nsecsElapsed()) * 1e-9);
    }
}
BENCHMARK(BM_Click)->Arg(0)->Arg(20)->Arg(1000)->Arg(32766)->UseManualTime()->Iterations(15)->Repetitions(3)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_AnimalDraw(benchmark::State& state, QString folder)
{
    const AnimalFile animals(rt::secondsSinceMidnight, folder.toStdString());
    for (auto _ : state)
        benchmark::DoNotOptimize(animals.randomAnimal());
}

QString makeFolder(const QString& name, const std::function<void(const QString& path)>& fill)
{
    const QString folder = scratch->filePath(name);
    QDir().mkpath(folder);
    fill(QDir(folder).filePath(QStringLiteral("tips.txt")));
    return folder;
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Fills the ark to the brim by real clicks and reports what that added to the resident memory.
void BM_FullArkMemory(benchmark::State& state)
{
    for (auto _ : state) {
        MainWindow form(bundledAnimals(), noMessage);
        form.load();
        form.setVisible(true);
        QCoreApplication::processEvents();
        QWidget* add = &rt::qt::widget(form.addLabel());
        const long before = residentKiB();
        for (int i = 0; i < rt::ListBox::capacity; ++i)
            QTest::mouseClick(add, Qt::LeftButton);
        QCoreApplication::processEvents();
        state.counters["added_MiB"] = double(residentKiB() - before) / 1024.0;
    }
}
BENCHMARK(BM_FullArkMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    scratch = &dir;
    bundledFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/..");

    benchmark::RegisterBenchmark("BM_AnimalDraw/bundled", BM_AnimalDraw, bundledFolder)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_AnimalDraw/49_lines_of_1000_chars", BM_AnimalDraw,
        makeFolder(QStringLiteral("long"), [](const QString& path) {
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            for (int i = 0; i < 49; ++i)
                f.write(QByteArray(1000, char('a' + i % 26)) + "\r\n");
        }))->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_AnimalDraw/one_line_of_1_GiB_sparse", BM_AnimalDraw,
        makeFolder(QStringLiteral("huge"), [](const QString& path) {
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.resize(qint64(1) << 30);
        }))->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_AnimalDraw/link_to_dev_zero", BM_AnimalDraw,
        makeFolder(QStringLiteral("zero"), [](const QString& path) { QFile::link(QStringLiteral("/dev/zero"), path); }))
        ->Unit(benchmark::kMicrosecond);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
