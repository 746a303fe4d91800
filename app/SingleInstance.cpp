// Sections: naming the lock and the socket; the lock; handing a command line
// over (the later start); listening (the running instance).
#include "app/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "app/HandOverListener.h"
#include "platform/Log.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// --- Naming -----------------------------------------------------------------

// $XDG_RUNTIME_DIR when it is what it promises to be: an absolute path to a
// folder of this user that nobody else may enter.
std::string private_runtime_folder() {
    const char* value = std::getenv("XDG_RUNTIME_DIR");
    if (value == nullptr || value[0] != '/') return {};
    struct stat info {};
    if (::stat(value, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
        (info.st_mode & 077) != 0 || ::access(value, W_OK | X_OK) != 0)
        return {};
    return value;
}

// FNV-1a over the canonical path: short, stable across runs, and enough to
// keep the device folders of one user apart.
std::string device_hash(const std::string& device_folder) {
    std::string path = device_folder;
    if (char* real = ::realpath(device_folder.c_str(), nullptr)) {
        path = real;
        std::free(real);
    }
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : path) hash = (hash ^ c) * 1099511628211ull;
    char text[17];
    std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// The class name with every character but letters, digits, '-', '_' and '.'
// replaced, so that no application name can reach outside the folder.
std::string file_safe(const std::u16string& name) {
    std::string safe;
    for (char16_t c : name) {
        bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                     (c >= u'0' && c <= u'9') || c == u'-' || c == u'_' || c == u'.';
        safe.push_back(plain ? static_cast<char>(c) : '_');
    }
    return safe.substr(0, 48);
}

// --- Handing over -----------------------------------------------------------

// Socket timeouts for what is left of the deadline; false once it passed (a
// zero timeval would mean "wait forever").
bool set_timeouts(int fd, Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    timeval tv{static_cast<time_t>(left.count() / 1000000),
               static_cast<suseconds_t>(left.count() % 1000000)};
    return ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof(tv)) == 0 &&
           ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof(tv)) == 0;
}

std::string wire_message(std::u16string_view command_line) {
    if (command_line.empty()) command_line = HandOver::kEmptyCommandLine;
    uint32_t count = static_cast<uint32_t>(command_line.size() * 2);
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(count >> (8 * i)));
    for (char16_t c : command_line) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

bool fill_address(sockaddr_un& address, const std::string& path) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

void log_line(std::string_view text) { log() << std::string(text) + "\n"; }

}  // namespace

