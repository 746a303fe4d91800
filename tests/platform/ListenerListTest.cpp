#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/ListenerList.h"

namespace {

struct Listener {
    virtual ~Listener() = default;
    virtual void hear(std::string& heard) = 0;
};

// Appends its name, then does whatever the test gives it to do.
struct Named : Listener {
    explicit Named(char c) : name(c) {}
    void hear(std::string& heard) override {
        heard += name;
        if (then) then();
    }
    char name;
    std::function<void()> then;
};

std::string tell(ListenerList<Listener>& list) {
    std::string heard;
    list.for_each([&](Listener& listener) { listener.hear(heard); });
    return heard;
}

TEST(ListenerList, ListenersHearInOrderWhileTheirHandlesLive) {
    ListenerList<Listener> list;
    Named a('a'), b('b'), c('c');
    Subscription sa = list.add(a);
    std::optional<Subscription> sb = list.add(b);
    Subscription sc = list.add(c);
    Subscription twice = list.add(a);
    EXPECT_EQ(tell(list), "abca");

    sb.reset();  // the handle goes
    EXPECT_EQ(tell(list), "aca");
    Subscription moved = std::move(sc);
    EXPECT_FALSE(sc.active());
    EXPECT_TRUE(moved.active());
    EXPECT_EQ(tell(list), "aca") << "a moved handle keeps the registration";
    moved = std::move(twice);  // ends c's registration, takes over the second a
    EXPECT_EQ(tell(list), "aa");
    EXPECT_EQ(list.size(), 2u);

    // Handles that outlive their subject end nothing and stay harmless.
    auto gone = std::make_unique<ListenerList<Listener>>();
    Subscription orphan = gone->add(a);
    gone.reset();
    EXPECT_FALSE(orphan.active());
    orphan.reset();
}

TEST(ListenerList, ListenersMayComeAndGoWhileBeingTold) {
    ListenerList<Listener> list;
    Named a('a'), b('b'), c('c'), d('d'), late('l');
    Subscription sa = list.add(a), sb = list.add(b), sc = list.add(c), sd = list.add(d), sl;

    // b ends itself and d's registration and brings in a late listener; c
    // ends a, which has been told already.
    b.then = [&] {
        sb.reset();
        sd.reset();
        sl = list.add(late);
    };
    c.then = [&] { sa.reset(); };
    EXPECT_EQ(tell(list), "abc") << "d went before its turn; the late one waits";
    EXPECT_EQ(tell(list), "cl");

    // A round inside a round, ending a listener that the outer round has yet
    // to reach.
    std::string inner;
    bool nest = true;
    c.then = [&] {
        if (!std::exchange(nest, false)) return;
        sl.reset();
        inner = tell(list);
    };
    EXPECT_EQ(tell(list), "c");
    EXPECT_EQ(inner, "c");
    EXPECT_EQ(list.size(), 1u);

    // A listener that throws ends the round; removals made meanwhile hold.
    b.then = nullptr;
    Subscription sb2 = list.add(b);
    c.then = [&] {
        sb2.reset();
        throw std::runtime_error("rebuild failed");
    };
    EXPECT_THROW(tell(list), std::runtime_error);
    c.then = nullptr;
    EXPECT_EQ(tell(list), "c");
    EXPECT_EQ(list.size(), 1u);
}

}  // namespace
