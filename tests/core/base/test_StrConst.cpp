// Relation texts, subscripts, linear forms, colours, the input message and what the constant texts are for.
#include "MessageRecorder.h"
#include "ModelTestUtil.h"
#include "Pages.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"
#include "untStrConst.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using kt::R;

// ---------------------------------------------------------------- relation texts

struct SignCase {
  std::uint8_t sign;
  const char* text;
  const char* html;
};

class SignTextTest : public ::testing::TestWithParam<SignCase> {};

TEST_P(SignTextTest, TextAndHtml) {
  const SignCase& c = GetParam();
  EXPECT_EQ(SignToText(c.sign), c.text);
  EXPECT_EQ(SignToHtml(c.sign), c.html);
}

INSTANTIATE_TEST_SUITE_P(Signs, SignTextTest,
                         ::testing::Values(SignCase{0, "<=", "&#8804;"}, SignCase{1, "<", "&lt;"},
                                           SignCase{2, "=", "="}, SignCase{3, ">", "&gt;"},
                                           SignCase{4, ">=", "&#8805;"}, SignCase{5, "", ""}, SignCase{127, "", ""},
                                           SignCase{128, "<=", "&#8804;"}, SignCase{130, "=", "="},
                                           SignCase{132, ">=", "&#8805;"}, SignCase{133, "", ""},
                                           SignCase{255, "", ""}),
                         [](const auto& info) { return "Sign" + std::to_string(info.param.sign); });

TEST(SignFromText, ExactComparisons) {
  EXPECT_EQ(SignFromText("<="), IS_BELOWOREQUAL);
  EXPECT_EQ(SignFromText("<"), IS_BELOW);
  EXPECT_EQ(SignFromText("="), IS_EQUAL);
  EXPECT_EQ(SignFromText(">"), IS_ABOVE);
  EXPECT_EQ(SignFromText(">="), IS_ABOVEOREQUAL);
  EXPECT_EQ(SignFromText("=>"), IS_ABOVEOREQUAL);
  EXPECT_EQ(SignFromText("=<"), IS_BELOWOREQUAL);
  EXPECT_EQ(SignFromText(""), IS_BELOWOREQUAL);
  EXPECT_EQ(SignFromText(" >="), IS_BELOWOREQUAL);
  EXPECT_EQ(SignFromText(">= "), IS_BELOWOREQUAL);
  EXPECT_EQ(SignFromText("=="), IS_BELOWOREQUAL);
  EXPECT_EQ(SignFromText("≥"), IS_BELOWOREQUAL);
}

// ---------------------------------------------------------------- IndexToSub

TEST(IndexToSub, NamesTheProgramProduces) {
  EXPECT_EQ(IndexToSub(""), "");
  EXPECT_EQ(IndexToSub("X1"), "X<sub>1</sub>");
  EXPECT_EQ(IndexToSub("Y12"), "Y<sub>12</sub>");
  EXPECT_EQ(IndexToSub("X10"), "X<sub>10</sub>");
  EXPECT_EQ(IndexToSub("X1X2"), "X<sub>1</sub>X<sub>2</sub>");
  EXPECT_EQ(IndexToSub("XY1"), "XY<sub>1</sub>");
  EXPECT_EQ(IndexToSub("Z"), "Z");
  EXPECT_EQ(IndexToSub("AB"), "A<sub>B</sub>");
  EXPECT_EQ(IndexToSub("ABC"), "A<sub>BC</sub>");
}

// ---------------------------------------------------------------- FormatLinearForm

struct FormCase {
  const char* name;
  std::vector<std::string> c;
  std::string c0;
  const char* want;
};

class FormatLinearFormTest : public ::testing::TestWithParam<FormCase> {};

