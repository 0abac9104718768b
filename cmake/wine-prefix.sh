#!/bin/sh
# Creates or stops the Wine prefix of a build tree (CTest fixtures).
#   wine-prefix.sh create <prefix> <driver> <wine64> <wineserver>
#   wine-prefix.sh stop   <prefix> <driver> <wine64> <wineserver>
# <driver> is Wine's display driver for the prefix: "null" (no X server
# needed) or "x11" (for xvfb runs).
set -u
action=$1 prefix=$2 driver=$3 wine=$4 server=$5

export WINEPREFIX="$prefix" WINEDEBUG=-all WINELOADER="$wine"
marker="$prefix/.celvane-prefix-$driver"

case "$action" in
create)
    if [ -f "$marker" ] && [ -f "$prefix/system.reg" ]; then
        echo "Wine prefix $prefix ready ($driver driver)"
        exit 0
    fi
    if [ -e "$prefix" ]; then
        # A half-made prefix from an interrupted run; only ever remove a
        # folder that is recognisably a Wine prefix.
        if [ -d "$prefix/drive_c" ] || [ -d "$prefix/dosdevices" ] || [ -z "$(ls -A "$prefix")" ]; then
            "$server" -k >/dev/null 2>&1
            rm -rf "$prefix"
        else
            echo "$prefix exists and is no Wine prefix; not touching it" >&2
            exit 1
        fi
    fi
    mkdir -p "$(dirname "$prefix")"
    log="$prefix.log"
    # Every Wine command writes to the log, never to CTest's pipe: the
    # wineserver it starts outlives the command and would keep the pipe open.
    # mscoree/mshtml off: no search for the Mono and Gecko installers.
    WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i >"$log" 2>&1 </dev/null
    rc=$?
    if [ $rc -eq 0 ]; then
        "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d "$driver" /f >>"$log" 2>&1 </dev/null
        rc=$?
    fi
    # Stopping the server writes the registry files.
    "$server" -k >>"$log" 2>&1 </dev/null
    if [ $rc -ne 0 ] || [ ! -f "$prefix/system.reg" ] || ! grep -q "\"Graphics\"=\"$driver\"" "$prefix/user.reg"; then
        cat "$log"
        echo "creating the Wine prefix $prefix failed" >&2
        exit 1
    fi
    touch "$marker"
    echo "Wine prefix $prefix created ($driver driver)"
    ;;
stop)
    if [ -d "$prefix" ]; then
        "$server" -k >/dev/null 2>&1 </dev/null
    fi
    exit 0
    ;;
*)
    echo "usage: $0 create|stop <prefix> <driver> <wine64> <wineserver>" >&2
    exit 2
    ;;
esac
