// Task names, stage counts and the step sequence of every task type.
#include "ZLPCore_StageTasks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct TaskCase {
  const char* name;
  std::uint8_t type;
  const char* title;
  int stages;
  std::vector<std::uint8_t> kinds; // empty: no wizard
};

class TaskTypeTest : public ::testing::TestWithParam<TaskCase> {};

TEST_P(TaskTypeTest, NameCountAndSequence) {
  const TaskCase& c = GetParam();
  EXPECT_EQ(GetTaskName(c.type), c.title);
  EXPECT_EQ(GetTaskStageCount(c.type), c.stages);
  TZLPCore_StageTasks tasks(2);
  tasks[0].StageKind = 77;
  tasks[1].Reserved2 = 5;
  const bool built = BuildStageTasks(c.type, tasks);
  if (c.kinds.empty()) {
    EXPECT_FALSE(built);
    ASSERT_EQ(tasks.size(), 2U) << "the sequence must be left as it was";
    EXPECT_EQ(tasks[0].StageKind, 77);
    EXPECT_EQ(tasks[1].Reserved2, 5U);
    return;
  }
  ASSERT_TRUE(built);
  ASSERT_EQ(tasks.size(), c.kinds.size());
  EXPECT_EQ(static_cast<int>(tasks.size()), c.stages);
  for (std::size_t i = 0; i < tasks.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(tasks[i].StageKind, c.kinds[i]);
    EXPECT_EQ(tasks[i].Reserved[0], 0);
    EXPECT_EQ(tasks[i].Reserved[1], 0);
    EXPECT_EQ(tasks[i].Reserved[2], 0);
    EXPECT_EQ(tasks[i].Reserved2, 0U);
  }
}

constexpr const char* kUnknown = "GetTaskName не знает такой задачи";

INSTANTIATE_TEST_SUITE_P(
    Types, TaskTypeTest,
    ::testing::Values(TaskCase{"Linear", 8, "Задача линейного программирования", 4, {1, 8, 10, 12}},
                      TaskCase{"Integer", 24, "Задача целочисленного программирования", 5, {1, 11, 8, 10, 12}},
                      TaskCase{"Quadratic", 40, "Задача квадратичного программирования", 6, {1, 6, 8, 7, 10, 12}},
                      TaskCase{"Fractional", 56, "Задача дробно-линейного программирования", 6, {3, 4, 8, 10, 5, 12}},
                      TaskCase{"Cutting", 72, "Задача о раскрое", 5, {2, 9, 8, 10, 12}},
                      TaskCase{"Assignment", 88, "Задача о назначении", 0, {}},
                      TaskCase{"Regression", 104, "Поиск коэффициентов регрессии", 0, {}},
                      TaskCase{"None", 255, "", 0, {}}, TaskCase{"Zero", 0, kUnknown, 0, {}},
                      TaskCase{"Nine", 9, kUnknown, 0, {}}, TaskCase{"LinearWithTopBit", 136, kUnknown, 0, {}},
                      TaskCase{"TwoFiftyFour", 254, kUnknown, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StageTasks, ElementIsEightBytes) { EXPECT_EQ(sizeof(TZLPCore_StageTask), 8U); }

} // namespace
