// Tests of the problem store on bad files, unwritable and locked folders, injected engine failures,
// two programs on one folder, and the choice of the data folder.
#include "StatementStore.h"
#include "StoreTestSupport.h"
#include "TaskCatalog.h"

#include <chrono>
#include <functional>
#include <map>
#include <unistd.h>

using namespace storetest;
using namespace std::chrono_literals;

namespace {

// A problem that uses all four detail tables.
TStatement FullStatement() {
  TStatement s = LinearProgram("full", 40, 2, 2, 0, 1);
  s.Gomory = {{1, 1}, {2, 0}};
  s.Quadro = {{1, 1, "2"}, {2, 1, "-1/2"}, {1, 2, "-1/2"}, {2, 2, "3"}};
  return s;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Every operation of a store that could not be opened fails without a further message.
void ExpectClosedStoreRefusesEverything(TDM& dm, const TMessageRecorder& recorder) {
  const std::size_t before = recorder.Messages.size();
  EXPECT_FALSE(dm.IsOpen());
  EXPECT_EQ(dm.CreateTempTask(), -1);
  EXPECT_EQ(dm.GetTempTaskId(), -1);
  EXPECT_EQ(dm.SaveTempTaskAs("имя", 8), -1);
  EXPECT_FALSE(dm.DeleteTask(1));
  EXPECT_FALSE(dm.SetTaskSizes(1, 1, 1, 1));
  EXPECT_FALSE(dm.InsertRows(1, std::vector<TSimplex1Row>{{0, 0, "1"}}));
  EXPECT_FALSE(dm.CopyRowsOfTask(TDetailTable::Simplex1, 1, 2));
  EXPECT_FALSE(dm.DeleteRowsOfTask(TDetailTable::Quadro, 1));
  EXPECT_FALSE(dm.FindTask(1).has_value());
  EXPECT_FALSE(dm.ListTasks().has_value());
  EXPECT_FALSE(dm.Simplex1Rows(1).has_value());
  EXPECT_EQ(recorder.Messages.size(), before);
}

class DataModFailureTest : public ::testing::Test {
protected:
  TTempDir Dir;
  TMessageRecorder Recorder;
  std::filesystem::path Data() const { return Dir.Path / "data"; }

  // Saves FullStatement under a name and returns its id; the store is closed again.
  int SaveOneProblem() {
    TDM dm(Data());
    const int temp = dm.CreateTempTask();
    WriteStatement(dm, temp, FullStatement());
    const int id = dm.SaveTempTaskAs("сохранённая", 40);
    EXPECT_GT(id, 0);
    EXPECT_TRUE(dm.DropTempTask());
    Recorder.Messages.clear();
    return id;
  }

  void ExpectProblemIntact(int id) {
    TDM dm(Data());
    ASSERT_TRUE(dm.IsOpen());
    const TStatement back = ReadStatement(dm, id);
    const TStatement full = FullStatement();
    EXPECT_EQ(back.Simplex1, full.Simplex1);
    EXPECT_EQ(back.Simplex2, full.Simplex2);
    EXPECT_EQ(back.Gomory, full.Gomory);
    EXPECT_EQ(back.Quadro, full.Quadro);
  }
};

// ---- Bad files found at start-up: reported once, never written, the rest kept.

struct TBadFile {
  std::string Label;
  std::string File;
  std::function<void(const std::filesystem::path&)> Spoil;
  std::string Reason;
};

void PrintTo(const TBadFile& bad, std::ostream* os) { *os << bad.Label; }

class DataModBadFileTest : public DataModFailureTest, public ::testing::WithParamInterface<TBadFile> {};

TEST_P(DataModBadFileTest, IsReportedOnceLeftAsItIsAndTheOtherFilesKeepTheirProblems) {
  const TBadFile& bad = GetParam();
  const int id = SaveOneProblem();
  std::map<std::string, std::string> bytes;
  for (const std::string& file : AllFiles) bytes[file] = FileBytes(Data() / file);
  const std::filesystem::path target = Data() / bad.File;
  bad.Spoil(target);
  const std::string spoiled = FileBytes(target);
  ASSERT_NE(spoiled, bytes[bad.File]);

  {
    TDM dm(Data());
    ASSERT_EQ(Recorder.Messages.size(), 1U);
    const TRecordedMessage& m = Recorder.Messages.front();
    EXPECT_EQ(m.Caption, "Ошибка");
    EXPECT_EQ(m.Icon, TMsgIcon::Error);
    EXPECT_TRUE(Contains(m.Text, target.string())) << m.Text;
    EXPECT_TRUE(Contains(m.Text, bad.Reason)) << m.Text;
    ExpectClosedStoreRefusesEverything(dm, Recorder);
  }
  for (const std::string& file : AllFiles)
    EXPECT_EQ(FileBytes(Data() / file), file == bad.File ? spoiled : bytes[file]) << file;

  WriteBytes(target, bytes[bad.File]);
  ExpectProblemIntact(id);
}

INSTANTIATE_TEST_SUITE_P(
    Store, DataModBadFileTest,
    ::testing::Values(TBadFile{"TextInTasks", "Tasks.db",
                               [](const std::filesystem::path& f) {
                                 std::string text;
                                 for (int i = 0; i < 100; ++i) text += "Это заметки студента, а не таблица.\n";
                                 WriteBytes(f, text);
                               },
                               "файл не является базой данных"},
                      TBadFile{"DamagedSchemaPageInGomory", "Gomory.db",
                               [](const std::filesystem::path& f) {
                                 std::string bytes = FileBytes(f);
                                 for (std::size_t i = 100; i < 4096 && i < bytes.size(); ++i) bytes[i] = '\xA5';
                                 WriteBytes(f, bytes);
                               },
                               "файл повреждён"},
                      TBadFile{"ForeignDatabaseInQuadro", "Quadro.db",
                               [](const std::filesystem::path& f) {
                                 std::filesystem::remove(f);
                                 ASSERT_TRUE(ExecRaw(f, "CREATE TABLE Notes(Text TEXT); "
                                                        "INSERT INTO Notes VALUES('чужие данные')"));
                               },
                               "в нём другие таблицы"},
                      TBadFile{"TasksWithoutItsFields", "Tasks.db",
                               [](const std::filesystem::path& f) {
                                 std::filesystem::remove(f);
                                 ASSERT_TRUE(ExecRaw(f, "CREATE TABLE Tasks(Id INTEGER PRIMARY KEY, Name TEXT)"));
                               },
                               "нет поля «TaskType»"},
                      TBadFile{"TasksIdNotAssignedByTheEngine", "Tasks.db",
                               [](const std::filesystem::path& f) {
                                 std::filesystem::remove(f);
                                 ASSERT_TRUE(ExecRaw(f, "CREATE TABLE Tasks(Id TEXT, TaskType INTEGER, TaskName "
                                                        "TEXT, Save TEXT, Sx INTEGER, Sy INTEGER, Max INTEGER)"));
                               },
                               "поле «Id»"}),
    [](const ::testing::TestParamInfo<TBadFile>& info) { return info.param.Label; });

// The program writes its own files only: a link at a table file, to another file or to nothing, is
// refused with one message, and neither the file it points to is changed nor a missing one made.
TEST_F(DataModFailureTest, LinkAtATableFileIsRefusedAndNothingIsWrittenThroughIt) {
  const int id = SaveOneProblem();
  const std::filesystem::path moved = Dir.Path / "Gomory-elsewhere.db";
  std::filesystem::rename(Data() / "Gomory.db", moved);
  const std::string movedBytes = FileBytes(moved);
  for (const std::filesystem::path& target : {moved, Dir.Path / "nowhere.db"}) {
    SCOPED_TRACE(target.filename().string());
    std::filesystem::remove(Data() / "Gomory.db");
    std::filesystem::create_symlink(target, Data() / "Gomory.db");
    Recorder.Messages.clear();
    {
      TDM dm(Data());
      ASSERT_EQ(Recorder.Messages.size(), 1U);
      EXPECT_TRUE(Contains(Recorder.Messages[0].Text, (Data() / "Gomory.db").string())) << Recorder.Messages[0].Text;
      EXPECT_TRUE(Contains(Recorder.Messages[0].Text, "символической ссылкой")) << Recorder.Messages[0].Text;
      ExpectClosedStoreRefusesEverything(dm, Recorder);
    }
    EXPECT_EQ(FileBytes(moved), movedBytes);
    EXPECT_FALSE(std::filesystem::exists(Dir.Path / "nowhere.db"));
  }
  std::filesystem::remove(Data() / "Gomory.db");
  std::filesystem::rename(moved, Data() / "Gomory.db");
  ExpectProblemIntact(id);
}

TEST_F(DataModFailureTest, FolderThatCannotBeCreatedLeavesTheStoreClosedWithOneMessage) {
  WriteBytes(Dir.Path / "blocker", "a file where a folder should be");
  const std::filesystem::path data = Dir.Path / "blocker" / "data";
  TDM dm(data);
  ASSERT_EQ(Recorder.Messages.size(), 1U);
  EXPECT_EQ(Recorder.Messages[0].Caption, "Ошибка");
  EXPECT_TRUE(Contains(Recorder.Messages[0].Text, "не удаётся создать папку")) << Recorder.Messages[0].Text;
  EXPECT_TRUE(Contains(Recorder.Messages[0].Text, data.string())) << Recorder.Messages[0].Text;
  ExpectClosedStoreRefusesEverything(dm, Recorder);
}

TEST_F(DataModFailureTest, ReadOnlyFolderKeepsProblemsReadableAndRefusesWritesWithOneMessage) {
  if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop the superuser";
  const int id = SaveOneProblem();
  const std::string before = DumpFolder(Data());
  std::filesystem::permissions(Data(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  {
    TDM dm(Data());
    ASSERT_TRUE(dm.IsOpen());
    EXPECT_EQ(dm.ListTasks()->size(), 1U);
    EXPECT_EQ(dm.Simplex1Rows(id), FullStatement().Simplex1);
    EXPECT_TRUE(Recorder.Messages.empty());
    EXPECT_FALSE(dm.DeleteTask(id));
    ASSERT_EQ(Recorder.Messages.size(), 1U);
    EXPECT_EQ(Recorder.Messages[0].Caption, "Ошибка");
    EXPECT_TRUE(Contains(Recorder.Messages[0].Text, "Изменения не сохранены"));
  }
  std::filesystem::permissions(Data(), std::filesystem::perms::owner_all);
  EXPECT_EQ(DumpFolder(Data()), before);
}

// ---- Failures injected by a trigger in the middle of an operation: all or nothing.

struct TInjection {
  std::string Label;
  std::string File;
  std::string Trigger;
  // Runs the operation on the store, given the temporary record and a saved problem; true when
  // the operation reports success.
  std::function<bool(TDM&, int temp, int saved)> Run;
  std::size_t Messages = 1; // messages of the failed run, the failure last
};

void PrintTo(const TInjection& injection, std::ostream* os) { *os << injection.Label; }

class DataModInjectionTest : public DataModFailureTest, public ::testing::WithParamInterface<TInjection> {};

TEST_P(DataModInjectionTest, LeavesEverythingAsItWasAndShowsOneMessage) {
  const TInjection& injection = GetParam();
  TDM dm(Data());
  const int temp = dm.CreateTempTask();
  WriteStatement(dm, temp, FullStatement());
  const int saved = dm.SaveTempTaskAs("сохранённая", 40);
  ASSERT_GT(saved, 0);
  Recorder.Messages.clear();
  const std::string before = DumpFolder(Data());

  ASSERT_TRUE(ExecRaw(Data() / injection.File,
                      "CREATE TRIGGER inject " + injection.Trigger + " BEGIN SELECT RAISE(ABORT, 'injected'); END"));
  EXPECT_FALSE(injection.Run(dm, temp, saved));
  ASSERT_EQ(Recorder.Messages.size(), injection.Messages);
  for (const auto& m : Recorder.Messages) EXPECT_EQ(m.Caption, "Ошибка");
  const std::string& text = Recorder.Messages.back().Text;
  EXPECT_TRUE(Contains(text, (Data() / injection.File).string())) << text;
  EXPECT_TRUE(Contains(text, "injected")) << text;
  EXPECT_TRUE(Contains(text, "Изменения не сохранены")) << text;
  EXPECT_FALSE(Contains(Texts(Recorder).front(), "сохранена"));
  EXPECT_EQ(dm.GetTempTaskId(), temp);
  EXPECT_EQ(DumpFolder(Data()), before);

  // The store keeps working once the cause is gone.
  ASSERT_TRUE(ExecRaw(Data() / injection.File, "DROP TRIGGER inject"));
  EXPECT_TRUE(injection.Run(dm, temp, saved));
  EXPECT_NE(DumpFolder(Data()), before);
}

const std::string MidCopy =
    "BEFORE INSERT ON Simplex1 WHEN (SELECT count(*) FROM Simplex1 WHERE TaskId = NEW.TaskId) >= 3";

INSTANTIATE_TEST_SUITE_P(
    Store, DataModInjectionTest,
    ::testing::Values(
        TInjection{"SaveHalfwayThroughSimplex1", "Simplex1.db", MidCopy,
                   [](TDM& dm, int, int) { return dm.SaveTempTaskAs("новая", 40) > 0; }},
        TInjection{"SaveInGomoryAfterTwoTablesCopied", "Gomory.db", "BEFORE INSERT ON Gomory",
                   [](TDM& dm, int, int) { return dm.SaveTempTaskAs("новая", 40) > 0; }},
        TInjection{"SaveInTheLastTable", "Quadro.db", "BEFORE INSERT ON Quadro",
                   [](TDM& dm, int, int) { return dm.SaveTempTaskAs("новая", 40) > 0; }},
        TInjection{"CopyRowsHalfway", "Simplex1.db", MidCopy,
                   [](TDM& dm, int temp, int) { return dm.CopyRowsOfTask(TDetailTable::Simplex1, temp, 999); }},
        TInjection{"DeleteTaskInQuadro", "Quadro.db", "BEFORE DELETE ON Quadro",
                   [](TDM& dm, int, int saved) { return dm.DeleteTask(saved); }},
        TInjection{"DropTempTaskInGomory", "Gomory.db", "BEFORE DELETE ON Gomory",
                   [](TDM& dm, int, int) { return dm.DropTempTask(); }},
        TInjection{"InsertRowsHalfway", "Simplex1.db", "BEFORE INSERT ON Simplex1 WHEN NEW.V = 'x'",
                   [](TDM& dm, int temp, int) {
                     return dm.InsertRows(temp, std::vector<TSimplex1Row>{{7, 7, "a"}, {8, 8, "x"}, {9, 9, "b"}});
                   }},
        TInjection{"SetTaskSizes", "Tasks.db", "BEFORE UPDATE ON Tasks",
                   [](TDM& dm, int temp, int) { return dm.SetTaskSizes(temp, 9, 9, 0); }},
        // The input step's statement: old rows deleted, sizes set and new rows written, or nothing.
        TInjection{"LinearStatementInItsLastTable", "Simplex2.db", "BEFORE INSERT ON Simplex2",
                   [](TDM& dm, int temp, int) {
                     TStatementGrid grid = NewStatement(TT_LINEAR, 2, 1);
                     grid.SetCell(1, 0, "3");
                     grid.SetCell(0, 1, "4");
                     return StoreStatement(dm, temp, grid);
                   }},
        // The old temporary record is dropped only together with making the new one.
        TInjection{"SecondCreateTempTask", "Tasks.db", "BEFORE INSERT ON Tasks",
                   [](TDM& dm, int, int) { return dm.CreateTempTask() > 0; }, 2}),
    [](const ::testing::TestParamInfo<TInjection>& info) { return info.param.Label; });

// ---- Two programs on one folder.

TEST_F(DataModFailureTest, LockedFileFailsTheOperationWithOneMessageAndChangesNothing) {
  TDM dm(Data(), 100ms);
  const int temp = dm.CreateTempTask();
  WriteStatement(dm, temp, FullStatement());
  Recorder.Messages.clear();
  const std::string before = DumpFolder(Data());

  TSqliteDb other;
  ASSERT_TRUE(other.Open(Data() / "Simplex1.db"));
  ASSERT_TRUE(other.Exec("BEGIN EXCLUSIVE"));
  EXPECT_EQ(dm.SaveTempTaskAs("новая", 40), -1);
  ASSERT_EQ(Recorder.Messages.size(), 1U);
  EXPECT_TRUE(Contains(Recorder.Messages[0].Text, "занят")) << Recorder.Messages[0].Text;
  EXPECT_FALSE(dm.Simplex1Rows(temp).has_value());
  ASSERT_EQ(Recorder.Messages.size(), 2U);
  EXPECT_TRUE(Contains(Recorder.Messages[1].Text, "Simplex1.db")) << Recorder.Messages[1].Text;
  ASSERT_TRUE(other.Exec("ROLLBACK"));

  EXPECT_EQ(DumpFolder(Data()), before);
  EXPECT_GT(dm.SaveTempTaskAs("новая", 40), 0);
}

TEST_F(DataModFailureTest, TwoProgramsOnOneFolderKeepTheirOwnTemporaryRecords) {
  TDM first(Data());
  TDM second(Data());
  ASSERT_TRUE(first.IsOpen());
  ASSERT_TRUE(second.IsOpen());
  const int t1 = first.CreateTempTask();
  const int t2 = second.CreateTempTask();
  ASSERT_GT(t1, 0);
  ASSERT_GT(t2, 0);
  EXPECT_NE(t1, t2);
  const TStatement s1 = LinearProgram("one", 8, 2, 1, 0, 1);
  const TStatement s2 = LinearProgram("two", 56, 1, 1, -1, 0);
  WriteStatement(first, t1, s1);
  WriteStatement(second, t2, s2);

  const int saved1 = first.SaveTempTaskAs("из первой", 8);
  ASSERT_GT(saved1, 0);
  EXPECT_EQ(Texts(Recorder), SavedMessage("из первой"));
  ASSERT_TRUE(second.DropTempTask());
  EXPECT_EQ(first.Simplex1Rows(t1), s1.Simplex1);
  EXPECT_EQ(first.GetTempTaskId(), t1);
  EXPECT_EQ(second.Simplex1Rows(saved1), s1.Simplex1);
  const auto listed = second.ListTasks(8);
  ASSERT_TRUE(listed.has_value());
  ASSERT_EQ(listed->size(), 1U);
  EXPECT_EQ(listed->front().TaskName, "из первой");
  EXPECT_GT(second.CreateTempTask(), saved1);
}

// ---- Where the files live.

class TEnvGuard {
public:
  explicit TEnvGuard(const char* name) : Name(name) {
    if (const char* value = std::getenv(name)) Saved = value;
  }
  ~TEnvGuard() {
    if (Saved)
      ::setenv(Name, Saved->c_str(), 1);
    else
      ::unsetenv(Name);
  }
  TEnvGuard(const TEnvGuard&) = delete;
  TEnvGuard& operator=(const TEnvGuard&) = delete;
  void Set(const std::optional<std::string>& value) const {
    if (value)
      ::setenv(Name, value->c_str(), 1);
    else
      ::unsetenv(Name);
  }

private:
  const char* Name;
  std::optional<std::string> Saved;
};

TEST(DataModFolderTest, ChoosesTheProgramFolderWhenWritableElseTheUsersDataFolder) {
  TTempDir dir;
  WriteBytes(dir.Path / "blocker", "not a folder");
  const std::filesystem::path writable = dir.Path / "program";
  const std::filesystem::path blocked = dir.Path / "blocker" / "program";
  const std::filesystem::path home = dir.Path / "home";
  const std::filesystem::path xdg = dir.Path / "xdg";
  TEnvGuard homeGuard("HOME");
  TEnvGuard xdgGuard("XDG_DATA_HOME");
  homeGuard.Set(home.string());

  struct TCase {
    const char* Label;
    std::filesystem::path Program;
    std::optional<std::string> Xdg;
    std::filesystem::path Expected;
    bool Beside = true;
  };
  const std::vector<TCase> cases = {
      {"program folder writable", writable, xdg.string(), writable / "data"},
      {"program folder blocked, XDG_DATA_HOME set", blocked, xdg.string(), xdg / "kelvano" / "data"},
      {"program folder blocked, XDG_DATA_HOME unset", blocked, std::nullopt,
       home / ".local" / "share" / "kelvano" / "data"},
      {"program folder blocked, XDG_DATA_HOME relative", blocked, "relative/data",
       home / ".local" / "share" / "kelvano" / "data"},
      // An installed program never keeps its store in its own folder, even where it could write.
      {"installed, XDG_DATA_HOME set", dir.Path / "installed", xdg.string(), xdg / "kelvano" / "data", false},
      {"installed, XDG_DATA_HOME unset", dir.Path / "installed", std::nullopt,
       home / ".local" / "share" / "kelvano" / "data", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Label);
    xdgGuard.Set(c.Xdg);
    // A reader finds the same folder without creating anything on the way.
    EXPECT_EQ(TDM::FindDataFolder(c.Program, c.Beside), c.Expected);
    EXPECT_FALSE(std::filesystem::exists(c.Program));
    EXPECT_EQ(TDM::ChooseDataFolder(c.Program, c.Beside), c.Expected);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path / "installed"));
  EXPECT_TRUE(std::filesystem::is_directory(writable / "data"));
  EXPECT_TRUE(std::filesystem::is_empty(writable / "data"));
}

} // namespace
