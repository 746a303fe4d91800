#include "widgets/richtext/SmileyTable.h"

#include <filesystem>

#include "draw/pictures/Load565.h"
#include "lang/KeyValueFile.h"
#include "platform/Log.h"
#include "platform/Paths.h"

SmileyTable::SmileyTable(std::u16string_view names_path, std::u16string picture_folder)
    : folder_(std::move(picture_folder)) {
    auto pairs = KeyValueFile::load(names_path);
    if (!pairs) {
        log() << u"SmileyTable: no smileys, cannot read " << names_path << u"\n";
        return;
    }
    // The map is sorted by key, which gives the table its order.
    for (const auto& [name, codes] : *pairs) {
        size_t start = 0;
        while (true) {
            size_t space = codes.find(u' ', start);
            size_t end = space == std::u16string::npos ? codes.size() : space;
            Smiley smiley;
            smiley.code = codes.substr(start, end - start);
            smiley.name = name;
            char16_t first = smiley.code.empty() ? u'\0' : smiley.code[0];
            if (first_characters_.find(first) == std::u16string::npos) first_characters_ += first;
            entries_.push_back(std::move(smiley));
            if (space == std::u16string::npos) break;
            start = space + 1;
        }
    }
}

int SmileyTable::find(std::u16string_view text, size_t position) const {
    if (position >= text.size() || text.size() - position < 2) return -1;
    if (first_characters_.find(text[position]) == std::u16string::npos) return -1;
    std::u16string_view rest = text.substr(position);
    for (size_t i = 0; i < entries_.size(); ++i) {
        const std::u16string& code = entries_[i].code;
        if (!code.empty() && rest.starts_with(code)) return static_cast<int>(i);
    }
    return -1;
}

const Picture& SmileyTable::picture(size_t index, bool mask) const {
    Smiley& smiley = entries_[index];
    if (!smiley.loaded) {
        smiley.loaded = true;
        std::u16string path = folder_ + smiley.name;
        smiley.picture = load_565(path);
        if (!smiley.picture.empty()) smiley.mask = load_565_mask(path);
    }
    return mask ? smiley.mask : smiley.picture;
}

SmileyTable::Drawn SmileyTable::pictures(size_t index, int32_t scale_shift) const {
    const Picture& plain = picture(index);
    if ((scale_shift == 1 || scale_shift == 2) && !plain.empty()) {
        const SmileyVariant& dense = variant(index, scale_shift);
        if (!dense.picture.empty()) return {dense.picture, dense.mask, 0};
    }
    return {plain, picture(index, true), scale_shift};
}

const SmileyVariant& SmileyTable::variant(size_t index, int32_t scale_shift) const {
    Smiley& smiley = entries_[index];
    SmileyVariant& dense = smiley.dense[scale_shift - 1];
    if (dense.loaded) return dense;
    dense.loaded = true;

    const std::u16string suffix = scale_shift == 1 ? u"@2x" : u"@4x";
    const std::u16string path = folder_ + smiley.name + suffix;
    // Most smileys may have no variant: only a file that is there counts.
    std::error_code ec;
    const auto status =
        std::filesystem::symlink_status(paths::native(paths::expand(path + u".bmp")), ec);
    if (status.type() == std::filesystem::file_type::not_found) return dense;

    const Size wanted{smiley.picture.size().width << scale_shift,
                      smiley.picture.size().height << scale_shift};
    Picture strip = load_565(path);  // a damaged file is logged by the loader
    if (strip.empty()) return dense;
    Picture mask;
    if (!smiley.mask.empty()) mask = load_565_mask(path);
    if (strip.size() != wanted || (!smiley.mask.empty() && mask.size() != wanted)) {
        log() << u"SmileyTable: " << smiley.name << suffix
              << u" or its mask does not fit the plain picture; drawing it enlarged\n";
        return dense;
    }
    dense.picture = std::move(strip);
    dense.mask = std::move(mask);
    return dense;
}
