#include "tests/wine/ui/ui_test_util.h"
