// The PixelOp kinds. Each blending kind is one pixel rule (a struct with an
// apply(s, d) function) run by the BlendOp template in all four row forms, so
// the loops stay tight and the rule is written once.
#include "draw/PixelOps.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>
#include <utility>

#include "draw/Color.h"
#include "draw/FillOp.h"
#include "draw/MaskOp.h"
#include "draw/TiledRow.h"

namespace {

using rgb565::kKey;
using rgb565::kOpaqueFlag;

// 32-bit access to pixel pairs in a buffer declared as 16-bit pixels.
using Pair [[gnu::may_alias]] = uint32_t;

constexpr uint16_t half_of(uint16_t d) { return static_cast<uint16_t>((d & 0xF7DF) >> 1); }
constexpr uint16_t quarter_of(uint16_t d) { return static_cast<uint16_t>((d & 0xE79F) >> 2); }

struct CopyRule {
    static uint16_t apply(uint16_t s, uint16_t) { return s; }
};
struct KeyRule {
    static uint16_t apply(uint16_t s, uint16_t d) { return s == kKey ? d : s; }
};
struct Shade34Rule {
    static uint16_t apply(uint16_t s, uint16_t d) {
        if (s == kKey) return d;
        return (s & kOpaqueFlag) ? s : static_cast<uint16_t>(s + quarter_of(d));
    }
};
struct Shade12Rule {
    static uint16_t apply(uint16_t s, uint16_t d) {
        if (s == kKey) return d;
        return (s & kOpaqueFlag) ? s : static_cast<uint16_t>(s + half_of(d));
    }
};
struct Shade14Rule {
    static uint16_t apply(uint16_t s, uint16_t d) {
        if (s == kKey) return d;
        uint16_t h = half_of(d);
        return (s & kOpaqueFlag) ? s : static_cast<uint16_t>(s + h + half_of(h));
    }
};
struct SolidRule {
    static uint16_t apply(uint16_t s, uint16_t d) {
        return (s != kKey && (s & kOpaqueFlag)) ? s : d;
    }
};

// The whole-row loops are the hottest code of the program (every frame is
// composed by them), so they are also built for AVX2 and picked at load time.
#define QUILLMO_HOT_LOOP [[gnu::target_clones("avx2", "default")]]

// One plain function per rule: multiversioned functions cannot be templates.
// blend_one blends the same source pixel over a whole row (a one-pixel tile).
#define QUILLMO_BLEND_ROW(Rule)                                                                 \
    QUILLMO_HOT_LOOP void blend_row(Rule, uint16_t* __restrict d, const uint16_t* __restrict s, \
                                    size_t n) {                                                 \
        for (size_t i = 0; i < n; ++i) d[i] = Rule::apply(s[i], d[i]);                          \
    }                                                                                           \
    QUILLMO_HOT_LOOP void blend_one(Rule, uint16_t* d, uint16_t s, size_t n) {                  \
        for (size_t i = 0; i < n; ++i) d[i] = Rule::apply(s, d[i]);                             \
    }
QUILLMO_BLEND_ROW(KeyRule)
QUILLMO_BLEND_ROW(Shade34Rule)
QUILLMO_BLEND_ROW(Shade12Rule)
QUILLMO_BLEND_ROW(Shade14Rule)
QUILLMO_BLEND_ROW(SolidRule)
#undef QUILLMO_BLEND_ROW

// Filling is store-bound: the widest stores the processor has win, as they do
// for memset.
[[gnu::target_clones("avx512f", "avx2", "default")]] void fill_pairs(Pair* p, size_t n,
                                                                     uint32_t pair) {
    for (size_t i = 0; i < n; ++i) p[i] = pair;
}

// Tiles at least this long go to the row loop one by one; shorter ones are
// laid out in pieces of kTiledChunk pixels (on the stack) and blended at once.
constexpr int32_t kLongTile = 32;
constexpr size_t kTiledChunk = 512;

template <class Rule>
class BlendOp final : public PixelOp {
public:
    void row(uint16_t* begin, uint16_t* end, const uint16_t* src, int32_t, int32_t) const override {
        if (!src) return;
        if constexpr (std::is_same_v<Rule, CopyRule>) {
            std::memcpy(begin, src, static_cast<size_t>(end - begin) * 2);
        } else {
            blend_row(Rule{}, begin, src, static_cast<size_t>(end - begin));
        }
    }

    void scaled_row(uint16_t* begin, uint16_t* end, const uint16_t* row, int32_t start,
                    int32_t step, int32_t) const override {
        uint32_t pos = static_cast<uint32_t>(start);
        for (uint16_t* d = begin; d < end; ++d, pos += static_cast<uint32_t>(step))
            *d = Rule::apply(row[pos >> 10], *d);
    }

