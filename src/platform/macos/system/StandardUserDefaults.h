#pragma once

#include "platform/UserDefaults.h"

namespace turnlet::macos {

// The standard user defaults. Texts, signed integers, booleans and dictionaries of them are the
// interface's values; anything else stored under a key (reals, dates, data, arrays, larger
// integers, texts with an unpaired surrogate) reads as an opaque value and is written back
// exactly as it was, alone or inside a dictionary (PlistValue). A value whose opaque part this
// store did not write is not stored: the key keeps what it had. Main thread only.
class StandardUserDefaults final : public UserDefaults {
 public:
  std::optional<DefaultsValue> value(const std::string& key) const override;
  void set(const std::string& key, DefaultsValue value) override;
  void remove(const std::string& key) override;
};

}  // namespace turnlet::macos
