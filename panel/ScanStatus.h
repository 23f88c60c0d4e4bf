#pragma once
// The request-flag hand-shake of the scans and the priority monitor: one receive-status request
// at a time, resent when the radio stays silent, and an end to the wait when it never answers.

#include "platform/EventLoop.h"
#include "radio/RadioLink.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace kivo::panel {

class ScanStatus {
public:
    // A request that has had no answer for this long is sent again.
    static constexpr double kResendAfter = 0.5;
    // Silent requests in a row after which the radio counts as not answering.
    static constexpr int kSilentTries = 4;
    enum class Waited { Done, Stopped, Silent, Holding };
    // One exchange to its end: runs `pass` (one evaluation, flags by reference) until it sets
    // `done` or `holding` (a busy channel the caller stays on and reads again later), `stopped`
    // turns true, or the radio stops answering.
    Waited Await(const std::function<void(bool& done, bool& sendReq)>& pass, const std::function<bool()>& stopped,
                 bool& holding);

    ScanStatus(radio::RadioLink& cat, platform::EventLoop& loop) : m_cat(cat), m_loop(loop) {}

    // Starts a new exchange: the next pass sends a request.
    void Begin(bool& sendReq);
    // One non-blocking pass: sends the request when `sendReq` is set (clearing it), then takes
    // the answer when it is waiting. A request unanswered for kResendAfter sets `sendReq` again.
    std::optional<std::uint8_t> Poll(bool& sendReq);
    // Sleeps, processing events, until input arrives or the request is due again (on a port
    // that cannot be watched, 10 ms at most); the caller polls again after it.
    void Wait();
    // The radio let kSilentTries requests in a row go unanswered.
    bool Silent() const { return m_silent >= kSilentTries; }

private:
    radio::RadioLink& m_cat;
    platform::EventLoop& m_loop;
    double m_resendAt = 0; // when the request goes again
    int m_silent = 0;
};

} // namespace kivo::panel
