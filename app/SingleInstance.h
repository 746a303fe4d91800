#pragma once
// Only one instance of the program runs for a device folder. A later start
// finds the running instance, hands it its command line and ends; the running
// instance acts on that command line.
//
// A lock file serialises starts: the first holds it until its window exists
// (release_mutex), so a later start that waited for it always finds the
// running instance listening. The running instance listens on a local socket.
// Both are named after the window class name ("GlazierClass_" + application
// name) and a short hash of the device folder's canonical path, so that two
// device folders keep apart, and live in $XDG_RUNTIME_DIR when it is a private
// folder of this user, else in the device folder. Nothing made here is open to
// other users, and a peer of another user is refused.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/HandOver.h"
#include "platform/UniqueFd.h"

class HandOverListener;

class SingleInstance {
public:
    // Names the lock and the socket and opens a path descriptor of their
    // folder; creates nothing. answer_timeout
    // bounds both the wait for an earlier start's window and the wait for a
    // running instance's answer.
    SingleInstance(std::u16string application_name, std::string device_folder,
                   std::chrono::milliseconds answer_timeout = std::chrono::seconds(5));
    // Stops listening and releases the lock if still held.
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when a running instance took command_line (an empty one travels
    // as "%CommandLineEmpty%"): this process should end. False when it should
    // start; it then holds the lock until release_mutex.
    //
    // Waits at most answer_timeout for an earlier start to get its window; a
    // start that hangs before that does not keep every later one waiting, and
    // after the wait (or when the lock cannot be made) this start goes on
    // without it. A socket nobody listens on is stale, and a running instance
    // that does not answer within answer_timeout counts as gone: false, and
    // this process takes the socket over when it listens.
    bool show_running_instance(std::u16string_view command_line);

    // Called by the running instance once its window exists: binds the
    // socket (replacing any earlier one) and starts the listener thread,
    // which gives each complete hand-over to deliver (see HandOverListener).
    // False, with one log line, when the socket cannot be made.
    bool listen(std::function<void(HandOver)> deliver);

    // Unlocks and closes the lock if held, letting waiting starts go on.
    // Harmless when repeated.
    void release_mutex();

    const std::u16string& application_name() const { return application_name_; }
    // "GlazierClass_" followed by the application name.
    const std::u16string& class_name() const { return class_name_; }
    // The command line of this start, as given to show_running_instance.
    const std::u16string& command_line() const { return command_line_; }
    // Whether show_running_instance found a running instance.
    bool found() const { return found_; }
    // Where the hand-over socket lives (UTF-8 path).
    std::string socket_path() const;

private:
    void take_lock();
    bool hand_over();
    // The socket address of the file called name in the folder: its path, or
    // a path through this process's descriptor of the folder when the path is
    // too long for a socket address.
    std::string address_of(const std::string& name) const;

    std::u16string application_name_, class_name_, command_line_;
    bool found_ = false;
    std::chrono::milliseconds answer_timeout_;
    std::string folder_;     // holds the lock and the socket
    UniqueFd folder_fd_;     // O_PATH descriptor of folder_
    std::string base_name_;  // class name and device hash, safe as a file name
    UniqueFd lock_;
    std::unique_ptr<HandOverListener> listener_;
};
