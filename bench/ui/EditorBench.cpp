// Speed of the editor window, on Qt's offscreen platform: selecting a patch until its diagram and
// every parameter panel exist, for each algorithm, and one slider step with real-time editing on,
// from the input event to the message handed to the driver. docs/performance.md holds the numbers.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStyleFactory>
#include <QWheelEvent>

#include <array>
#include <vector>

#include "midi/VF1MIDI.h"
#include "midi/VF1Settings.h"
#include "model/PatchLayout.h"
#include "model/RealTime.h"
#include "model/Report.h"
#include "model/tables/AlgorithmInfo.h"
#include "tests/support/BenchSupport.h"
#include "ui/editor/VF1FXControlWnd.h"
#include "ui/editor/VF1ParamControlWnd.h"
#include "ui/editor/VF1PatchListCtrl.h"
#include "ui/editor/VF1controlSlider.h"
#include "ui/editor/VF1main.h"
#include "ui/widgets/DialogTemplate.h"
#include "ui/widgets/MokCheckBox.h"
#include "ui/widgets/MokSliderCtrl.h"

namespace {

using bench::Clock;

// The main window with one patch of every algorithm, opened as bank patches; "Auto-send" off, so
// that selecting a patch sends nothing.
class EditorRig {
  public:
    EditorRig()
        : previous(SetMessageHandler([](const std::string&, MessageStyle) { return 1; })), driver(true) {
        VF1Settings::SetPath("/dev/null");
        VF1MIDI::Instance().SetDriver(&driver);
        window = std::make_unique<VF1main>();
        window->show();
        auto* autoSend = qobject_cast<MokCheckBox*>(window->ControlById(VF1main::kAutoSend));
        autoSend->SetCheck(0);
        for (int a = 0; a < kAlgorithmCount; ++a) {
            VF1Algorithm patch(a);
            PatchImage image{};
            VF1MIDI::Instance().BuildPatchImage(patch, image.data());
            window->OpenBankPatch(image.data(), 1, a);
            rows[size_t(a)] = window->Patches().GetCurrentIndex();
        }
        QCoreApplication::processEvents();
    }
    ~EditorRig() {
        window.reset();
        VF1MIDI::Instance().SetDriver(nullptr);
        VF1MIDI::Release();
        SetMessageHandler(previous);
    }

    VF1main& Window() { return *window; }
    int RowOf(int algorithm) const { return rows[size_t(algorithm)]; }
    bench::HandOverDriver& Driver() { return driver; }

  private:
    MessageHandler previous;
    bench::HandOverDriver driver;
    std::unique_ptr<VF1main> window;
    std::array<int, kAlgorithmCount> rows{};
};

// Made on first use, gone before the application: its window must not outlive it.
std::unique_ptr<EditorRig> rig;
EditorRig& Rig() {
    if (!rig) rig = std::make_unique<EditorRig>();
    return *rig;
}

// Selecting the patch list row of an algorithm's patch: the old diagram goes, the new one with all
// its buttons and panels is built and its first panel shown. Timed until the selection returns.
void BM_SelectPatch(benchmark::State& state) {
    const int algorithm = static_cast<int>(state.range(0));
    EditorRig& rig = Rig();
    VF1PatchListCtrl* list = rig.Window().PatchListView();
    // Between runs another patch is selected, so that each run builds the diagram anew.
    const int other = rig.RowOf(algorithm == kDefaultAlgorithm ? 0 : kDefaultAlgorithm);
    std::vector<double> ms;
    for (auto _ : state) {
        list->SelectRow(other);
        QCoreApplication::processEvents();
        const auto start = Clock::now();
        list->SelectRow(rig.RowOf(algorithm));
        const auto end = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        ms.push_back(bench::Micros(end - start) / 1000.0);
        if (rig.Window().Diagram() == nullptr ||
            rig.Window().Patches().GetCurrent()->GetNumber() != algorithm)
            state.SkipWithError("the patch was not selected");
        QCoreApplication::processEvents();
    }
    int controls = 0;
    for (const auto& pair : rig.Window().Diagram()->GetPairs())
        controls += int(pair->panel->GetControls().size());
    state.counters["controls"] = controls;
    bench::ReportPercentiles(state, ms, "ms");
}
BENCHMARK(BM_SelectPatch)
    ->DenseRange(0, kAlgorithmCount - 1)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// One notch of the wheel on a slider of the selected panel, with real-time editing on: from the
// wheel event until the parameter message is handed to the driver (the control hears of the
// step when the slider's posted notification arrives).
void BM_SliderStep_ToDriver(benchmark::State& state) {
    EditorRig& rig = Rig();
    rig.Window().PatchListView()->SelectRow(rig.RowOf(0));
    QCoreApplication::processEvents();
    VF1ParamControlWnd* panel = rig.Window().Diagram()->GetSelectedPanel();
    VF1controlSlider* control = nullptr;
    for (const auto& c : panel->GetControls())
        if ((control = qobject_cast<VF1controlSlider*>(c.get())) && !c->GetParam()->IsSetSelector()) break;
    MokSliderCtrl* slider = control->GetSlider();
    slider->SetRange(control->GetParam()->GetMin(), control->GetParam()->GetMax());
    SetRealTimeSink(&VF1MIDI::Instance());
    SetRealTimeEdits(true);
    VF1MIDI::Instance().SetOutDevice(0);
    VF1MIDI::Instance().OpenOutput();
    bench::HandOverDriver& driver = rig.Driver();
    std::vector<double> us;
    constexpr int kSteps = 5000;
    us.reserve(kSteps);
    const QPoint at = slider->rect().center();
    for (auto _ : state) {
        for (int i = 0; i < kSteps; ++i) {
            // Up and down in turn, so that every step changes the value.
            const int delta = i % 2 ? 120 : -120;
            if (control->GetParam()->GetValue() == control->GetParam()->GetMax())
                slider->SetPos(control->GetParam()->GetMin());
            const size_t before = driver.handedOver.size();
            QWheelEvent wheel(at, slider->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {},
                              Qt::NoScrollPhase, false);
            const auto start = Clock::now();
            QApplication::sendEvent(slider, &wheel);
            QCoreApplication::processEvents();
            if (driver.handedOver.size() != before + 1) {
                state.SkipWithError("the step did not reach the driver");
                break;
            }
            us.push_back(bench::Micros(driver.handedOver.back() - start));
        }
    }
    SetRealTimeEdits(false);
    bench::ReportPercentiles(state, us);
}
BENCHMARK(BM_SliderStep_ToDriver)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // As the program runs: the Fusion style and the template fonts.
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rig.reset();
    return 0;
}
