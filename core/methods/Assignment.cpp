// The Hungarian method with its report, and the assignment problem's unit of the task runner.
#include "Assignment.h"

#include "Regression.h"
#include "Verdict.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace {

// Codes of the working matrix besides the values >= 0.
constexpr std::int64_t Chosen = -1;  // an independent zero of the assignment, printed "0*" in bold
constexpr std::int64_t Crossed = -2; // any other zero, printed "0′"
constexpr std::int64_t Covered = -3; // a cell under a line, printed "–"

constexpr std::int64_t MaxCost = 2147483647;
constexpr std::int32_t None = -1;

class THungarian {
public:
  THungarian(const std::vector<std::int64_t>& costs, std::int32_t n, bool isMax, TZLPCore_SolutionResult* report)
      : Costs(costs), N(n), Size(static_cast<std::size_t>(n)), IsMax(isMax), Report(report), M(costs),
        RowMatch(Size, None), ColMatch(Size, None), RowMarked(Size, 0), ColMarked(Size, 0) {}

  TAssignment Run();

private:
  std::int64_t& At(std::size_t i, std::size_t j) { return M[i * Size + j]; }
  // Whether the intermediate stages go into the report.
  [[nodiscard]] bool Full() const { return Report != nullptr && N <= AssignmentPrintLimit; }

  void Heading(const std::string& text) {
    if (Report) Report->AddHeading(text);
  }
  void Paragraph(const std::string& text) {
    if (Report) Report->AddParagraph(text);
  }
  // One paragraph with a row per "<p>", then a rule; covered: the cells under the lines as "-".
  void Print(bool covered = false);
  void PrintStage(bool covered = false) {
    if (Full()) Print(covered);
  }
  void PrintCoefficients(const std::vector<std::int64_t>& coefficients);
  void ReduceRows();
  void ReduceColumns();
  // Chooses the largest set of independent zeros and marks it; returns its size.
  std::int32_t ChooseZeros();
  void ChooseGreedily();
  bool Augment();
  // Marks the rows and columns whose lines (unmarked rows, marked columns) cover every zero.
  void MarkLines();

  const std::vector<std::int64_t>& Costs;
  std::int32_t N;
  std::size_t Size;
  bool IsMax;
  TZLPCore_SolutionResult* Report;
  std::vector<std::int64_t> M;        // the working matrix, row by row
  std::vector<std::int32_t> RowMatch; // the column of the chosen zero of a row, or None
  std::vector<std::int32_t> ColMatch; // the row of the chosen zero of a column, or None
  std::vector<char> RowMarked;
  std::vector<char> ColMarked;
  bool LegendShown = false; // the marks are explained under the first matrix that has them
  static constexpr std::size_t MatrixBlockRows = 10;
};

void THungarian::Print(bool covered) {
  if (Report == nullptr) return;
  // A matrix too large for its stages goes in the dense form: cells without a class.
  const bool dense = !Full();
  const char* const cell = dense ? "<td>" : "<td class=\"clsSimCell\">";
  std::string heading = cell;
  heading += "&nbsp;</td>";
  for (std::size_t j = 0; j < Size; ++j) heading += cell + std::to_string(j + 1) + "</td>";
  // A large matrix goes by blocks of rows, each a table of its own under a copy of the heading line,
  // so that a viewer lays out only the blocks in view.
  const std::size_t block = dense ? MatrixBlockRows : Size;
  std::string text;
  text.reserve(Size * Size * (dense ? 12 : 31) + (Size / block + 1) * (heading.size() + 128));
  bool marked = false;
  for (std::size_t i = 0; i < Size; ++i) {
    if (i % block == 0) {
      if (i > 0) text += "</table>\r\n";
      if (dense)
        text += "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl clsDense\" style=\"--rows:" +
                std::to_string(std::min(block, Size - i) + 1) + ";--cols:" + std::to_string(Size + 1) + "\"><tr>";
      else
        text += "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\"><tr>";
      text += heading + "</tr>";
    }
    text += "<tr>";
    text += cell + std::to_string(i + 1) + "</td>";
    for (std::size_t j = 0; j < Size; ++j) {
      const std::int64_t v = covered && (ColMarked[j] != 0 || RowMarked[i] == 0) ? Covered : At(i, j);
      marked = marked || v < 0;
      if (v == Chosen) {
        text += "<td class=\"clsSelCell\">0*</td>";
        continue;
      }
      text += cell;
      if (v == Crossed)
        text += "0&#8242;";
      else if (v == Covered)
        text += "&ndash;";
      else
        text += std::to_string(v);
      text += "</td>";
    }
    text += "</tr>";
  }
  Report->AddLine(text + "</table>");
  if (marked && !LegendShown) {
    LegendShown = true;
    Report->AddParagraph("Обозначения: <b>0*</b> — выбранный (независимый) нуль, 0&#8242; — зачёркнутый нуль (в его "
                         "строке или столбце уже выбран нуль), &ndash; — клетка, покрытая проведённой линией.");
  }
  Report->AddRule();
}

