// The statement grid: its layouts, and reading it into the problem container.
#include "ZLPCore_Statement.h"

#include "ZLPCore_Main.h"
#include "ZLPCore_TaskCatalog.h"
#include "untStrConst.h"

#include <algorithm>

namespace {

const std::string Nothing;

struct TRect {
  std::int32_t X0, X1, Y0, Y1;
};

TRect LayoutOf(std::uint8_t type, std::int32_t sx, std::int32_t sy) {
  switch (type) {
  case TT_FRACTIONAL: return {0, sx, -1, sy};
  case TT_CUTTING: return {0, sx, 1, sy};
  case TT_ASSIGNMENT: return {1, sx, 1, sx};
  case TT_REGRESSION: return {0, 1, 1, sx};
  default: return {0, sx, 0, sy};
  }
}

} // namespace

void TStatementGrid::Resize(std::uint8_t taskType, std::int32_t sx, std::int32_t sy) {
  sx = std::max(sx, 0);
  sy = std::max(sy, 0);
  const TRect r = LayoutOf(taskType, sx, sy);
  const std::size_t width = static_cast<std::size_t>(std::max(r.X1 - r.X0 + 1, 0));
  const std::size_t height = static_cast<std::size_t>(std::max(r.Y1 - r.Y0 + 1, 0));
  std::vector<std::string> cells(width * height, "0");
  for (std::int32_t y = r.Y0; y <= r.Y1; ++y)
    for (std::int32_t x = r.X0; x <= r.X1; ++x)
      if (HasCell(x, y))
        cells[static_cast<std::size_t>(y - r.Y0) * width + static_cast<std::size_t>(x - r.X0)] =
            std::move(Cells[Index(x, y)]);

  const bool quad = taskType == TT_QUADRATIC;
  std::vector<std::string> quadCells(quad ? static_cast<std::size_t>(sx) * static_cast<std::size_t>(sx) : 0, "0");
  if (quad)
    for (std::int32_t y = 1; y <= std::min(sx, Sx); ++y)
      for (std::int32_t x = 1; x <= std::min(sx, Sx); ++x)
        if (!QuadCells.empty())
          quadCells[static_cast<std::size_t>(y - 1) * static_cast<std::size_t>(sx) + static_cast<std::size_t>(x - 1)] =
              std::move(QuadCells[static_cast<std::size_t>(y - 1) * static_cast<std::size_t>(Sx) +
                                  static_cast<std::size_t>(x - 1)]);

  TaskType = taskType;
  const bool signs = HasSigns();
  Signs.resize(signs ? static_cast<std::size_t>(sy) : 0, IS_BELOWOREQUAL);
  Integer.resize(taskType == TT_INTEGER ? static_cast<std::size_t>(sx) : 0, 0);
  Sx = sx;
  Sy = sy;
  X0 = r.X0;
  X1 = r.X1;
  Y0 = r.Y0;
  Y1 = r.Y1;
  Cells = std::move(cells);
  QuadCells = std::move(quadCells);
}

std::int32_t TStatementGrid::XFirst() const noexcept { return X0; }
std::int32_t TStatementGrid::XLast() const noexcept { return X1; }
std::int32_t TStatementGrid::YFirst() const noexcept { return Y0; }
std::int32_t TStatementGrid::YLast() const noexcept { return Y1; }

bool TStatementGrid::HasCell(std::int32_t x, std::int32_t y) const noexcept {
  return x >= X0 && x <= X1 && y >= Y0 && y <= Y1;
}

bool TStatementGrid::HasSigns() const noexcept {
  return TaskType == TT_LINEAR || TaskType == TT_INTEGER || TaskType == TT_QUADRATIC || TaskType == TT_FRACTIONAL;
}

std::size_t TStatementGrid::Index(std::int32_t x, std::int32_t y) const noexcept {
  return static_cast<std::size_t>(y - Y0) * static_cast<std::size_t>(X1 - X0 + 1) + static_cast<std::size_t>(x - X0);
}

