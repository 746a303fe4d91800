#pragma once
// The files of one kind that ship in a folder of the program: language files
// ("*.lng" in "%app_path%") and skins ("*.skin" in "%app_path%/skins/bin").
// A file's name is its file name without the extension.
//
// File names on the handset were matched without regard to letter case, and
// the files and registry values naming them were written with that in mind.
// Linux file names are case-sensitive, so the extension is recognised in any
// case, and a name is looked up case-insensitively when the exact file does
// not exist.
#include <string>
#include <string_view>
#include <vector>

struct ProgramFile {
    std::u16string name;  // file name without the extension ("english")
    std::u16string path;  // folder + "/" + file name, macros not expanded
};

// The files directly in folder (macros such as "%app_path%" allowed) whose
// names end in extension (".lng", any letter case), sorted by file name in
// plain code-unit order. Only regular files (or links to them) whose names
// are valid UTF-8 are listed; an unreadable or missing folder gives an empty
// list. No subfolders are searched.
std::vector<ProgramFile> program_files(std::u16string_view folder, std::u16string_view extension);

// The path of the file called name: folder + "/" + name + extension when that
// file exists, else the path of the first of program_files() whose name
// equals name ignoring letter case, else folder + "/" + name + extension all
// the same (opening it then fails). "" for a name that cannot name a file of
// the folder (one holding "/", "\" or a zero character), so a stored name
// never leads outside the folder.
std::u16string program_file_path(std::u16string_view folder, std::u16string_view name,
                                 std::u16string_view extension);

// The name part of path: its file name up to the last ".", or the whole file
// name when it has none ("%app_path%/German.LNG" gives "German").
std::u16string program_file_name(std::u16string_view path);
