#pragma once

#include <AppKit/NSAnimationContext.h>
#include <AppKit/NSColor.h>
#include <AppKit/NSResponder.h>
#include <AppKit/NSView.h>
#include <Foundation/Foundation.h>

@class NSScreen;

#pragma clang assume_nonnull begin

// @doc NSWindowStyleMask /documentation/AppKit/NSWindow/StyleMask-swift.struct
typedef enum NSWindowStyleMask : NSUInteger {
  // @doc NSWindowStyleMaskBorderless /documentation/AppKit/NSWindow/StyleMask-swift.struct/borderless
  NSWindowStyleMaskBorderless = 0,
  // @doc NSWindowStyleMaskTitled /documentation/AppKit/NSWindow/StyleMask-swift.struct/titled
  NSWindowStyleMaskTitled = 1 << 0,
  // @doc NSWindowStyleMaskClosable /documentation/AppKit/NSWindow/StyleMask-swift.struct/closable
  NSWindowStyleMaskClosable = 1 << 1,
  // @doc NSWindowStyleMaskMiniaturizable /documentation/AppKit/NSWindow/StyleMask-swift.struct/miniaturizable
  NSWindowStyleMaskMiniaturizable = 1 << 2,
} NSWindowStyleMask;

// @doc NSBackingStoreType /documentation/AppKit/NSWindow/BackingStoreType
typedef enum NSBackingStoreType : NSUInteger {
  // @doc NSBackingStoreBuffered /documentation/AppKit/NSWindow/BackingStoreType/buffered
  NSBackingStoreBuffered = 2,
} NSBackingStoreType;

// @doc NSWindowAnimationBehavior /documentation/AppKit/NSWindow/AnimationBehavior-swift.enum
typedef enum NSWindowAnimationBehavior : NSInteger {
  // @doc NSWindowAnimationBehaviorNone /documentation/AppKit/NSWindow/AnimationBehavior-swift.enum/none
  NSWindowAnimationBehaviorNone = 2,
} NSWindowAnimationBehavior;

// @doc NSWindowCollectionBehavior /documentation/AppKit/NSWindow/CollectionBehavior-swift.struct
typedef enum NSWindowCollectionBehavior : NSUInteger {
  // @doc NSWindowCollectionBehaviorCanJoinAllSpaces /documentation/AppKit/NSWindow/CollectionBehavior-swift.struct/canJoinAllSpaces
  NSWindowCollectionBehaviorCanJoinAllSpaces = 1U << 0,
  // @doc NSWindowCollectionBehaviorStationary /documentation/AppKit/NSWindow/CollectionBehavior-swift.struct/stationary
  NSWindowCollectionBehaviorStationary = 1U << 4,
  // @doc NSWindowCollectionBehaviorIgnoresCycle /documentation/AppKit/NSWindow/CollectionBehavior-swift.struct/ignoresCycle
  NSWindowCollectionBehaviorIgnoresCycle = 1U << 6,
  // @doc NSWindowCollectionBehaviorFullScreenAuxiliary /documentation/AppKit/NSWindow/CollectionBehavior-swift.struct/fullScreenAuxiliary
  NSWindowCollectionBehaviorFullScreenAuxiliary = 1U << 8,
} NSWindowCollectionBehavior;

// @doc NSWindowLevel /documentation/AppKit/NSWindow/Level
typedef NSInteger NSWindowLevel;

// @doc NSWindowOcclusionState /documentation/AppKit/NSWindow/OcclusionState-swift.struct
typedef enum NSWindowOcclusionState : NSUInteger {
  // @doc NSWindowOcclusionStateVisible /documentation/AppKit/NSWindow/OcclusionState-swift.struct/visible
  NSWindowOcclusionStateVisible = 1UL << 1,
} NSWindowOcclusionState;

// @doc NSWindowDidChangeOcclusionStateNotification /documentation/AppKit/NSWindow/didChangeOcclusionStateNotification
extern "C" NSNotificationName const NSWindowDidChangeOcclusionStateNotification;

