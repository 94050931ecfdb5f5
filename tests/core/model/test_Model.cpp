// The linear program model, reading it from input fields, deep copies and BuildSolution.
#include "MessageRecorder.h"
#include "ModelTestUtil.h"
#include "ZLPCore_Main.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kt::FakeForm;
using kt::R;

const char* const kEnterRational = "Введите рациональное число, например: 5, 1/2, -4/3...";

// ---------------------------------------------------------------- sizes, names and signs

TEST(ZLPModel, NewModel) {
  const TZLPCore_SubInterface_ZLP z;
  EXPECT_TRUE(z.IsMax);
  EXPECT_EQ(z.VarLetter, 'X');
  EXPECT_EQ(z.VarCount(), 0);
  EXPECT_EQ(z.ConstraintCount(), 0);
  EXPECT_TRUE(z.VarNames().empty());
}

TEST(ZLPModel, SetVarCountNamesNewVariablesAndKeepsCoefficients) {
  TZLPCore_SubInterface_ZLP z;
  z.SetConstraintCount(2);
  z.SetVarCount(3);
  EXPECT_EQ(z.VarNames(), (std::vector<std::string>{"X1", "X2", "X3"}));
  for (int j = 1; j <= 3; ++j) {
    z.Objective.SetItem(j, R(std::to_string(j)));
    for (int i = 1; i <= 2; ++i) z.Coeffs.SetItem(j, i, R(std::to_string(10 * j + i)));
  }
  z.SetVarCount(5);
  EXPECT_EQ(z.VarCount(), 5);
  EXPECT_EQ(z.VarNames(), (std::vector<std::string>{"X1", "X2", "X3", "X4", "X5"}));
  ASSERT_EQ(z.Objective.Count(), 5);
  EXPECT_EQ(z.Coeffs.Dim1(), 5);
  EXPECT_EQ(z.Coeffs.Dim2(), 2);
  EXPECT_RAT(z.Objective.GetItem(3), "3");
  EXPECT_RAT(z.Objective.GetItem(4), "0");
  EXPECT_RAT(z.Objective.GetItem(5), "0");
  EXPECT_RAT(z.Coeffs.GetItem(3, 2), "32");
  EXPECT_RAT(z.Coeffs.GetItem(1, 1), "11");
  EXPECT_RAT(z.Coeffs.GetItem(4, 1), "0");
  EXPECT_RAT(z.Coeffs.GetItem(5, 2), "0");
  z.SetVarCount(2);
  EXPECT_EQ(z.VarNames(), (std::vector<std::string>{"X1", "X2"}));
  EXPECT_EQ(z.Objective.Count(), 2);
  EXPECT_EQ(z.Coeffs.Dim1(), 2);
  EXPECT_RAT(z.Coeffs.GetItem(2, 2), "22");
  EXPECT_EQ(z.Coeffs.GetItem(3, 1).Den, 0);
  EXPECT_EQ(z.ConstraintCount(), 2);
}

TEST(ZLPModel, SetVarCountUsesVarLetterAndKeepsNamesWhenUnchanged) {
  TZLPCore_SubInterface_ZLP z;
  z.SetVarCount(2);
  z.SetVarName(1, "A");
  z.SetVarCount(2);
  EXPECT_EQ(z.GetVarName(1), "A");
  z.VarLetter = 'Y';
  z.SetVarCount(4);
  EXPECT_EQ(z.VarNames(), (std::vector<std::string>{"A", "X2", "Y3", "Y4"}));
  z.SetVarCount(-3);
  EXPECT_EQ(z.VarCount(), 0);
  EXPECT_TRUE(z.VarNames().empty());
  EXPECT_EQ(z.Objective.Count(), 0);
}

TEST(ZLPModel, SetConstraintCount) {
  TZLPCore_SubInterface_ZLP z;
  z.SetVarCount(2);
  z.SetConstraintCount(1);
  z.SetSign(1, IS_ABOVEOREQUAL);
  z.RHS.SetItem(1, R("7"));
  z.Coeffs.SetItem(2, 1, R("5"));
  z.SetConstraintCount(3);
  EXPECT_EQ(z.ConstraintCount(), 3);
  EXPECT_EQ(z.GetSign(1), IS_ABOVEOREQUAL);
  EXPECT_EQ(z.GetSign(2), IS_BELOWOREQUAL);
  EXPECT_EQ(z.GetSign(3), IS_BELOWOREQUAL);
  EXPECT_EQ(z.RHS.Count(), 3);
  EXPECT_RAT(z.RHS.GetItem(1), "7");
  EXPECT_RAT(z.RHS.GetItem(3), "0");
  EXPECT_EQ(z.Coeffs.Dim1(), 2);
  EXPECT_EQ(z.Coeffs.Dim2(), 3);
  EXPECT_RAT(z.Coeffs.GetItem(2, 1), "5");
  EXPECT_RAT(z.Coeffs.GetItem(2, 3), "0");
  z.SetConstraintCount(-1);
  EXPECT_EQ(z.ConstraintCount(), 0);
  EXPECT_EQ(z.RHS.Count(), 0);
  EXPECT_EQ(z.VarCount(), 2);
}

