#include "host/SignalWatcher.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <vector>

namespace turnlet::host {

namespace {

int writeEnd = -1;
std::vector<int> installed;

void handle(int signal) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  [[maybe_unused]] auto written = ::write(writeEnd, &byte, 1);
  errno = saved;
}

}  // namespace

SignalWatcher::SignalWatcher(MainLoop& loop, std::function<void(int)> onSignal, std::initializer_list<int> signals) {
  if (::pipe(pipeEnds) != 0) throw std::runtime_error("turnlet: cannot create the signal pipe");
  ::fcntl(pipeEnds[1], F_SETFL, O_NONBLOCK);
  ::fcntl(pipeEnds[0], F_SETFD, FD_CLOEXEC);
  ::fcntl(pipeEnds[1], F_SETFD, FD_CLOEXEC);
  writeEnd = pipeEnds[1];
  installed = signals.size() ? std::vector<int>(signals) : std::vector<int>{SIGINT, SIGTERM};
  reader = std::thread([&loop, onSignal = std::move(onSignal), readEnd = pipeEnds[0]] {
    unsigned char byte = 0;
    for (;;) {
      const auto n = ::read(readEnd, &byte, 1);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0 || byte == 0) return;  // closed, or the destructor's stop byte
      loop.post([onSignal, signal = int(byte)] { onSignal(signal); });
    }
  });
  struct sigaction action {};
  action.sa_handler = handle;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int s : installed) ::sigaction(s, &action, nullptr);
}

SignalWatcher::~SignalWatcher() {
  for (int s : installed) ::signal(s, SIG_DFL);
  const unsigned char stop = 0;
  [[maybe_unused]] auto written = ::write(pipeEnds[1], &stop, 1);
  reader.join();
  writeEnd = -1;
  ::close(pipeEnds[0]);
  ::close(pipeEnds[1]);
}

}  // namespace turnlet::host