    void slice_row(uint16_t* begin, uint16_t* end, const uint16_t* row, int32_t start,
                   int32_t shift, int32_t src_y) const override {
        if (shift == 0) {
            this->row(begin, end, row + start, start, src_y);
            return;
        }
        int32_t j = start;
        for (uint16_t* d = begin; d < end; ++d, ++j) *d = Rule::apply(row[j >> shift], *d);
    }

    void wrapped_slice_row(uint16_t* begin, uint16_t* end, const uint16_t* row, int32_t start,
                           int32_t shift, int32_t wrap_to, int32_t wrap_at,
                           int32_t src_y) const override {
        if (wrap_at - wrap_to >= kLongTile) {
            // Long tiles are few to a row: whole runs up to the wrap point,
            // so the unshifted case keeps the tight row loop.
            int32_t j = start;
            while (begin < end) {
                int32_t run = static_cast<int32_t>(std::min<ptrdiff_t>(end - begin, wrap_at - j));
                slice_row(begin, begin + run, row, j, shift, src_y);
                begin += run;
                j += run;
                if (j == wrap_at) j = wrap_to;
            }
            return;
        }
        // Short tiles (a one-pixel middle is common) would cost a call each:
        // the repeated source is laid out once and blended in one call. A
        // copy lays it out straight into the destination.
        if constexpr (std::is_same_v<Rule, CopyRule>) {
            tiled_row::lay_out(begin, static_cast<size_t>(end - begin), row, start, shift, wrap_to,
                               wrap_at);
        } else if (((wrap_at - 1) >> shift) == (wrap_to >> shift)) {
            // The whole tile is one source pixel.
            blend_one(Rule{}, begin, row[wrap_to >> shift], static_cast<size_t>(end - begin));
        } else {
            alignas(32) uint16_t tiled[kTiledChunk];
            int32_t j = start;
            while (begin < end) {
                size_t n = std::min<size_t>(static_cast<size_t>(end - begin), kTiledChunk);
                j = tiled_row::lay_out(tiled, n, row, j, shift, wrap_to, wrap_at);
                blend_row(Rule{}, begin, tiled, n);
                begin += n;
            }
        }
    }

    std::unique_ptr<PixelOp> clone() const override { return std::make_unique<BlendOp>(); }
};

// Forwards to one of the shared shade ops, for holders that own their op.
class ForwardingOp final : public PixelOp {
public:
    explicit ForwardingOp(const PixelOp& target) : target_(target) {}
    void row(uint16_t* b, uint16_t* e, const uint16_t* s, int32_t x, int32_t y) const override {
        target_.row(b, e, s, x, y);
    }
    void scaled_row(uint16_t* b, uint16_t* e, const uint16_t* r, int32_t start, int32_t step,
                    int32_t y) const override {
        target_.scaled_row(b, e, r, start, step, y);
    }
    void slice_row(uint16_t* b, uint16_t* e, const uint16_t* r, int32_t start, int32_t shift,
                   int32_t y) const override {
        target_.slice_row(b, e, r, start, shift, y);
    }
    void wrapped_slice_row(uint16_t* b, uint16_t* e, const uint16_t* r, int32_t start,
                           int32_t shift, int32_t wrap_to, int32_t wrap_at,
                           int32_t y) const override {
        target_.wrapped_slice_row(b, e, r, start, shift, wrap_to, wrap_at, y);
    }
    std::unique_ptr<PixelOp> clone() const override {
        return std::make_unique<ForwardingOp>(target_);
    }

private:
    const PixelOp& target_;
};

// Fade levels as per-channel sums of shifted copies, masked so that no bit
// crosses into the next channel or, for a pair, the next pixel. No channel
// overflows or borrows in any level, so one 32-bit word fades two pixels.
constexpr uint32_t kOne = 0x08610861;
inline uint32_t d2(uint32_t x) { return (x >> 1) & 0x7BEF7BEF; }
inline uint32_t d4(uint32_t x) { return (x >> 2) & 0x39E739E7; }
inline uint32_t d8(uint32_t x) { return (x >> 3) & 0x18E318E3; }
inline uint32_t d16(uint32_t x) { return (x >> 4) & 0x08610861; }

template <int K>
inline uint32_t fade(uint32_t x) {
    if constexpr (K == 0)
        return 0;
    else if constexpr (K == 1)
        return d16(x);
    else if constexpr (K == 2)
        return d8(x);
    else if constexpr (K == 3)
        return d4(x) - d16(x);
    else if constexpr (K == 4)
        return d4(x);
    else if constexpr (K == 5)
        return d4(x) + d16(x) + kOne;
    else if constexpr (K == 6)
        return d2(x) - d8(x);
    else if constexpr (K == 7)
        return d2(x) - d16(x);
    else if constexpr (K == 8)
        return d2(x);
    else if constexpr (K == 9)
        return d2(x) + d16(x) + kOne;
    else if constexpr (K == 10)
        return d2(x) + d8(x) + kOne;
    else if constexpr (K == 11)
        return d2(x) + d8(x) + d16(x) + kOne;
    else if constexpr (K == 12)
        return x - d4(x);
    else if constexpr (K == 13)
        return x - d4(x) + d16(x);
    else if constexpr (K == 14)
        return x - d8(x);
    else if constexpr (K == 15)
        return x - d16(x);
    else
        return x;
}

// A single pixel goes through the pair formula in the low half; the "+ 1"
// constant then also lands in the high half, which is dropped.
template <int K>
void fade_row(uint16_t* begin, uint16_t* end) {
    if (K == 16 || begin >= end) return;
    if (reinterpret_cast<uintptr_t>(begin) & 2) {
        *begin = static_cast<uint16_t>(fade<K>(*begin));
        ++begin;
    }
    Pair* pair = reinterpret_cast<Pair*>(begin);
    Pair* pairs_end = pair + (end - begin) / 2;
    for (; pair < pairs_end; ++pair) *pair = fade<K>(*pair);
    if ((end - begin) & 1) end[-1] = static_cast<uint16_t>(fade<K>(end[-1]));
}

using FadeRow = void (*)(uint16_t*, uint16_t*);
template <int... K>
constexpr std::array<FadeRow, sizeof...(K)> fade_rows(std::integer_sequence<int, K...>) {
    return {&fade_row<K>...};
}
constexpr auto kFadeRows = fade_rows(std::make_integer_sequence<int, 17>{});

template <int... K>
constexpr std::array<uint32_t (*)(uint32_t), sizeof...(K)> fade_pixels(
    std::integer_sequence<int, K...>) {
    return {&fade<K>...};
}
constexpr auto kFadePixels = fade_pixels(std::make_integer_sequence<int, 17>{});

class FadeOp final : public PixelOp {
public:
    explicit FadeOp(int k) : k_(std::clamp(k, 0, 16)) {}
    void row(uint16_t* begin, uint16_t* end, const uint16_t*, int32_t, int32_t) const override {
        kFadeRows[static_cast<size_t>(k_)](begin, end);
    }
    std::unique_ptr<PixelOp> clone() const override { return std::make_unique<FadeOp>(k_); }

private:
    int k_;
};

const BlendOp<CopyRule> g_copy;
const BlendOp<KeyRule> g_key;
const BlendOp<Shade34Rule> g_shade_3_4;
const BlendOp<Shade12Rule> g_shade_1_2;
const BlendOp<Shade14Rule> g_shade_1_4;
const BlendOp<SolidRule> g_solid;

}  // namespace

