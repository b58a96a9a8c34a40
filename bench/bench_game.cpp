// The cost of a click at different lengths of the list, the cost of drawing an animal from
// different animal files, and the memory that a full ark takes.

#include "form1.h"
#include "label.h"
#include "listbox.h"
#include "module1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

QString bundledFolder;
QTemporaryDir* scratch = nullptr;

void noMessage(QWidget*, const QString&, const QString&) {}

Form1::AnimalSource bundledAnimals()
{
    return [module = Module1(rt::secondsSinceMidnight, bundledFolder)] { return module.RandomAnimal(); };
}

// One click on the add label, with the layout and painting it causes, on a list that holds
// `length` animals before the click. Every sample starts from a new window, so that each click
// meets exactly that length.
void BM_Click(benchmark::State& state)
{
    const auto length = int(state.range(0));
    for (auto _ : state) {
        Form1 form(bundledAnimals(), noMessage);
        form.load();
        form.show();
        auto* list = form.findChild<rt::ListBox*>(QStringLiteral("List1"), Qt::FindDirectChildrenOnly);
        auto* add = form.findChild<rt::Label*>(QStringLiteral("Label2"), Qt::FindDirectChildrenOnly);
        for (int i = 0; i < length; ++i)
            list->appendItem(QStringLiteral("Elefant"));
        list->selectIndex(list->newIndex());
        QCoreApplication::processEvents();

        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(add, Qt::LeftButton);
        QCoreApplication::processEvents();
        state.SetIterationTime(double(timer.nsecsElapsed()) * 1e-9);
    }
}
BENCHMARK(BM_Click)->Arg(0)->Arg(20)->Arg(1000)->Arg(32766)->UseManualTime()->Iterations(15)->Repetitions(3)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_ReadRandomLine(benchmark::State& state, QString folder)
{
    const Module1 module(rt::secondsSinceMidnight, folder);
    for (auto _ : state)
        benchmark::DoNotOptimize(module.RandomAnimal());
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
        Form1 form(bundledAnimals(), noMessage);
        form.load();
        form.show();
        QCoreApplication::processEvents();
        auto* add = form.findChild<rt::Label*>(QStringLiteral("Label2"), Qt::FindDirectChildrenOnly);
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

    benchmark::RegisterBenchmark("BM_ReadRandomLine/bundled", BM_ReadRandomLine, bundledFolder)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_ReadRandomLine/49_lines_of_1000_chars", BM_ReadRandomLine,
        makeFolder(QStringLiteral("long"), [](const QString& path) {
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            for (int i = 0; i < 49; ++i)
                f.write(QByteArray(1000, char('a' + i % 26)) + "\r\n");
        }))->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_ReadRandomLine/one_line_of_1_GiB_sparse", BM_ReadRandomLine,
        makeFolder(QStringLiteral("huge"), [](const QString& path) {
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.resize(qint64(1) << 30);
        }))->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_ReadRandomLine/link_to_dev_zero", BM_ReadRandomLine,
        makeFolder(QStringLiteral("zero"), [](const QString& path) { QFile::link(QStringLiteral("/dev/zero"), path); }))
        ->Unit(benchmark::kMicrosecond);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
