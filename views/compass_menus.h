/* The view-direction widget's preset menus (resources 109, German 119):
   submenu 0 the altitudes, submenu 1 the azimuths, each ending with an
   "Edit..." entry that opens the view direction dialog. Plain defines: the
   resource script includes this file too. */
#ifndef CELVANE_VIEWS_COMPASS_MENUS_H
#define CELVANE_VIEWS_COMPASS_MENUS_H

#define IDM_DIRECTION_PRESETS 109
#define IDM_DIRECTION_PRESETS_DE 119

/* Altitudes +90, +60, +45, +30, 0, -30, -45, -60, -90 degrees. */
#define IDC_ALT_PRESET_FIRST 3300
#define IDC_ALT_PRESET_LAST 3308
#define IDC_ALT_EDIT 3309
/* Azimuths N, NE, E, SE, S, SW, W, NW: 0, 45, ..., 315 degrees. */
#define IDC_AZ_PRESET_FIRST 3310
#define IDC_AZ_PRESET_LAST 3317
#define IDC_AZ_EDIT 3318

#endif
