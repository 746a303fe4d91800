#pragma once
// New contact files, written as one batch: every file is first staged under a
// hidden temporary name, then all of them are made durable at once and renamed
// to their names. Until publish() the address book, the watcher and sync tools
// see nothing (hidden names never count as contacts), so a batch that fails
// while staging leaves the folder as it was.
//
// A file's name is "<base>.vcf", or "<base>-2.vcf", "<base>-3.vcf", ... when
// that name is taken. Names are chosen against the folder's names given at
// construction and the names of this batch; a name that another program
// creates meanwhile is found by the rename itself (RENAME_NOREPLACE), which
// then goes on to the next number. An existing file is never replaced.
//
// Temporary files are ".import-XXXXXX" in the folder. Those of a process that
// was killed before publishing stay behind; sweep_stale() removes them.
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class ContactFileBatch {
public:
    // A batch for folder, in which the names given are taken.
    ContactFileBatch(std::string folder, const std::vector<std::string>& taken);
    // Removes the temporary files of whatever was not published.
    ~ContactFileBatch();
    ContactFileBatch(const ContactFileBatch&) = delete;
    ContactFileBatch& operator=(const ContactFileBatch&) = delete;

    // Writes content to a new temporary file that publish() will name after
    // base. False with *error set (one line) when it cannot be written.
    bool stage(const std::string& base, std::string_view content, std::string* error);

    // Syncs the staged files to disk, then renames each to its name, in the
    // order staged. Returns the number of files now in place; when that is not
    // every staged file, *error says why and the rest are removed.
    size_t publish(std::string* error);

    // The names given to the published files, in the order staged.
    const std::vector<std::string>& names() const { return published_; }

    // Removes the batch temporary files of folder whose last change is older
    // than age, so that a live batch of another process is left alone.
    // Returns how many were removed.
    static size_t sweep_stale(const std::string& folder, std::chrono::seconds age);

private:
    struct Staged {
        std::string temp;  // full path of the temporary file
        std::string base;
    };
    std::string next_free_name(const std::string& base);

    std::string folder_;
    std::unordered_set<std::string> taken_;
    std::unordered_map<std::string, int> next_number_;  // per base: where the search goes on
    std::vector<Staged> staged_;
    std::vector<std::string> published_;
};
