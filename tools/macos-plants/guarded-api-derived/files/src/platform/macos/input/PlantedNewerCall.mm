#import <AppKit/AppKit.h>
#import <AppKit/PlantedNewerCall.h>

namespace turnlet::macos {

void plantedNewerCall(NSGestureRecognizer* _Nonnull recognizer);

// The planted fault: a macOS 26 method called with no guard.
void plantedNewerCall(NSGestureRecognizer* recognizer) { [recognizer plantedNewerCall]; }

}  // namespace turnlet::macos
