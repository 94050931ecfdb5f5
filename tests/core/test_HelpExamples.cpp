// Every worked example in the help pages is solved here, so the help cannot drift from the program.
// An example carries its statement and answer as attributes:
//   data-problem="max 1 2 | 3 2 &lt;= 6 | 1 3 &lt;= 3" (lines of the text form, split by '|')
//   data-answer="X1 = 12/7; X2 = 3/7; Z = 18/7" (Z is the objective as entered)
#include "RatTestUtil.h"

#include "SimplexMethod.h"
#include "ZLPCore_TextFormat.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string Unescape(std::string s) {
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}})
    for (auto pos = s.find(from); pos != std::string::npos; pos = s.find(from, pos + to.size()))
      s.replace(pos, from.size(), to);
  return s;
}

struct TExample {
  std::string Page;
  std::string Problem;
  std::string Answer;
};

std::vector<TExample> Examples() {
  std::vector<TExample> out;
  const std::regex tag(R"re(data-problem="([^"]*)"\s+data-answer="([^"]*)")re");
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(KELVANO_SOURCE_DIR) / "help")) {
    if (entry.path().extension() != ".html") continue;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    const std::string page = text.str();
    for (std::sregex_iterator it(page.begin(), page.end(), tag), end; it != end; ++it)
      out.push_back({entry.path().filename().string(), Unescape((*it)[1]), Unescape((*it)[2])});
  }
  return out;
}

TEST(HelpExamples, EveryWorkedExampleHasTheAnswerThePageGives) {
  const std::vector<TExample> examples = Examples();
  ASSERT_FALSE(examples.empty()) << "no worked example found in the help pages";
  for (const TExample& e : examples) {
    SCOPED_TRACE(e.Page + ": " + e.Problem);
    std::string text = e.Problem;
    for (char& c : text)
      if (c == '|') c = '\n';
    TTextFormatError error;
    const auto statement = ParseLinearProgramText(text, error);
    ASSERT_TRUE(statement.has_value()) << error.Message;
    TZLPCore_Interface data;
    ASSERT_TRUE(ReadLinearStatement(*statement, data.ZLP));
    const bool isMax = data.ZLP.IsMax;
    TZLPCore_SolutionResult report;
    data.ZLP.ToCanonical(report);
    ASSERT_TRUE(data.ZLP.BuildTable(&data.Table));
    TSimplexMethod method(data.Table);
    method.Start();
    method.Solve();
    ASSERT_EQ(data.Table.State, SS_OPTIMAL);

    std::stringstream answer(e.Answer);
    for (std::string item; std::getline(answer, item, ';');) {
      const auto eq = item.find('=');
      ASSERT_NE(eq, std::string::npos) << item;
      std::string name = item.substr(0, eq);
      name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
      std::string value = item.substr(eq + 1);
      value.erase(std::remove(value.begin(), value.end(), ' '), value.end());
      SCOPED_TRACE(name);
      if (name == "Z") {
        TRational z = data.Table.GetZValue();
        if (!isMax) RatScale(z, -1);
        EXPECT_RAT(z, value);
      } else {
        EXPECT_RAT(data.Table.ValueOf(name), value);
      }
    }
  }
}

} // namespace
