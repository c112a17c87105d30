#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "macos/windows/AnimationGroups.h"
#include "sim/system/ManualLoop.h"

using namespace turnlet;
using namespace turnlet::macos;

TEST(MacAnimationGroups, EachCompletionRunsOnceLaterOnTheLoopHoweverTheAnimationsEnd) {
  // Each row is what the platform's side does, step by step: "b" begins the next group, "a1:2"
  // group 1 animates window 2, "e1" group 1's changes end, "p1" the platform reports group 1
  // complete, "w2" window 2's animation ends (a direct alpha, or the window gone). Groups are
  // numbered from 1 in order of beginning; `completed` lists them in order of completion.
  struct Row {
    const char* name;
    const char* steps;
    std::vector<int> completed;
  };
  const std::vector<Row> rows = {
      {"the platform completes the group", "b a1:1 e1 p1 p1", {1}},  // a second report: nothing
      {"not before the platform says so", "b a1:1 e1", {}},
      {"a group that animates nothing", "b e1", {1}},
      {"the platform answers while the changes still run", "b a1:1 p1 e1", {1}},
      {"a newer group supersedes the window's animation", "b a1:1 e1 b a2:1 e2 p1", {1}},
      {"a direct alpha ends it", "b a1:1 e1 w1", {1}},
      {"a window gone while a second one still animates", "b a1:1 a1:2 e1 w2", {}},
      {"both windows gone, the platform silent", "b a1:1 a1:2 e1 w2 w1 w1", {1}},
      {"a window ended that another group no longer animates", "b a1:1 e1 b a2:1 e2 p2 w1", {1, 2}},
      {"the service ends with groups pending", "b a1:1 e1", {}},
  };
  for (const Row& row : rows) {
    sim::ManualLoop loop;
    std::vector<int> completed;
    {
      AnimationGroups groups(loop);
      std::vector<AnimationGroups::GroupId> ids;
      std::istringstream steps(row.steps);
      for (std::string step; steps >> step;) {
        const int first = step.size() > 1 ? std::stoi(step.substr(1)) : 0;
        const auto colon = step.find(':');
        switch (step[0]) {
          case 'b': {
            const int number = static_cast<int>(ids.size()) + 1;
            ids.push_back(groups.begin([&completed, number] { completed.push_back(number); }));
            break;
          }
          case 'a': groups.animates(ids.at(first - 1), std::stoi(step.substr(colon + 1))); break;
          case 'e': groups.changesEnded(ids.at(first - 1)); break;
          case 'p': groups.platformCompleted(ids.at(first - 1)); break;
          case 'w': groups.animationEnded(first); break;
          default: FAIL() << row.name << ": unknown step " << step;
        }
      }
      EXPECT_TRUE(completed.empty()) << row.name << ": ran inside the platform's call";
      loop.runUntilIdle();
      EXPECT_EQ(completed, row.completed) << row.name;
      completed.clear();
    }
    loop.runUntilIdle();  // what was pending completes when the service ends, once
    EXPECT_LE(completed.size(), 1u) << row.name;
  }
}

TEST(MacAnimationGroups, ACompletionMayDestroyWindowsAndStartGroups) {
  // The completion of a fade closes the window it faded (destroying it ends its animation) and
  // starts another group: nothing runs twice, nothing runs inside the bookkeeping.
  sim::ManualLoop loop;
  AnimationGroups groups(loop);
  std::vector<std::string> log;
  AnimationGroups::GroupId second = 0;
  const auto first = groups.begin([&] {
    groups.animationEnded(7);  // what destroying window 7 reports
    second = groups.begin([&] { log.push_back("second"); });
    groups.animates(second, 8);
    groups.changesEnded(second);
    log.push_back("first");
  });
  groups.animates(first, 7);
  groups.changesEnded(first);
  groups.platformCompleted(first);
  loop.runUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"first"}));
  groups.platformCompleted(first);
  groups.platformCompleted(second);
  groups.platformCompleted(second);
  loop.runUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(groups.pending(), 0u);
}
