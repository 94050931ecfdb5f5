// The HTML report: builder operations, the exact file format in windows-1251, the report file series,
// and the private temporary folder that keeps other users from redirecting the files.
#include "AppPaths.h"
#include "ModelTestUtil.h"
#include "WebViewer.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"
#include "untStrConst.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using kt::R;

// ---------------------------------------------------------------- helpers

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "kelvano-test-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) != nullptr) Path = buf.data();
  }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(Path, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  [[nodiscard]] std::string Dir() const { return Path + "/"; }
  std::string Path;
};

std::string ReadBytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// UTF-8 to windows-1251 for the characters these tests use, written independently of the code under test:
// Russian letters and some punctuation have a byte; everything else outside ASCII becomes "&#N;".
std::string ExpectedCp1251(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::uint32_t cp = 0;
    std::size_t len = 1;
    if (b < 0x80)
      cp = b;
    else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F;
      len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F;
      len = 3;
    } else {
      cp = b & 0x07;
      len = 4;
    }
    for (std::size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += len;
    int byte = -1;
    if (cp < 0x80)
      byte = static_cast<int>(cp);
    else if (cp >= 0x410 && cp <= 0x44F)
      byte = static_cast<int>(cp - 0x410 + 0xC0);
    else if (cp == 0x401)
      byte = 0xA8;
    else if (cp == 0x451)
      byte = 0xB8;
    else if (cp == 0x2116)
      byte = 0xB9;
    else if (cp == 0x2014)
      byte = 0x97;
    else if (cp == 0x2013)
      byte = 0x96;
    else if (cp == 0xAB)
      byte = 0xAB;
    else if (cp == 0xBB)
      byte = 0xBB;
    else if (cp == 0x20AC)
      byte = 0x88;
    else if (cp == 0x2026)
      byte = 0x85;
    else if (cp == 0xA0)
      byte = 0xA0;
    else if (cp == 0xA9)
      byte = 0xA9;
    else if (cp == 0xB0)
      byte = 0xB0;
    if (byte >= 0)
      out += static_cast<char>(byte);
    else
      out += "&#" + std::to_string(cp) + ";";
  }
  return out;
}

// The page format, written out line by line independently of the code under test.
std::string ExpectedDocument(const TZLPCore_SolutionResult& d, bool linked) {
  std::string head = std::string("<html lang=ru>\r\n <head>\r\n  <title><!--%TITLE%--></title>\r\n") +
                     "  <meta name=\"GENERATOR\" content=\"<!--%GENERATOR%-->\">\r\n" +
                     "  <meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\r\n";
  for (std::size_t at; (at = head.find("<!--%TITLE%-->")) != std::string::npos;) head.replace(at, 14, d.Title);
  for (std::size_t at; (at = head.find("<!--%GENERATOR%-->")) != std::string::npos;) head.replace(at, 18, d.Generator);
  std::string s = head;
  const std::string css = TZLPCore_SolutionResult::StyleSheetPath();
  if (linked) {
    s += "<link href=\"@HREF@\" type=\"text/css\" rel=\"stylesheet\">\r\n\r\n";
  } else {
    s += "<style type=\"text/css\">\r\n<!-- Стили не найдены, переустановите программу -->\r\n<!-- Файл: \"" + css +
         "\" -->\r\n\r\nBODY{font:normal 68% verdana,arial,helvetica;}\r\n</style>\r\n\r\n";
  }
  s += "  <style type=\"text/css\">\r\n<!-- Модификации основных стилей: -->\r\n" + d.StyleMods + "\r\n  </style>\r\n";
  s += " </head>\r\n <body>\r\n";
  if (!d.Bare) s += "  <H1>" + d.Title + "</H1><HR SIZE=\"1\"></HR><P>\r\n";
  for (const std::string& l : d.Lines) s += l + "\r\n";
  if (!d.Bare) s += std::string(sHtmlFooter) + "\r\n";
  s += " </body>\r\n</html>\r\n";
  return s;
}

