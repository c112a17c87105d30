#include "host/FileDefaults.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <mutex>
#include <nlohmann/json.hpp>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace turnlet::host {

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

// A store larger than this was not written by us (bytes).
constexpr std::size_t kMaximumFileBytes = 16 * 1024 * 1024;
// Objects nested deeper than this are kept as one opaque value rather than as dictionaries
// (levels, the top included), so that nothing recurses over a hostile depth.
constexpr std::size_t kMaximumDepth = 64;

std::string errnoText(int error) { return std::string(std::strerror(error)); }

// Holds an exclusive advisory lock on "<store>.lock" for its lifetime, when it can be had within
// the wait; nothing when another holder keeps it longer (a process that hangs must not freeze
// the main loop) or the lock file cannot be opened (a read-only folder, say). The rename keeps
// the store whole without it.
class StoreLock {
 public:
  StoreLock(const fs::path& store, std::chrono::milliseconds wait) {
    const std::string lockPath = fs::path(store).concat(".lock").string();
    fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    int locked;
    while ((locked = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (locked == 0 || errno != EWOULDBLOCK || wait.count() <= 0) {
      held = locked == 0;
      return;
    }
    // A blocking wait, which hands the lock on in order, on a thread and a descriptor of its own,
    // so that this one can stop waiting; a lock the thread gets too late is let go at once.
    auto waiter = std::make_shared<Waiter>();
    try {
      std::thread([waiter, lockPath] {
        const int own = ::open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
        int result = -1;
        while (own >= 0 && (result = ::flock(own, LOCK_EX)) != 0 && errno == EINTR) {
        }
        const std::lock_guard guard(waiter->mutex);
        if (result == 0 && !waiter->abandoned) {
          waiter->fd = own;
        } else if (own >= 0) {
          ::close(own);
        }
        waiter->done = true;
        waiter->changed.notify_all();
      }).detach();
    } catch (const std::system_error&) {
      return;  // no thread to wait on: go on without the lock
    }
    std::unique_lock guard(waiter->mutex);
    waiter->changed.wait_for(guard, wait, [&] { return waiter->done; });
    waiter->abandoned = true;
    if (waiter->fd >= 0) {
      ::close(std::exchange(fd, waiter->fd));
      held = true;
    }
  }
  ~StoreLock() {
    if (fd >= 0) ::close(fd);  // closing releases the lock
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

  // Another holder kept it for the whole wait.
  bool busy() const { return fd >= 0 && !held; }

 private:
  struct Waiter {
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
    bool abandoned = false;
    int fd = -1;
  };
  int fd = -1;
  bool held = false;
};

// The folder of the store; "." for a bare file name.
fs::path folderOf(const fs::path& store) { return store.has_parent_path() ? store.parent_path() : fs::path("."); }

// The file a store's path names: a link (dotfiles, a synced folder) is followed to its target, so
// that a write replaces the target and the link stays.
fs::path followLinks(const fs::path& store) {
  fs::path file = store;
  std::error_code error;
  for (int hops = 0; hops < 40 && fs::is_symlink(file, error); ++hops) {
    const fs::path next = fs::read_symlink(file, error);
    if (error) break;
    file = next.is_absolute() ? next : folderOf(file) / next;
  }
  return file;
}

std::string temporaryPrefix(const fs::path& store) { return store.filename().string() + ".tmp-"; }

// Temporary files of writes that never reached their rename (a crash, a full disk). Called under
// the lock, so no other store is writing one right now.
void removeStaleTemporaries(const fs::path& store) {
  std::error_code error;
  const std::string prefix = temporaryPrefix(store);
  std::vector<fs::path> stale;
  for (fs::directory_iterator it(folderOf(store), error), end; !error && it != end; it.increment(error)) {
    if (it->path().filename().string().starts_with(prefix)) stale.push_back(it->path());
  }
  for (const fs::path& file : stale) fs::remove(file, error);
}

struct ReadResult {
  enum class Kind { missing, contents, unreadable } kind;
  std::string bytes;
  std::string problem;
};

ReadResult readWhole(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return {ReadResult::Kind::missing, {}, {}};
    return {ReadResult::Kind::unreadable, {}, errnoText(errno)};
  }
  ReadResult result{ReadResult::Kind::contents, {}, {}};
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    result = {ReadResult::Kind::unreadable, {}, "not a regular file"};
  } else if (static_cast<std::uint64_t>(info.st_size) > kMaximumFileBytes) {
    result = {ReadResult::Kind::unreadable, {}, "larger than " + std::to_string(kMaximumFileBytes) + " bytes"};
  } else {
    char buffer[64 * 1024];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        result = {ReadResult::Kind::unreadable, {}, errnoText(errno)};
        break;
      }
      if (n == 0) break;
      result.bytes.append(buffer, static_cast<std::size_t>(n));
      if (result.bytes.size() > kMaximumFileBytes) {
        result = {ReadResult::Kind::unreadable, {}, "larger than " + std::to_string(kMaximumFileBytes) + " bytes"};
        break;
      }
    }
  }
  ::close(fd);
  return result;
}

