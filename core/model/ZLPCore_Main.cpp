// The linear program model: reading from input fields, canonical form, first table, solution lines,
// and the text helpers that write models as HTML formulas.
#include "ZLPCore_Main.h"

#include "AppPaths.h"
#include "MessageSeam.h"
#include "ZLPCore_SolutionResult.h"
#include "untStrConst.h"

#include <algorithm>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// Parses the box into v; a malformed number focuses the box and shows the input message.
bool ReadField(TEditField* edit, TRational& v) {
  TRational parsed{0, 1};
  if (!RatTryParse(parsed, edit->Text())) return ShowInputError(edit);
  v = parsed;
  return true;
}

TRational Negated(TRational v) {
  RatScale(v, -1);
  return v;
}

} // namespace

// ---- the linear program ----

void TZLPCore_SubInterface_ZLP::SetVarCount(std::int32_t n) {
  n = std::max(n, 0);
  if (n == FVarCount) return;
  FVarNames.resize(static_cast<std::size_t>(n));
  for (std::int32_t k = FVarCount + 1; k <= n; ++k)
    FVarNames[static_cast<std::size_t>(k - 1)] = std::string(1, VarLetter) + std::to_string(k - VarNumberShift);
  Coeffs.Resize(n, Coeffs.Dim2());
  Objective.SetCount(n);
  FVarCount = n;
}

void TZLPCore_SubInterface_ZLP::SetConstraintCount(std::int32_t m) {
  m = std::max(m, 0);
  if (m == FConstraintCount) return;
  FSigns.resize(static_cast<std::size_t>(m), IS_BELOWOREQUAL);
  Coeffs.Resize(Coeffs.Dim1(), m);
  RHS.SetCount(m);
  FConstraintCount = m;
}

TZLPCore_InequalitySign TZLPCore_SubInterface_ZLP::GetSign(std::int32_t i) const noexcept {
  if (i < 1 || i > FConstraintCount) return IS_BELOWOREQUAL;
  return FSigns[static_cast<std::size_t>(i - 1)];
}

void TZLPCore_SubInterface_ZLP::SetSign(std::int32_t i, TZLPCore_InequalitySign s) noexcept {
  if (i < 1 || i > FConstraintCount) return;
  FSigns[static_cast<std::size_t>(i - 1)] = s;
}

std::string TZLPCore_SubInterface_ZLP::GetVarName(std::int32_t j) const {
  if (j < 1 || j > FVarCount) return {};
  return FVarNames[static_cast<std::size_t>(j - 1)];
}

void TZLPCore_SubInterface_ZLP::SetVarName(std::int32_t j, const std::string& s) {
  if (j < 1 || j > FVarCount) return;
  FVarNames[static_cast<std::size_t>(j - 1)] = s;
}

bool TZLPCore_SubInterface_ZLP::ReadObjective(const TUICore_ZLPFunction& f) {
  if (f.FreeTerm == nullptr) return false;
  if (!ReadField(f.FreeTerm, FreeTerm)) return false;
  if (f.Direction == nullptr) return false;
  IsMax = f.Direction->ItemIndex() == 0;
  VarNumberShift = 0;

  const auto n = static_cast<std::int32_t>(f.Coeffs.size());
  FVarCount = n;
  FVarNames.resize(static_cast<std::size_t>(n));
  Objective.SetCount(n);
  Coeffs.Resize(n, FConstraintCount);
  for (std::int32_t j = 1; j <= n; ++j) {
    const auto k = static_cast<std::size_t>(j - 1);
    TEditField* edit = f.Coeffs[k];
    TLabelField* label = k < f.Labels.size() ? f.Labels[k] : nullptr;
    if (edit == nullptr || label == nullptr) return false;
    const std::string caption = label->Caption();
    if (!caption.empty()) VarLetter = caption.front();
    FVarNames[k] = caption.empty() ? caption : caption.substr(0, caption.size() - 1);
    TRational v{0, 1};
    if (!ReadField(edit, v)) return false;
    Objective.SetItem(j, v);
  }
  return true;
}

