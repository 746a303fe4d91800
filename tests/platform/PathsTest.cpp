#include <gtest/gtest.h>

#include "platform/Paths.h"
#include "support/TestDevice.h"

namespace {

std::u16string u(const std::string& s) { return std::u16string(s.begin(), s.end()); }

TEST(Paths, ExpandsOneLeadingMacroTurnsSeparatorsAndFindsTheDeviceFolder) {
    TestDevice device;
    std::u16string home = u(device.program().string());
    EXPECT_EQ(paths::expand(u"%app_path%/skins\\bin/splash.skin"),
              home + u"/skins/bin/splash.skin");
    EXPECT_EQ(paths::expand(u"\\Temp\\x"), u"/Temp/x");
    // A macro that is not at the very start stays as written.
    EXPECT_EQ(paths::expand(u"abc\\%app_path%"), u"abc/%app_path%");
    std::u16string name = paths::file_part(paths::get_app_path());
    EXPECT_EQ(paths::expand(u"%app_name%.txt"), name + u".txt");
    EXPECT_EQ(paths::expand(u"%app_full_name%"), home + u"/" + name);
    EXPECT_EQ(paths::expand_folder(u"%app_path%/skins/"), home + u"/skins");
    // Special folders live in the device folder.
    std::u16string dev = u(device.device().string());
    EXPECT_EQ(paths::expand(u"%windows%/tmail.exe"), dev + u"/Windows/tmail.exe");
    EXPECT_EQ(paths::expand(u"%my_documents%"), dev + u"/My Documents");
    // An unknown macro is no macro: copied as written.
    EXPECT_EQ(paths::expand(u"%nothing%/a"), u"%nothing%/a");

    // Without one named, the device folder lies under the XDG data folder.
    unsetenv("QUILLMO_DEVICE");
    setenv("XDG_DATA_HOME", "/tmp/xdg-test", 1);
    EXPECT_EQ(paths::device_folder(), u"/tmp/xdg-test/quillmo");
    unsetenv("XDG_DATA_HOME");
}

TEST(Paths, FolderAndFilePartsTakeTheLaterSeparator) {
    EXPECT_EQ(paths::folder_part(u"a/b\\c.txt"), u"a/b\\");
    EXPECT_EQ(paths::file_part(u"a\\b/c.txt"), u"c.txt");
    EXPECT_EQ(paths::file_part(u"plain"), u"plain");
    EXPECT_EQ(paths::folder_part(u"plain"), u"");
    EXPECT_EQ(paths::to_upper(u"straße ж"), u"STRASSE Ж");
}

}  // namespace
