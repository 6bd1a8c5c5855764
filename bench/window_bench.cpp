// Show_Airfoil into the back buffer of Picture_Airfoil, in the real window
// (Form_Quilane) under Qt's offscreen platform, after a calculation run, at
// N = 61, 251, 1000 input points and NI = 51, 501, 999 new points. The event
// loop does not run while timing, so what is timed is the drawing into the
// retained picture (clear, titles, axes, segments and markers), not the copy
// to the screen.
#include <QApplication>
#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

#include "bench/bench_contours.h"
#include "benchmark/benchmark.h"
#include "window/form_quilane.h"
#include "window/message_service.h"

namespace quilane::bench {
namespace {

// The offscreen platform says on every show that it cannot pass size hints
// on; that is no news for a benchmark.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (text.contains(QLatin1String("propagateSizeHints"))) return;
  const QByteArray bytes = text.toLocal8Bit();
  std::fprintf(stderr, "%s\n", bytes.constData());
  if (type == QtFatalMsg) std::abort();
}

// The one application object, made on first use, on the offscreen platform
// unless QT_QPA_PLATFORM names another.
void EnsureApplication() {
  static int argc = 1;
  static char name[] = "quilane_window_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    return new QApplication(argc, argv);
  }();
  (void)app;
}

ScratchFolder& Scratch() {
  static ScratchFolder folder;
  return folder;
}

// One window per contour size, as a person sees it after loading the file.
struct ShownWindow {
  std::unique_ptr<AirfoilWorkspace> ws;
  BoxMessageService messages;
  std::unique_ptr<FormQuilane> form;
};

void BM_ShowAirfoil(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const int ni = static_cast<int>(state.range(1));
  EnsureApplication();
  ShownWindow window;
  window.ws = LoadedWorkspace(Scratch().path(), n);
  if (!window.ws) {
    state.SkipWithError("the section cannot be loaded");
    return;
  }
  const std::string refused = CalculateOnWorkspace(*window.ws, ni, false, true, 1);
  if (!refused.empty()) {
    state.SkipWithError(("run refused: " + refused).c_str());
    return;
  }
  window.form = std::make_unique<FormQuilane>(*window.ws, window.messages);
  window.messages.SetParent(window.form.get());
  window.form->show();
  QApplication::processEvents();  // the first paint, outside the timing

  AirfoilWorkspace& ws = *window.ws;
  for (auto _ : state) {
    window.form->ShowAirfoil(ws.N, ws.X, ws.Y, ws.NI, ws.XI, ws.YI);
  }
  state.counters["N"] = n;
  state.counters["NI"] = ni;
}

BENCHMARK(BM_ShowAirfoil)
    ->ArgNames({"N", "NI"})
    ->ArgsProduct({{61, 251, 1000}, {51, 501, 999}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quilane::bench

BENCHMARK_MAIN();
