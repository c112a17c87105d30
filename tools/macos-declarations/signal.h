#pragma once

// The C library's signal disposition, as the dispatch signal sources need it: a signal whose
// default action ends the process must be ignored for the source to see it.

// @doc SIGINT /library/mac/documentation/System/Conceptual/ManPages_iPhoneOS/man3/signal.3.html macOS 10.0
#define SIGINT 2
// @doc SIGTERM /library/mac/documentation/System/Conceptual/ManPages_iPhoneOS/man3/signal.3.html macOS 10.0
#define SIGTERM 15

// @doc sig_t /library/mac/documentation/System/Conceptual/ManPages_iPhoneOS/man3/signal.3.html macOS 10.0
typedef void (*sig_t)(int);
// @doc SIG_IGN /library/mac/documentation/System/Conceptual/ManPages_iPhoneOS/man3/signal.3.html macOS 10.0
#define SIG_IGN ((sig_t)1)

extern "C" {
// @doc signal /library/mac/documentation/System/Conceptual/ManPages_iPhoneOS/man3/signal.3.html macOS 10.0
sig_t signal(int sig, sig_t func);
}
