#include "macos/input/WindowListValues.h"

namespace turnlet::macos {

namespace {

WindowListScalar scalar(const PlatformObject& object) {
  switch (object.kind) {
    case PlatformObject::Kind::number: return object.number.realValue;
    case PlatformObject::Kind::text: return object.text;
    default: return WindowListOther{};
  }
}

}  // namespace

WindowListEntry windowListEntry(const PlatformObject& dictionary) {
  WindowListEntry entry;
  if (dictionary.kind != PlatformObject::Kind::dictionary) return entry;
  for (const PlatformEntry& e : dictionary.entries) {
    if (!e.key) continue;
    if (e.value.kind != PlatformObject::Kind::dictionary) {
      const WindowListScalar s = scalar(e.value);
      entry.emplace(*e.key, std::visit([](const auto& v) -> WindowListValue { return v; }, s));
      continue;
    }
    WindowListNested nested;
    for (const PlatformEntry& inner : e.value.entries)
      if (inner.key) nested.emplace(*inner.key, scalar(inner.value));
    entry.emplace(*e.key, std::move(nested));
  }
  return entry;
}

std::optional<std::vector<WindowListEntry>> windowListEntries(const std::optional<PlatformObject>& list) {
  if (!list || list->kind != PlatformObject::Kind::array) return std::nullopt;
  std::vector<WindowListEntry> entries;
  entries.reserve(list->items.size());
  for (const PlatformObject& item : list->items) entries.push_back(windowListEntry(item));
  return entries;
}

}  // namespace turnlet::macos
