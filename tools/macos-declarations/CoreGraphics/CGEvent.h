#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// @doc CGPreflightPostEventAccess /documentation/CoreGraphics/CGPreflightPostEventAccess()
bool CGPreflightPostEventAccess(void);
// @doc CGRequestPostEventAccess /documentation/CoreGraphics/CGRequestPostEventAccess()
bool CGRequestPostEventAccess(void);

#ifdef __cplusplus
}
#endif
