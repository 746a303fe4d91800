#include "platform/contacts/VCardImport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Utf16.h"

namespace {

constexpr size_t kMaxBaseLength = 96;
constexpr int kMaxSuffix = 10000;

bool is_kept(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '@' || c == '+';
}

// A card worth a file has something besides the bookkeeping of sync tools.
bool has_content(const VCard& card) {
    for (const VCardProperty& p : card.properties)
        if (!p.is("PRODID") && !p.is("UID") && !p.is("REV")) return true;
    return false;
}

std::string hash_name(std::string_view text) {
    uint32_t hash = 2166136261u;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08x", hash);
    return std::string("import-") + buffer;
}

mode_t current_umask() {
    mode_t mask = umask(0);
    umask(mask);
    return mask;
}

// Writes content as a new file "<base>[-N].vcf" in folder, never replacing
// one. *written gets the name used.
bool write_new_file(const std::string& folder, const std::string& base, std::string_view content,
                    std::string* written, std::string* error) {
    std::string temp = folder + "/.import-XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        *error = "cannot create a file in " + folder + ": " + std::strerror(errno);
        return false;
    }
    auto fail = [&](const std::string& what) {
        *error = what + ": " + std::strerror(errno);
        if (fd >= 0) close(fd);
        unlink(temp.c_str());
        return false;
    };
    for (size_t done = 0; done < content.size();) {
        ssize_t n = write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail("cannot write " + temp);
        done += static_cast<size_t>(n);
    }
    if (fchmod(fd, 0644 & ~current_umask()) != 0 || fsync(fd) != 0)
        return fail("cannot sync " + temp);
    int closed = close(fd);
    fd = -1;
    if (closed != 0) return fail("cannot close " + temp);

    for (int n = 1; n <= kMaxSuffix; ++n) {
        std::string name = base;
        if (n > 1) name.append("-").append(std::to_string(n));
        name += ".vcf";
        std::string target = folder + "/" + name;
        if (renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
            *written = name;
            return true;
        }
        if (errno == EEXIST) continue;
        if (errno != EINVAL && errno != ENOSYS) return fail("cannot create " + target);
        // A file system without RENAME_NOREPLACE: look first, then rename.
        if (access(target.c_str(), F_OK) == 0) continue;
        if (rename(temp.c_str(), target.c_str()) != 0) return fail("cannot create " + target);
        *written = name;
        return true;
    }
    errno = EEXIST;
    return fail("no free name for " + base + ".vcf");
}

}  // namespace

std::string file_name_from_uid(std::string_view uid) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    constexpr std::string_view kUrn = "urn:uuid:";
    if (uid.size() > kUrn.size()) {
        bool urn = true;
        for (size_t i = 0; i < kUrn.size(); ++i) urn = urn && lower(uid[i]) == kUrn[i];
        if (urn) uid.remove_prefix(kUrn.size());
    }
    std::string base;
    for (char c : uid) {
        if (base.empty() && c == '.') continue;  // no hidden files, no ".."
        base.push_back(is_kept(c) ? c : '_');
        if (base.size() == kMaxBaseLength) break;
    }
    bool only_underscores = base.find_first_not_of('_') == std::string::npos;
    return only_underscores ? std::string() : base;
}

bool import_vcards(const std::string& folder, std::string_view bytes, VCardParser& parser,
                   VCardDecoder& decoder, AddressBook::ImportResult& result, std::string* error) {
    result = {};
    bool failed = false;
    std::string content, written;
    VCardParser::Summary summary = parser.parse(bytes, [&](const VCard& card) {
        if (failed) return;
        if (!has_content(card)) {
            ++result.skipped;
            return;
        }
        std::string base;
        if (const VCardProperty* uid = card.find("UID"))
            base = file_name_from_uid(utf16::to_utf8(decoder.text(*uid)));
        if (base.empty()) base = hash_name(card.text);
        content.assign(card.text);
        if (content.back() != '\n') content += "\r\n";
        if (!write_new_file(folder, base, content, &written, error))
            failed = true;
        else
            ++result.imported;
    });
    result.skipped += summary.skipped;
    if (failed) return false;
    if (summary.cards == 0) {
        *error = summary.found_begin ? "no complete vCard in the text" : "no vCard in the text";
        return false;
    }
    // Make the new names durable along with the files' contents.
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}
