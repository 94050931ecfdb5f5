// The linear program model, the problem container handed between steps, and the formula texts.
#pragma once

#include "BaseType.h"
#include "InputFields.h"
#include "Simplex.h"
#include "Statement.h"
#include "Verdict.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TZLPCore_SolutionResult;

// Constraint relation, stored as its ordinal 0..4.
enum TZLPCore_InequalitySign : std::uint8_t {
  IS_BELOWOREQUAL = 0,
  IS_BELOW = 1,
  IS_EQUAL = 2,
  IS_ABOVE = 3,
  IS_ABOVEOREQUAL = 4,
};

// Readiness bits of TZLPCore_Interface::Flags.
enum : std::uint8_t {
  IF_ZLP = 1,         // the linear program was entered or produced
  IF_DENOMINATOR = 2, // the denominator of a linear-fractional objective was entered
  IF_INTEGERVARS = 4, // the integer variables were chosen
  IF_QUADRATIC = 8,   // the quadratic form was entered
  IF_TABLE = 16,      // the simplex table was built
  IF_SOLUTION = 32,   // SolutionLines holds the solution of an optimal table
};

// Edit boxes of an objective row as the input steps hand them over; a null pointer is a missing box.
struct TUICore_ZLPFunction {
  TComboField* Direction = nullptr; // item 0 means maximise
  std::vector<TEditField*> Coeffs;  // one per variable
  std::vector<TLabelField*> Labels; // captions "X1+", "X2+", ...: the name and one more character
  TEditField* FreeTerm = nullptr;
  std::vector<TEditField*> DenCoeffs; // denominator of a linear-fractional objective
  std::vector<TLabelField*> DenLabels;
  TEditField* DenFreeTerm = nullptr;
};

// Edit boxes of one constraint row.
struct TUICore_ZLPEquation {
  TComboField* Sign = nullptr; // item texts are relation texts such as "<="
  TEditField* RHS = nullptr;
  std::vector<TEditField*> Coeffs;
  std::vector<TLabelField*> Labels;
};

using TUICore_EquationSystem = std::vector<TUICore_ZLPEquation>;

// Maximise or minimise sum_j Objective[j] x_j + FreeTerm subject to
// sum_j Coeffs(j, i) x_j (relation i) RHS[i] for i = 1..m, and x >= 0.
// Coeffs has the variable as first index and the constraint as second.
class TZLPCore_SubInterface_ZLP {
public:
  bool IsMax = true;
  char VarLetter = 'X'; // first letter of generated variable names
  // Generated variable k is numbered k - VarNumberShift: a program whose column holds a variable with its
  // own name (the Y0 of a substitution) numbers the variables added after it without a gap.
  std::int32_t VarNumberShift = 0;
  TMatrix Coeffs;
  TVector RHS;
  TVector Objective;
  TRational FreeTerm{0, 1};

  [[nodiscard]] std::int32_t VarCount() const noexcept { return FVarCount; }
  [[nodiscard]] std::int32_t ConstraintCount() const noexcept { return FConstraintCount; }
  // New variables k are named VarLetter + (k - VarNumberShift), with zero coefficients.
  void SetVarCount(std::int32_t n);
  void SetConstraintCount(std::int32_t m);
  [[nodiscard]] TZLPCore_InequalitySign GetSign(std::int32_t i) const noexcept;
  void SetSign(std::int32_t i, TZLPCore_InequalitySign s) noexcept;
  [[nodiscard]] std::string GetVarName(std::int32_t j) const;
  void SetVarName(std::int32_t j, const std::string& s);
  [[nodiscard]] const std::vector<std::string>& VarNames() const noexcept { return FVarNames; }

  // Reading stops at the first malformed number, which gets the focus and the input message;
  // a missing box makes the read fail without a message.
  [[nodiscard]] bool ReadObjective(const TUICore_ZLPFunction& f);
  [[nodiscard]] bool ReadConstraints(const TUICore_EquationSystem& s);

  // Maximised, every relation "=" (a model without variables only needs to be maximised).
  [[nodiscard]] bool IsCanonical() const;
  // True when the last m variables already form a starting basis: variable n-m+i has coefficient
  // 1 in constraint i, 0 in every other constraint and 0 in the objective, and n > m.
  [[nodiscard]] bool HasOwnBasis() const;
  // Brings the model to canonical form in place and explains each change in the report.
  void ToCanonical(TZLPCore_SolutionResult& report);
  // Fills the first simplex table from a canonical model; false (table unchanged) otherwise.
  [[nodiscard]] bool BuildTable(TSimplexTable* table) const;
  // A deep copy, the free term in lowest terms.
  void Assign(const TZLPCore_SubInterface_ZLP& source);

private:
  std::vector<TZLPCore_InequalitySign> FSigns;
  std::vector<std::string> FVarNames;
  std::int32_t FConstraintCount = 0;
  std::int32_t FVarCount = 0;
};