// The link line may name the style sheet as a path or as a file URL; anything else is a fault.
std::string WithHref(std::string want, const std::string& got) {
  const std::string css = TZLPCore_SolutionResult::StyleSheetPath();
  const std::string marker = "@HREF@";
  const std::size_t at = want.find(marker);
  if (at == std::string::npos) return want;
  const std::string prefix = "<link href=\"";
  const std::size_t g = got.find(prefix);
  std::string href = css;
  if (g != std::string::npos && got.compare(g + prefix.size(), 7, "file://") == 0) href = "file://" + css;
  want.replace(at, marker.size(), href);
  return want;
}

class ReportFixture : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_FALSE(Program.Path.empty());
    ASSERT_FALSE(Temp.Path.empty());
    SetProgramDir(Program.Dir());
  }
  void TearDown() override { SetProgramDir(""); }

  void AddStyleSheet() {
    fs::create_directories(Program.Path + "/help");
    WriteBytes(Program.Path + "/help/main.css", "BODY{}");
  }

  TempFolder Program; // stands for the folder of the program
  TempFolder Temp;    // stands for the report folder
};

// ---------------------------------------------------------------- builder operations

TEST(ReportBuilder, NewDocument) {
  const TZLPCore_SolutionResult d;
  EXPECT_TRUE(d.Lines.empty());
  EXPECT_FALSE(d.Bare);
  EXPECT_EQ(d.Title, "Результат решения");
  EXPECT_EQ(d.Generator, "Kelvano 1.0");
  EXPECT_EQ(d.StyleMods, "");
  EXPECT_EQ(d.TempDir, ""); // the private folder, found at the first save
  EXPECT_EQ(d.GetText(), "");
}

TEST(ReportBuilder, AddOperations) {
  TZLPCore_SolutionResult d;
  d.AddLine("a<b>");
  d.AddParagraph("текст");
  d.AddHeading("Шаг");
  d.AddPre("Z = 1");
  d.AddRule();
  d.AddLine("");
  const std::vector<std::string> want{
      "a<b>", "<p>текст", "<H2>&bull; Шаг</H2>", "<pre>Z = 1</pre>", "<HR SIZE=\"1\"></HR>", ""};
  EXPECT_EQ(d.Lines, want);
  EXPECT_EQ(d.GetText(), "a<b>\r\n<p>текст\r\n<H2>&bull; Шаг</H2>\r\n<pre>Z = 1</pre>\r\n<HR SIZE=\"1\"></HR>\r\n\r\n");
  d.Clear();
  EXPECT_TRUE(d.Lines.empty());
}

TEST(ReportBuilder, AppendReportAddsOneEntry) {
  TZLPCore_SolutionResult a;
  TZLPCore_SolutionResult b;
  b.Title = "другой";
  b.AddLine("1");
  b.AddLine("2");
  b.AddLine("3");
  a.AddLine("0");
  a.AppendReport(&b);
  a.AppendReport(nullptr);
  EXPECT_EQ(a.Lines, (std::vector<std::string>{"0", "1\r\n2\r\n3\r\n"}));
  EXPECT_EQ(a.Title, "Результат решения");
}

TEST(ReportBuilder, AddConstraints) {
  const TZLPCore_SubInterface_ZLP z = kt::MakeModel(true, {"3", "2"}, "0",
                                                    {{{"1", "1"}, IS_BELOWOREQUAL, "4"},
                                                     {{"-1", "1/2"}, IS_ABOVEOREQUAL, "-3/2"},
                                                     {{"0", "0"}, IS_EQUAL, "0"},
                                                     {{"2", "0"}, IS_BELOW, "1"},
                                                     {{"0", "1"}, IS_ABOVE, "1"}});
  TZLPCore_SolutionResult d;
  AddConstraints(d, z);
  ASSERT_EQ(d.Lines.size(), 1U);
  EXPECT_EQ(d.Lines[0], "X<sub>1</sub> + X<sub>2</sub> &#8804; 4\r\n"
                        "- X<sub>1</sub> + 1/2X<sub>2</sub> &#8805; -3/2\r\n"
                        "0 = 0\r\n"
                        "2X<sub>1</sub> &lt; 1\r\n"
                        "X<sub>2</sub> &gt; 1");
  TZLPCore_SolutionResult e;
  AddConstraints(e, kt::MakeModel(true, {"1"}, "0", {}));
  EXPECT_EQ(e.Lines, std::vector<std::string>{""});
}

