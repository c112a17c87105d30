#pragma once

// The Carbon Event Manager's hot-key calls have no page in Apple's current reference: the line
// before each declaration names the SDK header that declares it instead, as only the symbols in
// tools/macos-undocumented.txt may. Four-character codes are spelled as their numbers.

// @doc UInt32 MacTypes.h macOS 10.0
typedef unsigned int UInt32;
// @doc OSStatus MacTypes.h macOS 10.0
typedef int OSStatus;
// @doc OSType MacTypes.h macOS 10.0
typedef UInt32 OSType;
// @doc OptionBits MacTypes.h macOS 10.0
typedef UInt32 OptionBits;
// @doc ItemCount MacTypes.h macOS 10.0
typedef unsigned long ItemCount;
// @doc ByteCount MacTypes.h macOS 10.0
typedef unsigned long ByteCount;
// @doc noErr MacTypes.h macOS 10.0
enum { noErr = 0 };

// @doc EventRef HIToolbox/CarbonEventsCore.h macOS 10.0
typedef struct OpaqueEventRef* EventRef;
// @doc EventHandlerCallRef HIToolbox/CarbonEventsCore.h macOS 10.0
typedef struct OpaqueEventHandlerCallRef* EventHandlerCallRef;
// @doc EventHandlerRef HIToolbox/CarbonEventsCore.h macOS 10.0
typedef struct OpaqueEventHandlerRef* EventHandlerRef;
// @doc EventTargetRef HIToolbox/CarbonEventsCore.h macOS 10.0
typedef struct OpaqueEventTargetRef* EventTargetRef;
// @doc EventHotKeyRef HIToolbox/CarbonEvents.h macOS 10.0
typedef struct OpaqueEventHotKeyRef* EventHotKeyRef;
// @doc EventParamName HIToolbox/CarbonEventsCore.h macOS 10.0
typedef OSType EventParamName;
// @doc EventParamType HIToolbox/CarbonEventsCore.h macOS 10.0
typedef OSType EventParamType;
// @doc EventHandlerProcPtr HIToolbox/CarbonEventsCore.h macOS 10.0
typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef inHandlerCallRef, EventRef inEvent, void* inUserData);
// @doc EventHandlerUPP HIToolbox/CarbonEventsCore.h macOS 10.0
typedef EventHandlerProcPtr EventHandlerUPP;
// @doc EventTypeSpec HIToolbox/CarbonEventsCore.h macOS 10.0
typedef struct EventTypeSpec {
  OSType eventClass;
  UInt32 eventKind;
} EventTypeSpec;
// @doc EventHotKeyID HIToolbox/CarbonEvents.h macOS 10.0
typedef struct EventHotKeyID {
  OSType signature;
  UInt32 id;
} EventHotKeyID;

// @doc kEventClassKeyboard HIToolbox/CarbonEvents.h macOS 10.0
enum { kEventClassKeyboard = 0x6B657962 };  // 'keyb'
// @doc kEventHotKeyPressed HIToolbox/CarbonEvents.h macOS 10.0
enum { kEventHotKeyPressed = 5 };
// @doc kEventParamDirectObject HIToolbox/CarbonEvents.h macOS 10.0
enum { kEventParamDirectObject = 0x2D2D2D2D };  // '----'
// @doc typeEventHotKeyID HIToolbox/CarbonEvents.h macOS 10.0
enum { typeEventHotKeyID = 0x686B6964 };  // 'hkid'
// @doc eventHotKeyExistsErr HIToolbox/CarbonEventsCore.h macOS 10.0
enum { eventHotKeyExistsErr = -9878 };

// @doc GetApplicationEventTarget HIToolbox/CarbonEvents.h macOS 10.0
extern "C" EventTargetRef GetApplicationEventTarget(void);
// @doc InstallEventHandler HIToolbox/CarbonEventsCore.h macOS 10.0
extern "C" OSStatus InstallEventHandler(EventTargetRef inTarget, EventHandlerUPP inHandler, ItemCount inNumTypes,
                                        const EventTypeSpec* inList, void* inUserData, EventHandlerRef* outRef);
// @doc RemoveEventHandler HIToolbox/CarbonEventsCore.h macOS 10.0
extern "C" OSStatus RemoveEventHandler(EventHandlerRef inHandlerRef);
// @doc GetEventParameter HIToolbox/CarbonEventsCore.h macOS 10.0
extern "C" OSStatus GetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inDesiredType,
                                      EventParamType* outActualType, ByteCount inBufferSize, ByteCount* outActualSize,
                                      void* outData);
// @doc RegisterEventHotKey HIToolbox/CarbonEvents.h macOS 10.0
extern "C" OSStatus RegisterEventHotKey(UInt32 inHotKeyCode, UInt32 inHotKeyModifiers, EventHotKeyID inHotKeyID,
                                        EventTargetRef inTarget, OptionBits inOptions, EventHotKeyRef* outRef);
// @doc UnregisterEventHotKey HIToolbox/CarbonEvents.h macOS 10.0
extern "C" OSStatus UnregisterEventHotKey(EventHotKeyRef inHotKey);
