#include "app/HandOverListener.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#include "platform/Log.h"
#include "platform/Ticks.h"

namespace {

// How long a peer may take to send its whole command line. A later start
// sends it at once; only a broken or hostile peer takes longer.
constexpr int64_t kReadTimeoutMs = 3000;
// Connections read at the same time; more wait in the socket's backlog.
constexpr size_t kMaxConnections = 16;
constexpr size_t kCountBytes = 4;

struct Connection {
    UniqueFd fd;
    std::string bytes;
    int64_t deadline_ms;
};

void log_refusal(const char* reason) {
    log() << std::string("SingleInstance hand-over refused: ") + reason + "\n";
}

uint32_t little_endian_count(const std::string& bytes) {
    uint32_t count = 0;
    for (size_t i = 0; i < kCountBytes; ++i)
        count |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])) << (8 * i);
    return count;
}

std::u16string utf16le_text(const std::string& bytes, size_t from) {
    std::u16string text;
    text.reserve((bytes.size() - from) / 2);
    for (size_t i = from; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                             static_cast<uint8_t>(bytes[i + 1]) << 8));
    return text;
}

enum class ReadState { Waiting, Complete, Dropped };

// Reads what has arrived; drops the connection on a count that cannot be
// taken and on an end before the whole command line.
ReadState read_some(Connection& c) {
    for (;;) {
        size_t wanted = kCountBytes;
        if (c.bytes.size() >= kCountBytes) {
            uint32_t count = little_endian_count(c.bytes);
            if (count > HandOver::kMaxBytes) {
                log_refusal("byte count too large");
                return ReadState::Dropped;
            }
            if (count % 2 != 0) {
                log_refusal("odd byte count");
                return ReadState::Dropped;
            }
            wanted = kCountBytes + count;
            if (c.bytes.size() == wanted) return ReadState::Complete;
        }
        size_t have = c.bytes.size();
        c.bytes.resize(wanted);
        ssize_t n = ::recv(c.fd.get(), c.bytes.data() + have, wanted - have, 0);
        c.bytes.resize(have + (n > 0 ? static_cast<size_t>(n) : 0));
        if (n > 0) continue;
        if (n == 0) {
            log_refusal("connection closed before the whole command line");
            return ReadState::Dropped;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return ReadState::Waiting;
        log_refusal("read failed");
        return ReadState::Dropped;
    }
}

// Only a process of this user may hand a command line over; the socket's
// folder and mode already keep others out, this holds even where they do not.
bool peer_is_this_user(int fd) {
    ucred cred{};
    socklen_t size = sizeof(cred);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &size) == 0 && cred.uid == ::geteuid();
}

}  // namespace

std::unique_ptr<HandOverListener> HandOverListener::start(UniqueFd listening,
                                                          std::function<void(HandOver)> deliver) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        log() << "SingleInstance::listen no stop pipe\n";
        return nullptr;
    }
    std::unique_ptr<HandOverListener> listener(new HandOverListener(
        std::move(listening), UniqueFd(ends[0]), UniqueFd(ends[1]), std::move(deliver)));
    try {
        listener->thread_ = std::thread([l = listener.get()] { l->run(); });
    } catch (const std::system_error&) {
        log() << "SingleInstance::listen no thread\n";
        return nullptr;
    }
    return listener;
}

HandOverListener::HandOverListener(UniqueFd listening, UniqueFd stop_read, UniqueFd stop_write,
                                   std::function<void(HandOver)> deliver)
    : listening_(std::move(listening)),
      stop_read_(std::move(stop_read)),
      stop_write_(std::move(stop_write)),
      deliver_(std::move(deliver)) {}

HandOverListener::~HandOverListener() {
    if (thread_.joinable()) {
        const char stop = 1;
        while (::write(stop_write_.get(), &stop, 1) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
}

void HandOverListener::run() {
    std::vector<Connection> connections;
    std::vector<pollfd> polled;
    for (;;) {
        int64_t now = ticks::now_ms();
        std::erase_if(connections, [&](const Connection& c) {
            if (c.deadline_ms > now) return false;
            log_refusal("nothing complete within the time allowed");
            return true;
        });
        // Every deadline left lies ahead, and within kReadTimeoutMs.
        int64_t wait_ms = -1;
        for (const Connection& c : connections)
            wait_ms = wait_ms < 0 ? c.deadline_ms - now : std::min(wait_ms, c.deadline_ms - now);

        polled.clear();
        polled.push_back({stop_read_.get(), POLLIN, 0});
        // While the table is full, new starts wait in the backlog.
        bool accepting = connections.size() < kMaxConnections;
        polled.push_back({accepting ? listening_.get() : -1, POLLIN, 0});
        for (const Connection& c : connections) polled.push_back({c.fd.get(), POLLIN, 0});
        if (::poll(polled.data(), polled.size(), static_cast<int>(wait_ms)) < 0) {
            if (errno == EINTR) continue;
            log() << "SingleInstance::listen poll failed; no more hand-overs\n";
            return;
        }
        if (polled[0].revents != 0) return;

        // Connections first: their indices match polled from 2 on only
        // until new ones are added.
        std::vector<Connection> kept;
        for (size_t i = 0; i < connections.size(); ++i) {
            Connection& c = connections[i];
            if (polled[i + 2].revents == 0) {
                kept.push_back(std::move(c));
                continue;
            }
            ReadState state = read_some(c);
            if (state == ReadState::Waiting) {
                kept.push_back(std::move(c));
            } else if (state == ReadState::Complete) {
                deliver_(HandOver(std::move(c.fd), utf16le_text(c.bytes, kCountBytes)));
            }
        }
        connections = std::move(kept);

        if (accepting && (polled[1].revents & POLLIN) != 0) {
            UniqueFd fd(
                ::accept4(listening_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
            if (!fd) continue;
            if (!peer_is_this_user(fd.get())) {
                log_refusal("peer of another user");
                continue;
            }
            connections.push_back({std::move(fd), {}, ticks::now_ms() + kReadTimeoutMs});
        }
    }
}
