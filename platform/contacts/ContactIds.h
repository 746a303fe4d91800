#pragma once
// The object ids of the contact files, kept across runs.
//
// A file's id is positive and 32-bit (never 0 or -1). A name seen for the
// first time gets the FNV-1a hash of its bytes, masked to 31 bits (0 read as
// 1); when another name already holds that id, the next free one above it
// (wrapping to 1). Because the hash alone decides almost every id, a lost map
// gives nearly all files their old ids back; the map only has to remember the
// rare probed ones, and it keeps every id stable while its file exists.
//
// The map lives in a text file beside the contacts folder ("<folder>.ids",
// i.e. <device folder>/contacts.ids), out of sight of the sync tools that
// mirror the folder. Its lines are "quillmo-contact-ids 1", then
// "<id> <name>" with '%', CR and LF of the name written as %25, %0D, %0A.
// It is replaced atomically. Several processes may share it: before writing,
// a process takes an advisory lock on the contacts folder and merges what
// another one has written meanwhile. A damaged file is logged and rebuilt.
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class ContactIds {
public:
    // Loads the map of the contacts folder (no file yet: an empty map).
    explicit ContactIds(std::string folder);

    // The name's id, assigning one when it has none yet.
    int32_t id_for(const std::string& name);
    std::optional<int32_t> find(const std::string& name) const;
    // The name holding an id, or null.
    const std::string* name_of(int32_t id) const;
    // Drops a name (its file is gone and that has been reported).
    void forget(const std::string& name);
    // Drops every name for which keep(name) is false.
    void retain(const std::function<bool(const std::string&)>& keep);

    // Takes in what another process has written since this one last read or
    // wrote the file. Cheap when nothing changed (one stat).
    void refresh();
    // Writes the map when it changed. False with *error set on failure (the
    // ids in memory stay valid; the next save tries again).
    bool save(std::string* error);

    const std::string& path() const { return path_; }
    static int32_t hash_id(std::string_view name);

private:
    struct FileStamp {
        ino_t inode = 0;
        int64_t modified_ns = -1;
        off_t size = -1;
        bool operator==(const FileStamp&) const = default;
    };
    FileStamp stamp() const;
    void merge_from_file(bool log_damage);
    void assign(const std::string& name, int32_t id);

    std::string folder_;
    std::string path_;
    std::unordered_map<std::string, int32_t> by_name_;
    std::unordered_map<int32_t, std::string> by_id_;
    FileStamp seen_;  // of the file as last read or written
    bool dirty_ = false;
};
