#pragma once
// Golden screenshots: a drawn surface compared pixel for pixel (the opacity
// flag included) with a reference PNG checked into the tests. With
// QUILLMO_UPDATE_GOLDEN=1 in the environment the reference is written
// instead; look at it before committing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "draw/RenderSurface.h"
#include "draw/pictures/PngReader.h"
#include "draw/pictures/PngWriter.h"

// Compares surface with dir/name.png.
inline void expect_golden(const RenderSurface& surface, const std::string& dir,
                          const std::string& name) {
    ASSERT_NE(surface.buffer(), nullptr);
    const std::string path = dir + "/" + name + ".png";
    std::string error;
    if (const char* update = std::getenv("QUILLMO_UPDATE_GOLDEN");
        update && std::string(update) == "1") {
        std::filesystem::create_directories(dir);
        ASSERT_TRUE(PngWriter::write(*surface.buffer(), path, &error)) << error;
        return;
    }
    auto golden = PngReader::read(path, &error);
    ASSERT_TRUE(golden) << error;
    const PixelBuffer& drawn = *surface.buffer();
    ASSERT_EQ(golden->width(), drawn.width()) << name;
    ASSERT_EQ(golden->height(), drawn.height()) << name;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            ASSERT_EQ(drawn.pixel(x, y), golden->pixel(x, y)) << name << " at " << x << "," << y;
}