// @doc NSWindow /documentation/AppKit/NSWindow
@interface NSWindow : NSResponder <NSAnimatablePropertyContainer>
// @doc initWithContentRect /documentation/AppKit/NSWindow/init(contentRect:styleMask:backing:defer:)
- (instancetype)initWithContentRect:(NSRect)contentRect
                          styleMask:(NSWindowStyleMask)style
                            backing:(NSBackingStoreType)backingStoreType
                              defer:(BOOL)flag;
// @doc title /documentation/AppKit/NSWindow/title
@property(copy) NSString* title;
// @doc center /documentation/AppKit/NSWindow/center()
- (void)center;
// @doc makeKeyAndOrderFront /documentation/AppKit/NSWindow/makeKeyAndOrderFront(_:)
- (void)makeKeyAndOrderFront:(nullable id)sender;
// @doc releasedWhenClosed /documentation/AppKit/NSWindow/isReleasedWhenClosed
@property(getter=isReleasedWhenClosed) BOOL releasedWhenClosed;
// @doc backgroundColor /documentation/AppKit/NSWindow/backgroundColor
@property(null_resettable, copy) NSColor* backgroundColor;
// @doc opaque /documentation/AppKit/NSWindow/isOpaque
@property(getter=isOpaque) BOOL opaque;
// @doc hasShadow /documentation/AppKit/NSWindow/hasShadow
@property BOOL hasShadow;
// @doc ignoresMouseEvents /documentation/AppKit/NSWindow/ignoresMouseEvents
@property BOOL ignoresMouseEvents;
// @doc hidesOnDeactivate /documentation/AppKit/NSWindow/hidesOnDeactivate
@property BOOL hidesOnDeactivate;
// @doc canHide /documentation/AppKit/NSWindow/canHide
@property BOOL canHide;
// @doc animationBehavior /documentation/AppKit/NSWindow/animationBehavior-swift.property
@property NSWindowAnimationBehavior animationBehavior;
// @doc alphaValue /documentation/AppKit/NSWindow/alphaValue
@property CGFloat alphaValue;
// @doc level /documentation/AppKit/NSWindow/level
@property NSWindowLevel level;
// @doc collectionBehavior /documentation/AppKit/NSWindow/collectionBehavior-swift.property
@property NSWindowCollectionBehavior collectionBehavior;
// @doc canBecomeKeyWindow /documentation/AppKit/NSWindow/canBecomeKey
@property(readonly) BOOL canBecomeKeyWindow;
// @doc canBecomeMainWindow /documentation/AppKit/NSWindow/canBecomeMain
@property(readonly) BOOL canBecomeMainWindow;
// @doc frame /documentation/AppKit/NSWindow/frame
@property(readonly) NSRect frame;
// @doc setFrame /documentation/AppKit/NSWindow/setFrame(_:display:)
- (void)setFrame:(NSRect)frameRect display:(BOOL)flag;
// @doc orderFrontRegardless /documentation/AppKit/NSWindow/orderFrontRegardless()
- (void)orderFrontRegardless;
// @doc orderOut /documentation/AppKit/NSWindow/orderOut(_:)
- (void)orderOut:(nullable id)sender;
// @doc close /documentation/AppKit/NSWindow/close()
- (void)close;
// @doc visible /documentation/AppKit/NSWindow/isVisible
@property(getter=isVisible, readonly) BOOL visible;
// @doc contentView /documentation/AppKit/NSWindow/contentView
@property(nullable, strong) __kindof NSView* contentView;
// @doc occlusionState /documentation/AppKit/NSWindow/occlusionState-swift.property
@property(readonly) NSWindowOcclusionState occlusionState;
// @doc screen /documentation/AppKit/NSWindow/screen
@property(readonly, nullable) NSScreen* screen;
@end

#pragma clang assume_nonnull end
