// The plot tests draw text into images: Qt's application object must exist for the fonts, on
// the offscreen platform, as sulvan-info makes it.

#include <gtest/gtest.h>

#include "OffscreenApplication.hpp"

int main(int argc, char** argv) {
    const sulvan::plot::COffscreenApplication application;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
