#import "macos/input/CoreGraphicsWindowList.h"

#import <CoreGraphics/CoreGraphics.h>

#include "macos/display/PlatformObjectBridge.h"
#include "macos/input/WindowListValues.h"

namespace turnlet::macos {

std::optional<std::vector<WindowListEntry>> CoreGraphicsWindowList::copyWindowInfo(std::uint32_t options,
                                                                                   std::uint32_t relativeToWindow) {
  @autoreleasepool {
    // Owned by the copy rule; ARC releases it with `list`.
    NSArray* list = (__bridge_transfer NSArray*)CGWindowListCopyWindowInfo(options, relativeToWindow);
    if (!list) return std::nullopt;
    // A list of dictionaries whose bounds are dictionaries: three levels.
    return windowListEntries(platformObject(list, 3));
  }
}

}  // namespace turnlet::macos
