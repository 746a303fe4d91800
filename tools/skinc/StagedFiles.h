#pragma once
// Writes several files so that they appear together or not at all, as far as
// a file system allows: each is written whole to a temporary file beside its
// target and synced, and only commit() renames them into place, in the order
// they were added. Whatever is not committed when the set goes is removed: its
// temporary files and the folders that add() created for them.
//
// A rename that fails half-way through commit() leaves the earlier targets
// replaced. Adding last the file that refers to the others (a skin after its
// pictures) keeps that from ever showing a file whose companions are missing.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class StagedFiles {
public:
    StagedFiles() = default;
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Writes bytes to a temporary file in path's folder, creating the folder
    // when it is missing. The file will get mode 0644 less the umask. Refuses
    // a path where something other than a regular file already is (a folder,
    // a FIFO, a device such as /dev/full): renaming over it would replace it
    // instead of writing to it. A path added before is refused too. On failure returns false with
    // *error set to one line naming the path, and no temporary file of it is left; the folders it
    // created go with the set.
    bool add(const std::string& path, std::span<const uint8_t> bytes, std::string* error);

    // Renames every added file over its target, in order; afterwards the set
    // is empty. On failure returns false with *error set to one line; the
    // files not yet renamed are removed.
    bool commit(std::string* error);

private:
    bool make_folders(const std::string& folder, std::string* error);

    struct Staged {
        std::string temp;
        std::string target;
    };
    std::vector<Staged> staged_;
    std::vector<std::string> created_folders_;  // in creation order, outermost first
};
