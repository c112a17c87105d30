#include <gtest/gtest.h>

#include "sim/world/WorldFile.h"

using namespace turnlet;
using sim::parseWorld;

TEST(WorldFile, RefusesAnythingItCannotUseWithOneLineNamingTheProblem) {
  const std::pair<const char*, const char*> rows[] = {
      {"[1, 2]", "w.json: the world must be a JSON object"}, {"{}", "w.json: the world needs a \"displays\" list"},
      {R"({"displays": [], "windows": []})", "w.json: the world has an unknown field \"windows\""},
      {R"({"displays": [{"bounds": [0,0,1,1]}]})", "w.json: displays[0] needs an \"id\""},
      {R"({"displays": [{"id": 1.5, "bounds": [0,0,1,1]}]})", "displays[0].id must be an unsigned 32-bit integer"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1]}]})", "displays[0].bounds must be [x, y, width, height]"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,-1,1]}]})", "displays[0].bounds[2] must be from 0 to 16384, not -1"},
      // Numbers the simulated Mac cannot draw: refused before any picture is allocated.
      {R"({"displays": [{"id": 1, "bounds": [0,0,1e308,1]}]})", "displays[0].bounds[2] must be from 0 to 16384, not 1e+308"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1,16385]}]})", "displays[0].bounds[3] must be from 0 to 16384, not 16385"},
      {R"({"displays": [{"id": 1, "bounds": [32769,0,1,1]}]})", "displays[0].bounds[0] must be from -32768 to 32768"},
      {R"({"displays": [{"id": 1, "bounds": [0,-32768.5,1,1]}]})", "displays[0].bounds[1] must be from -32768 to 32768"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1,1], "scale": 0.5}]})", "displays[0].scale must be 0 or from 1 to 4"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1,1], "scale": 4.01}]})",
       "displays[0].scale must be 0 or from 1 to 4, not 4.01"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,8193,1]}]})",
       "displays[0] must be at most 16384 pixels wide (bounds × scale), not 16386"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1,4097], "scale": 4}]})",
       "displays[0] must be at most 16384 pixels high (bounds × scale), not 16388"},
      {R"({"displays": [{"id": 5000000000, "bounds": [0,0,1,1]}]})",
       "displays[0].id must be an unsigned 32-bit integer, not 5000000000"},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1,1], "builtin": true}]})",
       "displays[0] has an unknown field \"builtin\""},
      {R"({"displays": [{"id": 1, "bounds": [0,0,1,1]}, {"id": 1, "bounds": [0,0,1,1]}]})",
       "displays[1].id 1 is used twice"},
      {R"({"displays": [], "applications": {}})", "\"applications\" must be a list"},
      {R"({"displays": [], "applications": [{"pid": 0}]})", "applications[0].pid must be a process id"},
      {R"({"displays": [], "applications": [{"pid": 2}, {"pid": 2}]})", "applications[1].pid 2 is used twice"},
      {R"({"displays": [], "applications": [{"pid": 2, "windows": [{"bounds": [0,0,1,1]}]}]})",
       "applications[0].windows[0] needs a \"number\""},
      {R"({"displays": [], "applications": [{"pid": 2, "windows": [{"number": 0, "bounds": [0,0,1,1]}]}]})",
       "applications[0].windows[0].number must not be 0"},
      {R"({"displays": [], "applications": [{"pid": 2, "windows": [{"number": 3, "bounds": [0,0,1,1], "layer": 1e10}]}]})",
       "applications[0].windows[0].layer must be a whole number from -2147483648 to 2147483647"},
      {R"({"displays": [], "applications": [{"pid": 2, "windows": [{"number": 3, "bounds": [0,0,1,1], "layer": -2147483649}]}]})",
       "applications[0].windows[0].layer must be a whole number"},
      {R"({"displays": [], "applications": [{"pid": 2, "windows": [{"number": 3, "bounds": [0,0,1,1], "layer": 2.5}]}]})",
       "applications[0].windows[0].layer must be a whole number"},
      {R"({"displays": [], "applications": [{"pid": 2, "windows": [{"number": 3, "bounds": [0,0,1,1], "layer": "1"}]}]})",
       "applications[0].windows[0].layer must be a whole number"},
      {R"({"displays": [], "applications": [{"pid": 2, "windows": [{"number": 3, "bounds": [0,0,1,1],
          "elements": [{"frame": [0,0,1,1], "parent": 0}]}]}]})",
       "applications[0].windows[0].elements[0].parent must be -1 or the index of an earlier element"},
      {R"({"displays": [], "applications": [{"pid": 2, "windows": [{"number": 3, "bounds": [0,0,1,1],
          "elements": [{"frame": [0,0,1,1], "actions": ["AXPress", 1]}]}]}]})",
       "applications[0].windows[0].elements[0].actions[1] must be a string"},
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
  for (const auto& [path, line] : {std::pair{"/nonexistent/world.json", "/nonexistent/world.json: cannot be read"},
                                   {"/", "/: is a directory, not a file"}}) {
    try {
      sim::loadWorldFile(path);
      ADD_FAILURE() << "read " << path;
    } catch (const sim::WorldFileError& e) {
      EXPECT_EQ(std::string(e.what()), line);
    }
  }
}