// The denominator sum_j Coeffs[j] x_j + FreeTerm of a linear-fractional objective.
class TZLPCore_SubInterface_Denominator {
public:
  TVector Coeffs;
  TRational FreeTerm{0, 1};

  [[nodiscard]] bool ReadDenominator(const TUICore_ZLPFunction& f);
  void Assign(const TZLPCore_SubInterface_Denominator& source) { *this = source; }
};

// Everything the steps of a wizard hand on to each other; copies are always deep (every member is
// a value, so the compiler's copy copies all of them, also those added later).
class TZLPCore_Interface {
public:
  std::uint8_t Flags = 0;
  TZLPCore_SubInterface_ZLP ZLP;
  // The linear program as it stood before its canonical form: the dual problem is written for it.
  TZLPCore_SubInterface_ZLP StatedZLP;
  TZLPCore_SubInterface_Denominator Denominator;
  std::vector<std::string> IntegerVars;
  TMatrix QuadMatrix;
  TSimplexTable Table;
  std::vector<std::string> SolutionLines; // "X<sub>2</sub> = 5/3", one per basic variable
  TStatementGrid Statement;               // the statement as typed, kept by the input step
  // The method's own rule over the simplex step's pivots (the Kuhn-Tucker reduction keeps Xj and Vj
  // from being basic together); handed to the simplex table. None for the other methods.
  std::shared_ptr<const TPivotFilter> PivotFilter;
  TTaskVerdict Verdict; // how the solution ended, once it has
  // The student's choices of the simplex step and of the canonical form step (kelvano-solve's
  // --table and --start); a copy between steps keeps them.
  TTableForm TableForm = TTableForm::Compact;
  TStartMethod StartMethod = TStartMethod::Dual;

  void Assign(const TZLPCore_Interface& source) { *this = source; }
  void SetFlag(std::uint8_t bits) noexcept { Flags = static_cast<std::uint8_t>(Flags | bits); }
  void ClearFlag(std::uint8_t bits) noexcept { Flags = static_cast<std::uint8_t>(Flags & ~bits); }
  [[nodiscard]] bool HasFlag(std::uint8_t bits) const noexcept { return (Flags & bits) == bits; }
  // Writes SolutionLines (HTML) from an optimal table.
  void BuildSolution();
};

// Focuses and selects the box, shows "Введите рациональное число..." and returns false.
bool ShowInputError(TEditField* edit);
// Warns that a field this step needs was not prepared by an earlier step.
void ReportMissingField();

[[nodiscard]] std::string SignToText(std::uint8_t sign);
[[nodiscard]] std::string SignToHtml(std::uint8_t sign);
[[nodiscard]] TZLPCore_InequalitySign SignFromText(const std::string& text);
// X12 -> X<sub>12</sub>
[[nodiscard]] std::string IndexToSub(const std::string& name);
// sum_j c_j name_j + c0 as HTML with subscripts, such as "3X<sub>1</sub> - 2X<sub>2</sub> + 5"; names
// and numbers are escaped, so an invalid value reads "&lt;err&gt;".
[[nodiscard]] std::string FormatLinearForm(const TVector& c, const std::vector<std::string>& names, TRational c0);
// 0xRRGGBB -> "RRGGBB" in upper-case hexadecimal.
[[nodiscard]] std::string ColorToHex(std::uint32_t rgb);
// Opens a file or address with the desktop's default program; always 0.
int OpenDocument(const std::string& target);

// The objective (as a fraction over the denominator when one is given), then the constraints.
void AddModel(TZLPCore_SolutionResult& report, const TZLPCore_SubInterface_ZLP* zlp,
              const TZLPCore_SubInterface_Denominator* den = nullptr);
// One line per constraint, joined with CR LF, appended as one entry.
void AddConstraints(TZLPCore_SolutionResult& report, const TZLPCore_SubInterface_ZLP& zlp);

// Reads the objective row objectiveRow and the constraint rows 1 ... Sy of a linear-program layout
// into data.ZLP (variables X1 ... Xn, the relations) and sets IF_ZLP; the readers of the types
// built on a linear program start with it.
[[nodiscard]] bool ReadLinearProgram(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error,
                                     std::int32_t objectiveRow = 0);
// The statement of a linear program, every number in its text form.
[[nodiscard]] TStatementGrid StatementOfModel(const TZLPCore_SubInterface_ZLP& zlp);
