// Every worked example in the help pages is solved here, so the help cannot drift from the program.
// An example carries its statement and answer as attributes:
//   data-problem="max 1 2 | 3 2 &lt;= 6 | 1 3 &lt;= 3" (lines of the text form, split by '|')
//   data-answer="X1 = 12/7; X2 = 3/7; Z = 18/7" (Z is the objective as entered)
// Every form of the text form may be used (cut, assign, regress included); the answer may also give
// "A = ...; B = ..." (regression, compared to 1e-9) and "status = ..." (the status word of --json).
// For an assignment problem Z is the total and "X2 = 3" says that row 2 is assigned column 3.
// A linear program may also give its dual estimates "Y1 = 3/2" and the sensitivity ranges
// "b1 = 6..21/2", "c2 = -inf..3" (inf for an unbounded side).
// A transportation problem gives its plan: "x2_3 = 20" is the shipment from supplier 2 to consumer 3.
// An example of the simplex step may choose its start and the form of its tables,
//   data-start="artificial" data-table="textbook" (the values of kelvano-solve's --start and --table),
// and give the index row of its first table, data-delta="-23M; -4M + 3; ..." (Z, then Δ1 ... Δn as
// the report writes them).
// The example is solved by the task runner, as kelvano-solve and the wizard solve it.
#include "MessageRecorder.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
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
  std::map<std::string, std::string> Extra; // data-start, data-table, data-delta
};

