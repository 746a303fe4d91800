#include "app/Application.h"

#include "app/AppListener.h"
#include "draw/PixelOps.h"
#include "draw/text/FontDesc.h"
#include "platform/Log.h"
#include "widgets/list/VListElement.h"

Application::Application(std::u16string name, const ScreenInfo& screen, SingleInstance* instance)
    : name_(std::move(name)),
      form_stack_(*this),
      default_font_(FontRep::create(FontDesc::application())) {
    game_ = std::make_unique<GameBase>(*this, name_, screen, instance);
    // Growing lists fill what the forms may use of the screen.
    VListElement::set_screen_area_source([this] { return client_rect(); });
    AppControl::set_current(this);
    log() << u"Application::Application() this=" << reinterpret_cast<unsigned long long>(this)
          << u"\n";
}

Application::~Application() {
    log() << u"Application::~Application()\n";
    AppControl::set_current(nullptr);
    VListElement::set_screen_area_source(nullptr);
    default_font_.reset();
    game_.reset();
}

void Application::minimise() {
    log() << u"Application::minimise\n";
    game_->minimise();
}

void Application::set_background(Color color) {
    background_ = color;
    form_stack_.set_background(color);
}

Rect Application::client_rect() const {
    // There is no menu bar or task bar to leave room for: the soft keys are
    // keys, so the client is the whole screen in either mode.
    if (!game_) return {};
    if (!game_->gdi_mode() && game_->has_display()) {
        Size size = game_->display_size();
        return {0, 0, size.width, size.height};
    }
    const ScreenInfo& screen = game_->screen_info();
    return {0, 0, screen.width, screen.height};
}

void Application::capture_backdrop() {
    RenderSurface& backdrop = form_stack_.backdrop();
    const PixelBuffer* frame = game_->last_frame();
    Size size = game_->display_size();
    if (!frame || size.width <= 0 || size.height <= 0 || !backdrop.recreate(size)) {
        backdrop.recreate({0, 0});
        return;
    }
    backdrop.blit({0, 0},
                  {std::min(size.width, frame->width()), std::min(size.height, frame->height())},
                  *frame, {0, 0}, pixel_ops::copy());
}

void Application::resolution_changed() {
    if (game_->update_screen_info()) {
        log() << u"Application::ResolutionChanged 2\n";
        if (listener_) listener_->on_resolution_changed();
    }
    game_->layout();
}

void Application::form_pushed(Form& form) {
    if (listener_) listener_->on_form_pushed(form);
}

void Application::form_removed(Form& form) {
    if (listener_) listener_->on_form_removed(form);
}

ScreenInfo Application::screen() const { return game_->screen_info(); }
