#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "host/FileDefaults.h"
#include "sim/RecordingLog.h"

using namespace turnlet;
using host::FileDefaults;
namespace fs = std::filesystem;

namespace {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "turnlet-defaults-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path = pattern;
  }
  ~TemporaryFolder() {
    std::error_code error;
    fs::remove_all(path, error);
  }
  fs::path path;
};

std::string readBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

DefaultsValue text(std::string s) { return DefaultsValue{std::move(s)}; }
DefaultsValue integer(std::int64_t n) { return DefaultsValue{n}; }
DefaultsValue boolean(bool b) { return DefaultsValue{b}; }

}  // namespace

TEST(FileDefaults, ValuesSurviveReopeningWithTheirTypes) {
  TemporaryFolder folder;
  const fs::path file = folder.path / "config" / "turnlet" / "defaults.json";  // folders made on first write
  sim::RecordingLog log;

  DefaultsDictionary rotations{{"UUID-A", integer(90)}, {"UUID-B", integer(0)}, {"", integer(270)}};
  DefaultsDictionary nested{{"inner", DefaultsValue{DefaultsDictionary{{"deep", text("x")}}}}};
  const std::vector<std::pair<std::string, DefaultsValue>> stored = {
      {"preferredDisplayDeviceID", text("37D8832A-2D66-02CA-B9F7-8F30A301B230")},
      {"displayRotationsByDevice", DefaultsValue{rotations}},
      {"textNinety", text("90")},
      {"integerNinety", integer(90)},
      {"booleanTrue", boolean(true)},
      {"integerOne", integer(1)},
      {"booleanFalse", boolean(false)},
      {"integerZero", integer(0)},
      {"emptyText", text("")},
      {"smallest", integer(std::numeric_limits<std::int64_t>::min())},
      {"largest", integer(std::numeric_limits<std::int64_t>::max())},
      {"unicode \u00B7 \u00B0", text("iPad de Zo\u00E9 \u2192 \u00D7 \"quoted\"\n\t\\")},
      {"nested", DefaultsValue{nested}},
      {"emptyDictionary", DefaultsValue{DefaultsDictionary{}}},
  };
  {
    FileDefaults store(file, log);
    EXPECT_FALSE(store.value("preferredDisplayDeviceID"));
    for (const auto& [key, value] : stored) store.set(key, value);
    store.set("removed", text("soon gone"));
    store.remove("removed");
    EXPECT_TRUE(store.lastWriteSucceeded());
  }

  FileDefaults reopened(file, log);
  for (const auto& [key, value] : stored) {
    SCOPED_TRACE(key);
    ASSERT_TRUE(reopened.value(key));
    EXPECT_EQ(*reopened.value(key), value);
  }
  EXPECT_FALSE(reopened.value("removed"));
  EXPECT_NE(reopened.value("textNinety"), reopened.value("integerNinety"));
  EXPECT_NE(reopened.value("booleanTrue"), reopened.value("integerOne"));
  EXPECT_FALSE(reopened.setAsideFile());
  EXPECT_TRUE(log.lines().empty());

  // Private to the user, and nothing but the store and its lock left in the folder.
  EXPECT_EQ(fs::status(file).permissions() & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
  EXPECT_EQ(fs::status(file.parent_path()).permissions(), fs::perms::owner_all);
  EXPECT_EQ(namesIn(file.parent_path()), (std::vector<std::string>{"defaults.json", "defaults.json.lock"}));
}

TEST(FileDefaults, BadFilesAreSetAsideAndTheStoreStartsEmpty) {
  std::string binary;
  for (int i = 0; i < 512; ++i) binary.push_back(static_cast<char>((i * 37) & 0xFF));
  const std::string deeplyNested = std::string(200000, '[') + std::string(200000, ']');
  std::string deepObject;
  for (int i = 0; i < 100; ++i) deepObject += "{\"a\":";
  deepObject += "1" + std::string(100, '}');

  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty file", ""},
      {"truncated", R"({"preferredDisplayDeviceID": "37D8832A-2D66)"},
      {"truncated after a value", R"({"lastDisplayDeviceID": "A",)"},
      {"binary garbage", binary},
      {"a fraction where integers live", R"({"displayRotationsByDevice": {"A": 90.5}})"},
      {"null", R"({"lastDisplayDeviceID": null})"},
      {"array", R"({"lastDisplayDeviceID": ["A"]})"},
      {"integer beyond 64 bits", R"({"n": 18446744073709551615})"},
      {"top level is not an object", R"(["preferredDisplayDeviceID", "A"])"},
      {"top level is a string", R"("A")"},
      {"invalid UTF-8 in a string", "{\"a\": \"\xC3\x28\"}"},
      {"nesting deeper than we write", deepObject},
      {"a deep array", deeplyNested},
      {"trailing garbage", R"({"a": 1} x)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TemporaryFolder folder;
    const fs::path file = folder.path / "defaults.json";
    writeBytes(file, c.bytes);
    sim::RecordingLog log;

    FileDefaults store(file, log);
    EXPECT_FALSE(store.value("preferredDisplayDeviceID"));
    EXPECT_FALSE(store.value("lastDisplayDeviceID"));
    ASSERT_TRUE(store.setAsideFile());
    EXPECT_TRUE(store.setAsideFile()->filename().string().starts_with("defaults.json.corrupt-"));
    EXPECT_EQ(readBytes(*store.setAsideFile()), c.bytes);  // kept as it was, for the user to look at
    EXPECT_FALSE(fs::exists(file));
    ASSERT_EQ(log.lines().size(), 1u);

    store.set("lastDisplayDeviceID", text("B"));
    FileDefaults reopened(file, log);
    EXPECT_EQ(reopened.value("lastDisplayDeviceID"), text("B"));
    EXPECT_FALSE(reopened.setAsideFile());
  }
}

TEST(FileDefaults, SettingAsideNeverOverwritesAnEarlierBadFile) {
  TemporaryFolder folder;
  const fs::path file = folder.path / "defaults.json";
  sim::RecordingLog log;
  writeBytes(file, "first bad");
  FileDefaults first(file, log);
  writeBytes(file, "second bad");
  FileDefaults second(file, log);  // within the same second: the name must still be new
  ASSERT_TRUE(first.setAsideFile() && second.setAsideFile());
  EXPECT_NE(*first.setAsideFile(), *second.setAsideFile());
  EXPECT_EQ(readBytes(*first.setAsideFile()), "first bad");
  EXPECT_EQ(readBytes(*second.setAsideFile()), "second bad");
}

TEST(FileDefaults, AFolderWhereTheStoreShouldBeIsSetAside) {
  TemporaryFolder folder;
  const fs::path file = folder.path / "defaults.json";
  fs::create_directory(file);
  sim::RecordingLog log;
  FileDefaults store(file, log);
  EXPECT_TRUE(store.setAsideFile());
  store.set("k", integer(1));
  EXPECT_TRUE(store.lastWriteSucceeded());
  EXPECT_EQ(FileDefaults(file, log).value("k"), integer(1));
}

TEST(FileDefaults, AnInterruptedWriteLeavesTheOldStoreAndItsLeftoversAreCleared) {
  TemporaryFolder folder;
  const fs::path file = folder.path / "defaults.json";
  sim::RecordingLog log;
  {
    FileDefaults store(file, log);
    store.set("lastDisplayDeviceID", text("A"));
  }
  const std::string before = readBytes(file);
  // What a crash between writing and renaming leaves behind: a half-written temporary file.
  writeBytes(folder.path / "defaults.json.tmp-Ab12Cd", R"({"lastDisplayDeviceID": "B)");

  FileDefaults reopened(file, log);
  EXPECT_EQ(reopened.value("lastDisplayDeviceID"), text("A"));
  EXPECT_EQ(readBytes(file), before);
  EXPECT_EQ(namesIn(folder.path), (std::vector<std::string>{"defaults.json", "defaults.json.lock"}));
}

TEST(FileDefaults, AFullDiskKeepsTheOldFileAndTheValueInMemory) {
  TemporaryFolder folder;
  const fs::path file = folder.path / "defaults.json";
  sim::RecordingLog log;
  FileDefaults store(file, log);
  store.set("lastDisplayDeviceID", text("A"));
  const std::string before = readBytes(file);

  // A file-size limit makes the write fail part-way, as a full disk would.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  store.set("big", text(std::string(64 * 1024, 'x')));
  const bool failedWhileFull = !store.lastWriteSucceeded();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, savedSignal);

  EXPECT_TRUE(failedWhileFull);
  EXPECT_EQ(readBytes(file), before);
  EXPECT_EQ(store.value("big"), text(std::string(64 * 1024, 'x')));  // still visible to reads
  EXPECT_EQ(namesIn(folder.path), (std::vector<std::string>{"defaults.json", "defaults.json.lock"}));
  ASSERT_FALSE(log.lines().empty());
  EXPECT_NE(log.lines().back().find("could not save"), std::string::npos);

  // The next change writes everything, the value that failed to reach the disk included.
  store.set("lastDisplayDeviceID", text("C"));
  EXPECT_TRUE(store.lastWriteSucceeded());
  FileDefaults reopened(file, log);
  EXPECT_EQ(reopened.value("big"), text(std::string(64 * 1024, 'x')));
  EXPECT_EQ(reopened.value("lastDisplayDeviceID"), text("C"));
}

