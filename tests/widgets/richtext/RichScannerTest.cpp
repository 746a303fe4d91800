#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/Files.h"
#include "support/TestDevice.h"
#include "widgets/richtext/RichScanner.h"
#include "widgets/richtext/SmileyTable.h"

namespace fs = std::filesystem;

namespace {

// Each token as its kind letter and text: "P:see " "L:www.a.com" "S::)".
std::vector<std::u16string> pieces(std::u16string_view text, const SmileyTable* table = nullptr) {
    std::vector<std::u16string> out;
    for (const RichToken& t : RichScanner::scan(text, table)) {
        std::u16string kind = t.kind == RichToken::LINK     ? u"L:"
                              : t.kind == RichToken::SMILEY ? u"S:"
                                                            : u"P:";
        out.push_back(kind + std::u16string(text.substr(t.start, t.length)));
    }
    return out;
}

using P = std::vector<std::u16string>;

// The tokens cover the text in order, without gaps or overlaps.
void expect_covering(std::u16string_view text, const SmileyTable* table) {
    int32_t end = 0;
    for (const RichToken& t : RichScanner::scan(text, table)) {
        ASSERT_EQ(t.start, end);
        ASSERT_GT(t.length, 0);
        end = t.start + t.length;
    }
    ASSERT_EQ(static_cast<size_t>(end), text.size());
}

// A smiley table read from names written to a folder of its own: tests run
// in parallel.
class TableFile {
public:
    explicit TableFile(const std::string& names) {
        write_file(path_, names);
        table_ = std::make_unique<SmileyTable>(path_.u16string(), u"/nonexistent/");
    }
    const SmileyTable* get() const { return table_.get(); }

private:
    TestDevice device_;
    fs::path path_ = device_.program() / "names.txt";
    std::unique_ptr<SmileyTable> table_;
};

}  // namespace

TEST(RichScanner, LinksAreWordsWithAKnownStartOrSuffixCaseSensitively) {
    EXPECT_EQ(pieces(u"see www.example.com, now"),
              (P{u"P:see ", u"L:www.example.com", u"P:, now"}));
    EXPECT_EQ(pieces(u"http://a.b/c?d=1"), (P{u"L:http://a.b/c?d=1"}));
    EXPECT_EQ(pieces(u"go https://secure.example/x"), (P{u"P:go ", u"L:https://secure.example/x"}));
    EXPECT_EQ(pieces(u"WWW.EXAMPLE.COM"), (P{u"P:WWW.EXAMPLE.COM"}));
    EXPECT_EQ(pieces(u"WWW.EXAMPLE.ru"), (P{u"L:WWW.EXAMPLE.ru"}));
    // Leading punctuation is not part of the word.
    EXPECT_EQ(pieces(u"...mail.ru"), (P{u"P:...", u"L:mail.ru"}));
    // Letters beyond ASCII end a word.
    EXPECT_EQ(pieces(u"сайтmail.ru"), (P{u"P:сайт", u"L:mail.ru"}));
    EXPECT_FALSE(RichScanner::is_link(u"ru"));
    EXPECT_TRUE(RichScanner::is_link(u"a.ru"));
    EXPECT_TRUE(RichScanner::is_link(u"x.mobi"));
}

TEST(RichScanner, WordsMerelyEndingInNlOrPlAreNoLinks) {
    EXPECT_EQ(pieces(u"kiln ampl unl"), (P{u"P:kiln ampl unl"}));
    EXPECT_EQ(pieces(u"site.nl shop.pl"), (P{u"L:site.nl", u"P: ", u"L:shop.pl"}));
}

TEST(RichScanner, PhoneNumbersHaveThreeOrFiveToSevenTrailingDigits) {
    EXPECT_EQ(pieces(u"at 1234 ok"), (P{u"P:at 1234 ok"}));
    EXPECT_EQ(pieces(u"at 12345 ok"), (P{u"P:at ", u"L:12345", u"P: ok"}));
    EXPECT_EQ(pieces(u"call +1 (555) 123-4567."), (P{u"P:call ", u"L:+1 (555) 123-4567", u"P:."}));
    EXPECT_EQ(pieces(u"code abc123456 x"), (P{u"P:code abc123456 x"}));
    EXPECT_TRUE(RichScanner::is_phone_number(u"123456789012"));
    EXPECT_FALSE(RichScanner::is_phone_number(u"12"));
    // A number that is also the start of a link word gives one link.
    EXPECT_EQ(pieces(u"12345.com"), (P{u"L:12345.com"}));
}

TEST(RichScanner, SmileysFollowTableOrderAndNeedTwoCharactersLeft) {
    TableFile table("b=:-\na=:-) ;\n");
    // "a" sorts first, so ":-)" wins over its prefix ":-".
    EXPECT_EQ(pieces(u"hi:-)x", table.get()), (P{u"P:hi", u"S::-)", u"P:x"}));
    EXPECT_EQ(pieces(u"hi :-", table.get()), (P{u"P:hi ", u"S::-"}));
    // A one-character code as the very last character is not recognised.
    EXPECT_EQ(pieces(u"ok;", table.get()), (P{u"P:ok;"}));
    EXPECT_EQ(pieces(u";x", table.get()), (P{u"S:;", u"P:x"}));
    // A smiley ends the word before it: the word is not tested as a link.
    EXPECT_EQ(pieces(u"www.a.com:-)", table.get()), (P{u"P:www.a.com", u"S::-)"}));
    EXPECT_TRUE(RichScanner::scan(u"", table.get()).empty());
}

TEST(RichScanner, HostileLinksAreTextHeldExactly) {
    EXPECT_EQ(pieces(u"www.x.com;rm -rf ~"), (P{u"L:www.x.com", u"P:;rm -rf ~"}));
    EXPECT_EQ(pieces(u"http://a.com/`reboot`$(id)"), (P{u"L:http://a.com/`reboot`$", u"P:(id)"}));
    EXPECT_EQ(pieces(u"\"www.q.com\"&&ls"), (P{u"P:\"", u"L:www.q.com", u"P:\"&&ls"}));
}

TEST(RichScanner, LongAndDamagedTextIsCoveredExactly) {
    TableFile table("s=:) :-) ;)\n");
    std::mt19937 random(7);
    const std::u16string alphabet = u"ab1 .,:;-+()w/\n\t\x01\x1f\xd800\xdc00\xffff:)ю";
    for (int round = 0; round < 200; ++round) {
        std::u16string text;
        size_t length = random() % 300;
        for (size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        expect_covering(text, table.get());
    }
    std::u16string huge;
    while (huge.size() < 100000) huge += u"www.example.com :) +7 (912) 345-67-89 \xd800 ";
    expect_covering(huge, table.get());
    expect_covering(std::u16string(100000, u'\x07'), table.get());
    expect_covering(std::u16string(100000, u'5'), table.get());
}

TEST(RichScanner, TheFuzzCorpusIsCoveredExactly) {
    TableFile table("a=:) :-) ;)\nb=:-\n");
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(QUILLMO_RICHTEXT_FUZZ_CORPUS_DIR)) {
        const std::string bytes = read_file(entry.path());
        std::u16string text(bytes.size() / 2, u'\0');
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                            (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
        expect_covering(text, table.get());
        ++files;
    }
    EXPECT_GE(files, 5u);
}
