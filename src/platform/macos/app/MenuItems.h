#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace turnlet::macos {

// The items a menu owns, in order. `Item` has `MenuItemAction& action()`. Removing the items
// detaches each one's action at once; an item ends when its last holder lets go (a running action
// holds its own item until it returns). Main loop only.
template <class Item>
class MenuItems final {
 public:
  const std::shared_ptr<Item>& add(std::shared_ptr<Item> item) {
    items.push_back(std::move(item));
    return items.back();
  }

  // Returns the removed items, so that the caller takes them out of the platform menu before they
  // go.
  std::vector<std::shared_ptr<Item>> removeAll() {
    std::vector<std::shared_ptr<Item>> gone;
    gone.swap(items);
    for (const auto& item : gone) item->action().detach();
    return gone;
  }

  std::size_t size() const { return items.size(); }
  const std::shared_ptr<Item>& at(std::size_t index) const { return items.at(index); }

 private:
  std::vector<std::shared_ptr<Item>> items;
};

}  // namespace turnlet::macos
