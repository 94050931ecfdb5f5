// Branch and bound: the tree of relaxations, its report and its picture.
#include "BranchBound.h"

#include "GomoryCut.h"
#include "Pages.h"
#include "SimplexMethod.h"
#include "Svg.h"
#include "TaskContract.h"
#include "Verdict.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <algorithm>
#include <memory>
#include <vector>

const char* IntegerMethodWord(TIntegerMethod method) { return method == TIntegerMethod::Branch ? "branch" : "gomory"; }

std::optional<TIntegerMethod> IntegerMethodFromWord(const std::string& word) {
  if (word.empty() || word == "gomory") return TIntegerMethod::Gomory;
  if (word == "branch") return TIntegerMethod::Branch;
  return std::nullopt;
}

const char* IntegerMethodName(TIntegerMethod method) {
  return method == TIntegerMethod::Branch ? "Метод ветвей и границ" : "Метод Гомори";
}

bool SetIntegerMethod(TStatementGrid& grid, const std::string& word) {
  const std::optional<TIntegerMethod> method = IntegerMethodFromWord(word);
  if (!method) return false;
  grid.IntegerMethod = static_cast<std::uint8_t>(*method);
  return true;
}

namespace {

std::string Num(std::int64_t v) { return std::to_string(v); }
std::string Html(const mpq_class& q) { return HtmlEscape(MpqToStr(q)); }
std::string Var(const std::string& name) { return IndexToSub(HtmlEscape(name)); }

mpq_class Floor(const mpq_class& v) {
  mpz_class f;
  mpz_fdiv_q(f.get_mpz_t(), v.get_num_mpz_t(), v.get_den_mpz_t());
  return mpq_class(f);
}

enum class TNodeEnd : std::uint8_t {
  Open,       // solved, not yet looked at
  Branched,   // divided in two
  Integer,    // its optimum is integer
  Infeasible, // its program has no solution
  Pruned,     // its bound is no better than the best integer plan
  Stopped,    // its simplex method stopped, or the guard of nodes was reached before it was looked at
};

struct TNode {
  std::int32_t Id = 0;
  std::int32_t Parent = 0; // 0 for the root
  std::int32_t Depth = 0;
  std::string Variable; // the variable of the condition that made the node
  mpq_class Limit;      // its bound
  bool Up = false;      // X >= Limit, else X <= Limit
  TSimplexTable Table;
  bool Feasible = false;
  mpq_class Z; // the maximised objective of the relaxation (the table's Z)
  TNodeEnd End = TNodeEnd::Open;
  std::vector<std::int32_t> Children;
  std::string BranchVar;
  mpq_class BranchValue;
};

// How a node ended, in the words of the tree the picture reads; a node left open counts as stopped.
TBranchEnd EndOf(const TNode& n) {
  switch (n.End) {
  case TNodeEnd::Branched: return TBranchEnd::Branched;
  case TNodeEnd::Integer: return TBranchEnd::Integer;
  case TNodeEnd::Infeasible: return TBranchEnd::Infeasible;
  case TNodeEnd::Pruned: return TBranchEnd::Pruned;
  case TNodeEnd::Open:
  case TNodeEnd::Stopped: break;
  }
  return TBranchEnd::Stopped;
}

std::string ConditionHtml(const TNode& n) { return Var(n.Variable) + (n.Up ? " &ge; " : " &le; ") + Html(n.Limit); }

class TBranchAndBound {
public:
  TBranchAndBound(TZLPCore_Interface& data, TZLPCore_SolutionResult& report)
      : Data(data), Report(report), Integer(data.Table.IntegerVars), IsMax(data.Statement.IsMax) {}

  // The root solved; false when it alone decides the program.
  bool SolveRoot() {
    auto root = std::make_unique<TNode>();
    root->Id = 1;
    root->Table = Data.Table;
    root->Table.IntegerVars.clear();
    Nodes.push_back(std::move(root));
    TSimplexMethod m(Nodes[0]->Table);
    m.Start();
    while (!m.Finished()) {
      m.Solve();
      m.Step();
    }
    TNode& n = *Nodes[0];
    if (m.Stop != TSimplexStop::None || n.Table.State != SS_OPTIMAL) return false;
    if (BranchRow(n.Table) == 0) return false;
    n.Feasible = true;
    n.Z = n.Table.GetExact(0, 0);
    RootReports = std::move(m.IterationReports);
    return true;
  }

