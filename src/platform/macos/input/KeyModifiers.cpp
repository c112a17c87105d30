#include "macos/input/KeyModifiers.h"

namespace turnlet::macos {

std::uint64_t appKitModifierFlags(unsigned modifiers) {
  std::uint64_t flags = 0;
  if (modifiers & KeyEquivalent::shift) flags |= std::uint64_t{1} << 17;
  if (modifiers & KeyEquivalent::control) flags |= std::uint64_t{1} << 18;
  if (modifiers & KeyEquivalent::option) flags |= std::uint64_t{1} << 19;
  if (modifiers & KeyEquivalent::command) flags |= std::uint64_t{1} << 20;
  return flags;
}

std::string appKitKeyEquivalent(const std::string& key) {
  std::string result = key;
  if (result.size() == 1 && result[0] >= 'A' && result[0] <= 'Z') result[0] = static_cast<char>(result[0] - 'A' + 'a');
  return result;
}

}  // namespace turnlet::macos