// Each way a number reaches a page: an invalid one must read "&lt;err&gt;" there, never a tag the
// viewer would swallow together with the text around it.
TEST(ReportBuilder, InvalidValueReachesThePageEscaped) {
  const TRational invalid{1, 0};
  TZLPCore_SubInterface_ZLP z = kt::MakeModel(true, {"3", "2"}, "1", {{{"1", "1"}, IS_BELOWOREQUAL, "4"}});
  TZLPCore_Interface data;
  data.SetFlag(IF_TABLE);
  data.Table.SetColCount(1);
  data.Table.SetRowCount(1);
  data.Table.SetColName(1, "X1");
  data.Table.SetRowName(1, "X1");
  data.Table.SetB(1, invalid);
  data.Table.State = SS_OPTIMAL;
  data.BuildSolution();
  struct Route {
    const char* name;
    std::string html;
  };
  TZLPCore_SubInterface_ZLP objective = z;
  objective.Objective.SetItem(2, invalid);
  TZLPCore_SubInterface_ZLP freeTerm = z;
  freeTerm.FreeTerm = invalid;
  TZLPCore_SubInterface_ZLP rhs = z;
  rhs.RHS.SetItem(1, invalid);
  TZLPCore_SubInterface_ZLP coefficient = z;
  coefficient.Coeffs.SetItem(1, 1, invalid);
  const auto page = [](const TZLPCore_SubInterface_ZLP& m) {
    TZLPCore_SolutionResult d;
    AddModel(d, &m);
    return d.BuildDocument();
  };
  const Route routes[] = {
      {"objective coefficient", page(objective)},
      {"free term", page(freeTerm)},
      {"right-hand side", page(rhs)},
      {"constraint coefficient", page(coefficient)},
      {"table cell", data.Table.ToHtml(1, 1)},
      {"solution line", data.SolutionLines.at(0)},
  };
  for (const Route& r : routes) {
    SCOPED_TRACE(r.name);
    EXPECT_NE(r.html.find("&lt;err&gt;"), std::string::npos) << r.html;
    EXPECT_EQ(r.html.find("<err>"), std::string::npos) << r.html;
  }
}

TEST(ReportBuilder, AddModelWithoutDenominator) {
  const TZLPCore_SubInterface_ZLP z =
      kt::MakeModel(true, {"3", "2"}, "0", {{{"1", "1"}, IS_BELOWOREQUAL, "4"}, {{"1", "3"}, IS_BELOWOREQUAL, "6"}});
  TZLPCore_SolutionResult d;
  AddModel(d, &z);
  ASSERT_EQ(d.Lines.size(), 2U);
  EXPECT_EQ(d.Lines[0], "Z = 3X<sub>1</sub> + 2X<sub>2</sub>&nbsp;&nbsp;&#8594; <b>Max</b>\r\n");
  EXPECT_EQ(d.Lines[1], "X<sub>1</sub> + X<sub>2</sub> &#8804; 4\r\nX<sub>1</sub> + 3X<sub>2</sub> &#8804; 6");
  const TZLPCore_SubInterface_ZLP m = kt::MakeModel(false, {"-1", "0"}, "7", {});
  TZLPCore_SolutionResult e;
  AddModel(e, &m);
  ASSERT_EQ(e.Lines.size(), 2U);
  EXPECT_EQ(e.Lines[0], "Z = - X<sub>1</sub> + 7&nbsp;&nbsp;&#8594; <b>Min</b>\r\n");
  EXPECT_EQ(e.Lines[1], "");
}

