// The step classes of the wizard: one class per step kind; the kinds whose work needs no widget
// are thin page steps, and a page kind without a class of its own is shown by the page step.
#include "StepClasses.h"

#include "TaskCatalog.h"
#include "untStagePage.h"
#include "untStep_CutInput.h"
#include "untStep_GomorySelect.h"
#include "untStep_KFCheck.h"
#include "untStep_PreviewResult.h"
#include "untStep_Quadro.h"
#include "untStep_QuadroSolve.h"
#include "untStep_SimplexSolve.h"
#include "untStep_ZDLPInput.h"
#include "untStep_ZDLPToZLP.h"
#include "untStep_ZLPCheck.h"
#include "untStep_ZLPInput.h"
#include "untStep_ZLPToZDLP.h"

namespace {

template <class TStep> TZLPCore_SolutionStage* Make(QWidget& owner) { return new TStep(&owner); }

TStageClass ClassOf(std::uint8_t kind) {
  switch (kind) {
  case SK_ZLPINPUT: return Make<TfrmStep_ZLPInput>;
  case SK_CUTINPUT: return Make<TfrmStep_CutInput>;
  case SK_ZDLPINPUT: return Make<TfrmStep_ZDLPInput>;
  case SK_ZDLPTOZLP: return Make<TfrmStep_ZDLPToZLP>;
  case SK_ZLPTOZDLP: return Make<TfrmStep_ZLPToZDLP>;
  case SK_QUADRO: return Make<TfrmStep_Quadro>;
  case SK_QUADROSOLVE: return Make<TfrmStep_QuadroSolve>;
  case SK_KFCHECK: return Make<TfrmStep_KFCheck>;
  case SK_ZLPCHECK: return Make<TfrmStep_ZLPCheck>;
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