TEST(FileDefaults, AFolderThatCannotBeMadeLosesNothingInMemory) {
  TemporaryFolder folder;
  writeBytes(folder.path / "blocker", "a file where the folder should be");
  sim::RecordingLog log;
  FileDefaults store(folder.path / "blocker" / "defaults.json", log);
  store.set("k", integer(3));
  EXPECT_FALSE(store.lastWriteSucceeded());
  EXPECT_EQ(store.value("k"), integer(3));
  EXPECT_EQ(log.lines().size(), 1u);
}

TEST(FileDefaults, InvalidUTF8IsWrittenAsReplacementCharacters) {
  TemporaryFolder folder;
  const fs::path file = folder.path / "defaults.json";
  sim::RecordingLog log;
  FileDefaults store(file, log);
  store.set("bad \xFF key", text("bad \xC3 value"));
  EXPECT_TRUE(store.lastWriteSucceeded());
  FileDefaults reopened(file, log);
  EXPECT_FALSE(reopened.setAsideFile());
  EXPECT_EQ(reopened.value("bad \xEF\xBF\xBD key"), text("bad \xEF\xBF\xBD value"));
}

TEST(FileDefaults, TwoProcessesWritingTheSameFileNeverTearIt) {
  TemporaryFolder folder;
  const fs::path file = folder.path / "defaults.json";
  constexpr int kWrites = 60;
  const std::string padding(8 * 1024, 'p');  // large enough that a torn write would show

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    sim::RecordingLog log;
    FileDefaults store(file, log);
    for (int i = 0; i < kWrites; ++i) store.set("child", text(padding + std::to_string(i)));
    ::_exit(store.lastWriteSucceeded() ? 0 : 1);
  }

  sim::RecordingLog log;
  FileDefaults store(file, log);
  int torn = 0;
  for (int i = 0; i < kWrites; ++i) {
    store.set("parent", text(padding + std::to_string(i)));
    // Read the file the way any other program would, without the lock.
    const std::string bytes = readBytes(file);
    const auto json = nlohmann::json::parse(bytes, nullptr, false);
    if (json.is_discarded() || !json.is_object()) ++torn;
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(torn, 0);

  FileDefaults reopened(file, log);
  EXPECT_FALSE(reopened.setAsideFile());
  // Last writer wins: the file is one store's whole state.
  EXPECT_TRUE(reopened.value("parent") || reopened.value("child"));
  EXPECT_EQ(namesIn(folder.path), (std::vector<std::string>{"defaults.json", "defaults.json.lock"}));
  EXPECT_TRUE(log.lines().empty());
}

TEST(FileDefaults, StandardLocationFollowsTheConfigurationHome) {
  struct Saved {
    std::optional<std::string> xdg, home;
  } saved;
  if (const char* v = std::getenv("XDG_CONFIG_HOME")) saved.xdg = v;
  if (const char* v = std::getenv("HOME")) saved.home = v;

  ::setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
  ::setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(FileDefaults::standardLocation(), fs::path("/somewhere/config/turnlet/defaults.json"));
  ::setenv("XDG_CONFIG_HOME", "relative/config", 1);  // not absolute: ignored
  EXPECT_EQ(FileDefaults::standardLocation(), fs::path("/home/someone/.config/turnlet/defaults.json"));
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(FileDefaults::standardLocation(), fs::path("/home/someone/.config/turnlet/defaults.json"));

  if (saved.xdg) ::setenv("XDG_CONFIG_HOME", saved.xdg->c_str(), 1);
  if (saved.home) ::setenv("HOME", saved.home->c_str(), 1);
  else ::unsetenv("HOME");
}
