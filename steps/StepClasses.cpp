// The step classes of the wizard, one per step kind.
#include "StepClasses.h"

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

} // namespace

void InstallStepClasses() {
  // In the order of the step kinds 1 ... 12.
  SetStageClasses({{
      Make<TfrmStep_ZLPInput>,
      Make<TfrmStep_CutInput>,
      Make<TfrmStep_ZDLPInput>,
      Make<TfrmStep_ZDLPToZLP>,
      Make<TfrmStep_ZLPToZDLP>,
      Make<TfrmStep_Quadro>,
      Make<TfrmStep_QuadroSolve>,
      Make<TfrmStep_KFCheck>,
      Make<TfrmStep_ZLPCheck>,
      Make<TfrmStep_SimplexSolve>,
      Make<TfrmStep_GomorySelect>,
      Make<TfrmStep_PreviewResult>,
  }});
}
