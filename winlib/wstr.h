// UTF-16 text between the program (std::u16string, u"...") and the W functions
// of the Win32 API. Every cast between char16_t and WCHAR goes through here.
//
// Winelib compiles with -fshort-wchar, which makes WCHAR a 2-byte wchar_t; the
// C++ library's wide strings (std::wstring, <cwchar>) are built for a 4-byte
// wchar_t and break under that flag, so the project keeps no wchar_t strings
// at all and hands its char16_t text to the API through these helpers.
#pragma once

#include "winlib/win32.h"

#include <string>

static_assert(sizeof(WCHAR) == sizeof(char16_t), "WCHAR must be a UTF-16 code unit (Winelib: -fshort-wchar)");

// Program text to the API.
inline LPCWSTR W(const std::u16string& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }
inline LPCWSTR W(const char16_t* s) { return reinterpret_cast<LPCWSTR>(s); }
// A writable buffer for the API to fill (e.g. std::u16string::data()).
inline LPWSTR W(char16_t* s) { return reinterpret_cast<LPWSTR>(s); }

// API text back to the program.
inline const char16_t* U(const WCHAR* s) { return reinterpret_cast<const char16_t*>(s); }
inline std::u16string U16(const WCHAR* s) { return s ? std::u16string(U(s)) : std::u16string(); }
inline std::u16string U16(const WCHAR* s, size_t n) { return std::u16string(U(s), n); }