TEST(ReportBuilder, AddModelWithDenominator) {
  const TZLPCore_SubInterface_ZLP z = kt::MakeModel(true, {"1", "2"}, "3", {{{"1", "1"}, IS_BELOWOREQUAL, "4"}});
  TZLPCore_SubInterface_Denominator den;
  den.Coeffs.SetCount(2);
  den.Coeffs.SetItem(1, R("1"));
  den.Coeffs.SetItem(2, R("-1/2"));
  den.FreeTerm = R("1");
  TZLPCore_SolutionResult d;
  AddModel(d, &z, &den);
  ASSERT_EQ(d.Lines.size(), 2U);
  EXPECT_EQ(d.Lines[0], "<table cellpadding=0 cellspacing=0 border=0>\r\n"
                        "  <tr><td rowspan=2>Z = </td><td style=\"border-bottom: solid 1px black;\">X<sub>1</sub> + "
                        "2X<sub>2</sub> + 3</td>"
                        "<td rowspan=2>&nbsp;&nbsp;&#8594; <b>Max</b></td>\r\n"
                        "  <tr><td>X<sub>1</sub> - 1/2X<sub>2</sub> + 1</td></tr>\r\n"
                        "</table>\r\n");
  EXPECT_EQ(d.Lines[1], "X<sub>1</sub> + X<sub>2</sub> &#8804; 4");
  TZLPCore_SubInterface_ZLP m = z;
  m.IsMax = false;
  TZLPCore_SolutionResult e;
  AddModel(e, &m, &den);
  ASSERT_FALSE(e.Lines.empty());
  EXPECT_NE(e.Lines[0].find("<td rowspan=2>Z = </td>"), std::string::npos);
  EXPECT_NE(e.Lines[0].find("<td rowspan=2>&nbsp;&nbsp;&#8594; <b>Min</b></td>"), std::string::npos);
}

// ---------------------------------------------------------------- the document format

TEST_F(ReportFixture, StyleSheetPathIsBesideTheProgram) {
  EXPECT_EQ(ProgramDir(), Program.Dir());
  EXPECT_EQ(TZLPCore_SolutionResult::StyleSheetPath(), Program.Dir() + "help/main.css");
  SetProgramDir(Program.Path); // without the trailing separator
  EXPECT_EQ(ProgramDir(), Program.Dir());
}

TEST_F(ReportFixture, FullDocumentWithFallbackStyle) {
  TZLPCore_SolutionResult d;
  d.AddLine("<p>Строка");
  const std::string got = d.BuildDocument();
  EXPECT_EQ(got, ExpectedDocument(d, false));
  EXPECT_NE(got.find("<title>Результат решения</title>"), std::string::npos);
  EXPECT_NE(got.find("  <H1>Результат решения</H1><HR SIZE=\"1\"></HR><P>\r\n"), std::string::npos);
  EXPECT_NE(got.find("content=\"Kelvano 1.0\""), std::string::npos);
}

TEST_F(ReportFixture, FullDocumentWithLinkedStyleSheet) {
  AddStyleSheet();
  TZLPCore_SolutionResult d;
  d.AddLine("x");
  d.StyleMods = "BODY { color: #000000;background-color:#FFFFFF;}";
  const std::string got = d.BuildDocument();
  EXPECT_EQ(got, WithHref(ExpectedDocument(d, true), got));
  EXPECT_EQ(got.find("Стили не найдены"), std::string::npos);
}

TEST_F(ReportFixture, BareDocumentHasNoHeadingAndNoFooter) {
  TZLPCore_SolutionResult d;
  d.Bare = true;
  d.AddLine("тело");
  const std::string got = d.BuildDocument();
  EXPECT_EQ(got, ExpectedDocument(d, false));
  EXPECT_EQ(got.find("<H1>"), std::string::npos);
  EXPECT_EQ(got.find("mailto:"), std::string::npos);
  EXPECT_NE(got.find("<title>Результат решения</title>"), std::string::npos);
}

TEST_F(ReportFixture, TitleIsReplacedFirstSoItsGeneratorMarkIsReplacedToo) {
  TZLPCore_SolutionResult d;
  d.Title = "Задача <!--%GENERATOR%-->";
  const std::string got = d.BuildDocument();
  EXPECT_NE(got.find("<title>Задача Kelvano 1.0</title>"), std::string::npos) << got;
  EXPECT_EQ(got.substr(0, got.find(" </head>")).find("<!--%"), std::string::npos);
}

TEST_F(ReportFixture, EmptyDocumentStillHasEverySection) {
  TZLPCore_SolutionResult d;
  EXPECT_EQ(d.BuildDocument(), ExpectedDocument(d, false));
}

// ---------------------------------------------------------------- the written file

