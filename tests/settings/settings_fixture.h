// Shared by the settings tests: a fresh folder per test, byte-level file
// access, and a settable platform installed for the test's duration.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "data/native/test_platform.h"
#include "data/platform.h"
#include "settings/places.h"

namespace settings_test {

const char kBom[] = "\xEF\xBB\xBF";

// A place of the user's own.
inline Data::Place UserPlace(const std::u16string& name, float lat, float lon, float elev, int32_t zone) {
    Data::Place p = Data::BlankPlace();
    p.name = name;
    p.latitude = lat;
    p.longitude = lon;
    p.elevation = elev;
    p.timeZone = zone;
    return p;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// A test with its own empty folder (removed afterwards) and the test
// platform installed.
class FolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/celvane-settings-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        folder_ = PL::FromUtf8(dir_);
    }
    void TearDown() override {
        std::system(("rm -rf '" + dir_ + "'").c_str());
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    PL::TestPlatform platform_;
    PL::ScopedPlatform scope_{platform_};
    std::string dir_;
    std::u16string folder_;
};

// Reading the file whose path ends with `name` fails although it is there.
class UnreadableFile : public PL::TestPlatform {
public:
    explicit UnreadableFile(std::u16string name) : name_(std::move(name)) {}
    std::FILE* OpenFile(const std::u16string& path, const char* mode) override {
        const size_t n = name_.size();
        if (mode[0] == 'r' && path.size() >= n && path.compare(path.size() - n, n, name_) == 0) return nullptr;
        return TestPlatform::OpenFile(path, mode);
    }

private:
    std::u16string name_;
};

}  // namespace settings_test
