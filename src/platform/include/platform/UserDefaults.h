#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace turnlet {

struct DefaultsValue;
using DefaultsDictionary = std::map<std::string, DefaultsValue>;

// A stored value of a type the program does not model (a real number, a date, data, an array,
// null: written by a later version, by hand or by another program), held in the store's own
// serialized form so that writing it back, alone or inside a dictionary, keeps it exactly as it
// was. Only the store that produced it reads the representation; to the program it is never a
// text, an integer, a boolean or a dictionary.
struct DefaultsOpaque {
  std::string representation;
  friend bool operator==(const DefaultsOpaque&, const DefaultsOpaque&) = default;
};

// A typed user-defaults value: a text "90" is not the integer 90.
struct DefaultsValue {
  std::variant<std::string, std::int64_t, bool, DefaultsDictionary, DefaultsOpaque> value;

  bool operator==(const DefaultsValue& other) const { return value == other.value; }

  const std::string* asString() const { return std::get_if<std::string>(&value); }
  const std::int64_t* asInteger() const { return std::get_if<std::int64_t>(&value); }
  const bool* asBool() const { return std::get_if<bool>(&value); }
  const DefaultsDictionary* asDictionary() const { return std::get_if<DefaultsDictionary>(&value); }
  const DefaultsOpaque* asOpaque() const { return std::get_if<DefaultsOpaque>(&value); }
};

// The user-defaults store. Values written are visible to the next read at once and persist
// across launches. Main loop only.
class UserDefaults {
 public:
  virtual ~UserDefaults() = default;
  virtual std::optional<DefaultsValue> value(const std::string& key) const = 0;
  virtual void set(const std::string& key, DefaultsValue value) = 0;
  virtual void remove(const std::string& key) = 0;
};

}  // namespace turnlet
