#include "app/PreviewController.h"

#include "app/Application.h"
#include "forms/FormPreview.h"
#include "forms/FormStack.h"
#include "lang/LanguageChoice.h"
#include "platform/Log.h"
#include "skin/NodeNotFoundInSkin.h"
#include "skin/SkinChoice.h"

PreviewController::PreviewController(Application& app, std::u16string node) : app_(app) {
    choose_language_at_start(properties_.dictionary(), kProductKeyName);
    ScreenInfo screen = app_.read_screen_info();
    bool found = false;
    for (const std::u16string& path : skins_to_try(kProductKeyName)) {
        if (!properties_.load_skin(path, screen)) continue;
        found = properties_.find_node(node).has_value();
        if (found) break;
        log() << u"PreviewController: skin " << path << u" has no node " << node << u"\n";
    }
    if (!found) throw NodeNotFoundInSkin(node);
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
