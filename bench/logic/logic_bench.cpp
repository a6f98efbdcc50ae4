#include <benchmark/benchmark.h>

#include "fake_dialog.h"

namespace {

// One press of 変換 with a year in the box, answered and emptied.
void BM_ConvertPress(benchmark::State& state) {
  tarvelo::FakeDialog dialog;
  for (auto _ : state) {
    dialog.PlaceText("1989");
    dialog.ClickConvert();
    benchmark::DoNotOptimize(dialog.effects().data());
    dialog.ClearEffects();
  }
}
BENCHMARK(BM_ConvertPress);

// One era-mode press, the other direction of conversion.
void BM_ConvertPressEra(benchmark::State& state) {
  tarvelo::FakeDialog dialog;
  dialog.ClickOption(1);
  for (auto _ : state) {
    dialog.PlaceText("64");
    dialog.ClickConvert();
    benchmark::DoNotOptimize(dialog.effects().data());
    dialog.ClearEffects();
  }
}
BENCHMARK(BM_ConvertPressEra);

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