void THungarian::PrintCoefficients(const std::vector<std::int64_t>& coefficients) {
  if (Report == nullptr) return;
  std::string line = "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\"><tr>";
  for (const std::int64_t c : coefficients) line += "<td class=\"clsSimCell\">" + std::to_string(c) + "</td>";
  Report->AddLine(line + "</tr></table>");
}

void THungarian::ReduceRows() {
  std::vector<std::int64_t> coefficients(Size);
  for (std::size_t i = 0; i < Size; ++i) {
    std::int64_t m = std::numeric_limits<std::int64_t>::max();
    for (std::size_t j = 0; j < Size; ++j) m = std::min(m, At(i, j));
    for (std::size_t j = 0; j < Size; ++j) At(i, j) -= m;
    coefficients[i] = m;
  }
  Paragraph("Коэффициенты для приведения матрицы по строкам");
  PrintCoefficients(coefficients);
  PrintStage();
}

void THungarian::ReduceColumns() {
  std::vector<std::int64_t> coefficients(Size);
  for (std::size_t j = 0; j < Size; ++j) {
    std::int64_t m = std::numeric_limits<std::int64_t>::max();
    for (std::size_t i = 0; i < Size; ++i) m = std::min(m, At(i, j));
    for (std::size_t i = 0; i < Size; ++i) At(i, j) -= m;
    coefficients[j] = m;
  }
  Paragraph("Коэффициенты для приведения матрицы по столбцам");
  PrintCoefficients(coefficients);
  PrintStage();
}

// The textbook's choice: rows in the order of their number of zeros (fewest first, by the exchange
// rule below); each takes its first free zero, and the other zeros of its row and of that column
// are crossed out. A zero already chosen keeps its mark.
void THungarian::ChooseGreedily() {
  std::vector<std::pair<std::size_t, std::int32_t>> rows(Size); // (row, number of its zeros)
  for (std::size_t i = 0; i < Size; ++i) {
    rows[i] = {i, 0};
    for (std::size_t j = 0; j < Size; ++j)
      if (At(i, j) == 0) ++rows[i].second;
  }
  for (std::size_t p = 0; p < Size; ++p)
    for (std::size_t q = p; q < Size; ++q)
      if (rows[q].second < rows[p].second) std::swap(rows[p], rows[q]);

  for (const auto& [a, zeros] : rows) {
    if (zeros == 0 || RowMatch[a] != None) continue;
    for (std::size_t b = 0; b < Size; ++b) {
      if (At(a, b) != 0 || ColMatch[b] != None) continue;
      At(a, b) = Chosen;
      RowMatch[a] = static_cast<std::int32_t>(b);
      ColMatch[b] = static_cast<std::int32_t>(a);
      for (std::size_t j = 0; j < Size; ++j)
        if (At(a, j) == 0) At(a, j) = Crossed;
      for (std::size_t i = 0; i < Size; ++i)
        if (At(i, b) == 0) At(i, b) = Crossed;
      break;
    }
  }
}

// Augmenting paths over the zeros (chosen and crossed-out alike) from every row without a chosen
// zero, breadth first; true when the set grew. The greedy choice can stop short of the largest
// set; without this the lines could cover every cell and the method would never end.
bool THungarian::Augment() {
  std::vector<std::vector<std::int32_t>> zeros(Size);
  for (std::size_t i = 0; i < Size; ++i)
    for (std::size_t j = 0; j < Size; ++j)
      if (At(i, j) == 0 || At(i, j) == Chosen || At(i, j) == Crossed) zeros[i].push_back(static_cast<std::int32_t>(j));

  bool grew = false;
  std::vector<std::int32_t> seen(Size, 0); // the search in which a column was reached
  std::vector<std::int32_t> from(Size, None);
  std::vector<std::int32_t> queue;
  queue.reserve(Size);
  std::int32_t search = 0;
  for (std::size_t r = 0; r < Size; ++r) {
    if (RowMatch[r] != None) continue;
    ++search;
    queue.assign(1, static_cast<std::int32_t>(r));
    std::int32_t free = None;
    for (std::size_t k = 0; k < queue.size() && free == None; ++k) {
      const auto u = static_cast<std::size_t>(queue[k]);
      for (const std::int32_t j : zeros[u]) {
        const auto col = static_cast<std::size_t>(j);
        if (seen[col] == search) continue;
        seen[col] = search;
        from[col] = static_cast<std::int32_t>(u);
        if (ColMatch[col] == None) {
          free = j;
          break;
        }
        queue.push_back(ColMatch[col]);
      }
    }
    if (free == None) continue;
    for (std::int32_t j = free; j != None;) {
      const auto col = static_cast<std::size_t>(j);
      const auto u = static_cast<std::size_t>(from[col]);
      const std::int32_t previous = RowMatch[u];
      RowMatch[u] = j;
      ColMatch[col] = static_cast<std::int32_t>(u);
      j = u == r ? None : previous;
    }
    grew = true;
  }
  return grew;
}