// JSON text for a key or a text; invalid UTF-8 becomes U+FFFD, since JSON cannot carry it.
std::string jsonText(const std::string& text) {
  return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Whether a text is one number as JSON writes it (no leading zero, no "+" in front).
bool isJsonNumber(std::string_view text) {
  std::size_t i = 0;
  const auto digits = [&] {
    const std::size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i > start;
  };
  if (i < text.size() && text[i] == '-') ++i;
  if (i < text.size() && text[i] == '0') {
    ++i;
  } else if (!digits()) {
    return false;
  }
  if (i < text.size() && text[i] == '.' && (++i, !digits())) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (!digits()) return false;
  }
  return i == text.size();
}

// JSON text in which every number beyond a double (which the parser refuses outright) is replaced
// by null, with what each null of the result stands for, in the order of the text: "null" itself
// or the number's digits. Strings are copied untouched; text that is not JSON stays not JSON.
struct NumbersAsNulls {
  std::string text;
  std::vector<std::string> nulls;
};

NumbersAsNulls overflowingNumbersAsNulls(const std::string& bytes) {
  NumbersAsNulls out;
  out.text.reserve(bytes.size());
  const auto numberChar = [](char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
  };
  for (std::size_t i = 0; i < bytes.size();) {
    const char c = bytes[i];
    std::size_t end = i + 1;
    if (c == '"') {
      while (end < bytes.size() && bytes[end] != '"') end += bytes[end] == '\\' ? 2 : 1;
      end = std::min(end + 1, bytes.size());
    } else if (c == '-' || (c >= '0' && c <= '9')) {
      while (end < bytes.size() && numberChar(bytes[end])) ++end;
      const std::string_view number(bytes.data() + i, end - i);
      if (isJsonNumber(number) && !Json::accept(number)) {
        out.nulls.emplace_back(number);
        out.text += "null";
        i = end;
        continue;
      }
    } else if (c == 'n') {
      out.nulls.emplace_back("null");  // outside strings, JSON has an "n" only in null
    }
    out.text.append(bytes, i, end - i);
    i = end;
  }
  return out;
}

// Reads a store from the parser's events, without recursion. Objects become dictionaries; a
// value of a type the store does not model (null, a number with a fraction, beyond 64 bits or
// beyond a double, a negative zero, an array, an object nested deeper than kMaximumDepth) becomes
// a DefaultsOpaque holding it as compact JSON, numbers in the very digits of the file.
class StoreReader : public nlohmann::json_sax<Json> {
 public:
  StoreReader() = default;
  // Reads text made by overflowingNumbersAsNulls: its nulls stand for `nulls`, in order.
  explicit StoreReader(std::vector<std::string> nulls) : nullTexts(std::move(nulls)) {}

  std::optional<DefaultsDictionary> result;
  std::string problem;
  bool numberBeyondADouble = false;  // the parse stopped at one

  bool null() override { return scalar(std::nullopt, nextNull < nullTexts.size() ? nullTexts[nextNull++] : "null"); }
  bool boolean(bool value) override { return scalar(DefaultsValue{value}, value ? "true" : "false"); }
  bool number_integer(number_integer_t value) override {
    // Numbers without a sign come as unsigned, so a zero here was written "-0".
    if (value == 0) return scalar(std::nullopt, "-0");
    return scalar(DefaultsValue{std::int64_t{value}}, std::to_string(value));
  }
  bool number_unsigned(number_unsigned_t value) override {
    if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
      return scalar(std::nullopt, std::to_string(value));
    return scalar(DefaultsValue{static_cast<std::int64_t>(value)}, std::to_string(value));
  }
  bool number_float(number_float_t, const string_t& text) override { return scalar(std::nullopt, text); }
  bool string(string_t& value) override { return scalar(DefaultsValue{value}, jsonText(value)); }
  bool binary(binary_t&) override { return scalar(std::nullopt, "null"); }  // JSON text has none

