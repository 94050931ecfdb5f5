// The step where the student marks the variables that must be integers.
#pragma once

#include "ZLPCore_SolutionStage.h"

#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QScrollArea;

// One check box per variable of the linear program, captioned with its name, in columns 100 pixels
// apart inside the scroll box sb. Entering ticks the boxes of IntegerVars and then applies the stored
// ticks of the problem the wizard was opened on (on the first entry); entered again over the same
// statement it keeps the ticks the student left it with; leaving forward hands the ticked variables on as
// IntegerVars, writes the step's section and stores the ticks with the statement under the run's
// temporary record. Any choice, none included, may be taken on.
class TfrmStep_GomorySelect : public TZLPCore_SolutionStage {
  Q_OBJECT

public:
  explicit TfrmStep_GomorySelect(QWidget* owner);

  void EnterStage(TStageHost& host) override;
  void LeaveForward(TStageHost& host) override;

  [[nodiscard]] int BoxCount() const noexcept { return static_cast<int>(Boxes.size()); }
  // The box of variable j (1-based); null outside 1..BoxCount().
  [[nodiscard]] QCheckBox* Box(int j) const;

  QGroupBox* GroupBox1;
  QScrollArea* sb;
  // "Метод Гомори" (the default) or "Метод ветвей и границ": the statement's IntegerMethod.
  QComboBox* cbMethod;

private:
  void FormCreate();

  QWidget* Content = nullptr;    // the scrolled widget that holds the boxes
  std::vector<QCheckBox*> Boxes; // made anew on every entry, owned by Content
  // What the boxes showed when the step was last entered: the ticked names and the ticks of the
  // statement they were made for. A statement with other ticks (another problem file) starts anew.
  bool HasKept = false;
  std::vector<std::string> KeptTicked;
  std::vector<std::uint8_t> KeptFrom;
  std::vector<std::uint8_t> FilledFrom;
};
