// The linear-fractional input step: the linear program input with numerator and denominator rows.
#include "untStep_ZDLPInput.h"

TfrmStep_ZDLPInput::TfrmStep_ZDLPInput(QWidget* owner)
    : TfrmStep_ZLPInput(owner, SK_ZDLPINPUT), txtZ01(ObjectiveRowAt(0)->Editor(0)),
      txtZ02(ObjectiveRowAt(1)->Editor(0)), Shape3(FractionBar()) {
  txtZ01->setToolTip(QString::fromUtf8("Свободный член числителя"));
  txtZ02->setToolTip(QString::fromUtf8("Свободный член знаменателя"));
}

QLineEdit* TfrmStep_ZDLPInput::DenominatorEdit(int j) { return EditAt(j, 0); }
