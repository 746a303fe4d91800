#pragma once
// The program's top-level controller. From the command line it starts the
// program in full (the splash, then the loading behind it, then the chat
// list) or in message mode ("message": minimised, only to show the alert of
// a message that has just arrived). It polls the store once a second for
// the rest of the run, shows the new-message alert, carries out the command
// lines of later starts, and takes everything down in order.
//
// It lives on the entry function's stack for the whole run, after the
// Application it registers with as the one AppListener. User-interface
// thread only.
#include <cstdint>
#include <memory>
#include <string>

#include "app/AppListener.h"
#include "chats/ProgressListener.h"
#include "forms/alert/AlertButtonListener.h"
#include "platform/active/TimerHandle.h"
#include "platform/active/TimerListener.h"

class Application;
class ChatModel;
class FormAlert;
class FormMain;
class FormSplash;
class Properties;
struct SmsRecord;

class AppController : public AppListener,
                      public AlertButtonListener,
                      public TimerListener,
                      public ProgressListener {
public:
    static constexpr char16_t kProduct[] = u"Quillmo";
    static constexpr double kSplashDelay = 0.5;
    static constexpr double kFirstPoll = 0.001;
    static constexpr double kPollInterval = 1.0;
    // Progress reports come once per message read; the splash is drawn again
    // (and the window's events handled) at most this often, so that a large
    // first load is not spent drawing the same bar.
    static constexpr int64_t kProgressFrameMs = 16;

    // Starts message mode for "message", else the splash path. A splash
    // skin that is missing or broken is logged and the program starts
    // without the splash.
    AppController(Application& app, std::u16string command_line);
    // The shutdown order: timers, the alert and main forms, the skins, then
    // the chat model (which withdraws the new-message request when alerts
    // are off).
    ~AppController() override;
    AppController(const AppController&) = delete;
    AppController& operator=(const AppController&) = delete;

    // Shows the alert for message unless the program is in front with
    // another form on top; the record is consumed either way. Throws
    // std::runtime_error when no main skin loads.
    void show_alert(std::unique_ptr<SmsRecord> message);
    // Carries out the held command line: "open:NUMBER" or an "sms:" URI
    // closes every form but the main form and opens that chat; anything
    // else only brings the window to the front.
    void process_view_action();

    // ---- AppListener ----
    void on_other_instance_started(const std::u16string& command_line) override;
    void on_resolution_changed() override;
    void on_deactivate() override;

    void alert_button(int32_t id) override;
    // The splash timer runs the loading step (which throws
    // std::runtime_error when no main skin loads); the poll timer polls.
    void timer_fired(TimerHandle& timer) override;
    void on_progress(double fraction) override;

    const std::u16string& command_line() const { return command_line_; }
    FormMain* main_form() const { return main_.get(); }
    FormAlert* alert_form() const { return alert_.get(); }
    FormSplash* splash_form() const { return splash_.get(); }
    ChatModel* chat_model() const { return model_.get(); }
    bool polling() const { return poll_timer_.running(); }

private:
    void splash_path();
    void enter_message_mode();
    void loading_step();
    void poll();
    void create_chat_model();
    // The language and the main skin, loaded once when first needed.
    void load_language();
    void load_skin();
    void drop_splash();

    Application& app_;
    std::unique_ptr<ChatModel> model_;
    // The splash's own small skin lives as long as the splash form.
    std::unique_ptr<Properties> splash_properties_;
    std::unique_ptr<FormSplash> splash_;
    std::unique_ptr<Properties> properties_;
    std::unique_ptr<FormAlert> alert_;
    std::unique_ptr<FormMain> main_;
    std::u16string command_line_;
    TimerHandle splash_timer_{*this};
    TimerHandle poll_timer_{*this};
    // Set during the loading step, whose progress reports handle window
    // messages (later starts among them) before the main form exists.
    bool loading_ = false;
    bool language_loaded_ = false;
    int64_t last_progress_frame_ms_ = 0;
};
