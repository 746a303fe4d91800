// skinc from its command line: what a build puts on disk, and that a build or
// dump that fails says why in one line, exits non-zero and leaves the output
// folder as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "draw/pictures/Load565.h"
#include "draw/pictures/PngWriter.h"
#include "platform/Utf16.h"
#include "support/Contains.h"
#include "support/FileSizeLimit.h"
#include "support/Files.h"
#include "support/TestDevice.h"
#include "tools/skinc/BmpWriter.h"
#include "tools/skinc/SkincMain.h"

namespace {

namespace fs = std::filesystem;

struct SkincRun {
    int status = -1;
    std::string out, err;
};

SkincRun skinc(std::vector<std::string> args) {
    std::ostringstream out, err;
    SkincRun run;
    run.status = skinc_main(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// side x side pixels (2 x 2 unless said), the second of the top row red.
std::unique_ptr<PixelBuffer> pixels(int32_t side = 2) {
    auto p = PixelBuffer::create(side, side);
    p->set_pixel(1, 0, 0xF800);
    return p;
}

std::string bmp(int32_t side = 2) {
    auto bytes = bmp_565(*pixels(side));
    return {bytes.begin(), bytes.end()};
}

// Everything under folder, temporary files included, with file contents.
std::set<std::pair<std::string, std::string>> tree(const fs::path& folder) {
    std::set<std::pair<std::string, std::string>> found;
    if (!fs::exists(folder)) return found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        found.emplace(fs::relative(entry.path(), folder).string(),
                      entry.is_regular_file() ? read_file(entry.path()) : "");
    return found;
}

// A source folder src/ with the pictures dot (a PNG), icons/arrow, new/dot and
// dot.bmp/sub (BMPs) and flat (a damaged BMP).
struct Sources {
    TestDevice device;
    fs::path src = device.program() / "src", out = device.program() / "out";
    std::string skin = (out / "x.skin").string();

    Sources() {
        std::string error;
        fs::create_directories(src);
        EXPECT_TRUE(PngWriter::write(*pixels(), (src / "dot.png").string(), &error)) << error;
        write_file(src / "icons/arrow.bmp", bmp());
        write_file(src / "new/dot.bmp", bmp());
        write_file(src / "dot.bmp/sub.bmp", bmp());
        write_file(src / "flat.bmp", "BM not a picture");
    }
    // Writes a new source using these pictures and returns its path.
    std::string source(const std::string& files) {
        std::string json = R"({"named": {"Form": {"pictures": {)";
        std::istringstream list(files);
        int i = 0;
        for (std::string file; list >> file; ++i)
            json += (i ? ",\"p" : "\"p") + std::to_string(i) + R"(": {"file": ")" + file + "\"}";
        fs::path path = src / ("skin" + std::to_string(sources++) + ".json");
        write_file(path, json + "}}}}");
        return path.string();
    }
    int sources = 0;
};

TEST(SkincMain, AFailedBuildLeavesTheOutputFolderAsItWas) {
    Sources s;
    write_file(s.out / "x.skin", "old skin");
    write_file(s.out / "dot.bmp", "old picture");
    const auto before = tree(s.out);
    ASSERT_EQ(mkfifo((s.src / "pipe.png").c_str(), 0600), 0);
    // Sources that are not files are refused at once; a FIFO is not waited on.
    const fs::path fifo = s.src / "fifo.json", huge = s.src / "huge.json";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    write_file(huge, "");
    fs::resize_file(huge, (16 << 20) + 1);
    const std::pair<std::string, std::string> cases[] = {
        {fifo.string(), "not a regular file"},
        {"/dev/zero", "not a regular file"},
        {s.src.string(), "a folder, not a file"},
        {huge.string(), "larger than 16 MB"},
        // The first picture is ready before the second turns out to be missing.
        {s.source("dot new/dot absent"), R"(picture "absent": found neither)"},
        {s.source("dot flat"), "flat.bmp: not a 16-bit BMP"},
        {s.source("dot pipe"), "pipe.png: not a regular file"},
        {s.source("../outside"), "leaves the skin's folder"},
        {s.source("dot dot.bmp/sub"),
         "cannot write into " + (s.out / "dot.bmp").string() + ": not a folder"},
    };
    for (const auto& [source, reason] : cases) {
        SkincRun run = skinc({source, s.skin});
        EXPECT_EQ(run.status, 1) << reason;
        EXPECT_EQ(run.err.rfind("skinc: " + source + ": ", 0), 0u) << run.err;
        EXPECT_TRUE(contains(run.err, reason));
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(tree(s.out), before) << reason;
    }
}

TEST(SkincMain, WriteErrorsFailTheBuildAndLeaveNothing) {
    Sources s;
    const std::string source = s.source("");
    // Renaming over a device or FIFO would replace it, not write to it.
    ASSERT_EQ(mkfifo((s.device.program() / "fifo.skin").c_str(), 0600), 0);
    for (const std::string& target :
         {std::string("/dev/full"), (s.device.program() / "fifo.skin").string()}) {
        SkincRun run = skinc({source, target});
        EXPECT_EQ(run.status, 1) << target;
        EXPECT_TRUE(contains(run.err, "cannot write " + target + ": not a regular file"));
        struct stat st {};
        ASSERT_EQ(stat(target.c_str(), &st), 0);
        EXPECT_FALSE(S_ISREG(st.st_mode)) << target;
    }
    // A disk that takes no more than 100 bytes per file: the picture fits,
    // the skin does not.
    write_file(s.skin, "old skin");
    const auto before = tree(s.out);
    SkincRun run;
    {
        FileSizeLimit limit(100);
        run = skinc({s.source("dot"), s.skin});
    }
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.err, "cannot write " + s.skin + ": File too large"));
    EXPECT_EQ(tree(s.out), before);
}

TEST(SkincMain, DensityVariantsAreBuiltBesideTheirPictureAtTwiceAndFourTimesItsSize) {
    Sources s;
    std::string error;
    ASSERT_TRUE(PngWriter::write(*pixels(4), (s.src / "dot@2x.png").string(), &error)) << error;
    write_file(s.src / "icons/arrow@4x.bmp", bmp(8));
    SkincRun run = skinc({s.source("dot icons/arrow"), s.skin});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(load_565(utf16::from_utf8((s.out / "dot@2x").string())).size(), (Size{4, 4}));
    EXPECT_EQ(load_565(utf16::from_utf8((s.out / "icons/arrow@4x").string())).size(), (Size{8, 8}));
    EXPECT_FALSE(fs::exists(s.out / "dot@4x.bmp"));
    EXPECT_FALSE(fs::exists(s.out / "icons/arrow@2x.bmp"));

    // A variant that is not the picture's size times its factor, or does not
    // load, stops the build and leaves the output as it was.
    const auto before = tree(s.out);
    const std::pair<std::string, std::string> cases[] = {
        {"dot@4x.bmp", R"(picture "dot@4x" is 6x6, not 4 times the size of "dot" (2x2))"},
        {"new/dot@2x.bmp", "dot@2x.bmp: not a 16-bit BMP"},
    };
    write_file(s.src / "dot@4x.bmp", bmp(6));
    write_file(s.src / "new/dot@2x.bmp", "BM not a picture");
    for (const auto& [file, reason] : cases) {
        const std::string source = s.source(file.starts_with("new") ? "new/dot" : "dot");
        run = skinc({source, s.skin});
        EXPECT_EQ(run.status, 1) << file;
        EXPECT_TRUE(contains(run.err, reason)) << run.err;
        EXPECT_EQ(tree(s.out), before) << file;
    }
}

TEST(SkincMain, BuiltSkinsDumpAndAFailedDumpSaysWhy) {
    Sources s;
    SkincRun built = skinc({s.source("dot icons/arrow"), s.skin});
    ASSERT_EQ(built.status, 0) << built.err;
    std::set<std::string> names;
    for (const auto& [name, content] : tree(s.out)) names.insert(name);
    EXPECT_EQ(names, (std::set<std::string>{"x.skin", "dot.bmp", "icons", "icons/arrow.bmp"}));
    EXPECT_EQ(read_file(s.out / "dot.bmp"), bmp());  // the PNG converted exactly
    SkincRun dump = skinc({"--dump", s.skin});
    EXPECT_EQ(dump.status, 0) << dump.err;
    EXPECT_TRUE(contains(dump.out, R"("file":"icons/arrow")"));
    std::string damaged = read_file(s.skin);
    damaged[75] = '\x7F';  // the root record far outside the file
    write_file(s.out / "damaged.skin", damaged);
    fs::remove(s.out / "dot.bmp");
    const std::pair<std::string, std::string> cases[] = {
        {s.skin, "picture " + (s.out / "dot.bmp").string() + " failed to load"},
        {(s.out / "damaged.skin").string(), "index record outside the file"},
        {(s.out / "absent.skin").string(), "no such file"},
    };
    for (const auto& [file, reason] : cases) {
        SkincRun run = skinc({"--dump", file});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "skinc: " + file + ": not a loadable skin: " + reason + "\n");
        EXPECT_EQ(run.out, "");
    }
    using Args = std::vector<std::string>;
    for (const Args& args : {Args{}, Args{"a", "b", "c"}, Args{"--dump", "--dpi", "x", s.skin},
                             Args{"--verbose", "x.skin"}}) {
        SkincRun run = skinc(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind("usage: skinc", 0), 0u);
    }
}

}  // namespace
