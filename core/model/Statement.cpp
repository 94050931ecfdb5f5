// The statement grid: its layouts, and reading it into the problem container.
#include "Statement.h"

#include "untStrConst.h"

#include <algorithm>

namespace {

const std::string Nothing;

TCellRect ProgramCells(std::int32_t sx, std::int32_t sy) { return {0, sx, 0, sy}; }
std::string LinearCellName(std::int32_t x, std::int32_t y) { return ProgramCellName(x, y); }

} // namespace

const TStatementLayout& ProgramLayout() {
  static const TStatementLayout layout{ProgramCells, LinearCellName, true, false, false};
  return layout;
}

void TStatementGrid::Reshape(std::uint8_t taskType, const TStatementLayout& layout, std::int32_t sx, std::int32_t sy) {
  sx = std::max(sx, 0);
  sy = std::max(sy, 0);
  const TCellRect r = layout.Cells != nullptr ? layout.Cells(sx, sy) : TCellRect{};
  const std::size_t width = static_cast<std::size_t>(std::max(r.X1 - r.X0 + 1, 0));
  const std::size_t height = static_cast<std::size_t>(std::max(r.Y1 - r.Y0 + 1, 0));
  std::vector<std::string> cells(width * height, "0");
  for (std::int32_t y = r.Y0; y <= r.Y1; ++y)
    for (std::int32_t x = r.X0; x <= r.X1; ++x)
      if (HasCell(x, y))
        cells[static_cast<std::size_t>(y - r.Y0) * width + static_cast<std::size_t>(x - r.X0)] =
            std::move(Cells[Index(x, y)]);

  const bool quad = layout.Quad;
  std::vector<std::string> quadCells(quad ? static_cast<std::size_t>(sx) * static_cast<std::size_t>(sx) : 0, "0");
  if (quad)
    for (std::int32_t y = 1; y <= std::min(sx, Sx); ++y)
      for (std::int32_t x = 1; x <= std::min(sx, Sx); ++x)
        if (!QuadCells.empty())
          quadCells[static_cast<std::size_t>(y - 1) * static_cast<std::size_t>(sx) + static_cast<std::size_t>(x - 1)] =
              std::move(QuadCells[static_cast<std::size_t>(y - 1) * static_cast<std::size_t>(Sx) +
                                  static_cast<std::size_t>(x - 1)]);

  TaskType = taskType;
  Layout = layout;
  Signs.resize(layout.Signs ? static_cast<std::size_t>(sy) : 0, 0);
  Integer.resize(layout.Ticks ? static_cast<std::size_t>(sx) : 0, 0);
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
  const TStatementLayout& layout = grid.GetLayout();
  return layout.CellName != nullptr ? layout.CellName(x, y) : ProgramCellName(x, y);
}

std::string ProgramCellName(std::int32_t x, std::int32_t y, std::int32_t objectiveRow) {
  const std::string var = "X" + std::to_string(x);
  if (y == -1) return x == 0 ? "свободный член числителя" : "коэффициент при " + var + " в числителе";
  if (y == 0 && objectiveRow == -1)
    return x == 0 ? "свободный член знаменателя" : "коэффициент при " + var + " в знаменателе";
  if (y == 0) return x == 0 ? "свободный член целевой функции" : "коэффициент при " + var + " в целевой функции";
  if (x == 0) return "правая часть ограничения " + std::to_string(y);
  return "коэффициент при " + var + " в ограничении " + std::to_string(y);
}

void NormalizeProgramCells(TStatementGrid& grid) {
  if (!grid.HasSigns()) return;
  for (std::int32_t y = grid.YFirst(); y <= grid.YLast(); ++y)
    for (std::int32_t x = grid.XFirst(); x <= grid.XLast(); ++x)
      if (TRational v{0, 1}; ParseInputNumber(grid.Cell(x, y), v)) grid.SetCell(x, y, RatToStr(v));
}

std::string InputNumberMessage(const std::string& text) {
  const std::string problem = RatInputProblem(text);
  return problem.empty() ? std::string(sEnterRational) : problem + ". " + sEnterRational;
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
  error = {TStatementError::TPlace::Cell, x, y, CellName(grid, x, y), InputNumberMessage(grid.Cell(x, y))};
  return false;
}
