#pragma once

#include <memory>
#include <string>

#include "platform/TextServices.h"

namespace turnlet::host {

// Text services of this machine, by ICU: the case-insensitive search is a collation search at
// secondary strength (letters and their marks count, case and width do not). Main loop only.
class IcuTextServices : public TextServices {
 public:
  // locale: an ICU locale id ("tr", "de_CH") whose rules decide which letters are alike; empty
  // for the user's own locale, where the POSIX locale (no language set) reads as the root one.
  // Throws PlatformError (domain "ICU") when ICU has no collation data.
  explicit IcuTextServices(const std::string& locale = {});
  ~IcuTextServices() override;

  bool localizedCaseInsensitiveContains(std::string_view text, std::string_view pattern) const override;

 private:
  struct Collation;
  std::unique_ptr<Collation> collation;
};

}  // namespace turnlet::host
