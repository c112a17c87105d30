// The settings file as a later version, a hand edit or a torn disk may leave it. The store opens
// it, every top-level key is read, a fuzzed value (or one read, moved up) is set, and a second store
// reopens the file.
// Properties: nothing escapes; what the first store read is read again unchanged; the value set
// reads back as the store kept it; and a file the store wrote itself is never set aside.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>
#include <nlohmann/json.hpp>

#include "FuzzCheck.h"
#include "host/FileDefaults.h"
#include "sim/system/RecordingLog.h"

using namespace turnlet;

namespace {

const std::filesystem::path& folder() {
  static const std::filesystem::path path = [] {
    auto p = std::filesystem::temp_directory_path() / ("turnlet-settings-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    return p;
  }();
  return path;
}

DefaultsValue value(FuzzedDataProvider& in, int depth) {
  switch (in.ConsumeIntegralInRange(0, depth < 70 ? 3 : 2)) {
    case 0:
      return DefaultsValue{in.ConsumeRandomLengthString(20)};
    case 1:
      return DefaultsValue{in.ConsumeIntegral<std::int64_t>()};
    case 2:
      return DefaultsValue{in.ConsumeBool()};
    default: {
      DefaultsDictionary dictionary;
      const int count = in.ConsumeIntegralInRange(0, 3);
      for (int i = 0; i < count; ++i) dictionary[in.ConsumeRandomLengthString(8)] = value(in, depth + 1);
      return DefaultsValue{std::move(dictionary)};
    }
  }
}

// The innermost first value under a value read: an object the store kept opaque, from deep in the
// file, when there is one.
DefaultsValue innermost(DefaultsValue v) {
  while (v.asDictionary() && !v.asDictionary()->empty()) v = DefaultsValue(v.asDictionary()->begin()->second);
  return v;
}

std::vector<std::string> topLevelKeys(const std::string& text) {
  std::vector<std::string> keys;
  auto root = nlohmann::json::parse(text, nullptr, false);
  if (root.is_object())
    for (auto& [key, v] : root.items()) keys.push_back(key);
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string key = in.ConsumeRandomLengthString(12);
  const DefaultsValue fuzzedValue = value(in, 0);
  const bool moveRead = in.ConsumeBool();
  const std::string text = in.ConsumeRemainingBytesAsString();

  std::filesystem::remove_all(folder());
  std::filesystem::create_directories(folder());
  const auto file = folder() / "defaults.json";
  std::ofstream(file, std::ios::binary) << text;

  sim::RecordingLog log;
  std::map<std::string, std::optional<DefaultsValue>> read;
  // What the store kept of the value set (text it cannot keep, such as invalid UTF-8, may read
  // back mended); the file must give the same.
  std::optional<DefaultsValue> stored;
  {
    host::FileDefaults store(file, log);
    for (const std::string& k : topLevelKeys(text))
      if (k != key) read[k] = store.value(k);
    // Sometimes the value set is one read, moved up from wherever it lay.
    const bool moved = moveRead && !read.empty() && read.begin()->second;
    const DefaultsValue newValue = moved ? innermost(*read.begin()->second) : fuzzedValue;
    store.set(key, newValue);
    if (!store.lastWriteSucceeded()) return 0;
    stored = store.value(key);
    // Only a value nested deeper than the file can hold is refused, or an opaque object moved up.
    fuzz::check(stored.has_value() || newValue.asDictionary() || (moved && newValue.asOpaque()),
                "the value set reads back at once");
  }
  host::FileDefaults reopened(file, log);
  fuzz::check(!reopened.setAsideFile(), "a file the store wrote is never set aside");
  for (const auto& [k, v] : read) fuzz::check(reopened.value(k) == v, "what was read reads again unchanged");
  fuzz::check(reopened.value(key) == stored, "the value set reads back after reopening");
  return 0;
}