  void Run();
  // The nodes in the variables of the statement.
  [[nodiscard]] std::vector<TBranchNode> Summary() const;

private:
  // The row of the integer variable with the largest fractional part, the upper row on ties; 0: none.
  std::int32_t BranchRow(TSimplexTable& t) const {
    t.IntegerVars = Integer;
    const std::int32_t row = ChooseCutSource(t);
    t.IntegerVars.clear();
    return row;
  }
  mpq_class Shown(const mpq_class& z) const { return IsMax ? z : mpq_class(-z); }
  std::string PointHtml(const TSimplexTable& t) const {
    std::string text;
    for (std::int32_t j = 1; j <= Data.Statement.Sx; ++j) {
      const std::string name = "X" + Num(j);
      text += (j == 1 ? "" : ", ") + Var(name) + " = " + Html(t.GetExact(0, t.RowOf(name)) * (t.RowOf(name) ? 1 : 0));
    }
    return text;
  }
  std::string ZHtml(const mpq_class& z) const { return "Z = " + Html(Shown(z)); }
  bool IsBest(const TNode& n) const { return Best && Nodes[static_cast<std::size_t>(*Best)].get() == &n; }
  bool Better(const mpq_class& z) const { return !Best || z > Nodes[static_cast<std::size_t>(*Best)]->Z; }

  // Node child of node parent by the condition on the basic variable of row r, solved from the
  // parent's last table by the dual simplex method.
  std::int32_t MakeChild(std::int32_t parent, std::int32_t r, bool up);
  void SolveNode(TNode& node, bool shown);
  // The nodes after the first ToldBranchNodes, a line each: condition, bound and end.
  void ListLaterNodes();
  static bool Told(const TNode& node) { return node.Id <= ToldBranchNodes; }
  std::string TreeSvg() const;

