#include "views/compass_hooks.h"

#include "app/astroobj_choose.h"
#include "app/compass_objects_dialog.h"
#include "app/objinfo.h"
#include "app/shell.h"
#include "app/skyview_settings_dialog.h"
#include "views/sky_window.h"

namespace UI {

namespace {

ViewDialogs ProgramDialogs() {
    ViewDialogs d;
    // Object info; the object it shows last (the user may have moved on to
    // another one there) is the one chosen.
    d.objectInfo = [](HWND owner, Data::AstroObjRef& object) {
        ObjInfoDialog dialog(object);
        dialog.DoModal(owner);
        const Data::AstroObjRef& shown = dialog.Shown();
        if (shown.kind == Data::kObjNone || shown == object) return false;
        object = shown;
        return true;
    };
    // The compass can point at a constellation's centre: the set is offered.
    d.objectSearch = [](HWND owner, Data::AstroObjRef& object) { return ChooseAstroObject(owner, object, true); };
    d.compassObjects = RunCompassObjDialog;
    d.viewDirection = [](HWND owner, double& azimuth, double& altitude) {
        float az = static_cast<float>(azimuth), alt = static_cast<float>(altitude);
        if (!RunSetViewDirection(owner, az, alt)) return false;
        azimuth = az;
        altitude = alt;
        return true;
    };
    // "Show in Sky": the sky view takes the object as a search result.
    d.showInSky = [](const Data::AstroObjRef& object) {
        if (auto* sky = dynamic_cast<SkyWindow*>(MainWindow(kViewSky))) sky->ShowSearchResult(object);
    };
    return d;
}

}  // namespace

ViewDialogs& CompassViewDialogs() {
    static ViewDialogs dialogs = ProgramDialogs();
    return dialogs;
}

void ResetCompassViewDialogs() { CompassViewDialogs() = ProgramDialogs(); }

}  // namespace UI
