// The skins the program ships (assets/skins/, compiled by the build) at the
// three kinds of screen the program meets: every node the forms bind is there
// with the kind they expect, and nothing visible leaves its form or row,
// covers a neighbour or is too low for its own text.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "draw/text/FontRep.h"
#include "forms/contacts/AlphabetRuler.h"
#include "input/ScreenInfo.h"
#include "platform/Utf16.h"
#include "skin/Properties.h"
#include "skin/elements/ButtonElement.h"
#include "skin/elements/ElementKinds.h"
#include "skin/elements/FormRoot.h"
#include "skin/elements/ImageElement.h"
#include "skin/elements/MultinodeElement.h"
#include "skin/elements/ProgressElement.h"
#include "skin/elements/TableElement.h"
#include "skin/elements/TextElement.h"
#include "widgets/WidgetKinds.h"
#include "widgets/edit/EditElement.h"
#include "widgets/list/RowBuilder.h"
#include "widgets/list/VListElement.h"
#include "widgets/richtext/RichTextElement.h"

namespace {

struct Screen {
    int32_t width, height, dpi;
};
constexpr Screen kScreens[] = {{240, 320, 96}, {480, 800, 192}, {1080, 2400, 384}};
// The skins the user can choose: the same layout in different palettes.
constexpr const char* kSkins[] = {"default.skin", "dark.skin"};

std::string name_of(const Screen& s) {
    return std::to_string(s.width) + "x" + std::to_string(s.height) + "@" + std::to_string(s.dpi);
}

// Whether e is there as the kind a form or row binds it as.
bool has_kind(Element* e, std::string_view kind) {
    if (e == nullptr) return false;
    if (kind == "any") return true;  // the contract leaves the kind to the skin
    if (kind == "button") return dynamic_cast<ButtonElement*>(e);
    if (kind == "text") return dynamic_cast<TextElement*>(e);
    if (kind == "rich") return dynamic_cast<RichTextElement*>(e);
    if (kind == "edit") return dynamic_cast<EditElement*>(e);
    if (kind == "list") return dynamic_cast<VListElement*>(e);
    if (kind == "pages") return dynamic_cast<MultinodeElement*>(e);
    if (kind == "table") return dynamic_cast<TableElement*>(e);
    if (kind == "image") return dynamic_cast<ImageElement*>(e);
    if (kind == "progress") return dynamic_cast<ProgressElement*>(e);
    // A picture: an image or a colour.
    if (kind == "picture") return dynamic_cast<ImageElement*>(e) || e->kind_name() == u"color";
    ADD_FAILURE() << "no kind " << kind;
    return false;
}

// The children each node's form or row binds, as words "id:kind", and the
// pairs of children whose rectangles must not meet, as words "a/b".
struct NodeContract {
    const char16_t* node;
    bool row;  // built as a list row (as wide as the screen, as high as it wants)
    std::string children;
    std::string apart;
};

std::vector<NodeContract> default_contract() {
    std::vector<NodeContract> nodes = {
        {u"FormMain", false, "btnNew:button btnMenu:button list:list",
         "title/btnNew btnNew/btnMenu header/list"},
        {u"ChatItem", true, "title:text type:text body:rich unread:text day:text icon:pages",
         "avatar/title title/type type/day title/day body_clip/icon title/icon"},
        {u"FormChat", false,
         "title:text type:text symbols:text list:list edit:edit btnClose:button btnTitle:button "
         "btnCopy:button btnMenu:button btnSend:button list_offset:any scroll:any "
         "scroll_button:button scroll_indicator:picture",
         "btnClose/title title/btnMenu type/btnMenu edit/btnSend symbols/edit header/bar "
         "list/header list/bar"},
        {u"FormLink", false,
         "caption:text text:text btnInstall:button btnAbout:button btnCancel:button",
         "caption/text text/btnInstall btnInstall/btnAbout btnAbout/btnCancel"},
        {u"FormContacts", false,
         "title:text list:list edit:edit btnClose:button btnWrite:button btnAdd:button hint:any "
         "#text:text ruler_button:button ruler_table:table",
         "btnClose/title edit/btnWrite edit/btnAdd header/list"},
        {u"AlphabetRulerText", true, "", ""},
        {u"ContactItem", true,
         "title:text number:text type:text active:any checkbox:image checkbox_place:any",
         "title/checkbox number/type type/checkbox avatar/title"},
        {u"FormTemplates", false, "list:list edit:edit btnClose:button btnAdd:button",
         "edit/btnAdd btnClose/title"},
        {u"TemplateItem", true, "text:text", ""},
        {u"FormAlert", false, "title:text body:rich btnView:button btnCancel:button",
         "caption/title title/body_clip body_clip/buttons btnCancel/btnView"},
        {u"Menu", false, "panel:any caption:text vlist:list", "caption/vlist"},
        {u"MenuElement4Buttons", true, "Help:button Minimize:button Exit:button",
         "Help/Minimize Minimize/Exit"},
    };
    for (const char16_t* row :
         {u"MenuElement", u"MenuElementDisabled", u"MenuElementRed", u"MenuElementRedDisabled"})
        nodes.push_back({row, true, "#text:text checked:any separator:any", "#text/checked"});
    for (const char16_t* row : {u"SMSItem", u"SMSItemIn", u"SMSItemOut"})
        nodes.push_back({row, true,
                         "body:rich day_node:any day:button time:button icon:pages link:any",
                         "day_node/bubble body/time"});
    return nodes;
}

// The id before the first sep in word, and the rest after it.
std::pair<std::u16string, std::string> split(const std::string& word, char sep) {
    const size_t at = word.find(sep);
    return {utf16::from_utf8(word.substr(0, at)), word.substr(at + 1)};
}

// Whether the two visible rectangles share a pixel.
bool meet(const Element& a, const Element& b) {
    const Rect ra = a.rect(), rb = b.rect();
    if (ra.empty() || rb.empty()) return false;
    return ra.left < rb.right && rb.left < ra.right && ra.top < rb.bottom && rb.top < ra.bottom;
}

class ShippedSkin : public ::testing::Test {
protected:
    bool load(const char* file, const Screen& s) {
        return properties_.load_skin(
            utf16::from_utf8(std::string(QUILLMO_SKIN_DIR) + "/" + file),
            {.width = s.width, .height = s.height, .pixels_per_inch = s.dpi});
    }

