// Page sections of the linear programming steps and the whole linear task run without windows.
#include "ZLPCore_Pages.h"

#include "SimplexMethod.h"
#include "ZLPCore_StageTasks.h"
#include "untStrConst.h"

#include <algorithm>
#include <cmath>
#include <memory>

std::string UsualPageStyle(const TPageColors& colors) {
  return "BODY { color: #" + ColorToHex(colors.ButtonText) + ";background-color:#" + ColorToHex(colors.ButtonFace) +
         ";} PRE {color:#" + ColorToHex(colors.WindowText) + ";background-color:#" + ColorToHex(colors.Window) + ";}";
}

std::string ResultPageStyle(const TPageColors& colors) {
  return "TD.clsSimCell {background:#" + ColorToHex(colors.Window) + ";} " + UsualPageStyle(colors);
}

namespace {

std::uint32_t Channel(std::uint32_t rgb, int shift) { return (rgb >> shift) & 0xFFu; }

std::uint32_t ClampRound(double v) {
  const double r = std::nearbyint(v); // the default rounding mode rounds halves to even
  return static_cast<std::uint32_t>(std::clamp(r, 0.0, 255.0));
}

} // namespace

std::uint32_t ShadeColor(std::uint32_t rgb, int percent) {
  std::uint32_t out = 0;
  for (int shift : {16, 8, 0}) {
    double c = Channel(rgb, shift);
    if (c == 0 && percent > 0) c = 4;
    out |= ClampRound(c + c * percent / 100.0) << shift;
  }
  return out;
}

std::uint32_t GradientLineColor(std::uint32_t c1, std::uint32_t c2, int lineCount, int k) {
  if (lineCount <= 0) return c1;
  std::uint32_t out = 0;
  for (int shift : {16, 8, 0}) {
    const double from = Channel(c1, shift);
    const double step = (static_cast<double>(Channel(c2, shift)) - from) / lineCount;
    out |= ClampRound(from + step * k) << shift;
  }
  return out;
}

std::string InputDescription(bool isMax, int varCount, int constraintCount) {
  return std::string(sTaskFor) + (isMax ? sMaximization : sMinimization) + sModelWith + std::to_string(varCount) +
         sVariablesAnd + std::to_string(constraintCount) + sConstraintsDot;
}

void WriteInputSection(const TZLPCore_SubInterface_ZLP& zlp, const std::string& caption,
                       TZLPCore_SolutionResult& report) {
  report.Clear();
  report.AddHeading(caption);
  report.AddParagraph(sModelIntro);
  report.AddLine("<pre>");
  report.AddModel(&zlp);
  report.AddLine("</pre>");
}

bool WriteModelPage(const TZLPCore_Interface& data, const std::string& caption, const std::string& hint,
                    TZLPCore_SolutionResult& report) {
  report.AddHeading(caption);
  if (!data.HasFlag(IF_ZLP)) {
    ReportMissingField();
    report.AddParagraph(sNoTaskToConvert);
    return false;
  }
  report.AddHeading(hint);
  report.AddLine("<pre>");
  report.AddModel(&data.ZLP);
  report.AddLine("</pre>");
  return true;
}

bool WriteCanonicalPage(TZLPCore_Interface& data, const std::string& caption, TZLPCore_SolutionResult& report) {
  report.AddHeading(caption);
  if (!data.HasFlag(IF_ZLP)) {
    ReportMissingField();
    report.AddParagraph(sNoTaskToConvert);
    return false;
  }
  data.ZLP.ToCanonical(report);
  return true;
}

// ---- the statement as edit box texts ----

void TLinearStatementText::Resize(std::int32_t n, std::int32_t m) {
  VarCount = std::max(n, 0);
  ConstraintCount = std::max(m, 0);
  Cells.assign(static_cast<std::size_t>(VarCount + 1) * static_cast<std::size_t>(ConstraintCount + 1), "0");
  Signs.assign(static_cast<std::size_t>(ConstraintCount), IS_BELOWOREQUAL);
}

std::string& TLinearStatementText::Cell(std::int32_t x, std::int32_t y) {
  return Cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(VarCount + 1) + static_cast<std::size_t>(x)];
}

const std::string& TLinearStatementText::Cell(std::int32_t x, std::int32_t y) const {
  return Cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(VarCount + 1) + static_cast<std::size_t>(x)];
}

TLinearStatementText TLinearStatementText::FromModel(const TZLPCore_SubInterface_ZLP& zlp) {
  TLinearStatementText t;
  const std::int32_t n = zlp.VarCount();
  const std::int32_t m = zlp.ConstraintCount();
  t.Resize(n, m);
  t.IsMax = zlp.IsMax;
  t.Cell(0, 0) = RatToStr(zlp.FreeTerm);
  for (std::int32_t j = 1; j <= n; ++j) t.Cell(j, 0) = RatToStr(zlp.Objective.GetItem(j));
  for (std::int32_t i = 1; i <= m; ++i) {
    t.Cell(0, i) = RatToStr(zlp.RHS.GetItem(i));
    for (std::int32_t j = 1; j <= n; ++j) t.Cell(j, i) = RatToStr(zlp.Coeffs.GetItem(j, i));
    t.Signs[static_cast<std::size_t>(i - 1)] = zlp.GetSign(i);
  }
  return t;
}

