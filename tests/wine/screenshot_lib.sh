# Shared by the screenshot scripts (sourced, not run): the prefix's screen
# resolution, the language of a picture, and the window manager on the
# private X display, so that every picture shows what a user sees.

# prefix_dpi WINE64 WINESERVER DPI: writes DPI into the prefix (WINEPREFIX) as
# its screen resolution, where Wine reads it (the user's setting and the
# machine's); stopping the server writes the registry before the program
# starts. An empty DPI or "-" leaves the prefix as it is.
prefix_dpi() {
    [ -n "$3" ] && [ "$3" != "-" ] || return 0
    "$1" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$3" /f >/dev/null 2>&1 </dev/null &&
    "$1" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels /t REG_DWORD /d "$3" /f >/dev/null 2>&1 </dev/null ||
        { echo "setting the prefix's resolution failed"; return 1; }
    "$2" -k >/dev/null 2>&1
    return 0
}

# picture_language en|de: the language comes from LANG alone.
picture_language() {
    unset LC_ALL LC_MESSAGES LC_TIME LC_CTYPE LANGUAGE
    case "$1" in
    de) export LANG=de_DE.UTF-8 ;;
    *) export LANG=en_US.UTF-8 ;;
    esac
}

# start_window_manager WORKDIR: openbox on the current display, its process id
# in wm; fails (with openbox's log) when it does not come up in 10 seconds.
start_window_manager() {
    openbox --sm-disable --startup "touch $1/wm-ready" >"$1/openbox.log" 2>&1 &
    wm=$!
    i=0
    while [ ! -f "$1/wm-ready" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    [ -f "$1/wm-ready" ] && return 0
    echo "the window manager did not come up"
    cat "$1/openbox.log"
    kill $wm
    return 1
}

# Sourced by a script of a folder beside this file: the window manager must
# be there, and the shell on the private display sources this file again.
if [ -z "${SCREENSHOT_LIB:-}" ]; then
    command -v openbox >/dev/null 2>&1 || { echo "openbox is missing (scripts/install-deps.sh)"; exit 1; }
    SCREENSHOT_LIB=$(cd "$(dirname "$0")/.." && pwd)/screenshot_lib.sh
    export SCREENSHOT_LIB
fi
