#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/SingleInstance.h"
#include "platform/Utf16.h"
#include "support/ChildProcess.h"
#include "support/LogCapture.h"
#include "support/TestDevice.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Starts that should hand over get time to spare on a loaded machine; a wait
// that is meant to run out is short.
constexpr int kAnswerMs = 3000;
constexpr int kFastAnswerMs = 300;

// One instance_probe process whose standard output the test reads by lines
// while it runs.
class Probe {
public:
    explicit Probe(const std::vector<std::string>& args) : child_(QUILLMO_INSTANCE_PROBE, args) {}

    // The next line printed, or "<none>" when none comes within 5 s.
    std::string line() {
        for (auto end = std::chrono::steady_clock::now() + 5s;
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(10ms)) {
            std::string out = child_.out();
            size_t eol = out.find('\n', read_);
            if (eol == std::string::npos) continue;
            std::string line = out.substr(read_, eol - read_);
            read_ = eol + 1;
            return line;
        }
        return "<none>";
    }
    // The exit status, or -1 when the probe still ran after 5 s.
    int exit_status() { return child_.wait(5s); }
    bool running() { return ::waitpid(child_.pid(), nullptr, WNOHANG) == 0; }
    void kill() {
        child_.signal(SIGKILL);
        child_.wait();
    }

private:
    ChildProcess child_;
    size_t read_ = 0;
};

class SingleInstanceTest : public ::testing::Test {
protected:
    SingleInstanceTest() {
        runtime_ = device_.device().parent_path() / "run";
        fs::create_directory(runtime_);
        fs::permissions(runtime_, fs::perms::owner_all);
        ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    }
    ~SingleInstanceTest() override { ::unsetenv("XDG_RUNTIME_DIR"); }

    std::unique_ptr<Probe> serve(const char* mode = "serve", int answer_ms = kFastAnswerMs,
                                 int delay_ms = 0) {
        return std::make_unique<Probe>(std::vector<std::string>{
            mode, device_.device(), std::to_string(answer_ms), std::to_string(delay_ms)});
    }
    int start(const std::string& command_line, int answer_ms = kAnswerMs) {
        Probe probe({"start", device_.device(), std::to_string(answer_ms), command_line});
        return probe.exit_status();
    }

    TestDevice device_;
    fs::path runtime_;
};

// A running instance inside the test process, which records and acknowledges
// what it is handed.
class RunningInstance {
public:
    explicit RunningInstance(const std::string& device_folder)
        : instance_(u"Quillmo", device_folder, std::chrono::milliseconds(kFastAnswerMs)) {
        EXPECT_FALSE(instance_.show_running_instance(u""));
        EXPECT_TRUE(instance_.listen([this](HandOver hand_over) {
            std::lock_guard lock(mutex_);
            received_.push_back(utf16::to_utf8(hand_over.command_line()));
            hand_over.acknowledge();
        }));
        instance_.release_mutex();
    }
    std::vector<std::string> received() {
        std::lock_guard lock(mutex_);
        return received_;
    }
    const SingleInstance& instance() const { return instance_; }

private:
    SingleInstance instance_;
    std::mutex mutex_;
    std::vector<std::string> received_;
};

bool hands_over(const std::string& device_folder, std::u16string_view command_line) {
    SingleInstance later(u"Quillmo", device_folder, std::chrono::milliseconds(kAnswerMs));
    return later.show_running_instance(command_line);
}

