// The simplex method step by step: analysis texts, pivots, Gomory cuts, the rules that make every run
// end, and taking steps back.
#include "SimplexMethod.h"

#include "ZLPCore_Main.h"

#include <algorithm>
#include <optional>

const char* const TSimplexMethod::HintPivot =
    "Нажмите кнопку «Далее» для выполнения симплекс-преобразования, или «Решить» для автоматического "
    "решения. Вы можете изменить разрешающий элемент щелкнув мышкой в соответствующей ячейке "
    "симплекс-таблицы.";

const char* const TSimplexMethod::HintZeroPivot =
    "Разрешающий элемент не может быть равен нулю: на ноль делить нельзя. Выберите ячейку с ненулевым "
    "значением.";

struct TSimplexMethod::TUndoStep {
  bool Cut = false;                                       // a cut was appended, otherwise a pivot made
  std::string LeavingName;                                // pivot: the basic variable of the pivot row before
  std::unique_ptr<TSimplexTable> Saved;                   // the table before, when pivoting back cannot restore it
  bool InsertedBasis = false;                             // pivot: the new basis was added to SeenBases
  std::optional<std::set<std::vector<std::string>>> Seen; // SeenBases before, when the step replaced them
  TSimplexState State = SS_GOMORYCUT;
  std::int32_t PivotCol = 0;
  std::int32_t PivotRow = 0;
  std::int32_t ProposedCol = 0;
  std::int32_t ProposedRow = 0;
  std::int32_t CutCounter = 1;
  std::int32_t CutSourceRow = 0;
  TPivotRule Rule = TPivotRule::MostNegative;
  TFeasibilityRule Feasibility = TFeasibilityRule::FirstNegative;
  std::string Hint;
  std::string IterationNote;
  std::size_t ReportCount = 0;
  // The artificial-basis method before the step.
  std::int32_t FirstArtificial = 0;
  std::vector<TRational> MRow;
  std::vector<TRational> CostsM;
  std::vector<TRational> Costs;
  std::string PivotReason;
  bool DriveOut = false;
};

namespace {

std::string Num(std::int32_t v) { return std::to_string(v); }

std::string Text(TRational v) { return HtmlEscape(RatToStr(v)); }

// A variable name as the report writes it: X12 -> X<sub>12</sub>.
std::string VarHtml(const std::string& name) { return IndexToSub(HtmlEscape(name)); }

// The cuts struck out before a new one: their slack variables are basic again.
std::string RemovedCutsNote(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + VarHtml(name);
  if (names.size() == 1)
    return "Переменная " + list +
           " прежнего отсечения снова базисная: это отсечение больше не ограничивает план, "
           "поэтому его строка и столбец вычёркиваются из таблицы.";
  return "Переменные " + list +
         " прежних отсечений снова базисные: эти отсечения больше не ограничивают план, "
         "поэтому их строки и столбцы вычёркиваются из таблицы.";
}

// The items of a list in a line of an iteration (the negative free terms, the ratios of a column),
// joined by separator. A list of more than LongList items, which only a table too large for the page
// gives, keeps its first ListHead items, the first ListHead of those marked (the smallest ratios)
// and the chosen one, a "…" where items are left out, and says how many there are.
constexpr std::size_t LongList = 20;
constexpr std::size_t ListHead = 10;

struct TListItem {
  std::string Text;
  bool Marked = false;
  bool Chosen = false;
};

std::string JoinList(const std::vector<TListItem>& items, const char* separator) {
  std::string list;
  bool gap = false;
  std::size_t marked = 0;
  for (std::size_t k = 0; k < items.size(); ++k) {
    const bool kept =
        items.size() <= LongList || k < ListHead || items[k].Chosen || (items[k].Marked && marked < ListHead);
    if (items[k].Marked && k >= ListHead) ++marked;
    if (!kept) {
      gap = true;
      continue;
    }
    if (gap) list += separator + std::string("&hellip;");
    list += (list.empty() ? "" : separator) + items[k].Text;
    gap = false;
  }
  if (gap) list += separator + std::string("&hellip;");
  if (items.size() > LongList) list += " (всего " + Num(static_cast<std::int32_t>(items.size())) + ")";
  return list;
}

std::string Element(std::int32_t row, std::int32_t col) { return "A<sub>" + Num(row) + "," + Num(col) + "</sub>"; }

// A note of one or more paragraphs, separated by '\n'.
void AddNote(TZLPCore_SolutionResult& report, const std::string& note) {
  std::size_t from = 0;
  while (from <= note.size()) {
    const std::size_t end = std::min(note.find('\n', from), note.size());
    report.AddParagraph(note.substr(from, end - from));
    from = end + 1;
  }
}

std::string MpqHtml(const mpq_class& q) { return HtmlEscape(MpqToStr(q)); }

// "1/2X<sub>3</sub> - X<sub>4</sub> + 2Y<sub>1</sub>"; "0" when every coefficient is 0.
std::string LinearHtml(const std::vector<std::pair<mpq_class, std::string>>& terms) {
  std::string out;
  for (const auto& [a, name] : terms) {
    if (a == 0) continue;
    const mpq_class m = abs(a);
    if (out.empty())
      out += a < 0 ? "-" : "";
    else
      out += a < 0 ? " - " : " + ";
    if (m != 1) out += MpqHtml(m);
    out += VarHtml(name);
  }
  return out.empty() ? "0" : out;
}

std::string OptimalParagraph() {
  return "Все B<sub>i</sub>&ge;0 и C<sub>j</sub>&ge;0 &rArr; найдено оптимальное решение";
}

// Why the plan of an optimal table is optimal, in the terms of the index row.
std::string OptimalPlanParagraph(const TSimplexTable& t) {
  return "Все оценки &Delta;<sub>j</sub> (строка Z) неотрицательны, а задача на максимум: ввод в базис любой "
         "свободной переменной не увеличит Z, поэтому опорный план X* = " +
         PlanVector(BasicPlan(t)) + " оптимален, Z<sub>max</sub> = " + HtmlEscape(RatToStr(t.GetZValue())) + ".";
}

// The variables the rule would have brought in before column chosen (every wanted one when chosen is
// 0) but that their basic partner keeps out: columns with a negative Z entry, or, while a free term
// is negative, columns with a negative entry in a row of B < 0.
std::vector<std::string> BlockedColumns(const TSimplexTable& t, std::int32_t chosen, TPivotRule rule) {
  std::vector<std::string> names;
  bool negativeB = false;
  for (std::int32_t i = 1; i <= t.RowCount(); ++i) negativeB = negativeB || RatLessInt(t.GetB(i), 0);
  for (std::int32_t j = 1; j <= t.ColCount(); ++j) {
    bool wanted = !negativeB && RatLessInt(t.GetZ(j), 0);
    for (std::int32_t i = 1; i <= t.RowCount() && negativeB && !wanted; ++i)
      wanted = RatLessInt(t.GetB(i), 0) && RatLessInt(t.GetA(j, i), 0);
    if (wanted && chosen != 0) {
      const int cmp = RatCompare(t.GetZ(j), t.GetZ(chosen));
      wanted = rule == TPivotRule::Bland ? j < chosen : cmp < 0 || (cmp == 0 && j < chosen);
    }
    if (wanted && !t.Allows(j, 0)) names.push_back(VarHtml(t.GetColName(j)));
  }
  return names;
}

} // namespace

