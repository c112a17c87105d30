#pragma once

#include <AppKit/NSAnimationContext.h>
#include <AppKit/NSColor.h>
#include <AppKit/NSResponder.h>
#include <AppKit/NSView.h>
#include <Foundation/Foundation.h>

@class NSScreen;

#pragma clang assume_nonnull begin

// @doc NSWindowStyleMask /documentation/AppKit/NSWindow/StyleMask-swift.struct macOS 10.0
typedef NSUInteger NSWindowStyleMask;
enum : NSUInteger {
  // @doc NSWindowStyleMaskBorderless /documentation/AppKit/NSWindow/StyleMask-swift.struct/borderless macOS 10.0
  NSWindowStyleMaskBorderless = 0,
  // @doc NSWindowStyleMaskTitled /documentation/AppKit/NSWindow/StyleMask-swift.struct/titled macOS 10.0
  NSWindowStyleMaskTitled = 1 << 0,
  // @doc NSWindowStyleMaskClosable /documentation/AppKit/NSWindow/StyleMask-swift.struct/closable macOS 10.0
  NSWindowStyleMaskClosable = 1 << 1,
  // @doc NSWindowStyleMaskMiniaturizable /documentation/AppKit/NSWindow/StyleMask-swift.struct/miniaturizable macOS 10.0
  NSWindowStyleMaskMiniaturizable = 1 << 2,
};

// @doc NSBackingStoreType /documentation/AppKit/NSWindow/BackingStoreType macOS 10.0
typedef enum NSBackingStoreType : NSUInteger {
  // @doc NSBackingStoreBuffered /documentation/AppKit/NSWindow/BackingStoreType/buffered macOS 10.0
  NSBackingStoreBuffered = 2,
} NSBackingStoreType;

// @doc NSWindowAnimationBehavior /documentation/AppKit/NSWindow/AnimationBehavior-swift.enum macOS 10.7
typedef enum NSWindowAnimationBehavior : NSInteger {
  // @doc NSWindowAnimationBehaviorNone /documentation/AppKit/NSWindow/AnimationBehavior-swift.enum/none macOS 10.7
  NSWindowAnimationBehaviorNone = 2,
} NSWindowAnimationBehavior;

// @doc NSWindowCollectionBehavior /documentation/AppKit/NSWindow/CollectionBehavior-swift.struct macOS 10.5
typedef NSUInteger NSWindowCollectionBehavior;
enum : NSUInteger {
  // @doc NSWindowCollectionBehaviorCanJoinAllSpaces /documentation/AppKit/NSWindow/CollectionBehavior-swift.struct/canJoinAllSpaces macOS 10.5
  NSWindowCollectionBehaviorCanJoinAllSpaces = 1U << 0,
  // @doc NSWindowCollectionBehaviorStationary /documentation/AppKit/NSWindow/CollectionBehavior-swift.struct/stationary macOS 10.6
  NSWindowCollectionBehaviorStationary = 1U << 4,
  // @doc NSWindowCollectionBehaviorIgnoresCycle /documentation/AppKit/NSWindow/CollectionBehavior-swift.struct/ignoresCycle macOS 10.6
  NSWindowCollectionBehaviorIgnoresCycle = 1U << 6,
  // @doc NSWindowCollectionBehaviorFullScreenAuxiliary /documentation/AppKit/NSWindow/CollectionBehavior-swift.struct/fullScreenAuxiliary macOS 10.7
  NSWindowCollectionBehaviorFullScreenAuxiliary = 1U << 8,
};

// @doc NSWindowLevel /documentation/AppKit/NSWindow/Level macOS 10.0
typedef NSInteger NSWindowLevel;

// @doc NSWindowOcclusionState /documentation/AppKit/NSWindow/OcclusionState-swift.struct macOS 10.9
typedef NSUInteger NSWindowOcclusionState;
enum : NSUInteger {
  // @doc NSWindowOcclusionStateVisible /documentation/AppKit/NSWindow/OcclusionState-swift.struct/visible macOS 10.9
  NSWindowOcclusionStateVisible = 1UL << 1,
};

// @doc NSWindowDidChangeOcclusionStateNotification /documentation/AppKit/NSWindow/didChangeOcclusionStateNotification macOS 10.9
extern "C" NSNotificationName const NSWindowDidChangeOcclusionStateNotification;

