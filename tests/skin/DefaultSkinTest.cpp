// The skins the program ships (assets/skins/, compiled by the build) at the
// three kinds of screen the program meets: every node the forms bind is there
// with the kind they expect, and nothing visible leaves its form or row,
// covers a neighbour or is too low for its own text.
#include <gtest/gtest.h>

#include <functional>
#include <string>
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

using Check = std::function<bool(Element*)>;
template <typename T>
Check is() {
    return [](Element* e) { return dynamic_cast<T*>(e) != nullptr; };
}
// Any element at all: the contract leaves the kind to the skin.
Check any() {
    return [](Element* e) { return e != nullptr; };
}
// A picture: an image or a colour.
Check picture() {
    return [](Element* e) { return dynamic_cast<ImageElement*>(e) || e->kind_name() == u"color"; };
}

struct Required {
    const char16_t* id;
    Check kind;
};

// The children each node's form or row binds, with the kind it binds them as.
struct NodeContract {
    const char16_t* node;
    bool row;  // built as a list row (as wide as the screen, as high as it wants)
    std::vector<Required> children;
    // Pairs of children whose rectangles must not meet.
    std::vector<std::pair<const char16_t*, const char16_t*>> apart;
};

std::vector<NodeContract> default_contract() {
    auto button = is<ButtonElement>();
    auto text = is<TextElement>();
    auto list = is<VListElement>();
    auto rich = is<RichTextElement>();
    auto edit = is<EditElement>();
    auto pages = is<MultinodeElement>();
    std::vector<NodeContract> nodes = {
        {u"FormMain",
         false,
         {{u"btnNew", button}, {u"btnMenu", button}, {u"list", list}},
         {{u"title", u"btnNew"}, {u"btnNew", u"btnMenu"}, {u"header", u"list"}}},
        {u"ChatItem",
         true,
         {{u"title", text},
          {u"type", text},
          {u"body", rich},
          {u"unread", text},
          {u"day", text},
          {u"icon", pages}},
         {{u"avatar", u"title"},
          {u"title", u"type"},
          {u"type", u"day"},
          {u"title", u"day"},
          {u"body_clip", u"icon"},
          {u"title", u"icon"}}},
        {u"FormChat",
         false,
         {{u"title", text},
          {u"type", text},
          {u"symbols", text},
          {u"list", list},
          {u"edit", edit},
          {u"btnClose", button},
          {u"btnTitle", button},
          {u"btnCopy", button},
          {u"btnMenu", button},
          {u"btnSend", button},
          {u"list_offset", any()},
          {u"scroll", any()},
          {u"scroll_button", button},
          {u"scroll_indicator", picture()}},
         {{u"btnClose", u"title"},
          {u"title", u"btnMenu"},
          {u"type", u"btnMenu"},
          {u"edit", u"btnSend"},
          {u"symbols", u"edit"},
          {u"header", u"bar"},
          {u"list", u"header"},
          {u"list", u"bar"}}},
        {u"FormLink",
         false,
         {{u"caption", text},
          {u"text", text},
          {u"btnInstall", button},
          {u"btnAbout", button},
          {u"btnCancel", button}},
         {{u"caption", u"text"},
          {u"text", u"btnInstall"},
          {u"btnInstall", u"btnAbout"},
          {u"btnAbout", u"btnCancel"}}},
        {u"FormContacts",
         false,
         {{u"title", text},
          {u"list", list},
          {u"edit", edit},
          {u"btnClose", button},
          {u"btnWrite", button},
          {u"btnAdd", button},
          {u"hint", any()},
          {u"#text", text},
          {u"ruler_button", button},
          {u"ruler_table", is<TableElement>()}},
         {{u"btnClose", u"title"},
          {u"edit", u"btnWrite"},
          {u"edit", u"btnAdd"},
          {u"header", u"list"}}},
        {u"AlphabetRulerText", true, {}, {}},
        {u"ContactItem",
         true,
         {{u"title", text},
          {u"number", text},
          {u"type", text},
          {u"active", any()},
          {u"checkbox", is<ImageElement>()},
          {u"checkbox_place", any()}},
         {{u"title", u"checkbox"},
          {u"number", u"type"},
          {u"type", u"checkbox"},
          {u"avatar", u"title"}}},
        {u"FormTemplates",
         false,
         {{u"list", list}, {u"edit", edit}, {u"btnClose", button}, {u"btnAdd", button}},
         {{u"edit", u"btnAdd"}, {u"btnClose", u"title"}}},
        {u"TemplateItem", true, {{u"text", text}}, {}},
        {u"FormAlert",
         false,
         {{u"title", text}, {u"body", rich}, {u"btnView", button}, {u"btnCancel", button}},
         {{u"caption", u"title"},
          {u"title", u"body_clip"},
          {u"body_clip", u"buttons"},
          {u"btnCancel", u"btnView"}}},
        {u"Menu",
         false,
         {{u"panel", any()}, {u"caption", text}, {u"vlist", list}},
         {{u"caption", u"vlist"}}},
        {u"MenuElement4Buttons",
         true,
         {{u"Help", button}, {u"Minimize", button}, {u"Exit", button}},
         {{u"Help", u"Minimize"}, {u"Minimize", u"Exit"}}},
    };
    for (const char16_t* row :
         {u"MenuElement", u"MenuElementDisabled", u"MenuElementRed", u"MenuElementRedDisabled"})
        nodes.push_back({row,
                         true,
                         {{u"#text", text}, {u"checked", any()}, {u"separator", any()}},
                         {{u"#text", u"checked"}}});
    for (const char16_t* row : {u"SMSItem", u"SMSItemIn", u"SMSItemOut"})
        nodes.push_back({row,
                         true,
                         {{u"body", rich},
                          {u"day_node", any()},
                          {u"day", button},
                          {u"time", button},
                          {u"icon", pages},
                          {u"link", any()}},
                         {{u"day_node", u"bubble"}, {u"body", u"time"}}});
    return nodes;
}

