// One full click: Button1Click reading four fields, computing and writing two, window offscreen.

#include "ui/Unit1.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void BM_Button1Click(benchmark::State& state) {
  TForm1 form(Application);
  form.MoneyToCallEdit->SetText("10");
  form.WinningsEdit->SetText("30");
  form.KnownCardsEdit->SetText("5");
  form.OutsEdit->SetText("9");
  for (auto _ : state) form.Button1Click(form.Button1);
}
BENCHMARK(BM_Button1Click);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