bool TZLPCore_SubInterface_ZLP::ReadConstraints(const TUICore_EquationSystem& s) {
  const auto m = static_cast<std::int32_t>(s.size());
  FConstraintCount = m;
  FSigns.resize(static_cast<std::size_t>(m), IS_BELOWOREQUAL);
  RHS.SetCount(m);
  Coeffs.Resize(FVarCount, m);
  for (std::int32_t i = 1; i <= m; ++i) {
    const TUICore_ZLPEquation& row = s[static_cast<std::size_t>(i - 1)];
    if (row.Sign == nullptr || row.RHS == nullptr) return false;
    FSigns[static_cast<std::size_t>(i - 1)] = SignFromText(row.Sign->SelectedText());
    TRational v{0, 1};
    if (!ReadField(row.RHS, v)) return false;
    RHS.SetItem(i, v);
    for (std::int32_t j = 1; j <= FVarCount; ++j) {
      const auto k = static_cast<std::size_t>(j - 1);
      TEditField* edit = k < row.Coeffs.size() ? row.Coeffs[k] : nullptr;
      if (edit == nullptr) return false;
      if (!ReadField(edit, v)) return false;
      Coeffs.SetItem(j, i, v);
    }
  }
  return true;
}

bool TZLPCore_SubInterface_ZLP::IsCanonical() const {
  if (!IsMax) return false;
  if (FVarCount == 0) return true;
  return std::all_of(FSigns.begin(), FSigns.end(), [](TZLPCore_InequalitySign s) { return s == IS_EQUAL; });
}

bool TZLPCore_SubInterface_ZLP::HasOwnBasis() const {
  const std::int32_t n = FVarCount;
  const std::int32_t m = FConstraintCount;
  if (n <= m) return false;
  for (std::int32_t i = 1; i <= m; ++i) {
    const std::int32_t k = n - m + i;
    if (!RatEqualsInt(Objective.GetItem(k), 0)) return false;
    for (std::int32_t r = 1; r <= m; ++r) {
      const TRational a = Coeffs.GetItem(k, r);
      if (!RatIsValid(a) || !RatEqualsInt(a, r == i ? 1 : 0)) return false;
    }
  }
  return true;
}