TEST_F(ReportFixture, WrittenFileIsWindows1251WithCrLf) {
  TZLPCore_SolutionResult d;
  d.AddHeading("Результат");
  d.AddLine("x ≤ 5, y ≥ 0 — «Ёлка» ёж №1 € … → α 😀");
  const std::string file = Temp.Dir() + "page.html";
  ASSERT_TRUE(d.WriteDocument(file));
  const std::string bytes = ReadBytes(file);
  EXPECT_EQ(bytes, ExpectedCp1251(ExpectedDocument(d, false)));
  // "Результат" in windows-1251.
  EXPECT_NE(bytes.find("<H2>&bull; \xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2</H2>"), std::string::npos);
  EXPECT_NE(bytes.find("x &#8804; 5, y &#8805; 0 \x97 \xAB\xA8\xEB\xEA\xE0\xBB \xB8\xE6 \xB9"
                       "1 \x88 \x85 &#8594; &#945; &#128512;"),
            std::string::npos);
  // Every line ends with CR LF; no bare LF or CR.
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
    }
    if (bytes[i] == '\r') {
      ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at " << i;
    }
  }
  EXPECT_EQ(bytes.substr(bytes.size() - 9), "</html>\r\n");
}

TEST_F(ReportFixture, WriteReplacesALongerFile) {
  const std::string file = Temp.Dir() + "page.html";
  WriteBytes(file, std::string(100000, 'z'));
  TZLPCore_SolutionResult d;
  d.Bare = true;
  ASSERT_TRUE(d.WriteDocument(file));
  EXPECT_EQ(ReadBytes(file), ExpectedCp1251(ExpectedDocument(d, false)));
}

TEST(Utf8ToCp1251, CharactersWithAndWithoutAByte) {
  EXPECT_EQ(Utf8ToCp1251("plain <ascii> &amp;"), "plain <ascii> &amp;");
  EXPECT_EQ(Utf8ToCp1251("Результат"), "\xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2");
  EXPECT_EQ(Utf8ToCp1251("АЯаяЁё"), "\xC0\xDF\xE0\xFF\xA8\xB8");
  EXPECT_EQ(Utf8ToCp1251("≤"), "&#8804;");
  EXPECT_EQ(Utf8ToCp1251("a≤b≥c"), "a&#8804;b&#8805;c");
  EXPECT_EQ(Utf8ToCp1251("😀"), "&#128512;");
  EXPECT_EQ(Utf8ToCp1251("—№€"), "\x97\xB9\x88");
  EXPECT_EQ(Utf8ToCp1251(""), "");
  (void)Utf8ToCp1251("\xFF\xFE broken \xD0"); // malformed input: no crash, nothing prescribed
}

// ---------------------------------------------------------------- file series

class RecordingViewer final : public TWebViewer {
public:
  void Navigate(const std::string& url) override { Urls.push_back(url); }
  void GoBack() override {}
  void GoForward() override {}
  void Refresh() override {}
  void Stop() override {}
  std::string LocationURL() const override { return Urls.empty() ? std::string() : Urls.back(); }
  std::vector<std::string> Urls;
};

bool Exists(const std::string& p) {
  struct stat st {};
  return lstat(p.c_str(), &st) == 0;
}

TEST_F(ReportFixture, SaveToTempFileTakesTheFirstFreeName) {
  TZLPCore_SolutionResult d;
  d.TempDir = Temp.Dir();
  const std::string first = d.SaveToTempFile();
  EXPECT_EQ(first, Temp.Dir() + "kelvano.html");
  EXPECT_EQ(ReadBytes(first), ExpectedCp1251(ExpectedDocument(d, false)));
  EXPECT_EQ(d.SaveToTempFile(), Temp.Dir() + "kelvano1.html");
  EXPECT_EQ(d.SaveToTempFile(), Temp.Dir() + "kelvano2.html");
  d.DeleteTempFiles();
  EXPECT_FALSE(Exists(Temp.Dir() + "kelvano.html"));
  EXPECT_FALSE(Exists(Temp.Dir() + "kelvano1.html"));
  EXPECT_FALSE(Exists(Temp.Dir() + "kelvano2.html"));
}