  bool start_object(std::size_t) override {
    if (opaqueOpen.empty() && dictionaries.size() < kMaximumDepth) {
      dictionaries.emplace_back();
      return true;
    }
    return startOpaque('{');
  }
  bool key(string_t& key) override {
    if (opaqueOpen.empty()) {
      dictionaries.back().key = key;
      return true;
    }
    separate();
    opaque += jsonText(key) + ':';
    afterKey = true;
    return true;
  }
  bool end_object() override {
    if (!opaqueOpen.empty()) return endOpaque('}');
    DefaultsDictionary done = std::move(dictionaries.back().values);
    dictionaries.pop_back();
    if (dictionaries.empty()) {
      result = std::move(done);
      return true;
    }
    return place(DefaultsValue{std::move(done)});
  }
  bool start_array(std::size_t) override { return startOpaque('['); }
  bool end_array() override { return endOpaque(']'); }

  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) override {
    if (problem.empty()) problem = "not valid JSON";
    numberBeyondADouble = error.id == kNumberOverflow;
    return false;
  }

 private:
  struct Open {
    DefaultsDictionary values;
    std::string key;
  };

  bool notAStore(const char* why) {
    problem = why;
    return false;
  }
  // A value in a modelled dictionary.
  bool place(DefaultsValue value) {
    Open& top = dictionaries.back();
    top.values[top.key] = std::move(value);
    return true;
  }
  // Commas between the items of the innermost open unmodelled container.
  void separate() {
    if (afterKey) {
      afterKey = false;
      return;
    }
    if (!opaqueEmpty.back()) opaque += ',';
    opaqueEmpty.back() = false;
  }
  bool scalar(std::optional<DefaultsValue> modelled, const std::string& text) {
    if (dictionaries.empty()) return notAStore("not a JSON object");
    if (!opaqueOpen.empty()) {
      separate();
      opaque += text;
      return true;
    }
    return place(modelled ? std::move(*modelled) : DefaultsValue{DefaultsOpaque{text}});
  }
  bool startOpaque(char bracket) {
    if (dictionaries.empty()) return notAStore("not a JSON object");
    if (!opaqueOpen.empty()) separate();
    opaque += bracket;
    opaqueOpen.push_back(bracket);
    opaqueEmpty.push_back(true);
    return true;
  }
  bool endOpaque(char bracket) {
    opaque += bracket;
    opaqueOpen.pop_back();
    opaqueEmpty.pop_back();
    if (!opaqueOpen.empty()) return true;
    return place(DefaultsValue{DefaultsOpaque{std::exchange(opaque, {})}});
  }

  static constexpr int kNumberOverflow = 406;  // the parser's error for a number beyond a double

  std::vector<std::string> nullTexts;
  std::size_t nextNull = 0;
  std::vector<Open> dictionaries;  // the modelled objects open now, outermost first
  std::string opaque;              // the unmodelled value being read, so far
  std::vector<char> opaqueOpen;    // its open containers, outermost first
  std::vector<bool> opaqueEmpty;   // whether each has no item yet
  bool afterKey = false;           // the next item of an unmodelled object follows its key
};

// The store's contents, or a reason why the bytes are not a store.
std::optional<DefaultsDictionary> parseStore(const std::string& bytes, std::string& problem) {
  StoreReader reader;
  if (Json::sax_parse(bytes, &reader, Json::input_format_t::json, /*strict=*/true) && reader.result)
    return std::move(reader.result);
  if (reader.numberBeyondADouble) {
    // Read again with such numbers standing in as nulls that remember their digits.
    NumbersAsNulls replaced = overflowingNumbersAsNulls(bytes);
    StoreReader again(std::move(replaced.nulls));
    if (Json::sax_parse(replaced.text, &again, Json::input_format_t::json, /*strict=*/true) && again.result)
      return std::move(again.result);
    reader.problem = again.problem;
  }
  problem = bytes.empty() ? "empty file" : reader.problem.empty() ? "not valid JSON" : reader.problem;
  return std::nullopt;
}

// Whether a text is one JSON value as this store reads it (numbers beyond a double included).
bool isStoredJson(const std::string& text) {
  return Json::accept(text) || Json::accept(overflowingNumbersAsNulls(text).text);
}

void write(const DefaultsValue& value, int depth, std::string& out) {
  std::visit(
      [&](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::string>) {
          out += jsonText(v);
        } else if constexpr (std::is_same_v<T, bool>) {
          out += v ? "true" : "false";
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          out += std::to_string(v);
        } else if constexpr (std::is_same_v<T, DefaultsOpaque>) {
          // Only this store makes opaque values; anything else handed in is written as null
          // rather than as a file that no longer parses.
          out += isStoredJson(v.representation) ? v.representation : "null";
        } else {
          if (v.empty()) {
            out += "{}";
            return;
          }
          const std::string indent(2 * static_cast<std::size_t>(depth + 1), ' ');
          out += "{\n";
          bool first = true;
          for (const auto& [key, item] : v) {
            if (!std::exchange(first, false)) out += ",\n";
            out += indent + jsonText(key) + ": ";
            write(item, depth + 1, out);
          }
          out += "\n" + indent.substr(2) + "}";
        }
      },
      value.value);
}

