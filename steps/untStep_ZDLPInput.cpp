// The linear-fractional input step: the linear program input with numerator and denominator rows.
#include "untStep_ZDLPInput.h"

TfrmStep_ZDLPInput::TfrmStep_ZDLPInput(QWidget* owner) : TfrmStep_ZLPInput(owner, SK_ZDLPINPUT) {}
