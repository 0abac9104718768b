// celvane-starcat: builds the bright-star resources and "stars.dat" from the
// source catalogues in catalogs/stars.
//
//   celvane-starcat --catalogs DIR [--resources OUTDIR] [--stars-dat FILE]
//                   [--tycho2 FILE ...] [--quiet]
//
// --tycho2 takes the Tycho-2 main catalogue (tyc2.dat, or its parts
// tyc2.dat.00 .. tyc2.dat.19, plain or gzip); without it the TYC section of
// stars.dat is empty.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "starcat.h"

namespace {

bool WriteFile(const std::string& path, const StarCat::Bytes& bytes) {
    // Written to a twin first, so that a failed run leaves the old file.
    const std::string tmp = path + ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) {
        std::remove(tmp.c_str());
        return false;
    }
    return std::rename(tmp.c_str(), path.c_str()) == 0;
}

int Usage() {
    std::fputs("usage: celvane-starcat --catalogs DIR [--resources OUTDIR] [--stars-dat FILE] "
               "[--tycho2 FILE ...] [--quiet]\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string catalogs, resources, starsDat;
    std::vector<std::string> tycho2;
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        if (a == "--catalogs") {
            if (!value(catalogs)) return Usage();
        } else if (a == "--resources") {
            if (!value(resources)) return Usage();
        } else if (a == "--stars-dat") {
            if (!value(starsDat)) return Usage();
        } else if (a == "--tycho2") {
            std::string f;
            if (!value(f)) return Usage();
            tycho2.push_back(f);
            while (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) tycho2.push_back(argv[++i]);
        } else if (a == "--quiet") {
            quiet = true;
        } else {
            return Usage();
        }
    }
    if (catalogs.empty() || (resources.empty() && starsDat.empty())) return Usage();

    try {
        StarCat::Report report;
        if (!resources.empty()) {
            for (const auto& kv : StarCat::BuildBrightResources(catalogs, report)) {
                const std::string path = resources + "/" + kv.first;
                if (!WriteFile(path, kv.second)) {
                    std::fprintf(stderr, "celvane-starcat: cannot write %s\n", path.c_str());
                    return 1;
                }
            }
        }
        if (!starsDat.empty()) {
            if (!WriteFile(starsDat, StarCat::BuildStarsDat(catalogs, tycho2, report))) {
                std::fprintf(stderr, "celvane-starcat: cannot write %s\n", starsDat.c_str());
                return 1;
            }
        }
        if (!quiet)
            for (const std::string& line : report.lines) std::printf("%s\n", line.c_str());
    } catch (const StarCat::BuildError& e) {
        std::fprintf(stderr, "celvane-starcat: %s\n", e.message.c_str());
        return 1;
    }
    return 0;
}