namespace {

// In-memory stand-ins for the input step's widgets.
class TTextEdit final : public TEditField {
public:
  explicit TTextEdit(std::string text) : Value(std::move(text)) {}
  std::string Text() const override { return Value; }
  bool SetFocus() override { return false; }
  void SelectAll() override {}

private:
  std::string Value;
};

class TTextLabel final : public TLabelField {
public:
  explicit TTextLabel(std::string caption) : Value(std::move(caption)) {}
  std::string Caption() const override { return Value; }

private:
  std::string Value;
};

class TTextCombo final : public TComboField {
public:
  TTextCombo(int index, std::string text) : Index(index), Value(std::move(text)) {}
  int ItemIndex() const override { return Index; }
  std::string SelectedText() const override { return Value; }

private:
  int Index;
  std::string Value;
};

} // namespace

bool ReadLinearStatement(const TLinearStatementText& text, TZLPCore_SubInterface_ZLP& zlp) {
  const std::int32_t n = text.VarCount;
  const std::int32_t m = text.ConstraintCount;
  std::vector<std::unique_ptr<TTextEdit>> edits;
  std::vector<std::unique_ptr<TTextLabel>> labels;
  auto edit = [&edits](const std::string& s) {
    edits.push_back(std::make_unique<TTextEdit>(s));
    return edits.back().get();
  };
  auto label = [&labels](std::int32_t j) {
    labels.push_back(std::make_unique<TTextLabel>("X" + std::to_string(j) + "+"));
    return labels.back().get();
  };

  TTextCombo direction(text.IsMax ? 0 : 1, text.IsMax ? "Z =" : "L =");
  TUICore_ZLPFunction f;
  f.Direction = &direction;
  f.FreeTerm = edit(text.Cell(0, 0));
  for (std::int32_t j = 1; j <= n; ++j) {
    f.Coeffs.push_back(edit(text.Cell(j, 0)));
    f.Labels.push_back(label(j));
  }

  std::vector<std::unique_ptr<TTextCombo>> signs;
  TUICore_EquationSystem s(static_cast<std::size_t>(m));
  for (std::int32_t i = 1; i <= m; ++i) {
    const std::uint8_t sign = text.Signs[static_cast<std::size_t>(i - 1)];
    // The sign box offers "<=", "=" and ">=" only; another stored sign leaves it without a choice.
    const bool offered = sign == IS_BELOWOREQUAL || sign == IS_EQUAL || sign == IS_ABOVEOREQUAL;
    signs.push_back(std::make_unique<TTextCombo>(offered ? sign / 2 : -1, offered ? SignToText(sign) : ""));
    TUICore_ZLPEquation& row = s[static_cast<std::size_t>(i - 1)];
    row.Sign = signs.back().get();
    row.RHS = edit(text.Cell(0, i));
    for (std::int32_t j = 1; j <= n; ++j) {
      row.Coeffs.push_back(edit(text.Cell(j, i)));
      row.Labels.push_back(label(j));
    }
  }
  return zlp.ReadObjective(f) && zlp.ReadConstraints(s);
}

// ---- the whole run ----

TLinearVerdict RunLinearTask(const TZLPCore_SubInterface_ZLP& statement, TZLPCore_SolutionResult& finalReport) {
  TZLPCore_SolutionResult input;
  TZLPCore_SolutionResult canonical;
  TZLPCore_SolutionResult simplex;
  TZLPCore_SolutionResult preview;

  TZLPCore_Interface data;
  data.ZLP.Assign(statement);
  data.SetFlag(IF_ZLP);
  WriteInputSection(data.ZLP, "Постановка задачи ЛП", input);

  canonical.Bare = true;
  canonical.StyleMods = UsualPageStyle(TPageColors{});
  WriteCanonicalPage(data, "Каноническая форма", canonical);

  TLinearVerdict verdict = TLinearVerdict::NotCanonical;
  if (data.ZLP.BuildTable(&data.Table)) {
    data.SetFlag(IF_TABLE);
    TSimplexMethod method(data.Table);
    method.Start();
    while (!method.Finished()) {
      method.Solve();
      method.Step();
    }
    method.WriteReport(data, simplex);
    if (method.Stop == TSimplexStop::Cycling)
      verdict = TLinearVerdict::Cycling;
    else if (method.Stop == TSimplexStop::Overflow)
      verdict = TLinearVerdict::Overflow;
    else if (data.Table.State == SS_OPTIMAL)
      verdict = TLinearVerdict::Optimal;
    else if (data.Table.State == SS_NOSOLUTION)
      verdict = TLinearVerdict::Unbounded;
    else
      verdict = TLinearVerdict::Infeasible;
  }

  finalReport.Clear();
  finalReport.Title = GetTaskName(TT_LINEAR);
  for (const TZLPCore_SolutionResult* section : {&input, &canonical, &simplex, &preview})
    finalReport.AppendReport(section);
  return verdict;
}
