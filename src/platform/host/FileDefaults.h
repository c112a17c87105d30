#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "platform/Log.h"
#include "platform/UserDefaults.h"

namespace turnlet::host {

// The user-defaults store of this machine: one JSON file, read when the store opens and again,
// under the lock, before each write, which writes it whole, atomically, after every change. A
// path that is a link (dotfiles, a synced folder) is followed: the target is read and replaced,
// and the link stays.
//
// A write goes to a temporary file in the target's folder, is flushed to the disk and then
// renamed over the target, so a crash or a full disk leaves either the old file or the new one,
// never a torn or empty one; a failed write keeps the value in memory (reads see it at once),
// logs, and is retried with the store's other unsaved changes by the next change. A file that
// cannot be read or parsed, or is not a JSON object, is moved aside as "<name>.corrupt-<UTC
// time>" and the store starts empty; a value of a type the store does not model is kept as an
// opaque value and written back unchanged; nothing in the file can make the program stop.
//
// Several stores on the same file, in one or several processes, serialise their openings and
// writes with an advisory lock on "<name>.lock" beside the target. Each store writes back only
// the keys it set or removed since it last read the file, over what the file holds then, so no
// store undoes another's changes. The lock is waited for at most a second: when another process
// keeps it longer (it hangs, say), the store reads or writes without it (the rename keeps the
// file whole), logs once, and only tries the lock, without waiting, until it has it again. Main
// loop only (each store).
//
// JSON keeps the types apart: a text is a string, an integer a number without fraction, a
// boolean true or false, a dictionary an object; a number beyond a double, and "-0", which no
// 64-bit integer holds, are kept opaque in their own digits. Invalid UTF-8 in a key or a text
// becomes U+FFFD when it is set, as the file would give it back. Refused and logged, with every
// other setting kept: a value with dictionaries nested deeper than the reader keeps as
// dictionaries (63 levels below the top), which would read back as something else; an opaque
// object (one read from below that depth) set anywhere above it, where it would read back as a
// dictionary; a value that would make the file larger than the reader accepts (16 MiB), which
// would set the whole file aside at the next opening.
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
  // Writes the file's contents with this store's changes over them; false, writing nothing, when
  // the file would be larger than the reader accepts.
  bool save();
  std::chrono::milliseconds lockWait() const;
  // Records whether another holder kept the lock; logs when that starts. Returns it.
  bool noteLock(bool busy);

  std::filesystem::path path;
  Log& log;
  DefaultsDictionary values;
  // Keys set or removed since the file was last read, written over the file's contents by save().
  std::set<std::string> changedKeys;
  std::optional<std::filesystem::path> setAside;
  bool lastWriteOK = true;
  static constexpr std::chrono::milliseconds lockWaitLimit{1000};
  bool lockHeldElsewhere = false;
};

}  // namespace turnlet::host
