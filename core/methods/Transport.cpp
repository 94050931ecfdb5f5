// The method of potentials with its report, the transportation problem's statement and text form.
#include "Transport.h"

#include "Verdict.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"
#include "untStrConst.h"

#include <algorithm>
#include <numeric>

namespace {

// Thrown by the checked arithmetic below when a result does not fit a 32-bit fraction.
struct TOverflow {};

TRational Checked(TRational r) {
  if (!RatIsValid(r)) throw TOverflow{};
  return r;
}
TRational Add(TRational a, TRational b) { return Checked(RatAdd(a, b)); }
TRational Sub(TRational a, TRational b) { return Checked(RatSub(a, b)); }
TRational Mul(TRational a, TRational b) { return Checked(RatMul(a, b)); }
bool IsZero(TRational r) { return r.Num == 0; }
bool Less(TRational a, TRational b) { return RatLess(a, b); }
TRational Min(TRational a, TRational b) { return Less(b, a) ? b : a; }
const TRational Zero{0, 1};

std::string Num(std::int32_t v) { return std::to_string(v); }
std::string Show(TRational r) { return HtmlEscape(RatToStr(r)); }
// A negative number with the minus sign of the text, "−4/3".
std::string ShowSigned(TRational r) {
  return r.Num < 0 ? "−" + Show(Checked(RatMulInt(r, -1))) : Show(r);
}
std::string Sub1(const char* letter, std::int32_t index) {
  return std::string(letter) + "<sub>" + Num(index + 1) + "</sub>";
}

// Union-find over the rows 0..m-1 and the columns m..m+n-1: the basic cells as a forest.
class TForest {
public:
  explicit TForest(std::size_t nodes) : Parent(nodes) { std::iota(Parent.begin(), Parent.end(), std::size_t{0}); }
  std::size_t Root(std::size_t a) {
    while (Parent[a] != a) a = Parent[a] = Parent[Parent[a]];
    return a;
  }
  bool Join(std::size_t a, std::size_t b) {
    a = Root(a);
    b = Root(b);
    if (a == b) return false;
    Parent[a] = b;
    return true;
  }

private:
  std::vector<std::size_t> Parent;
};

struct TCellRef {
  std::int32_t I = 0, J = 0;
};

// The rows and columns a first-plan method has not crossed out yet.
struct TLinesLeft {
  std::vector<char> RowOut, ColOut;
  std::int32_t Rows, Cols;
  TLinesLeft(std::int32_t m, std::int32_t n)
      : RowOut(static_cast<std::size_t>(m), 0), ColOut(static_cast<std::size_t>(n), 0), Rows(m), Cols(n) {}
  // After cell (i, j) took its shipment: the exhausted row or column, or both, is crossed out.
  void CrossOut(std::int32_t i, std::int32_t j, const std::vector<TRational>& a, const std::vector<TRational>& b) {
    if (IsZero(a[static_cast<std::size_t>(i)])) {
      RowOut[static_cast<std::size_t>(i)] = 1;
      --Rows;
    }
    if (IsZero(b[static_cast<std::size_t>(j)])) {
      ColOut[static_cast<std::size_t>(j)] = 1;
      --Cols;
    }
  }
};

class TPotentials {
public:
  TPotentials(const TTransportProblem& p, TZLPCore_SolutionResult* report) : P(p), Report(report) {}
  TTransportResult Run();

private:
  [[nodiscard]] std::size_t At(std::int32_t i, std::int32_t j) const {
    return static_cast<std::size_t>(i) * static_cast<std::size_t>(N) + static_cast<std::size_t>(j);
  }
  [[nodiscard]] TRational CostAt(std::int32_t i, std::int32_t j) const {
    return i < P.M && j < P.N ? P.Cost[static_cast<std::size_t>(i * P.N + j)] : Zero;
  }
  [[nodiscard]] bool Fictitious(std::int32_t i, std::int32_t j) const { return i >= P.M || j >= P.N; }
  [[nodiscard]] std::string RowName(std::int32_t i) const { return Sub1("A", i); }
  [[nodiscard]] std::string ColName(std::int32_t j) const { return Sub1("B", j); }
  [[nodiscard]] std::string CellText(TCellRef c) const { return "(" + RowName(c.I) + ", " + ColName(c.J) + ")"; }
  void Paragraph(const std::string& text) {
    if (Report) Report->AddParagraph(text);
  }
  void Heading(const std::string& text) {
    if (Report) Report->AddHeading(text);
  }

  void WriteStatement();
  void Balance();
  void Allocate(std::int32_t i, std::int32_t j, std::vector<TRational>& a, std::vector<TRational>& b);
  void NorthWest();
  void MinElement();
  void Vogel();
  void CompleteBasis();
  void ComputePotentials();
  // The cycle of a free cell through the basic cells: the free cell first (+), then the corners
  // with alternating signs.
  [[nodiscard]] std::vector<TCellRef> Cycle(TCellRef entering) const;
  [[nodiscard]] TRational TotalCost() const;
  // The plan as a table: shipments and costs in the cells, supplies and demands, the potentials on
  // the margins; estimates in the free cells when shown; the cycle's corners marked + and −.
  void WriteTable(const std::string& caption, bool estimates, const std::vector<TCellRef>& cycle);
  [[nodiscard]] std::string PlanInWords(const std::vector<TRational>& x) const;
  void MoveAlong(const std::vector<TCellRef>& cycle, TRational theta, std::vector<TRational>& x) const;
  // The least shipment of the − corners; leaving: its corner, the first by place of equal ones.
  [[nodiscard]] TRational Theta(const std::vector<TCellRef>& cycle, std::size_t& leaving) const;

