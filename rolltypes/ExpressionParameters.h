#pragma once
// The elements of the roll type library that tune an expression model: one per figure (or
// list of figures) of ExpressionModel, each with the systems it belongs to and the range the
// library's values must keep. A roll type names its system with ExpressionSystem; then each
// element of that system sets its figures, as blank-separated numbers:
//
//   <ExpressionSystem>Duo-Art</ExpressionSystem>
//   <ExpressionLag>0.05</ExpressionLag>
//   <ExpressionAccompanimentVacuum>5 28</ExpressionAccompanimentVacuum>
//
// and a `track` element may give its own <ExpressionBridgeGap>. Elements of other systems are
// passed over.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rolltypes/ExpressionModel.h"

namespace tarvelo {

struct ExpressionParameter {
  std::string_view Element;  // "ExpressionLag"
  double Low = 0;            // every figure within Low..High
  double High = 0;
  bool Integral = false;                           // whole numbers only
  uint32_t Systems = 0;                            // bit (1 << system) for each system it belongs to
  std::span<double> (*Figures)(ExpressionModel&);  // where the figures live; their count is its size

  bool BelongsTo(ExpressionSystem system) const { return (Systems >> static_cast<unsigned>(system) & 1u) != 0; }
};

// Every parameter, in the order the library applies and describes them.
std::span<const ExpressionParameter> ExpressionParameters();
// The element inside `track` that gives a track its own bridge gap, and its range.
inline constexpr std::string_view kTrackBridgeGapElement = "ExpressionBridgeGap";
inline constexpr double kBridgeGapLow = 0;
inline constexpr double kBridgeGapHigh = 1;

// Reads `text` as the figures of `parameter` into `figures` (its count): blank-separated
// numbers, exactly that many, each within the range (and whole where Integral). False (and
// `figures` unchanged) otherwise.
bool ParseExpressionFigures(const ExpressionParameter& parameter, std::string_view text, std::span<double> figures);

// Figures as the library writes them: plain decimals (at most 8 after the point, no trailing
// zeros, no point after a whole number), joined by `separator`.
std::string FormatExpressionFigures(std::span<const double> figures, std::string_view separator = " ");

// Whether the figures make a model that can run (the Welte levels rise from piano to forte;
// ranges end above where they start). The reason it cannot, or "".
std::string ExpressionModelProblem(const ExpressionModel& model);

// The model in one line, as the expression file records it: the system's name, then
// "Element=figures" for each of its parameters (lists joined by commas) and
// "ExpressionBridgeGap[track]=gap" for each track with a gap of its own.
// "none" for a roll type without a system.
std::string DescribeExpressionModel(const ExpressionModel& model);

}  // namespace tarvelo
