#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <nlohmann/json.hpp>

#include "display/RotationPreferences.h"
#include "host/FileDefaults.h"
#include "sim/system/RecordingLog.h"

using namespace turnlet;
using host::FileDefaults;
namespace fs = std::filesystem;

namespace {

// A fresh folder for the store "defaults.json", removed with everything in it.
struct Folder {
  fs::path path;
  fs::path file;
  sim::RecordingLog log;
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "turnlet-defaults-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path = pattern, file = path / "defaults.json";
  }
  ~Folder() {
    std::error_code e;
    fs::remove_all(path, e);
  }
  long files() const { return std::distance(fs::directory_iterator(path), {}); }
};

std::string readBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

DefaultsValue text(std::string s) { return DefaultsValue{std::move(s)}; }
DefaultsValue integer(std::int64_t n) { return DefaultsValue{n}; }

// The value inside that many dictionaries, each holding it under "a".
DefaultsValue nested(DefaultsValue value, std::size_t levels) {
  for (std::size_t i = 0; i < levels; ++i) value = DefaultsValue{DefaultsDictionary{{"a", value}}};
  return value;
}

}  // namespace

// Values keep their types across rewrites; values of types the store does not model (written by a
// later version or by hand) are written back as they were, and remembering a rotation keeps them.
TEST(FileDefaults, ValuesKeepTheirTypesAcrossRewrites) {
  Folder f;
  const fs::path file = f.path / "config" / "turnlet" / "defaults.json";  // folders made on first write
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');  // no recursion
  FileDefaults(file, f.log).set("first", text("made the folders"));
  writeBytes(file, R"({"preferredDisplayDeviceID": "IPAD", "later": [1, "x", {"k": 2.50, "n": null}],
    "displayRotationsByDevice": {"A": 90, "B": 90.5, "C": 1e2, "D": 18446744073709551616, "E": -9223372036854775809,
    "F": 0.1000000000000000000001, "G": null, "H": [], "T": "90", "Y": true}, "deep": )" +
                       deep + "}");
  const std::vector<std::pair<std::string, DefaultsValue>> stored = {
      {"textNinety", text("90")}, {"integerNinety", integer(90)}, {"booleanTrue", DefaultsValue{true}},
      {"integerOne", integer(1)}, {"smallest", integer(std::numeric_limits<std::int64_t>::min())},
      {"largest", integer(std::numeric_limits<std::int64_t>::max())},
      {"unicode \u00B7 \u00B0", text("iPad de Zo\u00E9 \u2192 \"quoted\"\n\t\\")},
      {"nested", DefaultsValue{DefaultsDictionary{{"inner", DefaultsValue{DefaultsDictionary{}}}}}},
      {"opaque", DefaultsValue{DefaultsOpaque{"[1,2.50]"}}}};
  {
    FileDefaults store(file, f.log);
    RotationPreferences preferences(store);
    EXPECT_EQ(preferences.preferredDeviceID(), "IPAD");
    EXPECT_EQ(preferences.rotation("A"), QuarterTurn::right);
    for (const char* other : {"B", "C", "G", "H", "T", "Y"}) EXPECT_FALSE(preferences.rotation(other)) << other;
    preferences.remember(QuarterTurn::left, "Z");
    for (const auto& [key, value] : stored) store.set(key, value);
    store.set("removed", text("soon gone"));
    store.remove("removed");
    // An opaque value that this store did not make is written as null, never as a broken file.
    store.set("foreign", DefaultsValue{DefaultsOpaque{"not JSON"}});
    store.set("bad \xFF key", text("bad \xC3 value"));  // JSON cannot carry invalid UTF-8
    // Read at once as the file will give it back, under either spelling of the key.
    EXPECT_EQ(store.value("bad \xFF key"), text("bad \xEF\xBF\xBD value"));
    EXPECT_EQ(store.value("bad \xEF\xBF\xBD key"), text("bad \xEF\xBF\xBD value"));
  }
  const std::string bytes = readBytes(file);
  for (const std::string& kept : std::vector<std::string>{"[1,\"x\",{\"k\":2.50,\"n\":null}]", "90.5", "1e2",
                                                         "18446744073709551616", "-9223372036854775809",
                                                         "0.1000000000000000000001", "[]", deep})
    EXPECT_NE(bytes.find(kept), std::string::npos) << kept.substr(0, 40);
  FileDefaults reopened(file, f.log);
  EXPECT_FALSE(reopened.setAsideFile());
  for (const auto& [key, value] : stored) EXPECT_EQ(reopened.value(key), value) << key;
  EXPECT_EQ(RotationPreferences(reopened).rotation("Z"), QuarterTurn::left);
  EXPECT_EQ(RotationPreferences(reopened).rotation("A"), QuarterTurn::right);
  EXPECT_FALSE(reopened.value("removed"));
  EXPECT_EQ(reopened.value("foreign"), DefaultsValue{DefaultsOpaque{"null"}});
  EXPECT_EQ(reopened.value("bad \xEF\xBF\xBD key"), text("bad \xEF\xBF\xBD value"));
  EXPECT_TRUE(f.log.lines().empty());
  // Dictionaries deeper than the reader keeps as dictionaries are refused, not written to be read
  // back as something else (63 levels below the top are kept).
  reopened.set("deepest kept", nested(integer(1), 63));
  reopened.set("too deep", nested(integer(1), 64));
  EXPECT_FALSE(reopened.value("too deep"));
  // So is a value that would make the file larger than the reader accepts: the next opening would
  // set the whole file aside.
  reopened.set("too large", text(std::string(16 * 1024 * 1024, 'x')));
  EXPECT_FALSE(reopened.value("too large"));
  EXPECT_EQ(f.log.lines().size(), 2u);
  EXPECT_EQ(FileDefaults(file, f.log).value("deepest kept"), nested(integer(1), 63));
  EXPECT_EQ(FileDefaults(file, f.log).value("integerOne"), integer(1));
  EXPECT_EQ(f.log.lines().size(), 2u);
  EXPECT_EQ(fs::status(file).permissions() & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
  EXPECT_EQ(fs::status(file.parent_path()).permissions(), fs::perms::owner_all);
}