  TZLPCore_Interface& Data;
  TZLPCore_SolutionResult& Report;
  std::vector<std::string> Integer;
  bool IsMax;
  std::vector<std::unique_ptr<TNode>> Nodes;
  std::vector<std::unique_ptr<TZLPCore_SolutionResult>> RootReports;
  std::optional<std::int32_t> Best; // index into Nodes
  bool Guarded = false;
  // The tables of the nodes shown so far, in bytes, and the last node shown: the nodes' tables stop
  // once they would pass ShownNodeBytes, so that the report keeps within its budget.
  static constexpr std::size_t ShownNodeBytes = std::size_t{3} << 20;
  std::size_t ShownBytes = 0;
  std::int32_t LastShown = 1;

public:
  std::int32_t NodeLimit = MaxBranchNodes;
  [[nodiscard]] bool Stopped() const { return Guarded; }
};

std::int32_t TBranchAndBound::MakeChild(std::int32_t parent, std::int32_t r, bool up) {
  const TNode& p = *Nodes[static_cast<std::size_t>(parent)];
  auto node = std::make_unique<TNode>();
  node->Id = static_cast<std::int32_t>(Nodes.size()) + 1;
  node->Parent = parent + 1;
  node->Depth = p.Depth + 1;
  node->Variable = p.Table.GetRowName(r);
  const mpq_class v = p.Table.GetExact(0, r);
  node->Limit = up ? mpq_class(Floor(v) + 1) : Floor(v);
  node->Up = up;
  // X + S = floor(v) with X = v - sum a t reads S - sum a t = floor(v) - v; X - S = ceil(v) reads
  // S + sum a t = v - ceil(v): in either case a row with a negative free term and a basic S.
  TSimplexTable& t = node->Table;
  t = p.Table;
  const std::int32_t basic = p.Table.BasicColumn(r);
  const std::int32_t n = t.ColCount();
  t.SetRowCount(t.RowCount() + 1);
  t.SetColCount(n + 1);
  const std::int32_t m = t.RowCount();
  const std::string slack = "S" + Num(node->Id);
  t.SetColName(n + 1, slack);
  t.SetRowName(m, slack);
  t.SetCell(0, m, RatFromMpq(up ? mpq_class(v - node->Limit) : mpq_class(node->Limit - v)));
  for (std::int32_t j = 1; j <= n; ++j) {
    if (j == basic) continue;
    const mpq_class a = p.Table.GetExact(j, r);
    if (a != 0) t.SetCell(j, m, RatFromMpq(up ? a : mpq_class(-a)));
  }
  t.SetCell(n + 1, m, {1, 1});
  Nodes.push_back(std::move(node));
  return static_cast<std::int32_t>(Nodes.size()) - 1;
}

void TBranchAndBound::SolveNode(TNode& node, bool shown) {
  const TNode& p = *Nodes[static_cast<std::size_t>(node.Parent - 1)];
  const std::string slack = node.Table.GetRowName(node.Table.RowCount());
  const bool told = Told(node);
  if (told)
    Report.AddParagraph("<b>Узел " + Num(node.Id) + "</b>: задача узла " + Num(p.Id) + " с условием " +
                        ConditionHtml(node) + ". В последнюю таблицу узла " + Num(p.Id) + " добавлена строка условия " +
                        Var(node.Variable) + (node.Up ? " - " : " + ") + Var(slack) + " = " + Html(node.Limit) +
                        ", в которой " + Var(node.Variable) +
                        " выражена через небазисные переменные; её свободный член отрицателен, и он устраняется "
                        "двойственным симплекс-методом.");
  TSimplexMethod m(node.Table);
  m.StartFeasibility = TFeasibilityRule::DualLexicographic;
  m.Start();
  while (!m.Finished()) {
    m.Solve();
    m.Step();
  }
  std::size_t bytes = 0;
  for (const auto& r : m.IterationReports)
    for (const std::string& line : r->Lines) bytes += line.size();
  if (shown && LastShown == node.Id - 1 && ShownBytes + bytes <= ShownNodeBytes) {
    for (auto& r : m.IterationReports) Report.AppendReport(std::move(*r));
    ShownBytes += bytes;
    LastShown = node.Id;
  }
  if (m.Stop != TSimplexStop::None) {
    node.End = TNodeEnd::Stopped;
    if (told) Report.AddParagraph("Симплекс-метод узла " + Num(node.Id) + " остановлен, и узел не может быть решён.");
    return;
  }
  node.Feasible = node.Table.State == SS_OPTIMAL;
  if (!node.Feasible) {
    node.End = TNodeEnd::Infeasible;
    if (told) Report.AddParagraph("Задача узла " + Num(node.Id) + " несовместна: узел закрыт.");
    return;
  }
  node.Z = node.Table.GetExact(0, 0);
  if (told)
    Report.AddParagraph("Оптимум задачи узла " + Num(node.Id) + ": " + ZHtml(node.Z) + " при " + PointHtml(node.Table) +
                        ".");
}

void TBranchAndBound::ListLaterNodes() {
  if (static_cast<std::int32_t>(Nodes.size()) <= ToldBranchNodes || ReportSilenced()) return;
  std::vector<std::vector<std::string>> rows{{"Узел", "Из узла", "Условие", "Граница", "Чем закончился"}};
  for (std::size_t k = ToldBranchNodes; k < Nodes.size(); ++k) {
    const TNode& n = *Nodes[k];
    std::string end;
    switch (n.End) {
    case TNodeEnd::Branched:
      end = "делится по " + Var(n.BranchVar) + " = " + Html(n.BranchValue) + ": узлы " + Num(Nodes[n.Children[0]]->Id) +
            " и " + Num(Nodes[n.Children[1]]->Id);
      break;
    case TNodeEnd::Integer:
      end = "целочисленный план " + PointHtml(n.Table) + (IsBest(n) ? " — лучший" : " (потом найден лучший)");
      break;
    case TNodeEnd::Infeasible: end = "задача несовместна"; break;
    case TNodeEnd::Pruned: end = "отсечён по границе"; break;
    case TNodeEnd::Stopped:
    case TNodeEnd::Open:
      end = n.Feasible ? "не рассмотрен: решение остановлено" : "симплекс-метод узла остановлен";
      break;
    }
    rows.push_back({Num(n.Id), Num(n.Parent), ConditionHtml(n), n.Feasible ? ZHtml(n.Z) : "&mdash;", end});
  }
  Report.AddParagraph("<b>Узлы " + Num(ToldBranchNodes + 1) + "–" + Num(static_cast<std::int64_t>(Nodes.size())) +
                      "</b>: условие, добавленное к задаче родительского узла, граница Z задачи узла и чем узел "
                      "закончился.");
  Report.AddLine(CellTable(rows));
}

void TBranchAndBound::Run() {
  Report.Clear();
  Report.AddHeading("Метод ветвей и границ");
  Report.AddParagraph(
      "Сначала симплекс-методом решается задача без условия целочисленности (узел 1). Пока в решении узла есть "
      "целочисленная переменная с дробным значением v (берётся переменная с наибольшей дробной частью, из равных — "
      "из верхней строки), узел делится на две задачи: с условием X<sub>j</sub> &le; [v] и с условием "
      "X<sub>j</sub> &ge; [v] + 1 ([v] — целая часть v). Каждая из них решается из последней таблицы своего узла "
      "двойственным симплекс-методом. Узел закрывается, если его задача несовместна, если её решение "
      "целочисленно, или если её оптимум не лучше лучшего найденного целочисленного плана (отсечение по границе). "
      "Узлы просматриваются в глубину, и из двух подзадач сначала та, у которой граница лучше.");
  Report.AddParagraph("<b>Узел 1</b>: задача без условия целочисленности.");
  for (auto& r : RootReports) Report.AppendReport(std::move(*r));
  RootReports.clear();
  Report.AddParagraph("Оптимум задачи узла 1: " + ZHtml(Nodes[0]->Z) + " при " + PointHtml(Nodes[0]->Table) + ".");

  std::vector<std::int32_t> stack{0};
  std::int32_t solved = 1;
  // Where the report of each node looked at begins: a long run of them goes by blocks.
  std::vector<std::size_t> starts;
  while (!stack.empty()) {
    const std::int32_t k = stack.back();
    stack.pop_back();
    TNode& n = *Nodes[static_cast<std::size_t>(k)];
    if (n.End != TNodeEnd::Open) continue;
    if (starts.empty() || starts.back() < Report.Lines.size()) starts.push_back(Report.Lines.size());
    const std::string name = "Узел " + Num(n.Id);
    if (Best && !Better(n.Z)) {
      n.End = TNodeEnd::Pruned;
      if (Told(n))
        Report.AddParagraph(name + ": граница " + ZHtml(n.Z) + " не лучше лучшего целочисленного плана (" +
                            ZHtml(Nodes[static_cast<std::size_t>(*Best)]->Z) +
                            "), поэтому узел отсекается по границе: в нём нет плана лучше.");
      continue;
    }
    const std::int32_t r = BranchRow(n.Table);
    if (r == 0) {
      n.End = TNodeEnd::Integer;
      Best = k;
      if (Told(n))
        Report.AddParagraph(name + ": решение целочисленно, и это лучший из найденных целочисленных планов: " +
                            ZHtml(n.Z) + " при " + PointHtml(n.Table) + ".");
      continue;
    }
    if (solved + 2 > NodeLimit) {
      Guarded = true;
      n.End = TNodeEnd::Stopped;
      for (const std::int32_t rest : stack) Nodes[static_cast<std::size_t>(rest)]->End = TNodeEnd::Stopped;
      Report.AddParagraph("Решено уже " + Num(solved) +
                          " узлов. Это предел, который программа ставит, чтобы решение не заняло слишком много "
                          "времени и памяти (правило метода его не требует; так бывает, когда область не "
                          "ограничена), поэтому метод остановлен.");
      break;
    }
    n.End = TNodeEnd::Branched;
    n.BranchVar = n.Table.GetRowName(r);
    n.BranchValue = n.Table.GetExact(0, r);
    const mpq_class f = n.BranchValue - Floor(n.BranchValue);
    const std::int32_t down = MakeChild(k, r, false);
    const std::int32_t up = MakeChild(k, r, true);
    TNode& d = *Nodes[static_cast<std::size_t>(down)];
    TNode& u = *Nodes[static_cast<std::size_t>(up)];
    Nodes[static_cast<std::size_t>(k)]->Children = {down, up};
    if (Told(n))
      Report.AddParagraph(name + ": переменная " + Var(n.BranchVar) + " = " + Html(n.BranchValue) +
                          " дробная (дробная часть " + Html(f) + "" + "), поэтому узел делится на две задачи: узел " +
                          Num(d.Id) + " с условием " + ConditionHtml(d) + " и узел " + Num(u.Id) + " с условием " +
                          ConditionHtml(u) + ". Целых значений " + Var(n.BranchVar) +
                          " между ними нет, поэтому ни один целочисленный "
                          "план не теряется.");
    solved += 2;
    SolveNode(d, d.Id <= ShownBranchNodes);
    SolveNode(u, u.Id <= ShownBranchNodes);
    // Depth first, the better bound first: it is taken from the top of the stack.
    std::vector<std::int32_t> open;
    for (const std::int32_t c : {down, up})
      if (Nodes[static_cast<std::size_t>(c)]->End == TNodeEnd::Open) open.push_back(c);
    if (open.size() == 2 && Nodes[static_cast<std::size_t>(up)]->Z > Nodes[static_cast<std::size_t>(down)]->Z)
      std::swap(open[0], open[1]);
    // open[0] is the better (the down node on equal bounds): it goes on the stack last.
    for (auto it = open.rbegin(); it != open.rend(); ++it) stack.push_back(*it);
    if (open.size() == 2 && Told(*Nodes[static_cast<std::size_t>(open[0])]))
      Report.AddParagraph("Дальше рассматривается узел " + Num(Nodes[static_cast<std::size_t>(open[0])]->Id) +
                          ": его граница " + ZHtml(Nodes[static_cast<std::size_t>(open[0])]->Z) +
                          " не хуже границы узла " + Num(Nodes[static_cast<std::size_t>(open[1])]->Id) + ".");
  }
  if (!starts.empty() && starts.back() < Report.Lines.size()) LayInBlocks(Report, starts, Report.Lines.size());
  if (static_cast<std::int32_t>(Nodes.size()) > LastShown)
    Report.AddParagraph("Таблицы показаны для узлов 1–" + Num(LastShown) +
                        (LastShown < std::min<std::int32_t>(ShownBranchNodes, static_cast<std::int32_t>(Nodes.size()))
                             ? " (таблицы этой задачи велики, и больше их в отчёт не поместится)"
                             : "") +
                        "; о каждом следующем узле сказано, с каким условием он построен и чем закончился" +
                        (static_cast<std::int32_t>(Nodes.size()) > ToldBranchNodes
                             ? ", а узлы после " + Num(ToldBranchNodes) + "-го перечислены в таблице ниже."
                             : "."));
  ListLaterNodes();

  Report.AddParagraph("Дерево узлов: в каждом узле — его номер и граница Z задачи без условия целочисленности; "
                      "на ветвях — добавленные условия.");
  if (!ReportSilenced()) Report.AddLine(TreeSvg());

  TTaskVerdict& verdict = Data.Verdict;
  verdict.IsMax = IsMax;
  verdict.Objective.reset();
  verdict.X.clear();
  verdict.Dual.clear();
  verdict.RangesB.clear();
  verdict.RangesC.clear();
  if (Best) {
    TNode& b = *Nodes[static_cast<std::size_t>(*Best)];
    Data.Table = b.Table;
    Data.Table.IntegerVars = Integer;
    Data.Table.State = SS_OPTIMAL;
    Data.BuildSolution();
    std::string point = "<p>Функция достигает экстремума в точке:\r\n<pre>";
    for (const auto& line : Data.SolutionLines) point += line + "\r\n";
    Report.AddLine(point + "</pre>");
  }
  if (Guarded) {
    verdict.Status = TTaskStatus::Cycling;
    verdict.Message =
        "после " + Num(MaxBranchNodes) + " узлов метода ветвей и границ решение остановлено: оптимальность не доказана";
    verdict.Answer =
        "решение остановлено после " + Num(MaxBranchNodes) + " узлов метода ветвей и границ" +
        (Best ? std::string(": лучший найденный целочисленный план ") +
                    ZHtml(Nodes[static_cast<std::size_t>(*Best)]->Z) + " при " +
                    PointHtml(Nodes[static_cast<std::size_t>(*Best)]->Table) + ", но не доказано, что он оптимален."
              : std::string(": целочисленный план не найден."));
    Data.Table.State = SS_GOMORYCUT; // no optimum of the integer program
    return;
  }
  if (!Best) {
    const std::string none = "задача не имеет целочисленных решений";
    Report.AddParagraph("Все узлы закрыты, а целочисленного плана не нашлось: " + none + ".");
    verdict.Status = TTaskStatus::Infeasible;
    verdict.Message = none;
    verdict.Answer = none + ".";
    Data.Table.State = SS_MANYSOLUTIONS;
    return;
  }
  Report.AddParagraph("Все узлы закрыты: лучший целочисленный план найден в узле " +
                      Num(Nodes[static_cast<std::size_t>(*Best)]->Id) + ".");
  verdict.Status = TTaskStatus::Optimal;
  mpq_class z = Nodes[static_cast<std::size_t>(*Best)]->Z;
  verdict.Objective = RatFromMpq(Shown(z));
  for (std::int32_t j = 1; j <= Data.Statement.Sx; ++j) verdict.X.push_back(Data.Table.ValueOf("X" + Num(j)));
  verdict.Message = StatusSentence(verdict.Status);
}

// "X2" -> 2; 0 for a name that is no variable of the statement.
std::int32_t StatementIndex(const std::string& name, std::int32_t n) {
  if (name.size() < 2 || name[0] != 'X' || name.find_first_not_of("0123456789", 1) != std::string::npos) return 0;
  const long j = std::stol(name.substr(1));
  return j >= 1 && j <= n ? static_cast<std::int32_t>(j) : 0;
}

std::vector<TBranchNode> TBranchAndBound::Summary() const {
  const std::int32_t n = Data.Statement.Sx;
  std::vector<TBranchNode> out;
  out.reserve(Nodes.size());
  for (const auto& node : Nodes) {
    TBranchNode s;
    s.Id = node->Id;
    s.Parent = node->Parent;
    for (const TNode* k = node.get(); k->Parent != 0; k = Nodes[static_cast<std::size_t>(k->Parent - 1)].get())
      s.Conditions.push_back({StatementIndex(k->Variable, n), k->Limit, k->Up});
    std::reverse(s.Conditions.begin(), s.Conditions.end());
    s.End = EndOf(*node);
    s.Best = IsBest(*node);
    if (node->Feasible) {
      for (std::int32_t j = 1; j <= n; ++j) {
        const std::int32_t r = node->Table.RowOf("X" + Num(j));
        s.X.push_back(r != 0 ? node->Table.GetExact(0, r) : mpq_class(0));
      }
      s.Z = Shown(node->Z);
    }
    if (node->End == TNodeEnd::Branched) {
      s.BranchVar = StatementIndex(node->BranchVar, n);
      s.BranchValue = node->BranchValue;
    }
    out.push_back(std::move(s));
  }
  return out;
}

std::string TBranchAndBound::TreeSvg() const {
  constexpr double W = 112; // the width of a slot
  constexpr double H = 74;  // the height of a level
  constexpr double BoxW = 100;
  constexpr double BoxH = 36;
  // x of a node: leaves one slot apart from left to right, a parent over the middle of its children.
  std::vector<double> x(Nodes.size(), 0);
  double next = 0;
  std::int32_t depth = 0;
  const auto place = [&](auto&& self, std::int32_t k) -> void {
    const TNode& n = *Nodes[static_cast<std::size_t>(k)];
    depth = std::max(depth, n.Depth);
    if (n.Children.empty()) {
      x[static_cast<std::size_t>(k)] = next++;
      return;
    }
    for (const std::int32_t c : n.Children) self(self, c);
    x[static_cast<std::size_t>(k)] =
        (x[static_cast<std::size_t>(n.Children.front())] + x[static_cast<std::size_t>(n.Children.back())]) / 2;
  };
  place(place, 0);
  const double width = std::max(next, 1.0) * W;
  const double height = (depth + 1) * H;
  TSvgPlot plot({0, width, 0, height}, width, height, 0);
  const auto centre = [&](const TNode& n) {
    return TSvgPoint{x[static_cast<std::size_t>(n.Id - 1)] * W + W / 2, height - n.Depth * H - BoxH / 2 - 4};
  };
  for (const auto& n : Nodes) {
    if (n->Parent == 0) continue;
    const TSvgPoint a = centre(*Nodes[static_cast<std::size_t>(n->Parent - 1)]);
    const TSvgPoint b = centre(*n);
    plot.Line({a.X, a.Y - BoxH / 2}, {b.X, b.Y + BoxH / 2}, "clsGrLine", "stroke=\"currentColor\"");
    const std::string cond = HtmlEscape(n->Variable) + (n->Up ? " &#8805; " : " &#8804; ") + Html(n->Limit);
    plot.Text({(a.X + b.X) / 2, (a.Y - BoxH / 2 + b.Y + BoxH / 2) / 2}, n->Up ? 4 : -4, 0, cond, "clsGrLineName",
              n->Up ? "start" : "end");
  }
  for (const auto& n : Nodes) {
    const TSvgPoint c = centre(*n);
    const std::string fill = BranchEndColour(EndOf(*n), IsBest(*n));
    std::string what;
    switch (n->End) {
    case TNodeEnd::Integer: what = "целочисленный"; break;
    case TNodeEnd::Infeasible: what = "несовместна"; break;
    case TNodeEnd::Pruned: what = "отсечён"; break;
    case TNodeEnd::Branched: break;
    case TNodeEnd::Stopped:
    case TNodeEnd::Open: what = "не рассмотрен"; break;
    }
    plot.Polygon({{c.X - BoxW / 2, c.Y - BoxH / 2},
                  {c.X + BoxW / 2, c.Y - BoxH / 2},
                  {c.X + BoxW / 2, c.Y + BoxH / 2},
                  {c.X - BoxW / 2, c.Y + BoxH / 2}},
                 "clsGrNode", "fill=\"" + fill + "\" fill-opacity=\"0.6\" stroke=\"#555555\"");
    const std::string value = n->Feasible ? "Z = " + Html(Shown(n->Z)) : std::string();
    plot.Text(c, 0, -4, "№ " + Num(n->Id) + (value.empty() ? "" : ": " + value), "clsGrVertexName", "middle");
    if (!what.empty()) plot.Text(c, 0, 11, what, "clsGrTick", "middle");
  }
  return plot.Svg("clsGraph", "Дерево узлов метода ветвей и границ");
}

} // namespace