// Text as the file gives it back: invalid UTF-8 mended to U+FFFD.
std::string mendedText(const std::string& text) {
  if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return text;
  return Json::parse(jsonText(text)).get<std::string>();
}

// Whether a value holds dictionaries more than `levels` deep; looks no deeper than that.
bool deeperThan(const DefaultsValue& value, std::size_t levels) {
  const DefaultsDictionary* dictionary = value.asDictionary();
  if (!dictionary) return false;
  if (levels == 0) return true;
  for (const auto& [key, item] : *dictionary)
    if (deeperThan(item, levels - 1)) return true;
  return false;
}

// Whether the value holds an opaque object where the reader makes dictionaries: with fewer than
// kMaximumDepth dictionaries around it (`enclosing`, the top included). Only the reader makes
// opaque objects, below that depth; moved up, one would read back as a dictionary.
bool opaqueObjectAboveDepth(const DefaultsValue& value, std::size_t enclosing) {
  if (const auto* opaque = std::get_if<DefaultsOpaque>(&value.value)) {
    const std::size_t first = opaque->representation.find_first_not_of(" \t\r\n");
    return enclosing < kMaximumDepth && first != std::string::npos && opaque->representation[first] == '{';
  }
  const DefaultsDictionary* dictionary = value.asDictionary();
  if (!dictionary) return false;
  for (const auto& [key, item] : *dictionary)
    if (opaqueObjectAboveDepth(item, enclosing + 1)) return true;
  return false;
}

// The value as the file gives it back (keys and texts mended).
DefaultsValue mended(DefaultsValue value) {
  if (std::string* text = std::get_if<std::string>(&value.value)) {
    *text = mendedText(*text);
  } else if (DefaultsDictionary* dictionary = std::get_if<DefaultsDictionary>(&value.value)) {
    DefaultsDictionary copy;
    for (auto& [key, item] : *dictionary) copy[mendedText(key)] = mended(std::move(item));
    *dictionary = std::move(copy);
  }
  return value;
}

std::string utcStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
  return text;
}

// Moves a bad store aside under a name that says so, never over an earlier one. Called under
// the lock.
std::optional<fs::path> moveAside(const fs::path& store, std::string& problem) {
  const std::string base = store.filename().string() + ".corrupt-" + utcStamp();
  std::error_code error;
  for (int attempt = 1; attempt < 1000; ++attempt) {
    const fs::path candidate = folderOf(store) / (attempt == 1 ? base : base + "-" + std::to_string(attempt));
    if (fs::symlink_status(candidate, error).type() != fs::file_type::not_found) continue;
    if (std::rename(store.c_str(), candidate.c_str()) == 0) return candidate;
    problem += "; could not move it aside: " + errnoText(errno);
    return std::nullopt;
  }
  problem += "; could not find a free name to move it aside";
  return std::nullopt;
}

bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

std::string serialised(const DefaultsDictionary& values) {
  std::string bytes;
  write(DefaultsValue{values}, 0, bytes);
  return bytes += '\n';
}

void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // durability of the rename only; the store is whole either way
  ::close(fd);
}

}  // namespace

std::optional<fs::path> FileDefaults::standardLocation() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config && fs::path(config).is_absolute()) return fs::path(config) / "turnlet" / "defaults.json";
  fs::path home;
  if (const char* variable = std::getenv("HOME"); variable && *variable) {
    home = variable;
  } else {
    std::vector<char> buffer(16 * 1024);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        *found->pw_dir)
      home = found->pw_dir;
  }
  if (home.empty()) return std::nullopt;
  return home / ".config" / "turnlet" / "defaults.json";
}

FileDefaults::FileDefaults(fs::path file, Log& log) : path(std::move(file)), log(log) { load(); }

std::optional<DefaultsValue> FileDefaults::value(const std::string& key) const {
  auto it = values.find(mendedText(key));
  if (it == values.end()) return std::nullopt;
  return it->second;
}