// The series goes on past the names that are taken, and a document deletes only what it saved:
// pages found in the folder, and a page of its own that someone replaced meanwhile, stay.
TEST_F(ReportFixture, TwoPresentWritesTheThirdAndDeletesOnlyItsOwn) {
  WriteBytes(Temp.Dir() + "kelvano.html", "a");
  WriteBytes(Temp.Dir() + "kelvano1.html", "b");
  TZLPCore_SolutionResult d;
  d.TempDir = Temp.Dir();
  EXPECT_EQ(d.SaveToTempFile(), Temp.Dir() + "kelvano2.html");
  EXPECT_EQ(d.SaveToTempFile(), Temp.Dir() + "kelvano3.html");
  ASSERT_EQ(unlink((Temp.Dir() + "kelvano3.html").c_str()), 0);
  WriteBytes(Temp.Dir() + "kelvano3.html", "someone else's");
  d.DeleteTempFiles();
  EXPECT_EQ(ReadBytes(Temp.Dir() + "kelvano.html"), "a");
  EXPECT_EQ(ReadBytes(Temp.Dir() + "kelvano1.html"), "b");
  EXPECT_FALSE(Exists(Temp.Dir() + "kelvano2.html"));
  EXPECT_EQ(ReadBytes(Temp.Dir() + "kelvano3.html"), "someone else's");
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(Temp.Path)) left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"kelvano.html", "kelvano1.html", "kelvano3.html"}))
      << "no temporary file is left behind";
}

// Two windows in one private folder, each with step pages shown in turn and a document that only
// builds text: closing one window takes its own pages and leaves every page of the other.
TEST_F(ReportFixture, TwoWindowsInOnePrivateFolderKeepEachOthersPages) {
  std::vector<std::string> kept;
  {
    TZLPCore_SolutionResult first;
    first.AddParagraph("первое окно");
    RecordingViewer firstViewer;
    {
      TZLPCore_SolutionResult second;
      second.AddParagraph("второе окно");
      RecordingViewer secondViewer;
      for (int page = 0; page < 2; ++page) {
        first.ShowIn(&firstViewer);
        second.ShowIn(&secondViewer);
      }
      {
        TZLPCore_SolutionResult scratch; // one per simplex iteration: never saved
        scratch.AddLine("черновик");
      }
      ASSERT_EQ(firstViewer.Urls.size(), 2U);
      ASSERT_EQ(secondViewer.Urls.size(), 2U);
      for (const std::string& url : firstViewer.Urls) {
        const std::string file = url.rfind("file://", 0) == 0 ? url.substr(7) : url;
        EXPECT_EQ(file.rfind(PrivateTempDir(), 0), 0U) << file;
        kept.push_back(file);
      }
      for (const std::string& url : secondViewer.Urls)
        EXPECT_TRUE(Exists(url.rfind("file://", 0) == 0 ? url.substr(7) : url)) << url;
    }
    for (const std::string& file : kept) {
      ASSERT_TRUE(Exists(file)) << file << " of the first window went with the second";
      EXPECT_EQ(ReadBytes(file), ExpectedCp1251(ExpectedDocument(first, false)));
    }
  }
  for (const std::string& file : kept) EXPECT_FALSE(Exists(file)) << file;
}

TEST_F(ReportFixture, ShowInSavesAndNavigates) {
  TZLPCore_SolutionResult d;
  d.TempDir = Temp.Dir();
  d.ShowIn(nullptr);
  EXPECT_FALSE(Exists(Temp.Dir() + "kelvano.html"));
  RecordingViewer v;
  d.ShowIn(&v);
  ASSERT_EQ(v.Urls.size(), 1U);
  const std::string file = Temp.Dir() + "kelvano.html";
  EXPECT_TRUE(v.Urls[0] == file || v.Urls[0] == "file://" + file) << v.Urls[0];
  EXPECT_TRUE(Exists(file));
}

TEST_F(ReportFixture, ShowInSwallowsAWriteFailure) {
  TZLPCore_SolutionResult d;
  d.TempDir = Temp.Dir() + "missing/folder/";
  RecordingViewer v;
  v.Urls.push_back("old");
  d.ShowIn(&v);
  EXPECT_EQ(v.Urls, std::vector<std::string>{"old"});
  EXPECT_FALSE(d.WriteDocument(Temp.Dir() + "missing/folder/x.html"));
}

// ---------------------------------------------------------------- links are never followed

