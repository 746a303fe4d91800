#pragma once
// The pixels of one loaded picture file, shared by every Picture that shows it.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "draw/PixelBuffer.h"
#include "draw/PixelOp.h"
#include "draw/Point.h"
#include "draw/Size.h"

class RenderSurface;

class PictureData {
public:
    // name is the path the picture was loaded under, without ".bmp".
    PictureData(std::u16string name, std::unique_ptr<PixelBuffer> pixels);
    PictureData(const PictureData&) = delete;
    PictureData& operator=(const PictureData&) = delete;

    Size size() const;

    // Draws the bitmap sliced by points (P0..P3, in source pixels << shift) into
    // the rectangle position..position+size of surface: head and tail parts
    // keep their size, the middle is tiled, never stretched. Points outside the
    // bitmap are pulled inside it first, so drawing never reads outside it.
    void draw(RenderSurface& surface, Point position, Size size, const PixelOp& op,
              const std::array<Point, 4>& points, int32_t shift) const;

    // Every pixel other than the key colour becomes pixel & 0xF820, keeping its
    // red channel and its opacity flag.
    void convert_to_red();

    const std::u16string& name() const { return name_; }
    const PixelBuffer& pixels() const { return *pixels_; }
    PixelBuffer& pixels() { return *pixels_; }

private:
    std::u16string name_;
    std::unique_ptr<PixelBuffer> pixels_;
};
