#include <gtest/gtest.h>

#include <thread>

#include "display/HeadlessWindow.h"
#include "display/TestEvents.h"
#include "display/Viewport.h"
#include "platform/Ticks.h"

namespace {

class HeadlessWindowTest : public ::testing::Test {
protected:
    HeadlessWindow window_{handset()};
};

TEST_F(HeadlessWindowTest, EventsAndWakesFromAnotherThreadEndABlockedWait) {
    std::thread other([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        WindowEvent text = event_of(Kind::Char);
        text.text = u"ж😀";
        window_.inject(text);
        window_.inject(event_of(Kind::ButtonDown));
    });
    WindowEvent event;
    ASSERT_TRUE(window_.wait_event(event, -1));
    other.join();
    EXPECT_EQ(event.text, u"ж😀");
    EXPECT_EQ(drain(window_), std::vector<Kind>{Kind::ButtonDown});

    expect_wakes_coalesce(window_, 1000);
    window_.wake();
    EXPECT_EQ(drain(window_), std::vector<Kind>{Kind::Wake});
}

TEST_F(HeadlessWindowTest, WaitWithATimeoutEndsEmptyHandedWhenNothingComes) {
    WindowEvent event;
    int64_t start = ticks::now_ms();
    EXPECT_FALSE(window_.wait_event(event, 40));
    EXPECT_GE(ticks::now_ms() - start, 39);
}

TEST_F(HeadlessWindowTest, LastFrameIsACopyOfWhatEitherPathShowed) {
    EXPECT_EQ(window_.last_frame(), nullptr);
    auto painted = PixelBuffer::create(3, 2);
    painted->set_pixel(2, 1, 0xF800);
    window_.paint(*painted);
    painted->set_pixel(2, 1, 0x001F);
    ASSERT_NE(window_.last_frame(), nullptr);
    EXPECT_EQ(window_.last_frame()->pixel(2, 1), 0xF800);

    std::unique_ptr<Display> display = window_.open_display({5, 4});
    PixelBuffer* buffer = display->lock();
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->stride(), PixelBuffer::stride_for(5));
    buffer->set_pixel(4, 3, 0x07E0);
    EXPECT_EQ(window_.last_frame()->width(), 3) << "shown before the unlock";
    display->unlock();
    EXPECT_EQ(window_.last_frame()->pixel(4, 3), 0x07E0);

    // The next frame starts from what the last one drew.
    EXPECT_EQ(display->lock()->pixel(4, 3), 0x07E0);
    display->unlock();
    // An unlock without a lock shows nothing.
    window_.paint(*painted);
    display->unlock();
    EXPECT_EQ(window_.last_frame()->width(), 3);

    std::unique_ptr<Display> impossible = window_.open_display({100000, 100000});
    EXPECT_EQ(impossible->lock(), nullptr);
}

TEST_F(HeadlessWindowTest, EndingACaptureGivesOneNoticeBeforeWhatIsQueued) {
    window_.capture_pointer(true);
    window_.inject(event_of(Kind::PointerMove));
    window_.capture_pointer(false);
    window_.capture_pointer(false);
    EXPECT_EQ(drain(window_), (std::vector<Kind>{Kind::CaptureChanged, Kind::PointerMove}));

    // Focus lost while captured: the capture goes with it, noticed once.
    window_.capture_pointer(true);
    window_.inject(event_of(Kind::Deactivate));
    window_.inject(event_of(Kind::Activate));
    EXPECT_EQ(drain(window_),
              (std::vector<Kind>{Kind::CaptureChanged, Kind::Deactivate, Kind::Activate}));
    window_.capture_pointer(false);
    window_.inject(event_of(Kind::Deactivate));
    EXPECT_EQ(drain(window_), std::vector<Kind>{Kind::Deactivate});
}

TEST_F(HeadlessWindowTest, ChangedScreenIsAnnouncedAndOpensTurnedDisplays) {
    window_.set_screen(handset());
    EXPECT_EQ(drain(window_), std::vector<Kind>{});
    ScreenInfo turned = Viewport::turned(handset());
    window_.set_screen(turned);
    EXPECT_EQ(drain(window_), std::vector<Kind>{Kind::Resized});
    EXPECT_EQ(window_.screen(), turned);
    EXPECT_EQ(window_.open_display({320, 240})->orientation(), turned.orientation);
}

}  // namespace
