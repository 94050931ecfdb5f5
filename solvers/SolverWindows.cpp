// The standalone solver windows installed in the registry of solver windows.
#include "SolverWindows.h"

#include "Input_.h"
#include "SolverWindow.h"
#include "TransportForm.h"
#include "Unit1.h"
#include "ZLPCore_StageTasks.h"

void InstallSolverWindows() {
  SetSolverMaker(TT_ASSIGNMENT, [](const TSolverContext& context) -> std::unique_ptr<TSolverWindow> {
    return std::make_unique<TForm1>(context);
  });
  SetSolverMaker(TT_REGRESSION, [](const TSolverContext& context) -> std::unique_ptr<TSolverWindow> {
    return std::make_unique<TInput_form>(context);
  });
  SetSolverMaker(TT_TRANSPORT, [](const TSolverContext& context) -> std::unique_ptr<TSolverWindow> {
    return std::make_unique<TTransportForm>(context);
  });
}
