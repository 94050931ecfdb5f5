// Parser of the hand-written text form of a linear program.
#include "ZLPCore_TextFormat.h"

#include "ZLPCore_SolutionResult.h"

#include <algorithm>
#include <sstream>

namespace {

constexpr std::int32_t MaxSize = 255;

std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line.substr(0, line.find('#')));
  for (std::string t; in >> t;) out.push_back(t);
  return out;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

bool IsRelation(const std::string& t) { return t == "<=" || t == "=" || t == ">=" || t == "=>"; }

// Valid UTF-8 without control characters other than tab, CR and LF.
bool LooksLikeText(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    std::uint32_t cp = 0;
    const std::size_t len = DecodeUtf8(s, i, cp);
    if (len == 0 || cp == 0x7F || (cp < 0x20 && cp != '\t' && cp != '\r' && cp != '\n')) return false;
    i += len;
  }
  return true;
}

bool Fail(TTextFormatError& error, int line, std::string field, std::string message) {
  error = {line, std::move(field), std::move(message)};
  return false;
}

bool CheckNumber(const std::string& token, int line, const std::string& field, TTextFormatError& error) {
  TRational r{0, 1};
  if (RatTryParse(r, token)) return true;
  return Fail(error, line, field, "\"" + token + "\" не является рациональным числом (пример: 5, 1/2, -4/3)");
}

} // namespace

std::optional<TLinearStatementText> ParseLinearProgramText(const std::string& text, TTextFormatError& error) {
  if (!LooksLikeText(text)) {
    Fail(error, 0, "", "файл не является текстом в кодировке UTF-8");
    return std::nullopt;
  }
  std::optional<bool> isMax;
  std::vector<std::string> objective;
  std::string freeTerm = "0";
  bool freeTermSeen = false;
  struct TRow {
    std::vector<std::string> Coeffs;
    std::string Relation;
    std::string Rhs;
  };
  std::vector<TRow> rows;

  std::istringstream in(text);
  int lineNo = 0;
  for (std::string line; std::getline(in, line);) {
    ++lineNo;
    const std::vector<std::string> t = Tokens(line);
    if (t.empty()) continue;
    const std::string head = Lower(t.front());
    if (!isMax) {
      if (head != "max" && head != "min") {
        Fail(error, lineNo, "направление", "первая строка задачи должна начинаться с max или min");
        return std::nullopt;
      }
      isMax = head == "max";
      if (t.size() < 2) {
        Fail(error, lineNo, "целевая функция", "после " + head + " нужны коэффициенты целевой функции");
        return std::nullopt;
      }
      if (t.size() - 1 > static_cast<std::size_t>(MaxSize)) {
        Fail(error, lineNo, "целевая функция", "переменных не может быть больше 255");
        return std::nullopt;
      }
      for (std::size_t k = 1; k < t.size(); ++k)
        if (!CheckNumber(t[k], lineNo, "коэффициент " + std::to_string(k) + " целевой функции", error))
          return std::nullopt;
      objective.assign(t.begin() + 1, t.end());
      continue;
    }
    if (head == "const") {
      if (freeTermSeen || !rows.empty()) {
        Fail(error, lineNo, "свободный член", "свободный член пишется один раз, сразу после целевой функции");
        return std::nullopt;
      }
      if (t.size() != 2) {
        Fail(error, lineNo, "свободный член", "после const нужно ровно одно число");
        return std::nullopt;
      }
      if (!CheckNumber(t[1], lineNo, "свободный член", error)) return std::nullopt;
      freeTerm = t[1];
      freeTermSeen = true;
      continue;
    }
    const auto rel = std::find_if(t.begin(), t.end(), IsRelation);
    if (rel == t.end()) {
      Fail(error, lineNo, "знак", "в ограничении нет знака <=, = или >=");
      return std::nullopt;
    }
    const auto count = static_cast<std::size_t>(rel - t.begin());
    if (count != objective.size()) {
      Fail(error, lineNo, "коэффициенты",
           "в ограничении " + std::to_string(count) + " коэффициентов, а в целевой функции " +
               std::to_string(objective.size()));
      return std::nullopt;
    }
    if (t.end() - rel != 2) {
      Fail(error, lineNo, "правая часть", "после знака нужно ровно одно число — правая часть");
      return std::nullopt;
    }
    for (std::size_t k = 0; k < count; ++k)
      if (!CheckNumber(t[k], lineNo, "коэффициент " + std::to_string(k + 1), error)) return std::nullopt;
    if (!CheckNumber(t.back(), lineNo, "правая часть", error)) return std::nullopt;
    if (rows.size() == static_cast<std::size_t>(MaxSize)) {
      Fail(error, lineNo, "ограничения", "ограничений не может быть больше 255");
      return std::nullopt;
    }
    rows.push_back({std::vector<std::string>(t.begin(), rel), *rel == "=>" ? ">=" : *rel, t.back()});
  }
  if (!isMax) {
    Fail(error, 0, "", "файл не содержит задачи: нет строки max или min");
    return std::nullopt;
  }
  if (rows.empty()) {
    Fail(error, 0, "", "в задаче нет ни одного ограничения");
    return std::nullopt;
  }

  TLinearStatementText s;
  const auto n = static_cast<std::int32_t>(objective.size());
  const auto m = static_cast<std::int32_t>(rows.size());
  s.Resize(n, m);
  s.IsMax = *isMax;
  s.Cell(0, 0) = freeTerm;
  for (std::int32_t j = 1; j <= n; ++j) s.Cell(j, 0) = objective[static_cast<std::size_t>(j - 1)];
  for (std::int32_t i = 1; i <= m; ++i) {
    const TRow& row = rows[static_cast<std::size_t>(i - 1)];
    s.Cell(0, i) = row.Rhs;
    for (std::int32_t j = 1; j <= n; ++j) s.Cell(j, i) = row.Coeffs[static_cast<std::size_t>(j - 1)];
    s.Signs[static_cast<std::size_t>(i - 1)] = SignFromText(row.Relation);
  }
  return s;
}
