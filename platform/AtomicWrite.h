#pragma once
// Replacing a file so that readers see either the old or the new content, never
// a torn one: the content goes to a temporary file beside the target, is synced
// to disk, and is renamed over the target.
#include <sys/types.h>

#include <string>
#include <string_view>

// Writes content to path with the given permission bits (before the umask).
// On failure returns false with *error set to one line; the target is then
// untouched and no temporary file is left behind.
//
// The temporary is "<path>.tmp-" and six random letters or digits. A writer
// killed in the middle leaves it behind; the next write of the same target
// removes such leftovers once they are older than five minutes (a younger one
// may be another writer's at work).
bool write_file_atomically(const std::string& path, std::string_view content, mode_t mode,
                           std::string* error);
