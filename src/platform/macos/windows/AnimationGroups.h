#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>

#include "platform/MainLoop.h"

namespace turnlet::macos {

// The bookkeeping behind WindowServices::runAnimationGroup: each group's completion runs exactly
// once, later, on the main loop, when every alpha animation the group started has ended, whether
// the platform reports the group complete (its completion handler) or each of its windows ended
// the animation early (a newer animation of the window, a direct alpha, closing or destroying the
// window). The platform may call a group's completion handler at once, more than once, or, for
// a window that is gone, not at all; none of that reaches the program's completion twice or never.
//
// Main loop only. A completion runs as posted work, never inside these calls, so it may start
// groups, set alphas and close or destroy windows. Groups still pending when this object ends
// complete then (posted), so none is lost.
class AnimationGroups final {
 public:
  using GroupId = std::uint64_t;
  using WindowId = std::uint64_t;

  explicit AnimationGroups(MainLoop& loop) : loop(loop) {}
  ~AnimationGroups();
  AnimationGroups(const AnimationGroups&) = delete;
  AnimationGroups& operator=(const AnimationGroups&) = delete;

  // A group begins (before its changes run).
  GroupId begin(std::function<void()> completion);
  // The group's changes animate the window's alpha; an animation of the window by an earlier
  // group ends here.
  void animates(GroupId group, WindowId window);
  // The changes have returned; a group that animated nothing, or whose animations all ended
  // meanwhile, completes.
  void changesEnded(GroupId group);
  // The platform's completion handler of the group ran.
  void platformCompleted(GroupId group);
  // The window's running alpha animation ended early (direct alpha, close, destroy).
  void animationEnded(WindowId window);

  // Groups not yet complete.
  std::size_t pending() const { return groups.size(); }

 private:
  struct Group final {
    std::function<void()> completion;
    std::set<WindowId> windows;
    bool changesDone = false;
    bool platformDone = false;
  };

  void finish(GroupId group);

  MainLoop& loop;
  std::map<GroupId, Group> groups;
  std::map<WindowId, GroupId> running;  // each window's animating group
  GroupId next = 1;
};

}  // namespace turnlet::macos