    // The node laid out as the program would: a form over the whole screen,
    // a row at the screen's width and the height it asks for.
    std::unique_ptr<Element> build(const NodeContract& c, const Screen& s) {
        std::unique_ptr<Element> root;
        if (c.row) {
            root = row_builder::build(properties_, c.node);
        } else {
            auto form = std::make_unique<FormRoot>();
            if (form->load_from_skin(properties_, c.node)) root = std::move(form);
        }
        if (root) lay_out(*root, s.width, c.row ? -1 : s.height);
        return root;
    }

    static void lay_out(Element& root, int32_t width, int32_t height) {
        root.set_x_extent(0, width);
        root.set_y_extent(0, height >= 0 ? height : root.range_y().preferred);
    }

    // Every visible element below root lies inside root's rectangle, and every
    // visible text is at least as high as one line of its font.
    static void expect_contained(Element& root, Element& e, const std::string& where) {
        for (size_t i = 0; i < e.child_count(); ++i) {
            Element& child = *e.child(i);
            if (!child.visible()) continue;
            std::string id = utf16::to_utf8(child.id());
            Point p = child.position();
            Size z = child.size();
            if (!z.empty()) {
                EXPECT_GE(p.x, root.position().x) << where << " " << id;
                EXPECT_GE(p.y, root.position().y) << where << " " << id;
                EXPECT_LE(p.x + z.width, root.position().x + root.size().width)
                    << where << " " << id;
                EXPECT_LE(p.y + z.height, root.position().y + root.size().height)
                    << where << " " << id;
            }
            auto* text = dynamic_cast<TextElement*>(&child);
            if (text && text->font() && !dynamic_cast<EditElement*>(&child) && z.height > 0) {
                EXPECT_GE(z.height, text->font()->height()) << where << " " << id << " is cut";
            }
            expect_contained(root, child, where);
        }
    }

    // Builds the node on the screen and checks it against its contract.
    std::unique_ptr<Element> check(const NodeContract& c, const Screen& s,
                                   const std::string& where) {
        auto root = build(c, s);
        if (!root) {
            ADD_FAILURE() << where << " does not build";
            return root;
        }
        EXPECT_GT(root->size().height, 0) << where;
        std::istringstream children(c.children), apart(c.apart);
        for (std::string word; children >> word;) {
            auto [id, kind] = split(word, ':');
            EXPECT_TRUE(has_kind(root->find_element(id), kind)) << where << " lacks " << word;
        }
        expect_contained(*root, *root, where);
        for (std::string word; apart >> word;) {
            auto [a, b] = split(word, '/');
            Element* ea = root->find_element(a);
            Element* eb = root->find_element(utf16::from_utf8(b));
            if (!ea || !eb)
                ADD_FAILURE() << where << " lacks a part of " << word;
            else
                EXPECT_FALSE(meet(*ea, *eb)) << where << ": " << word << " meet";
        }
        return root;
    }

