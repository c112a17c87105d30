#import "macos/capture/ScreenCaptureKitCapture.h"

#import <CoreGraphics/CoreGraphics.h>
#import <CoreMedia/CoreMedia.h>
#import <Foundation/Foundation.h>
#import <ScreenCaptureKit/ScreenCaptureKit.h>

#include <string>
#include <utility>
#include <vector>

#include "macos/bridge/CFRef.h"
#include "macos/capture/CaptureValues.h"
#include "macos/capture/CoreVideoPixelBuffer.h"
#include "macos/system/DispatchSerialQueue.h"
#include "macos/bridge/ErrorBridge.h"
#include "macos/bridge/NumberBridge.h"
#include "macos/bridge/PlatformEntry.h"
#include "macos/bridge/TextBridge.h"

namespace turnlet::macos {

static_assert(static_cast<NSInteger>(StreamOutputType::screen) == SCStreamOutputTypeScreen);
static_assert(static_cast<NSInteger>(FrameStatus::complete) == SCFrameStatusComplete &&
              static_cast<NSInteger>(FrameStatus::stopped) == SCFrameStatusStopped);
static_assert(mediaTimeValid == kCMTimeFlags_Valid);

namespace {

// Errors of this service, for what ScreenCaptureKit is never asked.
const char* const captureDomain = "local.turnlet.capture";
enum CaptureErrorCode : std::int64_t {
  staleDisplay = 1, foreignQueue = 2, notAdded = 3, noContent = 4, excludedWindows = 5, raised = 6
};

PlatformError captureError(CaptureErrorCode code, std::string text) { return PlatformError(captureDomain, code, std::move(text)); }

std::optional<PlatformError> errorOf(NSError* _Nullable error) {
  if (NSError* reported = error) return platformError(reported);
  return std::nullopt;
}

PlatformError raisedError() { return captureError(raised, "ScreenCaptureKit raised an exception."); }

// A start's or stop's completion, on the service's queue: an exception reading the outcome makes
// it a failure; none leaves the block.
void completeOnQueue(const CaptureCompletion& completion, NSError* _Nullable error) {
  @autoreleasepool {
    std::optional<PlatformError> outcome;
    if (!ranWithoutException(EntryThread::either, [&] { outcome = errorOf(error); })) outcome = raisedError();
    ranWithoutException(EntryThread::either, [&] { completion(outcome); });
  }
}

// The fetch's own display object, and which fetch it came from.
class ScreenCaptureDisplay final : public CaptureDisplayHandle {
 public:
  ScreenCaptureDisplay(SCDisplay* _Nonnull display, std::uint64_t fetch) : display(display), fetch(fetch) {}
  __strong SCDisplay* _Nonnull display;
  std::uint64_t fetch;
};

// One sample as the interface reads it; valid during the output's call only.
class CoreMediaSample final : public SampleBuffer {
 public:
  explicit CoreMediaSample(CMSampleBufferRef _Nonnull sample) : sample(sample) {}

  bool isValid() const override { return CMSampleBufferIsValid(sample); }

  std::optional<FrameStatus> frameStatus() const override {
    CFArrayRef attachments = CMSampleBufferGetSampleAttachmentsArray(sample, false);
    if (!attachments) return std::nullopt;
    NSArray* list = (__bridge NSArray*)attachments;
    if (list.count == 0) return std::nullopt;
    id first = [list objectAtIndex:0];
    if (![first isKindOfClass:[NSDictionary class]]) return std::nullopt;
    NSDictionary* info = first;
    return macos::frameStatus(platformNumber([info objectForKey:SCStreamFrameInfoStatus]));
  }

  std::shared_ptr<PixelBuffer> imageBuffer() const override {
    CVImageBufferRef image = CMSampleBufferGetImageBuffer(sample);  // not owned: retained below
    if (!image) return nullptr;
    return std::make_shared<CoreVideoPixelBuffer>(CFRef<CVPixelBufferRef>::retain(image));
  }

 private:
  CMSampleBufferRef _Nonnull sample;
};

}  // namespace
}  // namespace turnlet::macos

// The stream's output: hands each sample on without copying, on the sample-handler queue, inside
// an autorelease pool (the queue has no pool of its own per block). The stream keeps the output,
// and the output keeps the program's StreamOutput, which may end on any thread.
__attribute__((objc_subclassing_restricted))
@interface TurnletStreamOutput : NSObject <SCStreamOutput>
- (instancetype _Nonnull)initWithOutput:(std::shared_ptr<turnlet::StreamOutput>)output;
@end

@implementation TurnletStreamOutput {
  std::shared_ptr<turnlet::StreamOutput> _output;
}

- (instancetype)initWithOutput:(std::shared_ptr<turnlet::StreamOutput>)output {
  self = [super init];
  if (self) _output = std::move(output);
  return self;
}

