#include <gtest/gtest.h>

#include "display/DisplayInfo.h"
#include "display/QuarterTurn.h"
#include "sim/system/ManualLoop.h"
#include "sim/world/World.h"

using namespace turnlet;

TEST(QuarterTurn, RawValuesPortraitSuccessorAndSourceSize) {
  for (QuarterTurn turn : allQuarterTurns) {
    const int count = quarterTurnCount(turn);
    EXPECT_EQ(quarterTurnFromRawValue(count * 90), turn);
    EXPECT_EQ(nextQuarterTurn(turn), allQuarterTurns[static_cast<std::size_t>(count + 1) % 4]) << count;
    EXPECT_EQ(isPortrait(turn), count % 2 == 1) << count;
    EXPECT_EQ(sourceSize(turn, {2048, 1536}), (count % 2 == 1 ? Size{1536, 2048} : Size{2048, 1536})) << count;
  }
  EXPECT_EQ(rawValue(QuarterTurn::left), 270);
  for (std::int64_t bad : {45, 360, -90, 271}) EXPECT_EQ(quarterTurnFromRawValue(bad), std::nullopt) << bad;
}

TEST(OnlineDisplays, SnapshotKeepsSystemOrderAndEnumerationFailuresShortenIt) {
  sim::ManualLoop loop;
  sim::World world(loop);  // the built-in Mac (1) and a Sidecar iPad (2)
  sim::DisplayServer& server = world.displays;
  sim::SimDisplay projector;
  projector.name = "Projector", projector.bounds = Rect(-800, 0, 800, 600), projector.vendor = 7;
  server.connect(projector);
  server.setMirrored(3, true);
  server.setHasScreen(2, false);
  auto list = DisplayInfo::online(server);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_TRUE(list[0].main);
  EXPECT_EQ(list[1].name, "Display 2");  // no screen object: still listed, named by id
  EXPECT_EQ(list[1].bounds, Rect(1440, 0, 1366, 1024));
  EXPECT_EQ(list[1].persistentID, "5F3B9C1E-8A47-4D2B-9E61-0C7A2B4D8F13");
  EXPECT_TRUE(list[2].mirrored && !list[2].persistentID && list[2].vendor == 7);

  // Screen list quirks decide names only; a later screen with the same number wins.
  server.screenListOverride = std::vector<ScreenInfo>{{1, "First", {}},
                                                      {std::nullopt, "No number", {}}, {-1, "Negative", {}},
                                                      {std::int64_t{1} << 32, "Too large", {}},
                                                      {1, "Later screen wins", {}}};
  list = DisplayInfo::online(server);
  EXPECT_EQ(list[0].name + "/" + list[1].name + "/" + list[2].name, "Later screen wins/Display 2/Display 3");

  server.failListCount = 1001;
  EXPECT_TRUE(DisplayInfo::online(server).empty());
  server.failListCount.reset();
  server.failListFill = 1000;
  EXPECT_TRUE(DisplayInfo::online(server).empty());
  server.failListFill.reset();
  // A display vanishes between counting and filling: the zero-filled slot is not reported.
  server.betweenListCalls = [&] { server.disconnect(2); };
  list = DisplayInfo::online(server);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].id, 3u);
}
