// The codes of the task types and of the step kinds, and the step sequence of a wizard.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Task type codes; the same codes are stored with saved problems. 255 (-1 as a signed byte) is none.
enum : std::uint8_t {
  TT_LINEAR = 8,
  TT_INTEGER = 24,
  TT_QUADRATIC = 40,
  TT_FRACTIONAL = 56,
  TT_CUTTING = 72,
  TT_ASSIGNMENT = 88,
  TT_REGRESSION = 104,
  TT_NONE = 255,
};

// Step kinds: each names one step class of the wizard.
enum : std::uint8_t {
  SK_ZLPINPUT = 1,
  SK_CUTINPUT = 2,
  SK_ZDLPINPUT = 3,
  SK_ZDLPTOZLP = 4,
  SK_ZLPTOZDLP = 5,
  SK_QUADRO = 6,
  SK_QUADROSOLVE = 7,
  SK_KFCHECK = 8,
  SK_ZLPCHECK = 9,
  SK_SIMPLEXSOLVE = 10,
  SK_GOMORYSELECT = 11,
  SK_PREVIEWRESULT = 12,
};
// The kinds are 1 ... StageKindCount.
inline constexpr std::uint8_t StageKindCount = SK_PREVIEWRESULT;

// One element of a step sequence: the step kind in the first byte, the rest always zero.
struct TZLPCore_StageTask {
  std::uint8_t StageKind = 0;
  std::array<std::uint8_t, 3> Reserved{};
  std::uint32_t Reserved2 = 0;
};
static_assert(sizeof(TZLPCore_StageTask) == 8);
using TZLPCore_StageTasks = std::vector<TZLPCore_StageTask>;