void FileDefaults::set(const std::string& key, DefaultsValue value) {
  // The file could not give such a value back as it was set (the top level counts as one).
  if (deeperThan(value, kMaximumDepth - 1)) {
    log.line("defaults: refused \"" + mendedText(key) + "\": dictionaries nested deeper than " +
             std::to_string(kMaximumDepth - 1) + " levels");
    return;
  }
  if (opaqueObjectAboveDepth(value, 1)) {
    log.line("defaults: refused \"" + mendedText(key) + "\": an opaque object here would read back as a dictionary");
    return;
  }
  // Held as the next opening will read it, so what is read now is what is read then.
  const std::string name = mendedText(key);
  const auto found = values.find(name);
  const std::optional<DefaultsValue> previous =
      found == values.end() ? std::nullopt : std::optional<DefaultsValue>(found->second);
  const bool changedBefore = changedKeys.contains(name);
  values[name] = mended(std::move(value));
  changedKeys.insert(name);
  if (save()) return;
  if (previous) {
    values[name] = *previous;
  } else {
    values.erase(name);
  }
  if (!changedBefore) changedKeys.erase(name);
  log.line("defaults: refused \"" + name + "\": the settings file would be larger than " +
           std::to_string(kMaximumFileBytes) + " bytes and could no longer be read");
}

void FileDefaults::remove(const std::string& key) {
  // Removed even when this store never read it: another store may have set it since.
  const std::string name = mendedText(key);
  values.erase(name);
  changedKeys.insert(name);
  save();
}

void FileDefaults::load() {
  const fs::path target = followLinks(path);
  std::error_code error;
  if (!fs::is_directory(folderOf(target), error)) return;  // nothing stored yet
  StoreLock lock(target, lockWait());
  // Without the lock, a temporary may be another store's write in progress.
  if (!noteLock(lock.busy())) removeStaleTemporaries(target);

  ReadResult read = readWhole(target);
  if (read.kind == ReadResult::Kind::missing) return;
  std::string problem = read.problem;
  if (read.kind == ReadResult::Kind::contents) {
    if (std::optional<DefaultsDictionary> parsed = parseStore(read.bytes, problem)) {
      values = std::move(*parsed);
      return;
    }
  }
  setAside = moveAside(target, problem);
  log.line("defaults: " + path.string() + ": " + problem +
           (setAside ? "; moved to " + setAside->string() + ", starting empty" : "; starting empty"));
}

std::chrono::milliseconds FileDefaults::lockWait() const {
  // Once another holder has kept the lock for a whole wait, only try until it is had again.
  return lockHeldElsewhere ? std::chrono::milliseconds(0) : lockWaitLimit;
}

bool FileDefaults::noteLock(bool busy) {
  if (busy && !lockHeldElsewhere)
    log.line("defaults: " + path.string() + ".lock is held by another process; going on without it");
  lockHeldElsewhere = busy;
  return busy;
}

bool FileDefaults::save() {
  const fs::path target = followLinks(path);
  const fs::path folder = folderOf(target);
  std::error_code error;
  // The store's own folder is private; folders above it are left as the system makes them.
  if (fs::create_directories(folder, error)) fs::permissions(folder, fs::perms::owner_all, error);

  StoreLock lock(target, lockWait());
  noteLock(lock.busy());
  // What other stores wrote since this one last read the file stays; only this store's own
  // changes go over it. A file that cannot be read is replaced by this store's whole state.
  const ReadResult read = readWhole(target);
  std::string problem;
  std::optional<DefaultsDictionary> merged;
  if (read.kind == ReadResult::Kind::contents) merged = parseStore(read.bytes, problem);
  if (merged) {
    for (const std::string& key : changedKeys) {
      if (auto it = values.find(key); it != values.end()) {
        (*merged)[key] = it->second;
      } else {
        merged->erase(key);
      }
    }
  } else {
    merged = values;
  }
  const std::string bytes = serialised(*merged);
  if (bytes.size() > kMaximumFileBytes) return false;
  values = std::move(*merged);
  std::string temporary = (folder / (temporaryPrefix(target) + "XXXXXX")).string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    lastWriteOK = false;
    log.line("defaults: could not save " + path.string() + ": " + errnoText(errno));
    return true;
  }
  const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
  const int writeError = errno;
  const bool closed = ::close(fd) == 0;
  const int closeError = errno;
  if (!written || !closed || std::rename(temporary.c_str(), target.c_str()) != 0) {
    const int failure = !written ? writeError : !closed ? closeError : errno;
    ::unlink(temporary.c_str());
    lastWriteOK = false;
    log.line("defaults: could not save " + path.string() + ": " + errnoText(failure));
    return true;
  }
  syncFolder(folder);
  lastWriteOK = true;
  changedKeys.clear();
  return true;
}

}  // namespace turnlet::host
