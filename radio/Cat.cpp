#include "radio/Cat.h"

#include <algorithm>

namespace kivo::radio {

namespace {
// How soon a wait that cannot sleep until input looks again.
constexpr double kIdleLook = 0.01;
} // namespace

Cat::Cat(const state::ModKIVO& kivo, platform::SerialPort& port, platform::EventLoop& loop)
    : m_kivo(kivo), m_port(port), m_loop(loop)
{
}

bool Cat::CheckVanished()
{
    if (!m_port.Vanished())
        return false;
    if (!m_vanishReported) {
        m_vanishReported = true;
        if (hooks.portVanished)
            hooks.portVanished();
    }
    return true;
}

bool Cat::AnswersOwed()
{
    const std::uint64_t arrived = m_port.BytesArrived();
    // Another port's count (the menu chose another) starts afresh.
    std::uint64_t fresh = arrived >= m_arrivedSeen ? arrived - m_arrivedSeen : 0;
    m_arrivedSeen = arrived;
    while (fresh > 0 && !m_owed.empty()) {
        const int take = int(std::min<std::uint64_t>(fresh, std::uint64_t(m_owed.front().bytes)));
        fresh -= std::uint64_t(take);
        if ((m_owed.front().bytes -= take) == 0)
            m_owed.pop_front();
    }
    // More than was owed: acknowledgements of set commands (or a radio's garbage, which costs no
    // more than a wait to the limit now and then).
    if (fresh > 0)
        m_acksSeen = true;
    // A frame the radio dropped, a reply lost on the way: not waited for past the limit. The
    // limit is the very sum the waits sleep to: now minus the send time can fall short of it by
    // a rounding, and a wait to that deadline would then return at once, for ever.
    while (!m_owed.empty() && m_loop.Now() >= m_owed.front().sentAt + kAnswerLimit)
        m_owed.pop_front();
    return !m_owed.empty();
}

bool Cat::WaitFrameGap(bool request)
{
    if (CheckVanished() || !m_port.IsOpen())
        return false;
    // Events run during the waits and may write frames of their own, each restarting them. The
    // answers' wait ends kAnswerLimit after it began all the same: frames written meanwhile (the
    // meter's requests to a silent radio) would otherwise owe answers for ever.
    const double answersBy = m_loop.Now() + kAnswerLimit;
    struct Waiting {
        int& count;
        explicit Waiting(int& c) : count(c) { ++count; }
        ~Waiting() { --count; }
    } waiting(m_gapWaits);
    for (;;) {
        if (m_frameGap > 0 && LineBusy()) {
            platform::PauseUntil(m_loop, m_lastWrite + m_frameGap);
        } else if (request && m_loop.Now() < answersBy && AnswersOwed()) {
            // On a cable the answer is in long before the gap is over. Over a network it may not
            // be: arriving after the discard below it would be taken for this request's answer.
            // It is waited for (and discarded), up to the limit.
            WaitForInput(std::min(m_lastWrite + kAnswerLimit, answersBy));
        } else {
            return true;
        }
        if (CheckVanished() || !m_port.IsOpen())
            return false;
    }
}

void Cat::WriteNow(const Frame& frame, bool request)
{
    AnswersOwed(); // what came before this frame is no answer to it
    m_port.Write(frame);
    // The port's write returns once the frame has left (handed to the line or the network): the
    // frame gap and the answer's wait count from here.
    m_lastWrite = m_loop.Now();
    const bool read = frame.size() == 5 && std::uint8_t(frame[4]) == op::kReadFreqMode;
    if (request)
        m_owed.push_back({m_lastWrite, read ? 5 : 1, m_lastRequest + 1});
    else if (m_acksSeen)
        m_owed.push_back({m_lastWrite, 1, 0});
    ++m_writes;
    CheckVanished();
}

bool Cat::Write(const Frame& frame)
{
    return WriteBuilt([&frame] { return std::optional<Frame>(frame); });
}

bool Cat::WriteBuilt(const std::function<std::optional<Frame>()>& build)
{
    bool ready = false;
    {
        // Counted down also when the wait ends in an exception.
        struct Count {
            int& n;
            ~Count() { --n; }
        } count{++m_sending};
        ready = WaitFrameGap(false);
    }
    if (!ready)
        return false;
    const std::optional<Frame> frame = build();
    if (!frame)
        return false;
    WriteNow(*frame, false);
    return true;
}

unsigned Cat::Request(const Frame& frame)
{
    if (!WaitFrameGap(true))
        return 0;
    // Nothing between the discard and the write: whatever waits now (an acknowledgement of an
    // earlier command, a late reply) can never be taken for this request's answer.
    m_port.DiscardInput();
    WriteNow(frame, true);
    if (!m_port.IsOpen() || m_port.Vanished())
        return 0;
    m_writesAtRequest = m_writes;
    return ++m_lastRequest;
}

void Cat::WaitForInput(double deadline)
{
    const int fd = m_port.InputHandle();
    if (fd < 0 || m_port.BytesWaiting() > 0) {
        // Nothing to watch, or bytes that would wake the watch at once, over and over: look
        // again soon, so an answer is not held up to the deadline.
        m_loop.ProcessEventsUntil(std::min(deadline, m_loop.Now() + kIdleLook));
        return;
    }
    m_loop.WatchFd(fd, [] {});
    m_loop.ProcessEventsUntil(deadline);
    // A handler run meanwhile may have closed the port, and its number may belong to another
    // file by now.
    if (m_port.InputHandle() == fd)
        m_loop.UnwatchFd(fd);
    // Woken with nothing to read (a hang-up, another descriptor's input): a short rest, so a
    // descriptor that stays readable cannot turn the caller's loop into a spin.
    if (m_port.BytesWaiting() == 0 && m_loop.Now() < deadline)
        m_loop.ProcessEventsUntil(std::min(deadline, m_loop.Now() + kIdleLook));
}

bool Cat::AnswerOnItsWay(unsigned request)
{
    // The request waited for every earlier answer before it left, so what is still owed is its
    // own answer or the acknowledgements of frames written since, which AnswerWaiting counts on.
    return request != 0 && request == m_lastRequest && AnswersOwed();
}

bool Cat::AnswerWaiting(unsigned request, int length)
{
    if (request == 0 || request != m_lastRequest || CheckVanished() || !m_port.IsOpen())
        return false;
    // The radio answers in order, so the answer is the first byte waiting. Each frame written
    // since may add an acknowledgement behind it; until there are more bytes than those could
    // be, a lone byte might be an acknowledgement of a command written after a request that
    // was lost, and is not taken.
    return m_port.BytesWaiting() >= length + int(m_writes - m_writesAtRequest);
}

std::optional<FreqMode> Cat::TakeFreqModeAnswer(unsigned request)
{
    if (!AnswerWaiting(request, 5))
        return std::nullopt;
    const bool changedSince = m_writes != m_writesAtRequest;
    // The radio answers in order: the reply is the first five bytes, acknowledgements follow.
    const std::string got = m_port.Read();
    m_port.DiscardInput();
    if (changedSince)
        return std::nullopt;
    return DecodeFreqModeReply(std::string_view(got).substr(0, 5));
}

void Cat::SendFreq(const state::VFOInfo& vfo, bool main)
{
    // Built once the frame gap is over: the events its wait runs (a scan's step) may move the VFO
    // and send that, which a frame of where it was before would then undo.
    bool shown = false;
    WriteBuilt([&] {
        shown = true;
        if (hooks.freqSent)
            hooks.freqSent(main, vfo.Freq);
        return FreqFrame(vfo.Freq);
    });
    if (!shown && hooks.freqSent)
        hooks.freqSent(main, vfo.Freq);
}

void Cat::SendFreqMB() { SendFreq(m_kivo.VFOMB, true); }
void Cat::SendFreqSB() { SendFreq(m_kivo.VFOSB, false); }

template <class Field, class Make> void Cat::SendField(Field& cached, const Field& field, Make make)
{
    // The wait runs events (a scan's step, a memory recall) that may change the field and send
    // that: a frame built before would undo it, and a value read after would claim what the
    // radio never got.
    WriteBuilt([&]() -> std::optional<Frame> {
        cached = field;
        return make(field);
    });
}

void Cat::SendModeMB()
{
    SendField(LastInfo.MB.Mode, m_kivo.VFOMB.Mode, ModeFrame);
    if (hooks.modeSent)
        hooks.modeSent(true, m_kivo.VFOMB.Mode);
}

void Cat::SendModeSB()
{
    SendField(LastInfo.SB.Mode, m_kivo.VFOSB.Mode, ModeFrame);
    if (hooks.modeSent)
        hooks.modeSent(false, m_kivo.VFOSB.Mode);
}

void Cat::SendRptDirMB()
{
    if (hooks.rptDirSent && RptDirFrame(m_kivo.VFOMB.RptDir))
        hooks.rptDirSent(m_kivo.VFOMB.RptDir);
    SendField(LastInfo.MB.RptDir, m_kivo.VFOMB.RptDir, RptDirFrame);
}

void Cat::SendRptOffset() { SendField(LastInfo.MB.RptOffset, m_kivo.VFOMB.RptOffset, RptOffsetFrame); }

void Cat::SendToneModeMB()
{
    SendField(LastInfo.MB.ToneMode, m_kivo.VFOMB.ToneMode, ToneModeFrame);
    if (hooks.toneModeSent)
        hooks.toneModeSent(true, m_kivo.VFOMB.ToneMode);
}

void Cat::ShowToneModeSB()
{
    if (hooks.toneModeSent)
        hooks.toneModeSent(false, m_kivo.VFOSB.ToneMode);
    LastInfo.SB.ToneMode = m_kivo.VFOSB.ToneMode;
}

void Cat::SendCTCSSToneMB() { SendField(LastInfo.MB.CTCSSidx, m_kivo.VFOMB.CTCSSidx, CtcssFrame); }
void Cat::SendCTCSSToneSB() { SendField(LastInfo.SB.CTCSSidx, m_kivo.VFOSB.CTCSSidx, CtcssFrame); }
void Cat::SendDCSCodeMB() { SendField(LastInfo.MB.DCSidx, m_kivo.VFOMB.DCSidx, DcsFrame); }

void Cat::SendDCSCodeSB() { LastInfo.SB.DCSidx = m_kivo.VFOSB.DCSidx; }

void Cat::SendSplitOn()
{
    if (hooks.splitSent)
        hooks.splitSent(true);
    Write(MakeFrame(op::kSplitOn));
}

void Cat::SendSplitOff()
{
    // Only a split off that went out ends the radio's split: one a lost port kept back (power-off
    // after the cable went) must still go out when the panel is lit again.
    const unsigned long before = m_writes;
    Write(MakeFrame(op::kSplitOff));
    if (m_writes != before && hooks.splitSent)
        hooks.splitSent(false);
}

bool Cat::SendPTT(bool on) { return Write(MakeFrame(on ? op::kPttOn : op::kPttOff)); }

void Cat::ToggleVFOAB(const std::function<void()>& switched)
{
    // Marked for the whole call: events run in the pauses, and a reading taken in them could
    // come from either VFO.
    const bool outer = !m_toggling;
    m_toggling = true;
    platform::Pause(m_loop, 0.25);
    const unsigned long before = m_writes;
    Write(MakeFrame(op::kToggleVFO));
    if (m_writes != before)
        m_radioOther = !m_radioOther;
    ++m_toggles;
    m_otherVfo = !m_otherVfo;
    if (switched)
        switched();
    platform::Pause(m_loop, 0.25);
    if (outer)
        m_toggling = false;
}

void Cat::BringVfoInStep()
{
    if (!VfoOutOfStep())
        return;
    platform::Pause(m_loop, 0.25);
    const unsigned long before = m_writes;
    Write(MakeFrame(op::kToggleVFO));
    if (m_writes != before) {
        m_radioOther = !m_radioOther;
        ++m_toggles;
    }
    platform::Pause(m_loop, 0.25);
}

std::optional<std::uint8_t> Cat::PollStatus(std::uint8_t opcode, bool& sendRequest)
{
    if (sendRequest) {
        sendRequest = false;
        m_pollRequest = Request(MakeFrame(opcode));
    }
    if (!AnswerWaiting(m_pollRequest))
        return std::nullopt;
    m_pollRequest = 0;
    return TakeStatusByte();
}

std::uint8_t Cat::TakeStatusByte()
{
    const std::string got = m_port.Read();
    m_port.DiscardInput();
    return got.empty() ? 0 : std::uint8_t(got[0]);
}

std::optional<FreqMode> Cat::ReadFreqMode()
{
    // Counted down also when a wait ends in an exception.
    struct Count {
        int& n;
        ~Count() { --n; }
    } count{++m_reading};
    platform::Pause(m_loop, 0.2);
    if (!Request(MakeFrame(op::kReadFreqMode)))
        return std::nullopt;
    int polls = 0;
    for (;;) {
        if (polls > 5)
            return std::nullopt;
        platform::Pause(m_loop, 0.1);
        if (CheckVanished())
            return std::nullopt;
        if (m_port.BytesWaiting() > 4)
            break;
        ++polls;
    }
    // The radio answers in order, so the reply comes before the acknowledgement of any command
    // written during the waits. Whatever follows it must not shift later replies.
    const std::string reply = m_port.Read();
    m_port.DiscardInput();
    return DecodeFreqModeReply(reply);
}

bool Cat::ReadFreqModeFromRadio()
{
    const auto fm = ReadFreqMode();
    if (!fm)
        return false;
    if (hooks.readingTaken)
        hooks.readingTaken(*fm);
    return true;
}

} // namespace kivo::radio