void FillOp::row(uint16_t* begin, uint16_t* end, const uint16_t*, int32_t, int32_t) const {
    if (begin >= end) return;
    if (reinterpret_cast<uintptr_t>(begin) & 2) *begin++ = color_;
    Pair pair = uint32_t{color_} << 16 | color_;
    fill_pairs(reinterpret_cast<Pair*>(begin), static_cast<size_t>(end - begin) / 2, pair);
    if ((end - begin) & 1) end[-1] = color_;
}

namespace pixel_ops {

const PixelOp& copy() { return g_copy; }
const PixelOp& key() { return g_key; }
const PixelOp& shade_3_4() { return g_shade_3_4; }
const PixelOp& shade_1_2() { return g_shade_1_2; }
const PixelOp& shade_1_4() { return g_shade_1_4; }
const PixelOp& solid() { return g_solid; }

const PixelOp& shade_for(int v) {
    static const PixelOp* const kLevels[5] = {&g_key, &g_shade_3_4, &g_shade_1_2, &g_shade_1_4,
                                              &g_solid};
    return *kLevels[std::clamp(v / 64, 0, 4)];
}

std::unique_ptr<PixelOp> make_shade(int v) { return std::make_unique<ForwardingOp>(shade_for(v)); }

std::unique_ptr<PixelOp> make_fill(uint16_t color) { return std::make_unique<FillOp>(color); }

int fade_level(int v) { return std::clamp((v + 8) / 16, 0, 16); }

std::unique_ptr<PixelOp> make_fade(int k) { return std::make_unique<FadeOp>(k); }

std::unique_ptr<PixelOp> make_mask(const Picture& mask) { return std::make_unique<MaskOp>(mask); }

uint16_t half(uint16_t d) { return half_of(d); }
uint16_t quarter(uint16_t d) { return quarter_of(d); }

uint16_t fade_pixel(uint16_t x, int k) {
    return static_cast<uint16_t>(kFadePixels[static_cast<size_t>(std::clamp(k, 0, 16))](x));
}

uint16_t mask_pixel(uint16_t s, uint16_t d, int a) {
    return MaskOp::mix(s, d, static_cast<uint32_t>(std::clamp(a, 0, 31)));
}

}  // namespace pixel_ops
