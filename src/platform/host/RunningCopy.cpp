#include "host/RunningCopy.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace turnlet::host {

namespace {

constexpr char reopenByte = 'r';
constexpr char stopByte = 'q';  // only the running copy writes it, to end its reader

std::filesystem::path beside(const std::filesystem::path& settingsFile, const char* suffix) {
  return settingsFile.string() + suffix;
}

}  // namespace

std::unique_ptr<RunningCopy> RunningCopy::claim(const std::filesystem::path& settingsFile) {
  std::error_code ignored;
  std::filesystem::create_directories(settingsFile.parent_path(), ignored);
  const int lock = ::open(beside(settingsFile, ".running").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lock < 0) return nullptr;
  if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
    ::close(lock);
    return nullptr;
  }
  // Under the lock: whatever an earlier copy left is stale.
  const std::string path = beside(settingsFile, ".reopen");
  ::unlink(path.c_str());
  const int fifo = ::mkfifo(path.c_str(), 0600) == 0 ? ::open(path.c_str(), O_RDWR | O_CLOEXEC) : -1;
  if (fifo < 0) {
    ::close(lock);
    return nullptr;
  }
  return std::unique_ptr<RunningCopy>(new RunningCopy(lock, fifo));
}

bool RunningCopy::askToReopen(const std::filesystem::path& settingsFile) {
  const std::string path = beside(settingsFile, ".reopen");
  // The running copy may be starting: its FIFO comes right after its lock.
  for (int attempt = 0; attempt < 40; ++attempt) {
    const int fifo = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fifo >= 0) {
      const bool written = ::write(fifo, &reopenByte, 1) == 1;
      ::close(fifo);
      return written;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

void RunningCopy::listen(MainLoop& loop, std::function<void()> onReopen) {
  callback = std::make_shared<std::function<void()>>(std::move(onReopen));
  reader = std::thread([this, &loop, weak = std::weak_ptr(callback)] {
    char byte = 0;
    for (;;) {
      const ssize_t n = ::read(fifo, &byte, 1);
      if (n < 0 && errno == EINTR) continue;
      if (n != 1 || byte == stopByte) return;
      if (byte == reopenByte)
        loop.post([weak] {
          if (auto f = weak.lock()) (*f)();
        });
    }
  });
}

RunningCopy::~RunningCopy() {
  callback.reset();  // a reopen posted but not yet run does nothing now
  if (reader.joinable()) {
    (void)::write(fifo, &stopByte, 1);
    reader.join();
  }
  ::close(fifo);
  ::close(lockFile);  // releases the lock
}

}  // namespace turnlet::host
