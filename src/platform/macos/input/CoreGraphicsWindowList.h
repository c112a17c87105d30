#pragma once

#include "platform/WindowList.h"

namespace turnlet::macos {

// The window server's list through CGWindowListCopyWindowInfo: the copy is owned and released
// here, each dictionary read into the interface's loosely typed entries (WindowListValues).
// Main thread only.
class CoreGraphicsWindowList final : public WindowList {
 public:
  std::optional<std::vector<WindowListEntry>> copyWindowInfo(std::uint32_t options, std::uint32_t relativeToWindow) override;
};

}  // namespace turnlet::macos
