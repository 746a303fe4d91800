#pragma once
// The smiley codes the program recognises in message text, from the key/value
// file "smiles/names.txt" in the program folder: each key is a picture name
// and its value the codes for it, separated by single spaces. Entries are kept
// in ascending key order and, within a key, in the order written; the first
// matching code wins when codes share a prefix.
//
// The application makes one table at start; it is process-wide
// (Singleton), so the rich text elements built from skins find it without
// every form having to hand it over. The model layer does not own it, since
// the pictures belong to drawing.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "draw/pictures/Picture.h"
#include "platform/Singleton.h"
#include "widgets/richtext/Smiley.h"

class SmileyTable : public Singleton<SmileyTable> {
public:
    // The table of the file at names_path ("%app_path%" expanded), with the
    // pictures looked for in picture_folder. A missing, unreadable or
    // oversized file gives an empty table: no smileys are recognised.
    explicit SmileyTable(std::u16string_view names_path = u"%app_path%/smiles/names.txt",
                         std::u16string picture_folder = u"%app_path%/smiles/bin/");

    size_t size() const { return entries_.size(); }
    const Smiley& entry(size_t index) const { return entries_[index]; }
    // The first character of every code, each once.
    const std::u16string& first_characters() const { return first_characters_; }

    // The index of the first entry whose code appears in text at position, or
    // -1. At least two characters must remain from position, and an empty
    // code never matches (it would make a smiley of nothing).
    int find(std::u16string_view text, size_t position) const;

    // The entry's picture strip (mask: its mask strip), loaded from the
    // picture folder on first use. An empty picture when the file is
    // missing or not a 16-bit bitmap (logged once by the loader).
    const Picture& picture(size_t index, bool mask = false) const;

    // What a smiley is drawn with on a screen of scale_shift.
    struct Drawn {
        Picture strip;
        Picture mask;
        // The shift to draw the strip at: 0 for a strip drawn for the density.
        int32_t scale_shift = 0;
    };
    // At shift 1 and 2, the strip drawn for that density (NAME@2x.bmp, or
    // NAME@4x.bmp, with its mask NAME@2x_mask / NAME@4x_mask when the plain
    // strip has one) when the picture folder has one of exactly 2^shift times
    // the plain strip's size: drawn pixel for pixel, it takes the same room
    // as the plain strip enlarged. Otherwise, and at any other shift, the
    // plain strip and mask at scale_shift. A variant file that is there but
    // does not load or fit is logged once and passed over.
    Drawn pictures(size_t index, int32_t scale_shift) const;

private:
    const SmileyVariant& variant(size_t index, int32_t scale_shift) const;

    // Pictures are a cache: loading them does not change what the table says.
    mutable std::vector<Smiley> entries_;
    std::u16string first_characters_;
    std::u16string folder_;
};
