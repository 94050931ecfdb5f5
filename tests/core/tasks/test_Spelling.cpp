// The Russian a student reads is spelt right: the reports of every problem of tests/data/<task>/, the
// fixed message texts and the help pages go through the Russian dictionary of hunspell, with a short
// list of the subject's own terms that the dictionary does not know.
#include "BranchBound.h"
#include "ExactCheck.h"
#include "MessageRecorder.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "ZLPCore_Main.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Words of the subject, by their beginning (in lower case): names of methods and of people, the
// abbreviations of the problem classes, and terms of the theory that the dictionary lacks.
const std::vector<std::string> AllowedStems = {
    "вульф",     "гомори",       "длп",        "злп",           "лп",         "мнк",        "кун",
    "таккер",    "лемке",        "фогел",      "жорданов",      "максимиз",   "минимиз",    "матмодел",
    "небазисн",  "невогнут",     "невыпукл",   "невывезен",     "невычеркнут", "недефицитн", "нежёсткост",
    "неотмечен", "несовместн",   "однофакторн", "отсечени",     "полуопредел", "целочислен", "симплекс",
    "квазиоптим", "неотрицательн", "мультипликатор", "лексикограф"};

bool IsCyrillicStart(const std::string& s, std::size_t i) {
  // U+0400 ... U+04FF are D0 80 ... D3 BF in UTF-8.
  const auto c = static_cast<unsigned char>(s[i]);
  return c >= 0xD0 && c <= 0xD3 && i + 1 < s.size();
}

// Lower case of the Russian letters (А-Я, Ё) in UTF-8; other bytes as they are.
std::string Lower(std::string w) {
  std::string out;
  for (std::size_t i = 0; i < w.size(); ++i) {
    const auto c = static_cast<unsigned char>(w[i]);
    if (c == 0xD0 && i + 1 < w.size()) {
      const auto d = static_cast<unsigned char>(w[i + 1]);
      if (d >= 0x90 && d <= 0x9F) { // А-П -> а-п
        out += static_cast<char>(0xD0);
        out += static_cast<char>(d + 0x20);
        ++i;
        continue;
      }
      if (d >= 0xA0 && d <= 0xAF) { // Р-Я -> р-я
        out += static_cast<char>(0xD1);
        out += static_cast<char>(d - 0x20);
        ++i;
        continue;
      }
      if (d == 0x81) { // Ё -> ё
        out += static_cast<char>(0xD1);
        out += static_cast<char>(0x91);
        ++i;
        continue;
      }
    }
    out += w[i];
  }
  return out;
}

// The words of Russian letters in a page: tags and entities are taken out, words split at anything
// that is not a letter (a hyphen joins), words of one letter left out (т.е., variable letters).
void CollectWords(const std::string& html, const std::string& source, std::map<std::string, std::string>& words) {
  std::string text;
  text.reserve(html.size());
  for (std::size_t i = 0; i < html.size(); ++i) {
    if (html[i] == '<') {
      const auto end = html.find('>', i);
      if (end == std::string::npos) break;
      i = end;
      text += ' ';
    } else if (html[i] == '&') {
      const auto end = html.find(';', i);
      if (end != std::string::npos && end - i <= 8) i = end;
      text += ' ';
    } else {
      text += html[i];
    }
  }
  std::string word;
  int letters = 0;
  const auto flush = [&] {
    while (!word.empty() && word.back() == '-') word.pop_back();
    if (letters > 1 && words.find(word) == words.end()) words.emplace(word, source);
    word.clear();
    letters = 0;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsCyrillicStart(text, i)) {
      word += text.substr(i, 2);
      ++letters;
      ++i;
    } else if (text[i] == '-' && letters > 0) {
      word += '-';
    } else {
      flush();
    }
  }
  flush();
}

bool Allowed(const std::string& word) {
  const std::string lower = Lower(word);
  return std::any_of(AllowedStems.begin(), AllowedStems.end(),
                     [&lower](const std::string& stem) { return lower.rfind(stem, 0) == 0; });
}

