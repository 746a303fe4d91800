#pragma once
// The way into the current skin and the current language: forms and elements
// ask it for nodes by name and for typed attribute values of a node, and for
// the text of a language key. The application asks it to load another skin
// and to tell every form (a ReloadListener) to rebuild itself.
//
// Node handles point into the loaded file: they stay valid until the next
// successful load_skin or the end of this object. Pictures and fonts handed
// out are shared, so elements built from an earlier skin keep drawing.
//
// Without a skin every lookup returns its default and find_node finds nothing.
// The empty node handle SkinNode{} (offset 0, where the file's header lies)
// stands for "no node": it has no attributes and no children.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "draw/Color.h"
#include "draw/Point.h"
#include "draw/pictures/Picture.h"
#include "draw/text/FontRep.h"
#include "input/ScreenInfo.h"
#include "lang/Dictionary.h"
#include "platform/ListenerList.h"
#include "platform/Subscription.h"
#include "skin/ReloadListener.h"
#include "skin/file/SkinFile.h"
#include "skin/file/SkinNode.h"

class Properties {
public:
    Properties();
    ~Properties();
    Properties(const Properties&) = delete;
    Properties& operator=(const Properties&) = delete;

    // Loads the skin file at path (macros expanded when read) for the
    // screen's density. On success the new skin replaces the current one
    // whole and skin_path() becomes path exactly as given; on failure nothing
    // changes. Logs "Properties::load_skin 1", the loader's lines,
    // "Properties::load_skin 2" and, on success, "Properties::load_skin 3".
    bool load_skin(std::u16string_view path, const ScreenInfo& screen,
                   const SkinFile::Makers& makers = SkinFile::default_makers());

    // The same for a skin already read into memory (tools and tests); path
    // locates the pictures and becomes skin_path().
    bool load_skin_bytes(std::vector<uint8_t> bytes, std::u16string_view path,
                         const ScreenInfo& screen,
                         const SkinFile::Makers& makers = SkinFile::default_makers());

    // Calls reload_skin on every listener in the order they were added, then
    // logs "PropertiesImpl::send_reload_skin the rest time=" and the seconds.
    // A listener may end its own or another's registration meanwhile (a form
    // that closes another): one that went is not called.
    void send_reload_skin();

    // Registers a listener (not owned) for as long as the returned handle
    // lives.
    [[nodiscard]] Subscription add_reload_listener(ReloadListener& listener) {
        return listeners_.add(listener);
    }

    std::optional<SkinNode> find_node(std::u16string_view name) const;
    size_t child_count(SkinNode node) const;
    // i < child_count(node).
    SkinNode child(SkinNode node, size_t i) const;
    // Whether the node has any attribute of that kind at all.
    bool has_any(SkinNode node, skin_format::AttributeKind kind) const;

    // Typed lookups: the attribute of that name in that kind's section of the
    // node, or the default. Points are scaled by the scale shift.
    int32_t integer(SkinNode node, std::u16string_view name, int32_t fallback) const;
    std::shared_ptr<const FontRep> font(SkinNode node, std::u16string_view name,
                                        std::shared_ptr<const FontRep> fallback = nullptr) const;
    Point point(SkinNode node, std::u16string_view name, Point fallback = {}) const;
    std::u16string string(SkinNode node, std::u16string_view name,
                          std::u16string_view fallback = {}) const;
    Picture picture(SkinNode node, std::u16string_view name, const Picture& fallback = {}) const;
    // Alpha 255 when found; the default unchanged (alpha included) otherwise.
    Color color(SkinNode node, std::u16string_view name, Color fallback) const;

    // The dictionary's text for key, or key itself when it has none.
    std::u16string translate(std::u16string_view key) const;
    Dictionary& dictionary() { return dictionary_; }
    const Dictionary& dictionary() const { return dictionary_; }

    // 0, 1 or 2; 0 without a skin.
    int32_t scale_shift() const;
    // The path of the last successful load_skin, as given; "" before.
    const std::u16string& skin_path() const { return skin_path_; }
    // The loaded skin, or null.
    const SkinFile* skin() const { return skin_.get(); }

private:
    bool exchange(std::unique_ptr<SkinFile> loaded, std::u16string_view path);

    Dictionary dictionary_;
    std::unique_ptr<SkinFile> skin_;
    std::u16string skin_path_;
    ListenerList<ReloadListener> listeners_;
};
