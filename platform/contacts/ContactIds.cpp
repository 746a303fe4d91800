#include "platform/contacts/ContactIds.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/AtomicWrite.h"
#include "platform/Log.h"
#include "platform/UniqueFd.h"
#include "platform/WholeFile.h"

namespace {

constexpr std::string_view kHeader = "quillmo-contact-ids 1";
constexpr int32_t kLargestId = 0x7FFFFFFF;
// A line is an id and a file name, at most a few hundred bytes; this is room
// for hundreds of thousands of contacts.
constexpr size_t kMaxMapSize = 64 * 1024 * 1024;

// Holds an advisory lock on the contacts folder while the map is rewritten,
// so two processes never interleave their read-merge-write. Without the
// folder (it cannot be opened) the write goes ahead unlocked.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder)
        : fd_(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_) {
            while (flock(fd_.get(), LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }

private:
    UniqueFd fd_;  // closing it releases the lock
};

std::string escaped(const std::string& name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (c == '%')
            out += "%25";
        else if (c == '\r')
            out += "%0D";
        else if (c == '\n')
            out += "%0A";
        else
            out.push_back(c);
    }
    return out;
}

bool unescape(std::string_view text, std::string& name) {
    name.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            name.push_back(text[i]);
            continue;
        }
        std::string_view code = text.substr(i + 1, 2);
        if (code == "25")
            name.push_back('%');
        else if (code == "0D")
            name.push_back('\r');
        else if (code == "0A")
            name.push_back('\n');
        else
            return false;
        i += 2;
    }
    return true;
}

bool parse_id(std::string_view text, int32_t& id) {
    if (text.empty() || text.size() > 10) return false;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kLargestId) return false;
    id = static_cast<int32_t>(value);
    return true;
}

// The entries of the file's text, or the number of the first bad line.
bool parse_map(std::string_view text, std::vector<std::pair<std::string, int32_t>>& entries,
               size_t& bad_line) {
    size_t line_number = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        bad_line = ++line_number;
        if (line_number == 1) {
            if (line != kHeader) return false;
            continue;
        }
        size_t space = line.find(' ');
        int32_t id = 0;
        std::string name;
        if (space == std::string_view::npos || !parse_id(line.substr(0, space), id) ||
            !unescape(line.substr(space + 1), name) || name.empty() ||
            name.find('/') != std::string::npos || name.find('\0') != std::string::npos)
            return false;
        entries.emplace_back(std::move(name), id);
    }
    bad_line = 1;
    return line_number >= 1;
}

}  // namespace

ContactIds::ContactIds(std::string folder) : folder_(std::move(folder)) {
    while (folder_.size() > 1 && folder_.back() == '/') folder_.pop_back();
    path_ = folder_ + ".ids";
    merge_from_file(true);
}

int32_t ContactIds::hash_id(std::string_view name) {
    uint32_t hash = 2166136261u;
    for (char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    int32_t id = static_cast<int32_t>(hash & static_cast<uint32_t>(kLargestId));
    return id == 0 ? 1 : id;
}

void ContactIds::assign(const std::string& name, int32_t id) {
    by_name_[name] = id;
    by_id_[id] = name;
}

int32_t ContactIds::id_for(const std::string& name) {
    if (auto found = by_name_.find(name); found != by_name_.end()) return found->second;
    int32_t id = hash_id(name);
    while (by_id_.count(id) != 0) id = id == kLargestId ? 1 : id + 1;
    assign(name, id);
    dirty_ = true;
    return id;
}

std::optional<int32_t> ContactIds::find(const std::string& name) const {
    auto found = by_name_.find(name);
    if (found == by_name_.end()) return std::nullopt;
    return found->second;
}

const std::string* ContactIds::name_of(int32_t id) const {
    auto found = by_id_.find(id);
    return found == by_id_.end() ? nullptr : &found->second;
}

void ContactIds::forget(const std::string& name) {
    auto found = by_name_.find(name);
    if (found == by_name_.end()) return;
    by_id_.erase(found->second);
    by_name_.erase(found);
    dirty_ = true;
}

void ContactIds::retain(const std::function<bool(const std::string&)>& keep) {
    std::vector<std::string> dropped;
    for (const auto& [name, id] : by_name_)
        if (!keep(name)) dropped.push_back(name);
    for (const std::string& name : dropped) forget(name);
}

ContactIds::FileStamp ContactIds::stamp() const {
    struct stat st;
    if (stat(path_.c_str(), &st) != 0) return {};
    return {st.st_ino, static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            st.st_size};
}

void ContactIds::merge_from_file(bool at_load) {
    FileStamp now = stamp();
    if (now == seen_) return;
    std::string text, error;
    WholeFile::Status status = WholeFile::read(path_, kMaxMapSize, text, &error);
    seen_ = now;
    if (status == WholeFile::Status::Missing) return;  // no map yet
    if (status == WholeFile::Status::Failed) {
        log() << "contacts: cannot read " << path_ << ": " << error << ", its ids are rebuilt\n";
        dirty_ = true;
        return;
    }
    std::vector<std::pair<std::string, int32_t>> entries;
    size_t bad_line = 0;
    if (!parse_map(text, entries, bad_line)) {
        log() << "contacts: " << path_ << " is damaged (line "
              << static_cast<unsigned long>(bad_line) << "), its ids are rebuilt\n";
        dirty_ = true;
        return;
    }
    // A duplicate name or id cannot come from a sound writer.
    std::vector<int32_t> ids;
    ids.reserve(entries.size());
    for (const auto& entry : entries) ids.push_back(entry.second);
    std::sort(ids.begin(), ids.end());
    if (std::adjacent_find(ids.begin(), ids.end()) != ids.end()) {
        log() << "contacts: " << path_ << " is damaged (an id given twice), its ids are rebuilt\n";
        dirty_ = true;
        return;
    }
    for (auto& [name, id] : entries) {
        if (by_name_.count(name) != 0 || by_id_.count(id) != 0) continue;
        // Written by another process: only names whose files exist are taken
        // in, so a name this process has dropped does not come back.
        if (!at_load && access((folder_ + "/" + name).c_str(), F_OK) != 0) continue;
        assign(name, id);
    }
}

void ContactIds::refresh() { merge_from_file(false); }

bool ContactIds::save(std::string* error) {
    if (!dirty_) return true;
    FolderLock lock(folder_);
    merge_from_file(false);
    std::vector<std::pair<std::string_view, int32_t>> sorted(by_name_.begin(), by_name_.end());
    std::sort(sorted.begin(), sorted.end());
    std::string text(kHeader);
    text += '\n';
    for (const auto& [name, id] : sorted) {
        text += std::to_string(id);
        text += ' ';
        text += escaped(std::string(name));
        text += '\n';
    }
    if (!write_file_atomically(path_, text, 0644, error)) return false;
    seen_ = stamp();
    dirty_ = false;
    return true;
}
