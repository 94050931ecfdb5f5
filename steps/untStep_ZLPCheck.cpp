#include "untStep_ZLPCheck.h"

#include "TaskCodes.h"

TfrmStep_ZLPCheck::TfrmStep_ZLPCheck(QWidget* owner) : TfrmStep_Page(owner, SK_ZLPCHECK) {}