TEST_F(ReportFixture, WriteDocumentDoesNotFollowAPlantedLink) {
  const std::string victim = Temp.Dir() + "victim.txt";
  WriteBytes(victim, "original");
  const std::string target = Temp.Dir() + "page.html";
  ASSERT_EQ(symlink(victim.c_str(), target.c_str()), 0);
  TZLPCore_SolutionResult d;
  ASSERT_TRUE(d.WriteDocument(target));
  EXPECT_EQ(ReadBytes(victim), "original");
  struct stat st {};
  ASSERT_EQ(lstat(target.c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode)) << "the link must have been replaced by a file";
  EXPECT_EQ(ReadBytes(target), ExpectedCp1251(ExpectedDocument(d, false)));
  // A copy reads nothing through a link either.
  ASSERT_EQ(symlink(victim.c_str(), (Temp.Dir() + "link-to-victim").c_str()), 0);
  EXPECT_FALSE(CopyReportFile(Temp.Dir() + "link-to-victim", Temp.Dir() + "copy.html"));
  EXPECT_FALSE(Exists(Temp.Dir() + "copy.html"));
}

// A replaced file keeps its permissions and is never seen half-written; nothing else is left.
TEST_F(ReportFixture, WriteDocumentReplacesTheFileWholeKeepingItsPermissions) {
  const std::string target = Temp.Dir() + "report.html";
  WriteBytes(target, "old report");
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  TZLPCore_SolutionResult d;
  d.AddParagraph("новый отчёт");
  ASSERT_TRUE(d.WriteDocument(target));
  EXPECT_EQ(ReadBytes(target), ExpectedCp1251(ExpectedDocument(d, false)));
  struct stat st {};
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640U);
  EXPECT_FALSE(d.WriteDocument(Temp.Dir() + "missing/report.html"));
  EXPECT_EQ(std::distance(fs::directory_iterator(Temp.Path), fs::directory_iterator()), 1);
}

TEST_F(ReportFixture, SaveToTempFileDoesNotFollowADanglingLink) {
  const std::string victim = Temp.Dir() + "created-by-attacker-link";
  ASSERT_EQ(symlink(victim.c_str(), (Temp.Dir() + "kelvano.html").c_str()), 0);
  TZLPCore_SolutionResult d;
  d.TempDir = Temp.Dir();
  const std::string name = d.SaveToTempFile();
  EXPECT_FALSE(Exists(victim)) << "the write went through the link";
  if (!name.empty()) {
    struct stat st {};
    ASSERT_EQ(lstat(name.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode)) << name;
  }
  d.DeleteTempFiles();
  EXPECT_FALSE(Exists(victim));
}

// ---------------------------------------------------------------- the private temporary folder

void ExpectPrivate(const std::string& dirWithSlash) {
  ASSERT_FALSE(dirWithSlash.empty());
  ASSERT_EQ(dirWithSlash.back(), '/');
  const std::string dir = dirWithSlash.substr(0, dirWithSlash.size() - 1);
  struct stat st {};
  ASSERT_EQ(lstat(dir.c_str(), &st), 0) << dir;
  EXPECT_TRUE(S_ISDIR(st.st_mode)) << dir << " is not a real folder (a link?)";
  EXPECT_EQ(st.st_uid, geteuid()) << dir;
  EXPECT_EQ(st.st_mode & 0777, 0700U) << dir;
}

TEST(PrivateTempDir, OwnerOnlyFolderInsideTheSystemTemporaryFolder) {
  const std::string dir = PrivateTempDir();
  ExpectPrivate(dir);
  EXPECT_EQ(PrivateTempDir(), dir);
  const fs::path parent = fs::path(dir.substr(0, dir.size() - 1)).parent_path();
  EXPECT_EQ(fs::canonical(parent), fs::canonical(fs::temp_directory_path()));
}

