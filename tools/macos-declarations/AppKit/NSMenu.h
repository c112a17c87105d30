#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

@class NSMenu;
@class NSMenuItem;

// @doc NSMenuDelegate /documentation/AppKit/NSMenuDelegate macOS 10.5
@protocol NSMenuDelegate <NSObject>
@optional
// @doc menuNeedsUpdate /documentation/AppKit/NSMenuDelegate/menuNeedsUpdate(_:) macOS 10.3
- (void)menuNeedsUpdate:(NSMenu*)menu;
@end

// @doc NSMenu /documentation/AppKit/NSMenu macOS 10.0
@interface NSMenu : NSObject
// @doc initWithTitle /documentation/AppKit/NSMenu/init(title:) macOS 10.0
- (instancetype)initWithTitle:(NSString*)title;
// @doc addItem /documentation/AppKit/NSMenu/addItem(_:) macOS 10.0
- (void)addItem:(NSMenuItem*)newItem;
// @doc removeAllItems /documentation/AppKit/NSMenu/removeAllItems() macOS 10.6
- (void)removeAllItems;
// @doc autoenablesItems /documentation/AppKit/NSMenu/autoenablesItems macOS 10.0
@property BOOL autoenablesItems;
// @doc delegate /documentation/AppKit/NSMenu/delegate macOS 10.0
@property(weak, nullable) id<NSMenuDelegate> delegate;
@end

#pragma clang assume_nonnull end
