#pragma once

#include <string_view>

namespace turnlet {

// The platform's text operations that the logic needs. Main loop only.
class TextServices {
 public:
  virtual ~TextServices() = default;

  // Whether text contains pattern, letters compared the way the user's language compares them
  // but without regard to case (NSString localizedCaseInsensitiveContainsString:): "IPAD PRO"
  // contains "ipad", while a letter with a mark is another letter and a match never ends inside
  // a character. Both are UTF-8; malformed bytes read as U+FFFD and match no letter. An empty
  // pattern is found in no text.
  virtual bool localizedCaseInsensitiveContains(std::string_view text, std::string_view pattern) const = 0;
};

}  // namespace turnlet
