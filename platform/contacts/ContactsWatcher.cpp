#include "platform/contacts/ContactsWatcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <unordered_map>

#include "platform/Log.h"
#include "platform/contacts/ContactFiles.h"

namespace {

constexpr uint32_t kFileEvents =
    IN_CREATE | IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE;
constexpr uint32_t kFolderEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

// What happened to one name within one take().
struct Fold {
    std::string name;
    bool existed;  // known before this take
    bool exists;   // at the end of the events
    bool writing;  // created in place and not yet closed
};

}  // namespace

std::unique_ptr<ContactsWatcher> ContactsWatcher::start(const std::string& folder,
                                                        std::string* error) {
    UniqueFd fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (!fd) {
        *error = std::strerror(errno);
        return nullptr;
    }
    int watch = inotify_add_watch(fd.get(), folder.c_str(), kFileEvents | kFolderEvents);
    if (watch < 0) {
        *error = std::strerror(errno);
        return nullptr;
    }
    std::unique_ptr<ContactsWatcher> watcher(new ContactsWatcher(folder, std::move(fd), watch));
    // Listed after the watch is in place, so nothing falls between the two.
    std::vector<std::string> names;
    std::string list_error;
    if (contact_files::list(folder, names, &list_error))
        watcher->known_.insert(names.begin(), names.end());
    return watcher;
}

ContactsWatcher::ContactsWatcher(std::string folder, UniqueFd fd, int watch)
    : folder_(std::move(folder)), fd_(std::move(fd)), watch_(watch) {}

ContactsWatcher::~ContactsWatcher() = default;

void ContactsWatcher::rescan(std::vector<FileChange>& changes) {
    std::vector<std::string> names;
    std::string error;
    if (!contact_files::list(folder_, names, &error)) {
        log() << "contacts: cannot list " << folder_ << ": " << error << "\n";
        return;
    }
    std::set<std::string> now(names.begin(), names.end());
    for (const std::string& name : known_)
        if (now.count(name) == 0) changes.push_back({Kind::Deleted, name});
    for (const std::string& name : names)
        changes.push_back({known_.count(name) ? Kind::Changed : Kind::Created, name});
    known_ = std::move(now);
    writing_.clear();
}

std::vector<ContactsWatcher::FileChange> ContactsWatcher::take() {
    std::vector<FileChange> changes;
    std::vector<Fold> folds;
    std::unordered_map<std::string, size_t> index;
    bool overflow = false, folder_gone = false;

    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        ssize_t length = read(fd_.get(), buffer, sizeof buffer);
        if (length < 0 && errno == EINTR) continue;
        if (length <= 0) break;  // EAGAIN: drained
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) overflow = true;
            if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT))
                folder_gone = true;
            if (event->len == 0 || (event->mask & IN_ISDIR)) continue;
            std::string name(event->name, strnlen(event->name, event->len));
            if (!contact_files::is_contact_file_name(name)) continue;
            auto [slot, added] = index.try_emplace(name, folds.size());
            if (added) {
                bool known = known_.count(name) != 0;
                folds.push_back({name, known, known, writing_.count(name) != 0});
            }
            Fold& fold = folds[slot->second];
            if (event->mask & IN_CREATE) {
                fold.exists = true;
                fold.writing = true;
            } else if (event->mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) {
                fold.exists = true;
                fold.writing = false;
            } else if (event->mask & (IN_DELETE | IN_MOVED_FROM)) {
                fold.exists = false;
                fold.writing = false;
            }
        }
    }

    if (watch_ < 0) return changes;
    if (folder_gone) {
        log() << "contacts: the folder " << folder_ << " went away, watching ends\n";
        for (const std::string& name : known_) changes.push_back({Kind::Deleted, name});
        known_.clear();
        writing_.clear();
        watch_ = -1;
        return changes;
    }
    if (overflow) {
        log() << "contacts: too many changes at once in " << folder_ << ", listing it again\n";
        rescan(changes);
        return changes;
    }
    for (const Fold& fold : folds) {
        if (fold.exists && fold.writing) {
            writing_.insert(fold.name);  // reported once it is closed
            continue;
        }
        writing_.erase(fold.name);
        if (fold.existed && fold.exists) {
            changes.push_back({Kind::Changed, fold.name});
        } else if (fold.existed) {
            changes.push_back({Kind::Deleted, fold.name});
            known_.erase(fold.name);
        } else if (fold.exists) {
            changes.push_back({Kind::Created, fold.name});
            known_.insert(fold.name);
        }
    }
    return changes;
}
