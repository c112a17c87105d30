#pragma once

#include "platform/Permissions.h"

namespace turnlet::sim {

// The simulated privacy settings. Tests (and the simulator window) grant, refuse and revoke; a
// request shows the prompt once per permission, and the prompt grants when the simulated user
// is set to accept it. Main loop only.
class SimPermissions : public Permissions {
 public:
  struct Permission {
    bool granted = true;
    bool acceptsPrompt = false;  // what the simulated user answers when prompted
    bool prompted = false;
    int prompts = 0;  // prompts shown
  };

  Permission screenCapture;
  Permission postEvents;

  bool preflightScreenCaptureAccess() override { return screenCapture.granted; }
  bool requestScreenCaptureAccess() override { return request(screenCapture); }
  bool preflightPostEventAccess() override { return postEvents.granted; }
  bool requestPostEventAccess() override { return request(postEvents); }

 private:
  static bool request(Permission& p) {
    if (!p.granted && !p.prompted) {
      p.prompted = true;
      ++p.prompts;
      p.granted = p.acceptsPrompt;
    }
    return p.granted;
  }
};

}  // namespace turnlet::sim
