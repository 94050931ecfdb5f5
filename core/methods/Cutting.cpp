// The cutting-stock problem: reading its statement, building its linear program, its answer.
#include "Cutting.h"

#include "BigRational.h"

#include "TaskContract.h"
#include "untStrConst.h"

#include <optional>
#include <utility>

namespace {

// ASCII and the Cyrillic capitals of UTF-8 in lower case; other characters stay.
std::string LowerCase(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 'A' && c <= 'Z') {
      out += static_cast<char>(c - 'A' + 'a');
    } else if (c == 0xD0 && i + 1 < s.size()) {
      const auto d = static_cast<unsigned char>(s[++i]);
      if (d >= 0x90 && d <= 0x9F) { // А ... П
        out += '\xD0';
        out += static_cast<char>(d + 0x20);
      } else if (d >= 0xA0 && d <= 0xAF) { // Р ... Я
        out += '\xD1';
        out += static_cast<char>(d - 0x20);
      } else if (d >= 0x80 && d <= 0x8F) { // Ѐ ... Џ, Ё among them
        out += '\xD1';
        out += static_cast<char>(d + 0x10);
      } else {
        out += static_cast<char>(c);
        out += static_cast<char>(d);
      }
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string Trimmed(const std::string& s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool IsNegative(TRational r) { return RatLessInt(r, 0); }

TStatementError CellError(const TStatementGrid& grid, std::int32_t x, std::int32_t y, std::string message) {
  return {TStatementError::TPlace::Cell, x, y, CellName(grid, x, y), std::move(message)};
}


// "1", "1 и 2", "1, 2 и 3"
std::string NumberList(const std::vector<std::int32_t>& numbers) {
  std::string text;
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    if (k > 0) text += k + 1 == numbers.size() ? " и " : ", ";
    text += std::to_string(numbers[k]);
  }
  return text;
}

// "1 : 2 : 0"
std::string ProportionText(const TCuttingProblem& problem) {
  std::string text;
  for (std::size_t i = 0; i < problem.Proportions.size(); ++i)
    text += (i == 0 ? "" : " : ") + RatToStr(problem.Proportions[i]);
  return text;
}

std::string OptimalAnswer(const TCuttingProblem& problem, TRational sets, const std::vector<TRational>& x) {
  const std::string count = RatToStr(sets);
  const mpq_class exact = RatToMpq(sets);
  const bool whole = exact.get_den() == 1;
  const auto floorOf = [](const mpq_class& q) {
    mpz_class f;
    mpz_fdiv_q(f.get_mpz_t(), q.get_num_mpz_t(), q.get_den_mpz_t());
    return f;
  };
  std::string text =
      whole ? "наибольшее число полных комплектов изделий — " + count + " (Z<sub>max</sub> = " + count + ")."
            : "наибольшее число комплектов изделий Z<sub>max</sub> = " + count +
                  " достигается при дробном плане, поэтому полных комплектов не больше &#8970;" + count +
                  "&#8971; = " + floorOf(exact).get_str() + ".";

  std::vector<std::string> used;
  std::vector<std::int32_t> unused;
  for (std::size_t j = 0; j < x.size(); ++j) {
    const auto number = static_cast<std::int32_t>(j + 1);
    if (RatEqualsInt(x[j], 0)) {
      unused.push_back(number);
    } else {
      const std::string v = RatToStr(x[j]);
      used.push_back("способом " + std::to_string(number) + " — " + v + " ед. (" + SubscriptName("X", number) + " = " + v + ")");
    }
  }
  std::string zeros;
  for (std::size_t k = 0; k < unused.size(); ++k) zeros += (k == 0 ? "" : " = ") + SubscriptName("X", unused[k]);
  zeros += " = 0";
  if (used.empty()) {
    text += " Ни один способ раскроя не используется (" + zeros + ").";
  } else {
    text += " Для этого материал (" + RatToStr(problem.Material) + " ед.) раскраивается так: ";
    for (std::size_t k = 0; k < used.size(); ++k) text += (k == 0 ? "" : ", ") + used[k];
    if (unused.size() == 1)
      text += "; способ " + NumberList(unused) + " не используется (" + zeros + ")";
    else if (!unused.empty())
      text += "; способы " + NumberList(unused) + " не используются (" + zeros + ")";
    text += ".";
  }

  // The pieces of every product, sum_j a_ij X_j; left out should a sum pass the limits of exact arithmetic.
  std::string pieces;
  for (std::int32_t i = 1; i <= problem.ProductCount(); ++i) {
    TRational sum = RatFromInt(0);
    for (std::size_t j = 0; j < x.size(); ++j)
      sum = RatAdd(sum, RatMul(problem.Yields[static_cast<std::size_t>(i - 1)][j], x[j]));
    if (!RatIsValid(sum)) return text;
    pieces += (i == 1 ? "" : ", ") + std::to_string(i) + "-го вида — " + RatToStr(sum);
  }
  text += " Изделий получается: " + pieces + ".";
  if (whole) return text;

  // The plan rounded down to whole units of material, and the whole sets it gives.
  std::vector<mpz_class> down;
  std::string plan;
  for (std::size_t j = 0; j < x.size(); ++j) {
    down.push_back(floorOf(RatToMpq(x[j])));
    plan += (j == 0 ? "" : ", ") + SubscriptName("X", static_cast<std::int64_t>(j + 1)) + " = " + down.back().get_str();
  }
  std::optional<mpz_class> fewest;
  for (std::int32_t i = 1; i <= problem.ProductCount(); ++i) {
    const TRational r = problem.Proportions[static_cast<std::size_t>(i - 1)];
    if (RatEqualsInt(r, 0)) continue;
    mpq_class made = 0;
    for (std::size_t j = 0; j < x.size(); ++j)
      made += RatToMpq(problem.Yields[static_cast<std::size_t>(i - 1)][j]) * mpq_class(down[j]);
    const mpz_class complete = floorOf(mpq_class(made / RatToMpq(r)));
    if (!fewest || complete < *fewest) fewest = complete;
  }
  if (!fewest) return text;
  const std::string made = fewest->get_str();
  const long last = mpz_class(*fewest % 100).get_si();
  const std::string word = last % 10 == 1 && last != 11                           ? "полный комплект"
                           : last % 10 >= 2 && last % 10 <= 4 && (last < 12 || last > 14) ? "полных комплекта"
                                                                                  : "полных комплектов";
  return text + " План, округлённый вниз до целых единиц материала (" + plan + "), даёт " + made + " " + word + ".";
}

} // namespace

std::string EnterFieldMessage(const std::string& label) {
  std::string name = Trimmed(label);
  if (!name.empty() && name.back() == ':') name.pop_back();
  return "Введите " + LowerCase(Trimmed(name));
}

std::int32_t TCuttingProblem::ReferenceProduct() const noexcept {
  for (std::size_t i = 0; i < Proportions.size(); ++i)
    if (!RatEqualsInt(Proportions[i], 0)) return static_cast<std::int32_t>(i + 1);
  return 0;
}

bool ReadCuttingProblem(const TStatementGrid& grid, TCuttingProblem& problem, TStatementError& error) {
  if (grid.TaskType != TT_CUTTING) {
    error = {TStatementError::TPlace::Whole, 0, 0, "", "условие не является задачей о раскрое"};
    return false;
  }
  const std::int32_t p = grid.Sx;
  const std::int32_t k = grid.Sy;
  if (p < 1 || k < 1 || p > CutMaxCount || k > CutMaxCount) {
    error = {TStatementError::TPlace::Size, p, k, "размер задачи",
             "число изделий и число способов раскроя должны быть от 1 до " + std::to_string(CutMaxCount)};
    return false;
  }
  TCuttingProblem read;
  if (!ParseInputNumber(grid.Material, read.Material)) {
    error = {TStatementError::TPlace::Material, 0, 0, "количество материала", EnterFieldMessage(sCutMaterialLabel)};
    return false;
  }
  if (IsNegative(read.Material)) {
    error = {TStatementError::TPlace::Material, 0, 0, "количество материала",
             "Количество материала не может быть отрицательным"};
    return false;
  }
  read.Proportions.resize(static_cast<std::size_t>(k));
  for (std::int32_t i = 1; i <= k; ++i) {
    TRational& r = read.Proportions[static_cast<std::size_t>(i - 1)];
    if (!ReadCellNumber(grid, 0, i, r, error)) return false;
    if (IsNegative(r)) {
      error = CellError(grid, 0, i, "Пропорция изделия не может быть отрицательной");
      return false;
    }
  }
  read.Yields.assign(static_cast<std::size_t>(k), std::vector<TRational>(static_cast<std::size_t>(p), RatFromInt(0)));
  for (std::int32_t i = 1; i <= k; ++i)
    for (std::int32_t j = 1; j <= p; ++j) {
      // An empty cell is a 0 that is not shown.
      if (grid.Cell(j, i).empty()) continue;
      TRational& a = read.Yields[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
      if (!ReadCellNumber(grid, j, i, a, error)) return false;
      if (IsNegative(a)) {
        error = CellError(grid, j, i, "Число изделий, которое даёт способ раскроя, не может быть отрицательным");
        return false;
      }
    }
  if (read.ReferenceProduct() == 0) {
    error = {TStatementError::TPlace::Cell, 0, 1, "пропорции изделий", sCutAllProportionsZero};
    return false;
  }
  problem = std::move(read);
  return true;
}

bool BuildCuttingProgram(const TCuttingProblem& problem, TZLPCore_SubInterface_ZLP& zlp, TStatementError& error) {
  const std::int32_t p = problem.PatternCount();
  const std::int32_t k = problem.ProductCount();
  const std::int32_t q = problem.ReferenceProduct();
  if (q == 0 || p < 1) {
    error = {TStatementError::TPlace::Cell, 0, 1, "пропорции изделий", sCutAllProportionsZero};
    return false;
  }
  const auto yield = [&problem](std::int32_t i, std::int32_t j) {
    return problem.Yields[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
  };
  const TRational rq = problem.Proportions[static_cast<std::size_t>(q - 1)];

  TZLPCore_SubInterface_ZLP built;
  built.IsMax = true;
  built.SetVarCount(p);
  built.SetConstraintCount(k);
  bool exact = true;
  const auto keep = [&exact](TRational v) {
    exact = exact && RatIsValid(v);
    return v;
  };
  for (std::int32_t j = 1; j <= p; ++j) {
    built.Objective.SetItem(j, keep(RatDiv(yield(q, j), rq)));
    built.Coeffs.SetItem(j, 1, RatFromInt(1));
  }
  built.SetSign(1, IS_EQUAL);
  built.RHS.SetItem(1, problem.Material);
  std::int32_t row = 1;
  for (std::int32_t i = 1; i <= k; ++i) {
    if (i == q) continue;
    ++row;
    const TRational ratio = keep(RatDiv(problem.Proportions[static_cast<std::size_t>(i - 1)], rq));
    for (std::int32_t j = 1; j <= p; ++j)
      built.Coeffs.SetItem(j, row, keep(RatSub(yield(i, j), keep(RatMul(yield(q, j), ratio)))));
    built.SetSign(row, IS_EQUAL);
    built.RHS.SetItem(row, RatFromInt(0));
  }
  if (!exact) {
    error = {TStatementError::TPlace::Whole, 0, 0, "коэффициенты модели",
             std::string("в коэффициентах модели ") + RatBigLimitText};
    return false;
  }
  zlp = std::move(built);
  return true;
}

bool ReadCuttingStatement(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error) {
  TCuttingProblem problem;
  TZLPCore_SubInterface_ZLP zlp;
  if (!ReadCuttingProblem(grid, problem, error) || !BuildCuttingProgram(problem, zlp, error)) return false;
  data.ZLP = std::move(zlp);
  data.SetFlag(IF_ZLP);
  return true;
}

bool CutInputUnit(TZLPCore_Interface& data, TZLPCore_SolutionResult& report, const TStageInfo& stage,
                  const TTaskInfo&) {
  report.Clear();
  TCuttingProblem problem;
  TStatementError error;
  if (!ReadCuttingProblem(data.Statement, problem, error) || !BuildCuttingProgram(problem, data.ZLP, error)) {
    data.Verdict.Status = TTaskStatus::BadInput;
    data.Verdict.Message =
        StatusSentence(TTaskStatus::BadInput) + ": " + (error.Field.empty() ? "" : error.Field + ": ") + error.Message;
    return false;
  }
  data.SetFlag(IF_ZLP);
  const std::int32_t q = problem.ReferenceProduct();
  if (q > 1) {
    std::vector<std::int32_t> zero;
    for (std::int32_t i = 1; i < q; ++i) zero.push_back(i);
    report.AddHeading(stage.Caption);
    report.AddParagraph(std::string(q == 2 ? "Доля изделия " : "Доли изделий ") + NumberList(zero) +
                        (q == 2 ? " равна 0" : " равны 0") + ", поэтому комплекты считаются по изделию " +
                        std::to_string(q) +
                        " — первому с ненулевой долей; изделия с долей 0 в комплект не входят и получаться не должны.");
  }
  return true;
}

void ConcludeCutting(TZLPCore_Interface& data, TZLPCore_SolutionResult&) {
  TTaskVerdict& verdict = data.Verdict;
  TCuttingProblem problem;
  TStatementError error;
  if (!ReadCuttingProblem(data.Statement, problem, error)) return;
  if (verdict.Status == TTaskStatus::Optimal && verdict.Objective &&
      verdict.X.size() == static_cast<std::size_t>(problem.PatternCount())) {
    verdict.Answer = OptimalAnswer(problem, *verdict.Objective, verdict.X);
  } else if (verdict.Status == TTaskStatus::Infeasible) {
    const std::string proportions = ProportionText(problem);
    verdict.Message = "изделия нельзя получить в пропорции " + proportions + ": " + StatusSentence(verdict.Status);
    verdict.Answer = "с пропорциями изделий " + proportions +
                     " задача решения не имеет: никаким раскроем материала нельзя получить изделия в этой "
                     "пропорции — система ограничений несовместна, допустимых решений нет.";
  }
}
