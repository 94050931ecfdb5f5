// The simplex method carried out one tableau at a time, with the report and the hint of each step.
#pragma once

#include "Simplex.h"
#include "ZLPCore_Gomory.h"
#include "ZLPCore_SolutionResult.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

class TZLPCore_Interface;

// Why the method stopped before a final state of the table.
enum class TSimplexStop : std::uint8_t {
  None,
  Cycling,  // a basis repeated even under Bland's rule
  Overflow, // a cell left the range of exact 32-bit fractions
  CutLimit, // the relaxation is still fractional after MaxGomoryCuts cuts
};

// Drives a table from its first analysis to a final state: pivots, Gomory cuts, the automatic
// solution, cycling and overflow guards. The windows show Hint and the table; every sentence of the
// iteration reports is written here. The table is the caller's (the step's own container).
class TSimplexMethod {
public:
  explicit TSimplexMethod(TSimplexTable& table);

  TSimplexTable& Table;
  std::int32_t PivotRow = 0; // proposed or chosen pivot, 0 for none
  std::int32_t PivotCol = 0;
  std::int32_t CutCounter = 1;                                            // number of the next cut variable Y1, Y2, ...
  std::int32_t CutSourceRow = 0;                                          // row the next cut is built from
  std::vector<std::unique_ptr<TZLPCore_SolutionResult>> IterationReports; // one per analysis
  std::string Hint;                                                       // the running instruction for the student
  TSimplexStop Stop = TSimplexStop::None;
  TPivotRule Rule = TPivotRule::MostNegative;
  TIntegerColumns IntegerColumns;       // the columns a cut may treat as integer, from Start on
  std::int32_t MaxCuts = MaxGomoryCuts; // integer programs: cuts made before the method stops

  // First analysis of a freshly built table.
  void Start();
  // The method has ended: optimum, no solution, inconsistent constraints, or a stop.
  [[nodiscard]] bool Finished() const noexcept;
  // A pivot is pending (states SS_PIVOT and SS_NEGATIVEB) and the method has not stopped.
  [[nodiscard]] bool PivotPending() const noexcept;
  // The student picks another pivot element (1-based table column and row). A cell holding 0 is
  // refused: the pivot stays and Hint says why. Returns whether the pivot changed.
  bool ChoosePivot(std::int32_t col, std::int32_t row);
  // One press of "Далее >>" before the end: the pending cut or pivot, then the next analysis.
  void Step();
  // "Решить": pivots while a pivot is pending. Always ends.
  void Solve();
  // The step's section once the method has ended: heading, every iteration, and the optimal point.
  void WriteReport(TZLPCore_Interface& data, TZLPCore_SolutionResult& report);

  // Hint texts shown while a pivot is pending and after a refused click.
  static const char* const HintPivot;
  static const char* const HintZeroPivot;

private:
  void AnalyzeAndReport();
  // Records the basis after a pivot; false when the method must stop (cycling under Bland's rule).
  bool RecordBasis();
  bool CheckOverflow();

  std::set<std::vector<std::string>> SeenBases;
  std::string PendingNote; // sentence for the next iteration report
};
