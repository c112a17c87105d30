#pragma once

#include "platform/TextServices.h"

namespace turnlet::macos {

// The localised case-insensitive search of Foundation's strings; both texts cross as UTF-8 with
// malformed bytes read as U+FFFD (TextBridge). An empty pattern is found in no text. Main thread
// only.
class FoundationTextServices final : public TextServices {
 public:
  bool localizedCaseInsensitiveContains(std::string_view text, std::string_view pattern) const override;
};

}  // namespace turnlet::macos
