#include "untStep_ZDLPToZLP.h"

#include "TaskCodes.h"

TfrmStep_ZDLPToZLP::TfrmStep_ZDLPToZLP(QWidget* owner) : TfrmStep_Page(owner, SK_ZDLPTOZLP) {}
