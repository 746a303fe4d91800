#include "forms/FrameRateBox.h"

#include "draw/Color.h"
#include "draw/PixelOps.h"
#include "draw/text/FontDesc.h"
#include "draw/text/FontRep.h"
#include "draw/text/TextDraw.h"

namespace {

// A dark slate under light grey text. The box is stored at half its colour
// and drawn with the half shade, which adds half of what lies below; the text
// is marked opaque by the text drawing and shows at full strength.
constexpr Color kBoxColor{32, 40, 56, 255};
constexpr Color kTextColor{224, 224, 208, 255};

}  // namespace

FrameRateBox::FrameRateBox() = default;
FrameRateBox::~FrameRateBox() = default;

void FrameRateBox::frame(int64_t now_ms) {
    times_[next_] = now_ms;
    next_ = (next_ + 1) % times_.size();
    if (count_ < times_.size()) ++count_;
}

std::u16string FrameRateBox::label() const {
    if (count_ < 2) return u"-- fps";
    const int64_t newest = times_[(next_ + times_.size() - 1) % times_.size()];
    const int64_t oldest = times_[(next_ + times_.size() - count_) % times_.size()];
    const int64_t elapsed = newest - oldest;
    if (elapsed <= 0) return u"-- fps";
    const int64_t fps = static_cast<int64_t>(count_ - 1) * 1000 / elapsed;
    std::u16string text;
    for (char c : std::to_string(fps)) text.push_back(static_cast<char16_t>(c));
    return text + u" fps";
}

void FrameRateBox::draw(RenderSurface& surface) {
    if (!font_) font_ = FontRep::create(FontDesc::application());
    box_.recreate(kSize);
    // Stored at half strength with the opacity flag clear, so that the half
    // shade blends it with the screen below.
    const uint16_t half = pixel_ops::half(kBoxColor.to_565()) & ~rgb565::kOpaqueFlag;
    box_.fill({0, 0}, kSize, *pixel_ops::make_fill(half));
    TextDraw::draw(*font_, box_, kTextColor, label(), {4, 0}, {kSize.width - 8, kSize.height},
                   TextDraw::kLeft, TextDraw::kMiddle, false);
    box_.draw_onto(surface, {0, 0}, pixel_ops::shade_1_2());
}