TSimplexMethod::TSimplexMethod(TSimplexTable& table) : Table(table) {}

TSimplexMethod::~TSimplexMethod() = default;

void TSimplexMethod::Start() {
  IterationReports.clear();
  Tables.clear();
  History.clear();
  SeenBases.clear();
  IterationNote.clear();
  Stop = TSimplexStop::None;
  Rule = TPivotRule::MostNegative;
  Feasibility = StartFeasibility;
  CutCounter = 1;
  CutSourceRow = 0;
  CutDigits = 0;
  IntegerColumns = FirstIntegerColumns(Table);
  IntegerObjective = IntegerObjectiveRow(Table, IntegerColumns);
  Costs = TableCosts(Table);
  SecondOptimum.reset();
  FirstArtificial = 0;
  MRow.clear();
  CostsM.clear();
  PivotReason.clear();
  DriveOut = false;
  Forms = FirstForms(Table);
  Table.LexOrder.clear();
  if (Feasibility == TFeasibilityRule::DualLexicographic) Table.OrderByNonBasic();
  // A node of branch and bound starts from its parent's table by the dual method, never anew.
  if (StartMethod == TStartMethod::Artificial && Feasibility != TFeasibilityRule::DualLexicographic)
    StartArtificialBasis();
  if (CheckOverflow()) return;
  SeenBases.insert(Table.RowNames());
  AnalyzeAndReport();
}

bool TSimplexMethod::Finished() const noexcept {
  return Stop != TSimplexStop::None || Table.State == SS_OPTIMAL || Table.State == SS_NOSOLUTION ||
         Table.State == SS_MANYSOLUTIONS;
}

bool TSimplexMethod::PivotPending() const noexcept {
  return Stop == TSimplexStop::None && (Table.State == SS_PIVOT || Table.State == SS_NEGATIVEB);
}

bool TSimplexMethod::ChoosePivot(std::int32_t col, std::int32_t row) {
  if (!PivotPending()) return false;
  if (col < 1 || col > Table.ColCount() || row < 1 || row > Table.RowCount()) return false;
  if (RatEqualsInt(Table.GetA(col, row), 0)) {
    Hint = HintZeroPivot;
    return false;
  }
  if (!Table.Allows(col, row)) {
    Hint = Table.PivotFilter()->Refusal(Table, col);
    return false;
  }
  PivotCol = col;
  PivotRow = row;
  Hint = HintPivot;
  if (!IterationReports.empty()) {
    TZLPCore_SolutionResult& current = *IterationReports.back();
    current.Clear();
    WritePivotIteration(current, IterationReports.size() - 1);
  }
  return true;
}

void TSimplexMethod::Step() {
  if (Finished()) return;
  TUndoStep undo;
  undo.State = Table.State;
  undo.PivotCol = PivotCol;
  undo.PivotRow = PivotRow;
  undo.ProposedCol = ProposedCol;
  undo.ProposedRow = ProposedRow;
  undo.CutCounter = CutCounter;
  undo.CutSourceRow = CutSourceRow;
  undo.Rule = Rule;
  undo.Feasibility = Feasibility;
  undo.Hint = Hint;
  undo.IterationNote = std::move(IterationNote);
  IterationNote.clear();
  undo.ReportCount = IterationReports.size();
  undo.FirstArtificial = FirstArtificial;
  undo.MRow = MRow;
  undo.CostsM = CostsM;
  undo.Costs = Costs;
  undo.PivotReason = PivotReason;
  undo.DriveOut = DriveOut;

  if (Table.State == SS_GOMORYCUT) {
    undo.Cut = true;
    if (CutCounter == 1) {
      // The order of the lexicographic dual method: the non-basic variables of the first optimum,
      // whose columns are then lexicographically positive.
      Table.OrderByNonBasic();
    }
    auto before = std::make_unique<TSimplexTable>();
    before->Assign(Table);
    const std::string name = "Y" + Num(CutCounter);
    AppendCut(Table, CutSourceRow, name, IntegerColumns, FiniteRule() && NegatedCutRow(Table, CutSourceRow));
    static_cast<void>(AddRowForm(Forms, Table, Table.RowCount()));
    const std::vector<std::string> removed = RemoveInactiveCuts(Table, CutCounter - 1, name);
    if (!removed.empty()) undo.Saved = std::move(before);
    // The cut changes the program: a basis seen before it may come again without a cycle.
    undo.Seen = std::move(SeenBases);
    SeenBases.clear();
    SeenBases.insert(Table.RowNames());
    ++CutCounter;
    // The table was optimal: the cut's negative free term goes by the lexicographic dual simplex
    // method, which keeps every C_j >= 0 and cannot cycle.
    Feasibility = TFeasibilityRule::DualLexicographic;
    IterationNote = CutParagraph(CutSourceRow);
    if (!removed.empty()) IterationNote += "\n" + RemovedCutsNote(removed);
    if (CutCounter == 2) IterationNote += "\n" + DualRuleNote();
    History.push_back(std::move(undo));
    if (CheckOverflow()) return;
  } else if (PivotPending()) {
    const TSimplexState phase = Table.State;
    undo.LeavingName = Table.GetRowName(PivotRow);
    // Pivoting back needs the leaving variable's column and every cell valid afterwards; keep the
    // table itself for the rare step where that fails.
    auto before = std::make_unique<TSimplexTable>();
    before->Assign(Table);
    Table.Pivot(PivotCol, PivotRow);
    PivotArtificialRow(PivotCol, PivotRow);
    // The artificial phase may strike out rows and columns after the pivot: keep the table.
    if (before->BasicColumn(PivotRow) == 0 || Table.HasInvalidCell() || InArtificialPhase())
      undo.Saved = std::move(before);
    History.push_back(std::move(undo));
    if (CheckOverflow()) return;
    if (!RecordBasis(phase, History.back())) return;
  } else {
    return;
  }
  AnalyzeAndReport();
}

void TSimplexMethod::Solve() {
  while (PivotPending()) Step();
}

