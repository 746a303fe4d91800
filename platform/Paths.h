#pragma once
// Path macros and the two folders the program lives in.
//
// The program folder ("%app_path%") is the folder of the running executable, or
// $QUILLMO_HOME when set. The device folder holds the handset's own state (message
// store, registry, contacts, Temp/, Windows/): $QUILLMO_DEVICE, by default
// ${XDG_DATA_HOME:-$HOME/.local/share}/quillmo. Both are read from the environment
// at every call, so a test may point them elsewhere.
#include <string>
#include <string_view>

namespace paths {

// Full path of the running executable ("%app_full_name%"). A path of 1024
// characters or more is a fatal internal error.
std::u16string get_app_path();

// Replaces one leading macro ("%app_path%", "%windows%", ...) by its value and
// turns every "/" or "\" of the rest into "/". A macro that is not at the very
// start stays as written; an unknown special folder expands to "".
std::u16string expand(std::u16string_view path);

// expand(), then one trailing separator dropped.
std::u16string expand_folder(std::u16string_view path);

// Everything up to and including the last "\" or "/" ("" when there is none).
std::u16string folder_part(std::u16string_view path);
// Everything behind the last "\" or "/" (the whole string when there is none).
std::u16string file_part(std::u16string_view path);
// Upper-cased copy (full Unicode case mapping).
std::u16string to_upper(std::u16string_view text);

// The device folder, without a trailing separator. Not created here.
std::u16string device_folder();
// The device folder in UTF-8, for file-system calls.
std::string device_folder_utf8();

// A UTF-16 path as the file system takes it.
std::string native(std::u16string_view path);

}  // namespace paths