const std::string& TStatementGrid::Cell(std::int32_t x, std::int32_t y) const noexcept {
  return HasCell(x, y) ? Cells[Index(x, y)] : Nothing;
}

void TStatementGrid::SetCell(std::int32_t x, std::int32_t y, std::string text) {
  if (HasCell(x, y)) Cells[Index(x, y)] = std::move(text);
}

const std::string& TStatementGrid::Quad(std::int32_t x, std::int32_t y) const noexcept {
  if (!HasQuad() || x < 1 || y < 1 || x > Sx || y > Sx) return Nothing;
  return QuadCells[static_cast<std::size_t>(y - 1) * static_cast<std::size_t>(Sx) + static_cast<std::size_t>(x - 1)];
}

void TStatementGrid::SetQuad(std::int32_t x, std::int32_t y, std::string text) {
  if (!HasQuad() || x < 1 || y < 1 || x > Sx || y > Sx) return;
  QuadCells[static_cast<std::size_t>(y - 1) * static_cast<std::size_t>(Sx) + static_cast<std::size_t>(x - 1)] =
      std::move(text);
}

std::string CellName(const TStatementGrid& grid, std::int32_t x, std::int32_t y) {
  const std::string var = "X" + std::to_string(x);
  switch (grid.TaskType) {
  case TT_CUTTING:
    if (x == 0) return "доля продукта " + std::to_string(y);
    return "выход продукта " + std::to_string(y) + " по способу раскроя " + std::to_string(x);
  case TT_ASSIGNMENT: return "элемент матрицы в строке " + std::to_string(y) + ", столбце " + std::to_string(x);
  case TT_REGRESSION: return (x == 0 ? "X" : "Y") + std::string(" наблюдения ") + std::to_string(y);
  default: break;
  }
  if (y == -1) return x == 0 ? "свободный член числителя" : "коэффициент при " + var + " в числителе";
  if (y == 0 && grid.TaskType == TT_FRACTIONAL)
    return x == 0 ? "свободный член знаменателя" : "коэффициент при " + var + " в знаменателе";
  if (y == 0) return x == 0 ? "свободный член целевой функции" : "коэффициент при " + var + " в целевой функции";
  if (x == 0) return "правая часть ограничения " + std::to_string(y);
  return "коэффициент при " + var + " в ограничении " + std::to_string(y);
}

TStatementGrid StatementOfModel(const TZLPCore_SubInterface_ZLP& zlp) {
  const std::int32_t n = zlp.VarCount();
  const std::int32_t m = zlp.ConstraintCount();
  TStatementGrid grid(TT_LINEAR, n, m);
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

void NormalizeProgramCells(TStatementGrid& grid) {
  if (!grid.HasSigns()) return;
  for (std::int32_t y = grid.YFirst(); y <= grid.YLast(); ++y)
    for (std::int32_t x = grid.XFirst(); x <= grid.XLast(); ++x)
      if (TRational v{0, 1}; ParseInputNumber(grid.Cell(x, y), v)) grid.SetCell(x, y, RatToStr(v));
}

bool ParseInputNumber(const std::string& text, TRational& value) {
  TRational parsed{0, 1};
  if (!RatTryParse(parsed, text) || !RatIsValid(parsed)) return false;
  value = parsed;
  return true;
}

bool ReadCellNumber(const TStatementGrid& grid, std::int32_t x, std::int32_t y, TRational& value,
                    TStatementError& error) {
  if (ParseInputNumber(grid.Cell(x, y), value)) return true;
  error = {TStatementError::TPlace::Cell, x, y, CellName(grid, x, y), sEnterRational};
  return false;
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

bool ReadStatement(const TStatementGrid& grid, TZLPCore_Interface& data, TStatementError& error) {
  const TTaskInfo* info = FindTaskInfo(grid.TaskType);
  if (info == nullptr || info->Read == nullptr) {
    error = {TStatementError::TPlace::Whole, 0, 0, "", sNoSuchTask};
    return false;
  }
  if (!info->Read(grid, data, error)) return false;
  data.Statement = grid;
  data.Verdict.IsMax = grid.IsMax;
  return true;
}