TEST(WorldFile, AcceptsDisplaysAtTheEdgesOfTheirRanges) {
  const std::tuple<const char*, Rect, double> rows[] = {
      {R"("bounds": [-32768, 32768, 8192, 8192])", Rect(-32768, 32768, 8192, 8192), 2},
      {R"("bounds": [32768, -32768, 16384, 1], "scale": 1)", Rect(32768, -32768, 16384, 1), 1},
      {R"("bounds": [0, 0, 4096, 4096], "scale": 4)", Rect(0, 0, 4096, 4096), 4},
      {R"("bounds": [0, 0, 16384, 16384], "scale": 0)", Rect(0, 0, 16384, 16384), 0},
      {R"("bounds": [0, 0, 0, 0])", Rect(0, 0, 0, 0), 2},
  };
  for (const auto& [fields, bounds, scale] : rows) {
    const auto world = parseWorld(std::string(R"({"displays": [{"id": 1, )") + fields + "}]}", "w.json");
    EXPECT_EQ(std::pair(world.displays.at(0).bounds, world.displays.at(0).scale), std::pair(bounds, scale)) << fields;
  }
}

TEST(WorldFile, ReadsApplicationsWithTheirWindowsAndElements) {
  const auto world = parseWorld(R"({"displays": [], "applications": [{"pid": 7, "windows": [{"number": 9,
      "title": "T", "bounds": [1, 2, 3, 4], "alpha": 0.5, "layer": 2, "titleBarHeight": 20, "positionSettable": false,
      "elements": [{"role": "AXCheckBox", "frame": [5, 6, 7, 8], "enabled": false, "actions": []},
                   {"frame": [0, 0, 1, 1], "parent": 0}]}]}]})",
                                "w.json");
  ASSERT_EQ(world.applications.size(), 1u);
  const auto& app = world.applications[0];
  EXPECT_EQ(app.name, "Application 7");
  ASSERT_EQ(app.windows.size(), 1u);
  const auto& w = app.windows[0];
  EXPECT_EQ(std::tuple(w.number, w.title, w.bounds, w.alpha, w.layer, w.titleBarHeight, w.positionSettable),
            std::tuple(9u, std::string("T"), Rect(1, 2, 3, 4), 0.5, 2, 20.0, false));
  ASSERT_EQ(w.elements.size(), 2u);
  EXPECT_EQ(std::tuple(w.elements[0].role, w.elements[0].frame, w.elements[0].enabled, w.elements[0].actions.size()),
            std::tuple(std::string("AXCheckBox"), Rect(5, 6, 7, 8), false, 0u));
  EXPECT_EQ(w.elements[1].parent, 0);
  for (const auto& [text, layer] : {std::pair{"-2147483648", -2147483647 - 1}, {"2147483647", 2147483647}, {"3.0", 3}}) {
    const auto one = parseWorld(std::string(R"({"displays": [], "applications": [{"pid": 7, "windows": [{"number": 9,
        "bounds": [1, 2, 3, 4], "layer": )") + text + "}]}]}", "w.json");
    EXPECT_EQ(one.applications.at(0).windows.at(0).layer, layer) << text;
  }
}
