// AppController: the splash path, message mode, the loading step, the poll,
// the alert, later starts, and the shutdown order.
#include "app/AppController.h"

#include <iostream>
#include <stdexcept>
#include <vector>

#include "app/Application.h"
#include "app/ViewAction.h"
#include "chats/ChatModel.h"
#include "chats/PhoneList.h"
#include "forms/FormStack.h"
#include "forms/alert/FormAlert.h"
#include "forms/alert/FormSplash.h"
#include "forms/main/FormMain.h"
#include "lang/LanguageChoice.h"
#include "messaging/SmsRecord.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Stopwatch.h"
#include "platform/Ticks.h"
#include "platform/Utf16.h"
#include "skin/Properties.h"
#include "skin/SkinChoice.h"

namespace {

constexpr std::u16string_view kMessage = u"message";
constexpr std::u16string_view kSplashSkin = u"%app_path%/skins/bin/splash.skin";
// A command line is logged up to this length: anyone can start the program.
constexpr size_t kLoggedCommandLine = 256;

std::u16string_view logged(const std::u16string& command_line) {
    return std::u16string_view(command_line).substr(0, kLoggedCommandLine);
}

}  // namespace

AppController::AppController(Application& app, std::u16string command_line)
    : app_(app),
      properties_(std::make_unique<Properties>()),
      command_line_(std::move(command_line)) {
    if (command_line_ == kMessage)
        enter_message_mode();
    else
        splash_path();
    app_.set_listener(this);
}

AppController::~AppController() {
    log() << u"AppController::~AppController()\n";
    if (app_.listener() == this) app_.set_listener(nullptr);
    poll_timer_.cancel();
    splash_timer_.cancel();
    command_line_.clear();
    FormStack& stack = app_.form_stack();
    if (alert_) stack.remove(*alert_, false);
    alert_.reset();
    if (main_) stack.remove(*main_, false);
    main_.reset();
    drop_splash();
    properties_.reset();
    model_.reset();
    log() << u"AppController: chat model closed\n";
}

// ---- Start ----

void AppController::create_chat_model() {
    if (model_) return;
    model_ = std::make_unique<ChatModel>();
    model_->start();
}

void AppController::splash_path() {
    splash_properties_ = std::make_unique<Properties>();
    try {
        if (splash_properties_->load_skin(kSplashSkin, app_.read_screen_info()))
            splash_ = std::make_unique<FormSplash>(*splash_properties_);
    } catch (const std::exception&) {
        splash_.reset();
    }
    if (splash_) {
        app_.form_stack().push(*splash_, true, false);
    } else {
        log() << u"AppController: the splash skin cannot be shown, starting without it\n";
        splash_properties_.reset();
    }
    splash_timer_.start(kSplashDelay);
}

void AppController::enter_message_mode() {
    if (!model_) {
        create_chat_model();
        app_.minimise();
    }
    model_->set_first_update(true);
    poll_timer_.start(kFirstPoll);
}

void AppController::load_language() {
    if (language_loaded_) return;
    language_loaded_ = true;
    if (choose_language_at_start(properties_->dictionary(), kProduct)) return;
    // The program goes on, every text showing its key. The choice has
    // logged the English line already.
    const char16_t kRussian[] = u"Нет языков, пожалуйста, переустановите программу\n";
    log() << kRussian;
    std::cerr << "quillmo: No languages, please reinstall\n" << utf16::to_utf8(kRussian);
}

void AppController::load_skin() {
    if (properties_->skin()) return;
    load_language();
    if (!choose_skin_at_start(*properties_, kProduct, app_.read_screen_info()))
        throw std::runtime_error("no skin loads from " +
                                 utf16::to_utf8(paths::expand(u"%app_path%/skins/bin")));
}

void AppController::drop_splash() {
    if (splash_) app_.form_stack().remove(*splash_, false);
    splash_.reset();
    splash_properties_.reset();
}

void AppController::loading_step() {
    Stopwatch clock;
    loading_ = true;
    create_chat_model();
    // Logs "update_chats time:" and "load_contacts time:".
    model_->load(this);
    log() << u"start time1:" << clock.elapsed_ms() << u"\n";
    load_language();
    load_skin();
    if (main_) app_.form_stack().remove(*main_, false);
    main_.reset();
    main_ = std::make_unique<FormMain>(*properties_);
    on_resolution_changed();
    app_.form_stack().push(*main_, false, true);
    drop_splash();
    loading_ = false;
    process_view_action();
    poll_timer_.start(kFirstPoll);
    log() << u"start time2:" << clock.elapsed_ms() << u"\n";
}

