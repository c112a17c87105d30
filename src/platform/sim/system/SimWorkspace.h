#pragma once

#include <map>
#include <memory>
#include <utility>

#include "platform/MainLoop.h"
#include "platform/WorkspaceNotifications.h"

namespace turnlet::sim {

// The simulated workspace's sleep and wake notifications: a test posts any of the four in any
// order; each reaches the blocks registered for it on the main loop. Main loop only.
class SimWorkspace : public WorkspaceNotifications {
 public:
  explicit SimWorkspace(MainLoop& loop) : loop(loop) {}

  ObserverToken addObserver(WorkspaceNotification name, std::function<void()> block) override {
    observers.emplace(next, std::pair(name, std::move(block)));
    return next++;
  }
  void removeObserver(ObserverToken token) override { observers.erase(token); }

  // Delivered later on the main loop to the blocks registered then. The screens are dark from a
  // sleep notification to the matching wake.
  void post(WorkspaceNotification name) {
    if (name == WorkspaceNotification::willSleep || name == WorkspaceNotification::didWake)
      systemAsleep = name == WorkspaceNotification::willSleep;
    else
      screensAsleep = name == WorkspaceNotification::screensDidSleep;
    loop.post([this, name, weak = std::weak_ptr<bool>(alive)] {
      if (weak.expired()) return;
      std::vector<ObserverToken> tokens;
      for (const auto& [token, entry] : observers)
        if (entry.first == name) tokens.push_back(token);
      for (ObserverToken token : tokens) {
        auto it = observers.find(token);
        if (it == observers.end()) continue;  // removed by an earlier block of this round
        auto block = it->second.second;
        block();
      }
    });
  }
  std::size_t observerCount() const { return observers.size(); }
  bool dark() const { return systemAsleep || screensAsleep; }

 private:
  MainLoop& loop;
  std::map<ObserverToken, std::pair<WorkspaceNotification, std::function<void()>>> observers;
  ObserverToken next = 1;
  bool systemAsleep = false, screensAsleep = false;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

}  // namespace turnlet::sim
