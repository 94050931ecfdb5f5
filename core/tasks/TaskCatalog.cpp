// The rows of the task catalog and of the step kinds.
#include "TaskCatalog.h"

#include "ZLPCore_Main.h"
#include "untStrConst.h"

#include "Assignment.h"
#include "BranchBound.h"
#include "Cutting.h"
#include "Fractional.h"
#include "Gomory.h"
#include "Pages.h"
#include "KuhnTucker.h"
#include "Regression.h"
#include "Transport.h"

#include <algorithm>
#include <array>

namespace {

constexpr const char* InputHint = "Составьте матмодель задачи и выясните сколько в ней переменных и неравенств "
                                  "(уравнений) ограничений, укажите размерность задачи и введите коэффициенты";

// In the order of the kinds 1 ... 12.
const std::array<TStageInfo, StageKindCount> Stages = {{
    {SK_ZLPINPUT, "Ввод условия задачи ЛП", "Постановка задачи ЛП", InputHint, "zlpinput.html", InputUnit, false},
    {SK_CUTINPUT, "Ввод условия задачи о раскрое", "Постановка задачи",
     "Введите условие задачи и нажмите кнопку «Далее», чтобы перейти к решению.", "CutInput.html", CutInputUnit,
     false},
    {SK_ZDLPINPUT, "Ввод условия задачи ДЛП", "Постановка задачи ДЛП", InputHint, "ZDLPInput.html", FractionalInputUnit,
     false},
    {SK_ZDLPTOZLP, "Приведение к з. ЛП заменой переменных", "Замена переменных",
     "Просмотрите и проверьте шаг замены переменных", "ZDLPToZLP.html", SubstitutionUnit, true},
    {SK_ZLPTOZDLP, "Обратная замена переменных", "Обратная замена",
     "Просмотрите и проверьте шаг обратной замены переменных", "ZLPToZDLP.html", BackSubstitutionUnit, true},
    {SK_QUADRO, "Ввод коэффициентов второго порядка", "Коэффициенты второго порядка",
     "Введите коэффициенты второго порядка и нажмите далее", "Quadro.html", QuadroUnit, false},
    {SK_QUADROSOLVE, "Приведение задачи квадратичного программирования к ЗЛП", "Приведение к ЗЛП",
     "Просмотрите как задача квадратичного программирования приводится к задаче линейного программирования",
     "QuadroSolve.html", QuadroSolveUnit, true},
    {SK_KFCHECK, "Приведение задачи к канонической форме", "Каноническая форма",
     "Просмотрите как была построена КФ для составления симплекс-таблицы", "KFCheck.html", CanonicalUnit, true},
    {SK_ZLPCHECK, "Матмодель задачи ЛП", "Матмодель задачи",
     "Задача линейного программирования была сформулирована следующим образом:", "ZLPCheck.html", ModelUnit, true},
    {SK_SIMPLEXSOLVE, "Решим задачу при помощи симплекс-метода", "Решение симплекс-методом",
     "Проверьте шаг преобразования перед передачей в симплекс-метод", "SimplexSolve.html", SimplexUnit, false},
    {SK_GOMORYSELECT, "Выбор целочисленных переменных", "Условие целочисленности",
     "Выберите переменные, которые должны стать целочисленными и нажмите кнопку далее", "GomorySelect.html",
     GomorySelectUnit, false},
    {SK_PREVIEWRESULT, "Результат решения", "Готово",
     "Просмотрите это решение, если что то не так, то можно вернуться и переделать.", "PreviewResult.html", ResultUnit,
     false},
}};

const std::vector<std::uint8_t> WizardActions = {TA_WIZARD, TA_LOAD, TA_METHOD, TA_HELP};

std::string Num(std::int32_t v) { return std::to_string(v); }

TStatementLayout WithParts(bool ticks, bool quad) {
  TStatementLayout layout = ProgramLayout();
  layout.Ticks = ticks;
  layout.Quad = quad;
  return layout;
}

// Row -1 the numerator, row 0 the denominator (X = 0 their free terms), rows 1..m the constraints.
const TStatementLayout FractionalLayout{[](std::int32_t sx, std::int32_t sy) {
                                          return TCellRect{0, sx, -1, sy};
                                        },
                                        [](std::int32_t x, std::int32_t y) { return ProgramCellName(x, y, -1); }, true,
                                        false, false};
// Sx cutting patterns, Sy products; X = 0 the proportion of product Y, X >= 1 the pieces of product
// Y that pattern X yields.
const TStatementLayout CuttingLayout{[](std::int32_t sx, std::int32_t sy) {
                                       return TCellRect{0, sx, 1, sy};
                                     },
                                     [](std::int32_t x, std::int32_t y) {
                                       return x == 0 ? "доля продукта " + Num(y)
                                                     : "выход продукта " + Num(y) + " по способу раскроя " + Num(x);
                                     },
                                     false, false, false};
// The cost in column X, row Y of an n x n matrix.
const TStatementLayout AssignmentLayout{
    [](std::int32_t sx, std::int32_t) {
      return TCellRect{1, sx, 1, sx};
    },
    [](std::int32_t x, std::int32_t y) { return "элемент матрицы в строке " + Num(y) + ", столбце " + Num(x); }, false,
    false, false};
// The observed X (X = 0) and Y (X = 1) of observation Y = 1..Sx.
const TStatementLayout RegressionLayout{
    [](std::int32_t sx, std::int32_t) {
      return TCellRect{0, 1, 1, sx};
    },
    [](std::int32_t x, std::int32_t y) { return (x == 0 ? "X" : "Y") + std::string(" наблюдения ") + Num(y); }, false,
    false, false};

const std::vector<TTaskInfo>& Catalog() {
  static const std::vector<TTaskInfo> rows = {
      {.Code = TT_LINEAR,
       .Name = "Задача линейного программирования",
       .ListCaption = "Задача ЛП",
       .FilterCaption = "Линейного программирования",
       .HelpFolder = "zlp",
       .MenuCaption = "&Линейного программирования",
       .WaitPage = "w.html",
       .StageKinds = {SK_ZLPINPUT, SK_KFCHECK, SK_SIMPLEXSOLVE, SK_PREVIEWRESULT},
       .Actions = WizardActions,
       .Layout = ProgramLayout(),
       .Store = {},
       .ReadText = ReadProgramText,
       .WriteText = WriteProgramText,
       .PictureAfterInput = true,
       .Read = ReadLinearStatement,
       .Dual = TDualReport::WithAnswer},
      {.Code = TT_INTEGER,
       .Name = "Задача целочисленного программирования",
       .ListCaption = "Целочисленная ЗЛП",
       .FilterCaption = "Целочисленного прогр.",
       .HelpFolder = "gomory",
       .MenuCaption = "&Целочисленного программирования",
       .WaitPage = "w.html",
       .StageKinds = {SK_ZLPINPUT, SK_GOMORYSELECT, SK_KFCHECK, SK_SIMPLEXSOLVE, SK_PREVIEWRESULT},
       .Actions = WizardActions,
       .Layout = WithParts(true, false),
       .Store = {},
       .ReadText = ReadProgramText,
       .WriteText = WriteProgramText,
       .Read = ReadIntegerStatement,
       .ConcludeSimplex = ConcludeGomory,
       .ReplaceSimplex = SolveByBranchAndBound,
       .Dual = TDualReport::WhileRelaxation,
       .MethodOption = "integer-method",
       .SetMethod = SetIntegerMethod},
      {.Code = TT_QUADRATIC,
       .Name = "Задача квадратичного программирования",
       .ListCaption = "Квадратичная ЛП",
       .FilterCaption = "Квадратичного прогр.",
       .HelpFolder = "zkp",
       .MenuCaption = "&Квадратичного программирования",
       .WaitPage = "w.html",
       .StageKinds = {SK_ZLPINPUT, SK_QUADRO, SK_KFCHECK, SK_QUADROSOLVE, SK_SIMPLEXSOLVE, SK_PREVIEWRESULT},
       .Actions = WizardActions,
       .Layout = WithParts(false, true),
       .Store = {},
       .ReadText = ReadProgramText,
       .WriteText = WriteProgramText,
       .Read = ReadQuadraticStatement,
       .Conclude = ConcludeQuadratic},
      {.Code = TT_FRACTIONAL,
       .Name = "Задача дробно-линейного программирования",
       .ListCaption = "Задача ДЛП",
       .FilterCaption = "Дробно-линейного прогр.",
       .HelpFolder = "zdlp",
       .MenuCaption = "&Дробно-линейного программирования",
       .WaitPage = "w.html",
       .StageKinds = {SK_ZDLPINPUT, SK_ZDLPTOZLP, SK_KFCHECK, SK_SIMPLEXSOLVE, SK_ZLPTOZDLP, SK_PREVIEWRESULT},
       .Actions = WizardActions,
       .Layout = FractionalLayout,
       .Store = {},
       .ReadText = ReadProgramText,
       .WriteText = WriteProgramText,
       .Read = ReadFractionalStatement},
      {.Code = TT_CUTTING,
       .Name = "Задача о раскрое",
       .ListCaption = "Задача о раскрое",
       .FilterCaption = "Задачи о раскрое",
       .HelpFolder = "cut",
       .MenuCaption = "О &раскрое",
       .MenuGroupStart = true,
       .WaitPage = "w.html",
       .StageKinds = {SK_CUTINPUT, SK_ZLPCHECK, SK_KFCHECK, SK_SIMPLEXSOLVE, SK_PREVIEWRESULT},
       .Actions = WizardActions,
       .Layout = CuttingLayout,
       .Store = {.Max = TStoreLayout::TMax::Material},
       .TextKeyword = "cut",
       .ReadText = ReadCuttingText,
       .WriteText = WriteCuttingText,
       .Read = ReadCuttingStatement,
       .Conclude = ConcludeCutting,
       .Dual = TDualReport::WithAnswer},
      {.Code = TT_ASSIGNMENT,
       .Name = "Задача о назначении",
       .ListCaption = "Задача о назначении",
       .FilterCaption = "Задачи о назначении",
       .HelpFolder = "zon",
       .MenuCaption = "О &назначении",
       .WaitPage = "z.html",
       .StageKinds = {},
       .Actions = {TA_ASSIGNMENT_WINDOW, TA_LOAD, TA_METHOD, TA_HELP},
       .Layout = AssignmentLayout,
       .Store = {.SxMin = 1, .SxMax = 255, .SyMin = 0, .SyMax = 255, .KeepsSy = false},
       .TextKeyword = "assign",
       .ReadText = ReadAssignmentText,
       .WriteText = WriteAssignmentText,
       .Read = ReadAssignmentStatement,
       .Solve = SolveAssignmentTask},
      {.Code = TT_REGRESSION,
       .Name = "Поиск коэффициентов регрессии",
       .ListCaption = "МНК",
       .FilterCaption = "Поиск коэф. регрессии",
       .HelpFolder = "mnk",
       .MenuCaption = "&Метод наименьших квадратов",
       .WaitPage = "m.html",
       .StageKinds = {},
       .Actions = {TA_REGRESSION_WINDOW, TA_LOAD, TA_METHOD, TA_HELP},
       .Layout = RegressionLayout,
       .Store =
           {.SxMin = 2, .SxMax = 32000, .SyMin = 0, .SyMax = 32000, .KeepsSy = false, .Max = TStoreLayout::TMax::None},
       .TextKeyword = "regress",
       .ReadText = ReadRegressionText,
       .WriteText = WriteRegressionText,
       .MaxTextLines = 32000 + 2, // the keyword, the observations and one past their limit
       .Read = ReadRegressionStatement,
       .Solve = SolveRegressionTask},
      {.Code = TT_TRANSPORT,
       .Name = "Транспортная задача",
       .ListCaption = "Транспортная задача",
       .FilterCaption = "Транспортные задачи",
       .HelpFolder = "transport",
       .MenuCaption = "&Транспортная задача",
       .WaitPage = "t.html",
       .StageKinds = {},
       .Actions = {TA_TRANSPORT_WINDOW, TA_LOAD, TA_METHOD, TA_HELP},
       .Layout = TransportLayout(),
       .Store = {.SxMin = TransportMinSize,
                 .SxMax = TransportMaxSize,
                 .SyMin = TransportMinSize,
                 .SyMax = TransportMaxSize,
                 .Max = TStoreLayout::TMax::None},
       .TextKeyword = "transport",
       .ReadText = ReadTransportText,
       .WriteText = WriteTransportText,
       .MaxTextLines = 1 + 3 + TransportMaxSize + 1, // the keyword, start, supply, demand, the costs, one past
       .Read = ReadTransportStatement,
       .Solve = SolveTransportTask,
       .MethodOption = "transport-start",
       .SetMethod = SetTransportStart},
  };
  return rows;
}

} // namespace

