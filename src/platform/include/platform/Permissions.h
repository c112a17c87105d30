#pragma once

namespace turnlet {

// The two privacy permissions the program needs: recording the screen (capture of the rotated
// desktop) and posting events (finger touch as mouse and scroll input; "Device Control and Data
// Access" in the system's settings).
//
// A preflight answers at once and never asks the user. A request shows the system's prompt (only
// the first time the program asks for that permission; later requests answer without asking) and
// returns whether the permission is granted now. The user can grant or revoke either at any time
// outside the program. Main loop only.
class Permissions {
 public:
  virtual ~Permissions() = default;
  virtual bool preflightScreenCaptureAccess() = 0;
  virtual bool requestScreenCaptureAccess() = 0;
  virtual bool preflightPostEventAccess() = 0;
  virtual bool requestPostEventAccess() = 0;
};

}  // namespace turnlet