bool SolveByBranchAndBound(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TTaskInfo& task) {
  if (data.Statement.IntegerMethod != static_cast<std::uint8_t>(TIntegerMethod::Branch) ||
      data.Table.IntegerVars.empty())
    return false;
  static_cast<void>(task);
  TBranchAndBound method(data, report);
  if (!method.SolveRoot()) return false;
  method.Run();
  return true;
}

TBranchTree BranchTree(const TZLPCore_Interface& stated, std::int32_t maxNodes) {
  if (!stated.HasFlag(IF_ZLP) || !stated.HasFlag(IF_INTEGERVARS) || stated.IntegerVars.empty() ||
      stated.Statement.IntegerMethod != static_cast<std::uint8_t>(TIntegerMethod::Branch))
    return {};
  const TReportSilence silence;
  TZLPCore_Interface data = stated;
  TZLPCore_SolutionResult scratch;
  // The steps between this one and the simplex step: the canonical form and the first table.
  if (!WriteCanonicalPage(data, "", scratch) || !data.ZLP.IsCanonical() || !PrepareSimplexTable(data)) return {};
  TBranchAndBound method(data, scratch);
  method.NodeLimit = std::min(maxNodes, MaxBranchNodes);
  if (!method.SolveRoot()) return {};
  method.Run();
  return {method.Summary(), !method.Stopped() || maxNodes >= MaxBranchNodes};
}
