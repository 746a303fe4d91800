// Properties: skin exchange, reload listeners, and the element factory's
// register.
#include <gtest/gtest.h>

#include "skin/NodeAlreadyRegistered.h"
#include "skin/NodeNotRegistered.h"
#include "skin/Properties.h"
#include "skin/ReloadListener.h"
#include "skin/SkinFromJson.h"
#include "skin/SkinTestSupport.h"
#include "skin/elements/Element.h"
#include "skin/elements/ElementFactory.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

const char* kSkin = R"({"named": {"main": {"integers": {"size": 7}}}})";

const char* kSecondSkin = R"({"named": {"second": {"integers": {"n": 2}}}})";

ScreenInfo screen(int32_t ppi = 96) {
    return {.width = 240, .height = 320, .pixels_per_inch = ppi};
}

TEST(Properties, LoadSkinExchangesTheWholeSkinOnlyOnSuccess) {
    TestDevice device;
    write_skin(device.program() / "skins" / "one.skin", kSkin);
    write_skin(device.program() / "skins" / "two.skin", kSecondSkin);
    Properties properties;
    EXPECT_FALSE(properties.find_node(u"main"));
    EXPECT_EQ(properties.integer(SkinNode{}, u"size", 5), 5);

    ASSERT_TRUE(properties.load_skin(u"%app_path%/skins/one.skin", screen(), fake_makers()));
    ASSERT_TRUE(properties.find_node(u"main"));
    EXPECT_EQ(properties.string(SkinNode{}, u"size", u"none"), u"none");
    EXPECT_EQ(properties.child_count(SkinNode{}), 0u);

    {
        LogCapture capture;
        EXPECT_FALSE(
            properties.load_skin(u"%app_path%/skins/missing.skin", screen(), fake_makers()));
        EXPECT_TRUE(capture.has("Properties::load_skin 1\n"));
        EXPECT_TRUE(capture.has("Properties::load_skin 2\n"));
        EXPECT_FALSE(capture.has("Properties::load_skin 3\n"));
    }
    EXPECT_EQ(properties.skin_path(), u"%app_path%/skins/one.skin");
    EXPECT_TRUE(properties.find_node(u"main"));

    // A damaged file is refused the same way.
    write_file(device.program() / "skins" / "bad.skin", "not a skin at all");
    EXPECT_FALSE(properties.load_skin(u"%app_path%/skins/bad.skin", screen(), fake_makers()));
    EXPECT_TRUE(properties.find_node(u"main"));

    LogCapture capture;
    ASSERT_TRUE(properties.load_skin(u"%app_path%/skins/two.skin", screen(192), fake_makers()));
    EXPECT_TRUE(capture.has("Properties::load_skin 3\n"));
    EXPECT_FALSE(properties.find_node(u"main"));
    EXPECT_EQ(properties.integer(*properties.find_node(u"second"), u"n", 0), 2);
    EXPECT_EQ(properties.scale_shift(), 1);
}

struct RecordingListener : ReloadListener {
    RecordingListener(std::vector<int>& record, int number) : calls(record), id(number) {}
    void reload_skin(Properties&) override {
        calls.push_back(id);
        if (end_other) end_other->reset();
    }
    std::vector<int>& calls;
    int id;
    Subscription* end_other = nullptr;
};

TEST(Properties, ReloadReachesListenersInOrderAndLogsItsTime) {
    std::vector<int> calls;
    RecordingListener a(calls, 1), b(calls, 2), c(calls, 3);
    Properties properties;
    Subscription sa = properties.add_reload_listener(a);
    Subscription sb = properties.add_reload_listener(b);
    Subscription sc = properties.add_reload_listener(c);
    sb.reset();
    sb.reset();  // ended already: nothing

    LogCapture capture;
    properties.send_reload_skin();
    EXPECT_EQ(calls, (std::vector<int>{1, 3}));
    EXPECT_TRUE(capture.has("PropertiesImpl::send_reload_skin the rest time="));

    // A listener that ends a later one's registration during the round: that
    // one is skipped, not called after it went.
    calls.clear();
    a.end_other = &sc;
    properties.send_reload_skin();
    EXPECT_EQ(calls, (std::vector<int>{1}));
}

TEST(ElementFactory, RegistersEachNameOnceAndRefusesUnknownKinds) {
    ElementFactory::register_kind<Element>(u"probe");
    EXPECT_EQ(thrown_kind<NodeAlreadyRegistered>(
                  [] { ElementFactory::register_kind<Element>(u"probe"); }),
              u"probe");
    ASSERT_NE(ElementFactory::create(u"probe"), nullptr);
    ElementFactory::unregister_kind(u"probe");
    ElementFactory::unregister_kind(u"probe");  // absent: nothing
    for (std::u16string name : {u"probe", u""})
        EXPECT_EQ(thrown_kind<NodeNotRegistered>([&] { ElementFactory::create(name); }), name);
}

}  // namespace
