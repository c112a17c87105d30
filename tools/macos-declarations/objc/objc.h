#pragma once
// The Objective-C runtime's basic types. id, Class and SEL are built into the compiler.

// @doc BOOL /documentation/ObjectiveC/BOOL macOS 10.0
#if defined(__arm64__) || defined(__aarch64__)
typedef bool BOOL;
#else
typedef signed char BOOL;
#endif


// @doc nil /documentation/ObjectiveC/nil macOS 10.0
#define nil nullptr
