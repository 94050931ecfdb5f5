// The simplex method carried out one tableau at a time, with the report and the hint of each step.
#pragma once

#include "GomoryCut.h"
#include "Simplex.h"
#include "SimplexTextbook.h"
#include "ZLPCore_SolutionResult.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class TZLPCore_Interface;

// Why the method stopped before a final state of the table.
enum class TSimplexStop : std::uint8_t {
  None,
  Cycling,  // a basis repeated even under the rules that cannot cycle (a guard; not expected)
  Overflow, // a cell passed the limits of exact arithmetic (RatBigLimitText)
  CutLimit, // the relaxation is still fractional after MaxGomoryCuts cuts
};

// Drives a table from its first analysis to a final state: pivots, Gomory cuts, the automatic
// solution, the rules that end every run, and taking steps back. The windows show Hint and the
// table; every sentence of the iteration reports is written here. The table is the caller's (the
// step's own container).
class TSimplexMethod {
public:
  explicit TSimplexMethod(TSimplexTable& table);
  ~TSimplexMethod();

  TSimplexTable& Table;
  std::int32_t PivotRow = 0; // the pivot the next step uses: the proposal or the student's choice, 0 for none
  std::int32_t PivotCol = 0;
  std::int32_t ProposedRow = 0; // the pivot the rules propose for the current table
  std::int32_t ProposedCol = 0;
  std::int32_t CutCounter = 1;   // number of the next cut variable Y1, Y2, ...
  std::int32_t CutSourceRow = 0; // row the next cut is built from
  // One per analysis; the last one describes the current table and the pivot it is left by.
  std::vector<std::unique_ptr<TZLPCore_SolutionResult>> IterationReports;
  std::string Hint; // the running instruction for the student
  TSimplexStop Stop = TSimplexStop::None;
  // Each phase keeps the plain rules until a basis repeats in it, then switches for good to the
  // rule that cannot cycle: Bland's rule while improving the objective, Bland's rule of the dual
  // method while removing negative free terms. The negative free term of a Gomory cut goes by the
  // latter at once, from the optimal table the cut was made in.
  TPivotRule Rule = TPivotRule::MostNegative;
  TFeasibilityRule Feasibility = TFeasibilityRule::FirstNegative;
  TIntegerColumns IntegerColumns; // the columns a cut may treat as integer, from Start on
  // Whether Z takes integer values at every point with integer values of IntegerColumns (read from
  // the first table's Z row): the Z row may then be the source of a cut.
  bool IntegerObjective = false;
  // The first cuts come from the row of the largest fractional part, as textbooks teach; from cut
  // TextbookCuts + 1 on, by Gomory's rule that makes the method finite.
  static constexpr std::int32_t TextbookCuts = 10;
  [[nodiscard]] bool FiniteRule() const noexcept { return CutCounter > TextbookCuts; }
  // The rule Start begins with; DualLexicographic for a table that is dual feasible with negative
  // free terms (a node of branch and bound), its order then the non-basic variables of the table.
  TFeasibilityRule StartFeasibility = TFeasibilityRule::FirstNegative;
  TVariableForms Forms;                 // every variable through the first table's non-basic ones
  std::int32_t MaxCuts = MaxGomoryCuts; // integer programs: cuts made before the method stops
  // Integer programs: the method also stops when a number of its table has more decimal digits than
  // this before a cut (the mixed cut, whose method need not end, lets them grow without bound);
  // CutDigits is then the length reached.
  std::size_t MaxCutDigits = 1000;
  std::size_t CutDigits = 0;
  TTableForm Form = TTableForm::Compact; // how the iteration reports draw the tables
  // Whether an optimum that is not unique is said so, with a second optimal plan (a program whose
  // optimal plans are the student's answer; not a relaxation or a reduction).
  bool ExplainAlternatives = false;
  // The second optimal plan found at the optimum (with ExplainAlternatives).
  std::optional<TSecondOptimum> SecondOptimum;
  // How a table with negative free terms is started: by pivots on negative elements (the dual
  // simplex method) or by the artificial-basis method (no effect on a table with pairs).
  TStartMethod StartMethod = TStartMethod::Dual;
  // The artificial-basis method is under way: artificial columns are in the table.
  [[nodiscard]] bool InArtificialPhase() const noexcept;
  // The estimate of column col (0: the value of Z) as a + bM; b is 0 outside the artificial phase.
  [[nodiscard]] TMValue Delta(std::int32_t col) const;

