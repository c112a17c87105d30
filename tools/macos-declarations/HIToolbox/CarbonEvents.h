#pragma once

// The Carbon Event Manager's hot-key calls have no page in Apple's current reference: the line
// before each declaration names the SDK header that declares it instead, as only the symbols in
// tools/macos-undocumented.txt may. Four-character codes are spelled as their numbers.

// @doc UInt32 MacTypes.h
typedef unsigned int UInt32;
// @doc OSStatus MacTypes.h
typedef int OSStatus;
// @doc OSType MacTypes.h
typedef UInt32 OSType;
// @doc OptionBits MacTypes.h
typedef UInt32 OptionBits;
// @doc ItemCount MacTypes.h
typedef unsigned long ItemCount;
// @doc ByteCount MacTypes.h
typedef unsigned long ByteCount;
// @doc noErr MacTypes.h
enum { noErr = 0 };

// @doc EventRef HIToolbox/CarbonEventsCore.h
typedef struct OpaqueEventRef* EventRef;
// @doc EventHandlerCallRef HIToolbox/CarbonEventsCore.h
typedef struct OpaqueEventHandlerCallRef* EventHandlerCallRef;
// @doc EventHandlerRef HIToolbox/CarbonEventsCore.h
typedef struct OpaqueEventHandlerRef* EventHandlerRef;
// @doc EventTargetRef HIToolbox/CarbonEventsCore.h
typedef struct OpaqueEventTargetRef* EventTargetRef;
// @doc EventHotKeyRef HIToolbox/CarbonEvents.h
typedef struct OpaqueEventHotKeyRef* EventHotKeyRef;
// @doc EventParamName HIToolbox/CarbonEventsCore.h
typedef OSType EventParamName;
// @doc EventParamType HIToolbox/CarbonEventsCore.h
typedef OSType EventParamType;
// @doc EventHandlerProcPtr HIToolbox/CarbonEventsCore.h
typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef inHandlerCallRef, EventRef inEvent, void* inUserData);
// @doc EventHandlerUPP HIToolbox/CarbonEventsCore.h
typedef EventHandlerProcPtr EventHandlerUPP;
// @doc EventTypeSpec HIToolbox/CarbonEventsCore.h
typedef struct EventTypeSpec {
  OSType eventClass;
  UInt32 eventKind;
} EventTypeSpec;
// @doc EventHotKeyID HIToolbox/CarbonEvents.h
typedef struct EventHotKeyID {
  OSType signature;
  UInt32 id;
} EventHotKeyID;

// @doc kEventClassKeyboard HIToolbox/CarbonEvents.h
enum { kEventClassKeyboard = 0x6B657962 };  // 'keyb'
// @doc kEventHotKeyPressed HIToolbox/CarbonEvents.h
enum { kEventHotKeyPressed = 5 };
// @doc kEventParamDirectObject HIToolbox/CarbonEvents.h
enum { kEventParamDirectObject = 0x2D2D2D2D };  // '----'
// @doc typeEventHotKeyID HIToolbox/CarbonEvents.h
enum { typeEventHotKeyID = 0x686B6964 };  // 'hkid'
// @doc eventHotKeyExistsErr HIToolbox/CarbonEventsCore.h
enum { eventHotKeyExistsErr = -9878 };

// @doc GetApplicationEventTarget HIToolbox/CarbonEvents.h
extern "C" EventTargetRef GetApplicationEventTarget(void);
// @doc InstallEventHandler HIToolbox/CarbonEventsCore.h
extern "C" OSStatus InstallEventHandler(EventTargetRef inTarget, EventHandlerUPP inHandler, ItemCount inNumTypes,
                                        const EventTypeSpec* inList, void* inUserData, EventHandlerRef* outRef);
// @doc RemoveEventHandler HIToolbox/CarbonEventsCore.h
extern "C" OSStatus RemoveEventHandler(EventHandlerRef inHandlerRef);
// @doc GetEventParameter HIToolbox/CarbonEventsCore.h
extern "C" OSStatus GetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inDesiredType,
                                      EventParamType* outActualType, ByteCount inBufferSize, ByteCount* outActualSize,
                                      void* outData);
// @doc RegisterEventHotKey HIToolbox/CarbonEvents.h
extern "C" OSStatus RegisterEventHotKey(UInt32 inHotKeyCode, UInt32 inHotKeyModifiers, EventHotKeyID inHotKeyID,
                                        EventTargetRef inTarget, OptionBits inOptions, EventHotKeyRef* outRef);
// @doc UnregisterEventHotKey HIToolbox/CarbonEvents.h
extern "C" OSStatus UnregisterEventHotKey(EventHotKeyRef inHotKey);
