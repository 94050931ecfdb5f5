// The hand-written text form of a linear program: what it accepts and how it names a fault.
#include "ZLPCore_TextFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(TextFormat, ReadsDirectionObjectiveFreeTermAndRows) {
  TTextFormatError error;
  const auto s = ParseLinearProgramText("# product mix\n\nMIN -4/3 +7   # objective\nconst 5\n"
                                        "1 2 <= 4\r\n0 1 = 3\n\t1 0 => 1/2 # a comment\n5 6 >= -1\n",
                                        error);
  ASSERT_TRUE(s.has_value()) << error.Line << " " << error.Message;
  EXPECT_FALSE(s->IsMax);
  ASSERT_EQ(s->VarCount, 2);
  ASSERT_EQ(s->ConstraintCount, 4);
  EXPECT_EQ(s->Cell(0, 0), "5");
  EXPECT_EQ(s->Cell(1, 0), "-4/3");
  EXPECT_EQ(s->Cell(2, 0), "+7");
  EXPECT_EQ(s->Cell(0, 3), "1/2");
  EXPECT_EQ(s->Cell(2, 4), "6");
  EXPECT_EQ(s->Signs, (std::vector<std::uint8_t>{IS_BELOWOREQUAL, IS_EQUAL, IS_ABOVEOREQUAL, IS_ABOVEOREQUAL}));

  TZLPCore_SubInterface_ZLP zlp;
  ASSERT_TRUE(ReadLinearStatement(*s, zlp));
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
  EXPECT_FALSE(ParseLinearProgramText(c.Text, error).has_value());
  EXPECT_EQ(error.Line, c.Line);
  EXPECT_EQ(error.Field, c.Field);
  EXPECT_FALSE(error.Message.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextFormatFaults,
    ::testing::Values(TBadCase{"DecimalPoint", "max 1 2\n1 1..5 <= 3\n", 2, "коэффициент 2"},
                      TBadCase{"DecimalComma", "max 1 2,5/3\n1 1 <= 3\n", 1, "коэффициент 2 целевой функции"},
                      TBadCase{"BadRightSide", "max 1\n1 <= x\n", 2, "правая часть"},
                      TBadCase{"MissingRelation", "max 1 2\n1 1 3\n", 2, "знак"},
                      TBadCase{"TooFewCoefficients", "max 1 2\n1 <= 3\n", 2, "коэффициенты"},
                      TBadCase{"TooManyCoefficients", "max 1 2\n1 2 3 <= 3\n", 2, "коэффициенты"},
                      TBadCase{"TwoRightSides", "max 1\n1 <= 3 4\n", 2, "правая часть"},
                      TBadCase{"NoDirection", "# only a comment\n3 2\n", 2, "направление"},
                      TBadCase{"NoObjectiveCoefficients", "max\n", 1, "целевая функция"},
                      TBadCase{"NumeralBeyond32Bits", "max 1\n2147483648 <= 1\n", 2, "коэффициент 1"},
                      TBadCase{"FreeTermAfterRows", "max 1\n1 <= 1\nconst 2\n", 3, "свободный член"},
                      TBadCase{"EmptyFile", "", 0, ""}, TBadCase{"NoConstraints", "max 1 2\n", 0, ""},
                      TBadCase{"ControlBytes", "max 1\x01\x02\n1 <= 1\n", 0, ""},
                      TBadCase{"NotUtf8", "max 1\n\xcf\xf0 <= 1\n", 0, ""}),
    [](const ::testing::TestParamInfo<TBadCase>& info) { return info.param.Name; });

TEST(TextFormat, RefusesTextWithNulBytes) {
  TTextFormatError error;
  EXPECT_FALSE(ParseLinearProgramText(std::string("max 1\n1 <= 1\n\0\0", 15), error).has_value());
  EXPECT_EQ(error.Line, 0);
  EXPECT_NE(error.Message.find("не является текстом"), std::string::npos);
}

TEST(TextFormat, RefusesMoreThan255Variables) {
  std::string text = "max";
  for (int j = 0; j < 256; ++j) text += " 1";
  TTextFormatError error;
  EXPECT_FALSE(ParseLinearProgramText(text + "\n", error).has_value());
  EXPECT_EQ(error.Line, 1);
}

} // namespace