std::vector<TExample> Examples() {
  std::vector<TExample> out;
  const std::regex tag(R"re(data-problem="([^"]*)"\s+data-answer="([^"]*)"((?:\s+data-[a-z]+="[^"]*")*))re");
  const std::regex extra(R"re(data-([a-z]+)="([^"]*)")re");
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(KELVANO_SOURCE_DIR) / "help")) {
    if (entry.path().extension() != ".html") continue;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    const std::string page = text.str();
    for (std::sregex_iterator it(page.begin(), page.end(), tag), end; it != end; ++it) {
      TExample e{entry.path().filename().string(), Unescape((*it)[1]), Unescape((*it)[2]), {}};
      const std::string more = (*it)[3];
      for (std::sregex_iterator x(more.begin(), more.end(), extra); x != end; ++x) e.Extra[(*x)[1]] = Unescape((*x)[2]);
      out.push_back(std::move(e));
    }
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
    const auto statement = ParseStatementText(text, error);
    ASSERT_TRUE(statement.has_value()) << error.Message;
    TMessageRecorder messages;
    TZLPCore_Interface data;
    TStatementError readError;
    ASSERT_TRUE(ReadStatement(*statement, data, readError)) << readError.Message;
    if (e.Extra.count("start")) data.StartMethod = e.Extra.at("start") == "artificial" ? TStartMethod::Artificial : TStartMethod::Dual;
    if (e.Extra.count("table")) data.TableForm = e.Extra.at("table") == "textbook" ? TTableForm::Textbook : TTableForm::Compact;
    TZLPCore_SolutionResult report;
    const TTaskVerdict v = RunTask(statement->TaskType, data, report);
    if (e.Extra.count("delta")) {
      // The index row of the first simplex table, cell by cell.
      const std::string text = report.GetText();
      const std::size_t label = text.find(data.TableForm == TTableForm::Textbook ? "&Delta;<sub>j</sub></td><td class=\"clsSimCell\">Z =</td>"
                                                                                 : "<td class=\"clsSimCell\">Z</td>");
      ASSERT_NE(label, std::string::npos) << "no simplex table in the report";
      const std::string row = text.substr(label, text.find("</tr>", label) - label);
      std::vector<std::string> cells;
      for (std::size_t c = row.find("<td", 1); c != std::string::npos; c = row.find("<td", c + 1)) {
        const std::size_t open = row.find('>', c) + 1;
        cells.push_back(row.substr(open, row.find("</td>", open) - open));
      }
      if (data.TableForm == TTableForm::Textbook) cells.erase(cells.begin()); // "Z ="
      while (!cells.empty() && cells.back() == "&nbsp;") cells.pop_back(); // the cell under θ
      std::vector<std::string> expected;
      std::stringstream list(e.Extra.at("delta"));
      for (std::string item; std::getline(list, item, ';');) {
        item.erase(0, item.find_first_not_of(' '));
        item.erase(item.find_last_not_of(' ') + 1);
        expected.push_back(item);
      }
      EXPECT_EQ(cells, expected);
    }

    std::stringstream answer(e.Answer);
    bool statusGiven = false;
    for (std::string item; std::getline(answer, item, ';');) {
      const auto eq = item.find('=');
      ASSERT_NE(eq, std::string::npos) << item;
      std::string name = item.substr(0, eq);
      name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
      std::string value = item.substr(eq + 1);
      value.erase(std::remove(value.begin(), value.end(), ' '), value.end());
      SCOPED_TRACE(name);
      if (name == "status") {
        statusGiven = true;
        EXPECT_EQ(StatusName(v.Status), value);
      } else if (name == "Z") {
        if (v.Total)
          EXPECT_EQ(std::to_string(*v.Total), value);
        else if (v.Objective)
          EXPECT_EQ(RatToStr(*v.Objective), value);
        else
          ADD_FAILURE() << "no objective";
      } else if (name == "A" || name == "B") {
        const std::optional<double> got = name == "A" ? v.A : v.B;
        ASSERT_TRUE(got.has_value());
        EXPECT_NEAR(*got, std::stod(value), 1e-9 * std::max(1.0, std::abs(std::stod(value))));
      } else if (name.size() > 3 && name[0] == 'x' && name.find('_') != std::string::npos) {
        // A transportation plan: "x2_3 = 20" is the shipment from supplier 2 to consumer 3.
        const std::size_t i = std::stoul(name.substr(1)), j = std::stoul(name.substr(name.find('_') + 1));
        ASSERT_TRUE(i >= 1 && i <= v.Plan.size() && j >= 1 && j <= v.Plan[i - 1].size()) << "no such cell";
        EXPECT_EQ(RatToStr(v.Plan[i - 1][j - 1]), value);
      } else if (name.size() > 1 && name[0] == 'Y') {
        const std::size_t i = std::stoul(name.substr(1));
        ASSERT_TRUE(i >= 1 && i <= v.Dual.size()) << "no such dual estimate in the answer";
        EXPECT_EQ(RatToStr(v.Dual[i - 1]), value);
      } else if (name.size() > 1 && (name[0] == 'b' || name[0] == 'c')) {
        const std::vector<TValueRange>& ranges = name[0] == 'b' ? v.RangesB : v.RangesC;
        const std::size_t k = std::stoul(name.substr(1));
        ASSERT_TRUE(k >= 1 && k <= ranges.size()) << "no such range in the answer";
        const auto side = [](const std::optional<TRational>& r, const char* infinity) {
          return r ? RatToStr(*r) : std::string(infinity);
        };
        EXPECT_EQ(side(ranges[k - 1].Lo, "-inf") + ".." + side(ranges[k - 1].Hi, "inf"), value);
      } else if (name.size() > 1 && name[0] == 'X' && !v.Assignment.empty()) {
        const std::size_t i = std::stoul(name.substr(1));
        ASSERT_TRUE(i >= 1 && i <= v.Assignment.size()) << "no such row in the assignment";
        EXPECT_EQ(std::to_string(v.Assignment[i - 1]), value);
      } else if (name.size() > 1 && name[0] == 'X') {
        const std::size_t j = std::stoul(name.substr(1));
        ASSERT_TRUE(j >= 1 && j <= v.X.size()) << "no such variable in the answer";
        EXPECT_EQ(RatToStr(v.X[j - 1]), value);
      } else {
        ADD_FAILURE() << "unknown answer item " << name;
      }
    }
    if (!statusGiven) {
      EXPECT_TRUE(v.Status == TTaskStatus::Optimal || v.Status == TTaskStatus::Solved) << v.Message;
    }
  }
}

} // namespace
