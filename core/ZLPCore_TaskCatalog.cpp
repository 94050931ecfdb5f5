// The rows of the task catalog and of the step kinds.
#include "ZLPCore_TaskCatalog.h"

#include "ZLPCore_Assignment.h"
#include "ZLPCore_Cutting.h"
#include "ZLPCore_Fractional.h"
#include "ZLPCore_Gomory.h"
#include "ZLPCore_Pages.h"
#include "ZLPCore_Quadratic.h"
#include "ZLPCore_Regression.h"

#include <algorithm>
#include <array>

namespace {

constexpr const char* InputHint = "Составьте матмодель задачи и выясните сколько в ней переменных и неравенств "
                                  "(уравнений) ограничений, укажите размерность задачи и введите коэффициенты";

// In the order of the kinds 1 ... 12.
const std::array<TStageInfo, 12> Stages = {{
    {SK_ZLPINPUT, "Ввод условия задачи ЛП", "Постановка задачи ЛП", InputHint, "zlpinput.html", InputUnit, false},
    {SK_CUTINPUT, "Ввод условия задачи о раскрое", "Постановка задачи",
     "Введите условие задачи и нажмите кнопку \"Далее\", чтобы перейти к решению.", "CutInput.html", CutInputUnit,
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
    {SK_SIMPLEXSOLVE, "Решим задачу при помощи симплекс-метода", "Решение симплекс методом",
     "Проверьте шаг преобразования перед передачей в симплекс метод", "SimplexSolve.html", SimplexUnit, false},
    {SK_GOMORYSELECT, "Выбор целочисленных переменных", "Условие целочисленности",
     "Выберите переменные, которые должны стать целочисленными и нажмите кнопку далее", "GomorySelect.html",
     GomorySelectUnit, false},
    {SK_PREVIEWRESULT, "Результат решения", "Готово",
     "Просмотрите это решение, если что то не так, то можно вернуться и переделать.", "PreviewResult.html", ResultUnit,
     false},
}};

const std::vector<std::uint8_t> WizardActions = {TA_WIZARD, TA_LOAD, TA_METHOD, TA_HELP};

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
       .Read = ReadIntegerStatement,
       .Dual = TDualReport::WhileRelaxation},
      {.Code = TT_QUADRATIC,
       .Name = "Задача квадратичного программирования",
       .ListCaption = "Квадратичная ЛП",
       .FilterCaption = "Квадратичного прогр.",
       .HelpFolder = "zkp",
       .MenuCaption = "&Квадратичного программирования",
       .WaitPage = "w.html",
       .StageKinds = {SK_ZLPINPUT, SK_QUADRO, SK_KFCHECK, SK_QUADROSOLVE, SK_SIMPLEXSOLVE, SK_PREVIEWRESULT},
       .Actions = WizardActions,
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
       .Read = ReadRegressionStatement,
       .Solve = SolveRegressionTask},
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