  const TTransportProblem& P;
  TZLPCore_SolutionResult* Report;
  std::int32_t M = 0, N = 0; // with the fictitious supplier or consumer
  std::vector<TRational> A, B;
  std::vector<TRational> X;     // the plan, M x N
  std::vector<char> Basic;      // M x N
  std::vector<TRational> U, V;  // the potentials
  std::vector<TRational> Delta; // the estimates of the free cells
  std::int64_t CellsShown = 0;  // the cells of the plans' tables printed so far
  std::size_t StepText = 0;     // the bytes of the steps told in words so far
  std::int32_t BriefSteps = 0;  // the steps told by a line so far
};

void TPotentials::WriteStatement() {
  if (Report == nullptr) return;
  Heading("Условие задачи");
  Paragraph("Поставщики A<sub>1</sub> … A<sub>" + Num(P.M) + "</sub> с запасами a<sub>i</sub>, потребители B<sub>1</sub> … B<sub>" +
            Num(P.N) + "</sub> с потребностями b<sub>j</sub>; в клетках — тарифы c<sub>ij</sub>, стоимость перевозки "
            "единицы груза. Требуется составить план перевозок x<sub>ij</sub> с наименьшей общей стоимостью "
            "Z = Σ c<sub>ij</sub>x<sub>ij</sub>.");
  std::string t = "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\" style=\"--rows:" + Num(P.M + 2) +
                  ";--cols:" + Num(P.N + 2) + "\">\r\n<tr><td class=\"clsSimCell\"></td>";
  for (std::int32_t j = 0; j < P.N; ++j) t += "<td class=\"clsSimCell\">" + ColName(j) + "</td>";
  t += "<td class=\"clsSimCell\">a<sub>i</sub></td></tr>\r\n";
  for (std::int32_t i = 0; i < P.M; ++i) {
    t += "<tr><td class=\"clsSimCell\">" + RowName(i) + "</td>";
    for (std::int32_t j = 0; j < P.N; ++j) t += "<td class=\"clsSimCell\">" + Show(CostAt(i, j)) + "</td>";
    t += "<td class=\"clsSimCell\">" + Show(P.Supply[static_cast<std::size_t>(i)]) + "</td></tr>\r\n";
  }
  t += "<tr><td class=\"clsSimCell\">b<sub>j</sub></td>";
  for (std::int32_t j = 0; j < P.N; ++j)
    t += "<td class=\"clsSimCell\">" + Show(P.Demand[static_cast<std::size_t>(j)]) + "</td>";
  t += "<td class=\"clsSimCell\"></td></tr>\r\n</table>";
  Report->AddLine(t);
}

void TPotentials::Balance() {
  TRational sa = Zero, sb = Zero;
  for (const TRational a : P.Supply) sa = Add(sa, a);
  for (const TRational b : P.Demand) sb = Add(sb, b);
  M = P.M;
  N = P.N;
  A = P.Supply;
  B = P.Demand;
  Heading("Проверка баланса");
  const std::string sums = "Сумма запасов Σa<sub>i</sub> = " + Show(sa) + ", сумма потребностей Σb<sub>j</sub> = " +
                           Show(sb) + ".";
  const int c = RatCompare(sa, sb);
  if (c == 0) {
    Paragraph(sums + " Они равны: задача закрытая (сбалансированная), её можно решать сразу.");
  } else if (c > 0) {
    ++N;
    B.push_back(Sub(sa, sb));
    Paragraph(sums + " Запасы больше потребностей на " + Show(B.back()) + ": задача открытая. Вводим фиктивного "
              "потребителя " + ColName(N - 1) + " с потребностью " + Show(B.back()) +
              " и нулевыми тарифами; груз, отправленный ему, на самом деле остаётся у поставщиков.");
  } else {
    ++M;
    A.push_back(Sub(sb, sa));
    Paragraph(sums + " Потребности больше запасов на " + Show(A.back()) + ": задача открытая. Вводим фиктивного "
              "поставщика " + RowName(M - 1) + " с запасом " + Show(A.back()) +
              " и нулевыми тарифами; груз, полученный от него, на самом деле не будет доставлен.");
  }
  X.assign(static_cast<std::size_t>(M) * static_cast<std::size_t>(N), Zero);
  Basic.assign(X.size(), 0);
}

void TPotentials::Allocate(std::int32_t i, std::int32_t j, std::vector<TRational>& a, std::vector<TRational>& b) {
  const TRational amount = Min(a[static_cast<std::size_t>(i)], b[static_cast<std::size_t>(j)]);
  X[At(i, j)] = amount;
  Basic[At(i, j)] = 1;
  a[static_cast<std::size_t>(i)] = Sub(a[static_cast<std::size_t>(i)], amount);
  b[static_cast<std::size_t>(j)] = Sub(b[static_cast<std::size_t>(j)], amount);
}

void TPotentials::NorthWest() {
  Heading("Опорный план: метод северо-западного угла");
  Paragraph("Заполняем клетки, начиная с левой верхней: в клетку записываем наибольшую возможную перевозку, "
            "min(остаток запаса, остаток потребности), и переходим вправо, если потребность ещё не "
            "удовлетворена, иначе вниз.");
  std::vector<TRational> a = A, b = B;
  std::int32_t i = 0, j = 0;
  while (i < M && j < N) {
    Allocate(i, j, a, b);
    Paragraph("x<sub>" + Num(i + 1) + "," + Num(j + 1) + "</sub> = " + Show(X[At(i, j)]));
    // Both exhausted: the step goes down and right at once, and the plan is completed with ε later.
    const bool rowDone = IsZero(a[static_cast<std::size_t>(i)]);
    const bool colDone = IsZero(b[static_cast<std::size_t>(j)]);
    if (rowDone) ++i;
    if (colDone) ++j;
  }
}

void TPotentials::MinElement() {
  Heading("Опорный план: метод минимального элемента");
  Paragraph("Среди клеток, строка и столбец которых ещё не вычеркнуты, выбираем клетку с наименьшим тарифом (при "
            "равных тарифах — верхнюю, затем левую; клетки фиктивного пункта — в последнюю очередь), записываем в "
            "неё min(остаток запаса, остаток потребности) и вычеркиваем исчерпанную строку или столбец (оба, если "
            "исчерпаны оба).");
  std::vector<TRational> a = A, b = B;
  TLinesLeft left(M, N);
  while (left.Rows > 0 && left.Cols > 0) {
    std::int32_t bi = -1, bj = -1;
    for (std::int32_t i = 0; i < M; ++i) {
      if (left.RowOut[static_cast<std::size_t>(i)] != 0) continue;
      for (std::int32_t j = 0; j < N; ++j) {
        if (left.ColOut[static_cast<std::size_t>(j)] != 0) continue;
        if (bi < 0) {
          bi = i;
          bj = j;
          continue;
        }
        const bool f = Fictitious(i, j), bf = Fictitious(bi, bj);
        if ((bf && !f) || (f == bf && Less(CostAt(i, j), CostAt(bi, bj)))) {
          bi = i;
          bj = j;
        }
      }
    }
    Allocate(bi, bj, a, b);
    Paragraph("Клетка " + CellText({bi, bj}) + ", тариф " + Show(CostAt(bi, bj)) + ": x<sub>" + Num(bi + 1) + "," +
              Num(bj + 1) + "</sub> = " + Show(X[At(bi, bj)]));
    left.CrossOut(bi, bj, a, b);
  }
}

void TPotentials::Vogel() {
  Heading("Опорный план: метод Фогеля");
  Paragraph("Для каждой невычеркнутой строки и каждого столбца находим штраф — разность двух наименьших тарифов "
            "среди невычеркнутых клеток (если клетка одна — её тариф). В строке или столбце с наибольшим штрафом "
            "(при равных — первая строка, затем первый столбец) выбираем клетку с наименьшим тарифом, записываем "
            "в неё min(остаток запаса, остаток потребности) и вычеркиваем исчерпанную строку или столбец.");
  std::vector<TRational> a = A, b = B;
  TLinesLeft left(M, N);
  // The penalty of a line and its cheapest cell among the lines not crossed out.
  const auto penalty = [&](bool row, std::int32_t k, std::int32_t& best) {
    TRational first{0, 0}, second{0, 0};
    best = -1;
    const std::int32_t count = row ? N : M;
    for (std::int32_t t = 0; t < count; ++t) {
      if ((row ? left.ColOut : left.RowOut)[static_cast<std::size_t>(t)] != 0) continue;
      const TRational c = row ? CostAt(k, t) : CostAt(t, k);
      if (best < 0 || Less(c, first)) {
        second = first;
        first = c;
        best = t;
      } else if (!RatIsValid(second) || Less(c, second)) {
        second = c;
      }
    }
    return RatIsValid(second) ? Sub(second, first) : first;
  };
  while (left.Rows > 0 && left.Cols > 0) {
    std::string rows = "Штрафы строк: ", cols = "; столбцов: ";
    bool found = false, foundRow = false;
    TRational top = Zero;
    std::int32_t line = -1, cell = -1;
    for (std::int32_t i = 0; i < M; ++i) {
      if (left.RowOut[static_cast<std::size_t>(i)] != 0) continue;
      std::int32_t best = -1;
      const TRational p = penalty(true, i, best);
      rows += RowName(i) + " — " + ShowSigned(p) + " ";
      if (!found || Less(top, p)) {
        found = foundRow = true;
        top = p;
        line = i;
        cell = best;
      }
    }
    for (std::int32_t j = 0; j < N; ++j) {
      if (left.ColOut[static_cast<std::size_t>(j)] != 0) continue;
      std::int32_t best = -1;
      const TRational p = penalty(false, j, best);
      cols += ColName(j) + " — " + ShowSigned(p) + " ";
      if (!found || Less(top, p)) {
        found = true;
        foundRow = false;
        top = p;
        line = j;
        cell = best;
      }
    }
    const std::int32_t bi = foundRow ? line : cell, bj = foundRow ? cell : line;
    Allocate(bi, bj, a, b);
    Paragraph(rows + cols + "; наибольший штраф " + ShowSigned(top) + " — " +
              (foundRow ? "строка " + RowName(line) : "столбец " + ColName(line)) + ", клетка " + CellText({bi, bj}) +
              ": x<sub>" + Num(bi + 1) + "," + Num(bj + 1) + "</sub> = " + Show(X[At(bi, bj)]));
    left.CrossOut(bi, bj, a, b);
  }
}

void TPotentials::CompleteBasis() {
  TForest forest(static_cast<std::size_t>(M + N));
  std::int32_t count = 0;
  for (std::int32_t i = 0; i < M; ++i)
    for (std::int32_t j = 0; j < N; ++j)
      if (Basic[At(i, j)] != 0) {
        static_cast<void>(forest.Join(static_cast<std::size_t>(i), static_cast<std::size_t>(M + j)));
        ++count;
      }
  const std::int32_t need = M + N - 1;
  if (count == need) {
    Paragraph("Число занятых клеток " + Num(count) + " = m + n − 1 = " + Num(need) + ": план невырожденный.");
    return;
  }
  // The free cells by cost, then by place: each ε joins two parts of the forest, so no cycle forms.
  std::vector<TCellRef> free;
  for (std::int32_t i = 0; i < M; ++i)
    for (std::int32_t j = 0; j < N; ++j)
      if (Basic[At(i, j)] == 0) free.push_back({i, j});
  std::stable_sort(free.begin(), free.end(), [this](TCellRef p, TCellRef q) {
    return Less(CostAt(p.I, p.J), CostAt(q.I, q.J));
  });
  std::string added;
  const std::int32_t had = count;
  for (const TCellRef c : free) {
    if (count == need) break;
    if (!forest.Join(static_cast<std::size_t>(c.I), static_cast<std::size_t>(M + c.J))) continue;
    Basic[At(c.I, c.J)] = 1;
    ++count;
    added += (added.empty() ? "" : ", ") + CellText(c);
  }
  Paragraph("Число занятых клеток " + Num(had) + " меньше m + n − 1 = " + Num(need) +
            ": план вырожденный. Дополняем его нулевыми перевозками ε в клетках " + added +
            " (выбраны клетки с наименьшими тарифами, не образующие цикла с занятыми клетками).");
}

void TPotentials::ComputePotentials() {
  U.assign(static_cast<std::size_t>(M), TRational{0, 0});
  V.assign(static_cast<std::size_t>(N), TRational{0, 0});
  U[0] = Zero;
  // Walks the tree of basic cells from row 1: u_i + v_j = c_ij in every basic cell.
  std::vector<std::int32_t> queue{0};
  for (std::size_t k = 0; k < queue.size(); ++k) {
    const std::int32_t node = queue[k];
    if (node < M) {
      for (std::int32_t j = 0; j < N; ++j)
        if (Basic[At(node, j)] != 0 && !RatIsValid(V[static_cast<std::size_t>(j)])) {
          V[static_cast<std::size_t>(j)] = Sub(CostAt(node, j), U[static_cast<std::size_t>(node)]);
          queue.push_back(M + j);
        }
    } else {
      const std::int32_t j = node - M;
      for (std::int32_t i = 0; i < M; ++i)
        if (Basic[At(i, j)] != 0 && !RatIsValid(U[static_cast<std::size_t>(i)])) {
          U[static_cast<std::size_t>(i)] = Sub(CostAt(i, j), V[static_cast<std::size_t>(j)]);
          queue.push_back(i);
        }
    }
  }
  Delta.assign(X.size(), Zero);
  for (std::int32_t i = 0; i < M; ++i)
    for (std::int32_t j = 0; j < N; ++j)
      if (Basic[At(i, j)] == 0)
        Delta[At(i, j)] = Sub(CostAt(i, j), Add(U[static_cast<std::size_t>(i)], V[static_cast<std::size_t>(j)]));
}

std::vector<TCellRef> TPotentials::Cycle(TCellRef entering) const {
  // The path in the tree from row entering.I to column entering.J, breadth first.
  const auto nodes = static_cast<std::size_t>(M + N);
  std::vector<std::int32_t> from(nodes, -1);
  std::vector<std::int32_t> queue{entering.I};
  from[static_cast<std::size_t>(entering.I)] = entering.I;
  const std::int32_t target = M + entering.J;
  for (std::size_t k = 0; k < queue.size() && from[static_cast<std::size_t>(target)] < 0; ++k) {
    const std::int32_t node = queue[k];
    const std::int32_t count = node < M ? N : M;
    for (std::int32_t t = 0; t < count; ++t) {
      const std::int32_t i = node < M ? node : t, j = node < M ? t : node - M;
      const std::int32_t next = node < M ? M + t : t;
      if (Basic[At(i, j)] == 0 || from[static_cast<std::size_t>(next)] >= 0) continue;
      from[static_cast<std::size_t>(next)] = node;
      queue.push_back(next);
    }
  }
  std::vector<TCellRef> path;
  for (std::int32_t node = target; node != entering.I;) {
    const std::int32_t prev = from[static_cast<std::size_t>(node)];
    path.push_back(node < M ? TCellRef{node, prev - M} : TCellRef{prev, node - M});
    node = prev;
  }
  // path runs from column J back to row I; the cycle starts at the entering cell and goes on along
  // its row.
  std::vector<TCellRef> cycle{entering};
  cycle.insert(cycle.end(), path.rbegin(), path.rend());
  return cycle;
}

TRational TPotentials::TotalCost() const {
  TRational z = Zero;
  for (std::int32_t i = 0; i < M; ++i)
    for (std::int32_t j = 0; j < N; ++j)
      if (!IsZero(X[At(i, j)])) z = Add(z, Mul(CostAt(i, j), X[At(i, j)]));
  return z;
}

void TPotentials::WriteTable(const std::string& caption, bool estimates, const std::vector<TCellRef>& cycle) {
  if (Report == nullptr) return;
  std::vector<char> mark(X.size(), 0); // '+' or '-'
  for (std::size_t k = 0; k < cycle.size(); ++k) mark[At(cycle[k].I, cycle[k].J)] = k % 2 == 0 ? '+' : '-';
  std::string t = "<p>" + caption + "\r\n<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\" style=\"--rows:" +
                  Num(M + 3) + ";--cols:" + Num(N + 2) + "\">\r\n<tr><td class=\"clsSimCell\"></td>";
  for (std::int32_t j = 0; j < N; ++j)
    t += "<td class=\"clsSimCell\">" + ColName(j) + (j >= P.N ? " (ф.)" : "") + "</td>";
  t += "<td class=\"clsSimCell\">a<sub>i</sub></td><td class=\"clsSimCell\">u<sub>i</sub></td></tr>\r\n";
  for (std::int32_t i = 0; i < M; ++i) {
    t += "<tr><td class=\"clsSimCell\">" + RowName(i) + (i >= P.M ? " (ф.)" : "") + "</td>";
    for (std::int32_t j = 0; j < N; ++j) {
      const std::size_t k = At(i, j);
      t += mark[k] != 0 ? "<td class=\"clsSelCell\">" : "<td class=\"clsSimCell\">";
      t += "<small>" + Show(CostAt(i, j)) + "</small> ";
      if (Basic[k] != 0)
        t += IsZero(X[k]) ? "<b>ε</b>" : "<b>" + Show(X[k]) + "</b>";
      else if (estimates)
        t += "<i>(" + ShowSigned(Delta[k]) + ")</i>";
      if (mark[k] != 0) t += mark[k] == '+' ? " +" : " −";
      t += "</td>";
    }
    t += "<td class=\"clsSimCell\">" + Show(A[static_cast<std::size_t>(i)]) + "</td><td class=\"clsSimCell\">" +
         (estimates ? ShowSigned(U[static_cast<std::size_t>(i)]) : std::string()) + "</td></tr>\r\n";
  }
  t += "<tr><td class=\"clsSimCell\">b<sub>j</sub></td>";
  for (std::int32_t j = 0; j < N; ++j) t += "<td class=\"clsSimCell\">" + Show(B[static_cast<std::size_t>(j)]) + "</td>";
  t += "<td class=\"clsSimCell\"></td><td class=\"clsSimCell\"></td></tr>\r\n";
  if (estimates) {
    t += "<tr><td class=\"clsSimCell\">v<sub>j</sub></td>";
    for (std::int32_t j = 0; j < N; ++j)
      t += "<td class=\"clsSimCell\">" + ShowSigned(V[static_cast<std::size_t>(j)]) + "</td>";
    t += "<td class=\"clsSimCell\"></td><td class=\"clsSimCell\"></td></tr>\r\n";
  }
  t += "</table>";
  Report->AddLine(t);
}

void TPotentials::MoveAlong(const std::vector<TCellRef>& cycle, TRational theta, std::vector<TRational>& x) const {
  for (std::size_t k = 0; k < cycle.size(); ++k) {
    TRational& v = x[At(cycle[k].I, cycle[k].J)];
    v = k % 2 == 0 ? Add(v, theta) : Sub(v, theta);
  }
}

TRational TPotentials::Theta(const std::vector<TCellRef>& c, std::size_t& leaving) const {
  leaving = 1;
  for (std::size_t k = 3; k < c.size(); k += 2) {
    const TRational x = X[At(c[k].I, c[k].J)], y = X[At(c[leaving].I, c[leaving].J)];
    const int d = RatCompare(x, y);
    if (d < 0 || (d == 0 && At(c[k].I, c[k].J) < At(c[leaving].I, c[leaving].J))) leaving = k;
  }
  return X[At(c[leaving].I, c[leaving].J)];
}

std::string TPotentials::PlanInWords(const std::vector<TRational>& x) const {
  std::string words;
  for (std::int32_t i = 0; i < P.M; ++i)
    for (std::int32_t j = 0; j < P.N; ++j)
      if (!IsZero(x[At(i, j)]))
        words += (words.empty() ? "" : ", ") + std::string("из пункта ") + RowName(i) + " в пункт " + ColName(j) +
                 " — " + Show(x[At(i, j)]) + " ед.";
  return words.empty() ? "перевозки не нужны" : words;
}

TTransportResult TPotentials::Run() {
  TTransportResult result;
  WriteStatement();
  Balance();
  switch (P.Start) {
  case TTransportStart::NorthWest: NorthWest(); break;
  case TTransportStart::Vogel: Vogel(); break;
  case TTransportStart::MinElement: MinElement(); break;
  }
  CompleteBasis();

  Heading("Метод потенциалов");
  Paragraph("Для занятых клеток u<sub>i</sub> + v<sub>j</sub> = c<sub>ij</sub>, u<sub>1</sub> = 0; для свободных "
            "клеток оценки Δ<sub>ij</sub> = c<sub>ij</sub> − (u<sub>i</sub> + v<sub>j</sub>) записаны в скобках. "
            "План оптимален, когда все оценки неотрицательны. В таблицах: мелко — тариф, жирно — перевозка, ε — "
            "нулевая перевозка занятой клетки; вершины цикла выделены и помечены знаками + и −.");
  std::vector<std::size_t> starts; // where each step's report begins: a long run goes by blocks
  for (std::int32_t plan = 1;; ++plan) {
    ComputePotentials();
    // The most negative estimate (the first of equal ones, row by row).
    std::int32_t bi = -1, bj = -1;
    for (std::int32_t i = 0; i < M; ++i)
      for (std::int32_t j = 0; j < N; ++j)
        if (Basic[At(i, j)] == 0 && RatLessInt(Delta[At(i, j)], 0) &&
            (bi < 0 || Less(Delta[At(i, j)], Delta[At(bi, bj)]))) {
          bi = i;
          bj = j;
        }
    const std::string title = "План " + Num(plan) + ", Z = " + ShowSigned(TotalCost());
    if (bi < 0) {
      WriteTable("<b>" + title + "</b>", true, {});
      Paragraph("Все оценки свободных клеток неотрицательны: план оптимален.");
      break;
    }
    if (plan > TransportIterationLimit) {
      Paragraph("Число шагов превысило " + Num(TransportIterationLimit) + ": решение остановлено.");
      result.Status = TTaskStatus::Cycling;
      return result;
    }
    std::vector<TCellRef> cycle = Cycle({bi, bj});
    std::size_t leaving = 1;
    TRational theta = Theta(cycle, leaving);
    std::string choice = "Наименьшая оценка Δ<sub>" + Num(bi + 1) + "," + Num(bj + 1) + "</sub> = " +
                         ShowSigned(Delta[At(bi, bj)]) + " &lt; 0: план не оптимален.";
    if (IsZero(theta)) {
      // A degenerate step: the first cell with a negative estimate (Bland's rule), so that the
      // bases of equal cost never repeat.
      for (std::int32_t i = 0, found = 0; i < M && found == 0; ++i)
        for (std::int32_t j = 0; j < N; ++j)
          if (Basic[At(i, j)] == 0 && RatLessInt(Delta[At(i, j)], 0)) {
            if (i != bi || j != bj) {
              bi = i;
              bj = j;
              cycle = Cycle({bi, bj});
              theta = Theta(cycle, leaving);
              choice += " Шаг по её циклу вырожденный (θ = 0); чтобы не допустить зацикливания, берём первую по "
                        "порядку клетку с отрицательной оценкой: Δ<sub>" +
                        Num(bi + 1) + "," + Num(bj + 1) + "</sub> = " + ShowSigned(Delta[At(bi, bj)]) + ".";
            }
            found = 1;
            break;
          }
    }
    const std::int64_t cells = static_cast<std::int64_t>(M) * N;
    if (Report != nullptr) starts.push_back(Report->Lines.size());
    const TCellRef out = cycle[leaving];
    if (StepText > TransportStepText) {
      // Too many steps for the report: a line each, then only their number.
      if (BriefSteps == 0)
        Paragraph("Шагов так много, что все они не поместятся в отчёт: дальше каждый шаг описан одной строкой — "
                  "план, вводимая клетка, θ и клетка, которая становится свободной.");
      if (BriefSteps < TransportBriefSteps)
        Paragraph("<b>" + title + "</b>: вводится клетка " + CellText({bi, bj}) + ", θ = " + Show(theta) +
                  ", освобождается клетка " + CellText(out) + ".");
      else if (BriefSteps == TransportBriefSteps)
        Paragraph("Следующие шаги, кроме последнего, не описаны.");
      ++BriefSteps;
      MoveAlong(cycle, theta, X);
      Basic[At(bi, bj)] = 1;
      Basic[At(out.I, out.J)] = 0;
      X[At(out.I, out.J)] = Zero;
      ++result.Iterations;
      continue;
    }
    const std::size_t before = Report != nullptr ? Report->Lines.size() : 0;
    if (CellsShown + cells <= TransportTableBudget) {
      WriteTable("<b>" + title + "</b>", true, cycle);
    } else {
      if (CellsShown <= TransportTableBudget)
        Paragraph("Таблицы следующих планов, кроме оптимального, не приводятся: в отчёте уже " +
                  std::to_string(CellsShown) + " клеток таблиц. Для каждого шага указаны вводимая клетка, цикл и θ.");
      CellsShown = TransportTableBudget + 1;
      Paragraph("<b>" + title + "</b>");
    }
    if (CellsShown <= TransportTableBudget) CellsShown += cells;
    std::string corners;
    for (std::size_t k = 0; k < cycle.size(); ++k)
      corners += (k == 0 ? "" : " → ") + CellText(cycle[k]) + (k % 2 == 0 ? "+" : "−");
    std::string minus;
    for (std::size_t k = 1; k < cycle.size(); k += 2)
      minus += (k == 1 ? "" : ", ") + Show(X[At(cycle[k].I, cycle[k].J)]);
    Paragraph(choice + " Клетка " + CellText({bi, bj}) + " вводится в план. Цикл: " + corners + ".");
    Paragraph("θ = min(" + minus + ") = " + Show(theta) + ": по циклу перемещается " + Show(theta) +
              " ед. (в клетках «+» прибавляется, в клетках «−» вычитается); клетка " + CellText(out) +
              " становится свободной." +
              (IsZero(theta) ? " Перевозки не меняются, меняется только набор занятых клеток."
                             : " Стоимость уменьшается на " + ShowSigned(Mul(Checked(RatMulInt(Delta[At(bi, bj)], -1)), theta)) +
                                   "."));
    if (Report != nullptr)
      for (std::size_t k = before; k < Report->Lines.size(); ++k)
        if (Report->Lines[k].find("<table") == std::string::npos) StepText += Report->Lines[k].size();
    MoveAlong(cycle, theta, X);
    Basic[At(bi, bj)] = 1;
    Basic[At(out.I, out.J)] = 0;
    X[At(out.I, out.J)] = Zero;
    ++result.Iterations;
  }
  if (Report != nullptr) LayInBlocks(*Report, starts, Report->Lines.size());

  result.Status = TTaskStatus::Optimal;
  result.Total = TotalCost();
  result.Plan.assign(static_cast<std::size_t>(P.M), std::vector<TRational>(static_cast<std::size_t>(P.N), Zero));
  for (std::int32_t i = 0; i < P.M; ++i)
    for (std::int32_t j = 0; j < P.N; ++j) result.Plan[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = X[At(i, j)];

  Heading("Оптимальный план");
  Paragraph("Z<sub>min</sub> = " + ShowSigned(result.Total) + ": " + PlanInWords(X) + (PlanInWords(X).back() == '.' ? "" : ".")); 
  bool zeroEstimate = false;
  std::string fictitious;
  for (std::int32_t i = 0; i < M; ++i)
    for (std::int32_t j = 0; j < N; ++j) {
      const TRational x = X[At(i, j)];
      if (!Fictitious(i, j) || IsZero(x)) continue;
      fictitious += (fictitious.empty() ? "" : "; ") +
                    (j >= P.N ? "у поставщика " + RowName(i) + " остаётся невывезенным " + Show(x) +
                                    " ед. (перевозка фиктивному потребителю " + ColName(j) + ")"
                              : "потребность пункта " + ColName(j) + " остаётся неудовлетворённой на " + Show(x) +
                                    " ед. (перевозка от фиктивного поставщика " + RowName(i) + ")");
    }
  if (!fictitious.empty()) Paragraph("Фиктивные перевозки не выполняются: " + fictitious + ".");

  // Another optimum: a free cell of zero estimate whose cycle moves a positive amount.
  std::string alternative;
  for (std::int32_t i = 0; i < M && alternative.empty(); ++i)
    for (std::int32_t j = 0; j < N; ++j) {
      if (Basic[At(i, j)] != 0 || !IsZero(Delta[At(i, j)])) continue;
      zeroEstimate = true;
      const std::vector<TCellRef> c = Cycle({i, j});
      std::size_t leave = 1;
      const TRational theta = Theta(c, leave);
      if (IsZero(theta)) continue;
      std::vector<TRational> other = X;
      MoveAlong(c, theta, other);
      alternative = "Оценка свободной клетки " + CellText({i, j}) + " равна нулю: перемещение " + Show(theta) +
                    " ед. по её циклу даёт другой оптимальный план с той же стоимостью: " + PlanInWords(other) + (PlanInWords(other).back() == '.' ? "" : ".");
      result.Alternative = true;
      break;
    }
  if (!alternative.empty())
    Paragraph(alternative);
  else if (zeroEstimate)
    Paragraph("Нулевые оценки свободных клеток есть, но перемещение по их циклам равно нулю: другого плана они не "
              "дают.");
  else
    Paragraph("Оценки всех свободных клеток положительны: оптимальный план единственный.");
  result.Answer = "Z<sub>min</sub> = " + ShowSigned(result.Total) + " при плане перевозок: " + PlanInWords(X) +
                  (fictitious.empty() ? "" : "; " + fictitious) +
                  (result.Alternative ? "; оптимальный план не единственный" : "");
  return result;
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

const TStatementLayout Layout{[](std::int32_t sx, std::int32_t sy) {
                                return TCellRect{0, sx, 0, sy};
                              },
                              [](std::int32_t x, std::int32_t y) {
                                if (x == 0 && y == 0) return std::string("способ построения опорного плана");
                                if (x == 0) return "запас поставщика A" + Num(y);
                                if (y == 0) return "потребность потребителя B" + Num(x);
                                return "тариф перевозки из A" + Num(y) + " в B" + Num(x);
                              },
                              false, false, false};

} // namespace

const char* TransportStartWord(TTransportStart start) {
  switch (start) {
  case TTransportStart::NorthWest: return "northwest";
  case TTransportStart::Vogel: return "vogel";
  case TTransportStart::MinElement: break;
  }
  return "min";
}

std::optional<TTransportStart> TransportStartFromWord(const std::string& word) {
  const std::string w = Trimmed(word);
  if (w.empty() || w == "0" || w == "min") return TTransportStart::MinElement;
  if (w == "northwest") return TTransportStart::NorthWest;
  if (w == "vogel") return TTransportStart::Vogel;
  return std::nullopt;
}

const TStatementLayout& TransportLayout() { return Layout; }

TTransportResult SolveTransport(const TTransportProblem& problem, TZLPCore_SolutionResult* report) {
  try {
    return TPotentials(problem, report).Run();
  } catch (const TOverflow&) {
    TTransportResult result;
    result.Status = TTaskStatus::Overflow;
    if (report != nullptr) {
      report->AddParagraph("Числа задачи вышли за пределы точных дробей с 32-битными числителем и знаменателем: "
                           "решение остановлено, ответа нет.");
    }
    return result;
  }
}

namespace {

bool ReadGrid(const TStatementGrid& grid, TTransportProblem& p, TStatementError& error) {
  const std::int32_t n = grid.Sx, m = grid.Sy;
  if (n < TransportMinSize || n > TransportMaxSize || m < TransportMinSize || m > TransportMaxSize) {
    error = {TStatementError::TPlace::Size, n, m, "число поставщиков и потребителей",
             "число поставщиков и число потребителей должны быть от 1 до 50"};
    return false;
  }
  const std::optional<TTransportStart> start = TransportStartFromWord(grid.Cell(0, 0));
  if (!start) {
    error = {TStatementError::TPlace::Cell, 0, 0, CellName(grid, 0, 0), "Способ должен быть min, northwest или vogel"};
    return false;
  }
  p = {};
  p.M = m;
  p.N = n;
  p.Start = *start;
  TRational v{0, 1};
  for (std::int32_t y = 1; y <= m; ++y) {
    if (!ReadCellNumber(grid, 0, y, v, error)) return false;
    if (v.Num < 0) {
      error = {TStatementError::TPlace::Cell, 0, y, CellName(grid, 0, y), "Запас не может быть отрицательным"};
      return false;
    }
    p.Supply.push_back(v);
  }
  for (std::int32_t x = 1; x <= n; ++x) {
    if (!ReadCellNumber(grid, x, 0, v, error)) return false;
    if (v.Num < 0) {
      error = {TStatementError::TPlace::Cell, x, 0, CellName(grid, x, 0), "Потребность не может быть отрицательной"};
      return false;
    }
    p.Demand.push_back(v);
  }
  for (std::int32_t y = 1; y <= m; ++y)
    for (std::int32_t x = 1; x <= n; ++x) {
      if (!ReadCellNumber(grid, x, y, v, error)) return false;
      p.Cost.push_back(v);
    }
  return true;
}

} // namespace

bool ReadTransportStatement(const TStatementGrid& grid, TZLPCore_Interface&, TStatementError& error) {
  TTransportProblem p;
  return ReadGrid(grid, p, error);
}

void SolveTransportTask(TZLPCore_Interface& data, TZLPCore_SolutionResult& report) {
  TTransportProblem p;
  TStatementError error;
  TTaskVerdict& v = data.Verdict;
  v.IsMax = false;
  if (!ReadGrid(data.Statement, p, error)) {
    v.Status = TTaskStatus::BadInput;
    v.Message = StatusSentence(TTaskStatus::BadInput);
    report.AddParagraph(HtmlEscape(error.Field + ": " + error.Message));
    AddAnswer(report, v);
    return;
  }
  TTransportResult r = SolveTransport(p, &report);
  v.Status = r.Status;
  v.Message = StatusSentence(r.Status);
  if (r.Status == TTaskStatus::Optimal) {
    v.Objective = r.Total;
    v.Plan = std::move(r.Plan);
    v.Answer = r.Answer;
  }
  AddAnswer(report, v);
}

namespace {

bool TextFail(TTextFormatError& error, int line, std::string field, std::string message) {
  error.Line = line;
  error.Field = std::move(field);
  error.Message = std::move(message);
  return false;
}

bool TextNumbers(const TTextLine& line, std::size_t from, const std::string& what, std::vector<std::string>& out,
                 TTextFormatError& error) {
  for (std::size_t k = from; k < line.Tokens.size(); ++k) {
    TRational r{0, 1};
    const std::string field = what + " " + std::to_string(k - from + 1);
    if (!ParseInputNumber(line.Tokens[k], r))
      return TextFail(error, line.No, field,
                      "\"" + line.Tokens[k] + "\" не является рациональным числом (пример: 5, 1/2, -4/3)");
    out.push_back(RatToStr(r));
  }
  return true;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

} // namespace

std::optional<TStatementGrid> ReadTransportText(const std::vector<TTextLine>& lines, TStatementFactory make,
                                                TTextFormatError& error) {
  if (lines.front().Tokens.size() != 1) {
    TextFail(error, lines.front().No, "transport", "после transport в строке ничего не должно быть");
    return std::nullopt;
  }
  std::vector<std::string> supply, demand;
  std::vector<std::vector<std::string>> costs;
  std::string start = "min";
  bool hasSupply = false, hasDemand = false, hasStart = false;
  for (std::size_t k = 1; k < lines.size(); ++k) {
    const TTextLine& line = lines[k];
    const std::string head = Lower(line.Tokens.front());
    if (head == "supply" || head == "demand") {
      bool& has = head == "supply" ? hasSupply : hasDemand;
      if (has) {
        TextFail(error, line.No, head, "строка " + head + " встречается дважды");
        return std::nullopt;
      }
      has = true;
      if (!TextNumbers(line, 1, head == "supply" ? "запас" : "потребность", head == "supply" ? supply : demand, error))
        return std::nullopt;
    } else if (head == "start") {
      if (hasStart || line.Tokens.size() != 2 || !TransportStartFromWord(Lower(line.Tokens[1])) ||
          line.Tokens[1] == "0") {
        TextFail(error, line.No, "start", "после start нужно min, northwest или vogel, один раз");
        return std::nullopt;
      }
      hasStart = true;
      start = Lower(line.Tokens[1]);
    } else {
      costs.emplace_back();
      if (!TextNumbers(line, 0, "тариф", costs.back(), error)) return std::nullopt;
      costs.back().push_back(std::to_string(line.No)); // its line number, taken off below
    }
  }
  if (!hasSupply || !hasDemand) {
    TextFail(error, 0, hasSupply ? "demand" : "supply",
             std::string("нет строки ") + (hasSupply ? "demand" : "supply") + " с " +
                 (hasSupply ? "потребностями" : "запасами"));
    return std::nullopt;
  }
  const auto m = static_cast<std::int32_t>(supply.size()), n = static_cast<std::int32_t>(demand.size());
  if (m < TransportMinSize || m > TransportMaxSize || n < TransportMinSize || n > TransportMaxSize) {
    TextFail(error, 0, "", "поставщиков и потребителей должно быть от 1 до 50");
    return std::nullopt;
  }
  if (costs.size() != static_cast<std::size_t>(m)) {
    TextFail(error, 0, "тарифы",
             "нужно " + std::to_string(m) + " строк тарифов, по одной на поставщика; их " + std::to_string(costs.size()));
    return std::nullopt;
  }
  for (std::size_t i = 0; i < costs.size(); ++i) {
    const int no = std::stoi(costs[i].back());
    costs[i].pop_back();
    if (costs[i].size() != static_cast<std::size_t>(n)) {
      TextFail(error, no, "строка тарифов " + std::to_string(i + 1),
               "в строке тарифов нужно " + std::to_string(n) + " чисел, по одному на потребителя");
      return std::nullopt;
    }
  }
  for (std::size_t k = 0; k < supply.size() + demand.size(); ++k) {
    const std::string& t = k < supply.size() ? supply[k] : demand[k - supply.size()];
    if (t.front() == '-') {
      TextFail(error, 0, k < supply.size() ? "запас " + std::to_string(k + 1) : "потребность " + std::to_string(k - supply.size() + 1),
               "запасы и потребности не могут быть отрицательными");
      return std::nullopt;
    }
  }
  TStatementGrid grid = make(TT_TRANSPORT, n, m);
  grid.IsMax = false;
  grid.SetCell(0, 0, start);
  for (std::int32_t y = 1; y <= m; ++y) grid.SetCell(0, y, supply[static_cast<std::size_t>(y - 1)]);
  for (std::int32_t x = 1; x <= n; ++x) grid.SetCell(x, 0, demand[static_cast<std::size_t>(x - 1)]);
  for (std::int32_t y = 1; y <= m; ++y)
    for (std::int32_t x = 1; x <= n; ++x)
      grid.SetCell(x, y, costs[static_cast<std::size_t>(y - 1)][static_cast<std::size_t>(x - 1)]);
  return grid;
}

std::string WriteTransportText(const TStatementGrid& grid) {
  const auto row = [&grid](std::int32_t y, std::int32_t x0) {
    std::string out;
    for (std::int32_t x = x0; x <= grid.Sx; ++x) out += (x == x0 ? "" : " ") + grid.Cell(x, y);
    return out;
  };
  std::string out = "transport\n";
  const std::optional<TTransportStart> start = TransportStartFromWord(grid.Cell(0, 0));
  if (start && *start != TTransportStart::MinElement) out += std::string("start ") + TransportStartWord(*start) + "\n";
  out += "supply";
  for (std::int32_t y = 1; y <= grid.Sy; ++y) out += " " + grid.Cell(0, y);
  out += "\ndemand " + row(0, 1) + "\n";
  for (std::int32_t y = 1; y <= grid.Sy; ++y) out += row(y, 1) + "\n";
  return out;
}

bool SetTransportStart(TStatementGrid& grid, const std::string& word) {
  const std::optional<TTransportStart> start = TransportStartFromWord(word);
  if (!start || word.empty() || word == "0") return false;
  grid.SetCell(0, 0, TransportStartWord(*start));
  return true;
}
