// Test fixture for the star catalogues: the committed bright-star resources
// and the stars.dat of the build tree.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/native/test_platform.h"
#include "data/platform.h"
#include "data/starcatalog.h"

namespace startest {

inline std::u16string ResourceFolder() { return PL::FromUtf8(CELVANE_SOURCE_DIR "/resources/catalog"); }
inline std::u16string StarsDat() { return PL::FromUtf8(CELVANE_BINARY_DIR "/stars.dat"); }

class StarTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform_ = std::make_unique<PL::TestPlatform>(ResourceFolder());
        scoped_ = std::make_unique<PL::ScopedPlatform>(*platform_);
        Data::LoadStarResources();
        Data::SetStarFilePath(StarsDat());
        ASSERT_GT(Data::BrightBlockCount(), 0u) << "bright-star resources missing";
        ASSERT_TRUE(platform_->FileExists(StarsDat())) << "stars.dat has not been built";
    }
    void TearDown() override {
        Data::SetStarFilePath(u"");
        // The tables point into the platform's resource cache: forget them.
        PL::TestPlatform none(u"/nonexistent-resource-folder");
        PL::ScopedPlatform use(none);
        Data::LoadStarResources();
        scoped_.reset();
    }

    std::unique_ptr<PL::TestPlatform> platform_;
    std::unique_ptr<PL::ScopedPlatform> scoped_;
};

}  // namespace startest
