// The program as `cmake --install` leaves it: staged into a DESTDIR under a
// prefix other than the configured one, its program folder a copy of the
// build's, the programs linked into bin/, and the installed program running
// from a read-only tree without writing a byte into it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/Contains.h"
#include "support/Files.h"
#include "support/ProgramRun.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const fs::path kPrefix =
    fs::path(QUILLMO_INSTALL_ROOT) / fs::path(QUILLMO_INSTALL_PREFIX).relative_path();
const fs::path kProgramFolder = kPrefix / QUILLMO_INSTALL_PROGRAM_DIR;
const fs::path kBin = kPrefix / QUILLMO_INSTALL_BINDIR;
const fs::path kShare = kPrefix / QUILLMO_INSTALL_DATADIR;
const std::string kAppId = QUILLMO_APP_ID;

std::vector<std::string> installed_programs() {
    std::vector<std::string> programs = {"quillmo", "quillmo-device"};
    if (QUILLMO_INSTALL_HAS_TRANSPORT) programs.push_back("quillmo-transport");
    return programs;
}

// The regular files under folder, by path relative to it.
std::set<std::string> files_under(const fs::path& folder) {
    std::set<std::string> files;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files.insert(fs::relative(e.path(), folder).string());
    return files;
}

// Width and height from a PNG's header; zeros when it is no PNG.
std::array<uint32_t, 2> png_size(const fs::path& path) {
    std::string bytes = read_file(path);
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
    auto word = [&](size_t at) {
        uint32_t v = 0;
        for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
        return v;
    };
    return {word(16), word(20)};
}

// Every entry of a tree with what a write would change: a file written,
// added, removed or renamed in place changes its own line or its folder's
// modification time. As root, a read-only tree does not stop a write; this
// sees it all the same.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> entries;
    auto add = [&](const fs::path& path) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0) return;
        entries[path.string()] = std::to_string(st.st_mode) + " " + std::to_string(st.st_size) +
                                 " " + std::to_string(st.st_mtim.tv_sec) + "." +
                                 std::to_string(st.st_mtim.tv_nsec);
    };
    add(root);
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(root)) add(e.path());
    return entries;
}

// The entries that differ between two snapshots, or are in only one.
std::vector<std::string> changes(const std::map<std::string, std::string>& before,
                                 const std::map<std::string, std::string>& after) {
    std::vector<std::string> changed;
    for (const auto& [path, state] : before) {
        auto now = after.find(path);
        if (now == after.end() || now->second != state) changed.push_back(path);
    }
    for (const auto& [path, state] : after)
        if (!before.contains(path)) changed.push_back(path);
    return changed;
}

void make_tree_writable(const fs::path& root, bool writable) {
    auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    auto change = [&](const fs::path& path) {
        if (fs::is_symlink(path)) return;
        std::error_code ec;
        fs::permissions(path, writable ? fs::perms::owner_write : write,
                        writable ? fs::perm_options::add : fs::perm_options::remove, ec);
    };
    change(root);
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(root)) change(e.path());
}

TEST(InstalledTree, HoldsTheBuildsProgramFolderWithItsProgramsLinkedIntoBin) {
    // The program folder as the build makes it, less what only builds and
    // measures the program, and the test skin (its pictures carry its name).
    std::set<std::string> expected = files_under(QUILLMO_PROGRAM_DIR);
    for (const char* build_only : {"skinc", "quillmo-bench"}) expected.erase(build_only);
    std::erase_if(expected, [](const std::string& file) {
        return file == "skins/bin/test.skin" || file.starts_with("skins/bin/test_");
    });
    EXPECT_EQ(files_under(kProgramFolder), expected);

    // Relative links, so the tree may be staged anywhere and still resolve;
    // the program finds its folder through the link's target.
    for (const std::string& program : installed_programs()) {
        fs::path link = kBin / program;
        ASSERT_TRUE(fs::is_symlink(link)) << link;
        EXPECT_TRUE(fs::read_symlink(link).is_relative()) << fs::read_symlink(link);
        EXPECT_EQ(fs::canonical(link), fs::canonical(kProgramFolder / program));
    }

    // The desktop entry and AppStream file are checked by their validators.
    fs::path icons = kShare / "icons" / "hicolor";
    EXPECT_TRUE(contains(read_file(icons / "scalable" / "apps" / (kAppId + ".svg")), "<svg"));
    for (uint32_t size : {16u, 32u, 48u, 64u, 128u, 256u}) {
        std::string folder = std::to_string(size) + "x" + std::to_string(size);
        EXPECT_EQ(png_size(icons / folder / "apps" / (kAppId + ".png")),
                  (std::array<uint32_t, 2>{size, size}))
            << folder;
    }
}

