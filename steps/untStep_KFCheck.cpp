#include "untStep_KFCheck.h"

#include "TaskCodes.h"

TfrmStep_KFCheck::TfrmStep_KFCheck(QWidget* owner) : TfrmStep_Page(owner, SK_KFCHECK) {}
