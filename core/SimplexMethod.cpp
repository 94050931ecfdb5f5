// The simplex method step by step: analysis texts, pivots, Gomory cuts and the guards that make
// the automatic solution always end.
#include "SimplexMethod.h"

#include "ZLPCore_Main.h"

const char* const TSimplexMethod::HintPivot =
    "Нажмите кнопку \"Далее\" для выполнения симплекс-преобразования, или \"Решить\" для автоматического "
    "решения. Вы можете изменить разрешающий элемент щелкнув мышкой в соответствующей ячейке "
    "симплекс-таблицы.";

const char* const TSimplexMethod::HintZeroPivot =
    "Разрешающий элемент не может быть равен нулю: на ноль делить нельзя. Выберите ячейку с ненулевым "
    "значением.";

namespace {

std::string Num(std::int32_t v) { return std::to_string(v); }

std::string OptimalParagraph() { return "Все B<sub>i</sub>&gt;0 и C<sub>j</sub>&gt;0 => найдено оптимальное решение"; }

} // namespace

TSimplexMethod::TSimplexMethod(TSimplexTable& table) : Table(table) {}

void TSimplexMethod::Start() {
  IterationReports.clear();
  SeenBases.clear();
  PendingNote.clear();
  Stop = TSimplexStop::None;
  Rule = TPivotRule::MostNegative;
  CutCounter = 1;
  CutSourceRow = 0;
  IntegerColumns = FirstIntegerColumns(Table);
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
  PivotCol = col;
  PivotRow = row;
  Hint = HintPivot;
  return true;
}

void TSimplexMethod::Step() {
  if (Finished()) return;
  if (Table.State == SS_GOMORYCUT) {
    AppendCut(Table, CutSourceRow, "Y" + Num(CutCounter), IntegerColumns);
    ++CutCounter;
    if (CheckOverflow()) return;
  } else if (PivotPending()) {
    Table.Pivot(PivotCol, PivotRow);
    if (CheckOverflow()) return;
    if (!RecordBasis()) return;
  } else {
    return;
  }
  AnalyzeAndReport();
}

void TSimplexMethod::Solve() {
  while (PivotPending()) Step();
}

bool TSimplexMethod::CheckOverflow() {
  if (!Table.HasInvalidCell()) return false;
  Stop = TSimplexStop::Overflow;
  auto report = std::make_unique<TZLPCore_SolutionResult>();
  report->AddLine(Table.ToHtml(0, 0));
  report->AddParagraph("Числа симплекс-таблицы вышли за пределы точных дробей с 32-битными числителем и "
                       "знаменателем (такие ячейки показаны как &lt;err&gt;), поэтому решение остановлено: "
                       "точный ответ для этой задачи получить нельзя");
  IterationReports.push_back(std::move(report));
  PivotCol = 0;
  PivotRow = 0;
  Hint = "Числа в симплекс-таблице стали слишком велики для точных дробей, решение остановлено. Нажмите "
         "\"Далее\" чтобы просмотреть подробности";
  return true;
}

bool TSimplexMethod::RecordBasis() {
  if (SeenBases.insert(Table.RowNames()).second) return true;
  if (Rule == TPivotRule::MostNegative) {
    // The same basis again: from now on Bland's rule, which cannot cycle on ordinary pivots.
    Rule = TPivotRule::Bland;
    SeenBases.clear();
    SeenBases.insert(Table.RowNames());
    PendingNote = "Базис повторился: при прежнем выборе разрешающего элемента симплекс-метод зациклился. "
                  "Дальше разрешающий элемент выбирается по правилу Бленда: в базис вводится переменная с "
                  "наименьшим номером среди C<sub>j</sub>&lt;0, а при равных отношениях из базиса выводится "
                  "переменная с наименьшим номером";
    return true;
  }
  Stop = TSimplexStop::Cycling;
  auto report = std::make_unique<TZLPCore_SolutionResult>();
  report->AddLine(Table.ToHtml(0, 0));
  report->AddParagraph("Базис повторился и при правиле Бленда: симплекс-метод зациклился при устранении "
                       "отрицательных B<sub>i</sub>, поэтому решение остановлено");
  IterationReports.push_back(std::move(report));
  PivotCol = 0;
  PivotRow = 0;
  Hint = "Симплекс-метод зациклился, решение остановлено. Нажмите \"Далее\" чтобы просмотреть подробности";
  return false;
}

