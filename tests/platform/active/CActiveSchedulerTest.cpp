#include <gtest/gtest.h>

#include <condition_variable>
#include <limits>
#include <memory>
#include <thread>

#include "platform/Ticks.h"
#include "platform/active/CActive.h"
#include "platform/active/CActiveScheduler.h"
#include "platform/active/TimerHandle.h"
#include "platform/active/TimerListener.h"

namespace {

using namespace std::chrono_literals;
using Runs = std::vector<std::string>;  // names of the objects run, in order

// A request completed by the test; a cancel completes it at once.
class Probe : public CActive {
public:
    Probe(Runs& runs, std::string name) : runs_(runs), name_(std::move(name)) {}
    void start() { CActiveScheduler::current().set_active(*this); }
    void complete() { CActiveScheduler::current().notify(*this); }

protected:
    void run() override { runs_.push_back(name_); }
    void do_cancel() override { complete(); }

private:
    Runs& runs_;
    std::string name_;
};

// A request its own thread completes once told to finish (by finish() or a
// cancel): a little later, after completing another object first if given.
class ThreadRequest : public CActive {
public:
    ~ThreadRequest() override {
        if (thread_.joinable()) thread_.join();
    }
    void start(Probe* first = nullptr) {
        CActiveScheduler::current().set_active(*this);
        thread_ = std::thread([this, first] {
            std::unique_lock lock(mutex_);
            told_.wait(lock, [this] { return finish_; });
            lock.unlock();
            if (first != nullptr) first->complete();
            std::this_thread::sleep_for(5ms);
            completing = true;
            CActiveScheduler::current().notify(*this);
        });
    }
    void finish() {
        std::lock_guard lock(mutex_);
        finish_ = true;
        told_.notify_all();
    }

    std::atomic<bool> completing{false};
    int runs = 0;
    std::thread::id ran_on;

protected:
    void run() override {
        ++runs;
        ran_on = std::this_thread::get_id();
    }
    void do_cancel() override { finish(); }

private:
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable told_;
    bool finish_ = false;
};

struct NamedTimer : TimerListener {
    NamedTimer(Runs& to, std::string called) : runs(to), name(std::move(called)) {}
    void timer_fired(TimerHandle& timer) override {
        runs.push_back(name);
        if (then) then(timer);
    }
    Runs& runs;
    std::string name;
    std::function<void(TimerHandle&)> then;
    TimerHandle handle{*this};  // last: it goes before the listener it tells
};

void sleep_until_tick(int64_t tick) {
    while (ticks::now_ms() < tick) std::this_thread::sleep_for(1ms);
}

class ActiveScheduler : public ::testing::Test {
protected:
    // The event loop's turns, sleeping until the timer is due, until nothing waits.
    void run_until_idle() {
        while (scheduler.posted() || scheduler.timer_due()) {
            if (scheduler.posted()) scheduler.process_actives();
            if (auto due = scheduler.timer_due()) {
                sleep_until_tick(*due);
                scheduler.on_timer();
            }
        }
    }

