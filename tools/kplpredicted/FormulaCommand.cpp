// kplpredicted formula TEXT: the value text the calculators' grid gives for a
// formula, so that an equation can be tried without a predicted set.
#include <cstdio>
#include <memory>
#include <string>

#include "KPLPredicted/CSpreadSheet.h"
#include "KPLPredicted/KplFormula.h"
#include "tools/kplpredicted/Commands.h"

namespace kplcli {
namespace {

void Evaluate(const std::string& text) {
  CSpreadSheet grid;
  grid.SetFormula(text);
  std::printf("%s\n", grid.GetValueText().c_str());
  const std::string error = grid.GetErrorText();
  if (!error.empty()) {
    std::fprintf(stderr, "kplpredicted: %s\n", error.c_str());
    SetExitStatus(1);
  }
}

}  // namespace

void AddFormulaCommand(CLI::App& app) {
  auto text = std::make_shared<std::string>();
  auto* command = app.add_subcommand(
      "formula", "Print the value a formula gets in the calculators' grid (0 and an error when it has none)");
  command
      ->add_option("TEXT", *text,
                   "the formula with numbers in place of tokens: + - * / ^, = <> < > <= >=, parentheses and " +
                       FormulaFunctionNames())
      ->required();
  command->callback([text] { Evaluate(*text); });
}

}  // namespace kplcli
