// The dialogs the compass and twilight views open that live elsewhere in the
// program: object info, object search, the compass object dialog, and the
// sky view showing an object as a search result. Object info and object
// search are installed from the start; the others are set by the program
// once their dialogs exist. A hook not set leaves its button or tap without
// effect.
#pragma once

#include "data/objects.h"
#include "winlib/win32.h"

#include <functional>

namespace UI {

struct ViewDialogs {
    // Object info for `object`; true with `object` replaced when the user
    // chose another object in the dialog.
    std::function<bool(HWND owner, Data::AstroObjRef& object)> objectInfo;
    // Object search starting from `object`; true with the chosen object.
    std::function<bool(HWND owner, Data::AstroObjRef& object)> objectSearch;
    // The compass object dialog ("Customize..."): edits the preferences'
    // compass slots in place.
    std::function<void(HWND owner)> compassObjects;
    // The view direction dialog with a direction; true with the typed one.
    std::function<bool(HWND owner, double& azimuth, double& altitude)> viewDirection;
    // The sky view selects `object` as a search result (object panel shown,
    // the map centred on it when it is not on the map).
    std::function<void(const Data::AstroObjRef& object)> showInSky;
};

// The program's hooks (tests replace them and put the defaults back with
// ResetCompassViewDialogs).
ViewDialogs& CompassViewDialogs();
void ResetCompassViewDialogs();

}  // namespace UI
