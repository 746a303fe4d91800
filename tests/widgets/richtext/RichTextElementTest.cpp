#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "draw/TestFonts.h"
#include "draw/text/TextDraw.h"
#include "support/Files.h"
#include "support/TestDevice.h"
#include "widgets/richtext/LinkListener.h"
#include "widgets/richtext/RichTextElement.h"
#include "widgets/richtext/RichTextPiece.h"
#include "widgets/richtext/SmileyElement.h"
#include "widgets/richtext/SmileyTable.h"

namespace fs = std::filesystem;

namespace {

struct Taps final : LinkListener {
    void link_pressed(std::u16string_view link, RichTextPiece&) override {
        links.emplace_back(link);
    }
    std::vector<std::u16string> links;
};

class RichText : public ::testing::Test {
protected:
    RichText() {
        write_file(names_, "smile=:) :-)\nghost=:O\n");
        table_ = std::make_unique<SmileyTable>(
            names_.u16string(), (fs::path(QUILLMO_TEST_SMILES_DIR) / "bin/").u16string());
    }

    void show(std::u16string_view text, int32_t halign, bool wrap, int32_t width,
              int32_t height = 200) {
        element_.set_wrap(wrap);
        element_.set_halign(halign);
        element_.set_text(text, table_.get(), font_, bold_, {0, 0, 0, 255}, {0, 0, 255, 255},
                          &taps_);
        element_.set_x_extent(10, width);
        element_.set_y_extent(20, height);
    }
    int32_t measure(std::u16string_view text) const {
        return TextDraw::measure(*font_, text).width;
    }
    std::u16string text_of(size_t placed) const { return *element_.placed()[placed]->shown_text(); }
    void tap(Element& piece, bool inside = true) {
        Point at = piece.position();
        element_.pointer_button({at.x + 1, at.y + 1, 0, 0, true, false});
        element_.pointer_button({inside ? at.x + 1 : at.x - 500, at.y + 1, 0, 0, false, false});
    }

    // A folder of its own: tests run in parallel.
    TestDevice device_;
    fs::path names_ = device_.program() / "names.txt";
    std::unique_ptr<SmileyTable> table_;
    std::shared_ptr<const FontRep> font_ = dejavu(10);
    std::shared_ptr<const FontRep> bold_ = dejavu(10, true);
    Taps taps_;
    RichTextElement element_;
};

}  // namespace

TEST_F(RichText, WrappedTextBreaksAtWordsAndKeepsLineFeeds) {
    const int32_t word = measure(u"aaa");
    show(u"aaa bbb\nccc", RichTextElement::LEFT, true, word + 2);
    ASSERT_EQ(element_.lines().size(), 3u);
    EXPECT_EQ(text_of(0), u"aaa");
    EXPECT_EQ(text_of(1), u"bbb");
    EXPECT_EQ(text_of(2), u"ccc");
    EXPECT_EQ(element_.placed()[1]->position().y - element_.placed()[0]->position().y,
              font_->height());
    // Without wrapping a line feed reads as a space, all on one line.
    show(u"aaa bbb\nccc", RichTextElement::LEFT, false, word + 2);
    ASSERT_EQ(element_.lines().size(), 1u);
    EXPECT_EQ(text_of(0), u"aaa bbb ccc");
}

TEST_F(RichText, OneLineThatDoesNotFitEndsInAnEllipsis) {
    element_.set_ellipsis(true);
    const int32_t width = measure(u"aaa bbb");
    show(u"aaa bbb ccc ddd", RichTextElement::LEFT, false, width);
    ASSERT_EQ(element_.placed().size(), 1u);
    const Element& last = *element_.placed().back();
    EXPECT_EQ(last.position().x + last.size().width, 10 + width) << "cut at the edge, not past it";
    // A smiley that would cross the edge goes, and everything after it.
    show(u"aaa :) bbb", RichTextElement::LEFT, false, measure(u"aaa ") + 2);
    ASSERT_EQ(element_.placed().size(), 1u);
    EXPECT_EQ(text_of(0), u"aaa ");
}

TEST_F(RichText, LinesAlignLeftCentreRightAndJustified) {
    const int32_t width = 200;
    const std::u16string text = u"ab cd";
    const int32_t line = measure(text);
    show(text, RichTextElement::LEFT, false, width);
    EXPECT_EQ(element_.placed()[0]->position().x, 10);
    show(text, RichTextElement::RIGHT, false, width);
    EXPECT_EQ(element_.placed()[0]->position().x, 10 + width - line);
    show(text, RichTextElement::CENTER, false, width);
    EXPECT_EQ(element_.placed()[0]->position().x, 10 + (width - line) / 2);

    // Justified: words spread over every line but the last, which stays left.
    const int32_t narrow = measure(u"ab cd ef") - 1;
    show(u"ab cd ef gh", RichTextElement::JUSTIFY, true, narrow);
    ASSERT_EQ(element_.lines().size(), 2u);
    const auto& first = element_.lines()[0];
    ASSERT_EQ(first.end - first.first, 2u);
    Element* last_word = element_.placed()[first.end - 1];
    EXPECT_EQ(element_.placed()[0]->position().x, 10);
    EXPECT_EQ(last_word->position().x + last_word->size().width, 10 + narrow);
    const auto& second = element_.lines()[1];
    EXPECT_EQ(element_.placed()[second.first]->position().x, 10);
    EXPECT_EQ(element_.placed()[second.first + 1]->position().x, 10 + measure(u"ef "));
}