bool TSimplexMethod::Undo() {
  if (History.empty()) return false;
  TUndoStep undo = std::move(History.back());
  History.pop_back();
  if (undo.InsertedBasis) SeenBases.erase(Table.RowNames());
  if (undo.Seen) SeenBases = std::move(*undo.Seen);
  if (undo.Saved) {
    Table.Assign(*undo.Saved);
  } else if (undo.Cut) {
    Table.SetRowCount(Table.RowCount() - 1);
    Table.SetColCount(Table.ColCount() - 1);
  } else {
    const auto& names = Table.ColNames();
    const auto it = std::find(names.begin(), names.end(), undo.LeavingName);
    Table.Pivot(static_cast<std::int32_t>(it - names.begin()) + 1, undo.PivotRow);
  }
  Table.State = undo.State;
  PivotCol = undo.PivotCol;
  PivotRow = undo.PivotRow;
  ProposedCol = undo.ProposedCol;
  ProposedRow = undo.ProposedRow;
  CutCounter = undo.CutCounter;
  CutSourceRow = undo.CutSourceRow;
  Rule = undo.Rule;
  Feasibility = undo.Feasibility;
  Hint = std::move(undo.Hint);
  IterationNote = std::move(undo.IterationNote);
  FirstArtificial = undo.FirstArtificial;
  MRow = std::move(undo.MRow);
  CostsM = std::move(undo.CostsM);
  Costs = std::move(undo.Costs);
  PivotReason = std::move(undo.PivotReason);
  DriveOut = undo.DriveOut;
  Stop = TSimplexStop::None;
  CutDigits = 0;
  IterationReports.resize(undo.ReportCount);
  Tables.resize(undo.ReportCount);
  return true;
}

bool TSimplexMethod::CheckOverflow() {
  if (!Table.HasInvalidCell()) return false;
  Stop = TSimplexStop::Overflow;
  auto report = std::make_unique<TZLPCore_SolutionResult>();
  AddTable(*report, IterationReports.size(), 0, 0);
  report->AddParagraph(std::string("В симплекс-таблице ") + RatBigLimitText +
                       " (такие ячейки показаны как &lt;err&gt;), поэтому решение остановлено: "
                       "точный ответ для этой задачи получить нельзя");
  IterationReports.push_back(std::move(report));
  PivotCol = 0;
  PivotRow = 0;
  Hint = "Числа в симплекс-таблице вышли за пределы точной арифметики программы, решение остановлено. Нажмите "
         "«Далее», чтобы просмотреть подробности";
  return true;
}

bool TSimplexMethod::RecordBasis(TSimplexState phase, TUndoStep& undo) {
  if (SeenBases.insert(Table.RowNames()).second) {
    undo.InsertedBasis = true;
    return true;
  }
  if (phase == SS_PIVOT && Rule == TPivotRule::MostNegative) {
    // The same basis again: from now on Bland's rule, which cannot cycle on ordinary pivots.
    Rule = TPivotRule::Bland;
    IterationNote = "Базис повторился: при прежнем выборе разрешающего элемента симплекс-метод зациклился. "
                    "Дальше разрешающий элемент выбирается по правилу Бленда: в базис вводится переменная с "
                    "наименьшим номером среди C<sub>j</sub>&lt;0, а при равных отношениях из базиса выводится "
                    "переменная с наименьшим номером";
  } else if (phase == SS_NEGATIVEB && Feasibility == TFeasibilityRule::FirstNegative) {
    // Removing negative free terms went round in a circle: Bland's rule of the dual method cannot.
    Feasibility = TFeasibilityRule::DualBland;
    IterationNote = "Базис повторился: при прежнем выборе разрешающего элемента отрицательные B<sub>i</sub> "
                    "устраняются по кругу. Дальше разрешающий элемент выбирается по правилу Бленда для "
                    "двойственного симплекс-метода, которое не допускает зацикливания: из базиса выводится "
                    "переменная с наименьшим номером среди строк с B<sub>i</sub>&lt;0, а в базис вводится "
                    "переменная с наименьшим номером среди отрицательных A<sub>i,j</sub> этой строки (когда все "
                    "C<sub>j</sub>&ge;0 — с наименьшим отношением C<sub>j</sub>/|A<sub>i,j</sub>|)";
  } else {
    Stop = TSimplexStop::Cycling;
    auto report = std::make_unique<TZLPCore_SolutionResult>();
    AddTable(*report, IterationReports.size(), 0, 0);
    report->AddParagraph("Базис повторился и при правиле, которое не допускает зацикливания, поэтому решение "
                         "остановлено");
    IterationReports.push_back(std::move(report));
    PivotCol = 0;
    PivotRow = 0;
    Hint = "Симплекс-метод зациклился, решение остановлено. Нажмите «Далее», чтобы просмотреть подробности";
    return false;
  }
  undo.Seen = std::move(SeenBases);
  SeenBases.clear();
  SeenBases.insert(Table.RowNames());
  return true;
}

