#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the tree a desktop
# user gets: the launcher and its links, every file the programs look for
# beside them, the menu entry, the icons; then runs the installed programs
# from there (celvane-ephem natively; the launcher without a display, which
# makes its own Wine prefix and draws a chart) and uninstalls by the
# manifest.
#
#   install_test.sh <build dir> <desktop-file-validate> <wineserver>
set -uo pipefail
build=$1 validate=$2 server=$3
here=$(cd "$(dirname "$0")/../.." && pwd)
prefix=/usr/local
tmp=$(mktemp -d)
root=$tmp/root$prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

manifest=$build/install_manifest.txt
[ -f "$manifest" ] && cp "$manifest" "$tmp/manifest.saved"
cleanup() {
    [ -d "$tmp/data/celvane/wine" ] && WINEPREFIX=$tmp/data/celvane/wine "$server" -k >/dev/null 2>&1
    # A user's own install keeps its manifest (the uninstall list).
    if [ -f "$tmp/manifest.saved" ]; then cp "$tmp/manifest.saved" "$manifest"; else rm -f "$manifest"; fi
    rm -rf "$tmp"
}
trap cleanup EXIT

if ! DESTDIR=$tmp/root cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
    cat "$tmp/install.log"
    echo "FAIL: cmake --install"
    exit 1
fi
cp "$manifest" "$tmp/manifest"

