#pragma once
// Shared pieces of the skin file tests: the record-size lines every load logs
// first, and picture and font makers that need no files and no installed fonts.
#include <string>
#include <vector>

#include "draw/PixelBuffer.h"
#include "skin/file/SkinFile.h"

inline const std::string kRecordSizeLines =
    "sizeof(Node*4)=8\nsizeof(IntegerNode*4)=32\nsizeof(PointNode*4)=32\nsizeof(Node)=2\n"
    "sizeof(IntegerNode)=8\nIntegerNode::Size=8\nsizeof(PointNode)=8\nPointNode::Size=8\n"
    "sizeof(ColorNode)=8\nColorNode::Size=8\nsizeof(StringNode)=4\nStringNode::Size=4\n"
    "sizeof(PictureNode)=20\nPictureNode::Size=20\n";

// The kind that the E thrown by f names; "(none thrown)" when f throws none.
template <class E, class F>
std::u16string thrown_kind(F&& f) {
    try {
        f();
    } catch (const E& e) {
        return e.kind;
    }
    return u"(none thrown)";
}

// Pictures of 3 x 2 pixels named after the path they were asked for. Fonts
// keep their description but open no face (size 0); the descriptions as parsed
// are kept in *fonts.
inline SkinFile::Makers fake_makers(std::vector<std::u16string>* picture_paths = nullptr,
                                    std::vector<FontDesc>* fonts = nullptr) {
    return {[picture_paths](std::u16string_view path) {
                if (picture_paths) picture_paths->emplace_back(path);
                return Picture(
                    std::make_shared<PictureData>(std::u16string(path), PixelBuffer::create(3, 2)));
            },
            [fonts](const FontDesc& desc) {
                if (fonts) fonts->push_back(desc);
                FontDesc faceless = desc;
                faceless.size = 0;
                return FontRep::create(faceless);
            }};
}