bool meet(Point pa, Size sa, Point pb, Size sb) {
    if (sa.empty() || sb.empty()) return false;
    return pa.x < pb.x + sb.width && pb.x < pa.x + sa.width && pa.y < pb.y + sb.height &&
           pb.y < pa.y + sa.height;
}

class ShippedSkin : public ::testing::Test {
protected:
    bool load(const char* file, const Screen& s) {
        ScreenInfo screen;
        screen.width = s.width;
        screen.height = s.height;
        screen.pixels_per_inch = s.dpi;
        return properties_.load_skin(utf16::from_utf8(std::string(QUILLMO_SKIN_DIR) + "/" + file),
                                     screen);
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

    ElementKinds kinds_;
    WidgetKinds widget_kinds_;
    Properties properties_;
};

TEST_F(ShippedSkin, EveryNodeOfEverySkinIsCompleteAndFitsEveryScreen) {
    for (const char* skin : kSkins)
        for (const Screen& s : kScreens) {
            ASSERT_TRUE(load(skin, s)) << skin << " " << name_of(s);
            for (const NodeContract& c : default_contract()) {
                const std::string where =
                    std::string(skin) + " " + name_of(s) + " " + utf16::to_utf8(c.node);
                auto root = build(c, s);
                ASSERT_TRUE(root) << where;
                EXPECT_GT(root->size().height, 0) << where;
                for (const Required& r : c.children)
                    EXPECT_TRUE(r.kind(root->find_element(r.id)))
                        << where << " lacks " << utf16::to_utf8(r.id) << " of the right kind";
                expect_contained(*root, *root, where);
                for (auto [a, b] : c.apart) {
                    Element* ea = root->find_element(a);
                    Element* eb = root->find_element(b);
                    ASSERT_TRUE(ea && eb) << where << " " << utf16::to_utf8(a) << utf16::to_utf8(b);
                    EXPECT_FALSE(meet(ea->position(), ea->size(), eb->position(), eb->size()))
                        << where << ": " << utf16::to_utf8(a) << " meets " << utf16::to_utf8(b);
                }
            }
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
    for (const Screen& s : kScreens) {
        ASSERT_TRUE(load("splash.skin", s)) << name_of(s);
        NodeContract splash{u"FormSplash",
                            false,
                            {{u"progress", is<ProgressElement>()}},
                            {{u"mark", u"progress"}, {u"progress", u"loading"}}};
        auto root = build(splash, s);
        ASSERT_TRUE(root) << name_of(s);
        auto* progress = dynamic_cast<ProgressElement*>(root->find_element(u"progress"));
        ASSERT_TRUE(progress) << name_of(s);
        EXPECT_GT(progress->size().width, 0) << name_of(s);
        expect_contained(*root, *root, name_of(s));
        for (auto [a, b] : splash.apart) {
            Element* ea = root->find_element(a);
            Element* eb = root->find_element(b);
            EXPECT_FALSE(meet(ea->position(), ea->size(), eb->position(), eb->size()))
                << name_of(s);
        }
    }
}

}  // namespace