std::int32_t THungarian::ChooseZeros() {
  ChooseGreedily();
  if (Augment())
    for (std::size_t i = 0; i < Size; ++i)
      for (std::size_t j = 0; j < Size; ++j) {
        std::int64_t& v = At(i, j);
        if (v == 0 || v == Chosen || v == Crossed) v = RowMatch[i] == static_cast<std::int32_t>(j) ? Chosen : Crossed;
      }
  return static_cast<std::int32_t>(
      std::count_if(RowMatch.begin(), RowMatch.end(), [](std::int32_t c) { return c != None; }));
}

void THungarian::MarkLines() {
  std::fill(ColMarked.begin(), ColMarked.end(), 0);
  std::vector<std::size_t> queue;
  for (std::size_t i = 0; i < Size; ++i) {
    RowMarked[i] = RowMatch[i] == None ? 1 : 0;
    if (RowMarked[i] != 0) queue.push_back(i);
  }
  // The marks grow until nothing changes; a breadth-first walk reaches the same marks.
  for (std::size_t k = 0; k < queue.size(); ++k) {
    const std::size_t i = queue[k];
    for (std::size_t j = 0; j < Size; ++j) {
      if (At(i, j) != Crossed || ColMarked[j] != 0) continue;
      ColMarked[j] = 1;
      const std::int32_t r = ColMatch[j];
      if (r != None && RowMarked[static_cast<std::size_t>(r)] == 0) {
        RowMarked[static_cast<std::size_t>(r)] = 1;
        queue.push_back(static_cast<std::size_t>(r));
      }
    }
  }
}

