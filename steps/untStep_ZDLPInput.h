// The linear-fractional input step: the linear program input with numerator and denominator rows.
#pragma once

#include "untStep_ZLPInput.h"

// The objective is a fraction: the numerator row "c1 X1+ ... c0" (statement row -1) above the
// line Shape3, the denominator row "d1 X1+ ... d0" (row 0) below it, their free terms txtZ01 and
// txtZ02 one under the other, and the arrow "--> Max" beside the fraction. Tab order: the direction
// box, the numerator, txtZ01, the denominator, txtZ02, then the constraints row by row. Leaving
// forward reads the statement of type 56, writes the section with the fraction and stores the rows
// -1 ... m under the run's temporary record.
class TfrmStep_ZDLPInput : public TfrmStep_ZLPInput {
  Q_OBJECT

public:
  explicit TfrmStep_ZDLPInput(QWidget* owner);

  // Denominator coefficient j (1-based); null outside 1..n.
  [[nodiscard]] QLineEdit* DenominatorEdit(int j);

  QLineEdit* txtZ01; // the numerator's free term (txtZ0 of the linear step)
  QLineEdit* txtZ02; // the denominator's free term
  QFrame* Shape3;    // the fraction line
};