namespace {

// Writes every "=" row as the row itself followed by a copy marked ">=", so that after the added
// variables are introduced both inequalities hold and together keep the equality. Returns the
// numbers of the rows that were split, counted in the model as entered.
std::vector<std::int32_t> SplitEqualities(TZLPCore_SubInterface_ZLP& zlp) {
  const std::int32_t n = zlp.VarCount();
  const std::int32_t m = zlp.ConstraintCount();
  std::vector<std::int32_t> split;
  for (std::int32_t i = 1; i <= m; ++i)
    if (zlp.GetSign(i) == IS_EQUAL) split.push_back(i);
  if (split.empty()) return split;

  const TZLPCore_SubInterface_ZLP old = zlp;
  zlp.SetConstraintCount(m + static_cast<std::int32_t>(split.size()));
  std::int32_t row = 0;
  auto copyRow = [&](std::int32_t from, TZLPCore_InequalitySign sign) {
    ++row;
    zlp.SetSign(row, sign);
    zlp.RHS.SetItem(row, old.RHS.GetItem(from));
    for (std::int32_t j = 1; j <= n; ++j) zlp.Coeffs.SetItem(j, row, old.Coeffs.GetItem(j, from));
  };
  for (std::int32_t i = 1; i <= m; ++i) {
    if (old.GetSign(i) == IS_EQUAL) {
      copyRow(i, IS_BELOWOREQUAL);
      copyRow(i, IS_ABOVEOREQUAL);
    } else {
      copyRow(i, old.GetSign(i));
    }
  }
  return split;
}

// Adds one basic variable per constraint: variable n + k has coefficient 1 in row k.
void AddBasis(TZLPCore_SubInterface_ZLP& zlp) {
  const std::int32_t n = zlp.VarCount();
  const std::int32_t m = zlp.ConstraintCount();
  zlp.SetVarCount(n + m);
  for (std::int32_t k = 1; k <= m; ++k) zlp.Coeffs.SetItem(n + k, k, RatFromInt(1));
}

// Negates the ">=" rows over the first n variables and makes every relation "=".
void EqualiseRows(TZLPCore_SubInterface_ZLP& zlp, std::int32_t n) {
  for (std::int32_t i = 1; i <= zlp.ConstraintCount(); ++i) {
    if (zlp.GetSign(i) == IS_ABOVEOREQUAL) {
      zlp.RHS.SetItem(i, Negated(zlp.RHS.GetItem(i)));
      for (std::int32_t j = 1; j <= n; ++j) zlp.Coeffs.SetItem(j, i, Negated(zlp.Coeffs.GetItem(j, i)));
    }
    zlp.SetSign(i, IS_EQUAL);
  }
}

void AddConstraintBlock(TZLPCore_SolutionResult& report, const TZLPCore_SubInterface_ZLP& zlp) {
  report.AddLine("<pre>");
  AddConstraints(report, zlp);
  report.AddLine("</pre>");
}

// "2 дополнительные (балансовые) переменные", in the case that follows "введём".
std::string AddedVariables(std::int32_t m) {
  return CountText(m, "дополнительную (балансовую) переменную", "дополнительные (балансовые) переменные",
                   "дополнительных (балансовых) переменных");
}

void ExplainSplit(TZLPCore_SolutionResult& report, const std::vector<std::int32_t>& split) {
  if (split.empty()) return;
  std::string numbers;
  for (std::int32_t i : split) numbers += (numbers.empty() ? "" : ", ") + std::to_string(i);
  report.AddParagraph((split.size() == 1 ? "Ограничение-равенство № " + numbers + " записано"
                                         : "Ограничения-равенства № " + numbers + " записаны") +
                      " парой неравенств &#8804; и &#8805; (второе неравенство умножено на -1), каждое со своей "
                      "дополнительной (балансовой) переменной: при допустимом решении обе эти переменные равны нулю, и "
                      "равенство "
                      "выполняется.");
}

} // namespace

void TZLPCore_SubInterface_ZLP::ToCanonical(TZLPCore_SolutionResult& report) {
  const std::int32_t n = FVarCount;
  if (IsCanonical()) {
    report.AddParagraph("Задача поставлена в канонической форме, ");
    if (HasOwnBasis()) {
      report.AddLine("в ней есть " +
                     CountText(FConstraintCount, "базисная переменная", "базисные переменные", "базисных переменных") +
                     "<p>Задача готова для передачи в <b>симплекс-метод</b>");
      return;
    }
    const std::vector<std::int32_t> split = SplitEqualities(*this);
    report.AddLine("но для передачи в симплекс-метод каждому ограничению нужна своя базисная переменная; введём " +
                   AddedVariables(FConstraintCount) + ":");
    AddBasis(*this);
    EqualiseRows(*this, n);
    AddConstraintBlock(report, *this);
    ExplainSplit(report, split);
    return;
  }

  report.AddParagraph("Задачу нужно привести к канонической форме, ");
  if (IsMax) {
    report.AddLine("функция уже стремится к <b>максимуму</b>, введём");
  } else {
    report.AddLine("для начала устремим функцию цели к <b>максимуму</b>:");
    IsMax = true;
    RatScale(FreeTerm, -1);
    for (std::int32_t j = 1; j <= n; ++j) Objective.SetItem(j, Negated(Objective.GetItem(j)));
    report.AddPre("Z = " + FormatLinearForm(Objective, FVarNames, FreeTerm) + " &#8594; Max");
    report.AddLine("\r\n<p>Введём");
  }
  const std::vector<std::int32_t> split = SplitEqualities(*this);
  report.AddLine(AddedVariables(FConstraintCount) + " и приравняем правые части:");
  AddBasis(*this);
  EqualiseRows(*this, n);
  AddConstraintBlock(report, *this);
  ExplainSplit(report, split);
}

