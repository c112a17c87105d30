#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "macos/app/MenuItemAction.h"
#include "macos/app/MenuItems.h"

using namespace turnlet;
using namespace turnlet::macos;

namespace {

// An item as the backend builds one: the action in the C++ item, the platform's target holding
// the item weakly (`target`).
struct TestItem final : MenuItem {
  void setTitle(const std::string&) override {}
  void setKeyEquivalent(std::optional<KeyEquivalent>) override {}
  void setAction(std::function<void(MenuItem&)> fn) override { current.set(std::move(fn)); }
  void setTag(std::int64_t value) override { tagValue = value; }
  std::int64_t tag() const override { return tagValue; }
  void setChecked(bool) override {}
  void setEnabled(bool) override {}
  void setToolTip(const std::string&) override {}
  void setSubmenu(std::shared_ptr<Menu>) override {}
  MenuItemAction& action() { return current; }
  ~TestItem() override { ++*ended; }

  MenuItemAction current;
  std::int64_t tagValue = 0;
  std::shared_ptr<int> ended = std::make_shared<int>(0);
};

struct TestMenu {
  std::weak_ptr<TestItem> addItem(std::int64_t tag) {
    auto item = std::make_shared<TestItem>();
    item->setTag(tag);
    ended = item->ended;
    return items.add(item);
  }
  MenuItems<TestItem> items;
  std::shared_ptr<int> ended;
};

// An item whose action logs "ran" and its tag.
std::weak_ptr<TestItem> loggingItem(TestMenu& m, std::vector<std::string>& log, std::int64_t tag) {
  auto target = m.addItem(tag);
  target.lock()->setAction([&log](MenuItem& i) { log.push_back("ran " + std::to_string(i.tag())); });
  return target;
}

}  // namespace

TEST(MacMenuOwnership, AnItemsActionLivesWithTheItem) {
  struct Row {
    const char* name;
    // Builds the menu's one item with its action and returns the platform's weak target; `log`
    // records what ran.
    std::function<std::weak_ptr<TestItem>(TestMenu&, std::vector<std::string>& log)> build;
    std::function<void(TestMenu&)> afterBuild;
    std::vector<std::string> runs;  // after two choices
    bool itemAlive;                 // after them
  };
  const std::vector<Row> rows = {
      {"the handle dropped, the item still works", [](TestMenu& m, auto& log) { return loggingItem(m, log, 7); }, {},
       {"ran 7", "ran 7"}, true},
      {"an item without an action does nothing",
       [](TestMenu& m, auto&) { return m.addItem(1); }, {}, {}, true},
      {"an empty action is no action",
       [](TestMenu& m, auto& log) {
         auto target = loggingItem(m, log, 2);
         target.lock()->setAction({});
         return target;
       },
       {}, {}, true},
      {"the action removes every item, itself included",
       [](TestMenu& m, auto& log) {
         auto target = m.addItem(3);
         auto keep = std::make_shared<std::string>("captured");
         target.lock()->setAction([&m, &log, keep](MenuItem& i) {
           m.items.removeAll();
           // The item and this function's captures are still there until it returns.
           log.push_back(*keep + " " + std::to_string(i.tag()) + " ended " + std::to_string(*m.ended));
         });
         return target;
       },
       {}, {"captured 3 ended 0"}, false},
      {"the action replaces itself",
       [](TestMenu& m, auto& log) {
         auto target = m.addItem(4);
         target.lock()->setAction([&log](MenuItem& i) {
           i.setAction([&log](MenuItem&) { log.push_back("second"); });
           log.push_back("first");
         });
         return target;
       },
       {}, {"first", "second"}, true},
      {"removed before the choice reaches it", [](TestMenu& m, auto& log) { return loggingItem(m, log, 5); },
       [](TestMenu& m) {
         // A platform item still holding its target (queued) after the menu was emptied.
         auto gone = m.items.removeAll();
         EXPECT_FALSE(gone.at(0)->action().isSet());
         EXPECT_FALSE(gone.at(0)->action().run(*gone.at(0)));
       },
       {}, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> log;
    TestMenu menu;
    const std::weak_ptr<TestItem> target = row.build(menu, log);
    if (row.afterBuild) row.afterBuild(menu);
    // What the platform's target does when the user chooses the item, twice.
    MenuItemAction::choose(target);
    MenuItemAction::choose(target);
    EXPECT_EQ(log, row.runs);
    EXPECT_EQ(!target.expired(), row.itemAlive);
    EXPECT_EQ(*menu.ended, row.itemAlive ? 0 : 1);
    // The platform item is enabled exactly while it has an action to run.
    if (auto item = target.lock()) {
      EXPECT_EQ(item->action().isSet(), !row.runs.empty());
    }
  }
}
