// Parser and writer of the hand-written text form of every task type.
#include "TextFormat.h"

#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

namespace {

constexpr std::int32_t MaxSize = 255;
constexpr std::int32_t MaxObservations = 32000;

using TLine = TTextLine;

std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line.substr(0, line.find('#')));
  for (std::string t; in >> t;) out.push_back(t);
  return out;
}

// The lines that hold something, at most most of them; CR LF, LF and a lone CR all end a line.
std::vector<TLine> SplitLines(const std::string& text, std::size_t most = std::string::npos) {
  std::vector<TLine> lines;
  int no = 0;
  std::size_t start = 0;
  while (start <= text.size() && lines.size() < most) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    ++no;
    std::vector<std::string> t = Tokens(text.substr(start, end - start));
    if (!t.empty()) lines.push_back({no, std::move(t)});
    if (end == text.size()) break;
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

bool IsRelation(const std::string& t) { return t == "<=" || t == "=" || t == ">=" || t == "=>"; }

// The offset of the first byte that is not valid UTF-8 or is a control character other than tab,
// CR and LF; npos for a text.
std::size_t FirstNonTextByte(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    std::uint32_t cp = 0;
    const std::size_t len = DecodeUtf8(s, i, cp);
    if (len == 0 || cp == 0x7F || (cp < 0x20 && cp != '\t' && cp != '\r' && cp != '\n')) return i;
    i += len;
  }
  return std::string::npos;
}

