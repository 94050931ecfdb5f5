// Constant texts shared by all windows and reports.
#pragma once

inline constexpr const char* sAppTitle = "Kelvano 1.0";
inline constexpr const char* sEnterRational = "Введите рациональное число, например: 5, 1/2, -4/3...";
inline constexpr const char* sNotCanonical =
    "Задача, полученная на предыдущем шаге не может быть решена симплекс-методом т.к. не приведена к "
    "канонической форме.";
inline constexpr const char* sNoTaskToConvert = "Ошибка, нет задачи для преобразования";
inline constexpr const char* sNoSuchTask = "GetTaskName не знает такой задачи";
// Above the grid of the second-order coefficients.
inline constexpr const char* sQuadGridHint =
    "Клетка в строке X_i и столбце X_j — коэффициент q_ij при X_i·X_j: к целевой функции прибавляется "
    "Σ q_ij·X_i·X_j по всем i и j, поэтому произведение разных переменных входит дважды, с q_ij и с q_ji "
    "(например, 3X1·X2 можно записать как q_12 = 3, q_21 = 0 или как q_12 = q_21 = 3/2), а квадрат X_i² — один "
    "раз, с q_ii.";
inline constexpr const char* sFieldNotPrepared =
    "Необходимое на этом шаге поле интерфейса не было подготовлено, перераспределите шаги в задаче";
inline constexpr const char* sVarAddress =
    "Системному программисту: Переменные VAR должны быть расположена в доступном для функции модуля "
    "адресном пространстве.";
inline constexpr const char* sBadDenominator =
    "Невозможно произвести замену переменных, т.к. знаменатель функции не удовлетворяет основным условиям. "
    "Нажмите «Помощь», чтобы узнать больше об этом этапе.";
inline constexpr const char* sPivotBreaksRatio =
    "Элемент нарушает правило наименьшего отношения: новый план будет недопустимым. Всё равно выполнить?";
inline constexpr const char* sPivotNegative =
    "Элемент отрицателен при положительном свободном члене: новый план будет недопустимым. Всё равно выполнить?";
// At the foot of a printed page: %1 the page, %2 the number of pages.
inline constexpr const char* sPageNumber = "Страница %1 из %2";
inline constexpr const char* sFinish = "Готово";
inline constexpr const char* sNext = "Далее >>";
inline constexpr const char* sWizardTitle = "Мастер решений";
inline constexpr const char* sAbortWizard = "Вы действительно хотите прервать работу мастера?";
inline constexpr const char* sSolution = "Решение";
inline constexpr const char* sHelp = "Помощь";
inline constexpr const char* sMethod = "Методика";
inline constexpr const char* sNone = "(Нет)";
inline constexpr const char* sLoadFromBase = "Загрузить из базы";
inline constexpr const char* sArrowMax = "→ Max";
inline constexpr const char* sArrowMin = "→ Min";
inline constexpr const char* sMaximization = "максимизацию";
inline constexpr const char* sMinimization = "минимизацию";
inline constexpr const char* sTaskFor = "Задача на ";
inline constexpr const char* sModelIntro = "Исходная задача оптимизации представлена следующей матмоделью:";
inline constexpr const char* sModelIntro2 = "Исходная задача оптимизации представлена следующей матмоделью:";
inline constexpr const char* sModelWith = " модели с ";
inline constexpr const char* sSubstitution = "Произведём замену переменных, чтобы записать задачу в следующем виде:";
inline constexpr const char* sBackSubstitution = "В соответствии с произведённой заменой перепишем ответ в виде:";
inline constexpr const char* sError = "Ошибка";

// Head of every HTML page; <!--%TITLE%--> and <!--%GENERATOR%--> are filled in when it is written.
inline constexpr const char* sHtmlHead =
    "<html lang=ru>\r\n"
    " <head>\r\n"
    "  <title><!--%TITLE%--></title>\r\n"
    "  <meta name=\"GENERATOR\" content=\"<!--%GENERATOR%-->\">\r\n"
    "  <meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">";

// Footer of a full (not bare) page: a rule, an empty line, the notice and the contact line.
inline constexpr const char* sHtmlFooter =
    "<HR SIZE=\"1\"></HR>\r\n"
    "\r\n"
    "<div class=\"clsFtr\">Kelvano 1.0 &mdash; учебная программа по методам оптимизации. Все права защищены.<br>\r\n"
    "Вопросы и замечания: <a href=\"mailto:support@kelvano.example\">support@kelvano.example</a></div>";
