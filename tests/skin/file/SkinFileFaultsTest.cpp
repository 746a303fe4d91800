// Damaged and hostile skin files: each must fail to load with its log line,
// never be read outside its bytes (the sanitizers watch), never loop.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "skin/SkinFromJson.h"
#include "skin/SkinTestSupport.h"
#include "skin/file/SkinFile.h"
#include "support/Files.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

using Bytes = CompiledSkin;

const std::string kPath = "%app_path%/main.skin";

// The named nodes "A", "Form" (the root of the index) and "Z"; Form has an
// integer, a string, a font and a picture entry and two children. Returns the
// bytes and the offset of Form.
Bytes base(uint32_t* node = nullptr) {
    Bytes bytes = compile_skin(R"({"named": {"A": {}, "Z": {},
        "Form": {"integers": {"a": 1, "b": 2}, "fonts": {"f": {}}, "strings": {"s": "hello"},
                 "pictures": {"p": {"file": "p"}},
                 "children": [{"integers": {"c": 3}}, {"integers": {"c": 3}}]}}})");
    if (node) *node = get32(bytes, 72) + 12;
    return bytes;
}

// Writes bytes as the program's main.skin and loads it: the skin, if any,
// and what the load wrote to the log; *failure gets the load's reason.
std::pair<std::unique_ptr<SkinFile>, std::string> load_file(const TestDevice& device,
                                                            const Bytes& bytes,
                                                            SkinFile::Makers makers = fake_makers(),
                                                            std::string* failure = nullptr) {
    // The log notices that an earlier capture switched it off only when it is
    // next used; without this call it would go on writing to the old file.
    log();
    LogCapture capture;
    write_file(device.program() / "main.skin", bytes);
    auto skin = SkinFile::load(utf16::from_utf8(kPath), 96, makers, failure);
    return {std::move(skin), capture.text()};
}

TEST(SkinFileFaults, ShortWrongMagicAndMissingFilesFailSilently) {
    TestDevice device;
    Bytes short_file = base();
    short_file.resize(91);
    Bytes wrong_magic = base();
    wrong_magic[0] = 0x20;
    const std::pair<Bytes, std::string> files[] = {
        {short_file, "shorter than the 92-byte header of a skin"},
        {wrong_magic, "not a skin file (wrong magic)"},
        {Bytes{}, "shorter than the 92-byte header of a skin"}};
    for (const auto& [bytes, reason] : files) {
        std::string failure;
        auto [skin, log] = load_file(device, bytes, fake_makers(), &failure);
        EXPECT_FALSE(skin);
        EXPECT_EQ(log, kRecordSizeLines);
        EXPECT_EQ(failure, reason);
    }
    log();
    LogCapture capture;
    // Neither a folder nor a FIFO is read: the FIFO would wait for a writer.
    ASSERT_EQ(mkfifo((device.program() / "fifo.skin").c_str(), 0600), 0);
    const std::pair<const char16_t*, std::string> paths[] = {
        {u"%app_path%/absent.skin", "no such file"},
        {u"%app_path%", "a folder, not a file"},
        {u"%app_path%/fifo.skin", "not a regular file"}};
    for (const auto& [path, reason] : paths) {
        std::string failure;
        EXPECT_FALSE(SkinFile::load(path, 96, fake_makers(), &failure));
        EXPECT_EQ(failure, reason);
    }
    EXPECT_EQ(capture.text(), kRecordSizeLines + kRecordSizeLines + kRecordSizeLines);
}

