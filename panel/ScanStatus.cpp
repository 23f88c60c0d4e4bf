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
        m_sentAt = m_loop.Now();
    const auto byte = m_cat.PollStatus(radio::op::kReadRxStatus, sendReq);
    if (byte) {
        m_silent = 0;
        return byte;
    }
    if (m_loop.Now() - m_sentAt >= kResendAfter) {
        ++m_silent;
        sendReq = true; // a lost request or answer must not stall the scan
    }
    return std::nullopt;
}

void ScanStatus::Wait() { m_loop.ProcessEventsUntil(m_sentAt + kResendAfter); }

} // namespace kivo::panel
