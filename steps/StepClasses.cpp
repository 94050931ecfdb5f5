// The step classes of the wizard: one class per step kind that has widgets of its own, and the
// page step for the kinds whose work needs none.
#include "StepClasses.h"

#include "TaskCatalog.h"
#include "untStagePage.h"
#include "untStep_CutInput.h"
#include "untStep_GomorySelect.h"
#include "untStep_PreviewResult.h"
#include "untStep_Quadro.h"
#include "untStep_SimplexSolve.h"
#include "untStep_ZDLPInput.h"
#include "untStep_ZLPInput.h"

namespace {

template <class TStep> TZLPCore_SolutionStage* Make(QWidget& owner) { return new TStep(&owner); }

TStageClass ClassOf(std::uint8_t kind) {
  switch (kind) {
  case SK_ZLPINPUT: return Make<TfrmStep_ZLPInput>;
  case SK_CUTINPUT: return Make<TfrmStep_CutInput>;
  case SK_ZDLPINPUT: return Make<TfrmStep_ZDLPInput>;
  case SK_QUADRO: return Make<TfrmStep_Quadro>;
  case SK_SIMPLEXSOLVE: return Make<TfrmStep_SimplexSolve>;
  case SK_GOMORYSELECT: return Make<TfrmStep_GomorySelect>;
  case SK_PREVIEWRESULT: return Make<TfrmStep_PreviewResult>;
  default: break;
  }
  const TStageInfo* info = FindStageInfo(kind);
  if (info == nullptr || !info->PageStep) return {};
  return [kind](QWidget& owner) -> TZLPCore_SolutionStage* { return new TfrmStep_Page(&owner, kind); };
}

} // namespace

void InstallStepClasses() {
  TStageClasses classes;
  for (std::uint8_t kind = 1; kind <= classes.size(); ++kind) classes[kind - 1U] = ClassOf(kind);
  SetStageClasses(std::move(classes));
}
