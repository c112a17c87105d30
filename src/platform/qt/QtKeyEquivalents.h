#pragma once

#include <QKeySequence>
#include <vector>

namespace turnlet::qt {

// Who runs each key equivalent of the application. Qt runs none of the shortcuts that match in
// the same place when two share a key (it calls them ambiguous), while the program gives one key
// to a main-menu item and a status-menu item (Quit), or to a menu item and a window's button
// (Rotate). So each key has one owner, the first menu item that claimed it, else the first button;
// a menu item's key works in every window of the application, a button's in its own window. The
// other holders show the key without running it. Holders release their claim before they go.
// Main loop only.
class QtKeyEquivalents {
 public:
  class Holder {
   public:
    enum class Kind { menuItem, button };
    // Whether this holder runs `key` or only shows it.
    virtual void holdKey(const QKeySequence& key, bool owner) = 0;

   protected:
    ~Holder() = default;
  };

  QtKeyEquivalents() = default;
  QtKeyEquivalents(const QtKeyEquivalents&) = delete;
  QtKeyEquivalents& operator=(const QtKeyEquivalents&) = delete;

  // Gives `holder` the key instead of the one it held; an empty key only releases.
  void claim(Holder& holder, Holder::Kind kind, const QKeySequence& key);
  void release(Holder& holder) { claim(holder, Holder::Kind::button, {}); }
  // The holder that runs `key`, if any.
  const Holder* owner(const QKeySequence& key) const;

 private:
  struct Claim {
    Holder* holder;
    Holder::Kind kind;
    QKeySequence key;
  };
  void assign(const QKeySequence& key);

  std::vector<Claim> claims;  // in the order they were made
};

}  // namespace turnlet::qt
