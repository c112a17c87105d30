#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

#include "macos/display/ConfigurationHandles.h"
#include "macos/display/DisplayValues.h"

using namespace turnlet;
using namespace turnlet::macos;

TEST(MacDisplayValues, NumberKindsFollowTheTypeEncoding) {
  const std::vector<std::pair<const char*, NumberKind>> rows = {
      {"c", NumberKind::signedInteger}, {"i", NumberKind::signedInteger},   {"q", NumberKind::signedInteger},
      {"C", NumberKind::unsignedInteger}, {"I", NumberKind::unsignedInteger}, {"Q", NumberKind::unsignedInteger},
      {"f", NumberKind::real},          {"d", NumberKind::real},            {"B", NumberKind::boolean},
      {"", NumberKind::other},          {"{CGSize=dd}", NumberKind::other}, {"qq", NumberKind::other},
  };
  for (const auto& [encoding, kind] : rows) EXPECT_EQ(numberKind(encoding), kind) << encoding;
}

TEST(MacDisplayValues, ScreenNumbersAreWholeNumbersOfAnyCarrier) {
  auto number = [](NumberKind kind, std::int64_t s, std::uint64_t u, double r) {
    return std::optional<PlatformNumber>(PlatformNumber{kind, s, u, r});
  };
  constexpr auto maxSigned = std::numeric_limits<std::int64_t>::max();
  struct Row {
    const char* name;
    std::optional<PlatformNumber> entry;
    std::optional<std::int64_t> number;
  };
  const std::vector<Row> rows = {
      {"missing", std::nullopt, std::nullopt},
      {"signed", number(NumberKind::signedInteger, 69733382, 0, 0), 69733382},
      {"negative signed kept for the caller", number(NumberKind::signedInteger, -1, 0, 0), -1},
      {"unsigned 32-bit id", number(NumberKind::unsignedInteger, 0, 4294967295u, 0), 4294967295},
      {"unsigned at the signed limit", number(NumberKind::unsignedInteger, 0, maxSigned, 0), maxSigned},
      {"unsigned beyond the signed limit", number(NumberKind::unsignedInteger, 0, std::uint64_t(maxSigned) + 1, 0),
       std::nullopt},
      {"whole real", number(NumberKind::real, 0, 0, 2.0), 2},
      {"fraction", number(NumberKind::real, 0, 0, 2.5), std::nullopt},
      {"NaN", number(NumberKind::real, 0, 0, std::numeric_limits<double>::quiet_NaN()), std::nullopt},
      {"infinity", number(NumberKind::real, 0, 0, std::numeric_limits<double>::infinity()), std::nullopt},
      {"real at 2^63", number(NumberKind::real, 0, 0, 9223372036854775808.0), std::nullopt},
      {"real at -2^63", number(NumberKind::real, 0, 0, -9223372036854775808.0), std::numeric_limits<std::int64_t>::min()},
      {"boolean", number(NumberKind::boolean, 1, 1, 1), std::nullopt},
      {"not a number", number(NumberKind::other, 3, 3, 3), std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(screenNumber(row.entry), row.number) << row.name;
}

TEST(MacDisplayValues, ModePixelSizes) {
  EXPECT_EQ(modePixelSize(true, 2732, 2048), (PixelSize{2732, 2048}));
  EXPECT_EQ(modePixelSize(false, 2732, 2048), std::nullopt);
  EXPECT_EQ(modePixelSize(true, 0, 2048), std::nullopt);
  EXPECT_EQ(modePixelSize(true, 2732, 0), std::nullopt);
}

TEST(MacConfigurationHandles, EndedHandlesAreNeverUsedAgain) {
  int a = 0, b = 0, c = 0;
  ConfigurationHandles handles;
  const DisplayConfiguration first = handles.add(&a);
  const DisplayConfiguration second = handles.add(&b);
  EXPECT_NE(first, 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(handles.find(first), &a);
  EXPECT_EQ(handles.take(first), &a);
  EXPECT_EQ(handles.find(first), nullptr) << "a completed configuration is gone";
  EXPECT_EQ(handles.take(first), nullptr) << "completing twice never reaches the platform";
  const DisplayConfiguration third = handles.add(&c);
  EXPECT_NE(third, first) << "handles are not reused";
  EXPECT_EQ(handles.find(0), nullptr);
  EXPECT_EQ(handles.takeAll(), (std::vector<void*>{&b, &c}));
  EXPECT_EQ(handles.find(second), nullptr);
  EXPECT_EQ(handles.find(third), nullptr);
}