TEST(ZLPModel, AccessorsOutOfRange) {
  TZLPCore_SubInterface_ZLP z;
  z.SetVarCount(2);
  z.SetConstraintCount(2);
  z.SetSign(2, IS_EQUAL);
  z.SetSign(0, IS_EQUAL);
  z.SetSign(3, IS_EQUAL);
  EXPECT_EQ(z.GetSign(0), IS_BELOWOREQUAL);
  EXPECT_EQ(z.GetSign(3), IS_BELOWOREQUAL);
  EXPECT_EQ(z.GetSign(-1), IS_BELOWOREQUAL);
  EXPECT_EQ(z.GetSign(1), IS_BELOWOREQUAL);
  EXPECT_EQ(z.GetSign(2), IS_EQUAL);
  z.SetVarName(0, "bad");
  z.SetVarName(3, "bad");
  EXPECT_EQ(z.GetVarName(0), "");
  EXPECT_EQ(z.GetVarName(3), "");
  EXPECT_EQ(z.VarNames(), (std::vector<std::string>{"X1", "X2"}));
}

// ---------------------------------------------------------------- reading from fields

TEST(ZLPRead, ObjectiveAndConstraints) {
  TMessageRecorder rec;
  FakeForm form;
  TUICore_ZLPFunction f = form.Function(1, {"3", "-4/3", "+0"}, "-5");
  static_cast<kt::FakeLabel*>(f.Labels[2])->Value = "X12+";
  TUICore_EquationSystem s{form.Equation("<=", {"1", "2", "3"}, "4"), form.Equation("=>", {"-1", "0", "1/2"}, "6/4"),
                           form.Equation("=", {"0", "0", "1"}, "0"), form.Equation(">=", {"1", "1", "1"}, "-2")};
  TZLPCore_SubInterface_ZLP z;
  ASSERT_TRUE(z.ReadObjective(f));
  ASSERT_TRUE(z.ReadConstraints(s));
  EXPECT_TRUE(rec.Messages.empty());
  EXPECT_FALSE(z.IsMax);
  EXPECT_EQ(z.VarLetter, 'X');
  EXPECT_EQ(z.VarNames(), (std::vector<std::string>{"X1", "X2", "X12"}));
  EXPECT_RAT(z.FreeTerm, "-5");
  EXPECT_RAT(z.Objective.GetItem(1), "3");
  EXPECT_RAT(z.Objective.GetItem(2), "-4/3");
  EXPECT_RAT(z.Objective.GetItem(3), "0");
  ASSERT_EQ(z.ConstraintCount(), 4);
  EXPECT_EQ(z.GetSign(1), IS_BELOWOREQUAL);
  EXPECT_EQ(z.GetSign(2), IS_ABOVEOREQUAL);
  EXPECT_EQ(z.GetSign(3), IS_EQUAL);
  EXPECT_EQ(z.GetSign(4), IS_ABOVEOREQUAL);
  EXPECT_RAT(z.RHS.GetItem(2), "3/2");
  EXPECT_RAT(z.RHS.GetItem(4), "-2");
  EXPECT_EQ(z.Coeffs.Dim1(), 3);
  EXPECT_EQ(z.Coeffs.Dim2(), 4);
  EXPECT_RAT(z.Coeffs.GetItem(3, 1), "3");
  EXPECT_RAT(z.Coeffs.GetItem(1, 2), "-1");
  EXPECT_RAT(z.Coeffs.GetItem(3, 2), "1/2");
}

