#pragma once
// Watches the contacts folder with inotify and folds the raw events into one
// change per file name: created, changed or deleted.
//
// - A file written in place (IN_CREATE, then IN_CLOSE_WRITE) counts as created
//   once it has been closed; its creation alone gives nothing yet.
// - A known file written again (IN_CLOSE_WRITE) or replaced by a rename
//   (IN_MOVED_TO, how editors and sync tools save atomically) is changed; so
//   is one removed and created again before the changes are taken.
// - A name removed (IN_DELETE) or renamed away (IN_MOVED_FROM) is deleted; a
//   rename within the folder is the old name deleted and the new one created.
// - When the kernel's queue overflows, the folder is listed again and compared
//   with the names known; every remaining name is reported changed, since its
//   content may have changed unseen.
// - When the folder itself goes away, every known name is deleted and
//   watching ends.
//
// Only contact file names (contact_files::is_contact_file_name) count.
// FIXME: a file that only appears through link(2) (IN_CREATE with no write)
// stays unreported until it is written or renamed.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/UniqueFd.h"

class ContactsWatcher {
public:
    enum class Kind { Created, Changed, Deleted };
    struct FileChange {
        Kind kind;
        std::string name;
    };

    // Starts watching folder; the names it holds now are the known ones. Null
    // with *error set when inotify cannot be set up.
    static std::unique_ptr<ContactsWatcher> start(const std::string& folder, std::string* error);
    ~ContactsWatcher();
    ContactsWatcher(const ContactsWatcher&) = delete;
    ContactsWatcher& operator=(const ContactsWatcher&) = delete;

    // Readable (poll) when events are waiting.
    int fd() const { return fd_.get(); }
    // The changes since the last call, without waiting, one per name, in the
    // order each name was first touched.
    std::vector<FileChange> take();
    // False once the folder has gone away; nothing more will be reported.
    bool active() const { return watch_ >= 0; }
    // Whether the name exists as far as the changes taken so far tell.
    bool knows(const std::string& name) const { return known_.count(name) != 0; }

private:
    ContactsWatcher(std::string folder, UniqueFd fd, int watch);
    void rescan(std::vector<FileChange>& changes);

    std::string folder_;
    UniqueFd fd_;  // the inotify instance; closing it ends the watch
    int watch_;    // -1 once the folder is gone
    std::set<std::string> known_;
    std::set<std::string> writing_;  // created in place, not yet closed
};
