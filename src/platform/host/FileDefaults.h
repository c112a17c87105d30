#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/Log.h"
#include "platform/UserDefaults.h"

namespace turnlet::host {

// The user-defaults store of this machine: one JSON file, read once when the store opens and
// written whole, atomically, after every change.
//
// A write goes to a temporary file in the same folder, is flushed to the disk and then renamed
// over the store, so a crash or a full disk leaves either the old file or the new one, never a
// torn or empty one; a failed write keeps the value in memory (reads see it at once), logs, and
// is retried with everything by the next change. A file that cannot be read or parsed, or is not a
// JSON object, is moved aside as "<name>.corrupt-<UTC time>" and the store starts empty; a value
// of a type the store does not model is kept as an opaque value and written back unchanged;
// nothing in the file can make the program stop. Several stores on the
// same file, in one or several processes, serialise their openings and writes with an advisory
// lock on "<name>.lock"; the last writer wins. The lock is waited for at most a second: when
// another process keeps it longer (it hangs, say), the store reads or writes without it (the
// rename keeps the file whole), logs once, and only tries the lock, without waiting, until it
// has it again. Main loop only (each store).
//
// JSON keeps the types apart: a text is a string, an integer a number without fraction, a
// boolean true or false, a dictionary an object; a number beyond a double, and "-0", which no
// 64-bit integer holds, are kept opaque in their own digits. Invalid UTF-8 in a key or a text
// becomes U+FFFD when it is set, as the file would give it back. A value with dictionaries nested deeper than the
// reader keeps as dictionaries (63 levels below the top) is refused and logged: read back, it
// would no longer be the value set. So is an opaque object (one read from below that depth) set
// anywhere above it, where it would read back as a dictionary.
class FileDefaults : public UserDefaults {
 public:
  // $XDG_CONFIG_HOME/turnlet/defaults.json when that variable holds an absolute path, else
  // ~/.config/turnlet/defaults.json; absent when no home folder is known.
  static std::optional<std::filesystem::path> standardLocation();

  FileDefaults(std::filesystem::path file, Log& log);

  std::optional<DefaultsValue> value(const std::string& key) const override;
  void set(const std::string& key, DefaultsValue value) override;
  void remove(const std::string& key) override;

  const std::filesystem::path& file() const { return path; }
  // Where a bad file found at opening was moved; absent when there was none.
  const std::optional<std::filesystem::path>& setAsideFile() const { return setAside; }
  // Whether the latest change reached the disk.
  bool lastWriteSucceeded() const { return lastWriteOK; }

 private:
  void load();
  void save();
  std::chrono::milliseconds lockWait() const;
  // Records whether another holder kept the lock; logs when that starts. Returns it.
  bool noteLock(bool busy);

  std::filesystem::path path;
  Log& log;
  DefaultsDictionary values;
  std::optional<std::filesystem::path> setAside;
  bool lastWriteOK = true;
  static constexpr std::chrono::milliseconds lockWaitLimit{1000};
  bool lockHeldElsewhere = false;
};

}  // namespace turnlet::host
