#pragma once
// quillmo-transport --daemon: the device's messaging service for as long as
// it runs. It holds the device folder's transport lock, then sleeps until
// ModemManager says something changed (a message added, a modem come or
// gone), a submission wakes it (WakeFifo) or SIGTERM/SIGINT stops it; each
// wake-up is one pass of the modem network (or of the loopback network when
// the device chose it). What is left for later (the store busy, the bus
// gone) is tried again after a minute.
#include <string>

class TransportDaemon {
public:
    explicit TransportDaemon(std::string device_folder) : device_(std::move(device_folder)) {}
    // Runs until stopped; the exit status (0 when stopped by a signal, 1 when
    // it could not start: another transport runs, or the device folder
    // cannot be used).
    int run();

private:
    std::string device_;
};