UniqueFd connect_to(const std::string& path) {
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    EXPECT_EQ(::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    timeval two_seconds{2, 0};
    ::setsockopt(fd.get(), SOL_SOCKET, SO_RCVTIMEO, &two_seconds, sizeof(two_seconds));
    return fd;
}

// Whether the receiver closed the connection without the answer byte (a
// reset when it left bytes unread).
bool closed_unanswered(const UniqueFd& fd) {
    char answer;
    ssize_t n = ::recv(fd.get(), &answer, 1, 0);
    return n == 0 || (n < 0 && errno == ECONNRESET);
}

TEST_F(SingleInstanceTest, LaterStartsHandTheirCommandLinesOverAndEnd) {
    auto running = serve();
    ASSERT_EQ(running->line(), "starting");
    ASSERT_EQ(running->line(), "listening");
    EXPECT_EQ(start("open:+15550100"), 0);
    EXPECT_EQ(running->line(), "open:+15550100");
    EXPECT_EQ(start(""), 0);
    EXPECT_EQ(running->line(), "%CommandLineEmpty%");
    EXPECT_EQ(start("open:Привет 😀 message"), 0);
    EXPECT_EQ(running->line(), "open:Привет 😀 message");
    EXPECT_EQ(start("quit"), 0);
    EXPECT_EQ(running->exit_status(), 0);
}

TEST_F(SingleInstanceTest, AStartWaitsForTheEarlierStartsWindowButNotForever) {
    auto first = serve("serve", kAnswerMs, 1000);
    ASSERT_EQ(first->line(), "starting");
    EXPECT_EQ(start("open:1"), 0);
    EXPECT_EQ(first->line(), "listening");
    EXPECT_EQ(first->line(), "open:1");

    // An earlier start that never gets its window holds the lock for good.
    auto stuck_device = device_.device().parent_path() / "stuck";
    fs::create_directory(stuck_device);
    Probe stuck({"serve", stuck_device, std::to_string(kFastAnswerMs), "60000"});
    ASSERT_EQ(stuck.line(), "starting");
    Probe later({"start", stuck_device, std::to_string(kFastAnswerMs), "open:2"});
    EXPECT_EQ(later.exit_status(), 3);
}

// A socket left by a killed instance is stale; a hung instance is given up
// after the timeout and left running. Either way the later start goes on, and
// once running it takes the socket over.
TEST_F(SingleInstanceTest, ALaterStartGoesOnPastAKilledOrHungInstanceAndTakesOver) {
    for (const char* mode : {"serve", "serve-hung"}) {
        SCOPED_TRACE(mode);
        auto gone = serve(mode);
        ASSERT_EQ(gone->line(), "starting");
        ASSERT_EQ(gone->line(), "listening");
        bool killed = std::string(mode) == "serve";
        if (killed) gone->kill();
        EXPECT_EQ(start("open:1", kFastAnswerMs), 3);
        if (!killed) {
            EXPECT_EQ(gone->line(), "open:1");
        }

        auto next = serve();
        ASSERT_EQ(next->line(), "starting");
        ASSERT_EQ(next->line(), "listening");
        EXPECT_EQ(start("open:2"), 0);
        EXPECT_EQ(next->line(), "open:2");
        EXPECT_EQ(gone->running(), !killed);
    }
}

TEST_F(SingleInstanceTest, DamagedHandOversLoseOnlyTheirOwnConnection) {
    RunningInstance running(device_.device());
    std::string path = running.instance().socket_path();
    EXPECT_EQ(fs::path(path).parent_path(), runtime_);

    UniqueFd silent = connect_to(path);
    UniqueFd odd = connect_to(path);
    ::send(odd.get(), "\x03\0\0\0abc", 7, MSG_NOSIGNAL);
    UniqueFd huge = connect_to(path);
    ::send(huge.get(), "\xff\xff\xff\x7f", 4, MSG_NOSIGNAL);
    UniqueFd short_one = connect_to(path);
    ::send(short_one.get(), "\x0a\0\0\0a\0b\0", 8, MSG_NOSIGNAL);
    ::shutdown(short_one.get(), SHUT_WR);
    EXPECT_TRUE(closed_unanswered(odd));
    EXPECT_TRUE(closed_unanswered(huge));
    EXPECT_TRUE(closed_unanswered(short_one));

    // The silent peer still holds its connection open.
    EXPECT_TRUE(hands_over(device_.device(), u"open:5"));
    EXPECT_EQ(running.received(), std::vector<std::string>{"open:5"});
}

TEST_F(SingleInstanceTest, DeviceFoldersAreKeptApartAndALinkCountsAsItsTarget) {
    LogCapture log;
    RunningInstance running(device_.device());
    fs::path other = device_.device().parent_path() / "other";
    fs::create_directory(other);
    fs::path link = device_.device().parent_path() / "link";
    fs::create_directory_symlink(device_.device(), link);

    EXPECT_FALSE(hands_over(other, u"open:6"));
    EXPECT_TRUE(hands_over(link, u"open:7"));
    EXPECT_EQ(running.received(), std::vector<std::string>{"open:7"});
    EXPECT_TRUE(log.has("Application::show_running_instance_open_bracket cmd_line=open:7"));
    EXPECT_TRUE(log.has("Application::EnumProc window found 2"));
}

TEST_F(SingleInstanceTest, WithoutAPrivateRuntimeFolderADeepDeviceFolderHoldsThePrivateSocket) {
    fs::permissions(runtime_, fs::perms::all);
    fs::path deep = device_.device() / std::string(60, 'd') / std::string(60, 'e');
    fs::create_directories(deep);
    RunningInstance running(deep);
    std::string path = running.instance().socket_path();
    EXPECT_EQ(fs::path(path).parent_path(), deep);

    EXPECT_TRUE(hands_over(deep, u"open:8"));
    EXPECT_EQ(running.received(), std::vector<std::string>{"open:8"});
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

}  // namespace
