// Shared machinery of the unit value classes: conversion tables of
// single-precision factors, applied one step at a time with each result
// stored back as a float.
#pragma once

#include <cstdint>

namespace kpl_detail {

// One conversion step: multiply or divide by a single-precision factor.
struct UnitStep {
  enum Op : std::uint8_t { kNone, kMul, kDiv } op;
  float factor;
  [[nodiscard]] constexpr float Apply(float value) const {
    return op == kMul ? value * factor : op == kDiv ? value / factor : value;
  }
};

inline constexpr UnitStep kSame{UnitStep::kNone, 1.0f};
constexpr UnitStep Mul(float f) { return {UnitStep::kMul, f}; }
constexpr UnitStep Div(float f) { return {UnitStep::kDiv, f}; }

}  // namespace kpl_detail