// PrivateTempDir in a child process whose temporary folder is `tmp`, so that every case starts fresh.
// The child ends at once, or with exit() as a program ends (its static objects destroyed).
std::string PrivateTempDirIn(const std::string& tmp, bool endNormally = false) {
  int fds[2];
  if (pipe(fds) != 0) return "<pipe>";
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    setenv("TMPDIR", tmp.c_str(), 1);
    const std::string d = PrivateTempDir();
    const ssize_t w = write(fds[1], d.data(), d.size());
    if (endNormally) std::exit(w == static_cast<ssize_t>(d.size()) ? 0 : 1);
    _exit(w == static_cast<ssize_t>(d.size()) ? 0 : 1);
  }
  close(fds[1]);
  std::string out;
  char buf[512];
  for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return out;
}

class PrivateTempDirPlanted : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string probe = PrivateTempDirIn(Tmp.Path);
    if (probe.rfind(Tmp.Dir(), 0) != 0) GTEST_SKIP() << "the temporary folder does not follow TMPDIR: " << probe;
    Name = probe.substr(Tmp.Dir().size());
    Name.pop_back();
    fs::remove_all(Tmp.Dir() + Name);
  }
  TempFolder Tmp;
  TempFolder Elsewhere;
  std::string Name; // the folder name PrivateTempDir chooses first
};

TEST_F(PrivateTempDirPlanted, LinkAtTheNameIsNotUsed) {
  ASSERT_EQ(chmod(Elsewhere.Path.c_str(), 0700), 0);
  ASSERT_EQ(symlink(Elsewhere.Path.c_str(), (Tmp.Dir() + Name).c_str()), 0);
  const std::string got = PrivateTempDirIn(Tmp.Path);
  ExpectPrivate(got);
  EXPECT_NE(fs::canonical(got), fs::canonical(Elsewhere.Path));
}

TEST_F(PrivateTempDirPlanted, FolderOfAnotherUserIsNotUsed) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to plant a folder owned by someone else";
  const std::string planted = Tmp.Dir() + Name;
  ASSERT_EQ(mkdir(planted.c_str(), 0777), 0);
  ASSERT_EQ(chmod(planted.c_str(), 0777), 0);
  ASSERT_EQ(chown(planted.c_str(), 65534, 65534), 0);
  const std::string got = PrivateTempDirIn(Tmp.Path);
  ExpectPrivate(got);
  EXPECT_NE(got, planted + "/");
}

// A folder of ours that was open to others is not closed and used: whatever was planted in it
// would stay. A fresh folder is used instead, and goes when the program ends.
TEST_F(PrivateTempDirPlanted, OwnFolderOpenToOthersIsLeftAloneAndAFreshOneUsed) {
  const std::string planted = Tmp.Dir() + Name;
  ASSERT_EQ(mkdir(planted.c_str(), 0777), 0);
  ASSERT_EQ(chmod(planted.c_str(), 0777), 0);
  const std::string got = PrivateTempDirIn(Tmp.Path);
  ExpectPrivate(got);
  EXPECT_NE(got, planted + "/");
  struct stat st {};
  ASSERT_EQ(lstat(planted.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0777U) << "the planted folder was touched";
  const std::string ended = PrivateTempDirIn(Tmp.Path, true);
  ASSERT_EQ(ended.rfind(Tmp.Dir(), 0), 0U) << ended;
  EXPECT_NE(ended, planted + "/");
  EXPECT_FALSE(fs::exists(ended)) << "the fresh folder outlived its program";
}

TEST_F(PrivateTempDirPlanted, FileAtTheNameIsNotUsed) {
  WriteBytes(Tmp.Dir() + Name, "x");
  ExpectPrivate(PrivateTempDirIn(Tmp.Path));
}

} // namespace

// The word agrees with the number as Russian wants it: one, few (2-4) and many, the teens many.
TEST(CountText, AgreesWithTheNumber) {
  const auto vars = [](std::int64_t n) { return CountText(n, "переменная", "переменные", "переменных"); };
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, "0 переменных"},   {1, "1 переменная"},   {2, "2 переменные"},     {4, "4 переменные"},
      {5, "5 переменных"},   {11, "11 переменных"}, {12, "12 переменных"},   {14, "14 переменных"},
      {21, "21 переменная"}, {22, "22 переменные"}, {25, "25 переменных"},   {101, "101 переменная"},
      {111, "111 переменных"}, {112, "112 переменных"}, {255, "255 переменных"}, {-1, "-1 переменная"}};
  for (const auto& [n, text] : cases) EXPECT_EQ(vars(n), text) << n;
}