    std::atomic<int> wakes{0};
    CActiveScheduler scheduler{[this] { ++wakes; }};
    Runs runs;
};

TEST_F(ActiveScheduler, RestartingATimerCancelsItAndCountsFromNow) {
    NamedTimer timer(runs, "poll");
    timer.handle.start(0.02);
    EXPECT_GT(wakes, 0);
    sleep_until_tick(ticks::now_ms() + 5);
    const int64_t restarted = ticks::now_ms();
    timer.handle.start(0.02);
    EXPECT_GE(scheduler.timer_due().value_or(0), restarted + 20);
    run_until_idle();
    EXPECT_GE(ticks::now_ms(), restarted + 20);
    EXPECT_EQ(runs, Runs{"poll"});

    // Completed but not yet run, it is taken out of the queue unrun.
    timer.handle.start(0.0);
    ASSERT_TRUE(scheduler.posted());
    timer.handle.start(0.002);
    scheduler.process_actives();
    EXPECT_EQ(runs, Runs{"poll"});
    EXPECT_TRUE(timer.handle.running());
    run_until_idle();
    EXPECT_EQ(runs, (Runs{"poll", "poll"}));
    EXPECT_EQ(scheduler.active_count(), 0);
}

TEST_F(ActiveScheduler, TimersRunThroughTheQueueAfterWhatWaitsThereInListOrder) {
    Probe waiting(runs, "waiting");
    NamedTimer later(runs, "later"), sooner(runs, "sooner"), now(runs, "now");
    waiting.start();
    waiting.complete();
    later.handle.start(0.02);
    sooner.handle.start(0.01);
    now.handle.start(0.0);
    EXPECT_TRUE(runs.empty());
    sleep_until_tick(*scheduler.timer_due() + 10);
    // Both are due by now: they go in start order, not due order.
    scheduler.on_timer();
    EXPECT_FALSE(scheduler.timer_due());
    scheduler.process_actives();
    EXPECT_EQ(runs, (Runs{"waiting", "now", "later", "sooner"}));
}

TEST_F(ActiveScheduler, AListenerMayRestartOrDeleteItsTimer) {
    NamedTimer poll(runs, "poll");
    int left = 3;
    poll.then = [&](TimerHandle& timer) {
        if (--left > 0) timer.start(0.001);
    };
    auto once = std::make_unique<NamedTimer>(runs, "once");
    once->then = [&](TimerHandle&) { once.reset(); };
    once->handle.start(0.0);
    poll.handle.start(0.001);
    {
        NamedTimer queued(runs, "queued"), waiting(runs, "waiting");
        queued.handle.start(0.0);
        waiting.handle.start(10.0);
    }
    run_until_idle();
    EXPECT_EQ(runs, (Runs{"once", "poll", "poll", "poll"}));
    EXPECT_EQ(scheduler.active_count(), 0);
}

TEST_F(ActiveScheduler, DelaysOutOfRangeNeitherOverflowTheTickNorFireEarly) {
    NamedTimer forever(runs, "forever"), unknown(runs, "unknown");
    forever.handle.start(std::numeric_limits<double>::infinity());
    EXPECT_FALSE(scheduler.posted());
    forever.handle.start(1e300);
    EXPECT_GT(scheduler.timer_due().value_or(0), ticks::now_ms() + 1'000'000'000'000);
    unknown.handle.start(std::numeric_limits<double>::quiet_NaN());
    scheduler.process_actives();
    EXPECT_EQ(runs, Runs{"unknown"});
}

TEST_F(ActiveScheduler, ThreadCompletionsRunOnTheLoopsThreadAndCancelWaitsForThem) {
    Probe other(runs, "other");
    other.start();
    ThreadRequest done, cancelled;
    done.start();
    // Its thread completes the other object first: cancel must not take that
    // for its own completion, nor keep the loop from running it.
    cancelled.start(&other);
    done.finish();
    scheduler.cancel(cancelled);
    EXPECT_TRUE(cancelled.completing);
    EXPECT_FALSE(cancelled.is_active());
    // Three completions, each waking the loop.
    for (int i = 0; i < 5000 && wakes < 3; ++i) std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(scheduler.posted());
    EXPECT_EQ(done.runs, 0);
    scheduler.process_actives();
    EXPECT_EQ(runs, Runs{"other"});
    EXPECT_EQ(done.runs, 1);
    EXPECT_EQ(done.ran_on, std::this_thread::get_id());
    EXPECT_EQ(cancelled.runs, 0);
}

using ActiveSchedulerDeathTest = ActiveScheduler;

TEST_F(ActiveSchedulerDeathTest, MisuseEndsTheProcess) {
    Probe probe(runs, "probe");
    auto doomed = std::make_unique<Probe>(runs, "doomed");
    const std::string n = std::to_string(probe.number()), d = std::to_string(doomed->number());
    EXPECT_EXIT(probe.complete(), ::testing::ExitedWithCode(70),
                "Gluck: Active object " + n + " is not active @ CActiveScheduler::notify\\(\\)");
    probe.start();
    EXPECT_EXIT(probe.start(), ::testing::ExitedWithCode(70),
                "Gluck: Object " + n + " is already active @ CActiveScheduler::set_active\\(\\)");
    probe.complete();
    EXPECT_EXIT(
        probe.complete(), ::testing::ExitedWithCode(70),
        "Gluck: Active object " + n + " is already queued @ CActiveScheduler::notify\\(\\)");
    EXPECT_EXIT((doomed->start(), doomed.reset()), ::testing::ExitedWithCode(70),
                "Gluck: Active object " + d + " is already active @ CActive::~CActive\\(\\)");
    // The probe is still queued when the scheduler ends.
    EXPECT_EXIT(scheduler.~CActiveScheduler(), ::testing::ExitedWithCode(70),
                "Gluck: Some active objects still live while scheduler is terminating "
                "active_counter=1 @ CActiveScheduler::~CActiveScheduler\\(\\)");
    scheduler.process_actives();
    EXPECT_EQ(runs, Runs{"probe"});
}

}  // namespace