void TSimplexMethod::AnalyzeAndReport() {
  std::int32_t col = 0;
  std::int32_t row = 0;
  SecondOptimum.reset();
  PivotReason.clear();
  DriveOut = false;
  std::string why;
  const bool artificial = InArtificialPhase();
  if (artificial && AnalyzeArtificial(col, row, why)) {
    Table.State = SS_PIVOT;
    PivotReason = why;
    DriveOut = !RatGreaterInt(Table.GetA(col, row), 0) || RatEqualsInt(Table.GetB(row), 0);
  } else if (artificial && !why.empty()) {
    // The artificial variables cannot all reach zero: the constraints are inconsistent.
    Table.State = SS_MANYSOLUTIONS;
    auto report = std::make_unique<TZLPCore_SolutionResult>();
    AddTable(*report, IterationReports.size(), 0, 0);
    if (!IterationNote.empty()) report->AddParagraph(IterationNote);
    report->AddParagraph(why);
    Hint = "Система ограничений несовместна: задача не имеет допустимых решений. Нажмите «Далее», чтобы "
           "просмотреть подробности";
    PivotCol = ProposedCol = 0;
    PivotRow = ProposedRow = 0;
    IterationReports.push_back(std::move(report));
    return;
  } else {
    Table.State = Table.Analyze(col, row, Rule, Feasibility);
  }
  PivotCol = ProposedCol = col;
  PivotRow = ProposedRow = row;
  auto report = std::make_unique<TZLPCore_SolutionResult>();
  if (PivotPending()) {
    WritePivotIteration(*report, IterationReports.size());
    Hint = HintPivot;
    IterationReports.push_back(std::move(report));
    return;
  }
  AddTable(*report, IterationReports.size(), col, row);
  if (!IterationNote.empty()) AddNote(*report, IterationNote);
  switch (Table.State) {
  case SS_NOSOLUTION:
    report->AddParagraph("Нашлось C<sub>" + Num(col) + "</sub>&lt;0, но все A<sub>i," + Num(col) +
                         "</sub>&le;0, таким образом целевая функция не ограничена на множестве допустимых решений, "
                         "оптимума нет");
    Hint = "Целевая функция не ограничена, оптимума нет. Нажмите «Далее», чтобы просмотреть подробности";
    break;
  case SS_MANYSOLUTIONS: {
    // A row with B < 0 and no negative coefficient reads sum a x = B < 0 with a >= 0 and x >= 0.
    std::int32_t i = 1;
    const auto proves = [this](std::int32_t r) {
      if (!RatLessInt(Table.GetB(r), 0)) return false;
      for (std::int32_t j = 1; j <= Table.ColCount(); ++j)
        if (RatLessInt(Table.GetA(j, r), 0)) return false;
      return true;
    };
    while (i < Table.RowCount() && !proves(i)) ++i;
    if (CutCounter > 1) {
      // The cuts keep every integer point, so the relaxation lost its last one.
      report->AddParagraph(NoIntegerSolutionParagraph(i));
      Hint = NoIntegerSolutionHint();
      break;
    }
    report->AddParagraph("Нашлось B<sub>" + Num(i) + "</sub>&lt;0, но все A<sub>" + Num(i) +
                         ",j</sub>&ge;0: уравнение строки " + Num(i) +
                         " не может выполняться при неотрицательных переменных, поэтому система ограничений "
                         "несовместна и задача не имеет допустимых решений");
    Hint = "Система ограничений несовместна: задача не имеет допустимых решений. Нажмите «Далее», чтобы "
           "просмотреть подробности";
    break;
  }
  case SS_OPTIMAL: {
    const std::int32_t largest = ChooseCutSource(Table);
    const std::int32_t source =
        largest != 0 && FiniteRule() ? ChooseLexicographicCutSource(Table, IntegerObjective, IntegerColumns) : largest;
    const std::string fractional = largest == 0  ? std::string()
                                   : source == 0 ? std::string("Z")
                                                 : Table.GetRowName(source);
    if (Table.StoppedByFilter()) {
      report->AddParagraph(Table.PivotFilter()->Stopped(BlockedColumns(Table, 0, Rule)));
      Hint = Table.PivotFilter()->StoppedHint();
    } else if (fractional.empty()) {
      report->AddParagraph(OptimalParagraph());
      report->AddParagraph(OptimalPlanParagraph(Table));
      if (ExplainAlternatives && !Table.HasInvalidCell()) {
        SecondOptimum = FindSecondOptimum(Table);
        if (SecondOptimum) report->AddParagraph(SecondOptimumText(Table, *SecondOptimum));
      }
      Hint = "Найдено оптимальное решение. Нажмите «Далее», чтобы просмотреть результат";
    } else if (CutCounter > MaxCuts || (CutDigits = Table.LargestDigits()) > MaxCutDigits) {
      if (CutCounter <= MaxCuts) {
        report->AddParagraph(OptimalParagraph() + ", но " +
                             HtmlEscape(CutDigitsSentence(fractional, CutCounter - 1, CutDigits)));
        Hint = CutDigitsHint(CutCounter - 1, CutDigits);
      } else {
        CutDigits = 0;
        report->AddParagraph(OptimalParagraph() + ", но " + HtmlEscape(CutLimitSentence(fractional, MaxCuts)));
        Hint = CutLimitHint(MaxCuts);
      }
      Stop = TSimplexStop::CutLimit;
      Table.State = SS_GOMORYCUT; // no optimum of the integer program: no point is written
    } else {
      CutSourceRow = source;
      if (!ReportSilenced())
        Tables[IterationReports.size()].CutSource =
            source == 0 ? std::string("строка Z")
                        : "строка " + Num(source) + " (" + VarHtml(Table.GetRowName(source)) + ")";
      const TGomoryCut kind = CutKind(Table, CutSourceRow, IntegerColumns);
      const std::string text =
          source != 0 ? CutSentence(fractional, kind)
                      : std::string("значение Z дробное, хотя при целых значениях переменных Z — целое число, поэтому "
                                    "строим ") +
                            (kind == TGomoryCut::Fractional ? "отсечение Гомори" : "смешанное отсечение Гомори") +
                            " по строке Z";
      report->AddParagraph(OptimalParagraph() + ", но " + HtmlEscape(text));
      report->AddParagraph(SourceParagraph(source));
      Hint = "Найдено оптимальное решение, но " + text;
      Table.State = SS_GOMORYCUT;
    }
    break;
  }
  default: break;
  }
  IterationReports.push_back(std::move(report));
}

void TSimplexMethod::WritePivotIteration(TZLPCore_SolutionResult& report, std::size_t index) {
  AddTable(report, index, PivotCol, PivotRow);
  if (!IterationNote.empty()) AddNote(report, IterationNote);
  if (!PivotReason.empty())
    report.AddParagraph(PivotReason);
  else if (Table.State == SS_NEGATIVEB)
    report.AddParagraph("Нашлись B<sub>" + Num(ProposedRow) + "</sub>&lt;0, и " + Element(ProposedRow, ProposedCol) +
                        "&lt;0 &rArr; необходимо выполнить симплекс-преобразование");
  else
    report.AddParagraph("Нашлись C<sub>" + Num(ProposedCol) + "</sub>&lt;0, и " + Element(ProposedRow, ProposedCol) +
                        "&gt;0 &rArr; необходимо выполнить симплекс-преобразование");
  if (Table.State == SS_PIVOT && Table.PivotFilter() != nullptr)
    if (const auto blocked = BlockedColumns(Table, ProposedCol, Rule); !blocked.empty())
      report.AddParagraph(Table.PivotFilter()->Blocked(blocked));
  const std::string element = Element(PivotRow, PivotCol) + " = " + Text(Table.GetA(PivotCol, PivotRow));
  const std::string variables = "в базис вводится " + VarHtml(Table.GetColName(PivotCol)) + ", из базиса выводится " +
                                VarHtml(Table.GetRowName(PivotRow));
  if (index < Tables.size()) Tables[index].Pivot = variables;
  if (PivotCol == ProposedCol && PivotRow == ProposedRow)
    report.AddParagraph("Разрешающий элемент " + element + ": " + variables + ".");
  else
    report.AddParagraph("Разрешающий элемент выбран вручную: " + element + " вместо предложенного " +
                        Element(ProposedRow, ProposedCol) + "; " + ChoiceVerdict() + ". При этом " + variables + ".");
  if (Table.State == SS_NEGATIVEB && Feasibility == TFeasibilityRule::DualLexicographic)
    report.AddParagraph(DualRatiosLine());
  else if (!DriveOut) // a pivot that drives an artificial variable at zero out of the basis needs no ratios
    report.AddParagraph(RatiosLine());
}

