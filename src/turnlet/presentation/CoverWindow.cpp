#include "presentation/CoverWindow.h"

namespace turnlet {

std::unique_ptr<PlatformWindow> CoverWindow::make(WindowServices& windows, WindowFrame contentRect,
                                                  WindowStyleMask style, BackingStoreType backing, bool defer) {
  auto window = windows.makeWindow(contentRect, style, backing, defer);
  window->setCanBecomeKeyWindow(false);
  window->setCanBecomeMainWindow(false);
  return window;
}

}  // namespace turnlet
