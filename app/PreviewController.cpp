#include "app/PreviewController.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "app/Application.h"
#include "forms/FormPreview.h"
#include "forms/FormStack.h"
#include "lang/LanguageChoice.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/RegistryPath.h"
#include "platform/Utf16.h"
#include "skin/NodeNotFoundInSkin.h"

namespace {

constexpr std::u16string_view kProduct = u"Quillmo";

std::u16string skin_path(std::u16string_view name) {
    return u"%app_path%/skins/bin/" + std::u16string(name) + u".skin";
}

// The skins to try, best first: the chosen one, "default", then the others by
// name. "splash" is the splash screen's own skin, never a main skin.
std::vector<std::u16string> skin_candidates() {
    std::vector<std::u16string> names;
    std::u16string chosen;
    RegistryPath key(u"HKEY_CURRENT_USER\\Software\\Zelvor\\" + std::u16string(kProduct));
    if (registry::read_string(key, u"Skin", chosen) && !chosen.empty()) names.push_back(chosen);
    names.push_back(u"default");
    std::vector<std::u16string> found;
    std::error_code ec;
    std::filesystem::directory_iterator it(paths::native(paths::expand(u"%app_path%/skins/bin")),
                                           ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::filesystem::path file = it->path();
        if (file.extension() != ".skin") continue;
        std::u16string stem = utf16::from_utf8(file.stem().string());
        if (paths::to_upper(stem) != u"SPLASH") found.push_back(stem);
    }
    std::sort(found.begin(), found.end());
    for (std::u16string& name : found)
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    std::erase_if(names, [](const std::u16string& n) {
        return n.find_first_of(std::u16string_view(u"/\\\0", 3)) != std::u16string::npos;
    });
    return names;
}

}  // namespace

PreviewController::PreviewController(Application& app, std::u16string node) : app_(app) {
    choose_language_at_start(properties_.dictionary(), kProduct);
    ScreenInfo screen = app_.read_screen_info();
    bool loaded = false;
    for (const std::u16string& name : skin_candidates()) {
        if (!properties_.load_skin(skin_path(name), screen)) continue;
        loaded = true;
        if (properties_.find_node(node)) break;
        log() << u"PreviewController: skin " << name << u" has no node " << node << u"\n";
        loaded = false;
    }
    if (!loaded) throw NodeNotFoundInSkin(node);
    form_ = std::make_unique<FormPreview>(properties_, node);
    app_.set_listener(this);
    app_.form_stack().push(*form_, false, false);
}

PreviewController::~PreviewController() {
    app_.set_listener(nullptr);
    if (form_) app_.form_stack().remove(*form_, false);
}

void PreviewController::on_other_instance_started(const std::u16string& command_line) {
    log() << u"on_other_instance_started:" << command_line << u"\n";
    app_.bring_to_front();
}

void PreviewController::on_resolution_changed() {
    app_.set_direct_mode(app_.read_screen_info().orientation);
}
