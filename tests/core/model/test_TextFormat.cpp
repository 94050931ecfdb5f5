// The hand-written text form of every task type: what it accepts, how it names a fault, and that
// writing a statement and reading it back gives the same statement.
#include "TaskCatalog.h"
#include "TextFormat.h"
#include "ZLPCore_Main.h"

#include <gtest/gtest.h>

namespace {

TEST(TextFormat, ReadsDirectionObjectiveFreeTermAndRows) {
  TTextFormatError error;
  const auto s = ParseStatementText("# product mix\n\nMIN -4/3 +7   # objective\nconst 5\n"
                                    "1 2 <= 4\r\n0 1 = 3\n\t1 0 => 1/2 # a comment\n5 6 >= -1\n",
                                    error);
  ASSERT_TRUE(s.has_value()) << error.Line << " " << error.Message;
  EXPECT_FALSE(s->IsMax);
  EXPECT_EQ(s->TaskType, TT_LINEAR);
  ASSERT_EQ(s->Sx, 2);
  ASSERT_EQ(s->Sy, 4);
  EXPECT_EQ(s->Cell(0, 0), "5");
  EXPECT_EQ(s->Cell(1, 0), "-4/3");
  EXPECT_EQ(s->Cell(2, 0), "+7");
  EXPECT_EQ(s->Cell(0, 3), "1/2");
  EXPECT_EQ(s->Cell(2, 4), "6");
  EXPECT_EQ(s->Signs, (std::vector<std::uint8_t>{IS_BELOWOREQUAL, IS_EQUAL, IS_ABOVEOREQUAL, IS_ABOVEOREQUAL}));

  TZLPCore_Interface data;
  TStatementError readError;
  ASSERT_TRUE(ReadStatement(*s, data, readError));
  const TZLPCore_SubInterface_ZLP& zlp = data.ZLP;
  EXPECT_EQ(zlp.GetVarName(2), "X2");
  EXPECT_EQ(RatToStr(zlp.Objective.GetItem(1)), "-4/3");
  EXPECT_EQ(RatToStr(zlp.FreeTerm), "5");
}

struct TBadCase {
  const char* Name;
  const char* Text;
  int Line;
  const char* Field;
};

class TextFormatFaults : public ::testing::TestWithParam<TBadCase> {};

TEST_P(TextFormatFaults, NamesTheLineAndField) {
  const TBadCase& c = GetParam();
  TTextFormatError error;
  EXPECT_FALSE(ParseStatementText(c.Text, error).has_value());
  EXPECT_EQ(error.Line, c.Line);
  EXPECT_EQ(error.Field, c.Field);
  EXPECT_FALSE(error.Message.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextFormatFaults,
    ::testing::Values(
        TBadCase{"DecimalPoint", "max 1 2\n1 1..5 <= 3\n", 2, "коэффициент 2"},
        TBadCase{"DecimalComma", "max 1 2,5/3\n1 1 <= 3\n", 1, "коэффициент 2 целевой функции"},
        TBadCase{"BadRightSide", "max 1\n1 <= x\n", 2, "правая часть"},
        TBadCase{"MissingRelation", "max 1 2\n1 1 3\n", 2, "знак"},
        TBadCase{"TooFewCoefficients", "max 1 2\n1 <= 3\n", 2, "коэффициенты"},
        TBadCase{"TooManyCoefficients", "max 1 2\n1 2 3 <= 3\n", 2, "коэффициенты"},
        TBadCase{"TwoRightSides", "max 1\n1 <= 3 4\n", 2, "правая часть"},
        TBadCase{"NoDirection", "# only a comment\n3 2\n", 2, "направление"},
        TBadCase{"NoObjectiveCoefficients", "max\n", 1, "целевая функция"},
        TBadCase{"NumeralBeyond32Bits", "max 1\n2147483648 <= 1\n", 2, "коэффициент 1"},
        TBadCase{"ZeroDenominatorInRow", "max 1 2\n3/0 1 <= 3\n", 2, "коэффициент 1"},
        TBadCase{"ZeroDenominatorInRightSide", "max 1\n1 <= 4/0\n", 2, "правая часть"},
        TBadCase{"ZeroOverZeroFreeTerm", "max 1\nconst 0/0\n1 <= 3\n", 2, "свободный член"},
        TBadCase{"FreeTermAfterRows", "max 1\n1 <= 1\nconst 2\n", 3, "свободный член"},
        TBadCase{"EmptyFile", "", 0, ""}, TBadCase{"NoConstraints", "max 1 2\n", 0, ""},
        // Bytes that are not text: the line and the byte from the start of the file,
        // a byte order mark counted, line ends counted as the lines are.
        TBadCase{"ControlBytes", "max 1\x01\x02\n1 <= 1\n", 1, "байт 6"},
        TBadCase{"NotUtf8", "max 1\n\xcf\xf0 <= 1\n", 2, "байт 7"},
        TBadCase{"NotUtf8AfterMarkAndLoneCarriageReturns", "\xEF\xBB\xBFmax 1\r1 <= 1\r\xFF", 3, "байт 17"},
        TBadCase{"NotUtf8AfterCarriageReturnLineFeeds", "max 1\r\n1 <= 1\r\n\xD0", 3, "байт 16"},
        TBadCase{"IntAndDenMixed", "max 1 2\n1 1 <= 3\nint 1\nden 1 1\n", 4, "den"},
        TBadCase{"IntBeyondVariables", "max 1 2\n1 1 <= 3\nint 3\n", 3, "int"},
        TBadCase{"QuadRowsMissing", "max 1 2\n1 1 <= 3\nquad 1 0\n", 0, "quad"},
        TBadCase{"DenWithoutCoefficients", "max 1 2\n1 1 <= 3\ndenconst 1\n", 0, "знаменатель"},
        TBadCase{"AssignNotSquare", "assign min\n1 2 3\n4 5 6\n7 8\n", 4, "строка 3"},
        TBadCase{"AssignNegative", "assign max\n1 2 3\n4 -5 6\n7 8 9\n", 3, "столбец 2"},
        TBadCase{"AssignTooSmall", "assign min\n1 2\n3 4\n", 0, ""},
        TBadCase{"RegressOneObservation", "regress\n1 2\n", 0, ""},
        TBadCase{"RegressNotANumber", "regress\n1 2\n3 x\n", 3, "y"},
        TBadCase{"CutPatternShort", "cut\nmaterial 10\nproportions 1 2\npattern 3\n", 4, "способ раскроя"},
        TBadCase{"CutWithoutPattern", "cut\nmaterial 10\nproportions 1 2\n", 0, ""}),
    [](const ::testing::TestParamInfo<TBadCase>& info) { return info.param.Name; });

// Every form read into its layout and written back to the same statement.
TEST(TextFormat, EveryFormRoundTrips) {
  struct TForm {
    const char* Text;
    std::uint8_t Type;
    std::int32_t Sx, Sy;
    std::vector<std::pair<std::pair<int, int>, const char*>> Cells; // (x, y) -> text
  };
  const TForm forms[] = {
      {"max 1 2\n1 1 <= 3\nint 2\n", TT_INTEGER, 2, 1, {{{2, 0}, "2"}, {{0, 1}, "3"}}},
      {"min 1 2\nconst 5\n1 1 >= 1\nden 3 4\ndenconst 6\n",
       TT_FRACTIONAL,
       2,
       1,
       {{{0, -1}, "5"}, {{2, -1}, "2"}, {{0, 0}, "6"}, {{1, 0}, "3"}, {{0, 1}, "1"}}},
      {"max 1 1\n1 1 <= 2\nquad -1 1/2\nquad 0 -2\n", TT_QUADRATIC, 2, 1, {{{1, 0}, "1"}}},
      {"cut\nmaterial 10\nproportions 1 2\npattern 3 1\npattern 0 2\n",
       TT_CUTTING,
       2,
       2,
       {{{0, 1}, "1"}, {{0, 2}, "2"}, {{1, 1}, "3"}, {{1, 2}, "1"}, {{2, 2}, "2"}}},
      {"assign max\n1 2 3\n4 5 6\n7 8 9\n", TT_ASSIGNMENT, 3, 3, {{{1, 1}, "1"}, {{3, 2}, "6"}}},
      {"regress\n1 2.5\n-1e3 4\n", TT_REGRESSION, 2, 0, {{{0, 1}, "1"}, {{1, 1}, "2.5"}, {{0, 2}, "-1e3"}}},
  };
  for (const TForm& f : forms) {
    SCOPED_TRACE(f.Text);
    TTextFormatError error;
    const auto grid = ParseStatementText(f.Text, error);
    ASSERT_TRUE(grid) << error.Line << " " << error.Field << ": " << error.Message;
    EXPECT_EQ(grid->TaskType, f.Type);
    EXPECT_EQ(grid->Sx, f.Sx);
    EXPECT_EQ(grid->Sy, f.Sy);
    for (const auto& [at, text] : f.Cells) EXPECT_EQ(grid->Cell(at.first, at.second), text);
    const auto again = ParseStatementText(StatementToText(*grid), error);
    ASSERT_TRUE(again) << StatementToText(*grid);
    EXPECT_EQ(*again, *grid) << StatementToText(*grid);
  }
}

TEST(TextFormat, AcceptsByteOrderMarkAndCarriageReturns) {
  TTextFormatError error;
  const auto grid = ParseStatementText("\xEF\xBB\xBFmax 1 2\r1 1 <= 3\r", error);
  ASSERT_TRUE(grid) << error.Message;
  EXPECT_EQ(grid->Sy, 1);
  EXPECT_EQ(grid->Cell(0, 1), "3");
}

TEST(TextFormat, RefusesTextWithNulBytesNamingLineAndByte) {
  TTextFormatError error;
  EXPECT_FALSE(ParseStatementText(std::string("max 1\n1 <= 1\n\0\0", 15), error).has_value());
  EXPECT_EQ(error.Line, 3);
  EXPECT_EQ(error.Field, "байт 14");
  EXPECT_NE(error.Message.find("не является текстом в кодировке UTF-8 (значение байта 0x00)"), std::string::npos)
      << error.Message;
}

TEST(TextFormat, RefusesMoreThan255Variables) {
  std::string text = "max";
  for (int j = 0; j < 256; ++j) text += " 1";
  TTextFormatError error;
  EXPECT_FALSE(ParseStatementText(text + "\n", error).has_value());
  EXPECT_EQ(error.Line, 1);
}

} // namespace
