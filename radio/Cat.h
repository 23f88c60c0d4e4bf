#pragma once
// The FT-817's CAT link: the senders and the frequency-and-mode reader. Each writes its frame to
// the port, reports what it sent, and remembers it in the last-sent cache.

#include "platform/EventLoop.h"
#include "platform/SerialPort.h"
#include "radio/CatCodec.h"
#include "radio/RadioLink.h"
#include "state/ModKIVO.h"

#include <deque>
#include <functional>
#include <optional>

namespace kivo::radio {

class Cat final : public RadioLink {
public:
    // Reads the VFOs it sends from `kivo`; writes nothing there.
    Cat(const state::ModKIVO& kivo, platform::SerialPort& port, platform::EventLoop& loop);

    void SendFreqMB() override;
    void SendFreqSB() override;
    void SendModeMB() override;
    void SendModeSB() override;
    void SendRptDirMB() override;
    void SendRptOffset() override;
    void SendToneModeMB() override;
    // The sub VFO has no tone-mode command: reported and cached only.
    void ShowToneModeSB() override;
    void SendCTCSSToneMB() override;
    void SendCTCSSToneSB() override;
    void SendDCSCodeMB() override;
    // The sub VFO's DCS code is not sent: cache only.
    void SendDCSCodeSB() override;
    void SendSplitOn() override;
    // Reports the split off only when the frame went out.
    void SendSplitOff() override;
    bool SendPTT(bool on) override;
    // Pause 0.25 s, toggle, pause 0.25 s: the radio needs the time to switch VFOs.
    void ToggleVFOAB(const std::function<void()>& switched = {}) override;
    // Asks the radio for its current frequency and mode and reports them (hooks.readingTaken) for
    // the main VFO (or the sub VFO while SUB is active). A missing or invalid reply reports
    // nothing. Returns whether a reply was taken.
    bool ReadFreqModeFromRadio() override;
    // The read alone, blocking: a settling pause, the request, up to six polls 0.1 s apart, and
    // the decoded reply; nothing when none comes or it does not decode (garbage at a wrong rate).
    std::optional<FreqMode> ReadFreqMode() override;

    // One pass of the request-flag hand-shake of the scans and the band scope: writes the status
    // request only when `sendRequest` is set (clearing it), then takes the first waiting byte,
    // if any, and discards the rest.
    std::optional<std::uint8_t> PollStatus(std::uint8_t opcode, bool& sendRequest) override;
    // Least time between two frames. A real FT-817 drops a frame that starts arriving within
    // about 90 ms of the previous one, so the program runs with 0.1 s; 0 sends back to back.
    void SetFrameGap(double seconds) override { m_frameGap = seconds; }
    double FrameGap() const override { return m_frameGap; }
    // True while a frame written now would first have to wait out the frame gap.
    bool LineBusy() const override { return m_loop.Now() < m_lastWrite + m_frameGap; }
    bool LineWanted() const override { return m_gapWaits > 0; }
    // The first waiting byte of a status reply (0 when none), discarding the rest so a late
    // or doubled reply never shifts the next one.
    std::uint8_t TakeStatusByte() override;
    // Writes one frame, waiting out the frame gap first; silent on a closed or vanished port.
    bool Write(const Frame& frame) override;
    // Writes a request whose answer the caller will read: waits out the frame gap, discards
    // what is waiting, then writes, so an acknowledgement of an earlier command is never taken
    // for the answer. Returns the request's number (never 0), or 0 when the port is closed or
    // gone.
    unsigned Request(const Frame& frame) override;
    // Whether the `length`-byte answer to this request (a number from Request) is waiting: the
    // request is still the latest (a later one discards its answer) and at least `length` more
    // bytes wait than the acknowledgements of frames written since could account for.
    bool AnswerWaiting(unsigned request, int length = 1) override;
    // Whether the answer to this request (a number from Request) may still be on its way: it is
    // the latest request, and its answer or the acknowledgement of a frame written since has not
    // arrived yet, all less than kAnswerLimit ago. Over a network an answer can take longer than a poll's tick; asking
    // again then would only discard it.
    bool AnswerOnItsWay(unsigned request) override;
    // The longest an answer is waited for after its frame left: the radio's 60 ms and a slow
    // network's round trip, with room to spare.
    static constexpr double kAnswerLimit = 0.5;
    // Processes events until input arrives on the port or `deadline`, sleeping in between; the
    // caller looks at the port again after it. A port with no descriptor to watch (or bytes
    // already waiting) is looked at again after 10 ms instead.
    void WaitForInput(double deadline) override;
    // The non-blocking half of the frequency-and-mode read: the decoded answer to `request` (from
    // Request of the read frame) once all five bytes wait, discarding what follows. Nothing
    // while it is incomplete, garbled, or when any frame went out since the request: the panel
    // changed the radio then, so the reading may already be stale.
    std::optional<FreqMode> TakeFreqModeAnswer(unsigned request) override;
    // True from the first VFO A/B toggle of a bracketed sequence until the second has gone out
    // and its pause is over: the radio's current VFO is not the panel's main VFO then.
    bool OnOtherVfo() const override { return m_toggling || m_otherVfo; }
    bool Sending() const override { return m_sending > 0; }
    // SUB's own toggle leaves the radio on the VFO the panel tunes; any other leaves it on the
    // one it does not tune until the sequence's second toggle goes out.
    bool MidToggle() const override { return m_otherVfo != m_kivo.SubSelected; }
    bool Reading() const override { return m_reading > 0; }
    bool VfoOutOfStep() const override { return m_otherVfo != m_radioOther; }
    void BringVfoInStep() override;
    void RadioLeftOnOtherVfo() override { m_radioOther = !m_otherVfo; }
    // How many VFO A/B toggles went out so far; a reading taken across one is not the main VFO's.
    unsigned long VfoToggles() const override { return m_toggles; }
    // True (and reported once through hooks.portVanished) when the device has gone away.
    bool CheckVanished() override;
    // Re-arms the vanished report after the port was opened again.
    void PortReopened() override { m_vanishReported = false; }

