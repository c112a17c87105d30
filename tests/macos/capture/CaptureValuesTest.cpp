#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "macos/capture/CaptureValues.h"

using namespace turnlet;
using namespace turnlet::macos;

namespace {

PlatformNumber signedNumber(std::int64_t v) { return {NumberKind::signedInteger, v, 0, 0}; }

}  // namespace

// The entry is read as the display values read a screen number (any carrier of a whole number):
// their table has the carriers; this one the statuses, and that a non-whole entry is none.
TEST(MacCaptureValues, FrameStatusReadsTheAttachmentEntryAsAWholeNumber) {
  struct Row {
    const char* name;
    std::optional<PlatformNumber> entry;
    std::optional<FrameStatus> expected;
  };
  const std::vector<Row> rows = {
      {"no attachments or no entry", std::nullopt, std::nullopt},
      {"complete", signedNumber(0), FrameStatus::complete},
      {"idle", signedNumber(1), FrameStatus::idle},
      {"blank", signedNumber(2), FrameStatus::blank},
      {"suspended", signedNumber(3), FrameStatus::suspended},
      {"started", signedNumber(4), FrameStatus::started},
      {"stopped", signedNumber(5), FrameStatus::stopped},
      {"an unlisted number is passed on", signedNumber(9), static_cast<FrameStatus>(9)},
      {"a negative number is passed on, not complete", signedNumber(-1), static_cast<FrameStatus>(-1)},
      {"a fraction near complete", PlatformNumber{NumberKind::real, 0, 0, 0.25}, std::nullopt},
      {"a boolean", PlatformNumber{NumberKind::boolean, 1, 0, 0}, std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(frameStatus(row.entry), row.expected) << row.name;
}

TEST(MacCaptureValues, TheStreamConfigurationBecomesThePlatformsValues) {
  StreamConfiguration session;  // as the rotation sets it, the rest as its defaults are
  session.width = 2732;
  session.height = 2048;
  session.minimumFrameInterval = MediaTime{1, 60};
  session.queueDepth = 3;
  session.backgroundColor = Color::black();
  session.streamName = "Turnlet";

  const StreamSettings s = streamSettings(session);
  EXPECT_EQ(s.width, 2732u);
  EXPECT_EQ(s.height, 2048u);
  EXPECT_EQ(s.pixelFormat, 0x42475241u);
  EXPECT_EQ(s.minimumFrameInterval, (PlatformMediaTime{1, 60, mediaTimeValid}));
  EXPECT_EQ(s.queueDepth, 3);
  EXPECT_TRUE(s.showsCursor);
  EXPECT_FALSE(s.capturesAudio);
  EXPECT_EQ(s.colorSpace, CaptureColorSpace::sRGB);
  EXPECT_EQ((std::vector<double>(s.background, s.background + 4)), (std::vector<double>{0, 0, 0, 1}));
  EXPECT_EQ(s.streamName, "Turnlet");

  struct Row {
    const char* name;
    StreamConfiguration change;
    std::int64_t queueDepth;
    PlatformMediaTime interval;
    std::vector<double> background;
  };
  auto with = [&](auto edit) {
    StreamConfiguration c = session;
    edit(c);
    return c;
  };
  const PlatformMediaTime zero{0, 1, mediaTimeValid};
  const std::vector<Row> rows = {
      {"queue depth below the minimum", with([](auto& c) { c.queueDepth = 1; }), 3, {1, 60, 1}, {0, 0, 0, 1}},
      {"queue depth at the maximum", with([](auto& c) { c.queueDepth = 8; }), 8, {1, 60, 1}, {0, 0, 0, 1}},
      {"queue depth beyond it", with([](auto& c) { c.queueDepth = 9; }), 8, {1, 60, 1}, {0, 0, 0, 1}},
      {"no timescale", with([](auto& c) { c.minimumFrameInterval = {1, 0}; }), 3, zero, {0, 0, 0, 1}},
      {"negative timescale", with([](auto& c) { c.minimumFrameInterval = {1, -60}; }), 3, zero, {0, 0, 0, 1}},
      {"negative interval", with([](auto& c) { c.minimumFrameInterval = {-1, 60}; }), 3, zero, {0, 0, 0, 1}},
      {"half a second", with([](auto& c) { c.minimumFrameInterval = {30, 60}; }), 3, {30, 60, 1}, {0, 0, 0, 1}},
      {"colour outside 0 to 1 and NaN", with([](auto& c) { c.backgroundColor = {-0.5, 2, std::nan(""), 0.5}; }), 3,
       {1, 60, 1}, {0, 1, 0, 0.5}},
  };
  for (const Row& row : rows) {
    const StreamSettings r = streamSettings(row.change);
    EXPECT_EQ(r.queueDepth, row.queueDepth) << row.name;
    EXPECT_EQ(r.minimumFrameInterval, row.interval) << row.name;
    EXPECT_EQ((std::vector<double>(r.background, r.background + 4)), row.background) << row.name;
  }
}