TEST(SkinFileFaults, FilesPointingOutsideThemselvesOrBreakingTheRulesAreRefused) {
    TestDevice device;
    uint32_t node = 0;
    const Bytes good = base(&node);
    ASSERT_TRUE(load_file(device, good).first);
    const uint32_t size = static_cast<uint32_t>(good.size());
    const uint32_t record = node - 12;
    auto s = [&](size_t i) {
        return static_cast<uint16_t>(good[node + 2 * i] | good[node + 2 * i + 1] << 8);
    };
    uint32_t child = get32(good, node + 16);
    // Each damage with the fault the validator names.
    struct Damage {
        const char* fault;
        std::function<void(Bytes&)> apply;
    };
    const std::vector<Damage> damages{
        {"index record outside the file", [&](Bytes& b) { put32(b, 72, size - 4); }},
        {"string block runs past the end of the file", [&](Bytes& b) { put32(b, 84, size + 10); }},
        // The last string unterminated.
        {"string block runs past the end of the file", [&](Bytes& b) { put32(b, 84, size - 1); }},
        {"string count larger than the file", [&](Bytes& b) { put32(b, 88, 0x7FFFFFFF); }},
        {"index name outside the file", [&](Bytes& b) { put32(b, record + 8, size); }},
        {"index record reached twice", [&](Bytes& b) { put32(b, record, record); }},
        {"index records not ordered by name",
         [&](Bytes& b) {
             put32(b, record, get32(good, record + 4));
             put32(b, record + 4, get32(good, record));
         }},
        {"sections outside the file", [&](Bytes& b) { put16(b, node + 12, 0xFFF0); }},
        {"section bounds decrease",
         [&](Bytes& b) { put16(b, node + 2, static_cast<uint16_t>(s(0) - 8)); }},
        {"section not a whole number of entries",
         [&](Bytes& b) { put16(b, node, static_cast<uint16_t>(s(0) + 2)); }},
        {"child offsets outside the file", [&](Bytes& b) { put16(b, node + 14, 0xFFFF); }},
        {"child node outside the file", [&](Bytes& b) { put32(b, node + 16, size - 2); }},
        {"node is its own ancestor", [&](Bytes& b) { put32(b, node + 16, node); }},
        {"node is the child of two parents", [&](Bytes& b) { put32(b, node + 20, child); }},
        {"node is the child of two parents",
         [&](Bytes& b) {
             // The leaf names itself as its one child (over its first entry).
             put16(b, child + 14, 1);
             put32(b, child + 16, child);
         }},
        {"attribute name outside the file", [&](Bytes& b) { put16(b, node + s(0), 0xFFFF); }},
        {"section not sorted by name",
         [&](Bytes& b) { put16(b, node + s(0) + 8, get32(b, node + s(0)) & 0xFFFF); }},
        {"font index out of range", [&](Bytes& b) { put32(b, node + s(1) + 4, 1); }},
        {"string index out of range", [&](Bytes& b) { put16(b, node + s(3) + 2, 1); }},
        {"picture index out of range", [&](Bytes& b) { b[node + s(4) + 18] = 1; }},
    };
    for (size_t i = 0; i < damages.size(); ++i) {
        Bytes bytes = good;
        damages[i].apply(bytes);
        std::string failure;
        auto [skin, log] = load_file(device, bytes, fake_makers(), &failure);
        EXPECT_FALSE(skin) << "damage " << i;
        EXPECT_EQ(failure, damages[i].fault) << "damage " << i;
        EXPECT_EQ(log, kRecordSizeLines + "Error: skin [" + kPath + "] failed to load\n")
            << "damage " << i;
    }
}

TEST(SkinFileFaults, AMissingPictureFileFailsTheLoadBeforeAnyFontIsMade) {
    TestDevice device;
    std::vector<FontDesc> fonts;
    std::string failure;
    const SkinFile::Makers makers{SkinFile::default_makers().picture,
                                  fake_makers(nullptr, &fonts).font};
    auto [skin, log] = load_file(device, base(), makers, &failure);
    EXPECT_FALSE(skin);
    EXPECT_EQ(failure, "picture " + (device.program() / "p.bmp").string() + " failed to load");
    EXPECT_TRUE(contains(log, "PropertiesImpl::PropertiesImpl picture failed to load {p}\n"));
    EXPECT_FALSE(contains(log, "fonts create time"));
    EXPECT_TRUE(fonts.empty());

    // A 1 x 1 16-bit BMP in its place: the skin loads with it.
    std::string bmp("BM\x3A\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\1\0\0\0\1\0\0\0\1\0\x10", 29);
    bmp.resize(58);
    write_file(device.program() / "p.bmp", bmp);
    skin = load_file(device, base(), makers).first;
    ASSERT_TRUE(skin);
    EXPECT_EQ(skin->pictures()[0].size(), (Size{1, 1}));
}

std::vector<Bytes> files_in(const std::filesystem::path& folder) {
    std::vector<Bytes> files;
    if (!std::filesystem::is_directory(folder)) return files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string bytes = read_file(entry.path());
        files.emplace_back(bytes.begin(), bytes.end());
    }
    return files;
}

TEST(SkinFileFaults, FuzzSeedsLoadAndKeptCrashesFailCleanly) {
    TestDevice device;
    auto seeds = files_in(QUILLMO_SKIN_FUZZ_CORPUS_DIR);
    EXPECT_FALSE(seeds.empty());
    for (const Bytes& seed : seeds)
        EXPECT_TRUE(SkinFile::load_bytes(seed, u"x", 96, fake_makers()));
    for (const Bytes& crash : files_in(QUILLMO_SKIN_FUZZ_CRASHES_DIR))
        SkinFile::load_bytes(crash, u"x", 96, fake_makers());  // the sanitizers judge
}

}  // namespace
