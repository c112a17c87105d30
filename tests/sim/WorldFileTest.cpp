#include <gtest/gtest.h>

#include "sim/WorldFile.h"

using namespace turnlet;
using sim::parseWorld;

TEST(WorldFile, ReadsEveryFieldWithDefaultsForTheOptionalOnes) {
  auto world = parseWorld(R"({"displays": [
      {"id": 1, "name": "Built-in Retina Display", "bounds": [0, 0, 1440, 900], "vendor": 1552, "builtIn": true,
       "main": false, "mirrored": false, "uuid": "37D8832A-2D66-02CA-B9F7-8F30A301B230", "hasScreen": true},
      {"id": 4, "bounds": [1440, -10.5, 1366, 1024], "uuid": null, "hasScreen": false, "main": true, "scale": 0}]})",
                          "w.json");
  ASSERT_EQ(world.displays.size(), 2u);
  EXPECT_EQ(world.mainDisplay, 4u);
  EXPECT_TRUE(world.displays[0].builtIn);
  EXPECT_EQ(world.displays[0].uuid, "37D8832A-2D66-02CA-B9F7-8F30A301B230");
  const auto& b = world.displays[1];
  EXPECT_EQ(b.name, "Display 4");
  EXPECT_EQ(b.bounds, Rect(1440, -10.5, 1366, 1024));
  EXPECT_EQ(b.uuid, std::nullopt);
  EXPECT_FALSE(b.hasScreen);
  EXPECT_EQ(b.vendor, 0u);
  EXPECT_EQ(b.scale, 0);
}

TEST(WorldFile, RefusesAnythingItCannotUseWithOneLineNamingTheProblem) {
  struct Row {
    const char* json;
    const char* problem;
  };
  const Row rows[] = {
      {"", "w.json: not valid JSON"},
      {"[1, 2]", "w.json: the world must be a JSON object"},
      {"{}", "w.json: the world needs a \"displays\" list"},
      {R"({"displays": {}})", "w.json: \"displays\" must be a list"},
      {R"({"displays": [], "windows": []})", "w.json: the world has an unknown field \"windows\""},
      {R"({"displays": [7]})", "w.json: displays[0] must be an object"},
      {R"({"displays": [{"bounds": [0,0,1,1]}]})", "w.json: displays[0] needs an \"id\""},
      {R"({"displays": [{"id": 1.5, "bounds": [0,0,1,1]}]})", "displays[0].id must be an unsigned 32-bit integer"},
      {R"({"displays": [{"id": 0, "bounds": [0,0,1,1]}]})", "displays[0].id must not be 0"},
      {R"({"displays": [{"id": 1}]})", "displays[0] needs \"bounds\""},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1]}]})", "displays[0].bounds must be [x, y, width, height]"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,"1",1]}]})", "displays[0].bounds[2] must be a number"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,-1,1]}]})", "displays[0].bounds must not have a negative size"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1,1], "name": 5}]})", "displays[0].name must be a string"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1,1], "main": 1}]})", "displays[0].main must be true or false"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1,1], "builtin": true}]})", "displays[0] has an unknown field \"builtin\""},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1,1]}, {"id": 1, "bounds": [0,0,1,1]}]})", "displays[1].id 1 is used twice"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.json);
    try {
      parseWorld(row.json, "w.json");
      ADD_FAILURE() << "accepted";
    } catch (const sim::WorldFileError& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find(row.problem), std::string::npos) << what;
      EXPECT_EQ(what.rfind("w.json: ", 0), 0u) << what;
      EXPECT_EQ(what.find('\n'), std::string::npos) << what;
    }
  }
  EXPECT_THROW(sim::loadWorldFile("/nonexistent/world.json"), sim::WorldFileError);
}
