#pragma once
// Writes one RGB565 colour over every destination pixel. Kept public so that
// callers can fill from the stack without allocating an op.
#include <cstdint>
#include <memory>

#include "draw/PixelOp.h"

class FillOp final : public PixelOp {
public:
    explicit FillOp(uint16_t color) : color_(color) {}

    // Two pixels per 32-bit store on the 4-byte-aligned stretch of the row.
    void row(uint16_t* begin, uint16_t* end, const uint16_t* src, int32_t src_x,
             int32_t src_y) const override;
    std::unique_ptr<PixelOp> clone() const override { return std::make_unique<FillOp>(color_); }

    uint16_t color() const { return color_; }

private:
    uint16_t color_;
};