TEST(FileDefaults, OnlyFilesThatAreNoJSONObjectAreSetAside) {
  const std::pair<const char*, std::string> rows[] = {
      {"empty file", ""}, {"truncated", R"({"preferredDisplayDeviceID": "37D8832A-2D66)"},
      {"binary garbage", "\xFF\xFE\x00\x01{"}, {"top level is an array", R"(["preferredDisplayDeviceID", "A"])"},
      {"a deep array at the top", std::string(200000, '[') + std::string(200000, ']')},
      {"invalid UTF-8 in a string", "{\"a\": \"\xC3\x28\"}"}, {"trailing garbage", R"({"a": 1} x)"},
      {"a number beyond any double, then garbage", R"({"a": 1e400} x)"},
      {"a number beyond any double, then one with a leading zero", R"({"a": 1e400, "b": 01})"}, {"a folder", ""}};
  for (const auto& [name, bytes] : rows) {
    SCOPED_TRACE(name);
    Folder f;
    name == std::string("a folder") ? (void)fs::create_directory(f.file) : writeBytes(f.file, bytes);
    FileDefaults store(f.file, f.log);
    EXPECT_FALSE(store.value("preferredDisplayDeviceID"));
    ASSERT_TRUE(store.setAsideFile());
    EXPECT_TRUE(store.setAsideFile()->filename().string().starts_with("defaults.json.corrupt-"));
    const fs::path aside = *store.setAsideFile();
    EXPECT_TRUE(!fs::is_regular_file(aside) || readBytes(aside) == bytes);  // kept as it was
    EXPECT_FALSE(fs::exists(f.file));
    EXPECT_EQ(f.log.lines().size(), 1u);

    store.set("lastDisplayDeviceID", text("B"));
    FileDefaults reopened(f.file, f.log);
    EXPECT_EQ(reopened.value("lastDisplayDeviceID"), text("B"));
    EXPECT_FALSE(reopened.setAsideFile());

    // Setting aside again within the same second never overwrites the earlier file.
    writeBytes(f.file, "second bad");
    const FileDefaults again(f.file, f.log);
    ASSERT_TRUE(again.setAsideFile());
    EXPECT_EQ(readBytes(*again.setAsideFile()), "second bad");
    EXPECT_TRUE(!fs::is_regular_file(aside) || readBytes(aside) == bytes);
  }
}

