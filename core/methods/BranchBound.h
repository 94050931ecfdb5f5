// Integer programs by branch and bound: the choice of the method, and the simplex step solved as a
// tree of linear relaxations, each by the simplex method of the table.
#pragma once

#include <gmpxx.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TZLPCore_Interface;
class TZLPCore_SolutionResult;
struct TStatementGrid;
struct TTaskInfo;

// How an integer program is solved (TStatementGrid::IntegerMethod).
enum class TIntegerMethod : std::uint8_t { Gomory = 0, Branch = 1 };
// "gomory", "branch": the words of kelvano-solve's --integer-method.
[[nodiscard]] const char* IntegerMethodWord(TIntegerMethod method);
[[nodiscard]] std::optional<TIntegerMethod> IntegerMethodFromWord(const std::string& word);
// The names the integer-variable step offers: "Метод Гомори", "Метод ветвей и границ".
[[nodiscard]] const char* IntegerMethodName(TIntegerMethod method);
// Type 24, "--integer-method=": the word into the statement; false when it names no method.
[[nodiscard]] bool SetIntegerMethod(TStatementGrid& grid, const std::string& word);

// A guard of time and memory, not a rule of the method: branch and bound ends by itself for a
// program whose integer variables are bounded, but a region without bounds can be divided forever;
// the method stops once this many nodes were solved.
inline constexpr std::int32_t MaxBranchNodes = 500;
// The nodes whose simplex tables the report shows; the later ones are told by their sentences.
inline constexpr std::int32_t ShownBranchNodes = 20;

// The simplex step by branch and bound when the statement asks for it and the relaxation's optimum
// is fractional: the section, the verdict and, at an optimum, the table of the best node in
// data.Table. False, with nothing changed, when the method is Gomory's or the relaxation alone
// decides the program (no optimum, or an integer one): the simplex method then runs as usual.
// data.Table is the first table (PrepareSimplexTable).
[[nodiscard]] bool SolveByBranchAndBound(TZLPCore_Interface& data, TZLPCore_SolutionResult& report,
                                         const TTaskInfo& task);

// How a node of the tree ended.
enum class TBranchEnd : std::uint8_t {
  Branched,   // divided in two by a condition on BranchVar
  Integer,    // its optimum is integer
  Infeasible, // its program has no solution
  Pruned,     // its bound is no better than the best integer plan found before it
  Stopped,    // not solved to its end: its simplex method stopped, or the guard of nodes was reached
};

// A condition X_Var <= Limit (Up: X_Var >= Limit) on a variable of the statement, Var = 1 ... n.
struct TBranchCondition {
  std::int32_t Var = 0;
  mpq_class Limit;
  bool Up = false;
};

// A node of the tree in the variables of the statement: its region is the relaxation's region cut by
// every condition on the way from the root (Conditions, the root's first).
struct TBranchNode {
  std::int32_t Id = 0;     // 1 for the root, in the order the method numbers them
  std::int32_t Parent = 0; // 0 for the root
  std::vector<TBranchCondition> Conditions;
  TBranchEnd End = TBranchEnd::Stopped;
  bool Best = false;          // the node of the best integer plan
  std::vector<mpq_class> X;   // the optimum of the node's relaxation in X1 ... Xn; empty when none
  mpq_class Z;                // the objective there, in the direction of the statement
  std::int32_t BranchVar = 0; // Branched: the variable divided, X_BranchVar = BranchValue is fractional
  mpq_class BranchValue;
};

// The tree branch and bound builds for the statement in data (an integer program whose integer
// variables are chosen, as the integer-variable step leaves it), by the very steps the simplex step
// takes later, without a report, as far as maxNodes nodes.
struct TBranchTree {
  std::vector<TBranchNode> Nodes; // none when the method is Gomory's or the relaxation alone decides
  bool Whole = true;              // false: the method needs more than maxNodes nodes (the later ones left out)
};
[[nodiscard]] TBranchTree BranchTree(const TZLPCore_Interface& data, std::int32_t maxNodes);
