#pragma once
// The dynamic loader's interface, from the dlopen(3) and dlsym(3) manual pages of macOS. The mode
// bits are macros there too.

#ifdef __cplusplus
extern "C" {
#endif

// @doc RTLD_LAZY /library/mac/documentation/System/Conceptual/ManPages_iPhoneOS/man3/dlopen.3.html macOS 10.0
#define RTLD_LAZY 0x1
// @doc RTLD_NOW /library/mac/documentation/System/Conceptual/ManPages_iPhoneOS/man3/dlopen.3.html macOS 10.0
#define RTLD_NOW 0x2
// @doc RTLD_LOCAL /library/mac/documentation/System/Conceptual/ManPages_iPhoneOS/man3/dlopen.3.html macOS 10.0
#define RTLD_LOCAL 0x4
// @doc RTLD_GLOBAL /library/mac/documentation/System/Conceptual/ManPages_iPhoneOS/man3/dlopen.3.html macOS 10.0
#define RTLD_GLOBAL 0x8

// @doc dlopen /library/mac/documentation/System/Conceptual/ManPages_iPhoneOS/man3/dlopen.3.html macOS 10.0
void* dlopen(const char* path, int mode);
// @doc dlsym /library/mac/documentation/System/Conceptual/ManPages_iPhoneOS/man3/dlsym.3.html macOS 10.0
void* dlsym(void* handle, const char* symbol);
// @doc dlclose /library/mac/documentation/System/Conceptual/ManPages_iPhoneOS/man3/dlclose.3.html macOS 10.0
int dlclose(void* handle);

#ifdef __cplusplus
}
#endif