// A number the store does not model (beyond a double, or a negative zero, which no 64-bit integer
// holds) is an opaque value in the digits of the file, wherever it stands; it costs nothing else.
TEST(FileDefaults, NumbersItDoesNotModelAreKeptInTheDigitsOfTheFile) {
  const std::string zeros(400, '0');
  const std::pair<const char*, std::string> rows[] = {
      {"beyond a double", "1e400"},
      {"beyond a double, negative", "-1E+400"},
      {"an integer beyond a double", "1" + zeros},
      {"in a list, between nulls", "[null,-1e400,{\"n\":null,\"m\":1e-400,\"s\":\"1e400 null\"},1e400,null]"},
      {"negative zero", "-0"},
      {"negative zero in a list", "[-0,0,-0.0]"},
  };
  for (const auto& [name, digits] : rows) {
    SCOPED_TRACE(name);
    Folder f;
    writeBytes(f.file, "{\"preferredDisplayDeviceID\": \"IPAD\", \"q\\\"1e400\": null, \"hostile\": " + digits +
                           ", \"displayRotationsByDevice\": {\"A\": 90}}");
    {
      FileDefaults store(f.file, f.log);
      EXPECT_FALSE(store.setAsideFile());
      EXPECT_EQ(store.value("hostile"), DefaultsValue{DefaultsOpaque{digits}});
      EXPECT_EQ(store.value("q\"1e400"), DefaultsValue{DefaultsOpaque{"null"}});
      RotationPreferences preferences(store);
      EXPECT_EQ(preferences.preferredDeviceID(), "IPAD");
      EXPECT_EQ(preferences.rotation("A"), QuarterTurn::right);
      preferences.remember(QuarterTurn::left, "B");
    }
    EXPECT_NE(readBytes(f.file).find("\"hostile\": " + digits + ",\n"), std::string::npos) << readBytes(f.file);
    FileDefaults reopened(f.file, f.log);
    EXPECT_FALSE(reopened.setAsideFile());
    EXPECT_EQ(reopened.value("hostile"), DefaultsValue{DefaultsOpaque{digits}});
    EXPECT_EQ(RotationPreferences(reopened).rotation("B"), QuarterTurn::left);
    EXPECT_TRUE(f.log.lines().empty());
  }
}

