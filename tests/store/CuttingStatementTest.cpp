// Cutting-stock statements in the store: the amount of material comes back exactly as it was typed,
// whole or not, and the problem still maximises (its Max holds the material, not a direction).
#include "StatementStore.h"
#include "StoreTestSupport.h"
#include "TaskCatalog.h"

using namespace storetest;

namespace {

class CuttingStatementTest : public ::testing::Test {
protected:
  TTempDir Dir;
  TMessageRecorder Recorder;
};

TStatementGrid Cutting(const std::string& material) {
  TStatementGrid grid = NewStatement(TT_CUTTING, 3, 2);
  grid.Material = material;
  const char* const cells[2][4] = {{"1", "3", "", "1/2"}, {"2,5", "1", "2", "0"}};
  for (std::int32_t y = 1; y <= 2; ++y)
    for (std::int32_t x = 0; x <= 3; ++x) grid.SetCell(x, y, cells[y - 1][x]);
  return grid;
}

// Max holds the whole part of the material; the exact text is in cell (0, 0) unless Max says it all.
// A second material cell is refused rather than one of the two chosen.
TEST_F(CuttingStatementTest, MaterialComesBackAsTyped) {
  struct TCase {
    const char* Material;
    int Max;
    bool OwnCell;
  };
  const TCase cases[] = {
      {"10", 10, false}, {"0", 0, false}, {"15/2", 7, true}, {"2.5", 2, true},
      {"007", 7, true},  {"+7", 7, true}, {"1/3", 0, true},  {"", 0, true},
  };
  TDM dm(Dir.Path / "data");
  const int temp = dm.CreateTempTask();
  ASSERT_GT(temp, 0);
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string("material \"") + c.Material + "\"");
    const TStatementGrid typed = Cutting(c.Material);
    ASSERT_TRUE(StoreStatement(dm, temp, typed));
    const auto task = dm.FindTask(temp);
    ASSERT_TRUE(task.has_value());
    EXPECT_EQ(task->Max, c.Max);
    const auto rows = dm.Simplex1Rows(temp);
    ASSERT_TRUE(rows.has_value());
    const bool ownCell =
        std::any_of(rows->begin(), rows->end(), [](const TSimplex1Row& r) { return r.X == 0 && r.Y == 0; });
    EXPECT_EQ(ownCell, c.OwnCell);

    std::string error;
    const auto back = LoadStatement(dm, temp, error, TT_CUTTING);
    ASSERT_TRUE(back.has_value()) << error;
    EXPECT_EQ(*back, typed);
  }
  ASSERT_TRUE(dm.InsertRows(temp, std::vector<TSimplex1Row>{{0, 0, "9/2"}}));
  std::string error;
  EXPECT_FALSE(LoadStatement(dm, temp, error, TT_CUTTING).has_value());
  EXPECT_NE(error.find("записана дважды"), std::string::npos) << error;
  EXPECT_TRUE(Recorder.Messages.empty());
}

} // namespace
