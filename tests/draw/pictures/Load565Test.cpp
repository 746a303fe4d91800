#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <vector>

#include "draw/pictures/Load565.h"
#include "support/Files.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Pixels = std::vector<std::vector<uint16_t>>;

// Little-endian fields of 4 or 2 bytes.
void put32(Bytes& b, size_t at, uint32_t v, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void put16(Bytes& b, size_t at, uint16_t v) { put32(b, at, v, 2); }

// A BMP file as written by hand: 14-byte file header, 40-byte information
// header, `extra` bytes (bitfield masks) and rows padded to 4 bytes. rows are
// given in file order.
Bytes bmp(int32_t width, int32_t height, const Pixels& rows, uint16_t bits = 16,
          uint32_t compression = 0, const Bytes& extra = {}) {
    size_t padded = ((16 * static_cast<size_t>(width) + 31) / 32) * 4;
    size_t offset = 54 + extra.size();
    Bytes b(offset + padded * rows.size(), 0xEE);  // padding bytes are not zero on purpose
    b[0] = 'B', b[1] = 'M';
    put32(b, 2, static_cast<uint32_t>(b.size()));
    put32(b, 10, static_cast<uint32_t>(offset));
    put32(b, 14, 40);
    put32(b, 18, static_cast<uint32_t>(width));
    put32(b, 22, static_cast<uint32_t>(height));
    put16(b, 26, 1);
    put16(b, 28, bits);
    put32(b, 30, compression);
    std::copy(extra.begin(), extra.end(), b.begin() + 54);
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t x = 0; x < rows[i].size(); ++x)
            put16(b, offset + i * padded + 2 * x, rows[i][x]);
    return b;
}

// The rows of a picture; none for an empty one.
Pixels pixels_of(const Picture& p) {
    Pixels rows;
    if (p.empty()) return rows;
    const PixelBuffer& buffer = p.data()->pixels();
    for (int32_t y = 0; y < buffer.height(); ++y) {
        rows.emplace_back();
        for (int32_t x = 0; x < buffer.width(); ++x) rows.back().push_back(buffer.pixel(x, y));
    }
    return rows;
}

TEST(Load565, ReadsBottomUpAndTopDownRowsSkippingPaddingAndBitfieldMasks) {
    // Positive height is bottom-up; odd widths pad their rows to 4 bytes.
    Picture p = load_565_from_memory(bmp(3, 2, {{1, 2, 3}, {0xF800, 0x07E0, 0x001F}}), u"skins/x");
    ASSERT_EQ(pixels_of(p), (Pixels{{0xF800, 0x07E0, 0x001F}, {1, 2, 3}}));
    EXPECT_EQ(p.data()->name(), u"skins/x");
    EXPECT_EQ(p.points, (std::array<Point, 4>{Point{0, 0}, Point{0, 0}, Point{3, 2}, Point{3, 2}}));

    // Negative height is top-down (3 rows high); the pixel data offset points
    // past the RGB565 masks after the header.
    Bytes masks(12);
    put32(masks, 0, 0xF800);
    put32(masks, 4, 0x07E0);
    put32(masks, 8, 0x001F);
    p = load_565_from_memory(bmp(2, -3, {{1, 2}, {3, 4}, {5, 6}}, 16, 3, masks), u"t");
    EXPECT_EQ(pixels_of(p), (Pixels{{1, 2}, {3, 4}, {5, 6}}));
    EXPECT_EQ(p.points[3], (Point{2, 3}));

    // The last row may lack its padding.
    Bytes file = bmp(1, 2, {{7}, {9}});
    file.erase(file.end() - 2, file.end());
    EXPECT_EQ(pixels_of(load_565_from_memory(file, u"t")), (Pixels{{9}, {7}}));
}

