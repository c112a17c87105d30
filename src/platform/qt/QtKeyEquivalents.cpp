#include "qt/QtKeyEquivalents.h"

#include <algorithm>

namespace turnlet::qt {

void QtKeyEquivalents::claim(Holder& holder, Holder::Kind kind, const QKeySequence& key) {
  const auto held = std::find_if(claims.begin(), claims.end(), [&](const Claim& c) { return c.holder == &holder; });
  QKeySequence before;
  if (held != claims.end()) {
    before = held->key;
    claims.erase(held);
  }
  if (!key.isEmpty()) claims.push_back({&holder, kind, key});
  if (!before.isEmpty() && before != key) assign(before);
  if (!key.isEmpty()) assign(key);
}

const QtKeyEquivalents::Holder* QtKeyEquivalents::owner(const QKeySequence& key) const {
  const Holder* found = nullptr;
  for (const Claim& c : claims) {
    if (c.key != key) continue;
    if (c.kind == Holder::Kind::menuItem) return c.holder;
    if (!found) found = c.holder;
  }
  return found;
}

void QtKeyEquivalents::assign(const QKeySequence& key) {
  const Holder* runs = owner(key);
  for (const Claim& c : claims)
    if (c.key == key) c.holder->holdKey(key, c.holder == runs);
}

}  // namespace turnlet::qt