TEST(ZLPRead, DirectionItemZeroMaximisesAndLabelGivesLetter) {
  TMessageRecorder rec;
  FakeForm form;
  TUICore_ZLPFunction f = form.Function(0, {"1", "2"}, "0");
  static_cast<kt::FakeLabel*>(f.Labels[0])->Value = "Y1+";
  static_cast<kt::FakeLabel*>(f.Labels[1])->Value = "Y2+";
  TZLPCore_SubInterface_ZLP z;
  z.IsMax = false;
  ASSERT_TRUE(z.ReadObjective(f));
  EXPECT_TRUE(z.IsMax);
  EXPECT_EQ(z.VarLetter, 'Y');
  EXPECT_EQ(z.VarNames(), (std::vector<std::string>{"Y1", "Y2"}));
}

struct BadField {
  const char* name;
  const char* text;
  const char* problem; // what the message says is wrong, before "Введите рациональное число..."
};

class ZLPReadRefuses : public ::testing::TestWithParam<BadField> {};

TEST_P(ZLPReadRefuses, ObjectiveStopsAtFirstBadFieldWithFocus) {
  TMessageRecorder rec;
  FakeForm form;
  TZLPCore_SubInterface_ZLP z;
  {
    TUICore_ZLPFunction first = form.Function(0, {"7", "8", "9"}, "1");
    ASSERT_TRUE(z.ReadObjective(first));
  }
  TUICore_ZLPFunction f = form.Function(0, {"1", GetParam().text, "5"}, "2");
  EXPECT_FALSE(z.ReadObjective(f));
  auto* bad = static_cast<kt::FakeEdit*>(f.Coeffs[1]);
  EXPECT_EQ(bad->FocusCalls, 1);
  EXPECT_EQ(bad->SelectCalls, 1);
  for (TEditField* e : {f.Coeffs[0], f.Coeffs[2], f.FreeTerm}) EXPECT_EQ(static_cast<kt::FakeEdit*>(e)->FocusCalls, 0);
  ASSERT_EQ(rec.Messages.size(), 1U);
  EXPECT_EQ(rec.Messages[0].Caption, "Kelvano 1.0");
  EXPECT_EQ(rec.Messages[0].Text, std::string(GetParam().problem) + kEnterRational);
  EXPECT_EQ(rec.Messages[0].Icon, TMsgIcon::Warning);
  EXPECT_RAT(z.FreeTerm, "2");             // read before the coefficients
  EXPECT_RAT(z.Objective.GetItem(1), "1"); // before the bad field: new value
  EXPECT_RAT(z.Objective.GetItem(2), "8"); // the bad field: old value
  EXPECT_RAT(z.Objective.GetItem(3), "9"); // after it: old value
}

TEST_P(ZLPReadRefuses, ConstraintsStopAtFirstBadFieldWithFocus) {
  TMessageRecorder rec;
  FakeForm form;
  TZLPCore_SubInterface_ZLP z;
  TUICore_ZLPFunction f = form.Function(0, {"1", "1"}, "0");
  ASSERT_TRUE(z.ReadObjective(f));
  {
    TUICore_EquationSystem old{form.Equation("<=", {"10", "11"}, "12"), form.Equation("<=", {"20", "21"}, "22")};
    ASSERT_TRUE(z.ReadConstraints(old));
  }
  TUICore_EquationSystem s{form.Equation("=", {"1", "2"}, "3"), form.Equation(">=", {GetParam().text, "5"}, "6")};
  EXPECT_FALSE(z.ReadConstraints(s));
  auto* bad = static_cast<kt::FakeEdit*>(s[1].Coeffs[0]);
  EXPECT_EQ(bad->FocusCalls, 1);
  EXPECT_EQ(bad->SelectCalls, 1);
  ASSERT_EQ(rec.Messages.size(), 1U);
  EXPECT_EQ(rec.Messages[0].Text, std::string(GetParam().problem) + kEnterRational);
  EXPECT_EQ(z.GetSign(1), IS_EQUAL);
  EXPECT_EQ(z.GetSign(2), IS_ABOVEOREQUAL);
  EXPECT_RAT(z.Coeffs.GetItem(2, 1), "2");
  EXPECT_RAT(z.RHS.GetItem(2), "6"); // the right-hand side is read before the coefficients
  EXPECT_RAT(z.Coeffs.GetItem(1, 2), "20");
  EXPECT_RAT(z.Coeffs.GetItem(2, 2), "21");
}