// The number of the line that holds offset, counted as SplitLines counts them.
int LineAt(const std::string& s, std::size_t offset) {
  int line = 1;
  for (std::size_t i = 0; i < offset; ++i)
    if (s[i] == '\n' || (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n'))) ++line;
  return line;
}

bool Fail(TTextFormatError& error, int line, std::string field, std::string message) {
  error.Line = line;
  error.Field = std::move(field);
  error.Message = std::move(message);
  return false;
}

bool CheckNumber(const std::string& token, int line, const std::string& field, TTextFormatError& error) {
  TRational r{0, 1};
  if (ParseInputNumber(token, r)) return true;
  return Fail(error, line, field, "\"" + token + "\" не является рациональным числом (пример: 5, 1/2, -4/3)");
}

bool CheckDecimal(const std::string& token, int line, const std::string& field, TTextFormatError& error) {
  double v = 0;
  const char* first = token.data();
  const char* last = first + token.size();
  if (!token.empty() && *first == '+') ++first;
  const auto [end, ec] = std::from_chars(first, last, v);
  if (ec == std::errc() && end == last && std::isfinite(v)) return true;
  return Fail(error, line, field, "\"" + token + "\" не является десятичным числом (пример: 2.5, -1e3)");
}

bool CheckCost(const std::string& token, int line, const std::string& field, TTextFormatError& error) {
  std::int64_t v = 0;
  const char* first = token.data();
  const char* last = first + token.size();
  const auto [end, ec] = std::from_chars(first, last, v);
  if (ec == std::errc() && end == last && v >= 0 && v <= 2147483647) return true;
  return Fail(error, line, field, "\"" + token + "\" не является целым неотрицательным числом до 2147483647");
}

bool CheckAll(const std::vector<std::string>& t, std::size_t from, int line, const std::string& what,
              TTextFormatError& error) {
  for (std::size_t k = from; k < t.size(); ++k)
    if (!CheckNumber(t[k], line, "коэффициент " + std::to_string(k - from + 1) + what, error)) return false;
  return true;
}

} // namespace

std::optional<TStatementGrid> ReadCuttingText(const std::vector<TTextLine>& lines, TStatementFactory make,
                                              TTextFormatError& error) {
  if (lines.front().Tokens.size() != 1) {
    Fail(error, lines.front().No, "cut", "после cut в той же строке ничего не пишется");
    return std::nullopt;
  }
  std::optional<std::string> material;
  std::vector<std::string> proportions;
  std::vector<std::vector<std::string>> patterns;
  for (std::size_t k = 1; k < lines.size(); ++k) {
    const TLine& line = lines[k];
    const std::string head = Lower(line.Tokens.front());
    if (head == "material") {
      if (material || line.Tokens.size() != 2) {
        Fail(error, line.No, "материал", "нужна одна строка material с одним числом");
        return std::nullopt;
      }
      if (!CheckNumber(line.Tokens[1], line.No, "материал", error)) return std::nullopt;
      material = line.Tokens[1];
    } else if (head == "proportions") {
      if (!proportions.empty() || line.Tokens.size() < 2) {
        Fail(error, line.No, "пропорции", "нужна одна строка proportions с долей каждого продукта");
        return std::nullopt;
      }
      if (line.Tokens.size() - 1 > static_cast<std::size_t>(MaxSize)) {
        Fail(error, line.No, "пропорции", "продуктов не может быть больше 255");
        return std::nullopt;
      }
      for (std::size_t i = 1; i < line.Tokens.size(); ++i)
        if (!CheckNumber(line.Tokens[i], line.No, "доля продукта " + std::to_string(i), error)) return std::nullopt;
      proportions.assign(line.Tokens.begin() + 1, line.Tokens.end());
    } else if (head == "pattern") {
      if (proportions.empty()) {
        Fail(error, line.No, "способ раскроя", "строки pattern пишутся после строки proportions");
        return std::nullopt;
      }
      if (line.Tokens.size() - 1 != proportions.size()) {
        Fail(error, line.No, "способ раскроя",
             "в способе раскроя нужно " + std::to_string(proportions.size()) + " чисел, по одному на продукт");
        return std::nullopt;
      }
      if (patterns.size() == static_cast<std::size_t>(MaxSize)) {
        Fail(error, line.No, "способ раскроя", "способов раскроя не может быть больше 255");
        return std::nullopt;
      }
      for (std::size_t i = 1; i < line.Tokens.size(); ++i)
        if (!CheckNumber(line.Tokens[i], line.No, "выход продукта " + std::to_string(i), error)) return std::nullopt;
      patterns.emplace_back(line.Tokens.begin() + 1, line.Tokens.end());
    } else {
      Fail(error, line.No, head, "в задаче о раскрое допустимы только строки material, proportions и pattern");
      return std::nullopt;
    }
  }
  if (!material || proportions.empty() || patterns.empty()) {
    Fail(error, 0, "", "в задаче о раскрое нужны строки material, proportions и хотя бы одна строка pattern");
    return std::nullopt;
  }
  const auto sx = static_cast<std::int32_t>(patterns.size());
  const auto sy = static_cast<std::int32_t>(proportions.size());
  TStatementGrid grid = make(TT_CUTTING, sx, sy);
  grid.Material = *material;
  for (std::int32_t y = 1; y <= sy; ++y) {
    grid.SetCell(0, y, proportions[static_cast<std::size_t>(y - 1)]);
    for (std::int32_t x = 1; x <= sx; ++x)
      grid.SetCell(x, y, patterns[static_cast<std::size_t>(x - 1)][static_cast<std::size_t>(y - 1)]);
  }
  return grid;
}

std::optional<TStatementGrid> ReadAssignmentText(const std::vector<TTextLine>& lines, TStatementFactory make,
                                                 TTextFormatError& error) {
  const TLine& first = lines.front();
  const std::string direction = first.Tokens.size() == 2 ? Lower(first.Tokens[1]) : "";
  if (direction != "min" && direction != "max") {
    Fail(error, first.No, "направление", "после assign нужно min или max");
    return std::nullopt;
  }
  const auto n = static_cast<std::int32_t>(lines.size() - 1);
  if (n < 3 || n > MaxSize) {
    Fail(error, 0, "", "матрица задачи о назначении должна иметь от 3 до 255 строк");
    return std::nullopt;
  }
  TStatementGrid grid = make(TT_ASSIGNMENT, n, n);
  grid.IsMax = direction == "max";
  for (std::int32_t y = 1; y <= n; ++y) {
    const TLine& line = lines[static_cast<std::size_t>(y)];
    if (line.Tokens.size() != static_cast<std::size_t>(n)) {
      Fail(error, line.No, "строка " + std::to_string(y),
           "в строке матрицы нужно " + std::to_string(n) + " чисел: матрица квадратная");
      return std::nullopt;
    }
    for (std::int32_t x = 1; x <= n; ++x) {
      const std::string& token = line.Tokens[static_cast<std::size_t>(x - 1)];
      if (!CheckCost(token, line.No, "столбец " + std::to_string(x), error)) return std::nullopt;
      grid.SetCell(x, y, token);
    }
  }
  return grid;
}

// lines: those of the text up to one observation past the limit.
std::optional<TStatementGrid> ReadRegressionText(const std::vector<TTextLine>& lines, TStatementFactory make,
                                                 TTextFormatError& error) {
  if (lines.front().Tokens.size() != 1) {
    Fail(error, lines.front().No, "regress", "после regress в той же строке ничего не пишется");
    return std::nullopt;
  }
  const auto n = static_cast<std::int32_t>(lines.size() - 1);
  if (n > MaxObservations) {
    Fail(error, lines.back().No, "наблюдение " + std::to_string(n), "наблюдений больше 32000: дальше файл не читается");
    return std::nullopt;
  }
  if (n < 2) {
    Fail(error, 0, "", "наблюдений должно быть от 2 до 32000");
    return std::nullopt;
  }
  TStatementGrid grid = make(TT_REGRESSION, n, 0);
  for (std::int32_t y = 1; y <= n; ++y) {
    const TLine& line = lines[static_cast<std::size_t>(y)];
    if (line.Tokens.size() != 2) {
      Fail(error, line.No, "наблюдение " + std::to_string(y), "в строке наблюдения нужны два числа: x и y");
      return std::nullopt;
    }
    if (!CheckDecimal(line.Tokens[0], line.No, "x", error) || !CheckDecimal(line.Tokens[1], line.No, "y", error))
      return std::nullopt;
    grid.SetCell(0, y, line.Tokens[0]);
    grid.SetCell(1, y, line.Tokens[1]);
  }
  return grid;
}

std::optional<TStatementGrid> ReadProgramText(const std::vector<TTextLine>& lines, TStatementFactory make,
                                              TTextFormatError& error) {
  const TLine& first = lines.front();
  const std::string head = Lower(first.Tokens.front());
  if (head != "max" && head != "min") {
    Fail(error, first.No, "направление", "первая строка задачи должна начинаться с max или min");
    return std::nullopt;
  }
  if (first.Tokens.size() < 2) {
    Fail(error, first.No, "целевая функция", "после " + head + " нужны коэффициенты целевой функции");
    return std::nullopt;
  }
  if (first.Tokens.size() - 1 > static_cast<std::size_t>(MaxSize)) {
    Fail(error, first.No, "целевая функция", "переменных не может быть больше 255");
    return std::nullopt;
  }
  if (!CheckAll(first.Tokens, 1, first.No, " целевой функции", error)) return std::nullopt;
  const std::vector<std::string> objective(first.Tokens.begin() + 1, first.Tokens.end());
  const std::size_t n = objective.size();

  std::uint8_t type = TT_LINEAR;
  const auto becomes = [&type, &error](std::uint8_t t, const TLine& line, const std::string& keyword) {
    if (type == TT_LINEAR || type == t) {
      type = t;
      error.TaskType = t;
      return true;
    }
    return Fail(error, line.No, keyword, "ключевое слово " + keyword + " относится к задаче другого типа");
  };
  std::string freeTerm = "0";
  bool freeTermSeen = false;
  std::vector<std::uint8_t> integer(n, 0);
  std::vector<std::string> den;
  std::optional<std::string> denConst;
  std::vector<std::vector<std::string>> quad;
  struct TRow {
    std::vector<std::string> Coeffs;
    std::string Relation;
    std::string Rhs;
  };
  std::vector<TRow> rows;

  for (std::size_t k = 1; k < lines.size(); ++k) {
    const TLine& line = lines[k];
    const std::vector<std::string>& t = line.Tokens;
    const std::string word = Lower(t.front());
    if (word == "const") {
      if (freeTermSeen || !rows.empty()) {
        Fail(error, line.No, "свободный член", "свободный член пишется один раз, сразу после целевой функции");
        return std::nullopt;
      }
      if (t.size() != 2) {
        Fail(error, line.No, "свободный член", "после const нужно ровно одно число");
        return std::nullopt;
      }
      if (!CheckNumber(t[1], line.No, "свободный член", error)) return std::nullopt;
      freeTerm = t[1];
      freeTermSeen = true;
    } else if (word == "int") {
      if (!becomes(TT_INTEGER, line, "int")) return std::nullopt;
      if (t.size() < 2) {
        Fail(error, line.No, "int", "после int нужны номера целочисленных переменных");
        return std::nullopt;
      }
      for (std::size_t i = 1; i < t.size(); ++i) {
        std::int32_t j = 0;
        const auto [end, ec] = std::from_chars(t[i].data(), t[i].data() + t[i].size(), j);
        if (ec != std::errc() || end != t[i].data() + t[i].size() || j < 1 || static_cast<std::size_t>(j) > n) {
          Fail(error, line.No, "int",
               "\"" + t[i] + "\" не номер переменной: нужны номера от 1 до " + std::to_string(n));
          return std::nullopt;
        }
        integer[static_cast<std::size_t>(j - 1)] = 1;
      }
    } else if (word == "den") {
      if (!becomes(TT_FRACTIONAL, line, "den")) return std::nullopt;
      if (!den.empty() || t.size() - 1 != n) {
        Fail(error, line.No, "знаменатель",
             "нужна одна строка den с " + std::to_string(n) + " коэффициентами, как в целевой функции");
        return std::nullopt;
      }
      if (!CheckAll(t, 1, line.No, " знаменателя", error)) return std::nullopt;
      den.assign(t.begin() + 1, t.end());
    } else if (word == "denconst") {
      if (!becomes(TT_FRACTIONAL, line, "denconst")) return std::nullopt;
      if (denConst || t.size() != 2) {
        Fail(error, line.No, "свободный член знаменателя", "нужна одна строка denconst с одним числом");
        return std::nullopt;
      }
      if (!CheckNumber(t[1], line.No, "свободный член знаменателя", error)) return std::nullopt;
      denConst = t[1];
    } else if (word == "quad") {
      if (!becomes(TT_QUADRATIC, line, "quad")) return std::nullopt;
      if (t.size() - 1 != n || quad.size() == n) {
        Fail(error, line.No, "quad",
             "нужно " + std::to_string(n) + " строк quad по " + std::to_string(n) + " коэффициентов");
        return std::nullopt;
      }
      if (!CheckAll(t, 1, line.No, " строки quad " + std::to_string(quad.size() + 1), error)) return std::nullopt;
      quad.emplace_back(t.begin() + 1, t.end());
    } else if (word == "max" || word == "min") {
      Fail(error, line.No, "целевая функция",
           "вторая строка целевой функции: max или min пишется только в первой строке задачи");
      return std::nullopt;
    } else {
      const auto rel = std::find_if(t.begin(), t.end(), IsRelation);
      if (rel == t.end()) {
        Fail(error, line.No, "знак", "в ограничении нет знака <=, = или >=");
        return std::nullopt;
      }
      const auto count = static_cast<std::size_t>(rel - t.begin());
      if (count != n) {
        Fail(error, line.No, "коэффициенты",
             "в ограничении " + std::to_string(count) + " коэффициентов, а в целевой функции " + std::to_string(n));
        return std::nullopt;
      }
      if (t.end() - rel != 2) {
        Fail(error, line.No, "правая часть", "после знака нужно ровно одно число — правая часть");
        return std::nullopt;
      }
      for (std::size_t c = 0; c < count; ++c)
        if (!CheckNumber(t[c], line.No, "коэффициент " + std::to_string(c + 1), error)) return std::nullopt;
      if (!CheckNumber(t.back(), line.No, "правая часть", error)) return std::nullopt;
      if (rows.size() == static_cast<std::size_t>(MaxSize)) {
        Fail(error, line.No, "ограничения", "ограничений не может быть больше 255");
        return std::nullopt;
      }
      rows.push_back({std::vector<std::string>(t.begin(), rel), *rel == "=>" ? ">=" : *rel, t.back()});
    }
  }
  if (rows.empty()) {
    Fail(error, 0, "", "в задаче нет ни одного ограничения");
    return std::nullopt;
  }
  if (type == TT_FRACTIONAL && den.empty()) {
    Fail(error, 0, "знаменатель", "в дробно-линейной задаче нужна строка den с коэффициентами знаменателя");
    return std::nullopt;
  }
  if (type == TT_QUADRATIC && quad.size() != n) {
    Fail(error, 0, "quad", "нужно " + std::to_string(n) + " строк quad, по одной на каждую переменную");
    return std::nullopt;
  }

  const auto sx = static_cast<std::int32_t>(n);
  const auto sy = static_cast<std::int32_t>(rows.size());
  TStatementGrid grid = make(type, sx, sy);
  grid.IsMax = head == "max";
  const std::int32_t objectiveRow = type == TT_FRACTIONAL ? -1 : 0;
  grid.SetCell(0, objectiveRow, freeTerm);
  for (std::int32_t j = 1; j <= sx; ++j) grid.SetCell(j, objectiveRow, objective[static_cast<std::size_t>(j - 1)]);
  if (type == TT_FRACTIONAL) {
    grid.SetCell(0, 0, denConst.value_or("0"));
    for (std::int32_t j = 1; j <= sx; ++j) grid.SetCell(j, 0, den[static_cast<std::size_t>(j - 1)]);
  }
  for (std::int32_t i = 1; i <= sy; ++i) {
    const TRow& row = rows[static_cast<std::size_t>(i - 1)];
    grid.SetCell(0, i, row.Rhs);
    for (std::int32_t j = 1; j <= sx; ++j) grid.SetCell(j, i, row.Coeffs[static_cast<std::size_t>(j - 1)]);
    grid.Signs[static_cast<std::size_t>(i - 1)] = SignFromText(row.Relation);
  }
  if (type == TT_INTEGER) grid.Integer = integer;
  if (type == TT_QUADRATIC)
    for (std::int32_t y = 1; y <= sx; ++y)
      for (std::int32_t x = 1; x <= sx; ++x)
        grid.SetQuad(x, y, quad[static_cast<std::size_t>(y - 1)][static_cast<std::size_t>(x - 1)]);
  return grid;
}

std::optional<std::vector<TTextLine>> SplitStatementText(const std::string& source, TTextFormatError& error,
                                                        std::size_t most) {
  // A byte order mark some editors put first is not part of the text.
  const std::size_t mark = source.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
  const std::string text = source.substr(mark);
  if (const std::size_t bad = FirstNonTextByte(text); bad != std::string::npos) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(text[bad]);
    Fail(error, LineAt(text, bad), "байт " + std::to_string(mark + bad + 1),
         std::string("файл не является текстом в кодировке UTF-8 (значение байта 0x") + Hex[byte >> 4] +
             Hex[byte & 15] + ")");
    return std::nullopt;
  }
  const std::vector<TLine> lines = SplitLines(text, most);
  if (lines.empty()) {
    Fail(error, 0, "", "файл не содержит задачи: нет строки max или min");
    return std::nullopt;
  }
  return lines;
}

