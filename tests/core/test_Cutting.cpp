// The cutting-stock statement turned into its linear program, the statements refused, and the
// answer a student reads.
#include "MessageRecorder.h"
#include "ZLPCore_Cutting.h"
#include "ZLPCore_TaskCatalog.h"
#include "ZLPCore_TaskRun.h"
#include "ZLPCore_TextFormat.h"
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

// The program built from a cutting-stock statement, in the text form of a linear program.
std::string ProgramOf(const TStatementGrid& statement) {
  TZLPCore_Interface data;
  TStatementError error;
  EXPECT_TRUE(ReadStatement(statement, data, error)) << error.Field << ": " << error.Message;
  EXPECT_TRUE(data.HasFlag(IF_ZLP));
  return StatementToText(StatementOfModel(data.ZLP));
}

TEST(CuttingProgram, IsTheMaterialRowAndOneProportionRowPerOtherProduct) {
  struct TCase {
    const char* Name;
    const char* Statement;
    const char* Program;
  };
  const TCase cases[] = {
      {"two products 1 : 2", "cut\nmaterial 10\nproportions 1 2\npattern 3 1\npattern 0 2\n",
       "max 3 0\nconst 0\n1 1 = 10\n-5 2 = 0\n"},
      {"one product", "cut\nmaterial 12\nproportions 2\npattern 3\npattern 5\n", "max 3/2 5/2\nconst 0\n1 1 = 12\n"},
      {"fewer patterns than products", "cut\nmaterial 6\nproportions 1 1 1\npattern 2 1 1\n",
       "max 2\nconst 0\n1 = 6\n-1 = 0\n-1 = 0\n"},
      {"fractional proportions", "cut\nmaterial 15/2\nproportions 1/2 0,75\npattern 1 2\npattern 3 0\n",
       "max 2 6\nconst 0\n1 1 = 15/2\n1/2 -9/2 = 0\n"},
      // The sets are counted by product 2; product 1 must not come out.
      {"zero first proportion", "cut\nmaterial 8\nproportions 0 1 2\npattern 1 1 2\npattern 0 2 3\n",
       "max 1 2\nconst 0\n1 1 = 8\n1 0 = 0\n0 -1 = 0\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ProgramOf(Parse(c.Statement)), c.Program);
  }
}

// Cells left empty when zeros are not shown are zeros.
TEST(CuttingProgram, EmptyCellsAreZeros) {
  TStatementGrid zeros = Parse("cut\nmaterial 9\nproportions 2 1 3\npattern 0 1 0\npattern 4 0 0\npattern 0 0 5\n");
  TStatementGrid empty = zeros;
  for (std::int32_t y = 1; y <= empty.Sy; ++y)
    for (std::int32_t x = 1; x <= empty.Sx; ++x)
      if (empty.Cell(x, y) == "0") empty.SetCell(x, y, "");
  EXPECT_NE(empty, zeros);
  EXPECT_EQ(ProgramOf(empty), ProgramOf(zeros));
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
      {"empty proportion", [](TStatementGrid& g) { g.SetCell(0, 2, ""); }, P::Cell, 0, 2, sEnterRational},
      {"proportion over zero", [](TStatementGrid& g) { g.SetCell(0, 1, "1/0"); }, P::Cell, 0, 1, sEnterRational},
      {"negative proportion", [](TStatementGrid& g) { g.SetCell(0, 2, "-1"); }, P::Cell, 0, 2,
       "Пропорция изделия не может быть отрицательной"},
      {"bad yield", [](TStatementGrid& g) { g.SetCell(2, 1, "x"); }, P::Cell, 2, 1, sEnterRational},
      {"negative yield", [](TStatementGrid& g) { g.SetCell(1, 2, "-2"); }, P::Cell, 1, 2,
       "Число изделий, которое даёт способ раскроя, не может быть отрицательным"},
      {"every proportion 0",
       [](TStatementGrid& g) {
         g.SetCell(0, 1, "0");
         g.SetCell(0, 2, "0");
       },
       P::Cell, 0, 1, sCutAllProportionsZero},
      {"256 patterns", [](TStatementGrid& g) { g.Resize(TT_CUTTING, 256, 2); }, P::Size, 256, 2, ""},
      {"coefficient beyond 32 bits",
       [](TStatementGrid& g) {
         g.SetCell(0, 1, "1/2147483647");
         g.SetCell(1, 1, "2147483647");
       },
       P::Whole, 0, 0, ""},
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

TEST(CuttingProgram, FieldMessagesNameTheFieldInLowerCase) {
  EXPECT_EQ(EnterFieldMessage(sCutMaterialLabel), "Введите количество материала");
  EXPECT_EQ(EnterFieldMessage(sCutProductsLabel), "Введите количество изделий");
  EXPECT_EQ(EnterFieldMessage(sCutPatternsLabel), "Введите кол-во способов раскроя");
}

// The last paragraph of the final report, and the sentence on the reference product.
TEST(CuttingAnswer, SaysTheSetsAndTheMaterialPerPatternInWords) {
  struct TCase {
    const char* Name;
    const char* Statement;
    const char* Answer;
  };
  const TCase cases[] = {
      {"example", "cut\nmaterial 10\nproportions 1 2\npattern 3 1\npattern 0 2\n",
       "наибольшее число полных комплектов изделий — 60/7 (Z<sub>max</sub> = 60/7). Для этого материал (10 ед.) "
       "раскраивается так: способом 1 — 20/7 ед. (X<sub>1</sub> = 20/7), способом 2 — 50/7 ед. (X<sub>2</sub> = "
       "50/7). Изделий получается: 1-го вида — 60/7, 2-го вида — 120/7."},
      {"unused patterns", "cut\nmaterial 12\nproportions 2\npattern 3\npattern 5\npattern 4\n",
       "наибольшее число полных комплектов изделий — 30 (Z<sub>max</sub> = 30). Для этого материал (12 ед.) "
       "раскраивается так: способом 2 — 12 ед. (X<sub>2</sub> = 12); способы 1 и 3 не используются (X<sub>1</sub> "
       "= X<sub>3</sub> = 0). Изделий получается: 1-го вида — 60."},
      {"nothing to cut", "cut\nmaterial 0\nproportions 1 3\npattern 1 3\n",
       "наибольшее число полных комплектов изделий — 0 (Z<sub>max</sub> = 0). Ни один способ раскроя не "
       "используется (X<sub>1</sub> = 0). Изделий получается: 1-го вида — 0, 2-го вида — 0."},
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
  ASSERT_TRUE(CutInputUnit(plain, section, *FindStageInfo(SK_CUTINPUT)));
  EXPECT_TRUE(section.Lines.empty());
}

} // namespace
