#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "LangFiles.h"
#include "lang/KeyValueFile.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

KeyValueFile::Map parse_bytes(const std::string& bytes) {
    return KeyValueFile::parse({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

TEST(KeyValueFile, TakesKeysAndValuesExactlyAsTheLinesGiveThem) {
    KeyValueFile::Map pairs = KeyValueFile::parse_text(
        u"  Cancel=Back\r\n"
        u"spaced = value\n"
        u"plain \t value with  inner  spaces  \r"
        u"trailing=kept   \n"
        u"alone\n"
        u"=orphan\n"
        u"\n\t\n"
        u"Cancel=Later wins\n"
        u"path=a=b");
    KeyValueFile::Map expected = {
        {u"Cancel", u"Later wins"},
        {u"spaced", u"= value"},
        {u"plain", u"value with  inner  spaces  "},
        {u"trailing", u"kept   "},
        {u"alone", u""},
        {u"path", u"a=b"},
    };
    EXPECT_EQ(pairs, expected);
}

TEST(KeyValueFile, ReadsUtf16WithByteOrderMarkAndAnythingElseAsLatin1) {
    std::u16string russian = u"Cancel=Отмена\r\n";
    EXPECT_EQ(parse_bytes(utf16_file(russian)).at(u"Cancel"), u"Отмена");
    // The same text saved as 8-bit (UTF-8 here) is not read as Cyrillic.
    std::u16string eight_bit = parse_bytes(utf16::to_utf8(russian)).at(u"Cancel");
    EXPECT_NE(eight_bit, u"Отмена");
    EXPECT_EQ(eight_bit.size(), 12u);
    EXPECT_EQ(parse_bytes("Caf\xE9=\xFF").at(u"Café"), u"ÿ");
    // Short and odd files do not confuse the decoder.
    EXPECT_TRUE(parse_bytes("\xFF\xFE").empty());
    EXPECT_TRUE(parse_bytes("").empty());
    // A lone FF is one 8-bit character, a key with an empty value.
    EXPECT_EQ(parse_bytes("\xFF").at(u"ÿ"), u"");
    // The stray last byte of an odd-sized UTF-16 file is dropped.
    EXPECT_EQ(parse_bytes(utf16_file(u"k=ab") + "c").at(u"k"), u"ab");
}

TEST(KeyValueFile, LoadRefusesMissingOversizedAndNonRegularFilesWithoutBlocking) {
    TestDevice device;
    write_file(device.program() / "small.lng", utf16_file(u"k=v"));
    ASSERT_TRUE(KeyValueFile::load(u"%app_path%/small.lng"));
    EXPECT_EQ(KeyValueFile::load(u"%app_path%/small.lng")->at(u"k"), u"v");
    EXPECT_FALSE(KeyValueFile::load(u"%app_path%/missing.lng"));

    LogCapture capture;
    std::filesystem::create_directory(device.program() / "folder.lng");
    EXPECT_FALSE(KeyValueFile::load(u"%app_path%/folder.lng"));
    std::filesystem::path huge = device.program() / "huge.lng";
    write_file(huge, "k=v");
    std::filesystem::resize_file(huge, KeyValueFile::kMaxFileSize + 1);
    EXPECT_FALSE(KeyValueFile::load(u"%app_path%/huge.lng"));
    EXPECT_FALSE(KeyValueFile::load(std::u16string(u"%app_path%/small.lng\0x", 22)));
    ASSERT_EQ(mkfifo((device.program() / "fifo.lng").c_str(), 0600), 0);
    EXPECT_FALSE(KeyValueFile::load(u"%app_path%/fifo.lng"));
    EXPECT_TRUE(capture.has("huge.lng: larger than 16 MB\n"));
    EXPECT_TRUE(capture.has("folder.lng: a folder, not a file\n"));
    EXPECT_TRUE(capture.has("fifo.lng: not a regular file\n"));
}

}  // namespace