TEST_P(FormatLinearFormTest, Text) {
  const FormCase& p = GetParam();
  TVector c;
  c.SetCount(static_cast<std::int32_t>(p.c.size()));
  std::vector<std::string> names;
  for (std::size_t j = 0; j < p.c.size(); ++j) {
    c.SetItem(static_cast<std::int32_t>(j + 1), R(p.c[j]));
    names.push_back("X" + std::to_string(j + 1));
  }
  EXPECT_EQ(FormatLinearForm(c, names, R(p.c0)), p.want);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FormatLinearFormTest,
    ::testing::Values(
        FormCase{"ThreeTerms", {"3", "-2", "1"}, "-5", "3X<sub>1</sub> - 2X<sub>2</sub> + X<sub>3</sub> - 5"},
        FormCase{"LeadingMinusOne", {"0", "-1"}, "0", "- X<sub>2</sub>"},
        FormCase{"AllZero", {"0", "0"}, "0", "0"},
        FormCase{"Ones", {"1", "1"}, "0", "X<sub>1</sub> + X<sub>2</sub>"},
        FormCase{"NegativeFraction", {"-1/2"}, "3", "- 1/2X<sub>1</sub> + 3"},
        FormCase{"FractionsAndFreeTerm", {"2/3", "0", "-4/3"}, "1/2", "2/3X<sub>1</sub> - 4/3X<sub>3</sub> + 1/2"},
        FormCase{"MinusOneThenOne", {"-1", "1"}, "0", "- X<sub>1</sub> + X<sub>2</sub>"},
        FormCase{"LeadingPlainCoefficient", {"5"}, "0", "5X<sub>1</sub>"}, FormCase{"OnlyFreeTerm", {}, "5", "5"},
        FormCase{"OnlyNegativeFreeTerm", {"0"}, "-5", "- 5"}, FormCase{"OnlyFractionFreeTerm", {}, "-7/2", "- 7/2"},
        FormCase{"Empty", {}, "0", "0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatLinearForm, UsesTheNamesGiven) {
  TVector c;
  c.SetCount(2);
  c.SetItem(1, R("2"));
  c.SetItem(2, R("-1"));
  EXPECT_EQ(FormatLinearForm(c, {"Y1", "Y12"}, R("0")), "2Y<sub>1</sub> - Y<sub>12</sub>");
}

// ---------------------------------------------------------------- ColorToHex

TEST(ColorToHex, RedGreenBlueUpperCase) {
  EXPECT_EQ(ColorToHex(0xFF0000), "FF0000");
  EXPECT_EQ(ColorToHex(0x00FF00), "00FF00");
  EXPECT_EQ(ColorToHex(0x0000FF), "0000FF");
  EXPECT_EQ(ColorToHex(0x0A0B0C), "0A0B0C");
  EXPECT_EQ(ColorToHex(0xABCDEF), "ABCDEF");
  EXPECT_EQ(ColorToHex(0), "000000");
}

TEST(OpenDocument, EmptyTargetDoesNothing) { EXPECT_EQ(OpenDocument(""), 0); }

// ---------------------------------------------------------------- messages

TEST(ShowInputError, FocusesSelectsAndWarns) {
  TMessageRecorder rec;
  kt::FakeEdit edit("1.5");
  EXPECT_FALSE(ShowInputError(&edit));
  EXPECT_EQ(edit.FocusCalls, 1);
  EXPECT_EQ(edit.SelectCalls, 1);
  ASSERT_EQ(rec.Messages.size(), 1U);
  EXPECT_EQ(rec.Messages[0].Caption, "Kelvano 1.0");
  EXPECT_EQ(rec.Messages[0].Text, "Введите рациональное число, например: 5, 1/2, -4/3...");
  EXPECT_EQ(rec.Messages[0].Icon, TMsgIcon::Warning);
}

TEST(ShowInputError, NoSelectionWhenFocusFails) {
  TMessageRecorder rec;
  kt::FakeEdit edit("x", false);
  EXPECT_FALSE(ShowInputError(&edit));
  EXPECT_EQ(edit.FocusCalls, 1);
  EXPECT_EQ(edit.SelectCalls, 0);
  EXPECT_EQ(rec.Messages.size(), 1U);
}

TEST(ShowInputError, WithoutFieldStillWarns) {
  TMessageRecorder rec;
  EXPECT_FALSE(ShowInputError(nullptr));
  ASSERT_EQ(rec.Messages.size(), 1U);
  EXPECT_EQ(rec.Messages[0].Caption, "Kelvano 1.0");
}

TEST(ReportMissingField, Warns) {
  TMessageRecorder rec;
  ReportMissingField();
  ASSERT_EQ(rec.Messages.size(), 1U);
  EXPECT_EQ(rec.Messages[0].Caption, "Kelvano 1.0");
  EXPECT_EQ(rec.Messages[0].Text,
            "Необходимое на этом шаге поле интерфейса не было подготовлено, перераспределите шаги в задаче");
  EXPECT_EQ(rec.Messages[0].Icon, TMsgIcon::Warning);
}

// ---------------------------------------------------------------- constant texts

// The pieces of the input step's description join into one Russian sentence, spaces and case endings
// included.
TEST(ConstantText, PiecesReadAsTheInputSentence) {
  EXPECT_EQ(InputDescription(true, 3, 2), "Задача на максимизацию модели с 3 переменными и 2 ограничениями.");
  EXPECT_EQ(InputDescription(false, 1, 25), "Задача на минимизацию модели с 1 переменной и 25 ограничениями.");
  EXPECT_EQ(InputDescription(true, 21, 11), "Задача на максимизацию модели с 21 переменной и 11 ограничениями.");
  EXPECT_EQ(InputDescription(true, 111, 1), "Задача на максимизацию модели с 111 переменными и 1 ограничением.");
}

// Every text a report shows (the arrows "→ Max" and "→ Min" are labels of the input step only) is written on windows-1251 pages and read by the message
// seam: each character is one the page's code page has (none turns into a character reference); the
// head carries the two places the page writer fills in and names the page's code page.
TEST(ConstantText, EveryTextIsWrittenAsItselfOnAPage) {
  const char* const texts[] = {sAppTitle, sEnterRational, sNotCanonical, sNoTaskToConvert, sNoSuchTask,
                               sFieldNotPrepared, sVarAddress, sBadDenominator, sFinish, sNext, sWizardTitle,
                               sAbortWizard, sSolution, sHelp, sMethod, sNone, sLoadFromBase,
                               sMaximization, sMinimization, sTaskFor, sModelIntro, sModelIntro2, sModelWith,
                               sSubstitution, sBackSubstitution, sError, sHtmlHead,
                               sHtmlFooter};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    const std::string page = Utf8ToCp1251(text);
    EXPECT_EQ(page.find("&#"), std::string::npos);
    EXPECT_FALSE(page.empty());
  }
  const std::string head = sHtmlHead;
  EXPECT_NE(head.find("<title><!--%TITLE%--></title>"), std::string::npos);
  EXPECT_NE(head.find("<!--%GENERATOR%-->"), std::string::npos);
  EXPECT_NE(head.find("charset=windows-1251"), std::string::npos);
}

TEST(ConstantText, FooterHasRuleEmptyLineNoticeAndContact) {
  const std::string f = sHtmlFooter;
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t at; (at = f.find("\r\n", from)) != std::string::npos; from = at + 2)
    lines.push_back(f.substr(from, at - from));
  lines.push_back(f.substr(from));
  ASSERT_EQ(lines.size(), 4U) << f;
  EXPECT_EQ(lines[0], "<HR SIZE=\"1\"></HR>");
  EXPECT_EQ(lines[1], "");
  EXPECT_GE(lines[2].size(), 4U);
  EXPECT_EQ(lines[2].substr(lines[2].size() - 4), "<br>");
  EXPECT_NE(lines[3].find("mailto:"), std::string::npos);
  EXPECT_EQ(f.find('\n', 0), f.find("\r\n") + 1);
}

} // namespace