// The words hunspell's Russian dictionary does not know, of those given.
std::set<std::string> Misspelt(const std::map<std::string, std::string>& words) {
  char name[] = "/tmp/kelvano-words-XXXXXX";
  const int fd = mkstemp(name);
  EXPECT_GE(fd, 0);
  if (fd < 0) return {};
  close(fd);
  {
    std::ofstream out(name, std::ios::binary);
    for (const auto& [word, source] : words) out << word << '\n';
  }
  std::set<std::string> unknown;
  const std::string command = std::string("hunspell -i utf-8 -d ru_RU -l ") + name + " 2>/dev/null";
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char line[512];
    while (fgets(line, sizeof line, pipe)) {
      std::string w(line);
      while (!w.empty() && (w.back() == '\n' || w.back() == '\r')) w.pop_back();
      if (!w.empty()) unknown.insert(w);
    }
    EXPECT_EQ(pclose(pipe), 0) << "hunspell with the Russian dictionary (packages hunspell, hunspell-ru) is needed";
  }
  fs::remove(name);
  return unknown;
}

std::map<std::string, std::string> ReportWords() {
  TMessageRecorder messages;
  std::map<std::string, std::string> words;
  for (const auto& folder : fs::directory_iterator(KELVANO_TEST_DATA)) {
    if (!folder.is_directory()) continue;
    for (const auto& file : fs::directory_iterator(folder.path())) {
      if (!file.is_regular_file() || file.path().filename() == "expected") continue;
      TTextFormatError textError;
      const auto grid = ParseStatementText(xc::ReadText(file.path()), textError);
      if (!grid) continue;
      // An integer program by each of its methods.
      for (const char* method : {"gomory", "branch"}) {
        TStatementGrid statement = *grid;
        if (statement.TaskType == TT_INTEGER) {
          EXPECT_TRUE(SetIntegerMethod(statement, method));
        } else if (std::string(method) != "gomory") {
          continue;
        }
        // And each start: the dual one and the artificial basis.
        for (const TStartMethod start : {TStartMethod::Dual, TStartMethod::Artificial}) {
          TZLPCore_Interface data;
          TStatementError error;
          if (!ReadStatement(statement, data, error)) continue;
          data.StartMethod = start;
          TZLPCore_SolutionResult report;
          static_cast<void>(RunTask(statement.TaskType, data, report));
          const std::string source = folder.path().filename().string() + "/" + file.path().filename().string();
          CollectWords(report.BuildDocument(), source, words);
        }
      }
    }
  }
  return words;
}

std::string Listing(const std::map<std::string, std::string>& words, const std::set<std::string>& unknown) {
  std::string list;
  for (const std::string& w : unknown)
    if (!Allowed(w)) {
      const auto at = words.find(w);
      list += "\n  " + w + " (" + (at != words.end() ? at->second : std::string("?")) + ")";
    }
  return list;
}

} // namespace

// The checker itself: a word it must know, a misspelt one it must not, so that a missing dictionary
// cannot pass every text.
TEST(Spelling, DictionaryKnowsRussian) {
  std::map<std::string, std::string> words{{"коэффициентов", "-"}, {"коээфициентов", "-"}, {"следующий", "-"},
                                           {"слудующий", "-"}};
  const std::set<std::string> unknown = Misspelt(words);
  EXPECT_EQ(unknown, (std::set<std::string>{"коээфициентов", "слудующий"}));
}

TEST(Spelling, ReportsOfEveryProblemType) {
  const std::map<std::string, std::string> words = ReportWords();
  ASSERT_GT(words.size(), 300U);
  EXPECT_EQ(Listing(words, Misspelt(words)), "");
}

TEST(Spelling, MessagesAndHelpPages) {
  std::map<std::string, std::string> words;
  // The fixed texts of the windows are the string literals of untStrConst.h.
  CollectWords(xc::ReadText(fs::path(KELVANO_SOURCE_DIR) / "core/base/untStrConst.h"), "untStrConst.h", words);
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(KELVANO_SOURCE_DIR) / "help"))
    if (entry.is_regular_file() && entry.path().extension() == ".html")
      CollectWords(xc::ReadText(entry.path()), fs::relative(entry.path(), KELVANO_SOURCE_DIR).string(), words);
  ASSERT_GT(words.size(), 300U);
  EXPECT_EQ(Listing(words, Misspelt(words)), "");
}