const std::vector<TTaskInfo>& TaskCatalog() { return Catalog(); }

const TTaskInfo* FindTaskInfo(std::uint8_t code) {
  const std::vector<TTaskInfo>& rows = Catalog();
  const auto it = std::find_if(rows.begin(), rows.end(), [code](const TTaskInfo& t) { return t.Code == code; });
  return it == rows.end() ? nullptr : &*it;
}

const TTaskInfo* FindTaskOfWindowAction(std::uint8_t action) {
  const std::vector<TTaskInfo>& rows = Catalog();
  const auto it = std::find_if(rows.begin(), rows.end(), [action](const TTaskInfo& t) {
    return t.WindowAction() != TA_NONE && t.WindowAction() == action;
  });
  return it == rows.end() ? nullptr : &*it;
}

const TStageInfo* FindStageInfo(std::uint8_t kind) {
  if (kind < 1 || kind > Stages.size()) return nullptr;
  return &Stages[kind - 1];
}

TStatementGrid NewStatement(std::uint8_t taskType, std::int32_t sx, std::int32_t sy) {
  TStatementGrid grid;
  ResizeStatement(grid, taskType, sx, sy);
  return grid;
}

void ResizeStatement(TStatementGrid& grid, std::uint8_t taskType, std::int32_t sx, std::int32_t sy) {
  const TTaskInfo* info = FindTaskInfo(taskType);
  grid.Reshape(taskType, info != nullptr ? info->Layout : ProgramLayout(), sx, sy);
}

