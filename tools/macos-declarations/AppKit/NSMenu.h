#pragma once

#include <Foundation/Foundation.h>

#pragma clang assume_nonnull begin

@class NSMenu;
@class NSMenuItem;

// @doc NSMenuDelegate /documentation/AppKit/NSMenuDelegate
@protocol NSMenuDelegate <NSObject>
@optional
// @doc menuNeedsUpdate /documentation/AppKit/NSMenuDelegate/menuNeedsUpdate(_:)
- (void)menuNeedsUpdate:(NSMenu*)menu;
@end

// @doc NSMenu /documentation/AppKit/NSMenu
@interface NSMenu : NSObject
// @doc initWithTitle /documentation/AppKit/NSMenu/init(title:)
- (instancetype)initWithTitle:(NSString*)title;
// @doc addItem /documentation/AppKit/NSMenu/addItem(_:)
- (void)addItem:(NSMenuItem*)newItem;
// @doc removeAllItems /documentation/AppKit/NSMenu/removeAllItems()
- (void)removeAllItems;
// @doc autoenablesItems /documentation/AppKit/NSMenu/autoenablesItems
@property BOOL autoenablesItems;
// @doc delegate /documentation/AppKit/NSMenu/delegate
@property(weak, nullable) id<NSMenuDelegate> delegate;
@end

#pragma clang assume_nonnull end