TAssignment THungarian::Run() {
  TAssignment result;
  Heading("Исходная матрица: ");
  Print();
  if (Report != nullptr && !Full())
    Paragraph("Матрица больше " + std::to_string(AssignmentPrintLimit) + " × " + std::to_string(AssignmentPrintLimit) +
              ": промежуточные матрицы в отчёт не выводятся; приводятся коэффициенты приведения, минимальные "
              "элементы и результат.");
  if (!IsMax) {
    Heading("Ищем минимум: ");
  } else {
    Heading("Ищем максимум: ");
    const std::int64_t c = *std::max_element(M.begin(), M.end());
    for (std::int64_t& x : M) x = c - x;
    Heading("Приведенная матрица: ");
    PrintStage();
  }
  ReduceRows();
  ReduceColumns();

  while (ChooseZeros() < N) {
    ++result.Rounds;
    Paragraph("Независимых нулей меньше, чем строк в матрице, поэтому продолжаем:");
    PrintStage();
    MarkLines();
    PrintStage(true);
    // Every zero is under a line and fewer than n lines leave a cell free: the minimum is positive.
    std::int64_t c = std::numeric_limits<std::int64_t>::max();
    for (std::size_t i = 0; i < Size; ++i)
      if (RowMarked[i] != 0)
        for (std::size_t j = 0; j < Size; ++j)
          if (ColMarked[j] == 0) c = std::min(c, At(i, j));
    Paragraph("Минимальный элемент = " + std::to_string(c));
    for (std::int64_t& x : M) x = std::max<std::int64_t>(x, 0);
    std::fill(RowMatch.begin(), RowMatch.end(), None);
    std::fill(ColMatch.begin(), ColMatch.end(), None);
    for (std::size_t i = 0; i < Size; ++i)
      if (RowMarked[i] != 0)
        for (std::size_t j = 0; j < Size; ++j) At(i, j) -= c;
    for (std::size_t j = 0; j < Size; ++j)
      if (ColMarked[j] != 0)
        for (std::size_t i = 0; i < Size; ++i) At(i, j) += c;
    PrintStage();
  }

  Heading("Результат:");
  ChooseZeros(); // the marks stay as they are
  Print();
  result.Column = RowMatch;
  for (std::size_t i = 0; i < Size; ++i) result.Total += Costs[i * Size + static_cast<std::size_t>(RowMatch[i])];
  Paragraph("Значение целевой функции = " + std::to_string(result.Total));
  Paragraph("Назначение:");
  for (std::size_t i = 0; i < Size; ++i)
    Paragraph("строка " + std::to_string(i + 1) + " → столбец " + std::to_string(RowMatch[i] + 1));
  return result;
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

TAssignment SolveHungarian(const std::vector<std::int64_t>& costs, std::int32_t n, bool isMax,
                           TZLPCore_SolutionResult* report) {
  if (n < 1 || costs.size() != static_cast<std::size_t>(n) * static_cast<std::size_t>(n)) return {};
  return THungarian(costs, n, isMax, report).Run();
}

bool ReadAssignmentCost(const std::string& text, std::int64_t& value, std::string& message) {
  const std::string t = Trimmed(text);
  if (t.empty()) {
    value = 0;
    return true;
  }
  const bool negative = t.front() == '-';
  const std::size_t start = t.front() == '-' || t.front() == '+' ? 1 : 0;
  std::int64_t magnitude = 0;
  const char* first = t.data() + start;
  const char* last = t.data() + t.size();
  const auto [end, ec] = std::from_chars(first, last, magnitude);
  if (first == last || !std::all_of(first, last, [](char c) { return c >= '0' && c <= '9'; }) || ec != std::errc() ||
      end != last || magnitude > MaxCost + (negative ? 1 : 0)) {
    message = "Должно быть целое число";
    return false;
  }
  if (negative && magnitude != 0) {
    message = "Должно быть положительное число";
    return false;
  }
  value = magnitude;
  return true;
}

bool AssignmentCanBeStored(const TStatementGrid& grid) {
  for (std::int32_t y = 1; y <= grid.Sx; ++y)
    for (std::int32_t x = 1; x <= grid.Sx; ++x)
      if (double v = 0; !ParseDecimal(grid.Cell(x, y), v)) return false;
  return true;
}

bool ReadAssignmentStatement(const TStatementGrid& grid, TZLPCore_Interface&, TStatementError& error) {
  const std::int32_t n = grid.Sx;
  if (n < 1 || n > AssignmentMaxSize) {
    error = {TStatementError::TPlace::Size, n, n, "размерность матрицы", "размерность матрицы должна быть от 1 до 255"};
    return false;
  }
  std::int64_t value = 0;
  std::string message;
  for (std::int32_t y = 1; y <= n; ++y)
    for (std::int32_t x = 1; x <= n; ++x)
      if (!ReadAssignmentCost(grid.Cell(x, y), value, message)) {
        error = {TStatementError::TPlace::Cell, x, y, CellName(grid, x, y), message};
        return false;
      }
  return true;
}

void SolveAssignmentTask(TZLPCore_Interface& data, TZLPCore_SolutionResult& report) {
  const TStatementGrid& grid = data.Statement;
  const std::int32_t n = grid.Sx;
  std::vector<std::int64_t> costs;
  costs.reserve(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
  std::string message;
  for (std::int32_t y = 1; y <= n; ++y)
    for (std::int32_t x = 1; x <= n; ++x) {
      std::int64_t value = 0;
      static_cast<void>(ReadAssignmentCost(grid.Cell(x, y), value, message));
      costs.push_back(value);
    }
  const TAssignment a = SolveHungarian(costs, n, grid.IsMax, &report);

  TTaskVerdict& v = data.Verdict;
  v.Status = TTaskStatus::Optimal;
  v.Message = StatusSentence(TTaskStatus::Optimal);
  v.IsMax = grid.IsMax;
  v.Total = a.Total;
  v.Assignment.clear();
  std::string pairs;
  for (std::size_t i = 0; i < a.Column.size(); ++i) {
    v.Assignment.push_back(a.Column[i] + 1);
    pairs += (i == 0 ? "" : ", ") + std::string("строка ") + std::to_string(i + 1) + " → столбец " +
             std::to_string(a.Column[i] + 1);
  }
  v.Answer = std::string("Z<sub>") + (grid.IsMax ? "max" : "min") + "</sub> = " + std::to_string(a.Total) +
             " при назначении: " + pairs;
  AddAnswer(report, v);
}
