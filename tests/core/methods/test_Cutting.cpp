// The cutting-stock statements refused, and the answer a student reads. The programs built and
// solved are checked by the task table and its independent check.
#include "Cutting.h"
#include "MessageRecorder.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "untStrConst.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TStatementGrid Parse(const std::string& text) {
  TTextFormatError error;
  const auto grid = ParseStatementText(text, error);
  EXPECT_TRUE(grid.has_value()) << text << ": " << error.Message;
  return grid.value_or(TStatementGrid{});
}

TEST(CuttingProgram, RefusesWhatIsNoCuttingProblem) {
  struct TCase {
    const char* Name;
    std::function<void(TStatementGrid&)> Change;
    TStatementError::TPlace Place;
    std::int32_t X, Y;
    std::string Message;
  };
  using P = TStatementError::TPlace;
  const TCase cases[] = {
      {"empty material", [](TStatementGrid& g) { g.Material = ""; }, P::Material, 0, 0, "Введите количество материала"},
      {"negative material", [](TStatementGrid& g) { g.Material = "-3"; }, P::Material, 0, 0,
       "Количество материала не может быть отрицательным"},
      {"empty proportion", [](TStatementGrid& g) { g.SetCell(0, 2, ""); }, P::Cell, 0, 2, std::string("Пустая клетка. ") + sEnterRational},
      {"negative proportion", [](TStatementGrid& g) { g.SetCell(0, 2, "-1"); }, P::Cell, 0, 2,
       "Пропорция изделия не может быть отрицательной"},
      {"negative yield", [](TStatementGrid& g) { g.SetCell(1, 2, "-2"); }, P::Cell, 1, 2,
       "Число изделий, которое даёт способ раскроя, не может быть отрицательным"},
      {"every proportion 0",
       [](TStatementGrid& g) {
         g.SetCell(0, 1, "0");
         g.SetCell(0, 2, "0");
       },
       P::Cell, 0, 1, sCutAllProportionsZero},
      {"256 patterns", [](TStatementGrid& g) { ResizeStatement(g, TT_CUTTING, 256, 2); }, P::Size, 256, 2, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TStatementGrid grid = Parse("cut\nmaterial 10\nproportions 1 2\npattern 3 1\npattern 0 2\n");
    c.Change(grid);
    TZLPCore_Interface data;
    TStatementError error;
    EXPECT_FALSE(ReadStatement(grid, data, error));
    EXPECT_EQ(error.Place, c.Place);
    EXPECT_EQ(error.X, c.X);
    EXPECT_EQ(error.Y, c.Y);
    if (!c.Message.empty()) {
      EXPECT_EQ(error.Message, c.Message);
    }
    EXPECT_EQ(data.Flags, 0) << "a refused statement changes nothing";
  }
}

// The last paragraph of the final report, and the sentence on the reference product.
TEST(CuttingAnswer, SaysTheSetsAndTheMaterialPerPatternInWords) {
  struct TCase {
    const char* Name;
    const char* Statement;
    const char* Answer;
  };
  const TCase cases[] = {
      {"unused patterns", "cut\nmaterial 12\nproportions 2\npattern 3\npattern 5\npattern 4\n",
       "наибольшее число полных комплектов изделий — 30 (Z<sub>max</sub> = 30). Для этого материал (12 ед.) "
       "раскраивается так: способом 2 — 12 ед. (X<sub>2</sub> = 12); способы 1 и 3 не используются (X<sub>1</sub> "
       "= X<sub>3</sub> = 0). Изделий получается: 1-го вида — 60."},
      {"proportions that cannot be met", "cut\nmaterial 5\nproportions 1 1\npattern 2 0\npattern 3 1\n",
       "с пропорциями изделий 1 : 1 задача решения не имеет: никаким раскроем материала нельзя получить изделия в "
       "этой пропорции — система ограничений несовместна, допустимых решений нет."},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TMessageRecorder messages;
    TZLPCore_Interface data;
    TStatementError error;
    ASSERT_TRUE(ReadStatement(Parse(c.Statement), data, error));
    TZLPCore_SolutionResult report;
    const TTaskVerdict v = RunTask(TT_CUTTING, data, report);
    EXPECT_EQ(report.Lines.back(), std::string("<p><b>Ответ:</b> ") + c.Answer + "\r\n");
    if (v.Status == TTaskStatus::Infeasible) {
      EXPECT_FALSE(v.Objective.has_value());
      EXPECT_EQ(v.Message, "изделия нельзя получить в пропорции 1 : 1: система ограничений несовместна, допустимых "
                           "решений нет");
    }
  }
}

TEST(CuttingAnswer, ZeroFirstProportionIsExplainedOnce) {
  TZLPCore_Interface data;
  TStatementError error;
  ASSERT_TRUE(ReadStatement(Parse("cut\nmaterial 8\nproportions 0 0 1\npattern 1 1 2\npattern 0 0 3\n"), data, error));
  TZLPCore_SolutionResult report;
  RunTask(TT_CUTTING, data, report);
  const std::string text = report.GetText();
  const std::string sentence = "<p>Доли изделий 1 и 2 равны 0, поэтому комплекты считаются по изделию 3 — первому с "
                               "ненулевой долей; изделия с долей 0 в комплект не входят и получаться не должны.";
  ASSERT_NE(text.find(sentence), std::string::npos) << text;
  EXPECT_EQ(text.find(sentence), text.rfind(sentence));
  EXPECT_LT(text.find(sentence), text.find("Матмодель задачи")) << "the sentence stands before the model";

  // With a first proportion other than 0 the input step writes nothing.
  TZLPCore_Interface plain;
  ASSERT_TRUE(ReadStatement(Parse("cut\nmaterial 8\nproportions 1 0\npattern 1 1\npattern 1 0\n"), plain, error));
  TZLPCore_SolutionResult section;
  ASSERT_TRUE(CutInputUnit(plain, section, *FindStageInfo(SK_CUTINPUT), *FindTaskInfo(TT_CUTTING)));
  EXPECT_TRUE(section.Lines.empty());
}

} // namespace
