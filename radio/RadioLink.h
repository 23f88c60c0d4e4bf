#pragma once
// What the panel asks of the radio's CAT link: the senders, the reads with their answers, and the
// line's pacing. The FT-817 link (Cat) is one; another radio speaking the same five-byte frames
// would be another. The link shows nothing: what it sent or read it reports through `hooks`, and
// the panel shows it and takes it into its state.

#include "platform/EventLoop.h"
#include "platform/SerialPort.h"
#include "radio/CatCodec.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace kivo::radio {

// What was last sent to the radio; 999 matches no real value, so the field goes out next time.
struct LastInfoVFO {
    static constexpr Integer kUnknown = 999;
    struct Main {
        Integer Mode = kUnknown;
        Integer RptDir = kUnknown;
        Long RptOffset = kUnknown;
        Integer ToneMode = kUnknown;
        Integer CTCSSidx = kUnknown;
        Integer DCSidx = kUnknown;
    } MB;
    struct Sub {
        Integer Mode = kUnknown;
        Integer ToneMode = kUnknown;
        Integer CTCSSidx = kUnknown;
        Integer DCSidx = kUnknown;
    } SB;
};

class RadioLink {
public:
    virtual ~RadioLink() = default;

    // Each report comes at the moment the old panel showed it: a frequency, a repeater shift and
    // the split before the frame goes out, a mode and a tone mode after it.
    struct Hooks {
        // The port's device went away; called once per loss, from the write or read that noticed.
        std::function<void()> portVanished;
        // A VFO's frequency being sent (also one that has no frame: it is shown all the same).
        std::function<void(bool main, Long freq)> freqSent;
        // A VFO's mode was sent.
        std::function<void(bool main, Integer mode)> modeSent;
        // The main VFO's repeater shift direction being sent (only one that has a frame).
        std::function<void(Integer dir)> rptDirSent;
        // A VFO's tone mode was sent (the sub VFO's only recorded: it has no command).
        std::function<void(bool main, Integer toneMode)> toneModeSent;
        // The radio's split being switched (off only once its frame went out).
        std::function<void(bool on)> splitSent;
        // ReadFreqModeFromRadio took a valid reading.
        std::function<void(const FreqMode& reading)> readingTaken;
    } hooks;

    LastInfoVFO LastInfo;
    // Forgets the main and sub cache entries except the DCS codes.
    void ResetLastInfoVFO()
    {
        const Integer dcsMB = LastInfo.MB.DCSidx;
        const Integer dcsSB = LastInfo.SB.DCSidx;
        LastInfo = LastInfoVFO{};
        LastInfo.MB.DCSidx = dcsMB;
        LastInfo.SB.DCSidx = dcsSB;
    }

    // The senders take the VFO's field from the state and remember it in LastInfo.
    virtual void SendFreqMB() = 0;
    virtual void SendFreqSB() = 0;
    virtual void SendModeMB() = 0;
    virtual void SendModeSB() = 0;
    virtual void SendRptDirMB() = 0;
    virtual void SendRptOffset() = 0;
    virtual void SendToneModeMB() = 0;
    // The sub VFO has no tone-mode command: reported and cached only.
    virtual void ShowToneModeSB() = 0;
    virtual void SendCTCSSToneMB() = 0;
    virtual void SendCTCSSToneSB() = 0;
    virtual void SendDCSCodeMB() = 0;
    // The sub VFO's DCS code is not sent: cache only.
    virtual void SendDCSCodeSB() = 0;
    virtual void SendSplitOn() = 0;
    virtual void SendSplitOff() = 0;
    // True when the frame went out (the port is open and there).
    virtual bool SendPTT(bool on) = 0;
    // Switches the radio between its VFOs, with the pauses the radio needs around it. `switched`
    // runs right after the toggle is written (or kept back by a lost port).
    virtual void ToggleVFOAB(const std::function<void()>& switched = {}) = 0;

    // Reads the radio's frequency and mode and reports a valid reading (hooks.readingTaken).
    // Returns whether a reading was taken.
    virtual bool ReadFreqModeFromRadio() = 0;
    // The read alone, blocking; nothing when no valid reply comes.
    virtual std::optional<FreqMode> ReadFreqMode() = 0;
    // One pass of the request-flag hand-shake of the scans and the band scope.
    virtual std::optional<std::uint8_t> PollStatus(std::uint8_t opcode, bool& sendRequest) = 0;

    // The line's pacing and the request-and-answer steps the polls are made of.
    virtual void SetFrameGap(double seconds) = 0;
    virtual double FrameGap() const = 0;
    virtual bool LineBusy() const = 0;
    // True while a frame waits for the line: a poll's request made now would go ahead of it,
    // and a poll as quick as the frame gap would keep it waiting for ever.
    virtual bool LineWanted() const = 0;
    virtual std::uint8_t TakeStatusByte() = 0;
    // True when it went out.
    virtual bool Write(const Frame& frame) = 0;
    virtual unsigned Request(const Frame& frame) = 0;
    virtual bool AnswerWaiting(unsigned request, int length = 1) = 0;
    virtual bool AnswerOnItsWay(unsigned request) = 0;
    virtual void WaitForInput(double deadline) = 0;
    virtual std::optional<FreqMode> TakeFreqModeAnswer(unsigned request) = 0;
    virtual bool OnOtherVfo() const = 0;
    // True while a set command waits for the line: the panel is in the middle of changing the
    // radio, so a reading asked or taken now shows the radio before the change.
    virtual bool Sending() const = 0;
    // True between the toggles of a toggle–send–toggle: the radio is not on the VFO the panel
    // tunes, so a timer's frame written now would land on the other one.
    virtual bool MidToggle() const = 0;
    // True while a frequency-and-mode read waits for its reply: a timer's status poll now would
    // discard or take the reply's bytes.
    virtual bool Reading() const = 0;
    // True when the toggles that really went out leave the radio on another VFO than the panel
    // asked for: a port lost between the toggles of a sequence, or with SUB on, took one away.
    virtual bool VfoOutOfStep() const = 0;
    // One toggle when out of step, so the radio is on the VFO the panel works again.
    virtual void BringVfoInStep() = 0;
    // An earlier run lost its port with the radio on the VFO it did not work (as remembered in
    // the data folder): the next BringVfoInStep toggles once.
    virtual void RadioLeftOnOtherVfo() = 0;
    virtual unsigned long VfoToggles() const = 0;
    virtual bool CheckVanished() = 0;
    virtual void PortReopened() = 0;

    virtual platform::SerialPort& Port() = 0;
    virtual platform::EventLoop& Loop() = 0;
};

} // namespace kivo::radio