namespace {

std::string Join(const TStatementGrid& grid, std::int32_t y, std::int32_t from, std::int32_t to) {
  std::string line;
  for (std::int32_t x = from; x <= to; ++x) line += (x == from ? "" : " ") + grid.Cell(x, y);
  return line;
}

} // namespace

std::string WriteCuttingText(const TStatementGrid& grid) {
  std::string out = "cut\nmaterial " + grid.Material + "\nproportions";
  for (std::int32_t y = 1; y <= grid.Sy; ++y) out += " " + grid.Cell(0, y);
  out += "\n";
  for (std::int32_t x = 1; x <= grid.Sx; ++x) {
    out += "pattern";
    for (std::int32_t y = 1; y <= grid.Sy; ++y) out += " " + grid.Cell(x, y);
    out += "\n";
  }
  return out;
}

std::string WriteAssignmentText(const TStatementGrid& grid) {
  std::string out = std::string("assign ") + (grid.IsMax ? "max" : "min") + "\n";
  for (std::int32_t y = 1; y <= grid.Sx; ++y) out += Join(grid, y, 1, grid.Sx) + "\n";
  return out;
}

std::string WriteRegressionText(const TStatementGrid& grid) {
  std::string out = "regress\n";
  for (std::int32_t y = 1; y <= grid.Sx; ++y) out += Join(grid, y, 0, 1) + "\n";
  return out;
}

