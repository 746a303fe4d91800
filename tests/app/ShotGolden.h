#pragma once
// A screen shot the program wrote, compared pixel for pixel with one of the
// program tests' reference pictures.
#include <gtest/gtest.h>

#include <string>

#include "draw/RenderSurface.h"
#include "draw/pictures/PngReader.h"
#include "support/Golden.h"

// Compares the PNG at shot with QUILLMO_APP_GOLDEN_DIR/name.png.
inline void expect_shot_golden(const std::string& shot, const std::string& name) {
    std::string error;
    auto pixels = PngReader::read(shot, &error);
    ASSERT_TRUE(pixels) << error;
    expect_golden(RenderSurface(*pixels), QUILLMO_APP_GOLDEN_DIR, name);
}