std::string TSimplexMethod::DualRatiosLine() const {
  const std::int32_t r = PivotRow;
  const mpq_class b = Table.GetExact(0, r);
  std::string line = "Это шаг двойственного симплекс-метода: из базиса выводится " + VarHtml(Table.GetRowName(r)) +
                     ", переменная строки " + Num(r) + " с наименьшим свободным членом B<sub>" + Num(r) +
                     "</sub> = " + MpqHtml(b) +
                     ". Чтобы все C<sub>j</sub> остались неотрицательными, в базис вводится " +
                     "переменная с наименьшим отношением C<sub>j</sub>/|A<sub>" + Num(r) + ",j</sub>| среди A<sub>" +
                     Num(r) + ",j</sub>&lt;0: ";
  std::optional<mpq_class> least;
  std::vector<std::int32_t> columns;
  for (std::int32_t j = 1; j <= Table.ColCount(); ++j) {
    const mpq_class a = Table.GetExact(j, r);
    if (a >= 0) continue;
    columns.push_back(j);
    const mpq_class q = Table.GetExact(j, 0) / abs(a);
    if (!least || q < *least) least = q;
  }
  std::int32_t tied = 0;
  std::vector<TListItem> items;
  for (const std::int32_t j : columns) {
    const mpq_class q = Table.GetExact(j, 0) / abs(Table.GetExact(j, r));
    items.push_back({"C<sub>" + Num(j) + "</sub>/|" + Element(r, j) + "| = " + MpqHtml(q), q == *least, j == PivotCol});
    if (q == *least) {
      items.back().Text += " (наименьшее)";
      ++tied;
    }
  }
  line += JoinList(items, "; ") + ".";
  if (tied > 1)
    line += " Наименьшее отношение у нескольких столбцов; из них выбран " + VarHtml(Table.GetColName(PivotCol)) +
            " по лексикографическому правилу: его столбец, делённый на |" + Element(r, PivotCol) +
            "|, меньше других при сравнении по порядку переменных.";
  return line;
}

std::string TSimplexMethod::SourceParagraph(std::int32_t source) const {
  std::vector<std::int32_t> rows;
  for (std::int32_t i = 1; i <= Table.RowCount(); ++i) {
    const std::string& name = Table.GetRowName(i);
    if (std::find(Table.IntegerVars.begin(), Table.IntegerVars.end(), name) != Table.IntegerVars.end() &&
        !RatIsInteger(Table.GetB(i)))
      rows.push_back(i);
  }
  const auto part = [this](std::int32_t i) {
    const TRational b = Table.GetCell(0, i);
    return (i == 0 ? std::string("Z") : VarHtml(Table.GetRowName(i))) + " = " + Text(b) + " (дробная часть " +
           Text(FractionalPart(b)) + ")";
  };
  const std::string where =
      source == 0 ? std::string("строке Z") : "строке " + Num(source) + " (" + VarHtml(Table.GetRowName(source)) + ")";
  if (FiniteRule()) {
    // Gomory's finite rule: the first fractional value in the order of the lexicographic method.
    std::string order = IntegerObjective ? "Z" : "";
    for (const std::string& name : Table.LexOrder) order += (order.empty() ? "" : ", ") + VarHtml(name);
    std::string text = CutCounter == TextbookCuts + 1
                           ? "Отсечений уже " + Num(TextbookCuts) +
                                 ", а правило наибольшей дробной части не гарантирует, что метод закончится. Поэтому "
                                 "дальше источник отсечения выбирается по правилу Гомори, при котором метод конечен: "
                                 "первая дробная величина в порядке " +
                                 order +
                                 " (в этом порядке план лексикографически убывает с каждым отсечением; переменные "
                                 "в нём берутся со знаком минус, поэтому отсечение строится по строке переменной, "
                                 "умноженной на −1). "
                           : "По правилу Гомори (порядок " + order + "): ";
    if (source == 0) return text + "первая дробная величина — " + part(0) + ", отсечение строится по " + where + ".";
    if (!NegatedCutRow(Table, source)) {
      bool fractional = false;
      for (const std::string& name : Table.LexOrder)
        if (const std::int32_t i = Table.RowOf(name); i != 0) fractional = fractional || !RatIsInteger(Table.GetB(i));
      return text +
             (fractional ? "первая дробная величина этого порядка не обязана быть целой"
                         : "все величины этого порядка целые") +
             ", поэтому берётся строка с наибольшей дробной частью: " + part(source) + ", отсечение строится по " +
             where + ".";
    }
    const TRational b = RatNeg(Table.GetB(source));
    return text + "первая дробная величина — " + part(source) + ", отсечение строится по " + where +
           ", умноженной на −1: −" + VarHtml(Table.GetRowName(source)) + " = " + Text(b) + " (дробная часть " +
           Text(FractionalPart(b)) + ").";
  }
  if (rows.size() <= 1)
    return "Дробное значение только у " + part(source) + ", поэтому отсечение строится по " + where + ".";
  std::vector<TListItem> items;
  bool tie = false;
  for (const std::int32_t i : rows) {
    items.push_back({part(i), false, i == source});
    tie = tie || (i != source && RatCompare(FractionalPart(Table.GetB(i)), FractionalPart(Table.GetB(source))) == 0);
  }
  return "Дробные значения у целочисленных переменных " + JoinList(items, ", ") + ". Отсечение строится по " + where +
         ", у свободного члена которой наибольшая дробная часть" +
         (tie ? " (из строк с равной дробной частью берётся верхняя)" : "") + ".";
}

