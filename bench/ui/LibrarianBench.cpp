// The librarian's window work: filling a bank list, one drop with the repaint it causes, and
// opening the bank manager with two banks. Runs on the platform QT_QPA_PLATFORM names (offscreen
// when it names none).

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "model/Report.h"
#include "model/tables/AlgorithmInfo.h"
#include "tests/support/TestSupport.h"
#include "ui/librarian/VF1BankDlg.h"
#include "ui/librarian/VF1BankListBox.h"
#include "ui/widgets/DialogTemplate.h"

namespace {

// A bank file of named patches, written once into the benchmark's folder.
QString BankFile(const QTemporaryDir& dir, const std::string& prefix) {
    const QString path = dir.filePath(QString::fromStdString(prefix + ".syx"));
    if (QFile::exists(path)) return path;
    const std::vector<uint8_t> bytes = MakeBankFile([&prefix](int slot) {
        return FreshPatch{AlgorithmAtRow(slot % kAlgorithmCount), prefix + " " + std::to_string(slot)};
    });
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

// The bank manager with two banks, shown and painted once.
std::unique_ptr<VF1BankDlg> OpenManager() {
    auto manager = std::make_unique<VF1BankDlg>();
    manager->LoadBankFile(1, BankFile(Folder(), "One"));
    manager->LoadBankFile(2, BankFile(Folder(), "Two"));
    manager->show();
    manager->repaint();
    QCoreApplication::processEvents();
    return manager;
}

void BM_Refill(benchmark::State& state) {
    const auto manager = OpenManager();
    VF1BankListBox* list = manager->List(1);
    for (auto _ : state) {
        list->Refill();
        // The list lays its rows out when it next paints.
        list->viewport()->repaint();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Refill)->Unit(benchmark::kMillisecond);

// Bank 1's A4 inserted at bank 2's A6: bank 2's rows from there move down and both lists that
// changed are drawn again.
void BM_DropWithRepaint(benchmark::State& state) {
    const auto manager = OpenManager();
    VF1BankListBox* from = manager->List(1);
    VF1BankListBox* onto = manager->List(2);
    for (auto _ : state) {
        onto->DropFrom(from, 3, 5, DropEffect::Insert);
        onto->viewport()->repaint();
        manager->NameBox(2)->repaint();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_DropWithRepaint)->Unit(benchmark::kMillisecond);

// From nothing to the window on screen with both banks in it.
void BM_OpenBankManagerWithTwoBanks(benchmark::State& state) {
    BankFile(Folder(), "One");
    BankFile(Folder(), "Two");
    for (auto _ : state) {
        auto manager = OpenManager();
        state.PauseTiming();
        manager.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenBankManagerWithTwoBanks)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // The offscreen platform's notes about window stacking would fill the report.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    InstallFontSubstitutions();
    // Messages of the banks (none are expected) would stop the run; they are dropped.
    SetMessageHandler([](const std::string&, MessageStyle) { return 1; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
