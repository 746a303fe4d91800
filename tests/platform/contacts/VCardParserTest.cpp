#include <gtest/gtest.h>

#include <filesystem>

#include "ContactTestData.h"
#include "platform/Utf16.h"
#include "platform/contacts/VCardParser.h"
#include "support/Files.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

// The cards of text, each as "NAME[group]{param=value,...}:value" lines.
std::vector<std::vector<std::string>> dump(const std::string& text,
                                           VCardParser::Summary* summary = nullptr) {
    VCardParser parser;
    std::vector<std::vector<std::string>> cards;
    auto result = parser.parse(text, [&](const VCard& card) {
        std::vector<std::string> lines{"VERSION:" + std::string(card.version)};
        for (const VCardProperty& p : card.properties) {
            std::string line(p.name);
            if (!p.group.empty()) line += "[" + std::string(p.group) + "]";
            line += "{";
            for (const VCardParameter& param : p.parameters)
                line += std::string(param.name) + "=" + std::string(param.value) + ",";
            line += "}:" + std::string(p.value);
            lines.push_back(line);
        }
        cards.push_back(lines);
    });
    if (summary) *summary = result;
    return cards;
}

std::u16string decoded(const std::string& card_text, const char* property) {
    VCardParser parser;
    VCardDecoder decoder;
    std::u16string text;
    parser.parse(card_text, [&](const VCard& card) {
        if (const VCardProperty* p = card.find(property)) text = decoder.text(*p);
    });
    return text;
}

TEST(VCardParser, SplitsLinesGroupsParametersAndUnfolds) {
    std::string text =
        "BEGIN:VCARD\r\nVERSION:3.0\nitem1.TEL;TYPE=\"work,voice\";X-NOTE=\"a:b;c\":+1 555\r\n"
        "NOTE:long\r\n  line\r\n\tend\r\ntel;CELL;PREF;QUOTED-PRINTABLE:=31\r\n"
        "not a content line\r\nend:vcard\r\n";
    EXPECT_EQ(dump(text), (std::vector<std::vector<std::string>>{{
                              "VERSION:3.0",
                              "TEL[item1]{TYPE=work,voice,X-NOTE=a:b;c,}:+1 555",
                              "NOTE{}:long lineend",
                              "tel{TYPE=CELL,TYPE=PREF,ENCODING=QUOTED-PRINTABLE,}:=31",
                          }}));
    // vCard 2.1 folds before white space that belongs to the value.
    EXPECT_EQ(dump("BEGIN:VCARD\r\nVERSION:2.1\r\nNOTE:long\r\n line\r\nEND:VCARD\r\n")[0][1],
              "NOTE{}:long line");
}

TEST(VCardParser, JoinsSoftBreaksAndPassesOverPhotosAndNestedCards) {
    std::string text =
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN;ENCODING=QUOTED-PRINTABLE:=41=\r\n=42;=43\r\n"
        "PHOTO;ENCODING=BASE64;TYPE=JPEG:AAAA\r\nBBBB\r\nCCCC\r\n\r\n"
        "AGENT:\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nFN:Agent\r\nEND:VCARD\r\n"
        "FN;QUOTED-PRINTABLE:truncated=\r\nEND:VCARD\r\n";
    auto cards = dump(text);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0],
              (std::vector<std::string>{"VERSION:2.1", "N{ENCODING=QUOTED-PRINTABLE,}:=41=42;=43",
                                        "PHOTO{ENCODING=BASE64,TYPE=JPEG,}:AAAABBBBCCCC",
                                        "AGENT{}:", "FN{ENCODING=QUOTED-PRINTABLE,}:truncated="}));
    EXPECT_EQ(decoded(text, "FN"), u"truncated");
}

TEST(VCardParser, ReadsSeveralCardsByteOrderMarksAndUtf16) {
    std::string two =
        "\xEF\xBB\xBF"
        "BEGIN:VCARD\nFN:A\nEND:VCARD\nBEGIN:VCARD\rFN:B\rEND:VCARD";
    EXPECT_EQ(dump(two).size(), 2u);

    std::u16string wide = u"\uFEFFBEGIN:VCARD\r\nVERSION:3.0\r\nFN:Zoë\r\nEND:VCARD\r\n";
    std::string little;
    for (char16_t c : wide) {
        little.push_back(static_cast<char>(c & 0xFF));
        little.push_back(static_cast<char>(c >> 8));
    }
    EXPECT_EQ(decoded(little, "FN"), u"Zoë");
}

