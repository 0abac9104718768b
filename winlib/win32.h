// The Win32 half includes <windows.h> through this header only.
#pragma once

// The whole Win32 half uses the W functions.
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
// std::min, std::max and numeric_limits<>::max() must stay usable.
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>

// <windows.h> maps these names to their ...W functions by macro, and they are
// also the names of platform-layer operations (PL::Platform::DeleteFile,
// MoveFile, ReplaceFile). The macros go; Win32 code calls the W functions by
// their names. A new PL operation named like a Win32 function joins the list.
#undef DeleteFile
#undef MoveFile
#undef ReplaceFile