TEST_F(RichText, TheBlockSitsAtTopMiddleOrBottom) {
    const int32_t h = font_->height();
    element_.set_valign(RichTextElement::BOTTOM);
    show(u"x", RichTextElement::LEFT, false, 100, 100);
    EXPECT_EQ(element_.placed()[0]->position().y, 20 + 100 - h);
    element_.set_valign(RichTextElement::VCENTER);
    show(u"x", RichTextElement::LEFT, false, 100, 100);
    EXPECT_EQ(element_.placed()[0]->position().y, 20 + (100 - h) / 2);
    element_.set_valign(RichTextElement::TOP);
    show(u"x", RichTextElement::LEFT, false, 100, 2);  // taller than the box: from the top
    EXPECT_EQ(element_.placed()[0]->position().y, 20);
}

TEST_F(RichText, SmileysAnimateInTheirLineAndMissingOnesVanish) {
    show(u"hi :) there :O end", RichTextElement::LEFT, false, 300);
    ASSERT_EQ(element_.placed().size(), 4u);
    EXPECT_EQ(text_of(0), u"hi ");
    auto* smiley = dynamic_cast<SmileyElement*>(element_.placed()[1]);
    ASSERT_NE(smiley, nullptr);
    EXPECT_EQ(text_of(2), u" there ");
    EXPECT_EQ(text_of(3), u" end");
    EXPECT_EQ(smiley->position().x, 10 + measure(u"hi "));
    EXPECT_EQ(element_.placed()[2]->position().x, 10 + measure(u"hi ") + 16);
    // The line is as high as the smiley; the text is centred in it.
    const int32_t line = std::max(16, font_->height());
    EXPECT_EQ(element_.placed()[0]->position().y, 20 + (line - font_->height()) / 2);

    ASSERT_EQ(smiley->frames(), 3);
    // 0.2 s, 0.2 s, then 1.0 s on the last frame, and round again.
    std::vector<double> changes;
    int32_t shown = smiley->frame();
    for (int step = 1; step <= 170; ++step) {
        element_.time_step(0.01);
        if (smiley->frame() != shown) changes.push_back(step * 0.01);
        shown = smiley->frame();
    }
    ASSERT_EQ(changes.size(), 4u);
    const double expected[] = {0.2, 0.4, 1.4, 1.6};
    for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(changes[i], expected[i], 0.015);
    EXPECT_TRUE(smiley->needs_redraw());
}

TEST_F(RichText, ALinkBrokenOverLinesIsPressedAndTappedAsOne) {
    const std::u16string link = u"http://example.com/a/very/long/path";
    show(u"go " + link + u" now", RichTextElement::LEFT, true, measure(u"http://example.com/"));
    std::vector<RichTextPiece*> parts;
    for (Element* e : element_.placed()) {
        auto* piece = dynamic_cast<RichTextPiece*>(e);
        if (piece && piece->group() >= 0) parts.push_back(piece);
    }
    ASSERT_GE(parts.size(), 2u);
    Point at = parts[1]->position();
    element_.pointer_button({at.x + 1, at.y + 1, 0, 0, true, false});
    for (RichTextPiece* part : parts) EXPECT_EQ(part->font(), bold_);
    element_.pointer_button({at.x + 1, at.y + 1, 0, 0, false, false});
    for (RichTextPiece* part : parts) EXPECT_EQ(part->font(), font_);
    EXPECT_EQ(taps_.links, (std::vector<std::u16string>{link}));

    // Released elsewhere, or cancelled: nothing is opened.
    tap(*parts[0], false);
    element_.pointer_button({at.x + 1, at.y + 1, 0, 0, true, false});
    element_.pointer_button({at.x + 1, at.y + 1, 0, 0, false, true});
    EXPECT_EQ(taps_.links.size(), 1u);
    // Plain text takes no taps.
    EXPECT_FALSE(
        element_.pointer_button({element_.placed()[0]->position().x + 1,
                                 element_.placed()[0]->position().y + 1, 0, 0, true, false}));
}

TEST_F(RichText, LayoutReusesItsPiecesAndCopesWithHugeText) {
    show(u"one two three four five six", RichTextElement::LEFT, true, measure(u"three"));
    const size_t lines = element_.lines().size();
    Element* first = element_.placed()[0];
    const int64_t texts = TextElement::live_count();
    element_.set_x_extent(10, measure(u"three") + 1);
    element_.set_y_extent(20, 200);
    EXPECT_EQ(element_.placed()[0], first);
    EXPECT_EQ(element_.lines().size(), lines);
    EXPECT_EQ(TextElement::live_count(), texts);
    element_.set_x_extent(10, 1000);
    element_.set_y_extent(20, 200);
    EXPECT_EQ(element_.lines().size(), 1u);
    EXPECT_EQ(TextElement::live_count(), texts - static_cast<int64_t>(lines) + 1);

    std::u16string huge;
    while (huge.size() < 100000) huge += u"www.a.com \x01\xd800 :) 12345 \n";
    show(huge, RichTextElement::JUSTIFY, true, 120);
    EXPECT_GT(element_.lines().size(), 1000u);
}