TEST(VCardParser, SkipsCardsWithoutEndAndReportsThem) {
    VCardParser::Summary summary;
    auto cards = dump(
        "END:VCARD\r\nBEGIN:VCARD\r\nFN:First\r\nBEGIN:VCARD\r\nFN:Second\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nFN:Third\r\n",
        &summary);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0][1], "FN{}:Second");
    EXPECT_EQ(summary.skipped, 3u);
    EXPECT_TRUE(summary.found_begin);
    EXPECT_EQ(summary.problems,
              (std::vector<std::string>{"END:VCARD without BEGIN:VCARD", "card 1 has no END:VCARD",
                                        "card 3 has no END:VCARD"}));

    dump("Name,Phone\nJohn,123\n", &summary);
    EXPECT_FALSE(summary.found_begin);
}

TEST(VCardDecoder, UndoesEscapesEncodingsAndCharsets) {
    EXPECT_EQ(VCardDecoder::unescape(u"a\\nb\\Nc\\,d\\;e\\\\f\\:g\\x\\"), u"a\nb\nc,d;e\\f:g\\x\\");
    std::string out;
    VCardDecoder::decode_quoted_printable("=C3=A9=3d=ZZ=4", out);
    EXPECT_EQ(out, "\xC3\xA9==ZZ=4");
    EXPECT_TRUE(VCardDecoder::decode_base64("SGVs\r\n bG8=", out));
    EXPECT_EQ(out, "Hello");
    EXPECT_FALSE(VCardDecoder::decode_base64("SGV*", out));

    EXPECT_EQ(decoded("BEGIN:VCARD\nFN;CHARSET=KOI8-R:\xF0\xC5\xD4\xD2\nEND:VCARD\n", "FN"),
              u"Петр");
    EXPECT_EQ(decoded("BEGIN:VCARD\nFN;ENCODING=b:SsO2cmc=\nEND:VCARD\n", "FN"), u"Jörg");

    TestDevice device;
    LogCapture log;
    EXPECT_EQ(decoded("BEGIN:VCARD\nFN;CHARSET=X-NOSUCH:Ann\nEND:VCARD\n", "FN"), u"Ann");
    EXPECT_TRUE(log.has("contacts: unknown charset X-NOSUCH, read as UTF-8"));

    // A file naming thousands of charsets costs neither a converter nor a log
    // line for each; the known ones still convert between them.
    std::string many = "BEGIN:VCARD\n";
    for (int i = 0; i < 5000; ++i)
        many += "NOTE;CHARSET=X-" + std::to_string(i) + ":x\nFN;CHARSET=KOI8-R:\xF0\xC5\xD4\xD2\n";
    many += "END:VCARD\n";
    VCardParser parser;
    VCardDecoder decoder;
    size_t petr = 0;
    parser.parse(many, [&](const VCard& card) {
        for (const VCardProperty& p : card.properties) petr += decoder.text(p) == u"Петр";
    });
    EXPECT_EQ(petr, 5000u);
    std::string text = log.text();
    size_t lines = 0;
    for (size_t at = text.find(": unknown charset"); at != std::string::npos;
         at = text.find(": unknown charset", at + 1))
        ++lines;
    EXPECT_EQ(lines, 21u);  // X-NOSUCH and the first twenty of the file
    EXPECT_TRUE(contains(text, "contacts: more unknown charsets, no longer logged\n"));
}

// Hostile and broken input: nothing may read out of bounds (the sanitizers
// watch) and every complete card must still come out. Random input is the
// fuzzer's (fuzz/fuzz_vcard.cpp).
TEST(VCardParser, SurvivesHugeAndTruncatedInputAndEveryInputTheFuzzerKept) {
    std::string huge =
        "BEGIN:VCARD\r\nNOTE;ENCODING=QUOTED-PRINTABLE:" + std::string(1 << 20, '=') +
        "41\r\nFN:" + std::string(1 << 20, '\\') + "\r\nEND:VCARD\r\n";
    EXPECT_EQ(dump(huge).size(), 1u);
    EXPECT_FALSE(decoded(huge, "FN").empty());

    // Every prefix of real cards (the sanitizers judge).
    std::string card = read_test_card("nokia-21-cp1251.vcf") + read_test_card("iphone-30.vcf");
    for (size_t cut = 0; cut <= card.size(); ++cut) contact_of(card.substr(0, cut));

    // The fuzzer's seeds (every one but the non-card holds a card) and every
    // input that once made it fail.
    size_t seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VCARD_FUZZ_CORPUS_DIR)) {
        bool holds_card = !dump(read_file(entry.path())).empty();
        EXPECT_EQ(holds_card, entry.path().filename() != "not-a-card.vcf") << entry.path();
        ++seeds;
    }
    EXPECT_GE(seeds, 10u);
    if (std::filesystem::exists(VCARD_FUZZ_CRASHES_DIR))
        for (const auto& entry : std::filesystem::directory_iterator(VCARD_FUZZ_CRASHES_DIR))
            contact_of(read_file(entry.path()));  // the sanitizers judge
}

}  // namespace