TEST(InstalledTree, TheUserUnitStartsTheInstalledTransportDaemon) {
    fs::path unit = kPrefix / QUILLMO_INSTALL_SYSTEMD_USER_DIR / "quillmo-transport.service";
    if (!QUILLMO_INSTALL_HAS_TRANSPORT) {
        // No unit for a program that is not there.
        EXPECT_FALSE(fs::exists(unit));
        return;
    }
    std::string text = read_file(unit);
    // The path as installed: under the prefix given to the install, without
    // the staging folder.
    fs::path executable =
        fs::path(QUILLMO_INSTALL_PREFIX) / QUILLMO_INSTALL_BINDIR / "quillmo-transport";
    EXPECT_TRUE(contains(text, "\nExecStart=" + executable.string() + " --daemon\n")) << text;
    EXPECT_TRUE(contains(text, "\nRestart=on-failure\n")) << text;
    EXPECT_TRUE(contains(text, "\nWantedBy=default.target\n")) << text;
    EXPECT_EQ(fs::canonical(fs::path(QUILLMO_INSTALL_ROOT) / executable.relative_path()),
              fs::canonical(kProgramFolder / "quillmo-transport"));
}

class InstalledProgram : public ProgramRunFixture {
protected:
    InstalledProgram() { make_tree_writable(kPrefix, false); }
    ~InstalledProgram() override { make_tree_writable(kPrefix, true); }

    // The installed program through its link in bin/, with nothing pointing
    // it at a program folder.
    int run(const std::string& program, const std::vector<std::string>& args,
            const std::string& script, std::string* err) {
        ChildProcess child(
            (kBin / program).string(), args,
            {"QUILLMO_HOME=", "QUILLMO_VIDEO=headless", "QUILLMO_SCREEN=240x320@96",
             "QUILLMO_FORM=", "QUILLMO_SCRIPT=" + script, "XDG_RUNTIME_DIR=" + run_dir().string(),
             std::string("FONTCONFIG_FILE=") + QUILLMO_TEST_FONTS_CONF});
        int status = child.wait(60s);
        *err = child.err();
        return status;
    }
};

TEST_F(InstalledProgram, RunsFromAReadOnlyFolderAndWritesNothingThere) {
    std::map<std::string, std::string> before = snapshot(kPrefix);
    std::string err;
    ASSERT_EQ(run("quillmo-device", {"init"}, "", &err), 0) << err;
    ASSERT_EQ(run("quillmo-device",
                  {"reg", "set", "HKEY_CURRENT_USER\\Software\\Zelvor", "Log", "--number", "1"}, "",
                  &err),
              0)
        << err;
    ASSERT_EQ(run("quillmo-device", {"sms", "deliver", "--from", "+4915551234", "Installed hello"},
                  "", &err),
              0)
        << err;

    std::string dump = file("list.json").string();
    std::string script =
        write_script("list", "wait-for-id btnNew 20000\ndump " + dump + "\nquit\n");
    ASSERT_EQ(run("quillmo", {}, script, &err), 0) << err;

    // The chat list came from the program folder's skin and language and
    // shows the delivered message's chat.
    std::string list = read_file(dump);
    EXPECT_TRUE(contains(list, "Installed hello")) << list;
    EXPECT_TRUE(contains(list, "4915551234")) << list;
    // What the programs write went to the device folder.
    EXPECT_TRUE(contains(log_text(), "start time2:"));
    EXPECT_TRUE(fs::exists(device_.device() / "cache"));
    EXPECT_EQ(changes(before, snapshot(kPrefix)), std::vector<std::string>{});
}

}  // namespace
