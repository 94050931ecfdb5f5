// What a task type is to the rest of the program: its code, its step kinds, and the row the task
// catalog keeps for it. The methods implement the hooks of a row; only the catalog names them all.
#pragma once

#include "Statement.h"
#include "TaskCodes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TZLPCore_Interface;
class TZLPCore_SolutionResult;
class TSimplexMethod;
struct TTaskVerdict;
struct TTaskInfo;

struct TStageInfo;

// The work of one step kind that needs no widget: reads and changes the container, writes the
// step's section into report, and returns whether the solution can go on to the next step. A
// unit that ends the solution (a verdict reached early) sets data.Verdict. task is the row of the
// type being solved.
using TStageUnit = bool (*)(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                            const TTaskInfo& task);

// One step kind: the texts the wizard shows, its help page under "help/steps/", its unit, and
// whether it is a page step (its whole client area the unit's section, shown on entry).
struct TStageInfo {
  std::uint8_t Kind = 0;
  const char* Title = "";
  const char* Caption = "";
  const char* Hint = "";
  const char* HelpPage = "";
  TStageUnit Unit = nullptr;
  bool PageStep = false;
};

// Actions of the main window's list under a task type. A type with a window of its own has an
// action "Решение" of its own code, which opens that window.
enum : std::uint8_t {
  TA_WIZARD = 0,            // "Мастер решений"
  TA_ASSIGNMENT_WINDOW = 1, // "Решение" of the assignment problem
  TA_REGRESSION_WINDOW = 2, // "Решение" of the regression
  TA_HELP = 3,              // the type's help page
  TA_METHOD = 4,            // the type's theory page
  TA_NONE = 5,              // nothing to do
  TA_LOAD = 6,              // "Загрузить из базы"
  TA_TRANSPORT_WINDOW = 7,  // "Решение" of the transportation problem
};

// Reads a statement of the type into the container (see ReadStatement).
using TStatementReader = bool (*)(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error);
// Completes the verdict and the report of a type after its last step (the quadratic objective, ...);
// what it writes precedes the answer paragraph.
using TTaskConclusion = void (*)(TZLPCore_Interface& data, TZLPCore_SolutionResult& report);
// Completes the verdict of the simplex step once the method has ended (an integer program's cuts).
using TSimplexConclusion = void (*)(const TSimplexMethod& method, const TZLPCore_Interface& data, TTaskVerdict& verdict,
                                    TZLPCore_SolutionResult& report);
// The simplex step of a type by another method when the statement asks for it (branch and bound);
// false: the simplex method runs as usual. data.Table holds the first table.
using TSimplexReplacement = bool (*)(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TTaskInfo& task);
// The whole solution of a type with a window of its own: the statement in data.Statement, the
// report into report, the verdict into data.Verdict.
using TStandaloneSolver = void (*)(TZLPCore_Interface& data, TZLPCore_SolutionResult& report);
// Sets the method a statement of the type is solved by from the word of the type's option of
// kelvano-solve ("--transport-start=vogel"); false when the word names no method.
using TMethodSetter = bool (*)(TStatementGrid& grid, const std::string& word);

// Whether the final report of a type has the section on the dual problem of its linear program.
enum class TDualReport : std::uint8_t {
  None,            // the program solved is not the student's (a substitution, the Kuhn-Tucker system)
  WithAnswer,      // the section, and the dual estimates and ranges in the verdict
  WhileRelaxation, // the section only when the optimum of the relaxation is the answer (no cut made)
};

// How the problem store keeps a type's sizes and its field Max.
struct TStoreLayout {
  enum class TMax : std::uint8_t {
    Direction, // 1 to maximise, 0 to minimise
    Material,  // the whole part of the amount of material; a fraction is kept in cell (0, 0)
    None,      // not kept
  };
  std::int64_t SxMin = 1, SxMax = 255, SyMin = 1, SyMax = 255;
  bool KeepsSy = true; // Sy is stored (else it follows from Sx)
  TMax Max = TMax::Direction;
};

// The text form of a type (see TextFormat.h): the keyword of its first line (empty: the form of a
// linear program, whose type its extra lines tell), its reader and its writer.
struct TTextLine;
struct TTextFormatError;
using TStatementFactory = TStatementGrid (*)(std::uint8_t taskType, std::int32_t sx, std::int32_t sy);
using TTextReader = std::optional<TStatementGrid> (*)(const std::vector<TTextLine>& lines, TStatementFactory make,
                                                      TTextFormatError& error);
using TTextWriter = std::string (*)(const TStatementGrid& grid);

struct TTaskInfo {
  std::uint8_t Code = TT_NONE;
  const char* Name = "";                // GetTaskName, the wizard's and the report's title
  const char* ListCaption = "";         // the main window's list of types
  const char* FilterCaption = "";       // the load dialog's filter
  const char* HelpFolder = "";          // sub-folder of help/help and help/math: "zlp"
  const char* MenuCaption = "";         // the item of the main window's menu "Задачи"
  bool MenuGroupStart = false;          // a separator comes before the item
  const char* WaitPage = "";            // the help page shown while the wizard or window is open
  std::vector<std::uint8_t> StageKinds; // the wizard's steps in order; empty: a window of its own
  std::vector<std::uint8_t> Actions;    // the main window's actions, in list order
  TStatementLayout Layout;              // the cells of its statement as functions of the sizes
  TStoreLayout Store;                   // the sizes the store accepts, the meaning of Max
  const char* TextKeyword = "";         // the text form
  TTextReader ReadText = nullptr;
  TTextWriter WriteText = nullptr;
  std::size_t MaxTextLines = std::string::npos; // the text is read no further (its reader tells why)
  bool PictureAfterInput = false; // the graphical method follows the input section
  TStatementReader Read = nullptr;
  TTaskConclusion Conclude = nullptr;
  TSimplexConclusion ConcludeSimplex = nullptr;
  TSimplexReplacement ReplaceSimplex = nullptr;
  TStandaloneSolver Solve = nullptr;
  TDualReport Dual = TDualReport::None;
  const char* MethodOption = "";     // kelvano-solve's option that chooses the method: "transport-start"
  TMethodSetter SetMethod = nullptr; // applies its value to a statement of the type

  [[nodiscard]] bool HasWizard() const noexcept { return !StageKinds.empty(); }
  // The action that opens the type's own window; TA_NONE for a wizard type.
  [[nodiscard]] std::uint8_t WindowAction() const noexcept {
    return HasWizard() || Actions.empty() ? std::uint8_t{TA_NONE} : Actions.front();
  }
};
