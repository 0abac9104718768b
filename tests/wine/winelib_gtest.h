// GoogleTest in a Winelib program. wineg++ predefines _WIN32, which would make
// the GoogleTest headers take their Windows branch (direct.h, io.h, ...),
// while the library they must match is the Linux build (libgtest.a). The
// headers are read with _WIN32 hidden.
#pragma once

#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