    platform::SerialPort& Port() override { return m_port; }
    platform::EventLoop& Loop() override { return m_loop; }

private:
    void SendFreq(const state::VFOInfo& vfo, bool main);
    // Waits until a frame may go out (for a request also until the last frame's answer is no
    // longer on its way); false when the port is closed or gone.
    bool WaitFrameGap(bool request);
    void WriteNow(const Frame& frame, bool request);
    // Write's, with the frame built after the frame gap's wait (none built: nothing written).
    bool WriteBuilt(const std::function<std::optional<Frame>()>& build);
    // A field's frame, built from its value once the frame gap is over, and that value, not the
    // one before the wait, remembered as what the radio holds.
    template <class Field, class Make> void SendField(Field& cached, const Field& field, Make make);
    // Credits the bytes that arrived since the last look to the frames whose answers are on
    // their way, oldest first (the radio answers in order), and gives up on answers older than
    // kAnswerLimit. True while any is still on its way.
    bool AnswersOwed();

    const state::ModKIVO& m_kivo;
    platform::SerialPort& m_port;
    platform::EventLoop& m_loop;
    bool m_vanishReported = false;
    double m_frameGap = 0;
    double m_lastWrite = -1e9;
    unsigned m_lastRequest = 0;
    unsigned m_pollRequest = 0;
    unsigned long m_writes = 0;
    // The frames whose answers are on their way: when each left, how many bytes are still to
    // come, and its request number (0 for a set command's acknowledgement).
    struct Owed {
        double sentAt;
        int bytes;
        unsigned request;
    };
    std::deque<Owed> m_owed;
    int m_gapWaits = 0;              // frames inside WaitFrameGap, nested
    std::uint64_t m_arrivedSeen = 0; // the port's arrival count at the last look
    bool m_acksSeen = false;         // more came than was owed: the radio acknowledges set commands
    unsigned long m_writesAtRequest = 0;
    bool m_toggling = false;
    int m_sending = 0; // set commands waiting for the line, nested in each other's waits
    int m_reading = 0; // frequency-and-mode reads waiting for their reply
    bool m_otherVfo = false;
    bool m_radioOther = false; // the same, counting only the toggles written to the port
    unsigned long m_toggles = 0;
};

} // namespace kivo::radio