TEST_P(ZLPReadRefuses, BadFreeTermAndRightHandSide) {
  TMessageRecorder rec;
  FakeForm form;
  TZLPCore_SubInterface_ZLP z;
  TUICore_ZLPFunction f = form.Function(0, {"1"}, GetParam().text);
  EXPECT_FALSE(z.ReadObjective(f));
  EXPECT_EQ(static_cast<kt::FakeEdit*>(f.FreeTerm)->FocusCalls, 1);
  f.FreeTerm = form.Edit("0");
  ASSERT_TRUE(z.ReadObjective(f));
  TUICore_EquationSystem s{form.Equation("<=", {"1"}, GetParam().text)};
  EXPECT_FALSE(z.ReadConstraints(s));
  EXPECT_EQ(static_cast<kt::FakeEdit*>(s[0].RHS)->FocusCalls, 1);
  EXPECT_EQ(static_cast<kt::FakeEdit*>(s[0].Coeffs[0])->FocusCalls, 0);
  EXPECT_EQ(rec.Messages.size(), 2U);
}

INSTANTIATE_TEST_SUITE_P(Texts, ZLPReadRefuses,
                         ::testing::Values(BadField{"Decimal", "1.5.2", "Неверная запись числа. "},
                                           BadField{"Comma", "2,5/3", "Неверная запись числа. "},
                                           BadField{"Empty", "", "Пустая клетка. "},
                                           BadField{"Blank", " 1", "Пробел внутри числа. "},
                                           BadField{"TooLarge", "2147483648",
                                                    "Число не помещается в 32-битную дробь: числитель и знаменатель "
                                                    "— от -2147483648 до 2147483647. "},
                                           BadField{"ZeroDenominator", "3/00", "Знаменатель равен нулю. "},
                                           BadField{"Word", "abc", "Недопустимый символ «a». "},
                                           BadField{"Letter", "1/х", "Недопустимый символ «х». "}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ZLPRead, MissingFieldsFailWithoutMessage) {
  TMessageRecorder rec;
  FakeForm form;
  TZLPCore_SubInterface_ZLP z;
  TUICore_ZLPFunction f = form.Function(0, {"1", "2"}, "0");
  f.FreeTerm = nullptr;
  EXPECT_FALSE(z.ReadObjective(f));
  f = form.Function(0, {"1", "2"}, "0");
  f.Direction = nullptr;
  EXPECT_FALSE(z.ReadObjective(f));
  f = form.Function(0, {"1", "2"}, "0");
  f.Labels[1] = nullptr;
  EXPECT_FALSE(z.ReadObjective(f));
  f = form.Function(0, {"1", "2"}, "0");
  f.Coeffs[0] = nullptr;
  EXPECT_FALSE(z.ReadObjective(f));
  f = form.Function(0, {"1", "2"}, "0");
  f.Labels.pop_back(); // fewer labels than boxes
  EXPECT_FALSE(z.ReadObjective(f));
  f = form.Function(0, {"1", "2"}, "0");
  ASSERT_TRUE(z.ReadObjective(f));
  TUICore_EquationSystem s{form.Equation("<=", {"1", "2"}, "3")};
  s[0].Sign = nullptr;
  EXPECT_FALSE(z.ReadConstraints(s));
  s = {form.Equation("<=", {"1", "2"}, "3")};
  s[0].RHS = nullptr;
  EXPECT_FALSE(z.ReadConstraints(s));
  s = {form.Equation("<=", {"1"}, "3")}; // one box for two variables
  EXPECT_FALSE(z.ReadConstraints(s));
  s = {form.Equation("<=", {"1", "2"}, "3")};
  s[0].Coeffs[1] = nullptr;
  EXPECT_FALSE(z.ReadConstraints(s));
  EXPECT_TRUE(rec.Messages.empty());
}

TEST(ZLPRead, Denominator) {
  TMessageRecorder rec;
  FakeForm form;
  TUICore_ZLPFunction f = form.Function(0, {"1", "1"}, "0");
  f.DenCoeffs = {form.Edit("2"), form.Edit("-1/3")};
  f.DenLabels = {form.Label("X1+"), form.Label("X2+")};
  f.DenFreeTerm = form.Edit("4");
  TZLPCore_SubInterface_Denominator d;
  ASSERT_TRUE(d.ReadDenominator(f));
  ASSERT_EQ(d.Coeffs.Count(), 2);
  EXPECT_RAT(d.Coeffs.GetItem(1), "2");
  EXPECT_RAT(d.Coeffs.GetItem(2), "-1/3");
  EXPECT_RAT(d.FreeTerm, "4");
  static_cast<kt::FakeEdit*>(f.DenCoeffs[1])->Value = "1/";
  EXPECT_FALSE(d.ReadDenominator(f));
  EXPECT_EQ(static_cast<kt::FakeEdit*>(f.DenCoeffs[1])->FocusCalls, 1);
  EXPECT_EQ(rec.Messages.size(), 1U);
  f.DenFreeTerm = nullptr;
  EXPECT_FALSE(d.ReadDenominator(f));
  f.DenFreeTerm = form.Edit("1");
  f.DenCoeffs[0] = nullptr;
  EXPECT_FALSE(d.ReadDenominator(f));
  EXPECT_EQ(rec.Messages.size(), 1U);
}

// ---------------------------------------------------------------- deep copies

TEST(ZLPAssign, ModelIsDeepAndNormalisesFreeTerm) {
  TZLPCore_SubInterface_ZLP src = kt::MakeModel(false, {"1", "2"}, "0", {{{"1", "1"}, IS_ABOVEOREQUAL, "4"}});
  src.FreeTerm = TRational{4, 2};
  src.VarLetter = 'Q';
  src.SetVarName(2, "Q2");
  TZLPCore_SubInterface_ZLP dst = kt::MakeModel(true, {"9"}, "9", {{{"9"}, IS_EQUAL, "9"}, {{"9"}, IS_EQUAL, "9"}});
  dst.Assign(src);
  EXPECT_FALSE(dst.IsMax);
  EXPECT_EQ(dst.VarLetter, 'Q');
  EXPECT_EQ(dst.VarCount(), 2);
  EXPECT_EQ(dst.ConstraintCount(), 1);
  EXPECT_EQ(dst.VarNames(), (std::vector<std::string>{"X1", "Q2"}));
  EXPECT_EQ(dst.GetSign(1), IS_ABOVEOREQUAL);
  EXPECT_NUMDEN(dst.FreeTerm, 2, 1);
  EXPECT_RAT(dst.Objective.GetItem(2), "2");
  EXPECT_RAT(dst.RHS.GetItem(1), "4");
  src.Objective.SetItem(2, R("100"));
  src.Coeffs.SetItem(1, 1, R("100"));
  src.RHS.SetItem(1, R("100"));
  src.SetSign(1, IS_EQUAL);
  src.SetVarName(1, "Z");
  EXPECT_RAT(dst.Objective.GetItem(2), "2");
  EXPECT_RAT(dst.Coeffs.GetItem(1, 1), "1");
  EXPECT_RAT(dst.RHS.GetItem(1), "4");
  EXPECT_EQ(dst.GetSign(1), IS_ABOVEOREQUAL);
  EXPECT_EQ(dst.GetVarName(1), "X1");
}

TEST(ZLPAssign, DenominatorCopiesFreeTermUnchanged) {
  TZLPCore_SubInterface_Denominator src;
  src.Coeffs.SetCount(1);
  src.Coeffs.SetItem(1, R("3"));
  src.FreeTerm = TRational{4, 2};
  TZLPCore_SubInterface_Denominator dst;
  dst.Assign(src);
  EXPECT_NUMDEN(dst.FreeTerm, 4, 2);
  src.Coeffs.SetItem(1, R("5"));
  EXPECT_RAT(dst.Coeffs.GetItem(1), "3");
}

TEST(ZLPAssign, ContainerIsDeepTableIncluded) {
  TZLPCore_Interface src;
  src.SetFlag(IF_ZLP | IF_TABLE);
  src.ZLP = kt::MakeModel(true, {"3", "2"}, "0", {{{"1", "1"}, IS_BELOWOREQUAL, "4"}});
  src.Denominator.FreeTerm = R("1");
  src.IntegerVars = {"X1"};
  src.SolutionLines = {"X<sub>1</sub> = 4"};
  src.QuadMatrix.Resize(2, 2);
  src.QuadMatrix.SetItem(1, 2, R("1/2"));
  src.Table = kt::MakeTable({"X1", "X2", "X3"}, {"X3"}, {{"4", "1", "1", "1"}}, {"0", "-3", "-2", "0"});
  src.Table.State = SS_PIVOT;
  TZLPCore_Interface dst;
  dst.Assign(src);
  EXPECT_EQ(dst.Flags, IF_ZLP | IF_TABLE);
  EXPECT_EQ(dst.IntegerVars, std::vector<std::string>{"X1"});
  EXPECT_EQ(dst.SolutionLines, std::vector<std::string>{"X<sub>1</sub> = 4"});
  EXPECT_RAT(dst.QuadMatrix.GetItem(1, 2), "1/2");
  EXPECT_EQ(dst.ZLP.VarCount(), 2);
  EXPECT_RAT(dst.Denominator.FreeTerm, "1");
  EXPECT_EQ(dst.Table.State, SS_PIVOT);
  // Later work in the source step leaves the copy alone.
  src.Table.Pivot(1, 1);
  src.QuadMatrix.SetItem(1, 2, R("9"));
  src.ZLP.Objective.SetItem(1, R("9"));
  src.IntegerVars.push_back("X2");
  src.SolutionLines.clear();
  src.ClearFlag(IF_TABLE);
  kt::ExpectRow(dst.Table, 0, {"0", "-3", "-2", "0"});
  kt::ExpectRow(dst.Table, 1, {"4", "1", "1", "1"});
  EXPECT_EQ(dst.Table.GetRowName(1), "X3");
  EXPECT_RAT(dst.QuadMatrix.GetItem(1, 2), "1/2");
  EXPECT_RAT(dst.ZLP.Objective.GetItem(1), "3");
  EXPECT_EQ(dst.IntegerVars.size(), 1U);
  EXPECT_EQ(dst.SolutionLines.size(), 1U);
  EXPECT_TRUE(dst.HasFlag(IF_TABLE));
}

TEST(ZLPContainer, Flags) {
  TZLPCore_Interface c;
  EXPECT_EQ(c.Flags, 0);
  c.SetFlag(IF_ZLP);
  c.SetFlag(IF_TABLE | IF_SOLUTION);
  EXPECT_EQ(c.Flags, 1 | 16 | 32);
  EXPECT_TRUE(c.HasFlag(IF_TABLE | IF_ZLP));
  EXPECT_FALSE(c.HasFlag(IF_TABLE | IF_DENOMINATOR));
  c.ClearFlag(IF_TABLE);
  EXPECT_EQ(c.Flags, 1 | 32);
  c.ClearFlag(IF_QUADRATIC);
  EXPECT_EQ(c.Flags, 1 | 32);
  EXPECT_EQ(IF_ZLP, 1);
  EXPECT_EQ(IF_DENOMINATOR, 2);
  EXPECT_EQ(IF_INTEGERVARS, 4);
  EXPECT_EQ(IF_QUADRATIC, 8);
  EXPECT_EQ(IF_TABLE, 16);
  EXPECT_EQ(IF_SOLUTION, 32);
}

// ---------------------------------------------------------------- BuildSolution

TZLPCore_Interface OptimalContainer() {
  TZLPCore_Interface c;
  c.Table = kt::MakeTable({"X1", "X2", "X3", "X4"}, {"X1", "X4"},
                          {{"4", "1", "1", "1", "0"}, {"5/3", "0", "2", "-1", "1"}}, {"12", "0", "1", "3", "0"});
  c.Table.State = SS_OPTIMAL;
  c.SetFlag(IF_TABLE);
  return c;
}

TEST(ZLPBuildSolution, OptimalTableListsBasicVariables) {
  TZLPCore_Interface c = OptimalContainer();
  c.SolutionLines = {"old"};
  c.BuildSolution();
  EXPECT_TRUE(c.HasFlag(IF_SOLUTION));
  EXPECT_EQ(c.SolutionLines, (std::vector<std::string>{"X<sub>1</sub> = 4", "X<sub>4</sub> = 5/3"}));
}

TEST(ZLPBuildSolution, WithoutTableClearsEverything) {
  TZLPCore_Interface c = OptimalContainer();
  c.ClearFlag(IF_TABLE);
  c.SetFlag(IF_SOLUTION);
  c.SolutionLines = {"old"};
  c.BuildSolution();
  EXPECT_FALSE(c.HasFlag(IF_SOLUTION));
  EXPECT_TRUE(c.SolutionLines.empty());
}

TEST(ZLPBuildSolution, TableNotOptimalChangesNothing) {
  for (TSimplexState s : {SS_NOSOLUTION, SS_MANYSOLUTIONS, SS_PIVOT, SS_NEGATIVEB, SS_GOMORYCUT}) {
    SCOPED_TRACE(static_cast<int>(s));
    TZLPCore_Interface c = OptimalContainer();
    c.Table.State = s;
    c.SolutionLines = {"old"};
    c.BuildSolution();
    EXPECT_FALSE(c.HasFlag(IF_SOLUTION));
    EXPECT_EQ(c.SolutionLines, std::vector<std::string>{"old"});
    c.SetFlag(IF_SOLUTION);
    c.BuildSolution();
    EXPECT_TRUE(c.HasFlag(IF_SOLUTION));
  }
}

} // namespace
