// The tree of branch and bound in the variables of the statement: what the method builds and what
// the graphical section draws.
#pragma once

#include <gmpxx.h>

#include <cstdint>
#include <vector>

// How a node of the tree ended.
enum class TBranchEnd : std::uint8_t {
  Branched,   // divided in two by a condition on BranchVar
  Integer,    // its optimum is integer
  Infeasible, // its program has no solution
  Pruned,     // its bound is no better than the best integer plan found before it
  Stopped,    // not solved to its end: its simplex method stopped, or the guard of nodes was reached
};

// The fill of a node by how it ended (best: the node of the best integer plan), in the tree of
// nodes and in the picture of their regions alike.
[[nodiscard]] inline const char* BranchEndColour(TBranchEnd end, bool best) {
  switch (end) {
  case TBranchEnd::Branched: return "#cfe0f3";
  case TBranchEnd::Integer: return best ? "#9fd89f" : "#d8efd8";
  case TBranchEnd::Infeasible: return "#dddddd";
  case TBranchEnd::Pruned: return "#f6d7a7";
  case TBranchEnd::Stopped: break;
  }
  return "#ffffff";
}

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

// The tree of a run of branch and bound (BranchTree).
struct TBranchTree {
  std::vector<TBranchNode> Nodes; // none when the method is Gomory's or the relaxation alone decides
  bool Whole = true;              // false: the method needs more than maxNodes nodes (the later ones left out)
};
