#include <gtest/gtest.h>

#include "app/CommandLine.h"

using namespace turnlet;

TEST(CommandLine, ChoosesTheModeAndIgnoresEverythingElse) {
  using Mode = CommandLine::Mode;
  struct Row {
    const char* name;
    std::vector<std::string> arguments;
    Mode mode;
    bool display = false, request = false;
  };
  const Row rows[] = {
      {"nothing", {"turnlet"}, Mode::application},
      {"launched by macOS", {"Turnlet", "-psn_0_1234", "-NSDocumentRevisionsDebugMode", "YES"}, Mode::application},
      {"case matters", {"turnlet", "--Help", "--list-displays=1", "-version"}, Mode::application},
      {"help wins", {"turnlet", "--self-test", "--version", "--help"}, Mode::help},
      {"version before listing", {"turnlet", "--list-displays", "--version"}, Mode::version},
      {"listing before self-test", {"turnlet", "--self-test", "--list-displays", "--display"}, Mode::listDisplays},
      {"self-test", {"turnlet", "-psn_0_1", "--self-test"}, Mode::selfTest},
      {"with a display", {"turnlet", "--display", "--self-test", "--request"}, Mode::selfTest, true, true},
      {"display alone", {"turnlet", "--display", "--request"}, Mode::application},
  };
  for (const Row& row : rows) {
    const CommandLine line = CommandLine::parse(row.arguments);
    EXPECT_EQ(line.mode, row.mode) << row.name;
    EXPECT_EQ(line.display, row.display) << row.name;
    EXPECT_EQ(line.request, row.request) << row.name;
  }
}
