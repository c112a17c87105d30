#include <gtest/gtest.h>

#include "display/AppFailure.h"
#include "display/DisplayInfo.h"
#include "display/QuarterTurn.h"
#include "sim/ManualLoop.h"
#include "sim/World.h"

using namespace turnlet;

TEST(QuarterTurn, RawValuesPortraitSuccessorAndSourceSize) {
  struct Row {
    const char* name;
    QuarterTurn turn;
    int degrees;
    bool portrait;
    QuarterTurn next;
    Size sourceOf2048x1536;
  };
  const Row rows[] = {
      {"normal", QuarterTurn::normal, 0, false, QuarterTurn::right, {2048, 1536}},
      {"right", QuarterTurn::right, 90, true, QuarterTurn::inverted, {1536, 2048}},
      {"inverted", QuarterTurn::inverted, 180, false, QuarterTurn::left, {2048, 1536}},
      {"left", QuarterTurn::left, 270, true, QuarterTurn::normal, {1536, 2048}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(rawValue(row.turn), row.degrees);
    EXPECT_EQ(quarterTurnFromRawValue(row.degrees), row.turn);
    EXPECT_EQ(isPortrait(row.turn), row.portrait);
    EXPECT_EQ(nextQuarterTurn(row.turn), row.next);
    EXPECT_EQ(sourceSize(row.turn, {2048, 1536}), row.sourceOf2048x1536);
    EXPECT_EQ(quarterTurnCount(row.turn), row.degrees / 90);
  }
  for (std::int64_t bad : {45, 360, -90, 1, 271, -360}) EXPECT_EQ(quarterTurnFromRawValue(bad), std::nullopt) << bad;
  EXPECT_EQ(std::vector<QuarterTurn>(allQuarterTurns.begin(), allQuarterTurns.end()),
            (std::vector<QuarterTurn>{QuarterTurn::normal, QuarterTurn::right, QuarterTurn::inverted, QuarterTurn::left}));
}

TEST(AppFailure, DescriptionIsTheMessageUnchanged) {
  AppFailure failure("Set Sidecar to Use As Separate Display first.");
  const Error& asError = failure;
  EXPECT_EQ(asError.localizedDescription(), "Set Sidecar to Use As Separate Display first.");
  EXPECT_STREQ(failure.what(), "Set Sidecar to Use As Separate Display first.");
}

namespace {

sim::SimDisplay display(DisplayID id, std::string name, Rect bounds) {
  sim::SimDisplay d;
  d.id = id;
  d.name = std::move(name);
  d.bounds = bounds;
  d.vendor = 1552;
  d.uuid = "UUID-" + std::to_string(id);
  return d;
}

}  // namespace

class OnlineDisplays : public ::testing::Test {
 protected:
  sim::ManualLoop loop;
  sim::WorldDescription description{{display(3, "Built-in", {0, 0, 1440, 900}), display(5, "iPad", {1440, 0, 1366, 1024}),
                                     display(9, "Projector", {-800, 0, 800, 600})},
                                    3};
  sim::World world{loop, description};
};

TEST_F(OnlineDisplays, SnapshotKeepsSystemOrderAndReadsEveryField) {
  world.displays.setMirrored(9, true);
  world.displays.setHasScreen(5, false);
  auto list = DisplayInfo::online(world.displays);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].id, 3u);
  EXPECT_TRUE(list[0].main);
  EXPECT_EQ(list[1].id, 5u);
  EXPECT_EQ(list[1].name, "Display 5");  // no screen object: still listed, named by id
  EXPECT_EQ(list[1].bounds, Rect(1440, 0, 1366, 1024));
  EXPECT_EQ(list[1].persistentID, "UUID-5");
  EXPECT_FALSE(list[1].main);
  EXPECT_EQ(list[2].name, "Projector");
  EXPECT_TRUE(list[2].mirrored);
  EXPECT_EQ(list[2].vendor, 1552u);
}

TEST_F(OnlineDisplays, ScreenListQuirksDecideNamesOnly) {
  world.displays.screenListOverride = std::vector<ScreenInfo>{
      {3, "First name", {}},
      {std::nullopt, "No number", {}},
      {-1, "Negative", {}},
      {std::int64_t{1} << 32, "Too large", {}},
      {3, "Later screen wins", {}},
  };
  auto list = DisplayInfo::online(world.displays);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].name, "Later screen wins");
  EXPECT_EQ(list[1].name, "Display 5");
  EXPECT_EQ(list[2].name, "Display 9");
}

TEST_F(OnlineDisplays, EnumerationFailuresShortenTheList) {
  world.displays.failListCount = 1001;
  EXPECT_TRUE(DisplayInfo::online(world.displays).empty());
  world.displays.failListCount.reset();

  world.displays.failListFill = 1000;
  EXPECT_TRUE(DisplayInfo::online(world.displays).empty());
  world.displays.failListFill.reset();

  // A display vanishes between counting and filling: the zero-filled slot is not reported.
  world.displays.betweenListCalls = [&] { world.displays.disconnect(5); };
  auto list = DisplayInfo::online(world.displays);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].id, 3u);
  EXPECT_EQ(list[1].id, 9u);

  sim::World empty(loop, sim::WorldDescription{});
  EXPECT_TRUE(DisplayInfo::online(empty.displays).empty());
}

TEST(OwnVirtualDisplay, RecognisedByVendorOrExactName) {
  DisplayInfo d;
  d.name = "Turnlet Desktop";
  d.vendor = 1552;
  EXPECT_TRUE(d.isOwnVirtualDisplay());
  d.name = "turnlet desktop";
  EXPECT_FALSE(d.isOwnVirtualDisplay());
  d.vendor = 0x544C;
  EXPECT_TRUE(d.isOwnVirtualDisplay());
  d.vendor = 21581;
  d.name = "Turnlet Desktop ";
  EXPECT_FALSE(d.isOwnVirtualDisplay());
}
