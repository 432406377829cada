// Parse and evaluate typical reference-equation texts, as the calculators
// write them into the grid, with our evaluator and with muParser; and the
// spline substitution of a GLI 2012 equation.
//
// Every formula of a visit is a new text, so each case cycles through texts
// that differ in their numbers; nothing can be cached between iterations.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "KPLClassLibrary/KplGlobal.h"
#include "KPLDomainObjects/KPLSplineTable.h"
#include "KPLPredicted/CSpreadSheet.h"
#include "KPLPredicted/KplFormula.h"

#ifdef KPL_HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

constexpr int kTexts = 64;

struct Texts {
  std::vector<std::string> texts;
  std::vector<double> expected;  // computed directly, to check the results
};

// GLI 2012 FEV1, male, Caucasian, after token and spline substitution and the
// calculator's wrapping (115 characters).
Texts GliTexts() {
  Texts t;
  for (int i = 0; i < kTexts; ++i) {
    const double age = 20 + i * 0.75;
    const double height = 150 + i * 0.5;
    t.texts.push_back(KplFormat(
        "((EXP(-10.342+2.2196*LN(%f)+0.0574*LN(%f)-0.1589*0-0.0351*0-0.0881*0-0.0708*0+0.012345)) *1.00) *1.0",
        height, age));
    t.expected.push_back(std::exp(-10.342 + 2.2196 * std::log(height) + 0.0574 * std::log(age) + 0.012345));
  }
  return t;
}

// A polynomial in age and height, NHANES III style (86 characters).
Texts PolynomialTexts() {
  Texts t;
  for (int i = 0; i < kTexts; ++i) {
    const double age = 20 + i * 0.75;
    const double height = 150 + i * 0.5;
    t.texts.push_back(KplFormat("((-0.7453-0.04106*%f+0.004477*%f^2+0.00014098*%f^2) *1.00) *1.0", age, age, height));
    t.expected.push_back(-0.7453 - 0.04106 * age + 0.004477 * age * age + 0.00014098 * height * height);
  }
  return t;
}

void Verify(benchmark::State& state, const Texts& t, int i, double value) {
  if (std::fabs(value - t.expected[static_cast<std::size_t>(i)]) > 1e-9 * std::fabs(value) + 1e-12) {
    state.SkipWithError("wrong value");
  }
}

void Ours(benchmark::State& state, const Texts& t) {
  int i = 0;
  KplFormulaResult result;
  for (auto _ : state) {
    result = EvaluateFormula(t.texts[static_cast<std::size_t>(i)]);
    // The whole result: DoNotOptimize of this one double came out as garbage
    // with GCC -O3 and this benchmark library.
    benchmark::DoNotOptimize(result);
    if (++i == kTexts) i = 0;
  }
  Verify(state, t, (i + kTexts - 1) % kTexts, result.value);
  state.SetItemsProcessed(state.iterations());
}

// The calculator's path: SetFormula, then the value text parsed back.
void Grid(benchmark::State& state, const Texts& t) {
  CSpreadSheet grid;
  int i = 0;
  double value = 0;
  for (auto _ : state) {
    grid.SetFormula(t.texts[static_cast<std::size_t>(i)]);
    value = std::strtod(grid.GetValueText().c_str(), nullptr);
    benchmark::DoNotOptimize(value);
    if (++i == kTexts) i = 0;
  }
  Verify(state, t, (i + kTexts - 1) % kTexts, value);
  state.SetItemsProcessed(state.iterations());
}

void BM_Formula_Gli(benchmark::State& state) { Ours(state, GliTexts()); }
void BM_Formula_Polynomial(benchmark::State& state) { Ours(state, PolynomialTexts()); }
void BM_Grid_Gli(benchmark::State& state) { Grid(state, GliTexts()); }
void BM_Grid_Polynomial(benchmark::State& state) { Grid(state, PolynomialTexts()); }
BENCHMARK(BM_Formula_Gli);
BENCHMARK(BM_Formula_Polynomial);
BENCHMARK(BM_Grid_Gli);
BENCHMARK(BM_Grid_Polynomial);

#ifdef KPL_HAVE_MUPARSER
double MuExp(double x) { return std::exp(x); }
double MuLn(double x) { return std::log(x); }

void MuParser(benchmark::State& state, const Texts& t) {
  mu::Parser parser;
  parser.DefineFun("EXP", MuExp);
  parser.DefineFun("LN", MuLn);
  int i = 0;
  double value = 0;
  for (auto _ : state) {
    try {
      parser.SetExpr(t.texts[static_cast<std::size_t>(i)]);
      value = parser.Eval();
    } catch (const mu::Parser::exception_type& e) {
      state.SkipWithError(e.GetMsg().c_str());
      break;
    }
    benchmark::DoNotOptimize(value);
    if (++i == kTexts) i = 0;
  }
  Verify(state, t, (i + kTexts - 1) % kTexts, value);
  state.SetItemsProcessed(state.iterations());
}

void BM_muparser_Gli(benchmark::State& state) { MuParser(state, GliTexts()); }
void BM_muparser_Polynomial(benchmark::State& state) { MuParser(state, PolynomialTexts()); }
BENCHMARK(BM_muparser_Gli);
BENCHMARK(BM_muparser_Polynomial);
#endif

// The FEV1 predicted equation of GLI 2012 after the demographic tokens.
const std::string kGliEquation =
    "EXP(-10.342+2.2196*LN(175.000000)+0.0574*LN(45.000000)-0.1589*AFRICAN_AMERICAN-0.0351*NEASIA"
    "-0.0881*SEASIA-0.0708*OTHER+GLI_M_SPLINE_FEV1)";

// One equation through a table that has been read.
void BM_SubstituteSplines(benchmark::State& state) {
  KPLSplineTable table(KPL_GLI2012_TABLE, 45.0, 1, 1, 175, 70);
  table.SetTableKind(KPLSplineTable::kGli2012);
  if (table.ReadTable() != 1) {
    state.SkipWithError("cannot read " KPL_GLI2012_TABLE);
    return;
  }
  std::string equation;
  for (auto _ : state) {
    equation = kGliEquation;
    table.SubstituteSplines(equation, 1);
    benchmark::DoNotOptimize(equation.data());
  }
  if (equation.find("SPLINE") != std::string::npos || !EvaluateFormula(equation).ok()) {
    state.SkipWithError("tokens left");
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SubstituteSplines);

// A new table per computation: the file is read at the first substitution.
void BM_SubstituteSplinesFirstCall(benchmark::State& state) {
  std::string equation;
  for (auto _ : state) {
    KPLSplineTable table(KPL_GLI2012_TABLE, 45.0, 1, 1, 175, 70);
    table.SetTableKind(KPLSplineTable::kGli2012);
    equation = kGliEquation;
    table.SubstituteSplines(equation, 1);
    benchmark::DoNotOptimize(equation.data());
  }
  if (equation.find("SPLINE") != std::string::npos) state.SkipWithError("tokens left");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SubstituteSplinesFirstCall);

}  // namespace

BENCHMARK_MAIN();
