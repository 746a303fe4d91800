#include "widgets/richtext/SmileyTable.h"

#include "draw/pictures/Load565.h"
#include "lang/KeyValueFile.h"
#include "platform/Log.h"

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
