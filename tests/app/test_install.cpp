// The installation: "cmake --install" into a temporary root puts every file where the desktop and
// the programs look for it, and kelvano-solve run from there solves the product mix.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string AppId = "example.kelvano.Kelvano";

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Quoted(const fs::path& p) { return "'" + p.string() + "'"; }

// Exit status of a shell command, -1 when it did not end normally.
int Shell(const std::string& command) {
  const int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}


class Install : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Root = fs::temp_directory_path() / ("kelvano-install-" + std::to_string(::getpid()));
    fs::remove_all(Root);
    Status = Shell("DESTDIR=" + Quoted(Root) + " '" KELVANO_CMAKE "' --install " + Quoted(KELVANO_BUILD_DIR) +
                   " --prefix /usr >" + Quoted(fs::temp_directory_path() / "kelvano-install.log") + " 2>&1");
  }
  static void TearDownTestSuite() { fs::remove_all(Root); }

  static inline fs::path Root;
  static inline int Status = -1;
};

TEST_F(Install, PutsEveryFileInItsUsualPlace) {
  ASSERT_EQ(Status, 0);
  const fs::path usr = Root / "usr";
  std::vector<fs::path> expected = {
      "bin/kelvano-solve",
      "share/kelvano/help/main.css",
      "share/kelvano/help/intro.html",
      "share/kelvano/help/help/steps/zlpinput.html",
      "share/kelvano/help/math/zlp/index.html",
      "share/man/man1/kelvano-solve.1.gz",
      "share/doc/kelvano/copyright",
      "share/doc/kelvano/changelog.gz",
  };
  if (KELVANO_WITH_GUI) {
    expected.insert(expected.end(),
                    {"bin/kelvano", "share/applications/" + AppId + ".desktop",
                     "share/metainfo/" + AppId + ".metainfo.xml", "share/icons/hicolor/48x48/apps/" + AppId + ".png",
                     "share/icons/hicolor/256x256/apps/" + AppId + ".png",
                     "share/icons/hicolor/scalable/apps/" + AppId + ".svg", "share/man/man1/kelvano.1.gz",
                     "share/mime/packages/" + AppId + ".xml"});
  }
  for (const fs::path& p : expected) EXPECT_TRUE(fs::is_regular_file(usr / p)) << p;
}

// The menu entry starts the installed program and shows its icon; both files pass the checks the
// desktop's own tools make.
TEST_F(Install, DesktopEntryAndAppStreamDataAreValid) {
  if (!KELVANO_WITH_GUI) GTEST_SKIP() << "built without the windows";
  ASSERT_EQ(Status, 0);
  const fs::path desktop = Root / "usr/share/applications" / (AppId + ".desktop");
  const std::string entry = ReadFile(desktop);
  // A problem file opened from the file manager reaches the program as its argument.
  EXPECT_NE(entry.find("\nExec=kelvano %f\n"), std::string::npos);
  EXPECT_NE(entry.find("\nMimeType=application/x-kelvano-problem;\n"), std::string::npos);
  const std::string mime = ReadFile(Root / "usr/share/mime/packages" / (AppId + ".xml"));
  EXPECT_NE(mime.find("<mime-type type=\"application/x-kelvano-problem\">"), std::string::npos);
  EXPECT_NE(mime.find("<glob pattern=\"*.kvn\"/>"), std::string::npos);
  EXPECT_NE(entry.find("\nIcon=" + AppId + "\n"), std::string::npos);
  EXPECT_EQ(Shell("desktop-file-validate " + Quoted(desktop)), 0);
  const fs::path metainfo = Root / "usr/share/metainfo" / (AppId + ".metainfo.xml");
  EXPECT_NE(ReadFile(metainfo).find("<launchable type=\"desktop-id\">" + AppId + ".desktop</launchable>"),
            std::string::npos);
  EXPECT_EQ(Shell("appstreamcli validate --no-net " + Quoted(metainfo) + " >/dev/null"), 0);
}

// The installed program answers --version and --help on the command line without opening a
// window, as kelvano-solve does; a bad option is refused.
TEST_F(Install, ProgramsAnswerVersionAndHelp) {
  ASSERT_EQ(Status, 0);
  const fs::path out = Root / "answer.txt";
  const auto run = [&out](const fs::path& program, const std::string& args) {
    return Shell("QT_QPA_PLATFORM=offscreen " + Quoted(program) + " " + args + " >" + Quoted(out) + " 2>/dev/null");
  };
  EXPECT_EQ(run(Root / "usr/bin/kelvano-solve", "--version"), 0);
  EXPECT_EQ(ReadFile(out), "kelvano-solve 1.0\n");
  if (!KELVANO_WITH_GUI) return;
  EXPECT_EQ(run(Root / "usr/bin/kelvano", "--version"), 0);
  EXPECT_EQ(ReadFile(out), "kelvano 1.0\n");
  EXPECT_EQ(run(Root / "usr/bin/kelvano", "--help"), 0);
  const std::string help = ReadFile(out);
  for (const char* text : {"--version", "/speed=", ".kvn"}) EXPECT_NE(help.find(text), std::string::npos) << help;
  EXPECT_NE(run(Root / "usr/bin/kelvano", "--no-such-option"), 0);
}

// kelvano-solve from the installed tree finds the installed style sheet, solves the product mix,
// and keeps no store beside itself.
TEST_F(Install, InstalledSolverSolvesTheProductMix) {
  ASSERT_EQ(Status, 0);
  const fs::path work = Root / "work";
  fs::create_directories(work / "home");
  std::ofstream(work / "mix.lp") << "# product mix\nmax 3 2\n1 1 <= 4\n1 3 <= 6\n";
  const std::string env = "HOME=" + Quoted(work / "home") + " XDG_DATA_HOME= ";
  const fs::path solver = Root / "usr/bin/kelvano-solve";
  ASSERT_EQ(
      Shell(env + Quoted(solver) + " " + Quoted(work / "mix.lp") + " -o " + Quoted(work / "mix.html") + " 2>/dev/null"),
      0);
  const std::string report = ReadFile(work / "mix.html");
  for (const char* text : {"X<sub>1</sub> = 4", "X<sub>4</sub> = 2"})
    EXPECT_NE(report.find(text), std::string::npos) << text;
  const std::string css = "file://" + (Root / "usr/share/kelvano/help/main.css").lexically_normal().string();
  EXPECT_NE(report.find("href=\"" + css + "\""), std::string::npos) << css;

  // A stored problem is looked for in the user's data folder, never beside the installed program.
  EXPECT_EQ(Shell(env + Quoted(solver) + " --name 'Производство' 2>/dev/null"), 1);
  EXPECT_FALSE(fs::exists(Root / "usr/bin/data"));
}

} // namespace
