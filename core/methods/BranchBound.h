// Integer programs by branch and bound: the choice of the method, and the simplex step solved as a
// tree of linear relaxations, each by the simplex method of the table.
#pragma once

#include "BranchTree.h"

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
// The nodes whose simplex tables the report shows; the later ones are told by their sentences, and
// those after ToldBranchNodes are listed in a table, one line each.
inline constexpr std::int32_t ShownBranchNodes = 20;
inline constexpr std::int32_t ToldBranchNodes = 50;

// The simplex step by branch and bound when the statement asks for it and the relaxation's optimum
// is fractional: the section, the verdict and, at an optimum, the table of the best node in
// data.Table. False, with nothing changed, when the method is Gomory's or the relaxation alone
// decides the program (no optimum, or an integer one): the simplex method then runs as usual.
// data.Table is the first table (PrepareSimplexTable).
[[nodiscard]] bool SolveByBranchAndBound(TZLPCore_Interface& data, TZLPCore_SolutionResult& report,
                                         const TTaskInfo& task);

// The tree branch and bound builds for the statement in data (an integer program whose integer
// variables are chosen, as the integer-variable step leaves it), by the very steps the simplex step
// takes later, without a report, as far as maxNodes nodes.
[[nodiscard]] TBranchTree BranchTree(const TZLPCore_Interface& data, std::int32_t maxNodes);