bool TZLPCore_SubInterface_ZLP::BuildTable(TSimplexTable* table) const {
  if (table == nullptr || !IsCanonical()) return false;
  const std::int32_t n = FVarCount;
  const std::int32_t m = FConstraintCount;
  table->SetColCount(n);
  table->SetRowCount(m);
  for (std::int32_t i = 1; i <= m; ++i)
    for (std::int32_t j = 1; j <= n; ++j) table->SetA(j, i, Coeffs.GetItem(j, i));
  for (std::int32_t j = 1; j <= n; ++j) table->SetZ(j, Negated(Objective.GetItem(j)));
  for (std::int32_t i = 1; i <= m; ++i) table->SetB(i, RHS.GetItem(i));
  table->SetZValue(FreeTerm);
  for (std::int32_t j = 1; j <= n; ++j) table->SetColName(j, GetVarName(j));
  for (std::int32_t i = 1; i <= m; ++i) table->SetRowName(i, GetVarName(n - m + i));
  table->NormalizeBasis();
  return true;
}

void TZLPCore_SubInterface_ZLP::Assign(const TZLPCore_SubInterface_ZLP& source) {
  *this = source;
  RatNormalize(FreeTerm);
}

// ---- the denominator ----

bool TZLPCore_SubInterface_Denominator::ReadDenominator(const TUICore_ZLPFunction& f) {
  if (f.DenFreeTerm == nullptr) return false;
  if (!ReadField(f.DenFreeTerm, FreeTerm)) return false;
  const auto n = static_cast<std::int32_t>(f.DenCoeffs.size());
  Coeffs.SetCount(n);
  for (std::int32_t j = 1; j <= n; ++j) {
    TEditField* edit = f.DenCoeffs[static_cast<std::size_t>(j - 1)];
    if (edit == nullptr) return false;
    TRational v{0, 1};
    if (!ReadField(edit, v)) return false;
    Coeffs.SetItem(j, v);
  }
  return true;
}

// ---- the container ----

void TZLPCore_Interface::BuildSolution() {
  if (!HasFlag(IF_TABLE)) {
    SolutionLines.clear();
    ClearFlag(IF_SOLUTION);
    return;
  }
  if (Table.State != SS_OPTIMAL) return;
  SetFlag(IF_SOLUTION);
  SolutionLines.clear();
  for (std::int32_t i = 1; i <= Table.RowCount(); ++i) {
    const std::string name = Table.GetRowName(i);
    SolutionLines.push_back(IndexToSub(HtmlEscape(name)) + " = " + HtmlEscape(RatToStr(Table.ValueOf(name))));
  }
}

// ---- text helpers ----

bool ShowInputError(TEditField* edit) {
  if (edit != nullptr && edit->SetFocus()) edit->SelectAll();
  ShowMessage(sAppTitle, edit != nullptr ? InputNumberMessage(edit->Text()) : std::string(sEnterRational),
              TMsgIcon::Warning, mbOK);
  return false;
}

void ReportMissingField() { ShowMessage(sAppTitle, sFieldNotPrepared, TMsgIcon::Warning, mbOK); }

std::string SignToText(std::uint8_t sign) {
  switch (sign % 128) {
  case IS_BELOWOREQUAL: return "<=";
  case IS_BELOW: return "<";
  case IS_EQUAL: return "=";
  case IS_ABOVE: return ">";
  case IS_ABOVEOREQUAL: return ">=";
  default: return {};
  }
}

std::string SignToHtml(std::uint8_t sign) {
  switch (sign % 128) {
  case IS_BELOWOREQUAL: return "&#8804;";
  case IS_BELOW: return "&lt;";
  case IS_EQUAL: return "=";
  case IS_ABOVE: return "&gt;";
  case IS_ABOVEOREQUAL: return "&#8805;";
  default: return {};
  }
}

TZLPCore_InequalitySign SignFromText(const std::string& text) {
  const std::string t = text == "=>" ? std::string(">=") : text;
  if (t == "<") return IS_BELOW;
  if (t == "<=") return IS_BELOWOREQUAL;
  if (t == "=") return IS_EQUAL;
  if (t == ">=") return IS_ABOVEOREQUAL;
  if (t == ">") return IS_ABOVE;
  return IS_BELOWOREQUAL;
}

