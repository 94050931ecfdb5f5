// Tests of the problem store's operations: the temporary record, save-as, copies, deletes, round
// trips.
#include "StoreTestSupport.h"
#include "TaskCatalog.h"

#include <cctype>

using namespace storetest;

namespace {

// "YYYY-MM-DD HH:MM:SS", the engine's text of a local date and time.
bool IsDateTime(const std::string& text) {
  const std::string pattern = "dddd-dd-dd dd:dd:dd";
  if (text.size() != pattern.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
    if (pattern[i] == 'd' ? !digit : text[i] != pattern[i]) return false;
  }
  return true;
}

class DataModTest : public ::testing::Test {
protected:
  TTempDir Dir;
  TMessageRecorder Recorder;
  std::filesystem::path Data() const { return Dir.Path / "data"; }
};

TEST_F(DataModTest, FreshFolderGetsFiveTablesAndTheFirstIdIsOne) {
  TDM dm(Data());
  ASSERT_TRUE(dm.IsOpen());
  for (const std::string& file : AllFiles) EXPECT_TRUE(std::filesystem::exists(Data() / file)) << file;
  EXPECT_EQ(dm.GetTempTaskId(), -1);
  const int temp = dm.CreateTempTask();
  EXPECT_EQ(temp, 1);
  EXPECT_EQ(dm.GetTempTaskId(), 1);
  const auto row = dm.FindTask(temp);
  ASSERT_TRUE(row.has_value());
  EXPECT_EQ(*row, (TTaskRow{1, 0, "", "", 0, 0, 0}));
  EXPECT_TRUE(Recorder.Messages.empty());
}

TEST_F(DataModTest, IdsAreNeverReusedEvenAfterDeleteAndReopen) {
  int saved = 0;
  {
    TDM dm(Data());
    ASSERT_EQ(dm.CreateTempTask(), 1);
    saved = dm.SaveTempTaskAs("первая", 8);
    ASSERT_EQ(saved, 2);
    ASSERT_TRUE(dm.DeleteTask(saved));
    ASSERT_TRUE(dm.DropTempTask());
  }
  TDM dm(Data());
  EXPECT_EQ(dm.CreateTempTask(), 3);
}

TEST_F(DataModTest, SecondCreateTempTaskDropsTheFirstWithAMessage) {
  TDM dm(Data());
  const int first = dm.CreateTempTask();
  ASSERT_GT(first, 0);
  TStatement s = LinearProgram("lp", 24, 2, 2, 0, 1);
  s.Gomory = {{1, 1}, {2, 1}};
  s.Quadro = {{1, 1, "1"}};
  WriteStatement(dm, first, s);
  const int other = dm.CreateTempTask();
  ASSERT_GT(other, 0);
  ASSERT_TRUE(dm.InsertRows(other, std::vector<TSimplex1Row>{{0, 0, "9"}}));

  const int second = dm.CreateTempTask();
  EXPECT_GT(second, other);
  EXPECT_EQ(dm.GetTempTaskId(), second);
  EXPECT_FALSE(dm.FindTask(other).has_value());
  EXPECT_TRUE(dm.Simplex1Rows(other)->empty());
  ASSERT_EQ(Recorder.Messages.size(), 2U);
  for (const auto& m : Recorder.Messages) {
    EXPECT_EQ(m.Caption, "Ошибка");
    EXPECT_EQ(m.Text, "Попытка создать подряд две временных записи");
    EXPECT_EQ(m.Icon, TMsgIcon::Error);
    EXPECT_EQ(m.Buttons, mbOK);
  }
  // The first record went with the first repetition, detail rows and all.
  EXPECT_FALSE(dm.FindTask(first).has_value());
  EXPECT_TRUE(dm.Simplex1Rows(first)->empty());
  EXPECT_TRUE(dm.Simplex2Rows(first)->empty());
  EXPECT_TRUE(dm.GomoryRows(first)->empty());
  EXPECT_TRUE(dm.QuadroRows(first)->empty());
}

TEST_F(DataModTest, DropTempTaskRemovesTheRecordAndIsHarmlessWithoutOne) {
  TDM dm(Data());
  EXPECT_TRUE(dm.DropTempTask());
  const int temp = dm.CreateTempTask();
  WriteStatement(dm, temp, LinearProgram("lp", 8, 2, 1, 0, 1));
  EXPECT_TRUE(dm.DropTempTask());
  EXPECT_EQ(dm.GetTempTaskId(), -1);
  EXPECT_FALSE(dm.FindTask(temp).has_value());
  EXPECT_TRUE(dm.Simplex1Rows(temp)->empty());
  EXPECT_TRUE(dm.Simplex2Rows(temp)->empty());
  EXPECT_TRUE(dm.ListTasks()->empty());
  EXPECT_TRUE(Recorder.Messages.empty());
}

// Each layout is written through the temporary record, saved under a Cyrillic name, the store is
// closed and opened again, and the statement must come back text for text.
TEST_F(DataModTest, EveryLayoutRoundTripsThroughSaveCloseAndReopen) {
  std::vector<int> ids;
  {
    TDM dm(Data());
    for (const TStatement& s : EveryLayout()) {
      SCOPED_TRACE(s.Label);
      const int temp = dm.CreateTempTask();
      ASSERT_GT(temp, 0);
      WriteStatement(dm, temp, s);
      Recorder.Messages.clear();
      const std::string name = "Задача «" + s.Label + "» № 1 — ёЁ";
      const int id = dm.SaveTempTaskAs(name, s.TaskType);
      ASSERT_GT(id, temp);
      // A success is one information message under the program's caption, never an error.
      EXPECT_EQ(Texts(Recorder), SavedMessage(name));
      for (const auto& m : Recorder.Messages) {
        EXPECT_EQ(m.Caption, "Kelvano 1.0");
        EXPECT_EQ(m.Icon, TMsgIcon::Information);
      }
      ASSERT_TRUE(dm.DropTempTask());
      ids.push_back(id);
    }
  }
  TDM dm(Data());
  const auto all = dm.ListTasks();
  ASSERT_TRUE(all.has_value());
  EXPECT_EQ(all->size(), ids.size());
  const auto layouts = EveryLayout();
  for (std::size_t i = 0; i < layouts.size(); ++i) {
    const TStatement& s = layouts[i];
    SCOPED_TRACE(s.Label);
    const auto listed = dm.ListTasks(s.TaskType);
    ASSERT_TRUE(listed.has_value());
    ASSERT_EQ(listed->size(), 1U);
    const TTaskRow& row = listed->front();
    EXPECT_EQ(row.Id, ids[i]);
    EXPECT_EQ(row.TaskType, s.TaskType);
    EXPECT_EQ(row.TaskName, "Задача «" + s.Label + "» № 1 — ёЁ");
    EXPECT_TRUE(IsDateTime(row.Save)) << row.Save;
    const TStatement back = ReadStatement(dm, ids[i]);
    EXPECT_EQ(back.TaskType, s.TaskType);
    EXPECT_EQ(back.Sx, s.Sx.value_or(0));
    EXPECT_EQ(back.Sy, s.Sy.value_or(0));
    EXPECT_EQ(back.Max, s.Max.value_or(0));
    EXPECT_EQ(back.Simplex1, s.Simplex1);
    EXPECT_EQ(back.Simplex2, s.Simplex2);
    EXPECT_EQ(back.Gomory, s.Gomory);
    EXPECT_EQ(back.Quadro, s.Quadro);
    const bool hasNumerator =
        std::any_of(back.Simplex1.begin(), back.Simplex1.end(), [](const TSimplex1Row& r) { return r.Y == -1; });
    EXPECT_EQ(hasNumerator, s.TaskType == 56);
  }
}

TEST_F(DataModTest, SavedRowsAreExactCopiesWithTheNewTaskIdInTheirOrder) {
  TDM dm(Data());
  const int temp = dm.CreateTempTask();
  // Deliberately out of position order, with a repeated position: the copy keeps the table order.
  const std::vector<TSimplex1Row> rows = {{2, 1, "1/3"}, {0, 0, "0"}, {1, 1, "-4/3"}, {1, 1, "5"}};
  const std::vector<TQuadroRow> quadro = {{2, 2, "x"}, {1, 1, ""}};
  ASSERT_TRUE(dm.InsertRows(temp, rows));
  ASSERT_TRUE(dm.InsertRows(temp, quadro));
  ASSERT_TRUE(dm.InsertRows(777, std::vector<TSimplex1Row>{{5, 5, "not ours"}}));
  const int saved = dm.SaveTempTaskAs("копия", 40);
  ASSERT_GT(saved, 0);
  EXPECT_EQ(dm.Simplex1Rows(saved), rows);
  EXPECT_EQ(dm.QuadroRows(saved), quadro);
  EXPECT_EQ(dm.Simplex1Rows(temp), rows);
  EXPECT_EQ(dm.QuadroRows(temp), quadro);
  EXPECT_EQ(dm.Simplex1Rows(777)->size(), 1U);
  EXPECT_EQ(Texts(Recorder), SavedMessage("копия"));
}

TEST_F(DataModTest, TempRecordStaysTheWorkingRecordAfterSave) {
  TDM dm(Data());
  const int temp = dm.CreateTempTask();
  const TStatement first = LinearProgram("first", 8, 2, 1, 0, 1);
  WriteStatement(dm, temp, first);
  const int a = dm.SaveTempTaskAs("А", 8);
  ASSERT_GT(a, 0);
  EXPECT_EQ(dm.GetTempTaskId(), temp);
  EXPECT_EQ(dm.FindTask(temp), (TTaskRow{temp, 0, "", "", 2, 1, 1}));

  // The input step writes again into the temporary record, and a second save copies that.
  const TStatement second = LinearProgram("second", 8, 3, 2, 0, 0);
  ASSERT_TRUE(dm.ClearTempRows(TDetailTable::Simplex1));
  ASSERT_TRUE(dm.ClearTempRows(TDetailTable::Simplex2));
  WriteStatement(dm, temp, second);
  const int b = dm.SaveTempTaskAs("А", 8);
  ASSERT_GT(b, a);

  const TStatement backA = ReadStatement(dm, a);
  EXPECT_EQ(backA.Sx, 2);
  EXPECT_EQ(backA.Max, 1);
  EXPECT_EQ(backA.Simplex1, first.Simplex1);
  EXPECT_EQ(backA.Simplex2, first.Simplex2);
  const TStatement backB = ReadStatement(dm, b);
  EXPECT_EQ(backB.Sx, 3);
  EXPECT_EQ(backB.Sy, 2);
  EXPECT_EQ(backB.Max, 0);
  EXPECT_EQ(backB.Simplex1, second.Simplex1);
  EXPECT_EQ(backB.Simplex2, second.Simplex2);
  // Same name twice: two problems, nothing overwritten.
  EXPECT_EQ(dm.ListTasks(8)->size(), 2U);
}

TEST_F(DataModTest, DeleteRemovesDetailRowsEvenWithoutTheTasksRow) {
  TDM dm(Data());
  TStatement s = LinearProgram("lp", 24, 2, 2, 0, 1);
  s.Gomory = {{1, 1}, {2, 0}};
  s.Quadro = {{1, 1, "2"}};
  const int temp = dm.CreateTempTask();
  WriteStatement(dm, temp, s);
  const int a = dm.SaveTempTaskAs("А", 24);
  const int b = dm.SaveTempTaskAs("Б", 24);
  ASSERT_TRUE(dm.DropTempTask());
  Recorder.Messages.clear();
  ASSERT_TRUE(ExecRaw(Data() / "Tasks.db", "DELETE FROM Tasks WHERE Id = " + std::to_string(a)));

  EXPECT_TRUE(dm.DeleteTask(a));
  EXPECT_TRUE(dm.Simplex1Rows(a)->empty());
  EXPECT_TRUE(dm.Simplex2Rows(a)->empty());
  EXPECT_TRUE(dm.GomoryRows(a)->empty());
  EXPECT_TRUE(dm.QuadroRows(a)->empty());
  const TStatement backB = ReadStatement(dm, b);
  EXPECT_EQ(backB.Simplex1, s.Simplex1);
  EXPECT_EQ(backB.Gomory, s.Gomory);
  EXPECT_EQ(backB.Quadro, s.Quadro);
  EXPECT_TRUE(Recorder.Messages.empty());
}

TEST_F(DataModTest, DropTempTaskRemovesDetailRowsWhenAnotherWindowDeletedItsTasksRow) {
  TDM dm(Data());
  const int temp = dm.CreateTempTask();
  WriteStatement(dm, temp, LinearProgram("lp", 8, 1, 1, 0, 1));
  ASSERT_TRUE(dm.DeleteTask(temp));
  EXPECT_TRUE(dm.DropTempTask());
  EXPECT_EQ(dm.GetTempTaskId(), -1);
  EXPECT_EQ(DumpFile(Data() / "Simplex1.db"), "[Simplex1]\n");
}

TEST_F(DataModTest, DeleteRowsAndCopyRowsTouchOneTableAndOneTask) {
  TDM dm(Data());
  const int temp = dm.CreateTempTask();
  const TStatement s = LinearProgram("lp", 8, 2, 2, 0, 1);
  WriteStatement(dm, temp, s);
  ASSERT_TRUE(dm.InsertRows(50, s.Simplex1));

  ASSERT_TRUE(dm.DeleteRowsOfTask(TDetailTable::Simplex2, temp));
  EXPECT_EQ(dm.Simplex1Rows(temp)->size(), s.Simplex1.size());
  EXPECT_TRUE(dm.Simplex2Rows(temp)->empty());
  EXPECT_EQ(dm.Simplex1Rows(50)->size(), s.Simplex1.size());

  ASSERT_TRUE(dm.CopyRowsOfTask(TDetailTable::Simplex1, temp, 60));
  ASSERT_TRUE(dm.CopyRowsOfTask(TDetailTable::Simplex2, temp, 60));
  EXPECT_EQ(dm.Simplex1Rows(60), s.Simplex1);
  EXPECT_TRUE(dm.Simplex2Rows(60)->empty());
  EXPECT_TRUE(Recorder.Messages.empty());

  ASSERT_TRUE(dm.ClearTempRows(TDetailTable::Simplex1));
  EXPECT_TRUE(dm.Simplex1Rows(temp)->empty());
  EXPECT_EQ(dm.Simplex1Rows(50)->size(), s.Simplex1.size());
  EXPECT_EQ(dm.Simplex1Rows(60)->size(), s.Simplex1.size());
}

TEST_F(DataModTest, ListTasksFiltersByTypeAndShowsAForgottenTempRowOnlyAmongAll) {
  {
    TDM dm(Data());
    for (const auto& [name, type] :
         std::vector<std::pair<std::string, int>>{{"ЛП 1", 8}, {"назначение", 88}, {"ЛП 2", 8}}) {
      ASSERT_GT(dm.CreateTempTask(), 0);
      ASSERT_GT(dm.SaveTempTaskAs(name, type), 0);
      ASSERT_TRUE(dm.DropTempTask());
    }
    // A run that ends without dropping its temporary record leaves it behind.
    ASSERT_GT(dm.CreateTempTask(), 0);
  }
  TDM dm(Data());
  const auto all = dm.ListTasks();
  ASSERT_TRUE(all.has_value());
  std::vector<std::string> names;
  for (const auto& row : *all) names.push_back(row.TaskName);
  EXPECT_EQ(names, (std::vector<std::string>{"ЛП 1", "назначение", "ЛП 2", ""}));
  EXPECT_EQ(all->back().Save, "");
  EXPECT_EQ(all->back().TaskType, 0);
  const auto linear = dm.ListTasks(8);
  ASSERT_TRUE(linear.has_value());
  ASSERT_EQ(linear->size(), 2U);
  EXPECT_EQ((*linear)[0].TaskName, "ЛП 1");
  EXPECT_EQ((*linear)[1].TaskName, "ЛП 2");
  EXPECT_TRUE(dm.ListTasks(104)->empty());
}

TEST_F(DataModTest, MisuseIsRefusedWithoutTouchingTheFiles) {
  TDM dm(Data());
  const std::string before = DumpFolder(Data());
  EXPECT_EQ(dm.SaveTempTaskAs("ничего", 8), -1);
  EXPECT_FALSE(dm.SetTaskSizes(42, 1, 1, 1));
  EXPECT_FALSE(dm.InsertRows(-1, std::vector<TSimplex1Row>{{0, 0, "1"}}));
  ASSERT_EQ(Recorder.Messages.size(), 2U);
  EXPECT_EQ(Recorder.Messages[0].Text, "Нечего сохранять: временная запись задачи не создана.");
  EXPECT_NE(Recorder.Messages[1].Text.find("№ 42"), std::string::npos) << Recorder.Messages[1].Text;
  EXPECT_EQ(DumpFolder(Data()), before);
}

// Fields are matched without regard to case, and fields this program does not know travel with
// the copy.
TEST_F(DataModTest, ExistingTablesWithOtherCaseAndExtraFieldsAreUsedAsTheyAre) {
  std::filesystem::create_directories(Data());
  ASSERT_TRUE(ExecRaw(Data() / "Simplex2.db",
                      "CREATE TABLE SIMPLEX2(ID INTEGER PRIMARY KEY, TASKID INTEGER, y INTEGER, "
                      "SIGN INTEGER, Note TEXT)"));
  TDM dm(Data());
  ASSERT_TRUE(dm.IsOpen());
  const int temp = dm.CreateTempTask();
  ASSERT_TRUE(dm.InsertRows(temp, std::vector<TSimplex2Row>{{1, 4}}));
  ASSERT_TRUE(ExecRaw(Data() / "Simplex2.db", "UPDATE Simplex2 SET Note = 'пометка'"));
  const int saved = dm.SaveTempTaskAs("с пометкой", 8);
  ASSERT_GT(saved, 0);
  EXPECT_EQ(dm.Simplex2Rows(saved), (std::vector<TSimplex2Row>{{1, 4}}));
  EXPECT_EQ(DumpFile(Data() / "Simplex2.db"),
            "[SIMPLEX2]\n1|" + std::to_string(temp) + "|1|4|пометка|\n2|" + std::to_string(saved) + "|1|4|пометка|\n");
}

} // namespace