  // First analysis of a freshly built table; forgets every earlier step.
  void Start();
  // The method has ended: optimum, no solution, inconsistent constraints, or a stop.
  [[nodiscard]] bool Finished() const noexcept;
  // A pivot is pending (states SS_PIVOT and SS_NEGATIVEB) and the method has not stopped.
  [[nodiscard]] bool PivotPending() const noexcept;
  // The student picks another pivot element (1-based table column and row). A cell holding 0 is
  // refused: the pivot stays and Hint says why. The current iteration report is written anew for
  // the chosen element. Returns whether the pivot changed.
  bool ChoosePivot(std::int32_t col, std::int32_t row);
  // One press of "Далее >>" before the end: the pending cut or pivot, then the next analysis.
  void Step();
  // "Решить": pivots while a pivot is pending. Always ends.
  void Solve();
  // Whether a pivot or cut can be taken back.
  [[nodiscard]] bool CanUndo() const noexcept { return !History.empty(); }
  // Takes back the last pivot or cut: the table, the state, the chosen pivot, the hint and the
  // iteration reports are again what they were before it. False when there is nothing to take back.
  bool Undo();
  // The step's section once the method has ended: heading, every iteration, and the optimal point.
  // The method keeps its iterations, so the section may be written again after steps taken back.
  void WriteReport(TZLPCore_Interface& data, TZLPCore_SolutionResult& report);

  // A table with more cells than CellsPerTable (free terms and the Z row included; a problem of
  // 20 constraints and 20 variables stays below it) is too large to be read on a page, and once the
  // tables shown hold CellsPerReport cells the report would outgrow what a viewer lays out at once:
  // from then on an iteration is told by its sentences and the value of the objective. The first
  // and the last table are always shown, and the report says why the others are not; of a table
  // with more than CellsInWhole cells they show the first and last EndRows rows.
  static constexpr std::int64_t MaxShownCells = 1500;
  static constexpr std::int64_t MaxReportCells = 60000;
  static constexpr std::int64_t MaxWholeCells = 100000;
  static constexpr std::int32_t EndRows = 10;
  // The length of a cell of a table, in bytes, by which a table of long numbers counts in the
  // budget; a cut whose text is longer than MaxCutText is told without its coefficients.
  static constexpr std::size_t BytesPerCell = 40;
  static constexpr std::size_t MaxCutText = 3000;
  // The iterations after the first ToldCuts cuts are listed, a line for each cut, but the last one.
  static constexpr std::int32_t ToldCuts = 50;
  // Once the iterations told hold MaxIterationText bytes, each later one but the last is told by a
  // line: its table's number, the value of Z and the pivot; after MaxBriefIterations such lines the
  // rest but the last are only counted.
  static constexpr std::size_t MaxIterationText = std::size_t{1} << 20;
  static constexpr std::size_t MaxBriefIterations = 5000;
  std::size_t IterationText = MaxIterationText;
  std::size_t BriefIterations = MaxBriefIterations;
  // A table too large for a page that is shown still goes by blocks of this many rows.
  static constexpr std::int32_t LargeTableBlockRows = 10;
  std::int64_t CellsPerTable = MaxShownCells;
  std::int64_t CellsPerReport = MaxReportCells;
  std::int64_t CellsInWhole = MaxWholeCells;

  // Hint texts shown while a pivot is pending and after a refused click.
  static const char* const HintPivot;
  static const char* const HintZeroPivot;

private:
  // What a step changed, so that Undo can restore it.
  struct TUndoStep;