std::string IndexToSub(const std::string& s) {
  if (s.empty()) return {};
  std::size_t copied = 0;
  std::size_t runStart = 1;
  bool inRun = false;
  bool runSeen = false;
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const bool digit = IsDigit(s[i]);
    if (!inRun && digit) {
      runStart = i;
      inRun = true;
      runSeen = true;
    } else if (inRun && !digit) {
      out += s.substr(copied, runStart - copied);
      out += "<sub>" + s.substr(runStart, i - runStart) + "</sub>";
      copied = i;
      inRun = false;
    }
  }
  if (runSeen && !inRun) return out + s.substr(copied); // letters after the last digit run stay plain
  if (runStart > copied) out += s.substr(copied, runStart - copied);
  if (runStart < s.size()) out += "<sub>" + s.substr(runStart) + "</sub>";
  return out;
}

std::string FormatLinearForm(const TVector& c, const std::vector<std::string>& names, TRational c0) {
  std::string r;
  for (std::int32_t j = 1; j <= c.Count(); ++j) {
    const TRational v = c.GetItem(j);
    if (RatIsValid(v) && v.Num == 0) continue;
    const std::string t = HtmlEscape(RatToStr(v));
    if (t == "1") {
      if (!r.empty()) r += "+ ";
    } else if (t == "-1") {
      r += "- ";
    } else if (t.front() == '-') {
      r += "- " + t.substr(1);
    } else {
      r += r.empty() ? t : "+ " + t;
    }
    const auto k = static_cast<std::size_t>(j - 1);
    r += IndexToSub(k < names.size() ? HtmlEscape(names[k]) : std::string()) + " ";
  }
  if (!(RatIsValid(c0) && c0.Num == 0)) {
    const std::string t = HtmlEscape(RatToStr(c0));
    if (t.front() == '-')
      r += "- " + t.substr(1);
    else
      r += r.empty() ? t : "+ " + t;
  }
  const auto first = r.find_first_not_of(' ');
  if (first == std::string::npos) return "0";
  const auto last = r.find_last_not_of(' ');
  return r.substr(first, last - first + 1);
}

std::string ColorToHex(std::uint32_t rgb) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02X%02X%02X", (rgb >> 16) & 0xFFu, (rgb >> 8) & 0xFFu, rgb & 0xFFu);
  return buf;
}

int OpenDocument(const std::string& target) {
  if (target.empty()) return 0;
  const std::string dir = ProgramDir();
  const char* argv[] = {"xdg-open", target.c_str(), nullptr};
  // Detached: the intermediate child exits at once, so the opener never becomes our zombie.
  const pid_t child = fork();
  if (child == 0) {
    setsid();
    if (fork() == 0) {
      if (chdir(dir.c_str()) != 0) _exit(127);
      execvp(argv[0], const_cast<char* const*>(argv));
      _exit(127);
    }
    _exit(0);
  }
  if (child > 0) waitpid(child, nullptr, 0);
  return 0;
}

namespace {
constexpr const char* CRLF = "\r\n";
} // namespace

void AddModel(TZLPCore_SolutionResult& report, const TZLPCore_SubInterface_ZLP* zlp,
              const TZLPCore_SubInterface_Denominator* den) {
  if (zlp == nullptr) return;
  const std::string p = "Z = ";
  const std::string a = zlp->IsMax ? "&nbsp;&nbsp;&#8594; <b>Max</b>" : "&nbsp;&nbsp;&#8594; <b>Min</b>";
  const std::string n = FormatLinearForm(zlp->Objective, zlp->VarNames(), zlp->FreeTerm);
  if (den == nullptr) {
    report.AddLine(p + n + a + CRLF);
  } else {
    const std::string d = FormatLinearForm(den->Coeffs, zlp->VarNames(), den->FreeTerm);
    report.AddLine(std::string("<table cellpadding=0 cellspacing=0 border=0>") + CRLF + "  <tr><td rowspan=2>" + p +
                   "</td><td style=\"border-bottom: solid 1px black;\">" + n + "</td><td rowspan=2>" + a + "</td>" +
                   CRLF + "  <tr><td>" + d + "</td></tr>" + CRLF + "</table>" + CRLF);
  }
  AddConstraints(report, *zlp);
}