TEST(Load565, DamagedForeignOrMissingFilesGiveAnEmptyPictureAndTheLogLine) {
    TestDevice device;
    LogCapture capture;
    Bytes good = bmp(4, 4, Pixels(4, std::vector<uint16_t>(4, 0x1234)));
    auto with = [&](auto change) {
        Bytes b = good;
        change(b);
        return b;
    };
    const std::pair<const char*, Bytes> refused[] = {
        {"24 bit", bmp(4, 4, {{1, 2, 3, 4}}, 24)},
        {"empty file", Bytes{}},
        {"headers only in part", Bytes(good.begin(), good.begin() + 53)},
        {"pixels cut short", Bytes(good.begin(), good.end() - 3)},
        {"offset past the end", with([](Bytes& b) { put32(b, 10, 0xFFFFFFF0u); })},
        {"offset inside the headers", with([](Bytes& b) { put32(b, 10, 20); })},
        {"huge width", with([](Bytes& b) { put32(b, 18, 0x7FFFFFFF); })},
        {"negative width", with([](Bytes& b) { put32(b, 18, static_cast<uint32_t>(-4)); })},
        {"most negative height", with([](Bytes& b) { put32(b, 22, 0x80000000u); })},
        {"huge area", with([](Bytes& b) { put32(b, 18, 16000), put32(b, 22, 16000); })},
    };
    std::string expected;
    for (const auto& [what, bytes] : refused) {
        EXPECT_TRUE(load_565_from_memory(bytes, u"skins/bad").empty()) << what;
        expected += "load_565 skins/bad is not 16bit bitmap\n";
    }
    EXPECT_TRUE(load_565(u"%app_path%/smiles/missing").empty());
    EXPECT_EQ(capture.text(),
              expected + "load_565 %app_path%/smiles/missing is not 16bit bitmap\n");
}

TEST(Load565, ReadsFilesThroughPathMacrosButRefusesAFifoFolderOrDeviceAtOnce) {
    TestDevice device;
    const std::filesystem::path dir = device.program() / "skins";
    write_file(dir / "smile.bmp", bmp(1, 1, {{0x1111}}));
    write_file(dir / "smile_mask.bmp", bmp(1, 1, {{0x001F}}));
    Picture p = load_565(u"%app_path%/skins/smile");
    ASSERT_EQ(pixels_of(p), (Pixels{{0x1111}}));
    EXPECT_EQ(p.data()->name(), u"%app_path%/skins/smile");
    EXPECT_EQ(pixels_of(load_565_mask(u"%app_path%/skins/smile")), (Pixels{{0x001F}}));

    LogCapture capture;
    std::filesystem::create_directories(dir / "folder.bmp");
    std::filesystem::create_symlink("/dev/zero", dir / "zero.bmp");
    const std::string fifo = (dir / "pipe.bmp").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    // Opening a FIFO for reading waits for a writer; should the loader do so,
    // a writer is opened after the wait so that the test ends either way.
    auto loading =
        std::async(std::launch::async, [] { return load_565(u"%app_path%/skins/pipe"); });
    bool prompt = loading.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!prompt) close(open(fifo.c_str(), O_WRONLY));
    EXPECT_TRUE(prompt);
    EXPECT_TRUE(loading.get().empty());
    EXPECT_TRUE(load_565(u"%app_path%/skins/folder").empty());
    EXPECT_TRUE(load_565(u"%app_path%/skins/zero").empty());
    EXPECT_EQ(capture.text(),
              "load_565 %app_path%/skins/pipe is not 16bit bitmap\n"
              "load_565 %app_path%/skins/folder is not 16bit bitmap\n"
              "load_565 %app_path%/skins/zero is not 16bit bitmap\n");
}

// Inputs that once broke the loader (found by fuzz/fuzz_bmp), kept for good,
// and the seed corpus: none may crash, every seed must load.
TEST(Load565, KeptFuzzInputsAndSeedsLoadSafely) {
    namespace fs = std::filesystem;
    for (const char* dir : {QUILLMO_FUZZ_CRASHES_DIR, QUILLMO_FUZZ_CORPUS_DIR}) {
        if (!fs::exists(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir)) {
            std::string file = read_file(entry.path());
            bool loaded = !load_565_from_memory(Bytes(file.begin(), file.end()), u"fuzz").empty();
            EXPECT_TRUE(loaded || std::string(dir) != QUILLMO_FUZZ_CORPUS_DIR) << entry.path();
        }
    }
}

}  // namespace