std::string TSimplexMethod::CutParagraph(std::int32_t source) const {
  const std::int32_t m = Table.RowCount();
  const std::string y = Table.GetRowName(m);
  std::vector<std::pair<mpq_class, std::string>> row;
  std::vector<std::pair<mpq_class, std::string>> positive;
  for (std::int32_t j = 1; j <= Table.ColCount(); ++j) {
    const mpq_class a = Table.GetExact(j, m);
    if (a == 0) continue;
    row.emplace_back(a, Table.GetColName(j));
    if (Table.GetColName(j) != y) positive.emplace_back(-a, Table.GetColName(j));
  }
  const std::string where =
      source == 0 ? std::string("строке Z") : "строке " + Num(source) + " (" + VarHtml(Table.GetRowName(source)) + ")";
  // A cut of very long numbers is told without them: the table shows them.
  const auto told = [&](std::string full) {
    if (full.size() <= MaxCutText) return full;
    return "Отсечение по " + where + " добавлено в таблицу строкой " + Num(m) + " (" + VarHtml(y) +
           " &ge; 0); его коэффициенты — слишком длинные дроби, чтобы выписывать их здесь, — стоят в строке " + Num(m) +
           " таблицы.";
  };
  std::string text = "Отсечение по " + where + " добавлено в таблицу строкой " + Num(m) + ": " + LinearHtml(row) +
                     " = " + MpqHtml(Table.GetExact(0, m)) + ", то есть " + LinearHtml(positive) + " &ge; " +
                     MpqHtml(-Table.GetExact(0, m)) + " при " + VarHtml(y) + " &ge; 0";
  const auto form = Forms.Forms.find(y);
  if (form == Forms.Forms.end()) return told(text + ".");
  // Y = c0 + sum c_k x_k >= 0 reads sum c_k x_k >= -c0; in lowest whole terms where it is exact.
  std::vector<mpq_class> c(form->second.begin() + 1, form->second.end());
  mpq_class rhs = -form->second[0];
  mpz_class den = rhs.get_den();
  mpz_class num = 0;
  for (const mpq_class& v : c) {
    if (v == 0) continue;
    mpz_lcm(den.get_mpz_t(), den.get_mpz_t(), v.get_den_mpz_t());
    mpz_gcd(num.get_mpz_t(), num.get_mpz_t(), v.get_num_mpz_t());
  }
  if (num == 0) return told(text + ".");
  mpq_class k(den, num);
  k.canonicalize();
  bool allNegative = true;
  for (const mpq_class& v : c) allNegative = allNegative && v <= 0;
  if (allNegative) k = -k;
  std::vector<std::pair<mpq_class, std::string>> terms;
  for (std::size_t t = 0; t < c.size(); ++t) terms.emplace_back(c[t] * k, Forms.Base[t]);
  return told(text + "; через переменные задачи: " + LinearHtml(terms) + (allNegative ? " &le; " : " &ge; ") +
              MpqHtml(rhs * k) + ".");
}

std::string TSimplexMethod::ChoiceVerdict() const {
  const std::string element = Element(PivotRow, PivotCol);
  const std::string freeTerm = "B<sub>" + Num(PivotRow) + "</sub>";
  const TRational a = Table.GetA(PivotCol, PivotRow);
  const TRational b = Table.GetB(PivotRow);
  const std::string broken = "этот элемент не удовлетворяет правилам симплекс-метода: ";
  if (Table.State == SS_NEGATIVEB) {
    if (!RatLessInt(b, 0)) return broken + freeTerm + "&ge;0";
    if (RatGreaterInt(a, 0)) return broken + element + "&gt;0, и " + freeTerm + " останется отрицательным";
    return "этот элемент тоже удовлетворяет правилам симплекс-метода: " + freeTerm + "&lt;0 и " + element + "&lt;0";
  }
  // A plan made infeasible on purpose is told, and how the method wins feasibility back.
  const std::string recovered = ": новый план будет недопустимым. Допустимость восстанавливается на следующих шагах: "
                                "строка с отрицательным B<sub>i</sub> становится разрешающей, как в двойственном "
                                "симплекс-методе";
  if (RatLessInt(a, 0))
    return broken + element + "&lt;0" +
           (RatGreaterInt(b, 0) ? ", и " + freeTerm + " станет отрицательным" + recovered : "");
  if (Delta(PivotCol).Sign() >= 0)
    return broken + "C<sub>" + Num(PivotCol) + "</sub>&ge;0, и значение функции не увеличится";
  // The row must give the smallest ratio B/A among the positive entries of the column.
  for (std::int32_t i = 1; i <= Table.RowCount(); ++i) {
    const TRational ai = Table.GetA(PivotCol, i);
    if (i != PivotRow && RatGreaterInt(ai, 0) && RatCompareQuotients(Table.GetB(i), ai, b, a) < 0)
      return broken + "отношение " + freeTerm + "/" + element + " = " + Text(RatDiv(b, a)) +
             " не наименьшее в столбце, и отрицательными станут B<sub>i</sub> строк с меньшим отношением" + recovered;
  }
  return "этот элемент тоже удовлетворяет правилам симплекс-метода";
}

std::string TSimplexMethod::RatiosLine() const {
  if (Table.State == SS_NEGATIVEB) return NegativeRowLine();
  const std::int32_t k = PivotCol;
  const std::string column = "A<sub>i," + Num(k) + "</sub>";
  const std::string condition = column + "&gt;0";
  // The rows that bound how far the entering variable can grow: B(i) >= 0 and a(k, i) > 0.
  std::vector<std::int32_t> rows;
  std::int32_t smallest = 0;
  for (std::int32_t i = 1; i <= Table.RowCount(); ++i) {
    const TRational a = Table.GetA(k, i);
    if (!RatGreaterInt(a, 0) || RatLessInt(Table.GetB(i), 0)) continue;
    rows.push_back(i);
    if (smallest == 0 || RatCompareQuotients(Table.GetB(i), a, Table.GetB(smallest), Table.GetA(k, smallest)) < 0)
      smallest = i;
  }
  if (rows.empty()) return "Отношений B<sub>i</sub>/" + column + " при " + condition + " нет.";
  std::string line = "Отношения B<sub>i</sub>/" + column + " при " + condition + ": ";
  std::int32_t tied = 0;
  std::vector<TListItem> items;
  for (const std::int32_t i : rows) {
    const TRational a = Table.GetA(k, i);
    const TRational b = Table.GetB(i);
    items.push_back({"B<sub>" + Num(i) + "</sub>/" + Element(i, k) + " = " + Text(RatDiv(b, a)), false,
                     ProposedCol == k && i == ProposedRow});
    if (RatCompareQuotients(b, a, Table.GetB(smallest), Table.GetA(k, smallest)) == 0) {
      items.back().Text += " (наименьшее)";
      items.back().Marked = true;
      ++tied;
    }
  }
  line += JoinList(items, "; ") + ".";
  // Several rows share the smallest ratio: say which one the rules take.
  if (tied > 1 && ProposedCol == k && ProposedRow != 0) {
    line += " Из строк с равным наименьшим отношением выбрана строка " + Num(ProposedRow);
    if (Table.PivotFilter() != nullptr)
      line += ".";
    else if (Rule == TPivotRule::Bland)
      line += ": её базисная переменная имеет наименьший номер (правило Бленда).";
    else
      line += ", верхняя из них.";
  }
  return line;
}

