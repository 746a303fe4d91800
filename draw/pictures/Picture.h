#pragma once
// A value handle on shared picture pixels, with the points that slice it.
//
// The points P0..P3 split the bitmap along each axis into a head [P0, P1), a
// middle [P1, P2) and a tail [P2, P3). They are in source pixels shifted left
// by scale_shift: with shift 1 every source pixel is drawn twice each way.
// A loaded picture is all middle: P0 = P1 = (0, 0), P2 = P3 = its size.
// An empty picture has no data, size (0, 0), and draws nothing.
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "draw/PixelOp.h"
#include "draw/Point.h"
#include "draw/Size.h"
#include "draw/pictures/PictureData.h"

class RenderSurface;

class Picture {
public:
    Picture() = default;
    // A picture showing all of data, unsliced.
    explicit Picture(std::shared_ptr<PictureData> data);

    // load_565(path): path is without ".bmp".
    static Picture load(std::u16string_view path);

    // (width, height) of the bitmap, (0, 0) when empty.
    Size size() const;
    bool empty() const { return data_ == nullptr; }

    // Draws the picture sliced into position..position+size.
    void draw(RenderSurface& surface, Point position, Size size, const PixelOp& op) const;

    const std::shared_ptr<PictureData>& data() const { return data_; }

    std::array<Point, 4> points{};
    int32_t scale_shift = 0;
    uint8_t flags = 0;

    friend bool operator==(const Picture&, const Picture&) = default;

private:
    std::shared_ptr<PictureData> data_;
};
