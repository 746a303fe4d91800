// libFuzzer target for the "SMS Backup & Restore" XML reader: any bytes go
// through the surrogate-reference joining and the expat-based reader. A file
// that reads is written back with the writer and read again, and must give the
// same messages: the writer must produce what the reader accepts, whatever
// text, numbers and control characters the messages hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/device/SmsBackupReader.h"
#include "tools/device/SmsBackupWriter.h"
#include "tools/device/SurrogateReferences.h"

namespace {

// Joining references never adds or removes a line break: the reader's line
// numbers must still match the file.
void check_lines_kept(std::string_view in, const std::string& out) {
    size_t a = 0, b = 0;
    for (char c : in) a += c == '\n';
    for (char c : out) b += c == '\n';
    if (a != b) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view xml(reinterpret_cast<const char*>(data), size);
    check_lines_kept(xml, join_surrogate_references(xml));

    std::string error;
    std::optional<SmsBackup> backup = SmsBackupReader::parse(xml, &error);
    if (!backup) {
        if (error.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    SmsBackupText written = SmsBackupWriter::write(backup->messages, 0);
    std::optional<SmsBackup> again = SmsBackupReader::parse(written.xml, &error);
    if (!again) std::abort();
    if (again->messages.size() != written.written) std::abort();
    return 0;
}