- (void)stream:(SCStream*)stream didOutputSampleBuffer:(CMSampleBufferRef)sampleBuffer ofType:(SCStreamOutputType)type {
  (void)stream;
  @autoreleasepool {
    // An exception reading the sample (an empty attachments array, say) drops the sample.
    turnlet::macos::ranWithoutException(turnlet::macos::EntryThread::background, [&] {
      const turnlet::macos::CoreMediaSample sample(sampleBuffer);
      _output->didOutputSampleBuffer(sample, static_cast<turnlet::StreamOutputType>(type));
    });
  }
}

@end

// The stream's delegate: a stop the program did not ask for. The stream holds it weakly; the
// wrapper keeps it.
__attribute__((objc_subclassing_restricted))
@interface TurnletStreamDelegate : NSObject <SCStreamDelegate>
- (instancetype _Nonnull)initWithDelegate:(std::shared_ptr<turnlet::StreamDelegate>)delegate;
@end

@implementation TurnletStreamDelegate {
  std::shared_ptr<turnlet::StreamDelegate> _delegate;
}

- (instancetype)initWithDelegate:(std::shared_ptr<turnlet::StreamDelegate>)delegate {
  self = [super init];
  if (self) _delegate = std::move(delegate);
  return self;
}

- (void)stream:(SCStream*)stream didStopWithError:(NSError*)error {
  (void)stream;
  @autoreleasepool {
    using turnlet::macos::EntryThread;
    // The stream stopped either way: an exception reading its error reports a stop of our own.
    const bool reported = turnlet::macos::ranWithoutException(EntryThread::either, [&] {
      if (_delegate) _delegate->didStopWithError(turnlet::macos::platformError(error));
    });
    if (!reported && _delegate)
      turnlet::macos::ranWithoutException(EntryThread::either, [&] { _delegate->didStopWithError(turnlet::macos::raisedError()); });
  }
}

@end

namespace turnlet::macos {
namespace {

// One SCStream, or, for a filter the service could not build, none: then every call reports why.
class ScreenCaptureKitStream final : public CaptureStream {
 public:
  ScreenCaptureKitStream(SCStream* _Nullable stream, TurnletStreamDelegate* _Nullable delegate, std::optional<PlatformError> unusable,
                         CFRef<CGColorRef> background = {})
      : stream(stream), delegate(delegate), unusable(std::move(unusable)), background(std::move(background)) {}

  std::optional<PlatformError> addStreamOutput(std::shared_ptr<StreamOutput> output, StreamOutputType type,
                                               std::shared_ptr<SerialQueue> sampleHandlerQueue) override {
    if (!stream) return unusable;
    auto* queue = dynamic_cast<DispatchSerialQueue*>(sampleHandlerQueue.get());
    if (!queue) return captureError(foreignQueue, "The sample queue was not made by the capture service.");
    TurnletStreamOutput* platformOutput = [[TurnletStreamOutput alloc] initWithOutput:output];
    NSError* error = nil;
    if (![stream addStreamOutput:platformOutput
                            type:static_cast<SCStreamOutputType>(type)
              sampleHandlerQueue:queue->dispatchQueue()
                           error:&error])
      return errorOf(error).value_or(captureError(notAdded, "The stream output could not be added."));
    outputs.push_back(Output{std::move(output), type, platformOutput, std::move(sampleHandlerQueue)});
    return std::nullopt;
  }

  std::optional<PlatformError> removeStreamOutput(const std::shared_ptr<StreamOutput>& output, StreamOutputType type) override {
    if (!stream) return unusable;
    for (auto it = outputs.begin(); it != outputs.end(); ++it) {
      if (it->output != output || it->type != type) continue;
      NSError* error = nil;
      if (![stream removeStreamOutput:it->platformOutput type:static_cast<SCStreamOutputType>(type) error:&error])
        return errorOf(error).value_or(captureError(notAdded, "The stream output could not be removed."));
      outputs.erase(it);  // the queue stays with the stream's blocks already queued on it
      return std::nullopt;
    }
    return captureError(notAdded, "The stream output was never added.");
  }

  void startCapture(CaptureCompletion completion) override {
    if (!stream) {
      completion(unusable);
      return;
    }
    [stream startCaptureWithCompletionHandler:^(NSError* _Nullable error) {
      ranWithoutException(EntryThread::either, [&] { completeOnQueue(completion, error); });
    }];
  }

  void stopCapture(CaptureCompletion completion) override {
    if (!stream) {
      completion(unusable);
      return;
    }
    [stream stopCaptureWithCompletionHandler:^(NSError* _Nullable error) {
      ranWithoutException(EntryThread::either, [&] { completeOnQueue(completion, error); });
    }];
  }