SingleInstance::SingleInstance(std::u16string application_name, std::string device_folder,
                               milliseconds answer_timeout)
    : application_name_(std::move(application_name)),
      class_name_(u"GlazierClass_" + application_name_),
      answer_timeout_(answer_timeout),
      base_name_(file_safe(class_name_) + "-" + device_hash(device_folder)) {
    folder_ = private_runtime_folder();
    if (folder_.empty()) folder_ = device_folder;
    folder_fd_.reset(::open(folder_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

SingleInstance::~SingleInstance() {
    listener_.reset();
    release_mutex();
}

std::string SingleInstance::socket_path() const { return folder_ + "/" + base_name_ + ".sock"; }

std::string SingleInstance::address_of(const std::string& name) const {
    std::string path = folder_ + "/" + name;
    if (path.size() < sizeof(sockaddr_un::sun_path)) return path;
    return "/proc/self/fd/" + std::to_string(folder_fd_.get()) + "/" + name;
}

// --- The lock -----------------------------------------------------------------

void SingleInstance::take_lock() {
    // O_NONBLOCK and O_NOFOLLOW: a FIFO or a link planted at the name is not
    // waited on or followed, and a file that is not this user's is not used.
    UniqueFd fd(::openat(folder_fd_.get(), (base_name_ + ".lock").c_str(),
                         O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid()) {
        log_line("Application::show_running_instance_open_bracket mutex==0");
        return;
    }
    auto deadline = Clock::now() + answer_timeout_;
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            log_line("Application::show_running_instance_open_bracket mutex==0");
            return;
        }
        if (Clock::now() >= deadline) {
            log_line(
                "Application::show_running_instance_open_bracket an earlier start still holds "
                "the mutex; going on without it");
            return;
        }
        std::this_thread::sleep_for(milliseconds(10));
    }
    lock_ = std::move(fd);
}

void SingleInstance::release_mutex() {
    if (!lock_) return;
    ::flock(lock_.get(), LOCK_UN);
    lock_.reset();
}

// --- Handing over -------------------------------------------------------------

bool SingleInstance::show_running_instance(std::u16string_view command_line) {
    log() << u"Application::show_running_instance_open_bracket cmd_line=" +
                 std::u16string(command_line) + u"\n";
    command_line_ = command_line;
    found_ = false;
    if (!lock_) take_lock();
    // A start that cannot have the lock still looks: handing over to an
    // instance that runs beats starting a second one beside it.
    found_ = hand_over();
    if (found_) release_mutex();
    return found_;
}

bool SingleInstance::hand_over() {
    if (command_line_.size() * 2 > HandOver::kMaxBytes) {
        log_line("Application::show_running_instance command line too long to hand over");
        return false;
    }
    sockaddr_un address;
    if (!fill_address(address, address_of(base_name_ + ".sock"))) return false;
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    auto deadline = Clock::now() + answer_timeout_;
    if (!fd || !set_timeouts(fd.get(), deadline)) return false;

    // connect() on a local socket waits (up to the send timeout) while the
    // listener's backlog is full.
    int connected;
    while ((connected =
                ::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address))) != 0 &&
           errno == EINTR) {
    }
    if (connected != 0) {
        if (errno == ECONNREFUSED)
            log_line("Application::show_running_instance stale socket, nobody listens");
        else if (errno == EAGAIN)
            log_line("Application::show_running_instance running instance does not answer");
        else if (errno != ENOENT)
            log_line("Application::show_running_instance cannot reach a running instance");
        return false;
    }
    ucred cred{};
    socklen_t size = sizeof(cred);
    if (::getsockopt(fd.get(), SOL_SOCKET, SO_PEERCRED, &cred, &size) != 0 ||
        cred.uid != ::geteuid()) {
        log_line("Application::show_running_instance socket of another user refused");
        return false;
    }
    log() << "Application::EnumProc window found hwnd=" + std::to_string(cred.pid) + "\n";

    std::string message = wire_message(command_line_);
    for (size_t sent = 0; sent < message.size();) {
        ssize_t n = ::send(fd.get(), message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
        } else if (n < 0 && errno != EINTR) {
            log_line(
                "Application::show_running_instance running instance does not take the "
                "command line");
            return false;
        }
    }
    char answer = 0;
    ssize_t n = -1;
    errno = EAGAIN;
    while (set_timeouts(fd.get(), deadline) && (n = ::recv(fd.get(), &answer, 1, 0)) < 0 &&
           errno == EINTR) {
    }
    if (n != 1) {
        log_line(n == 0 || errno == ECONNRESET
                     ? "Application::show_running_instance running instance closed the "
                       "hand-over unanswered"
                     : "Application::show_running_instance running instance does not answer");
        return false;
    }
    log_line("Application::EnumProc window found 2");
    return true;
}

// --- Listening ----------------------------------------------------------------

bool SingleInstance::listen(std::function<void(HandOver)> deliver) {
    listener_.reset();
    // Bound under a name of its own, made private, listening, and only then
    // renamed over the socket's name: a start never sees a half-made socket,
    // and one that takes over from a hung instance replaces it in one step.
    std::string name = base_name_ + ".sock";
    std::string temporary = name + "." + std::to_string(::getpid());
    sockaddr_un address;
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    ::unlinkat(folder_fd_.get(), temporary.c_str(), 0);
    bool made = fd && fill_address(address, address_of(temporary)) &&
                ::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    made = made && ::fchmodat(folder_fd_.get(), temporary.c_str(), 0600, 0) == 0 &&
           ::listen(fd.get(), 16) == 0 &&
           ::renameat(folder_fd_.get(), temporary.c_str(), folder_fd_.get(), name.c_str()) == 0;
    if (!made) {
        ::unlinkat(folder_fd_.get(), temporary.c_str(), 0);
        log_line("SingleInstance::listen cannot make the hand-over socket");
        return false;
    }
    listener_ = HandOverListener::start(std::move(fd), std::move(deliver));
    return listener_ != nullptr;
}
