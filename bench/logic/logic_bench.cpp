#include <benchmark/benchmark.h>

#include "fake_dialog.h"

namespace {

// One press of 変換 with a year in the box, answered and emptied.
void BM_ConvertPress(benchmark::State& state, int option, const char* year) {
  tarvelo::FakeDialog dialog;
  dialog.ClickOption(option);
  for (auto _ : state) {
    dialog.PlaceText(year);
    dialog.ClickConvert();
    benchmark::DoNotOptimize(dialog.effects().data());
    dialog.ClearEffects();
  }
}
BENCHMARK_CAPTURE(BM_ConvertPress, Western, 5, "1989");
BENCHMARK_CAPTURE(BM_ConvertPress, Era, 1, "64");

// One accepted keystroke through the input filter.
void BM_Keystroke(benchmark::State& state) {
  tarvelo::FakeDialog dialog;
  for (auto _ : state) {
    dialog.PlaceText("19");
    dialog.Type("8");
    benchmark::DoNotOptimize(dialog.text().data());
  }
}
BENCHMARK(BM_Keystroke);

// One refused keystroke: the box is emptied and beeps.
void BM_RefusedKeystroke(benchmark::State& state) {
  tarvelo::FakeDialog dialog;
  for (auto _ : state) {
    dialog.PlaceText("19");
    dialog.Type("x");
    benchmark::DoNotOptimize(dialog.effects().data());
    dialog.ClearEffects();
  }
}
BENCHMARK(BM_RefusedKeystroke);

}  // namespace

BENCHMARK_MAIN();