    ElementKinds kinds_;
    WidgetKinds widget_kinds_;
    Properties properties_;
};

TEST_F(ShippedSkin, EveryNodeOfEverySkinIsCompleteAndFitsEveryScreen) {
    for (const char* skin : kSkins)
        for (const Screen& s : kScreens) {
            ASSERT_TRUE(load(skin, s)) << skin << " " << name_of(s);
            for (const NodeContract& c : default_contract())
                check(c, s, std::string(skin) + " " + name_of(s) + " " + utf16::to_utf8(c.node));
        }
}

// A message bubble is as wide as its text up to most of the row, grows
// downward with longer text and keeps its time under the text.
TEST_F(ShippedSkin, MessageBubblesFollowTheirText) {
    const Screen s = kScreens[1];
    ASSERT_TRUE(load("default.skin", s));
    for (const char16_t* node : {u"SMSItemIn", u"SMSItemOut"}) {
        const std::string where = utf16::to_utf8(node);
        auto measure = [&](std::u16string_view message) {
            auto row = row_builder::build(properties_, node);
            auto* body = dynamic_cast<RichTextElement*>(row->find_element(u"body"));
            body->set_text(message, nullptr, nullptr, nullptr, {0, 0, 0, 255}, {0, 0, 255, 255},
                           nullptr);
            row->find_element(u"time")->set_text(u"#text", u"12:30");
            lay_out(*row, s.width, -1);
            Element* bubble = row->find_element(u"bubble");
            Element* time = row->find_element(u"time");
            EXPECT_GE(time->position().y, body->position().y + body->size().height) << where;
            expect_contained(*row, *row, where);
            return std::pair{bubble->size(), row->size().height};
        };
        auto [small, small_row] = measure(u"Ok");
        auto [large, large_row] = measure(
            u"A message long enough to need several lines in the bubble, so that the bubble "
            u"reaches its widest and grows downward with every line it needs.");
        EXPECT_LT(small.width, s.width / 3) << where;
        EXPECT_LE(large.width, s.width * 85 / 100) << where;
        EXPECT_GE(large.width, s.width * 70 / 100) << where;
        EXPECT_GT(large.height, 2 * small.height) << where;
        EXPECT_GT(large_row, small_row) << where;
    }
}

class NoLetters : public AlphabetRulerListener {
public:
    void ruler_letter(size_t, const std::u16string&, bool, bool) override {}
};

// The contacts ruler's letters fill the whole touch area, evenly, so the
// letter under the stylus is the letter drawn there.
TEST_F(ShippedSkin, TheAlphabetRulerSpreadsItsLettersOverTheWholeRuler) {
    std::vector<std::u16string> alphabet;
    for (char16_t c = u'A'; c <= u'Z'; ++c) alphabet.push_back(std::u16string(1, c));
    for (const Screen& s : kScreens) {
        const std::string where = name_of(s);
        ASSERT_TRUE(load("default.skin", s)) << where;
        FormRoot form;
        ASSERT_TRUE(form.load_from_skin(properties_, u"FormContacts")) << where;
        auto* button = dynamic_cast<ButtonElement*>(form.find_element(u"ruler_button"));
        auto* table = dynamic_cast<TableElement*>(form.find_element(u"ruler_table"));
        ASSERT_TRUE(button && table) << where;
        NoLetters listener;
        AlphabetRuler ruler(listener);
        ruler.bind(properties_, *button, nullptr, *table);
        ruler.set_letters(alphabet);
        lay_out(form, s.width, s.height);

        // The table lies over the touch area and takes nearly all of its height.
        const Point b = button->position(), t = table->position();
        EXPECT_GE(t.y, b.y) << where;
        EXPECT_LE(t.y + table->size().height, b.y + button->size().height) << where;
        EXPECT_GE(table->size().height, button->size().height * 9 / 10) << where;
        // Even the smallest screen shows most of the alphabet.
        const size_t n = ruler.shown_count();
        ASSERT_GE(n, 20u) << where;
        Element* last = table->child(n - 1);
        EXPECT_EQ(table->child(0)->position().y, t.y) << where;
        EXPECT_GE(last->position().y + last->size().height, t.y + table->size().height - 1)
            << where;
        if (n < alphabet.size()) continue;  // sampled: the stylus reads the whole set
        for (size_t i = 0; i < n; ++i) {
            const Element& letter = *table->child(i);
            const int32_t middle = letter.position().y + letter.size().height / 2;
            EXPECT_EQ(AlphabetRuler::letter_at(middle, t.y, table->size().height, n), i)
                << where << " letter " << i;
        }
    }
}

TEST_F(ShippedSkin, TheSplashSkinShowsItsProgressOnEveryScreen) {
    const NodeContract splash{u"FormSplash", false, "progress:progress",
                              "mark/progress progress/loading"};
    for (const Screen& s : kScreens) {
        ASSERT_TRUE(load("splash.skin", s)) << name_of(s);
        auto root = check(splash, s, "splash " + name_of(s));
        ASSERT_TRUE(root);
        EXPECT_GT(root->find_element(u"progress")->size().width, 0) << name_of(s);
    }
}

}  // namespace
