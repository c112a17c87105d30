#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <CoreMedia/CoreMedia.h>
#include <Foundation/Foundation.h>
#include <dispatch/dispatch.h>

#pragma clang assume_nonnull begin

// @doc SCStreamOutputType /documentation/ScreenCaptureKit/SCStreamOutputType
typedef enum SCStreamOutputType : NSInteger {
  // @doc SCStreamOutputTypeScreen /documentation/ScreenCaptureKit/SCStreamOutputType/screen
  SCStreamOutputTypeScreen = 0,
} SCStreamOutputType;

// @doc SCFrameStatus /documentation/ScreenCaptureKit/SCFrameStatus
typedef enum SCFrameStatus : NSInteger {
  // @doc SCFrameStatusComplete /documentation/ScreenCaptureKit/SCFrameStatus/complete
  SCFrameStatusComplete = 0,
  // @doc SCFrameStatusStopped /documentation/ScreenCaptureKit/SCFrameStatus/stopped
  SCFrameStatusStopped = 5,
} SCFrameStatus;

// @doc SCStreamFrameInfo /documentation/ScreenCaptureKit/SCStreamFrameInfo
typedef NSString* SCStreamFrameInfo __attribute__((swift_wrapper(struct)));
// @doc SCStreamFrameInfoStatus /documentation/ScreenCaptureKit/SCStreamFrameInfo/status
extern "C" SCStreamFrameInfo const SCStreamFrameInfoStatus;

// @doc SCDisplay /documentation/ScreenCaptureKit/SCDisplay
@interface SCDisplay : NSObject
// @doc displayID /documentation/ScreenCaptureKit/SCDisplay/displayID
@property(readonly) CGDirectDisplayID displayID;
// @doc width /documentation/ScreenCaptureKit/SCDisplay/width
@property(readonly) NSInteger width;
// @doc height /documentation/ScreenCaptureKit/SCDisplay/height
@property(readonly) NSInteger height;
@end

// @doc SCWindow /documentation/ScreenCaptureKit/SCWindow
@interface SCWindow : NSObject
@end

// @doc SCShareableContent /documentation/ScreenCaptureKit/SCShareableContent
@interface SCShareableContent : NSObject
// @doc getShareableContentExcludingDesktopWindows /documentation/ScreenCaptureKit/SCShareableContent/getExcludingDesktopWindows(_:onScreenWindowsOnly:completionHandler:)
+ (void)getShareableContentExcludingDesktopWindows:(BOOL)excludeDesktopWindows
                               onScreenWindowsOnly:(BOOL)onScreenWindowsOnly
                                 completionHandler:(void (^)(SCShareableContent* _Nullable shareableContent,
                                                             NSError* _Nullable error))completionHandler;
// @doc displays /documentation/ScreenCaptureKit/SCShareableContent/displays
@property(readonly) NSArray<SCDisplay*>* displays;
@end

// @doc SCContentFilter /documentation/ScreenCaptureKit/SCContentFilter
@interface SCContentFilter : NSObject
// @doc initWithDisplay /documentation/ScreenCaptureKit/SCContentFilter/init(display:excludingWindows:)
- (instancetype)initWithDisplay:(SCDisplay*)display excludingWindows:(NSArray<SCWindow*>*)excluded;
@end

// @doc SCStreamConfiguration /documentation/ScreenCaptureKit/SCStreamConfiguration
@interface SCStreamConfiguration : NSObject
// @doc width /documentation/ScreenCaptureKit/SCStreamConfiguration/width
@property size_t width;
// @doc height /documentation/ScreenCaptureKit/SCStreamConfiguration/height
@property size_t height;
// @doc pixelFormat /documentation/ScreenCaptureKit/SCStreamConfiguration/pixelFormat
@property OSType pixelFormat;
// @doc minimumFrameInterval /documentation/ScreenCaptureKit/SCStreamConfiguration/minimumFrameInterval
@property CMTime minimumFrameInterval;
// @doc queueDepth /documentation/ScreenCaptureKit/SCStreamConfiguration/queueDepth
@property NSInteger queueDepth;
// @doc showsCursor /documentation/ScreenCaptureKit/SCStreamConfiguration/showsCursor
@property BOOL showsCursor;
// @doc capturesAudio /documentation/ScreenCaptureKit/SCStreamConfiguration/capturesAudio
@property BOOL capturesAudio;
// @doc colorSpaceName /documentation/ScreenCaptureKit/SCStreamConfiguration/colorSpaceName
@property CFStringRef colorSpaceName;
// @doc backgroundColor /documentation/ScreenCaptureKit/SCStreamConfiguration/backgroundColor
@property CGColorRef backgroundColor;
// @doc streamName /documentation/ScreenCaptureKit/SCStreamConfiguration/streamName
@property(nullable, copy) NSString* streamName;
@end

@class SCStream;

// @doc SCStreamOutput /documentation/ScreenCaptureKit/SCStreamOutput
@protocol SCStreamOutput <NSObject>
@optional
// @doc stream /documentation/ScreenCaptureKit/SCStreamOutput/stream(_:didOutputSampleBuffer:of:)
- (void)stream:(SCStream*)stream didOutputSampleBuffer:(CMSampleBufferRef)sampleBuffer ofType:(SCStreamOutputType)type;
@end

// @doc SCStreamDelegate /documentation/ScreenCaptureKit/SCStreamDelegate
@protocol SCStreamDelegate <NSObject>
@optional
// @doc stream /documentation/ScreenCaptureKit/SCStreamDelegate/stream(_:didStopWithError:)
- (void)stream:(SCStream*)stream didStopWithError:(NSError*)error;
@end

// @doc SCStream /documentation/ScreenCaptureKit/SCStream
@interface SCStream : NSObject
// @doc initWithFilter /documentation/ScreenCaptureKit/SCStream/init(filter:configuration:delegate:)
- (instancetype)initWithFilter:(SCContentFilter*)contentFilter
                 configuration:(SCStreamConfiguration*)streamConfig
                      delegate:(nullable id<SCStreamDelegate>)delegate;
// @doc addStreamOutput /documentation/ScreenCaptureKit/SCStream/addStreamOutput(_:type:sampleHandlerQueue:)
- (BOOL)addStreamOutput:(id<SCStreamOutput>)output
                   type:(SCStreamOutputType)type
     sampleHandlerQueue:(nullable dispatch_queue_t)sampleHandlerQueue
                  error:(NSError* _Nullable* _Nullable)error;
// @doc removeStreamOutput /documentation/ScreenCaptureKit/SCStream/removeStreamOutput(_:type:)
- (BOOL)removeStreamOutput:(id<SCStreamOutput>)output type:(SCStreamOutputType)type error:(NSError* _Nullable* _Nullable)error;
// @doc startCaptureWithCompletionHandler /documentation/ScreenCaptureKit/SCStream/startCapture(completionHandler:)
- (void)startCaptureWithCompletionHandler:(nullable void (^)(NSError* _Nullable error))completionHandler;
// @doc stopCaptureWithCompletionHandler /documentation/ScreenCaptureKit/SCStream/stopCapture(completionHandler:)
- (void)stopCaptureWithCompletionHandler:(nullable void (^)(NSError* _Nullable error))completionHandler;
@end

#pragma clang assume_nonnull end
