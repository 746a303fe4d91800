#include "tools/skinc/StagedFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/UniqueFd.h"

namespace fs = std::filesystem;

namespace {

std::string failed(const char* what, const std::string& path) {
    return std::string("cannot ") + what + " " + path + ": " + std::strerror(errno);
}

mode_t current_umask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

StagedFiles::~StagedFiles() {
    for (const Staged& file : staged_) ::unlink(file.temp.c_str());
    // Innermost first; a folder that holds something else by now stays.
    for (auto it = created_folders_.rbegin(); it != created_folders_.rend(); ++it)
        ::rmdir(it->c_str());
}

bool StagedFiles::make_folders(const std::string& folder, std::string* error) {
    std::vector<fs::path> missing;
    for (fs::path at = folder; !at.empty(); at = at.parent_path()) {
        struct stat st {};
        if (::stat(at.c_str(), &st) == 0) {
            if (!S_ISDIR(st.st_mode)) {
                *error = "cannot write into " + at.string() + ": not a folder";
                return false;
            }
            break;
        }
        if (errno != ENOENT) {
            *error = failed("reach", at.string());
            return false;
        }
        missing.push_back(at);
        if (at == at.parent_path()) break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (::mkdir(it->c_str(), 0777) != 0) {
            *error = failed("create the folder", it->string());
            return false;
        }
        created_folders_.push_back(it->string());
    }
    return true;
}

bool StagedFiles::add(const std::string& path, std::span<const uint8_t> bytes, std::string* error) {
    for (const Staged& file : staged_)
        if (fs::path(file.target).lexically_normal() == fs::path(path).lexically_normal()) {
            *error = "cannot write " + path + " twice";
            return false;
        }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        *error = "cannot write " + path + ": " +
                 (S_ISDIR(st.st_mode) ? "a folder is in the way" : "not a regular file");
        return false;
    }
    fs::path folder = fs::path(path).parent_path();
    if (!make_folders(folder.empty() ? "." : folder.string(), error)) return false;
    // A short name of its own, so that a target name near the file system's
    // limit still leaves room for the temporary one.
    std::string temp =
        (folder.empty() ? fs::path(".skinc-XXXXXX") : folder / ".skinc-XXXXXX").string();
    UniqueFd fd(::mkstemp(temp.data()));
    if (!fd) {
        *error = failed("create a temporary file for", path);
        return false;
    }
    auto fail = [&](const char* what) {
        *error = failed(what, path);
        ::unlink(temp.c_str());
        return false;
    };
    for (size_t done = 0; done < bytes.size();) {
        ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return fail("write");
        }
        done += static_cast<size_t>(n);
    }
    if (::fchmod(fd.get(), 0644 & ~current_umask()) != 0) return fail("set the permissions of");
    if (::fsync(fd.get()) != 0 || !fd.close()) return fail("write");
    staged_.push_back({temp, path});
    return true;
}

bool StagedFiles::commit(std::string* error) {
    for (size_t i = 0; i < staged_.size(); ++i) {
        if (::rename(staged_[i].temp.c_str(), staged_[i].target.c_str()) != 0) {
            *error = failed("replace", staged_[i].target);
            staged_.erase(staged_.begin(), staged_.begin() + static_cast<ptrdiff_t>(i));
            return false;
        }
    }
    staged_.clear();
    created_folders_.clear();
    return true;
}