// An object kept opaque because it lay deeper than the reader makes dictionaries would read back
// as a dictionary anywhere shallower: setting it there is refused and logged.
TEST(FileDefaults, AnOpaqueObjectIsNeverReadBackAsADictionary) {
  Folder f;
  std::string deepObject = "{\"deep\":";
  for (int i = 0; i < 70; ++i) deepObject += "{\"a\":";
  deepObject += "{}" + std::string(71, '}');
  writeBytes(f.file, deepObject);
  FileDefaults store(f.file, f.log);
  // The opaque object where the reader left it, below the dictionaries of levels 2 to 64.
  std::size_t above = 0;
  DefaultsValue found = *store.value("deep");
  for (; found.asDictionary(); ++above) found = DefaultsValue(found.asDictionary()->at("a"));
  ASSERT_TRUE(std::holds_alternative<DefaultsOpaque>(found.value));
  ASSERT_EQ(above, 63u);
  const struct {
    const char* name;
    DefaultsValue value;
    bool kept;
  } rows[] = {
      {"at the top", nested(found, 0), false},
      {"one level down", nested(found, 1), false},
      {"one level above where it was read", nested(found, 62), false},
      {"where it was read", nested(found, 63), true},
      {"an opaque list at the top", DefaultsValue{DefaultsOpaque{"[{}]"}}, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::size_t logged = f.log.lines().size();
    store.set(row.name, row.value);
    EXPECT_EQ(store.value(row.name).has_value(), row.kept);
    EXPECT_EQ(f.log.lines().size(), logged + (row.kept ? 0 : 1));
    EXPECT_EQ(FileDefaults(f.file, f.log).value(row.name), row.kept ? std::optional(row.value) : std::nullopt);
  }
}

TEST(FileDefaults, AnInterruptedOrFailedWriteKeepsTheOldFileAndTheValueInMemory) {
  Folder f;
  FileDefaults(f.file, f.log).set("lastDisplayDeviceID", text("A"));
  const std::string before = readBytes(f.file);
  // What a crash between writing and renaming leaves behind, removed at the next opening.
  writeBytes(f.path / "defaults.json.tmp-Ab12Cd", R"({"lastDisplayDeviceID": "B)");
  FileDefaults store(f.file, f.log);
  EXPECT_EQ(store.value("lastDisplayDeviceID"), text("A"));
  EXPECT_EQ(f.files(), 2);
  const DefaultsValue big = text(std::string(64 * 1024, 'x'));

  // A file-size limit makes the write fail part-way, as a full disk would.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
  const rlimit small{4096, saved.rlim_max};
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  store.set("big", big);
  const bool failedWhileFull = !store.lastWriteSucceeded();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, savedSignal);

  EXPECT_TRUE(failedWhileFull);
  EXPECT_EQ(readBytes(f.file), before);
  EXPECT_EQ(store.value("big"), big);  // still visible to reads
  EXPECT_EQ(f.files(), 2);
  EXPECT_NE(f.log.lines().at(0).find("could not save"), std::string::npos);

  // The next change writes everything, the value that failed to reach the disk included.
  store.set("lastDisplayDeviceID", text("C"));
  EXPECT_TRUE(store.lastWriteSucceeded());
  EXPECT_EQ(FileDefaults(f.file, f.log).value("big"), big);

  // A folder that cannot be made loses nothing in memory either.
  writeBytes(f.path / "blocker", "a file where the folder should be");
  FileDefaults blocked(f.path / "blocker" / "defaults.json", f.log);
  blocked.set("k", integer(3));
  EXPECT_FALSE(blocked.lastWriteSucceeded());
  EXPECT_EQ(blocked.value("k"), integer(3));
}

