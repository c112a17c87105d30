#include "host/FileDefaults.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <nlohmann/json.hpp>
#include <system_error>
#include <utility>
#include <vector>

namespace turnlet::host {

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace {

// A store larger than this was not written by us (bytes).
constexpr std::size_t kMaximumFileBytes = 16 * 1024 * 1024;
// Dictionaries nested deeper than this were not written by us either (levels below the top).
constexpr int kMaximumDepth = 64;

std::string errnoText(int error) { return std::string(std::strerror(error)); }

// Holds an exclusive advisory lock on "<store>.lock" for its lifetime, or nothing when the lock
// file cannot be opened (a read-only folder, say): the rename keeps the store whole without it.
class StoreLock {
 public:
  explicit StoreLock(const fs::path& store) {
    const fs::path lockPath = fs::path(store).concat(".lock");
    fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~StoreLock() {
    if (fd >= 0) ::close(fd);  // closing releases the lock
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

 private:
  int fd = -1;
};

// The folder of the store; "." for a bare file name.
fs::path folderOf(const fs::path& store) { return store.has_parent_path() ? store.parent_path() : fs::path("."); }

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

// The typed value a JSON value stands for; absent for a type the store does not keep (null,
// numbers with a fraction or beyond 64 bits, arrays) or for nesting deeper than we write.
std::optional<DefaultsValue> fromJson(const Json& json, int depth) {
  switch (json.type()) {
    case Json::value_t::string: return DefaultsValue{json.get<std::string>()};
    case Json::value_t::boolean: return DefaultsValue{json.get<bool>()};
    case Json::value_t::number_integer: return DefaultsValue{json.get<std::int64_t>()};
    case Json::value_t::number_unsigned: {
      const auto number = json.get<std::uint64_t>();
      if (number > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
      return DefaultsValue{static_cast<std::int64_t>(number)};
    }
    case Json::value_t::object: {
      if (depth >= kMaximumDepth) return std::nullopt;
      DefaultsDictionary dictionary;
      for (const auto& [key, item] : json.items()) {
        std::optional<DefaultsValue> value = fromJson(item, depth + 1);
        if (!value) return std::nullopt;
        dictionary[key] = std::move(*value);
      }
      return DefaultsValue{std::move(dictionary)};
    }
    default: return std::nullopt;
  }
}

Json toJson(const DefaultsValue& value) {
  return std::visit(
      [](const auto& v) -> Json {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, DefaultsDictionary>) {
          Json object = Json::object();
          for (const auto& [key, item] : v) object[key] = toJson(item);
          return object;
        } else {
          return Json(v);
        }
      },
      value.value);
}

// The store's contents, or a reason why the bytes are not a store.
std::optional<DefaultsDictionary> parseStore(const std::string& bytes, std::string& problem) {
  // The parser itself keeps no recursion, so depth is checked only while converting.
  const Json json = Json::parse(bytes, nullptr, /*allow_exceptions=*/false);
  if (json.is_discarded()) {
    problem = bytes.empty() ? "empty file" : "not valid JSON";
    return std::nullopt;
  }
  if (!json.is_object()) {
    problem = "not a JSON object";
    return std::nullopt;
  }
  std::optional<DefaultsValue> top = fromJson(json, 0);
  if (!top) {
    problem = "holds a value of an unexpected type";
    return std::nullopt;
  }
  return std::move(std::get<DefaultsDictionary>(top->value));
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
  auto it = values.find(key);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

void FileDefaults::set(const std::string& key, DefaultsValue value) {
  values[key] = std::move(value);
  save();
}

void FileDefaults::remove(const std::string& key) {
  if (values.erase(key) == 0 && lastWriteOK) return;
  save();
}

void FileDefaults::load() {
  std::error_code error;
  if (!fs::is_directory(folderOf(path), error)) return;  // nothing stored yet
  StoreLock lock(path);
  removeStaleTemporaries(path);

  ReadResult read = readWhole(path);
  if (read.kind == ReadResult::Kind::missing) return;
  std::string problem = read.problem;
  if (read.kind == ReadResult::Kind::contents) {
    if (std::optional<DefaultsDictionary> parsed = parseStore(read.bytes, problem)) {
      values = std::move(*parsed);
      return;
    }
  }
  setAside = moveAside(path, problem);
  log.line("defaults: " + path.string() + ": " + problem +
           (setAside ? "; moved to " + setAside->string() + ", starting empty" : "; starting empty"));
}

void FileDefaults::save() {
  const std::string bytes =
      toJson(DefaultsValue{values}).dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
  const fs::path folder = folderOf(path);
  std::error_code error;
  // The store's own folder is private; folders above it are left as the system makes them.
  if (fs::create_directories(folder, error)) fs::permissions(folder, fs::perms::owner_all, error);

  StoreLock lock(path);
  std::string temporary = (folder / (temporaryPrefix(path) + "XXXXXX")).string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    lastWriteOK = false;
    log.line("defaults: could not save " + path.string() + ": " + errnoText(errno));
    return;
  }
  const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
  const int writeError = errno;
  const bool closed = ::close(fd) == 0;
  const int closeError = errno;
  if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
    const int failure = !written ? writeError : !closed ? closeError : errno;
    ::unlink(temporary.c_str());
    lastWriteOK = false;
    log.line("defaults: could not save " + path.string() + ": " + errnoText(failure));
    return;
  }
  syncFolder(folder);
  lastWriteOK = true;
}

}  // namespace turnlet::host
