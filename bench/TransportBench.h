#pragma once
// Figures of the messaging service against the fake ModemManager on a private
// bus: storing 1,000 messages that wait on the modem when quillmo-transport
// --once starts (transport_receive_1000_ms), and one submitted message going
// from the Outbox to Sent Items through the running daemon
// (transport_send_one_ms). Needs the test build's fake (QUILLMO_TESTS=ON).
#include <string>

class TransportBench {
public:
    explicit TransportBench(std::string program_dir) : program_dir_(std::move(program_dir)) {}
    bool run();

private:
    bool receive_1000(double& ms);
    bool send_one(double& ms);

    std::string program_dir_;
};
