#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <CoreMedia/CoreMedia.h>
#include <Foundation/Foundation.h>
#include <dispatch/dispatch.h>

#pragma clang assume_nonnull begin

// @doc SCStreamOutputType /documentation/ScreenCaptureKit/SCStreamOutputType macOS 12.3
typedef enum SCStreamOutputType : NSInteger {
  // @doc SCStreamOutputTypeScreen /documentation/ScreenCaptureKit/SCStreamOutputType/screen macOS 12.3
  SCStreamOutputTypeScreen = 0,
} SCStreamOutputType;

// @doc SCFrameStatus /documentation/ScreenCaptureKit/SCFrameStatus macOS 12.3
typedef enum SCFrameStatus : NSInteger {
  // @doc SCFrameStatusComplete /documentation/ScreenCaptureKit/SCFrameStatus/complete macOS 12.3
  SCFrameStatusComplete = 0,
  // @doc SCFrameStatusStopped /documentation/ScreenCaptureKit/SCFrameStatus/stopped macOS 12.3
  SCFrameStatusStopped = 5,
} SCFrameStatus;

// @doc SCStreamFrameInfo /documentation/ScreenCaptureKit/SCStreamFrameInfo macOS 12.3
typedef NSString* SCStreamFrameInfo __attribute__((swift_wrapper(struct)));
// @doc SCStreamFrameInfoStatus /documentation/ScreenCaptureKit/SCStreamFrameInfo/status macOS 12.3
extern "C" SCStreamFrameInfo const SCStreamFrameInfoStatus;

// @doc SCDisplay /documentation/ScreenCaptureKit/SCDisplay macOS 12.3
@interface SCDisplay : NSObject
// @doc displayID /documentation/ScreenCaptureKit/SCDisplay/displayID macOS 12.3
@property(readonly) CGDirectDisplayID displayID;
// @doc width /documentation/ScreenCaptureKit/SCDisplay/width macOS 12.3
@property(readonly) NSInteger width;
// @doc height /documentation/ScreenCaptureKit/SCDisplay/height macOS 12.3
@property(readonly) NSInteger height;
@end

// @doc SCWindow /documentation/ScreenCaptureKit/SCWindow macOS 12.3
@interface SCWindow : NSObject
@end

// @doc SCShareableContent /documentation/ScreenCaptureKit/SCShareableContent macOS 12.3
@interface SCShareableContent : NSObject
// @doc getShareableContentExcludingDesktopWindows /documentation/ScreenCaptureKit/SCShareableContent/getExcludingDesktopWindows(_:onScreenWindowsOnly:completionHandler:) macOS 12.3
+ (void)getShareableContentExcludingDesktopWindows:(BOOL)excludeDesktopWindows
                               onScreenWindowsOnly:(BOOL)onScreenWindowsOnly
                                 completionHandler:(void (^)(SCShareableContent* _Nullable shareableContent,
                                                             NSError* _Nullable error))completionHandler;
// @doc displays /documentation/ScreenCaptureKit/SCShareableContent/displays macOS 12.3
@property(readonly) NSArray<SCDisplay*>* displays;
@end

// @doc SCContentFilter /documentation/ScreenCaptureKit/SCContentFilter macOS 12.3
@interface SCContentFilter : NSObject
// @doc initWithDisplay /documentation/ScreenCaptureKit/SCContentFilter/init(display:excludingWindows:) macOS 12.3
- (instancetype)initWithDisplay:(SCDisplay*)display excludingWindows:(NSArray<SCWindow*>*)excluded;
@end