  void AnalyzeAndReport();
  // Starts the report of iteration index with the current table shaded on (col, row), or, for a
  // table too large for the page in any iteration but the first, with the value of the objective;
  // WriteReport puts the last table in.
  void AddTable(TZLPCore_SolutionResult& report, std::size_t index, std::int32_t col, std::int32_t row);
  // The report of iteration index, which ends in a pivot: the table shaded on the pivot used, why a
  // pivot is needed, the element with the variables that enter and leave, the ratios of its column.
  void WritePivotIteration(TZLPCore_SolutionResult& report, std::size_t index);
  [[nodiscard]] std::string ChoiceVerdict() const;
  [[nodiscard]] std::string RatiosLine() const;
  // How the rule chose the row and the column of a pivot that removes a negative free term.
  [[nodiscard]] std::string NegativeRowLine() const;
  // The ratios C_j/|A_r,j| of the dual step on row r = PivotRow, and the tie-break when there is one.
  [[nodiscard]] std::string DualRatiosLine() const;
  // The paragraph on the cut just appended as the last row: its table form and the same inequality
  // in the variables of the first table.
  [[nodiscard]] std::string CutParagraph(std::int32_t source) const;
  // Why row source is the source of the next cut: the fractional parts of the integer variables.
  [[nodiscard]] std::string SourceParagraph(std::int32_t source) const;
  // The iterations from index from to the last but one, which come after the first ToldCuts cuts,
  // as a table of a line for each cut: its source, the pivots after it and the value of Z then.
  void ListLaterCuts(TZLPCore_SolutionResult& report, std::size_t from) const;
  // Records the basis after a pivot made in phase; false when the method must stop.
  bool RecordBasis(TSimplexState phase, TUndoStep& undo);
  bool CheckOverflow();

  // The current table in the chosen form, shaded on (col, row).
  [[nodiscard]] std::string TableHtml(std::int32_t col, std::int32_t row, std::int32_t rowsPerBlock, bool exact,
                                      std::int32_t endRows = 0) const;

  // The artificial-basis method (SimplexArtificial.cpp).
  [[nodiscard]] bool IsArtificial(std::int32_t col) const noexcept;
  // Makes the rows with B < 0 positive and gives each an artificial basic variable of cost -M.
  void StartArtificialBasis();
  // The multiples of M after a pivot on (col, row) of the table.
  void PivotArtificialRow(std::int32_t col, std::int32_t row);
  // Strikes out the artificial columns.
  void EndArtificialPhase();
  // The next pivot of the artificial phase (true), or its end: why holds the proof of inconsistent
  // constraints, or is empty when every artificial variable has left (the phase is over).
  bool AnalyzeArtificial(std::int32_t& col, std::int32_t& row, std::string& why);

  std::set<std::vector<std::string>> SeenBases;
  std::vector<TRational> Costs;     // C_j of the first table, for the textbook form
  std::int32_t FirstArtificial = 0; // column of R1 while artificial columns are in the table, else 0
  std::vector<TRational> MRow;      // the multiples of M in the Z row, cells 0..n
  std::vector<TRational> CostsM;    // the multiples of M in the costs (-1 for an artificial column)
  std::string PivotReason;          // the artificial phase: why the pending pivot is made
  bool DriveOut = false;            // the pending pivot drives an artificial variable at zero out
  std::string IterationNote;        // sentence of the current iteration report about a change of rule
  std::vector<TUndoStep> History;
  // The table of one iteration report: shown, or left out with the shading it would have had.
  struct TTableNote {
    std::int64_t Cells = 0;  // cells shown
    bool TooLarge = false;   // left out: the table is too large for a page
    bool OverBudget = false; // left out: the tables before it fill the report
    std::int32_t Col = 0;
    std::int32_t Row = 0;
    std::int32_t Cuts = 0; // the cuts made before the table
    std::string CutSource; // the table's row a cut is built from next, as the report names it
    std::string Z;         // the value of the objective in the table
    std::string Pivot;     // the variables that enter and leave the basis, when the iteration pivots
  };
  std::vector<TTableNote> Tables; // one per iteration report
};
