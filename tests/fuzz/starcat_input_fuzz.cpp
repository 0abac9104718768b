// The catalogue builder's input readers on any bytes (a user may point the
// builder at a catalogue folder and Tycho-2 files of their own): the line
// reader (plain or gzip), the CSV reader, the Tycho-2 record parser, and
// stars.dat built from a small catalogue in which one input is replaced.
// The first byte of the input chooses the case. A bad input is a
// BuildError with a message; anything else escaping is a finding.
#include "starcat.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string g_dir;
std::string g_hip, g_bright, g_tycho;  // the small catalogue's files

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

void WriteText(const std::string& path, const std::string& text) {
    WriteFile(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string FirstLines(const std::string& path, size_t count) {
    std::string text;
    const std::vector<std::string> lines = StarCat::ReadLines(path);
    for (size_t i = 0; i < lines.size() && i < count; ++i) text += lines[i] + "\n";
    return text;
}

// A small catalogue folder: the first rows of the shipped Hipparcos and
// bright-star Tycho lists (written plain: the reader takes plain files
// under the .gz names too) and the Tycho-2 sample.
void MakeCatalogue() {
    g_dir = "/tmp/celvane-starcat-fuzz-" + std::to_string(getpid());
    std::system(("mkdir -p '" + g_dir + "'").c_str());
    const std::string src = CELVANE_FUZZ_ROOT "/catalogs/stars/";
    g_hip = FirstLines(src + "hipparcos.csv.gz", 300);
    g_bright = FirstLines(src + "tyc_bright_stars.csv.gz", 300);
    g_tycho = FirstLines(CELVANE_FUZZ_ROOT "/tests/tools/data/tyc2_sample.dat", 100);
}

void CheckTycho(const std::string& line) {
    StarCat::Tycho2Star t;
    if (!StarCat::ParseTycho2Line(line, t)) return;
    if (t.tyc.tyc1 < 1 || t.tyc.tyc1 > 9537 || t.tyc.tyc3 < 1 || t.tyc.tyc3 > 9) std::abort();
    if (!(t.raDeg >= 0 && t.raDeg < 360 && t.decDeg >= -90 && t.decDeg <= 90) || !std::isfinite(t.v)) std::abort();
    const StarCat::Q15Vector p = StarCat::ToQ15(t.raDeg, t.decDeg);
    StarCat::MagnitudeCode(t.v);
    StarCat::ColourClass(t.bv, t.hasBv);
    StarCat::HipCode(t.hip, p.x, p.y);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    if (g_dir.empty()) MakeCatalogue();
    const int which = data[0] % 5;
    ++data;
    --size;
    try {
        switch (which) {
            case 0: {  // a Tycho-2 file through the line reader
                WriteFile(g_dir + "/input", data, size);
                for (const std::string& line : StarCat::ReadLines(g_dir + "/input")) CheckTycho(line);
                break;
            }
            case 1: {  // a CSV file
                WriteFile(g_dir + "/input", data, size);
                StarCat::ReadCsv(g_dir + "/input");
                break;
            }
            default: {  // stars.dat from the small catalogue with one input replaced
                const std::string input(reinterpret_cast<const char*>(data), size);
                WriteText(g_dir + "/hipparcos.csv.gz", which == 2 ? input : g_hip);
                WriteText(g_dir + "/tyc_bright_stars.csv.gz", which == 3 ? input : g_bright);
                WriteText(g_dir + "/tyc2.dat", which == 4 ? input : g_tycho);
                StarCat::Report report;
                StarCat::BuildStarsDat(g_dir, {g_dir + "/tyc2.dat"}, report);
                break;
            }
        }
    } catch (const StarCat::BuildError&) {
        // a clear message for a bad input
    }
    return 0;
}