// @doc SCStreamConfiguration /documentation/ScreenCaptureKit/SCStreamConfiguration macOS 12.3
@interface SCStreamConfiguration : NSObject
// @doc width /documentation/ScreenCaptureKit/SCStreamConfiguration/width macOS 12.3
@property size_t width;
// @doc height /documentation/ScreenCaptureKit/SCStreamConfiguration/height macOS 12.3
@property size_t height;
// @doc pixelFormat /documentation/ScreenCaptureKit/SCStreamConfiguration/pixelFormat macOS 12.3
@property OSType pixelFormat;
// @doc minimumFrameInterval /documentation/ScreenCaptureKit/SCStreamConfiguration/minimumFrameInterval macOS 12.3
@property CMTime minimumFrameInterval;
// @doc queueDepth /documentation/ScreenCaptureKit/SCStreamConfiguration/queueDepth macOS 12.3
@property NSInteger queueDepth;
// @doc showsCursor /documentation/ScreenCaptureKit/SCStreamConfiguration/showsCursor macOS 12.3
@property BOOL showsCursor;
// @doc capturesAudio /documentation/ScreenCaptureKit/SCStreamConfiguration/capturesAudio macOS 13.0
@property BOOL capturesAudio;
// @doc colorSpaceName /documentation/ScreenCaptureKit/SCStreamConfiguration/colorSpaceName macOS 12.3
@property CFStringRef colorSpaceName;
// @doc backgroundColor /documentation/ScreenCaptureKit/SCStreamConfiguration/backgroundColor macOS 12.3
@property CGColorRef backgroundColor;
// @doc streamName /documentation/ScreenCaptureKit/SCStreamConfiguration/streamName macOS 14.0
@property(nullable, copy) NSString* streamName;
@end

@class SCStream;

// @doc SCStreamOutput /documentation/ScreenCaptureKit/SCStreamOutput macOS 12.3
@protocol SCStreamOutput <NSObject>
@optional
// @doc stream /documentation/ScreenCaptureKit/SCStreamOutput/stream(_:didOutputSampleBuffer:of:) macOS 12.3
- (void)stream:(SCStream*)stream didOutputSampleBuffer:(CMSampleBufferRef)sampleBuffer ofType:(SCStreamOutputType)type;
@end

// @doc SCStreamDelegate /documentation/ScreenCaptureKit/SCStreamDelegate macOS 12.3
@protocol SCStreamDelegate <NSObject>
@optional
// @doc stream /documentation/ScreenCaptureKit/SCStreamDelegate/stream(_:didStopWithError:) macOS 12.3
- (void)stream:(SCStream*)stream didStopWithError:(NSError*)error;
@end

// @doc SCStream /documentation/ScreenCaptureKit/SCStream macOS 12.3
@interface SCStream : NSObject
// @doc initWithFilter /documentation/ScreenCaptureKit/SCStream/init(filter:configuration:delegate:) macOS 12.3
- (instancetype)initWithFilter:(SCContentFilter*)contentFilter
                 configuration:(SCStreamConfiguration*)streamConfig
                      delegate:(nullable id<SCStreamDelegate>)delegate;
// @doc addStreamOutput /documentation/ScreenCaptureKit/SCStream/addStreamOutput(_:type:sampleHandlerQueue:) macOS 12.3
- (BOOL)addStreamOutput:(id<SCStreamOutput>)output
                   type:(SCStreamOutputType)type
     sampleHandlerQueue:(nullable dispatch_queue_t)sampleHandlerQueue
                  error:(NSError* _Nullable* _Nullable)error;
// @doc removeStreamOutput /documentation/ScreenCaptureKit/SCStream/removeStreamOutput(_:type:) macOS 12.3
- (BOOL)removeStreamOutput:(id<SCStreamOutput>)output type:(SCStreamOutputType)type error:(NSError* _Nullable* _Nullable)error;
// @doc startCaptureWithCompletionHandler /documentation/ScreenCaptureKit/SCStream/startCapture(completionHandler:) macOS 12.3
- (void)startCaptureWithCompletionHandler:(nullable void (^)(NSError* _Nullable error))completionHandler;
// @doc stopCaptureWithCompletionHandler /documentation/ScreenCaptureKit/SCStream/stopCapture(completionHandler:) macOS 12.3
- (void)stopCaptureWithCompletionHandler:(nullable void (^)(NSError* _Nullable error))completionHandler;
@end

#pragma clang assume_nonnull end
