#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "macos/windows/AnimationGroups.h"
#include "sim/system/ManualLoop.h"

using namespace turnlet;
using namespace turnlet::macos;

TEST(MacAnimationGroups, EachCompletionRunsOnceLaterOnTheLoopHoweverTheAnimationsEnd) {
  // Windows 1 and 2; each row drives the platform's side and says which groups completed when.
  using Groups = AnimationGroups;
  struct Row {
    const char* name;
    std::function<void(Groups&, std::function<Groups::GroupId()>)> run;
    std::vector<int> completed;  // group numbers in order of completion (1-based by creation)
  };
  const std::vector<Row> rows = {
      {"the platform completes the group",
       [](Groups& g, auto make) {
         auto a = make();
         g.animates(a, 1);
         g.changesEnded(a);
         g.platformCompleted(a);
         g.platformCompleted(a);  // a second report counts for nothing
       },
       {1}},
      {"not before the platform says so",
       [](Groups& g, auto make) {
         auto a = make();
         g.animates(a, 1);
         g.changesEnded(a);
       },
       {}},
      {"a group that animates nothing",
       [](Groups& g, auto make) { g.changesEnded(make()); }, {1}},
      {"the platform answers while the changes still run",
       [](Groups& g, auto make) {
         auto a = make();
         g.animates(a, 1);
         g.platformCompleted(a);
         g.changesEnded(a);
       },
       {1}},
      {"a newer group supersedes the window's animation",
       [](Groups& g, auto make) {
         auto a = make();
         g.animates(a, 1);
         g.changesEnded(a);
         auto b = make();
         g.animates(b, 1);
         g.changesEnded(b);
         g.platformCompleted(a);  // late report of the superseded one
       },
       {1}},
      {"a direct alpha ends it",
       [](Groups& g, auto make) {
         auto a = make();
         g.animates(a, 1);
         g.changesEnded(a);
         g.animationEnded(1);
       },
       {1}},
      {"a window gone while a second one still animates",
       [](Groups& g, auto make) {
         auto a = make();
         g.animates(a, 1);
         g.animates(a, 2);
         g.changesEnded(a);
         g.animationEnded(2);
       },
       {}},
      {"both windows gone, the platform silent",
       [](Groups& g, auto make) {
         auto a = make();
         g.animates(a, 1);
         g.animates(a, 2);
         g.changesEnded(a);
         g.animationEnded(2);
         g.animationEnded(1);
         g.animationEnded(1);
       },
       {1}},
      {"a window ended that another group no longer animates",
       [](Groups& g, auto make) {
         auto a = make();
         g.animates(a, 1);
         g.changesEnded(a);
         auto b = make();
         g.animates(b, 1);
         g.changesEnded(b);
         g.platformCompleted(b);
         g.animationEnded(1);
       },
       {1, 2}},
      {"the service ends with groups pending",
       [](Groups& g, auto make) {
         auto a = make();
         g.animates(a, 1);
         g.changesEnded(a);
         (void)g;
       },
       {}},
  };
  for (const Row& row : rows) {
    sim::ManualLoop loop;
    std::vector<int> completed;
    {
      Groups groups(loop);
      int made = 0;
      row.run(groups, [&] {
        const int number = ++made;
        return groups.begin([&completed, number] { completed.push_back(number); });
      });
      EXPECT_TRUE(completed.empty()) << row.name << ": ran inside the platform's call";
      loop.runUntilIdle();
      EXPECT_EQ(completed, row.completed) << row.name;
      completed.clear();
    }
    loop.runUntilIdle();  // what was pending completes when the service ends, once
    const std::size_t after = completed.size();
    EXPECT_LE(after, 1u) << row.name;
  }
}

TEST(MacAnimationGroups, ACompletionMayDestroyWindowsAndStartGroups) {
  // The completion of a fade closes the window it faded (destroying it ends its animation) and
  // starts another group: nothing runs twice, nothing runs inside the bookkeeping.
  sim::ManualLoop loop;
  AnimationGroups groups(loop);
  std::vector<std::string> log;
  auto window = std::make_unique<int>(7);
  AnimationGroups::GroupId second = 0;
  const auto first = groups.begin([&] {
    window.reset();
    groups.animationEnded(7);  // what destroying the window reports
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
  EXPECT_EQ(window, nullptr);
  groups.platformCompleted(first);
  groups.platformCompleted(second);
  groups.platformCompleted(second);
  loop.runUntilIdle();
  EXPECT_EQ(log, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(groups.pending(), 0u);
}
