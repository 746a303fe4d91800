#include "platform/contacts/ContactFileBatch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include "platform/UniqueFd.h"

namespace {

constexpr std::string_view kTempPrefix = ".import-";
// Names taken one after another by other programs while this batch publishes;
// beyond this something is wrong with the folder.
constexpr int kMaxRaces = 1000;

mode_t current_umask() {
    mode_t mask = umask(0);
    umask(mask);
    return mask;
}

std::string why(const std::string& what) { return what + ": " + std::strerror(errno); }

// Renames from to to unless to exists: false with errno EEXIST then.
bool rename_new(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without RENAME_NOREPLACE: look first, then rename.
    if (access(to.c_str(), F_OK) == 0) {
        errno = EEXIST;
        return false;
    }
    return rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

ContactFileBatch::ContactFileBatch(std::string folder, const std::vector<std::string>& taken)
    : folder_(std::move(folder)), taken_(taken.begin(), taken.end()) {}

ContactFileBatch::~ContactFileBatch() {
    for (size_t i = published_.size(); i < staged_.size(); ++i) unlink(staged_[i].temp.c_str());
}

bool ContactFileBatch::stage(const std::string& base, std::string_view content,
                             std::string* error) {
    std::string temp = folder_ + "/" + std::string(kTempPrefix) + "XXXXXX";
    UniqueFd fd(mkostemp(temp.data(), O_CLOEXEC));
    if (!fd) {
        *error = why("cannot create a file in " + folder_);
        return false;
    }
    auto fail = [&](const std::string& what) {
        *error = why(what);
        fd.reset();
        unlink(temp.c_str());
        return false;
    };
    for (size_t done = 0; done < content.size();) {
        ssize_t n = write(fd.get(), content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail("cannot write " + temp);
        done += static_cast<size_t>(n);
    }
    if (fchmod(fd.get(), 0644 & ~current_umask()) != 0) return fail("cannot write " + temp);
    if (!fd.close()) return fail("cannot close " + temp);
    staged_.push_back({std::move(temp), base});
    return true;
}

std::string ContactFileBatch::next_free_name(const std::string& base) {
    int& n = next_number_.try_emplace(base, 1).first->second;
    for (;; ++n) {
        std::string name = n == 1 ? base + ".vcf" : base + "-" + std::to_string(n) + ".vcf";
        if (taken_.insert(name).second) return name;
    }
}

size_t ContactFileBatch::publish(std::string* error) {
    if (staged_.empty()) return 0;
    UniqueFd dir(open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // One sync of the file system makes every staged file durable before any
    // of them gets its name; a sync per file would cost a disk flush each.
    if (!dir || syncfs(dir.get()) != 0) {
        *error = why("cannot sync the files written to " + folder_);
        return 0;
    }
    for (const Staged& file : staged_) {
        bool placed = false;
        for (int race = 0; !placed && race <= kMaxRaces; ++race) {
            std::string name = next_free_name(file.base);
            if (rename_new(file.temp, folder_ + "/" + name)) {
                published_.push_back(std::move(name));
                placed = true;
            } else if (errno != EEXIST) {
                *error = why("cannot create " + folder_ + "/" + name);
                return published_.size();
            }
        }
        if (!placed) {
            *error = "no free name for " + file.base + ".vcf in " + folder_;
            return published_.size();
        }
    }
    // The new names are durable along with the files' contents.
    fsync(dir.get());
    return published_.size();
}

size_t ContactFileBatch::sweep_stale(const std::string& folder, std::chrono::seconds age) {
    std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(folder.c_str()), closedir);
    if (!listing) return 0;
    int dir = dirfd(listing.get());
    time_t now = time(nullptr);
    size_t removed = 0;
    while (const dirent* entry = readdir(listing.get())) {
        if (!std::string_view(entry->d_name).starts_with(kTempPrefix)) continue;
        struct stat st;
        if (fstatat(dir, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || now - st.st_mtime < age.count()) continue;
        if (unlinkat(dir, entry->d_name, 0) == 0) ++removed;
    }
    return removed;
}
