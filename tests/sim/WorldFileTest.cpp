#include <gtest/gtest.h>

#include "sim/WorldFile.h"

using namespace turnlet;
using sim::parseWorld;

TEST(WorldFile, RefusesAnythingItCannotUseWithOneLineNamingTheProblem) {
  const std::pair<const char*, const char*> rows[] = {
      {"[1, 2]", "w.json: the world must be a JSON object"}, {"{}", "w.json: the world needs a \"displays\" list"},
      {R"({"displays": [], "windows": []})", "w.json: the world has an unknown field \"windows\""},
      {R"({"displays": [{"bounds": [0,0,1,1]}]})", "w.json: displays[0] needs an \"id\""},
      {R"({"displays": [{"id": 1.5, "bounds": [0,0,1,1]}]})", "displays[0].id must be an unsigned 32-bit integer"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1]}]})", "displays[0].bounds must be [x, y, width, height]"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,-1,1]}]})", "displays[0].bounds must not have a negative size"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1,1], "builtin": true}]})",
       "displays[0] has an unknown field \"builtin\""},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1,1]}, {"id": 1, "bounds": [0,0,1,1]}]})",
       "displays[1].id 1 is used twice"},
  };
  for (const auto& [json, problem] : rows) {
    try {
      parseWorld(json, "w.json");
      ADD_FAILURE() << "accepted " << json;
    } catch (const sim::WorldFileError& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find(problem), std::string::npos) << what;
      EXPECT_EQ(what.rfind("w.json: ", 0), 0u) << what;
      EXPECT_EQ(what.find('\n'), std::string::npos) << what;
    }
  }
  EXPECT_THROW(sim::loadWorldFile("/nonexistent/world.json"), sim::WorldFileError);
}
