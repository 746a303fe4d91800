// The alphabet ruler: how many letters fit, which ones are shown, and the
// letter under the stylus.
#include <gtest/gtest.h>

#include "forms/FormTestSupport.h"
#include "forms/contacts/AlphabetRuler.h"
#include "skin/elements/TableElement.h"
#include "skin/elements/TextElement.h"

namespace {

using Letters = std::vector<std::u16string>;

TEST(AlphabetRulerArithmetic, FitsWholeLettersAndNoneWithoutRoomOrHeight) {
    EXPECT_EQ(AlphabetRuler::element_count(26, 95, 10), 9u);
    EXPECT_EQ(AlphabetRuler::element_count(4, 95, 10), 4u);
    EXPECT_EQ(AlphabetRuler::element_count(26, 9, 10), 0u);
    EXPECT_EQ(AlphabetRuler::element_count(26, -30, 10), 0u);
    EXPECT_EQ(AlphabetRuler::element_count(26, 500, 0), 0u);
    EXPECT_EQ(AlphabetRuler::element_count(26, 500, -4), 0u);
    EXPECT_EQ(AlphabetRuler::element_count(0, 500, 10), 0u);
}

TEST(AlphabetRulerArithmetic, SamplesLettersEvenlyAndAlwaysShowsTheFirst) {
    std::vector<size_t> shown;
    for (size_t i = 0; i < 9; ++i) shown.push_back(AlphabetRuler::letter_for_element(i, 26, 9));
    EXPECT_EQ(shown, (std::vector<size_t>{0, 2, 5, 8, 11, 14, 17, 20, 23}));
    // With room for all, each letter once.
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(AlphabetRuler::letter_for_element(i, 7, 7), i);
}

TEST(AlphabetRulerArithmetic, TheLetterUnderThePointerIsClampedToTheLetters) {
    // 26 letters over 97 pixels from y = 13: odd heights still reach both ends.
    EXPECT_EQ(AlphabetRuler::letter_at(13, 13, 97, 26), 0u);
    EXPECT_EQ(AlphabetRuler::letter_at(13 + 48, 13, 97, 26), 12u);
    EXPECT_EQ(AlphabetRuler::letter_at(13 + 96, 13, 97, 26), 25u);
    EXPECT_EQ(AlphabetRuler::letter_at(0, 13, 97, 26), 0u);
    EXPECT_EQ(AlphabetRuler::letter_at(5000, 13, 97, 26), 25u);
    EXPECT_EQ(AlphabetRuler::letter_at(INT32_MAX, INT32_MIN, 1, 3), 2u);
    EXPECT_EQ(AlphabetRuler::letter_at(20, 13, 0, 26), std::nullopt);
    EXPECT_EQ(AlphabetRuler::letter_at(20, 13, -5, 26), std::nullopt);
    EXPECT_EQ(AlphabetRuler::letter_at(20, 13, 97, 0), std::nullopt);
}

// The touch area is as high as the form (100); the table beside it keeps 5 above and 7 below,
// leaving 88 for letters 10 high: 8 fit.
const char kSkin[] = R"({"named": {
    "Ruler": {"children": [
        {"strings": {"type": "button", "id": "button"}},
        {"strings": {"type": "vtable", "id": "table"}, "points": {"border_min": [0, 5], "border_max": [0, 7]}}]},
    "AlphabetRulerText": {"strings": {"type": "text"}, "integers": {"table_ratio": 1}, "points": {"design_size": [0, 10]}}}})";

class Reports : public AlphabetRulerListener {
public:
    void ruler_letter(size_t index, const std::u16string& letter, bool pressed,
                      bool cancelled) override {
        told.push_back({index, letter, pressed, cancelled});
    }
    struct Told {
        size_t index;
        std::u16string letter;
        bool pressed, cancelled;
        friend bool operator==(const Told&, const Told&) = default;
    };
    std::vector<Told> told;
};

class AlphabetRulerTest : public FormFixture {
protected:
    void SetUp() override {
        load_skin(kSkin);
        form = std::make_unique<TestForm>(properties, u"Ruler");
        button = dynamic_cast<ButtonElement*>(form->find_element(u"button"));
        table = dynamic_cast<TableElement*>(form->find_element(u"table"));
        ruler.bind(properties, *button, nullptr, *table);
        lay_out(100);
    }
    void lay_out(int32_t height) {
        form->set_x_extent(0, 20);
        form->set_y_extent(0, height);
    }
    Letters shown() const {
        Letters out;
        for (size_t i = 0; i < table->child_count(); ++i)
            out.push_back(dynamic_cast<TextElement*>(table->child(i))->text());
        return out;
    }

    std::unique_ptr<TestForm> form;
    ButtonElement* button = nullptr;
    TableElement* table = nullptr;
    Reports reports;
    AlphabetRuler ruler{reports};
};

TEST_F(AlphabetRulerTest, ShowsWhatFitsOfTheLettersAndFollowsTheTouchAreasHeight) {
    EXPECT_EQ(ruler.letter_height(), 10);
    ruler.set_letters({u"A", u"B", u"C"});
    EXPECT_EQ(shown(), (Letters{u"A", u"B", u"C"}));
    // The letters share the table by the skin's ratio.
    EXPECT_EQ(table->ratios(), (std::vector<int32_t>{1, 1, 1}));
    EXPECT_GT(table->child(2)->position().y, 5 + 2 * 10 + 20);

    Letters alphabet;
    for (char16_t c = u'A'; c <= u'Z'; ++c) alphabet.push_back(std::u16string(1, c));
    ruler.set_letters(alphabet);
    EXPECT_EQ(shown(), (Letters{u"A", u"D", u"G", u"J", u"N", u"Q", u"T", u"W"}));

    // The touch area shrinks to 40 with its form: room for 2 letters.
    lay_out(40);
    EXPECT_EQ(shown(), (Letters{u"A", u"N"}));
    lay_out(10);
    EXPECT_TRUE(shown().empty());

    ruler.set_letters({});
    lay_out(100);
    EXPECT_TRUE(shown().empty());
}

TEST_F(AlphabetRulerTest, ReportsTheLetterUnderTheStylusFromTheWholeSet) {
    Letters alphabet;
    for (char16_t c = u'A'; c <= u'Z'; ++c) alphabet.push_back(std::u16string(1, c));
    ruler.set_letters(alphabet);
    // The table spans y 5..93: 26 letters over 88 pixels.
    form->pointer_button({10, 5, 0, 0, true, false});
    form->pointer_move({10, 50, 0, 0, true, false});
    form->pointer_move({10, 99, 0, 0, true, false});
    form->pointer_button({10, 99, 0, 0, false, false});
    using Told = Reports::Told;
    // The press is a drag of nothing too.
    EXPECT_EQ(reports.told, (std::vector<Told>{{0, u"A", true, false},
                                               {0, u"A", true, false},
                                               {13, u"N", true, false},
                                               {25, u"Z", true, false},
                                               {25, u"Z", false, false}}));

    // Without letters nothing is reported.
    reports.told.clear();
    ruler.set_letters({});
    form->pointer_button({10, 50, 0, 0, true, false});
    form->pointer_button({10, 50, 0, 0, false, false});
    EXPECT_TRUE(reports.told.empty());
}

}  // namespace
