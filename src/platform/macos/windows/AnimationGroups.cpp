#include "macos/windows/AnimationGroups.h"

#include <utility>

namespace turnlet::macos {

AnimationGroups::~AnimationGroups() {
  while (!groups.empty()) finish(groups.begin()->first);
}

AnimationGroups::GroupId AnimationGroups::begin(std::function<void()> completion) {
  const GroupId id = next++;
  groups[id].completion = std::move(completion);
  return id;
}

void AnimationGroups::animates(GroupId group, WindowId window) {
  auto it = groups.find(group);
  if (it == groups.end()) return;
  if (auto previous = running.find(window); previous != running.end() && previous->second != group)
    animationEnded(window);
  it->second.windows.insert(window);
  running[window] = group;
}

void AnimationGroups::changesEnded(GroupId group) {
  auto it = groups.find(group);
  if (it == groups.end()) return;
  it->second.changesDone = true;
  if (it->second.windows.empty() || it->second.platformDone) finish(group);
}

void AnimationGroups::platformCompleted(GroupId group) {
  auto it = groups.find(group);
  // A handler the platform calls while the changes still run (a group without animations) counts
  // once the changes have returned.
  if (it == groups.end()) return;
  if (!it->second.changesDone) {
    it->second.platformDone = true;
    return;
  }
  finish(group);
}

void AnimationGroups::animationEnded(WindowId window) {
  auto found = running.find(window);
  if (found == running.end()) return;
  const GroupId group = found->second;
  running.erase(found);
  auto it = groups.find(group);
  if (it == groups.end()) return;
  it->second.windows.erase(window);
  if (it->second.changesDone && it->second.windows.empty()) finish(group);
}

void AnimationGroups::finish(GroupId group) {
  auto it = groups.find(group);
  if (it == groups.end()) return;
  Group done = std::move(it->second);
  groups.erase(it);
  for (WindowId window : done.windows) {
    auto r = running.find(window);
    if (r != running.end() && r->second == group) running.erase(r);
  }
  if (done.completion) loop.post(std::move(done.completion));
}

}  // namespace turnlet::macos