void AppController::on_progress(double fraction) {
    if (splash_) splash_->set_progress(fraction);
    int64_t now = ticks::now_ms();
    if (now - last_progress_frame_ms_ < kProgressFrameMs) return;
    last_progress_frame_ms_ = now;
    app_.pump();
}

void AppController::timer_fired(TimerHandle& timer) {
    if (&timer == &splash_timer_)
        loading_step();
    else if (&timer == &poll_timer_)
        poll();
}

// ---- Running ----

void AppController::poll() {
    model_->poll();
    if (std::unique_ptr<SmsRecord> pending = model_->take_pending_message())
        show_alert(std::move(pending));
    poll_timer_.start(kPollInterval);
}

void AppController::show_alert(std::unique_ptr<SmsRecord> message) {
    if (!message) return;
    FormStack& stack = app_.form_stack();
    log() << u"show_alert form count:" << static_cast<long long>(stack.count()) << u"\n";
    bool alert_on_top = alert_ && stack.top() == alert_.get();
    if (stack.count() != 0 && !alert_on_top && app_.is_foreground()) {
        log() << u"show_alert: программа вверху и это не алерт, ничего не делаем\n";
        return;
    }
    log() << u"show_alert view_action: " << logged(command_line_) << u"\n";
    if (!alert_) {
        load_skin();
        alert_ = std::make_unique<FormAlert>(*properties_, *this);
    }
    alert_->fill(*message);
    stack.remove(*alert_, false);
    // Nothing of ours lies below (message mode): the backdrop is the screen
    // as the program last showed it, which is blank when it showed nothing.
    // Over a form, the stack's own picture of that form is the current one.
    bool nothing_below = stack.count() == 0;
    stack.push(*alert_, true, false);
    if (nothing_below) app_.capture_backdrop();
    app_.bring_to_front();
}

void AppController::alert_button(int32_t id) {
    if (!alert_) return;
    FormStack& stack = app_.form_stack();
    if (id == FormAlert::kView) {
        command_line_ = alert_->view_action();
        stack.remove(*alert_, true);
        if (main_)
            process_view_action();
        else if (!splash_timer_.running() && !loading_)
            splash_path();
        return;
    }
    if (model_) model_->store().set_sms_read(alert_->message(), true);
    stack.remove(*alert_, true);
    if (main_)
        app_.minimise();
    else
        app_.quit(0);
}

void AppController::on_other_instance_started(const std::u16string& command_line) {
    log() << u"on_other_instance_started:" << logged(command_line) << u"\n";
    command_line_ = command_line;
    if (command_line_ == kMessage) {
        // Before the loading step has made the model, that step reads the
        // store anyway.
        if (model_) enter_message_mode();
        return;
    }
    if (!main_) {
        // The loading step carries out the command line when it ends.
        if (!splash_timer_.running() && !loading_) splash_path();
        return;
    }
    process_view_action();
}

void AppController::process_view_action() {
    if (!ViewAction::names_chat(command_line_)) {
        app_.bring_to_front();
        return;
    }
    log() << u"view_action:" << logged(command_line_) << u"\n";
    FormStack& stack = app_.form_stack();
    std::vector<FormStack::Entry> entries = stack.entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (it->form != main_.get()) stack.remove(*it->form, false);
    std::optional<ViewAction> action = ViewAction::parse(command_line_);
    if (action && main_ && model_) {
        PhoneEntry recipient = PhoneList::from_typed(action->number);
        // A known contact's number opens under the contact's name.
        if (long found = model_->phones().find(recipient.key); found >= 0)
            recipient = model_->phones()[static_cast<size_t>(found)];
        // A name opens only the chat that already has it (a sender without
        // a number); a number opens its chat, new or not.
        if (!recipient.number.empty() || model_->find_chat(recipient.key)) {
            if (!action->body.empty()) model_->set_handover_text(action->body);
            main_->open_chat(recipient);
        }
    }
    app_.bring_to_front();
}

void AppController::on_deactivate() {
    // Only an alert on screen goes with the focus; the program started for
    // it alone ends.
    if (!alert_ || !app_.form_stack().contains(*alert_)) return;
    if (main_)
        app_.form_stack().remove(*alert_, false);
    else
        app_.quit(0);
}

void AppController::on_resolution_changed() {
    app_.set_direct_mode(app_.read_screen_info().orientation);
}