std::string WriteProgramText(const TStatementGrid& grid) {
  const std::int32_t n = grid.Sx;
  // A linear-fractional program has its numerator in row -1 and its denominator in row 0.
  const bool fractional = grid.YFirst() == -1;
  const std::int32_t objectiveRow = fractional ? -1 : 0;
  std::string out = std::string(grid.IsMax ? "max " : "min ") + Join(grid, objectiveRow, 1, n) + "\n";
  out += "const " + grid.Cell(0, objectiveRow) + "\n";
  for (std::int32_t i = 1; i <= grid.Sy; ++i)
    out += Join(grid, i, 1, n) + " " + SignToText(grid.Signs[static_cast<std::size_t>(i - 1)]) + " " + grid.Cell(0, i) +
           "\n";
  if (fractional) out += "den " + Join(grid, 0, 1, n) + "\ndenconst " + grid.Cell(0, 0) + "\n";
  if (grid.HasTicks()) {
    std::string ticks;
    for (std::int32_t j = 1; j <= n; ++j)
      if (grid.Integer[static_cast<std::size_t>(j - 1)] != 0) ticks += " " + std::to_string(j);
    if (!ticks.empty()) out += "int" + ticks + "\n";
  }
  if (grid.HasQuad())
    for (std::int32_t y = 1; y <= n; ++y) {
      out += "quad";
      for (std::int32_t x = 1; x <= n; ++x) out += " " + grid.Quad(x, y);
      out += "\n";
    }
  return out;
}