bool ReadStatement(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error) {
  const TTaskInfo* info = FindTaskInfo(grid.TaskType);
  if (info == nullptr || info->Read == nullptr) {
    error = {TStatementError::TPlace::Whole, 0, 0, "", sNoSuchTask};
    return false;
  }
  if (!info->Read(grid, data, error)) return false;
  data.Statement = grid;
  data.Verdict.IsMax = grid.IsMax;
  return true;
}

std::optional<TStatementGrid> ParseStatementText(const std::string& text, TTextFormatError& error) {
  const std::optional<std::vector<TTextLine>> first = SplitStatementText(text, error, 1);
  if (!first) return std::nullopt;
  std::string head = first->front().Tokens.front();
  std::transform(head.begin(), head.end(), head.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  // A form of its own starts with its keyword; any other text is a linear program or one built on it.
  const std::vector<TTaskInfo>& rows = Catalog();
  auto form = std::find_if(rows.begin(), rows.end(), [&head](const TTaskInfo& t) {
    return t.ReadText != nullptr && *t.TextKeyword != '\0' && head == t.TextKeyword;
  });
  if (form == rows.end())
    form = std::find_if(rows.begin(), rows.end(),
                        [](const TTaskInfo& t) { return t.ReadText != nullptr && *t.TextKeyword == '\0'; });
  if (form == rows.end()) return std::nullopt;
  error.TaskType = form->Code;
  // A long text is split only as far as its form can hold, however long the file.
  const std::optional<std::vector<TTextLine>> lines = SplitStatementText(text, error, form->MaxTextLines);
  if (!lines) return std::nullopt;
  return form->ReadText(*lines, NewStatement, error);
}

std::string StatementToText(const TStatementGrid& grid) {
  const TTaskInfo* info = FindTaskInfo(grid.TaskType);
  return info != nullptr && info->WriteText != nullptr ? info->WriteText(grid) : WriteProgramText(grid);
}
