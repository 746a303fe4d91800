#pragma once
// The transport's view of ModemManager: the few calls it makes on the modem's
// Messaging interface and its SMS objects. The real one speaks D-Bus
// (SdBusModemLink); keeping the bus behind this interface keeps the receive
// and send rules free of it.
//
// No call throws. A call that fails returns false or nothing and leaves why
// in last_error() (one line, text of the outside world: print it through
// terminal_text) and its kind in last_failure().
#include <optional>
#include <string>
#include <vector>

#include "tools/transport/ModemSms.h"

class ModemLink {
public:
    enum class Failure {
        None,
        Gone,     // the object (or ModemManager) is not there
        NoReply,  // the call timed out: it may have been carried out
        Refused,  // ModemManager answered with an error
    };

    virtual ~ModemLink() = default;

    // Object path of the first modem that offers Messaging; empty when there
    // is none; nothing when ModemManager cannot be asked.
    virtual std::optional<std::string> messaging_modem() = 0;
    // The SMS objects of a modem (Messaging.List).
    virtual std::optional<std::vector<std::string>> list(const std::string& modem) = 0;
    // The properties of one SMS object.
    virtual std::optional<ModemSms> read(const std::string& sms) = 0;
    // Deletes an SMS object and the message it stands for (Messaging.Delete).
    virtual bool remove(const std::string& modem, const std::string& sms) = 0;
    // Creates an SMS object to send (Messaging.Create); returns its path.
    virtual std::optional<std::string> create(const std::string& modem, const OutgoingSms& sms) = 0;
    // Sends an SMS object made by create() (Sms.Send).
    virtual bool send(const std::string& sms) = 0;

    const std::string& last_error() const { return last_error_; }
    Failure last_failure() const { return last_failure_; }

protected:
    void failed(Failure kind, std::string why) {
        last_failure_ = kind;
        last_error_ = std::move(why);
    }
    void succeeded() {
        last_failure_ = Failure::None;
        last_error_.clear();
    }

private:
    std::string last_error_;
    Failure last_failure_ = Failure::None;
};
