#include "panel/ScanStatus.h"

#include "radio/CatCodec.h"

namespace kivo::panel {

void ScanStatus::Begin(bool& sendReq)
{
    sendReq = true;
    m_silent = 0;
}

std::optional<std::uint8_t> ScanStatus::Poll(bool& sendReq)
{
    if (sendReq)
        m_resendAt = m_loop.Now() + kResendAfter;
    const auto byte = m_cat.PollStatus(radio::op::kReadRxStatus, sendReq);
    if (byte) {
        m_silent = 0;
        return byte;
    }
    // Against the very deadline the wait sleeps to: now minus the send time can fall short of
    // kResendAfter by a rounding, and the wait would then return at once, for ever.
    if (m_loop.Now() >= m_resendAt) {
        ++m_silent;
        sendReq = true; // a lost request or answer must not stall the scan
    }
    return std::nullopt;
}

ScanStatus::Waited ScanStatus::Await(const std::function<void(bool&, bool&)>& pass,
                                     const std::function<bool()>& stopped, bool& holding)
{
    bool done = false, sendReq = false;
    Begin(sendReq);
    for (;;) {
        pass(done, sendReq);
        if (stopped())
            return Waited::Stopped;
        if (done)
            return Waited::Done;
        if (holding) {
            // Holding on a busy channel may last as long as the carrier does: the caller reads
            // it again from a timer of its own, not from a wait that would never end.
            holding = false;
            return Waited::Holding;
        }
        if (Silent())
            return Waited::Silent;
        Wait();
        if (stopped())
            return Waited::Stopped;
    }
}

void ScanStatus::Wait() { m_cat.WaitForInput(m_resendAt); }

} // namespace kivo::panel