void TSimplexMethod::AnalyzeAndReport() {
  std::int32_t col = 0;
  std::int32_t row = 0;
  Table.State = Table.Analyze(col, row, Rule);
  auto report = std::make_unique<TZLPCore_SolutionResult>();
  report->AddLine(Table.ToHtml(col, row));
  PivotCol = col;
  PivotRow = row;
  if (!PendingNote.empty()) {
    report->AddParagraph(PendingNote);
    PendingNote.clear();
  }
  switch (Table.State) {
  case SS_NEGATIVEB:
    report->AddParagraph("Нашлись B<sub>" + Num(row) + "</sub>&lt;0, и A<sub>" + Num(row) + "," + Num(col) +
                         "</sub>&lt;0 => неободимо выполнить симплекс преобразование");
    Hint = HintPivot;
    break;
  case SS_PIVOT:
    report->AddParagraph("Нашлись C<sub>" + Num(col) + "</sub>&lt;0, и A<sub>" + Num(row) + "," + Num(col) +
                         "</sub>&gt;0 => неободимо выполнить симплекс преобразование");
    Hint = HintPivot;
    break;
  case SS_NOSOLUTION:
    report->AddParagraph("Нашлось C<sub>" + Num(col) + "</sub>&lt;0, но все A<sub>i," + Num(col) +
                         "</sub>&lt0, таким образом задача не имеет решений");
    Hint = "Данная задача не имеет решения. Нажмите \"Далее\" чтобы просмотреть подробности";
    break;
  case SS_MANYSOLUTIONS: {
    // A row with B < 0 and no negative coefficient reads sum a x = B < 0 with a >= 0 and x >= 0.
    std::int32_t i = 1;
    while (i < Table.RowCount() && !RatLessInt(Table.GetB(i), 0)) ++i;
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
    Hint = "Система ограничений несовместна: задача не имеет допустимых решений. Нажмите \"Далее\" чтобы "
           "просмотреть подробности";
    break;
  }
  case SS_OPTIMAL: {
    std::string fractional;
    for (const std::string& name : Table.IntegerVars) {
      if (Table.ValueOf(name).Den != 1) {
        fractional = name;
        break;
      }
    }
    if (fractional.empty()) {
      report->AddParagraph(OptimalParagraph());
      Hint = "Найдено оптимальное решение. Нажмите \"Далее\" чтобы просмотреть результат";
    } else if (CutCounter > MaxCuts) {
      report->AddParagraph(OptimalParagraph() + ", но " + CutLimitSentence(fractional, MaxCuts));
      Hint = CutLimitHint(MaxCuts);
      Stop = TSimplexStop::CutLimit;
      Table.State = SS_GOMORYCUT; // no optimum of the integer program: no point is written
    } else {
      CutSourceRow = Table.RowOf(fractional);
      const std::string text = CutSentence(fractional, CutKind(Table, CutSourceRow, IntegerColumns));
      report->AddParagraph(OptimalParagraph() + ", но " + text);
      Hint = "Найдено оптимальное решение, но " + text;
      Table.State = SS_GOMORYCUT;
    }
    break;
  }
  default: break;
  }
  IterationReports.push_back(std::move(report));
}

void TSimplexMethod::WriteReport(TZLPCore_Interface& data, TZLPCore_SolutionResult& report) {
  report.Clear();
  report.AddHeading("Симплекс метод");
  for (const auto& iteration : IterationReports) report.AppendReport(iteration.get());
  IterationReports.clear();
  data.BuildSolution();
  if (!data.SolutionLines.empty()) {
    std::string point = "<p>Функция достигает экстремума в точке:\r\n<pre>";
    for (const auto& line : data.SolutionLines) point += line + "\r\n";
    report.AddLine(point + "</pre>");
  }
}
