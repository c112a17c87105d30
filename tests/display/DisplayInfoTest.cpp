#include <gtest/gtest.h>

#include "display/AppFailure.h"
#include "display/DisplayInfo.h"
#include "display/QuarterTurn.h"
#include "sim/ManualLoop.h"
#include "sim/World.h"

using namespace turnlet;

TEST(QuarterTurn, RawValuesPortraitSuccessorAndSourceSize) {
  const struct {
    QuarterTurn turn;
    int degrees;
    bool portrait;
    QuarterTurn next;
    Size sourceOf2048x1536;
  } rows[] = {{QuarterTurn::normal, 0, false, QuarterTurn::right, {2048, 1536}},
              {QuarterTurn::right, 90, true, QuarterTurn::inverted, {1536, 2048}},
              {QuarterTurn::inverted, 180, false, QuarterTurn::left, {2048, 1536}},
              {QuarterTurn::left, 270, true, QuarterTurn::normal, {1536, 2048}}};
  for (const auto& row : rows) {
    EXPECT_EQ(quarterTurnFromRawValue(row.degrees), row.turn);
    EXPECT_EQ(isPortrait(row.turn), row.portrait) << row.degrees;
    EXPECT_EQ(nextQuarterTurn(row.turn), row.next) << row.degrees;
    EXPECT_EQ(sourceSize(row.turn, {2048, 1536}), row.sourceOf2048x1536) << row.degrees;
    EXPECT_EQ(allQuarterTurns[static_cast<std::size_t>(quarterTurnCount(row.turn))], row.turn) << row.degrees;
  }
  for (std::int64_t bad : {45, 360, -90, 271}) EXPECT_EQ(quarterTurnFromRawValue(bad), std::nullopt) << bad;
  // The localised description of the program's own failure is its message, with nothing added.
  EXPECT_EQ(static_cast<const Error&>(AppFailure("Try again.")).localizedDescription(), "Try again.");
}

TEST(OnlineDisplays, SnapshotKeepsSystemOrderAndEnumerationFailuresShortenIt) {
  const auto display = [](DisplayID id, std::string name, Rect bounds) {
    sim::SimDisplay d;
    d.uuid = "UUID-" + std::to_string(id), d.id = id, d.name = std::move(name), d.bounds = bounds, d.vendor = 1552;
    return d;
  };
  sim::ManualLoop loop;
  sim::World world{loop, {{display(3, "Built-in", {0, 0, 1440, 900}), display(5, "iPad", {1440, 0, 1366, 1024}),
                           display(9, "Projector", {-800, 0, 800, 600})},
                          3}};
  sim::DisplayServer& server = world.displays;
  server.setMirrored(9, true);
  server.setHasScreen(5, false);
  auto list = DisplayInfo::online(server);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_TRUE(list[0].main);
  EXPECT_EQ(list[1].name, "Display 5");  // no screen object: still listed, named by id
  EXPECT_EQ(list[1].bounds, Rect(1440, 0, 1366, 1024));
  EXPECT_EQ(list[1].persistentID, "UUID-5");
  EXPECT_FALSE(list[1].main);
  EXPECT_TRUE(list[2].mirrored);
  EXPECT_EQ(list[2].vendor, 1552u);

  // Screen list quirks decide names only; a later screen with the same number wins.
  server.screenListOverride = std::vector<ScreenInfo>{{3, "First", {}}, {std::nullopt, "No number", {}},
                                                      {-1, "Negative", {}}, {std::int64_t{1} << 32, "Too large", {}},
                                                      {3, "Later screen wins", {}}};
  list = DisplayInfo::online(server);
  EXPECT_EQ(list[0].name + "/" + list[1].name + "/" + list[2].name, "Later screen wins/Display 5/Display 9");

  server.failListCount = 1001;
  EXPECT_TRUE(DisplayInfo::online(server).empty());
  server.failListCount.reset();
  server.failListFill = 1000;
  EXPECT_TRUE(DisplayInfo::online(server).empty());
  server.failListFill.reset();
  // A display vanishes between counting and filling: the zero-filled slot is not reported.
  server.betweenListCalls = [&] { server.disconnect(5); };
  list = DisplayInfo::online(server);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].id, 9u);
}

TEST(OwnVirtualDisplay, RecognisedByVendorOrExactName) {
  const struct {
    const char* name;
    std::uint32_t vendor;
    bool own;
  } rows[] = {{"Turnlet Desktop", 1552, true}, {"turnlet desktop", 1552, false}, {"iPad", 0x544C, true},
              {"Turnlet Desktop ", 21581, false}};
  for (const auto& row : rows) {
    DisplayInfo d;
    d.name = row.name, d.vendor = row.vendor;
    EXPECT_EQ(d.isOwnVirtualDisplay(), row.own) << row.name;
  }
}
