#include "untStep_ZLPToZDLP.h"

#include "TaskCodes.h"

TfrmStep_ZLPToZDLP::TfrmStep_ZLPToZDLP(QWidget* owner) : TfrmStep_Page(owner, SK_ZLPTOZDLP) {}
