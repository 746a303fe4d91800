#pragma once
// Draws a picture through a mask picture of the same size: each source pixel
// is mixed over the destination by a = the mask pixel at the same source
// coordinates AND 0x1F (its blue channel). a = 0 leaves the destination,
// a = 31 takes the source, anything between mixes each 8-bit channel as
// c = c_d + (c_s - c_d) * a / 32. Where the mask does not reach (a mask of
// another size) the source is drawn as if a were 31.
//
// Smileys are drawn this way, so the op runs on whole rows like the other
// kinds: the mask row is found once per row, and the pixels the mask covers
// go through one tight loop.
#include <cstdint>
#include <memory>

#include "draw/PixelOp.h"
#include "draw/pictures/Picture.h"

class MaskOp final : public PixelOp {
public:
    explicit MaskOp(Picture mask);

    void row(uint16_t* begin, uint16_t* end, const uint16_t* src, int32_t src_x,
             int32_t src_y) const override;
    void scaled_row(uint16_t* begin, uint16_t* end, const uint16_t* row, int32_t start,
                    int32_t step, int32_t src_y) const override;
    void slice_row(uint16_t* begin, uint16_t* end, const uint16_t* row, int32_t start,
                   int32_t shift, int32_t src_y) const override;
    void wrapped_slice_row(uint16_t* begin, uint16_t* end, const uint16_t* row, int32_t start,
                           int32_t shift, int32_t wrap_to, int32_t wrap_at,
                           int32_t src_y) const override;
    std::unique_ptr<PixelOp> clone() const override { return std::make_unique<MaskOp>(mask_); }

    // One pixel: s over d by a in 0..31.
    static uint16_t mix(uint16_t s, uint16_t d, uint32_t a) {
        // With a = 0 the sum below gives d back exactly, so only a = 31
        // needs its own case; the loop stays free of other branches. Every
        // step fits in 16 bits ((c_s - c_d) * a is within +-255 * 31), which
        // lets the compiler mix 16 pixels at a time.
        auto channel = [a](int16_t cs, int16_t cd) {
            auto product = static_cast<int16_t>((cs - cd) * static_cast<int16_t>(a));
            return static_cast<int16_t>(cd + product / 32);
        };
        int16_t r =
            channel(static_cast<int16_t>((s >> 8) & 0xF8), static_cast<int16_t>((d >> 8) & 0xF8));
        int16_t g =
            channel(static_cast<int16_t>((s >> 3) & 0xFC), static_cast<int16_t>((d >> 3) & 0xFC));
        int16_t b =
            channel(static_cast<int16_t>((s << 3) & 0xF8), static_cast<int16_t>((d << 3) & 0xF8));
        auto mixed =
            static_cast<uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | ((b & 0xF8) >> 3));
        return a == 31 ? s : mixed;
    }

private:
    // The mask row at source row y, or null where the mask does not reach.
    const uint16_t* mask_row(int32_t y) const;

    Picture mask_;
    int32_t mask_width_ = 0;
    int32_t mask_height_ = 0;
};