std::string TSimplexMethod::NegativeRowLine() const {
  // The rule's own choice: the proposed row and column, which a student's click does not change.
  const std::int32_t r = ProposedRow;
  const std::int32_t k = ProposedCol;
  if (r == 0 || k == 0) return {};
  std::vector<TListItem> negative;
  for (std::int32_t i = 1; i <= Table.RowCount(); ++i)
    if (RatLessInt(Table.GetB(i), 0))
      negative.push_back({"B<sub>" + Num(i) + "</sub> = " + Text(Table.GetB(i)), false, i == r});
  const std::string rowsB = JoinList(negative, ", ");
  bool dualFeasible = true;
  for (std::int32_t j = 1; j <= Table.ColCount() && dualFeasible; ++j) dualFeasible = !RatLessInt(Table.GetZ(j), 0);
  const bool dual = Feasibility == TFeasibilityRule::DualBland;
  std::string line = "Двойственный симплекс-метод: выбираем строку с отрицательным свободным членом (" + rowsB + ") — ";
  line += dual ? "строку " + Num(r) + ", базисная переменная которой " + VarHtml(Table.GetRowName(r)) +
                     " имеет наименьший номер (правило Бленда)"
               : "первую такую строку, в которой есть отрицательный коэффициент, строку " + Num(r) + " (" +
                     VarHtml(Table.GetRowName(r)) + ")";
  line += "; из базиса выводится " + VarHtml(Table.GetRowName(r)) + ". ";
  std::vector<TListItem> items;
  for (std::int32_t j = 1; j <= Table.ColCount(); ++j) {
    const TRational a = Table.GetA(j, r);
    if (!RatLessInt(a, 0)) continue;
    if (dual && dualFeasible) {
      // The column of the smallest |Z(j) / a(j, r)| keeps every C_j >= 0.
      items.push_back(
          {"C<sub>" + Num(j) + "</sub>/|" + Element(r, j) + "| = " + Text(RatDiv(Table.GetZ(j), RatNeg(a)))});
      if (RatCompareQuotients(Table.GetZ(j), a, Table.GetZ(k), Table.GetA(k, r)) == 0) {
        items.back().Text += j == k ? " (наименьшее, выбрано)" : " (наименьшее)";
        items.back().Marked = true;
      }
      items.back().Chosen = j == k;
    } else {
      items.push_back({Element(r, j) + " = " + Text(a) + (j == k ? " (выбран)" : ""), false, j == k});
    }
  }
  const std::string entries = JoinList(items, "; ");
  if (dual && dualFeasible)
    return line + "Все C<sub>j</sub>&ge;0, поэтому в базис вводится переменная с наименьшим отношением " +
           "C<sub>j</sub>/|A<sub>" + Num(r) +
           ",j</sub>| по отрицательным коэффициентам строки, и строка Z остаётся "
           "неотрицательной: " +
           entries + "; в базис вводится " + VarHtml(Table.GetColName(k)) + ".";
  const std::string which = Table.PivotFilter() != nullptr ? Table.PivotFilter()->FirstAllowedColumn()
                            : dual                         ? "с наименьшим номером"
                                                           : "первого столбца";
  return line + "В базис вводится переменная " + which + " с отрицательным коэффициентом в этой строке, " +
         VarHtml(Table.GetColName(k)) + ": отрицательные коэффициенты строки " + Num(r) + ": " + entries +
         ". После преобразования B<sub>" + Num(r) + "</sub> станет " + Text(RatDiv(Table.GetB(r), Table.GetA(k, r))) +
         " &gt; 0.";
}

namespace {

// 20000 -> "20&nbsp;000"
std::string Grouped(std::int64_t v) {
  std::string digits = std::to_string(v);
  for (auto i = static_cast<std::ptrdiff_t>(digits.size()) - 3; i > 0; i -= 3)
    digits.insert(static_cast<std::size_t>(i), "&nbsp;");
  return digits;
}

} // namespace

void TSimplexMethod::AddTable(TZLPCore_SolutionResult& report, std::size_t index, std::int32_t col, std::int32_t row) {
  if (Tables.size() <= index) Tables.resize(index + 1);
  std::int64_t shown = 0;
  for (std::size_t k = 0; k < index; ++k) shown += Tables[k].Cells;
  const std::int64_t cells = std::int64_t{Table.ColCount() + 1} * (Table.RowCount() + 1);
  TTableNote& note = Tables[index];
  note = TTableNote{};
  note.TooLarge = index > 0 && cells > CellsPerTable;
  note.OverBudget = index > 0 && !note.TooLarge && shown + cells > CellsPerReport;
  note.Col = col;
  note.Row = row;
  note.Cuts = CutCounter - 1;
  if (ReportSilenced()) return;
  {
    // For the line that may tell the iteration: a long value as a short decimal (the tables and the
    // point give it exactly).
    const TRational z = Table.GetZValue();
    note.Z = RatIsLong(z) ? "&asymp;" + RatToDecimal(z) : Text(z);
  }
  if (!note.TooLarge && !note.OverBudget) {
    std::string html =
        TableHtml(col, row, cells > CellsPerTable ? LargeTableBlockRows : 0, false, cells > CellsInWhole ? EndRows : 0);
    // A table of long numbers counts by its length, as many cells of the usual size.
    note.Cells = std::max(cells, static_cast<std::int64_t>(html.size() / BytesPerCell));
    report.AddLine(std::move(html));
  } else {
    report.AddParagraph("<b>Симплекс-таблица " + std::to_string(index + 1) +
                        "</b> (не показана): значение Z в ней равно " + Text(Table.GetZValue()) + ".");
    // The plan of a table left out would make the report as long as the table: the final plan is
    // told with the optimum.
    return;
  }
  if (!Table.HasInvalidCell()) {
    const TMValue z = Delta(0);
    report.AddParagraph(PlanSentence(Table, InArtificialPhase() ? &z : nullptr));
  }
}

std::string TSimplexMethod::TableHtml(std::int32_t col, std::int32_t row, std::int32_t rowsPerBlock, bool exact,
                                      std::int32_t endRows) const {
  // The ratios of the column entering by the rules of the objective; an unbounded column shows none.
  const bool theta = (Table.State == SS_PIVOT && !DriveOut) || Table.State == SS_NOSOLUTION;
  if (InArtificialPhase()) return ArtificialTableHtml(Table, Form, Costs, CostsM, MRow, col, row, theta);
  if (Form == TTableForm::Compact) return Table.ToHtml(col, row, rowsPerBlock, exact, endRows);
  return TextbookTableHtml(Table, Costs, col, row, theta, exact);
}