void AddConstraints(TZLPCore_SolutionResult& report, const TZLPCore_SubInterface_ZLP& zlp) {
  std::string entry;
  for (std::int32_t i = 1; i <= zlp.ConstraintCount(); ++i) {
    if (i > 1) entry += CRLF;
    entry += FormatLinearForm(zlp.Coeffs.ExtractVector(i), zlp.VarNames(), TRational{0, 1}) + " " +
             SignToHtml(zlp.GetSign(i)) + " " + HtmlEscape(RatToStr(zlp.RHS.GetItem(i)));
  }
  report.AddLine(std::move(entry));
}

TStatementGrid StatementOfModel(const TZLPCore_SubInterface_ZLP& zlp) {
  const std::int32_t n = zlp.VarCount();
  const std::int32_t m = zlp.ConstraintCount();
  TStatementGrid grid(TT_LINEAR, ProgramLayout(), n, m);
  grid.IsMax = zlp.IsMax;
  grid.SetCell(0, 0, RatToStr(zlp.FreeTerm));
  for (std::int32_t j = 1; j <= n; ++j) grid.SetCell(j, 0, RatToStr(zlp.Objective.GetItem(j)));
  for (std::int32_t i = 1; i <= m; ++i) {
    grid.SetCell(0, i, RatToStr(zlp.RHS.GetItem(i)));
    for (std::int32_t j = 1; j <= n; ++j) grid.SetCell(j, i, RatToStr(zlp.Coeffs.GetItem(j, i)));
    grid.Signs[static_cast<std::size_t>(i - 1)] = zlp.GetSign(i);
  }
  return grid;
}

bool ReadLinearProgram(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error,
                       std::int32_t objectiveRow) {
  const std::int32_t n = grid.Sx;
  const std::int32_t m = grid.Sy;
  if (n < 1 || m < 1 || n > 255 || m > 255) {
    error = {TStatementError::TPlace::Size, n, m, "размер задачи",
             "число переменных и число ограничений должны быть от 1 до 255"};
    return false;
  }
  TZLPCore_SubInterface_ZLP& zlp = data.ZLP;
  zlp = TZLPCore_SubInterface_ZLP{};
  zlp.IsMax = grid.IsMax;
  zlp.SetVarCount(n);
  zlp.SetConstraintCount(m);
  TRational v{0, 1};
  if (!ReadCellNumber(grid, 0, objectiveRow, v, error)) return false;
  zlp.FreeTerm = v;
  for (std::int32_t j = 1; j <= n; ++j) {
    if (!ReadCellNumber(grid, j, objectiveRow, v, error)) return false;
    zlp.Objective.SetItem(j, v);
  }
  for (std::int32_t i = 1; i <= m; ++i) {
    const std::uint8_t sign = grid.Signs[static_cast<std::size_t>(i - 1)];
    if (sign != IS_BELOWOREQUAL && sign != IS_EQUAL && sign != IS_ABOVEOREQUAL) {
      error = {TStatementError::TPlace::Cell, 0, i, "знак ограничения " + std::to_string(i),
               "неизвестный знак ограничения (код " + std::to_string(sign) + "): допустимы <=, = и >="};
      return false;
    }
    zlp.SetSign(i, static_cast<TZLPCore_InequalitySign>(sign));
    if (!ReadCellNumber(grid, 0, i, v, error)) return false;
    zlp.RHS.SetItem(i, v);
    for (std::int32_t j = 1; j <= n; ++j) {
      if (!ReadCellNumber(grid, j, i, v, error)) return false;
      zlp.Coeffs.SetItem(j, i, v);
    }
  }
  data.SetFlag(IF_ZLP);
  return true;
}
