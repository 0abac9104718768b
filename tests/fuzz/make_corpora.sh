#!/bin/sh
# Seeds the corpora of the star and catalogue-builder fuzz targets with real
# files: the shipped resources, stars.dat files built by the catalogue
# builder (one with a Tycho-2 section) and the builder's own inputs.
#   tests/fuzz/make_corpora.sh FUZZ_BUILD_DIR CORPUS_DIR
# The text-reader targets take their seeds from the shipped files directly
# (resources/data/*.puo, *.pco; a prefs.dat and places.dat written by the
# program).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
out=$2
cat="$root/catalogs/stars"
mkdir -p "$out/stars_dat" "$out/star_resources" "$out/star_number" "$out/starcat_input"

# A small catalogue (the first Hipparcos and bright-star Tycho rows) gives a
# stars.dat of a few kilobytes with every section, the Tycho-2 one included.
mini=$(mktemp -d)
gzip -dc "$cat/hipparcos.csv.gz" | head -n 400 | gzip -n > "$mini/hipparcos.csv.gz"
gzip -dc "$cat/tyc_bright_stars.csv.gz" | head -n 200 | gzip -n > "$mini/tyc_bright_stars.csv.gz"
"$build/fuzz_starcat" --catalogs "$mini" --stars-dat "$out/stars_dat/mini_tyc.dat" \
    --tycho2 "$root/tests/tools/data/tyc2_sample.dat" --quiet
"$build/fuzz_starcat" --catalogs "$mini" --stars-dat "$out/stars_dat/mini_no_tyc.dat" --quiet
size=$(wc -c < "$out/stars_dat/mini_tyc.dat")
head -c $((size / 2)) "$out/stars_dat/mini_tyc.dat" > "$out/stars_dat/mini_tyc_cut.dat"

# Each resource behind the byte that names it (the order of the target).
i=0
for name in starsBSC0 starsBSC1 starsBSC2 starsBSC3 starsBSC4 starsBSC5 starsBSC6 starsBSC7 starsBSC8 \
            starsBSCHIP Tyc1List starNameNr bayFlam starBay starFlam bscSpecData; do
    { printf "\\$(printf %03o $i)"; cat "$root/resources/catalog/$name"; } > "$out/star_resources/$name"
    i=$((i + 1))
done

# Star numbers as a user types them.
n=0
for text in "HR 2491" "hr9110" "HIP 32349" "hip 120416" "HIP 1" "TYC 5949-2777-1" "tyc 1-8-1" \
            "TYC 1 - 13 - 1" "tyc4-" "HR" "Hip 99999999999"; do
    printf '%s' "$text" > "$out/star_number/seed$n"
    n=$((n + 1))
done

# The builder's inputs behind the byte that chooses the case.
{ printf '\000'; cat "$root/tests/tools/data/tyc2_sample.dat"; } > "$out/starcat_input/tyc2_plain"
{ printf '\000'; gzip -n < "$root/tests/tools/data/tyc2_sample.dat"; } > "$out/starcat_input/tyc2_gzip"
{ printf '\001'; head -n 40 "$cat/hip_hr.csv"; } > "$out/starcat_input/csv"
{ printf '\002'; gzip -dc "$mini/hipparcos.csv.gz" | head -n 60; } > "$out/starcat_input/hipparcos"
{ printf '\003'; gzip -dc "$mini/tyc_bright_stars.csv.gz" | head -n 60; } > "$out/starcat_input/tyc_bright"
{ printf '\004'; cat "$root/tests/tools/data/tyc2_sample.dat"; } > "$out/starcat_input/tyc2_build"
rm -rf "$mini"

# The text readers: numbers and angles as the program writes and users type
# them (the parse targets read one byte per character, see fuzz_text.h),
# the shipped object and comet files, and a places.dat and prefs.dat as
# the program writes them (a Latin-1 line among them).
mkdir -p "$out/parse_number" "$out/parse_sexagesimal" "$out/utf8_reader" "$out/object_file" \
         "$out/places_file" "$out/prefs_file"
n=0
for text in "1600" "-1.235e7" "0.00001234" "+12.5" "1e-5" "2451545.5" "123456789012345678"; do
    printf '%s' "$text" > "$out/parse_number/seed$n"; n=$((n + 1))
done
n=0
for text in "5h35.3m" "-5°23'" "12:30:15.5" "0h00m00.004s" "89°59'59.9\"" "-0:30" "150m00s"; do
    printf '%s' "$text" > "$out/parse_sexagesimal/seed$n"; n=$((n + 1))
done
for f in "$root"/resources/data/*.puo "$root"/resources/data/*.pco; do
    cp "$f" "$out/object_file/"
    head -c 4000 "$f" > "$out/utf8_reader/$(basename "$f")"
done
printf '\357\273\27747.37,-8.54,408,60,User defined,Home\r\n-1.5,2.25,0,-300,User defined,Cabin\r\n' \
    > "$out/places_file/places.dat"
printf '1,2,3,0,User defined,Z\374rich\n5,6,7,8,Elsewhere,Gen\303\250ve\r' > "$out/places_file/latin1.dat"
printf '\357\273\277[APPVERSION]\r\n0.1=\r\nLast=0.1\r\n[ActiveCometFiles]\r\n0=Comets\r\n[CompassView]\r\nObj0=Sun\r\nObj1=AC1P,Comets\r\nObj2=Obj3,Messier\r\nSelection=1\r\n[CurrentLocation]\r\nLatitude=47.37\r\nName=Z\303\274rich\r\nTimezone=60\r\n[DisplayTime]\r\nStep=3600\r\nTime=2460000.5\r\nUseCurrentTime=0\r\n[FORMAT]\r\nVersion=1\r\n[Language]\r\nlangid=1031\r\n[SkyView]\r\nAlt=30\r\nSelectedObj=Star4126\r\n[View]\r\nMode=1\r\n' \
    > "$out/prefs_file/prefs.dat"