// Each store writes back only what it changed since it last read the file, so two stores (two
// copies of the program) keep each other's settings; the file is never torn.
TEST(FileDefaults, TwoStoresOnOneFileKeepEachOthersChangesAndNeverTearIt) {
  Folder f;
  {
    FileDefaults first(f.file, f.log), second(f.file, f.log);
    first.set("first", integer(1)), second.set("second", integer(2));
    first.set("child-removes", integer(3)), second.set("parent-removes", integer(4));
    first.remove("second");  // never read by this store, and still removed
    second.set("second", integer(5));
  }
  const int kWrites = 60;
  const std::string padding(8 * 1024, 'p');  // large enough that a torn write would show
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    sim::RecordingLog log;
    FileDefaults store(f.file, log);
    for (int i = 0; i < kWrites; ++i) store.set("child", text(padding + std::to_string(i)));
    store.remove("child-removes");
    ::_exit(store.lastWriteSucceeded() ? 0 : 1);
  }

  FileDefaults store(f.file, f.log);
  int torn = 0;
  for (int i = 0; i < kWrites; ++i) {
    store.set("parent", text(padding + std::to_string(i)));
    if (i == kWrites / 2) store.remove("parent-removes");
    // Read the file the way any other program would, without the lock.
    const auto json = nlohmann::json::parse(readBytes(f.file), nullptr, false);
    if (json.is_discarded() || !json.is_object()) ++torn;
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(torn, 0);

  FileDefaults reopened(f.file, f.log);
  EXPECT_FALSE(reopened.setAsideFile());
  EXPECT_EQ(reopened.value("parent"), text(padding + std::to_string(kWrites - 1)));
  EXPECT_EQ(reopened.value("child"), text(padding + std::to_string(kWrites - 1)));
  EXPECT_EQ(reopened.value("first"), integer(1));
  EXPECT_EQ(reopened.value("second"), integer(5));
  EXPECT_FALSE(reopened.value("child-removes") || reopened.value("parent-removes"));
  EXPECT_EQ(f.files(), 2);
  EXPECT_TRUE(f.log.lines().empty());
}

// A settings file kept elsewhere behind a link (dotfiles, a synced folder) stays a link: changes
// go to its target, atomically, with the temporary file and the lock beside the target.
TEST(FileDefaults, AChangeWritesThroughALinkToItsTarget) {
  Folder f;
  const fs::path dotfiles = f.path / "dotfiles", target = dotfiles / "turnlet.json";
  fs::create_directories(dotfiles);
  writeBytes(target, R"({"kept": 1})");
  fs::create_symlink("dotfiles/turnlet.json", f.file);  // relative, as link managers make them
  for (std::int64_t i = 0; i < 2; ++i) FileDefaults(f.file, f.log).set("k" + std::to_string(i), integer(i));
  EXPECT_TRUE(fs::is_symlink(f.file));
  FileDefaults direct(target, f.log);
  EXPECT_EQ(direct.value("kept"), integer(1));
  EXPECT_EQ(direct.value("k0"), integer(0));
  EXPECT_EQ(direct.value("k1"), integer(1));
  EXPECT_EQ(std::distance(fs::directory_iterator(dotfiles), {}), 2);  // the target and its lock
  EXPECT_EQ(f.files(), 2);
  EXPECT_TRUE(f.log.lines().empty());
}

// A process that takes the store's lock and hangs: saves go on without it, within about a second
// the first time and at once after that, and lose nothing.
TEST(FileDefaults, ALockHeldElsewhereDelaysASaveByAboutASecondOnce) {
  Folder f;
  FileDefaults store(f.file, f.log);
  // The holder keeps the lock until this process closes `hold` (or ends).
  int ready[2], hold[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(hold), 0);
  const pid_t holder = ::fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    ::close(hold[1]);
    const int fd = ::open((f.file.string() + ".lock").c_str(), O_RDWR | O_CREAT, 0600);
    char byte = 0;
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::write(ready[1], "x", 1) != 1) ::_exit(1);
    ::_exit(::read(hold[0], &byte, 1) == 0 ? 0 : 1);
  }
  ::close(hold[0]);
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  const auto timedSet = [&](std::int64_t n) {
    const auto start = std::chrono::steady_clock::now();
    store.set("k", integer(n));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  const double first = timedSet(1), second = timedSet(2);
  ::close(hold[1]);
  ::waitpid(holder, nullptr, 0);
  ::close(ready[0]), ::close(ready[1]);
  EXPECT_GE(first, 0.9);
  EXPECT_LT(first, 2.0);
  EXPECT_LT(second, 0.5);
  EXPECT_EQ(FileDefaults(f.file, f.log).value("k"), integer(2));
  ASSERT_EQ(f.log.lines().size(), 1u);
  EXPECT_NE(f.log.lines()[0].find("lock is held by another process"), std::string::npos);
}
