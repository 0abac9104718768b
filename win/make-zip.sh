#!/bin/sh
# Packs the Windows programs and what goes beside them into one zip with a
# top folder, for a Windows user to unzip and run. Only programs that passed
# the smoke test (ctest -L mingw, which records their checksums) are packed.
#   make-zip.sh <mingw build dir> <out.zip> <top folder>
set -eu
dir=$1 zip=$2 top=$3
files="celvane.exe celvane-chart.exe celvane-ephem.exe celvane.htm celvane-de.htm stars.dat README.txt"
for f in $files provenance licenses; do
    [ -e "$dir/celvane/$f" ] || { echo "make-zip: $dir/celvane/$f is missing: build first" >&2; exit 1; }
done
if ! [ -f "$dir/smoke-passed" ] || ! (cd "$dir/celvane" && sha256sum --quiet -c ../smoke-passed >/dev/null 2>&1); then
    echo "make-zip: these Windows programs have not passed their smoke test; run ctest -L mingw first" >&2
    exit 1
fi
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$top"
(cd "$dir/celvane" && cp -R $files ./*.puo ./*.pco provenance licenses "$stage/$top/")
rm -f "$zip.tmp"
(cd "$stage" && zip -q -X -r -9 "$zip.tmp" "$top")
mv -f "$zip.tmp" "$zip"
echo "make-zip: $zip ($(wc -c <"$zip") bytes)"