// @doc NSWindow /documentation/AppKit/NSWindow macOS 10.0
@interface NSWindow : NSResponder <NSAnimatablePropertyContainer>
// @doc initWithContentRect /documentation/AppKit/NSWindow/init(contentRect:styleMask:backing:defer:) macOS 10.0
- (instancetype)initWithContentRect:(NSRect)contentRect
                          styleMask:(NSWindowStyleMask)style
                            backing:(NSBackingStoreType)backingStoreType
                              defer:(BOOL)flag;
// @doc title /documentation/AppKit/NSWindow/title macOS 10.0
@property(copy) NSString* title;
// @doc center /documentation/AppKit/NSWindow/center() macOS 10.0
- (void)center;
// @doc makeKeyAndOrderFront /documentation/AppKit/NSWindow/makeKeyAndOrderFront(_:) macOS 10.0
- (void)makeKeyAndOrderFront:(nullable id)sender;
// @doc releasedWhenClosed /documentation/AppKit/NSWindow/isReleasedWhenClosed macOS 10.0
@property(getter=isReleasedWhenClosed) BOOL releasedWhenClosed;
// @doc backgroundColor /documentation/AppKit/NSWindow/backgroundColor macOS 10.0
@property(null_resettable, copy) NSColor* backgroundColor;
// @doc opaque /documentation/AppKit/NSWindow/isOpaque macOS 10.0
@property(getter=isOpaque) BOOL opaque;
// @doc hasShadow /documentation/AppKit/NSWindow/hasShadow macOS 10.0
@property BOOL hasShadow;
// @doc ignoresMouseEvents /documentation/AppKit/NSWindow/ignoresMouseEvents macOS 10.0
@property BOOL ignoresMouseEvents;
// @doc hidesOnDeactivate /documentation/AppKit/NSWindow/hidesOnDeactivate macOS 10.0
@property BOOL hidesOnDeactivate;
// @doc canHide /documentation/AppKit/NSWindow/canHide macOS 10.0
@property BOOL canHide;
// @doc animationBehavior /documentation/AppKit/NSWindow/animationBehavior-swift.property macOS 10.7
@property NSWindowAnimationBehavior animationBehavior;
// @doc alphaValue /documentation/AppKit/NSWindow/alphaValue macOS 10.0
@property CGFloat alphaValue;
// @doc level /documentation/AppKit/NSWindow/level macOS 10.0
@property NSWindowLevel level;
// @doc collectionBehavior /documentation/AppKit/NSWindow/collectionBehavior-swift.property macOS 10.5
@property NSWindowCollectionBehavior collectionBehavior;
// @doc canBecomeKeyWindow /documentation/AppKit/NSWindow/canBecomeKey macOS 10.0
@property(readonly) BOOL canBecomeKeyWindow;
// @doc canBecomeMainWindow /documentation/AppKit/NSWindow/canBecomeMain macOS 10.0
@property(readonly) BOOL canBecomeMainWindow;
// @doc frame /documentation/AppKit/NSWindow/frame macOS 10.0
@property(readonly) NSRect frame;
// @doc setFrame /documentation/AppKit/NSWindow/setFrame(_:display:) macOS 10.0
- (void)setFrame:(NSRect)frameRect display:(BOOL)flag;
// @doc orderFrontRegardless /documentation/AppKit/NSWindow/orderFrontRegardless() macOS 10.0
- (void)orderFrontRegardless;
// @doc orderOut /documentation/AppKit/NSWindow/orderOut(_:) macOS 10.0
- (void)orderOut:(nullable id)sender;
// @doc close /documentation/AppKit/NSWindow/close() macOS 10.0
- (void)close;
// @doc visible /documentation/AppKit/NSWindow/isVisible macOS 10.0
@property(getter=isVisible, readonly) BOOL visible;
// @doc contentView /documentation/AppKit/NSWindow/contentView macOS 10.0
@property(nullable, strong) __kindof NSView* contentView;
// @doc occlusionState /documentation/AppKit/NSWindow/occlusionState-swift.property macOS 10.9
@property(readonly) NSWindowOcclusionState occlusionState;
// @doc screen /documentation/AppKit/NSWindow/screen macOS 10.0
@property(readonly, nullable) NSScreen* screen;
@end

#pragma clang assume_nonnull end