void TSimplexMethod::ListLaterCuts(TZLPCore_SolutionResult& report, std::size_t from) const {
  // Iteration from holds the table with cut ToldCuts + 1 appended; the last iteration is told in full.
  std::vector<std::vector<std::string>> rows{
      {"Отсечение", "Строится по", "Шагов двойственного симплекс-метода", "Значение Z после них"}};
  const std::size_t last = IterationReports.size() - 1;
  for (std::size_t k = from; k <= last;) {
    // The tables of one cut: the first with the cut appended, the last the one its pivots end in.
    const std::int32_t cut = Tables[k].Cuts;
    std::size_t end = k;
    while (end < last && Tables[end + 1].Cuts == cut) ++end;
    rows.push_back({Num(cut), Tables[k - 1].CutSource, Num(static_cast<std::int32_t>(end - k)), Tables[end].Z});
    k = end + 1;
  }
  const std::int32_t listed = Tables[last].Cuts;
  report.AddParagraph("Отсечений больше " + Num(ToldCuts) + ": отсечения " + Num(ToldCuts + 1) + "–" + Num(listed) +
                      " перечислены в таблице — по какой строке построено отсечение, сколько шагов двойственного "
                      "симплекс-метода понадобилось после него и значение Z после них; последняя таблица решения "
                      "показана ниже.");
  report.AddLine(CellTable(rows));
}

void TSimplexMethod::WriteReport(TZLPCore_Interface& data, TZLPCore_SolutionResult& report) {
  report.Clear();
  report.AddHeading("Симплекс-метод");
  Tables.resize(IterationReports.size());
  // The table has not changed since the last iteration was written: it is the last table.
  // It shows every number in full.
  if (!Tables.empty() && !IterationReports.back()->Lines.empty() &&
      (Tables.back().TooLarge || Tables.back().OverBudget || Table.IsBig())) {
    const std::int64_t cells = std::int64_t{Table.ColCount() + 1} * (Table.RowCount() + 1);
    IterationReports.back()->Lines.front() =
        TableHtml(Tables.back().Col, Tables.back().Row, cells > CellsPerTable ? LargeTableBlockRows : 0, true,
                  cells > CellsInWhole ? EndRows : 0);
    Tables.back().TooLarge = Tables.back().OverBudget = false;
  }
  const bool tooLarge = std::any_of(Tables.begin(), Tables.end(), [](const TTableNote& t) { return t.TooLarge; });
  const bool overBudget = std::any_of(Tables.begin(), Tables.end(), [](const TTableNote& t) { return t.OverBudget; });
  std::string note;
  if (tooLarge)
    note = "Симплекс-таблицы этой задачи слишком велики, чтобы их можно было прочесть на странице: таблица больше " +
           Grouped(CellsPerTable) + " клеток показана полностью, только если она первая или последняя.";
  if (overBudget)
    note += std::string(tooLarge ? " Кроме того, таблиц" : "Симплекс-таблиц") +
            " в решении так много, что все они не поместятся в отчёт: полностью показаны таблицы, пока в них не "
            "больше " +
            Grouped(CellsPerReport) + " клеток, и последняя таблица.";
  const std::int64_t lastCells = std::int64_t{Table.ColCount() + 1} * (Table.RowCount() + 1);
  if (lastCells > CellsInWhole ||
      std::any_of(Tables.begin(), Tables.end(), [this](const TTableNote& t) { return t.Cells > CellsInWhole; }))
    note += std::string(note.empty() ? "" : " ") + "Из таблиц больше " + Grouped(CellsInWhole) +
            " клеток показаны первые и последние " + std::to_string(EndRows) +
            " строк и строка Z; значения всех переменных в точке экстремума выписаны ниже.";
  if (!note.empty())
    report.AddParagraph(note + " О каждом шаге, таблица которого не показана, сказано, какая переменная вводится "
                               "в базис, какая выводится из него и каково значение Z.");
  // The iterations stay with the method: a student who comes back to the step may take pivots back
  // and have the section written again.
  std::vector<std::size_t> starts;
  std::size_t told = 0;
  bool brief = false;
  std::size_t briefLines = 0;
  for (std::size_t k = 0; k < IterationReports.size(); ++k) {
    const bool last = k + 1 == IterationReports.size();
    if (!last && Tables[k].Cuts > ToldCuts) {
      // The iterations of the later cuts, but the last one: a line for each cut.
      if (Tables[k].Cuts == ToldCuts + 1 && (k == 0 || Tables[k - 1].Cuts <= ToldCuts)) {
        starts.push_back(report.Lines.size());
        ListLaterCuts(report, k);
      }
      continue;
    }
    if (!last && !brief) {
      std::size_t bytes = 0;
      for (const std::string& line : IterationReports[k]->Lines) bytes += line.size();
      brief = told + bytes > IterationText;
      told += bytes;
      if (brief)
        report.AddParagraph(
            "Шагов в решении так много, что все они не поместятся в отчёт: начиная с симплекс-таблицы " +
            Num(static_cast<std::int32_t>(k + 1)) +
            " каждый шаг, кроме последнего, описан одной строкой — значение Z в таблице и "
            "переменные, которые вводятся в базис и выводятся из него.");
    }
    if (brief && !last && briefLines == BriefIterations) {
      const std::size_t rest = IterationReports.size() - 1 - k;
      report.AddParagraph("Симплекс-таблицы " + Num(static_cast<std::int32_t>(k + 1)) + "&ndash;" +
                          Num(static_cast<std::int32_t>(IterationReports.size() - 1)) + " (" +
                          CountText(static_cast<std::int64_t>(rest), "шаг", "шага", "шагов") +
                          ") не описаны: значение Z в них меняется с " + Tables[k].Z + " до " +
                          Tables[IterationReports.size() - 2].Z + ".");
      k = IterationReports.size() - 2;
      ++briefLines;
      continue;
    }
    starts.push_back(report.Lines.size());
    if (brief && !last) {
      ++briefLines;
      const TTableNote& note = Tables[k];
      report.AddParagraph("<b>Симплекс-таблица " + Num(static_cast<std::int32_t>(k + 1)) + "</b>: Z = " + note.Z +
                          (!note.Pivot.empty()       ? "; " + note.Pivot
                           : !note.CutSource.empty() ? "; отсечение строится по: " + note.CutSource
                                                     : std::string()) +
                          ".");
      continue;
    }
    report.AppendReport(IterationReports[k].get());
  }
  LayInBlocks(report, starts, report.Lines.size());
  data.BuildSolution();
  if (!data.SolutionLines.empty()) {
    std::string point = "<p>Функция достигает экстремума в точке:\r\n<pre>";
    for (const auto& line : data.SolutionLines) point += line + "\r\n";
    report.AddLine(point + "</pre>");
  }
}