# --- the tree -----------------------------------------------------------------
inside() { case "$(readlink -f "$1")" in "$root"/*) return 0 ;; *) return 1 ;; esac; }

# Every link relative and leading to a file of the tree: the tree works where
# it is unpacked, and no link points back into the build.
while IFS= read -r link; do
    case "$(readlink "$link")" in /*) fail "absolute link ${link#"$root"/}" ;; esac
    { [ -e "$link" ] && inside "$link"; } || fail "link ${link#"$root"/} -> $(readlink "$link") leads nowhere in the tree"
done < <(find "$root" -type l)

for cmd in celvane celvane-chart celvane-ephem; do
    { [ -L "$root/bin/$cmd" ] && [ -x "$root/bin/$cmd" ]; } || fail "bin/$cmd is no executable link"
done
program_dir=$(dirname "$(readlink -f "$root/bin/celvane")")
[ "$(readlink -f "$root/bin/celvane-ephem")" = "$program_dir/celvane-ephem" ] ||
    fail "bin/celvane-ephem does not lead to the program folder ${program_dir#"$root"/}"
for f in celvane.exe.so celvane-chart.exe.so celvane-ephem celvane-launch; do
    { [ -f "$program_dir/$f" ] && [ -x "$program_dir/$f" ]; } || fail "${program_dir#"$root"/}/$f missing or not executable"
done
# What the programs look for beside themselves.
for f in stars.dat celvane.htm celvane-de.htm Messier.puo Caldwell.puo Comets.pco Asteroids.pco; do
    [ -s "$program_dir/$f" ] || fail "${program_dir#"$root"/}/$f missing"
done
cmp -s "$program_dir/stars.dat" "$build/stars.dat" || fail "the installed stars.dat is not the built one"
[ -n "$(ls "$program_dir/resources/" 2>/dev/null)" ] || fail "no star resources beside celvane-ephem"
[ -s "$root/share/doc/celvane/README.md" ] && [ -s "$root/share/doc/celvane/catalogs/stars/README.md" ] ||
    fail "README and the catalogues' provenance missing from share/doc/celvane"

desktop=$root/share/applications/celvane.desktop
if [ -f "$desktop" ]; then
    # Clean but for the hint that Education and Science are both main
    # categories (Astronomy belongs under either).
    out=$("$validate" "$desktop" 2>&1) || fail "desktop-file-validate: $out"
    out=$(echo "$out" | grep -v 'contains more than one main category')
    [ -z "$out" ] || fail "desktop-file-validate: $out"
    grep -qx 'Exec=celvane' "$desktop" || fail "the menu entry does not start bin/celvane"
    grep -qx 'Icon=celvane' "$desktop" || fail "the menu entry's icon is not celvane"
else
    fail "no share/applications/celvane.desktop"
fi

# The icons: PNG files of their folder's size, with an alpha channel.
for n in 16 32 48 64 128 256; do
    png=$root/share/icons/hicolor/${n}x$n/apps/celvane.png
    if [ ! -f "$png" ]; then fail "no ${n}x$n icon"; continue; fi
    read -r -a b < <(od -An -tu1 -N26 "$png" | tr -s ' \n' '  ')
    w=$(( (b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19] ))
    h=$(( (b[20] << 24) | (b[21] << 16) | (b[22] << 8) | b[23] ))
    { [ "${b[1]}${b[2]}${b[3]}" = "807871" ] && [ "$w" = "$n" ] && [ "$h" = "$n" ] && [ "${b[25]}" = 6 ]; } ||
        fail "${n}x$n icon is ${w}x$h, colour type ${b[25]}"
done

# --- the installed programs run from the tree ---------------------------------
export XDG_DATA_HOME=$tmp/data HOME=$tmp/home
mkdir -p "$tmp/work" "$HOME"
cd "$tmp/work" || exit 1
# Sirius from the installed star file and resources; the shipped Messier file.
out=$("$root/bin/celvane-ephem" --utc 2000-01-01T12:00:00 --star "HR 2491" --json 2>&1)
echo "$out" | grep -q '"hip":32349' || fail "installed celvane-ephem --star: $out"
out=$("$root/bin/celvane" --ephem --list Messier.puo 2>&1)
[ "$(echo "$out" | grep -c .)" -ge 110 ] || fail "celvane --ephem --list Messier.puo: $out"
# Today's comets: the converter's file, listed by its path.
"$root/bin/celvane-mpc" "$here/catalogs/mpc/CometEls_20211016.txt" -o "$tmp/work/Mpc.pco" >/dev/null 2>&1 ||
    fail "installed celvane-mpc did not convert the MPC's comet file"
out=$("$root/bin/celvane-ephem" --list ./Mpc.pco 2>&1)
[ "$(echo "$out" | grep -c .)" -ge 900 ] || fail "celvane-ephem --list ./Mpc.pco: $out"

# The launcher without a display: its own prefix in the data folder, made now,
# and the sky of now as a picture in the current folder.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/bin/celvane" 2>"$tmp/launch.err")
rc=$?
[ $rc -eq 0 ] && [ "$out" = "$tmp/work/celvane-sky.png" ] && [ -s "$tmp/work/celvane-sky.png" ] ||
    fail "celvane without a display: status $rc, printed '$out'; $(cat "$tmp/launch.err" "$tmp/data/celvane/wine.log" 2>/dev/null | tail -n 20)"
[ -f "$tmp/data/celvane/wine/system.reg" ] || fail "no Wine prefix in \$XDG_DATA_HOME/celvane/wine"
# Wine's own menu entries and file associations stay out of the user's desktop.
if [ -n "$(find "$tmp/data/applications" "$tmp/home/.local/share/applications" -name '*.desktop' 2>/dev/null)" ]; then
    fail "Wine registered menu entries or file associations"
fi
# celvane-chart finds the shipped object files beside the installed program.
out=$("$root/bin/celvane-chart" --utc 2026-12-01T22:00:00 --place Greenwich --az 90 --alt 40 --objects \
      --mag-filter 9 --json --out "$tmp/work/chart.png" 2>&1)
echo "$out" | grep -q ',Messier"' || fail "installed celvane-chart --objects: $out"

# --- uninstall by the manifest leaves nothing behind ----------------------------
# (as the README's `xargs rm -f < build/install_manifest.txt`; the file ends without a line end)
sed "s|^|$tmp/root|" "$tmp/manifest" | xargs rm -f
left=$(find "$tmp/root" ! -type d)
[ -z "$left" ] || fail "left after uninstalling: $left"

[ $failures -eq 0 ] && echo "install tree and installed programs: all checks passed"
[ $failures -eq 0 ]
