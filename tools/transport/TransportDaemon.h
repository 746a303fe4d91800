#pragma once
// quillmo-transport --daemon: the device's messaging service for as long as
// it runs. It holds the device folder's transport lock, then sleeps until
// ModemManager says something changed (a message added or completed, a modem
// come or gone), a submission wakes it (WakeFifo) or SIGTERM/SIGINT stops it;
// each wake-up is one pass of the modem network (or of the loopback network
// when the device chose it). What is left for later (the store busy, the bus
// gone) is tried again after a minute.
#include <memory>
#include <optional>
#include <string>

#include "platform/UniqueFd.h"
#include "platform/store/StoreDatabase.h"
#include "tools/transport/ModemTransport.h"
#include "tools/transport/SdBusModemLink.h"
#include "tools/transport/TransportLock.h"
#include "tools/transport/WakeFifo.h"

class TransportDaemon {
public:
    explicit TransportDaemon(std::string device_folder) : device_(std::move(device_folder)) {}
    // Runs until stopped; the exit status (0 when stopped by a signal, 1 when
    // it could not start: another transport runs, or the device folder
    // cannot be used).
    int run();

private:
    // Takes the lock, the stop signals, the FIFO and the store. False (with
    // one line logged) when any is missing.
    bool start();
    // One pass over the chosen network; true when work was left for later.
    bool pass(ModemTransport::Refused refused);
    enum class Wake { Stop, Failed, Submission, Modems, Messages, Retry };
    // Sleeps until something calls for a pass (or a stop).
    Wake wait(bool later);
    // The bus and the modem network on it, made when missing.
    void connect();

    std::string device_;
    std::optional<TransportLock> lock_;
    UniqueFd signals_;
    std::optional<WakeFifo> fifo_;
    std::shared_ptr<StoreDatabase> store_;
    std::unique_ptr<SdBusModemLink> link_;
    std::unique_ptr<ModemTransport> modem_;
    bool said_no_bus_ = false;
};