 private:
  struct Output final {
    std::shared_ptr<StreamOutput> output;
    StreamOutputType type;
    __strong TurnletStreamOutput* _Nonnull platformOutput;
    std::shared_ptr<SerialQueue> queue;  // kept while the stream may call the output on it
  };

  __strong SCStream* _Nullable stream;
  __strong TurnletStreamDelegate* _Nullable delegate [[maybe_unused]];  // kept: the stream holds it weakly
  std::optional<PlatformError> unusable;
  std::vector<Output> outputs;
  CFRef<CGColorRef> background;  // the configuration's backgroundColor property does not retain it
};

SCStreamConfiguration* _Nonnull platformConfiguration(const StreamSettings& s, const CFRef<CGColorRef>& background) {
  SCStreamConfiguration* c = [[SCStreamConfiguration alloc] init];
  c.width = s.width;
  c.height = s.height;
  c.pixelFormat = s.pixelFormat;
  c.minimumFrameInterval = CMTimeMake(s.minimumFrameInterval.value, s.minimumFrameInterval.timescale);
  c.queueDepth = s.queueDepth;
  c.showsCursor = s.showsCursor;
  c.capturesAudio = s.capturesAudio;
  c.colorSpaceName = kCGColorSpaceSRGB;  // the one space of CaptureColorSpace
  c.backgroundColor = background.get();
  c.streamName = makeNSString(s.streamName);
  return c;
}

}  // namespace

void ScreenCaptureKitCapture::getShareableContent(bool excludingDesktopWindows, bool onScreenWindowsOnly,
                                                  ContentCompletion completion) {
  const std::uint64_t fetch = ++fetches;  // handles of earlier fetches are stale from now on
  [SCShareableContent getShareableContentExcludingDesktopWindows:excludingDesktopWindows
                                             onScreenWindowsOnly:onScreenWindowsOnly
                                               completionHandler:^(SCShareableContent* _Nullable content, NSError* _Nullable error) {
                                                 @autoreleasepool {
                                                   std::optional<ShareableContent> result;
                                                   std::optional<PlatformError> failure;
                                                   const bool read = ranWithoutException(EntryThread::either, [&] {
                                                     if (error || !content) {
                                                       failure = errorOf(error).value_or(
                                                           captureError(noContent, "ScreenCaptureKit listed nothing."));
                                                       return;
                                                     }
                                                     ShareableContent listed;
                                                     NSArray<SCDisplay*>* displays = content.displays;
                                                     for (NSUInteger i = 0; i < displays.count; ++i) {
                                                       SCDisplay* display = [displays objectAtIndex:i];
                                                       listed.displays.push_back(CaptureDisplay{
                                                           display.displayID, static_cast<double>(display.width),
                                                           static_cast<double>(display.height),
                                                           std::make_shared<ScreenCaptureDisplay>(display, fetch)});
                                                     }
                                                     result = std::move(listed);
                                                   });
                                                   if (!read) failure = raisedError();
                                                   ranWithoutException(EntryThread::either, [&] { completion(std::move(result), std::move(failure)); });
                                                 }
                                               }];
}

std::shared_ptr<SerialQueue> ScreenCaptureKitCapture::makeSampleQueue(std::string label, QualityOfService qos) {
  return std::make_shared<DispatchSerialQueue>(std::move(label), qos);
}

std::shared_ptr<CaptureStream> ScreenCaptureKitCapture::makeStream(const ContentFilter& filter,
                                                                   const StreamConfiguration& configuration,
                                                                   std::shared_ptr<StreamDelegate> delegate) {
  auto* display = dynamic_cast<const ScreenCaptureDisplay*>(filter.display.handle.get());
  if (!display || display->fetch != fetches)
    return std::make_shared<ScreenCaptureKitStream>(
        nil, nil, captureError(staleDisplay, "The display to capture belongs to an earlier listing of shareable content."));
  if (!filter.excludedWindowIDs.empty())
    return std::make_shared<ScreenCaptureKitStream>(nil, nil, captureError(excludedWindows, "Leaving windows out of a capture is not supported."));
  SCContentFilter* platformFilter = [[SCContentFilter alloc] initWithDisplay:display->display excludingWindows:[NSArray array]];
  TurnletStreamDelegate* platformDelegate = delegate ? [[TurnletStreamDelegate alloc] initWithDelegate:std::move(delegate)] : nil;
  const StreamSettings s = streamSettings(configuration);
  auto background = CFRef<CGColorRef>::adopt(CGColorCreateSRGB(s.background[0], s.background[1], s.background[2], s.background[3]));
  SCStream* stream = [[SCStream alloc] initWithFilter:platformFilter
                                        configuration:platformConfiguration(s, background)
                                             delegate:platformDelegate];
  return std::make_shared<ScreenCaptureKitStream>(stream, platformDelegate, std::nullopt, std::move(background));
}

}  // namespace turnlet::macos
