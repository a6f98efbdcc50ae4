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

// One keystroke through the input filter: a digit is kept, a letter empties the box
// with a beep.
void BM_Keystroke(benchmark::State& state, const char* key) {
  tarvelo::FakeDialog dialog;
  for (auto _ : state) {
    dialog.PlaceText("19");
    dialog.Type(key);
    benchmark::DoNotOptimize(dialog.effects().data());
    dialog.ClearEffects();
  }
}
BENCHMARK_CAPTURE(BM_Keystroke, Accepted, "8");
BENCHMARK_CAPTURE(BM_Keystroke, Refused, "x");

}  // namespace

BENCHMARK_MAIN();
