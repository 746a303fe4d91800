// The whole program on a device prepared by quillmo-device: start-up behind
// the splash, messages arriving while it runs and its store vanishing, the
// new-message alert in front of other programs and in message mode, later
// starts handing over their command lines, and start-ups with parts of the
// program folder missing.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/DeviceRun.h"
#include "platform/RegistryNotification.h"
#include "support/Contains.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

size_t count_of(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class AppRun : public DeviceRun {
protected:
    std::string dump_path(const std::string& name) const { return file(name).string(); }
};

TEST_F(
    AppRun,
    StartsOnAnEmptyDeviceFollowsArrivingMessagesKeepsThemWhenTheStoreVanishesAndShutsDownInOrder) {
    std::string dump = dump_path("list.json");
    auto run = program("dump " + dump_path("splash.json") +
                       "\nwait-for-id btnNew 20000\nwait 10000\ndump " + dump +
                       "\nwait 4000\ndump " + dump_path("vanished.json") + "\nquit\n");
    ASSERT_TRUE(log_shows("start time2:", 20s)) << run->err();
    deliver("+79001234567", "First from Anna");
    deliver("+44 20 7946 0958", "Hello from London");
    // The store goes from under the running program.
    ASSERT_TRUE(file_appears(dump, 30s)) << run->err();
    for (const char* name : {"store.db", "store.db-wal", "store.db-shm"})
        fs::remove(device_.device() / name);
    ASSERT_EQ(run->wait(60s), 0) << run->err();

    // The splash came first, as an overlay with its bar.
    std::string splash = read_file(dump_path("splash.json"));
    EXPECT_TRUE(contains(splash, R"("overlay":true)")) << splash;
    EXPECT_TRUE(contains(splash, R"("kind":"progress","id":"progress")")) << splash;

    std::string list = read_file(dump);
    EXPECT_TRUE(contains(list, "First from Anna")) << list;
    EXPECT_TRUE(contains(list, "Hello from London")) << list;
    EXPECT_TRUE(contains(list, R"x("text":"(1)")x")) << list;
    std::string vanished = read_file(dump_path("vanished.json"));
    EXPECT_TRUE(contains(vanished, "First from Anna")) << vanished;
    EXPECT_TRUE(contains(vanished, "Hello from London")) << vanished;

    std::string log = log_text();
    for (const char* line : {"update_chats time:", "load_contacts time:", "start time1:",
                             "start time2:", "show_alert form count:1"})
        EXPECT_TRUE(contains(log, line)) << line;
    size_t controller = log.find("AppController::~AppController()");
    size_t model = log.find("AppController: chat model closed");
    size_t application = log.find("Application::~Application()");
    ASSERT_NE(controller, std::string::npos);
    EXPECT_LT(controller, model);
    EXPECT_LT(model, application);
}

TEST_F(AppRun, AMessageAlertsOverTheListWhileTheProgramIsMinimised) {
    std::string dump = dump_path("alert.json");
    auto run = program(
        "wait-for-id btnNew 20000\ntap-id btnMenu\nwait-for-id Minimize 5000\ntap-id Minimize\n"
        "wait-for-id btnView 20000\ndump " +
        dump + "\nquit\n");
    ASSERT_TRUE(log_shows("Application::minimise", 20s)) << run->err();
    deliver("+79001234567", "Are you there?");
    ASSERT_EQ(run->wait(), 0) << run->err();
    std::string alert = read_file(dump);
    EXPECT_TRUE(contains(alert, R"("overlay":true)")) << alert;
    EXPECT_TRUE(contains(alert, "Are you there?")) << alert;
    EXPECT_TRUE(contains(alert, R"("text":"+79001234567")")) << alert;
    EXPECT_TRUE(contains(log_text(), "form_alert message:Are you there?"));
}

TEST_F(AppRun, InMessageModeCancelMarksTheMessageReadAndEndsTheProgram) {
    deliver("+79001234567", "Cancel me");
    auto run = program("wait-for-id btnCancel 20000\ntap-id btnCancel\nwait 20000\n", {"message"});
    ASSERT_EQ(run->wait(), 0) << run->err();
    EXPECT_TRUE(contains(tool({"sms", "list", "--json"}), R"("flags":1)"));
}

TEST_F(AppRun, InMessageModeViewStartsInFullAndOpensTheSendersChat) {
    deliver("+79001234567", "View me");
    std::string dump = dump_path("chat.json");
    auto run =
        program("wait-for-id btnView 20000\ntap-id btnView\nwait-for-id btnSend 20000\ndump " +
                    dump + "\nquit\n",
                {"message"});
    ASSERT_EQ(run->wait(), 0) << run->err();
    std::string chat = read_file(dump);
    EXPECT_TRUE(contains(chat, "View me")) << chat;
    EXPECT_TRUE(contains(chat, "+79001234567")) << chat;
    std::string log = log_text();
    EXPECT_TRUE(contains(log, "view_action:open:+79001234567"));
    EXPECT_LT(log.find("form_alert message:"), log.find("start time2:"));
}

TEST_F(AppRun, LaterStartsHandTheirCommandLinesToTheRunningProgramWhichEndsInOrderWhenTerminated) {
    std::string dump = dump_path("handed.json");
    auto run = program("wait-for-id btnNew 20000\nwait-for-id btnSend 30000\nwait 500\ndump " +
                       dump + "\nwait 60000\n");
    ASSERT_TRUE(log_shows("start time2:", 20s)) << run->err();
    // The system starts "quillmo message" for a delivered message; it hands
    // over to the running program, which polls at once.
    deliver("+79005550000", "Hand me over");
    EXPECT_TRUE(log_shows("on_other_instance_started:message\n", 20s));
    // The empty command line travels as its placeholder and arrives empty.
    auto empty = start("", stray_script_);
    EXPECT_EQ(empty->wait(20s), 0) << empty->err();
    EXPECT_TRUE(log_shows("on_other_instance_started:\n"));

    auto later = start("", stray_script_, {"sms:+7%20900%20111-22-33?body=Hello%20there%0A:)"});
    EXPECT_EQ(later->wait(20s), 0) << later->err();
    ASSERT_TRUE(file_appears(dump, 30s)) << run->err();
    run->signal(SIGTERM);
    EXPECT_EQ(run->wait(10s), 0) << run->err();
    std::string chat = read_file(dump);
    EXPECT_TRUE(contains(chat, R"("text":"+7 900 111-22-33")")) << chat;
    EXPECT_TRUE(contains(chat, R"(Hello there\n:))")) << chat;
}

TEST_F(AppRun, AMessageStartsTheProgramForItsAlert) {
    // One run leaves the request with the system.
    auto first = program("wait-for-id btnNew 20000\nquit\n");
    ASSERT_EQ(first->wait(), 0) << first->err();
    ASSERT_EQ(registry::notification_requests().size(), 1u);

    std::string dump = dump_path("started.json");
    std::string alert = write_script(
        "alert", "wait-for-id btnView 20000\ndump " + dump + "\ntap-id btnCancel\nwait 20000\n");
    deliver("+79001234567", "Wake up", alert);
    ASSERT_TRUE(file_appears(dump, 30s));
    std::string shown = read_file(dump);
    EXPECT_TRUE(contains(shown, "Wake up")) << shown;
    // Alone on the stack: the alert is the only form.
    EXPECT_EQ(count_of(shown, R"("overlay")"), 1u) << shown;
}

TEST_F(AppRun, AMissingSplashSkinIsPassedOverAMissingMainSkinEndsWithOneLine) {
    // A program folder of links to the built one, without some skins.
    fs::path home = file("home");
    fs::path built = program_dir();
    fs::create_directories(home);
    for (const auto& entry : fs::recursive_directory_iterator(built)) {
        fs::path relative = fs::relative(entry.path(), built);
        if (entry.is_directory())
            fs::create_directories(home / relative);
        else if (entry.path().filename() != "splash.skin")
            fs::create_symlink(entry.path(), home / relative);
    }
    std::string dump = dump_path("nosplash.json");
    auto run = program("wait-for-id btnNew 20000\ndump " + dump + "\nquit\n", {},
                       {"QUILLMO_HOME=" + home.string()});
    ASSERT_EQ(run->wait(), 0) << run->err();
    EXPECT_TRUE(contains(read_file(dump), "btnNew"));
    EXPECT_EQ(count_of(log_text(), "the splash skin cannot be shown"), 1u);

    for (const auto& entry : fs::directory_iterator(home / "skins" / "bin"))
        if (entry.path().extension() == ".skin") fs::remove(entry.path());
    run = program("wait 20000\nquit\n", {}, {"QUILLMO_HOME=" + home.string()});
    EXPECT_EQ(run->wait(), 1);
    std::string err = run->err();
    EXPECT_TRUE(contains(err, "no skin loads from")) << err;
    EXPECT_EQ(count_of(err, "\n"), 1u) << err;
}

TEST_F(AppRun, TenThousandMessagesAtOnceGiveOneAlertAndAFullList) {
    std::string dump = dump_path("flood.json");
    auto run = program(
        "wait-for-id btnNew 20000\ntap-id btnMenu\nwait-for-id Minimize 5000\n"
        "tap-id Minimize\nwait-for-id btnView 90000\nwait 2000\ndump " +
        dump + "\nquit\n");
    ASSERT_TRUE(log_shows("Application::minimise", 20s)) << run->err();
    tool({"sms", "generate", "--messages", "10000", "--chats", "40"});
    ASSERT_EQ(run->wait(120s), 0) << run->err();
    EXPECT_TRUE(contains(read_file(dump), "btnView"));
    std::string log = log_text();
    // One alert for the one update that found them all. A program the
    // system started for the message while this one was still reading
    // (and so did not answer the hand-over in time) shows its own.
    EXPECT_EQ(count_of(log, "form_alert message:"),
              1u + count_of(log, "running instance does not answer"))
        << log;
    EXPECT_TRUE(contains(log, "save_cache success:40 chats"));
}

}  // namespace
