#pragma once
// The receive and transmit meter polls, the S-meter peak hold, and the meter gauge's model.

#include "platform/DisplayModel.h"
#include "platform/EventLoop.h"
#include "radio/Cat.h"
#include "state/ModKIVO.h"

#include <functional>
#include <memory>
#include <optional>

namespace kivo::radio {

// The gauge `LMeter`: indicator 0 the needle, 1 a band from start to end, 2 and 3 markers.
// Each indicator's value is the display element "LMeter(i)"; the band's start is
// "LMeterStart(1)"; the back colour is the colour of "LMeter".
class LMeter {
public:
    explicit LMeter(platform::DisplayModel& display) : m_display(display) {}
    void Select(int indicator) { m_selected = indicator; }
    void SetValue(double v);
    void SetStart(double v);
    void SetMarker(int indicator, double v);
    double Value(int indicator) const;
    double Start(int indicator) const;
    static constexpr double kScaleMax = 15;

private:
    platform::DisplayModel& m_display;
    int m_selected = 0;
};

// Takes frequency-and-mode reads interleaved with the receive poll's status reads.
class FreqModeListener {
public:
    virtual ~FreqModeListener() = default;
    // Whether a read should go out now, in place of the next status request.
    virtual bool FreqModeReadDue() = 0;
    // The read's answer one tick later; nothing when it was not there whole and clean.
    virtual void FreqModeRead(std::optional<FreqMode> reading) = 0;
};

class Meter {
public:
    Meter(state::ModKIVO& kivo, Cat& cat, platform::EventLoop& loop, platform::DisplayModel& display);

    void TurnOnLMeter();
    void TurnOffLMeter();
    // One step of each poll; `gotByte` tells whether a status byte was read.
    void ReadRXStatus(bool& gotByte);
    void ReadTXStatus(bool& gotByte);
    // The S-meter needle with peak hold; also used by the scan evaluations.
    void ShowSMeter(int value);
    // The receive-status evaluation of the meter poll (busy, discriminator band, needle).
    void EvaluateRxStatus(std::uint8_t byte);
    // Both polls run at the Meter menu's interval; 0 ("OFF") never ticks.
    void SetInterval(int ms);
    // Who asks for the interleaved frequency-and-mode reads; none: the poll reads status only.
    void SetFreqModeListener(FreqModeListener* listener) { m_freqMode = listener; }

    platform::Timer& TimerSignalMeter() { return *m_signalTimer; }
    platform::Timer& TimerPowerMeter() { return *m_powerTimer; }
    LMeter& Gauge() { return m_gauge; }

    // Called with each S-meter reading the receive poll takes (the network figures count them).
    std::function<void(int sUnits)> onReading;

    int RXStatusByte = 0;
    double TXStatusValue = 0;
    int SMeterPeak = 0;
    int PeakHoldTicks = 0;
    bool SignalCentred = false;

private:
    state::ModKIVO& m_kivo;
    Cat& m_cat;
    platform::DisplayModel& m_display;
    LMeter m_gauge;
    std::unique_ptr<platform::Timer> m_signalTimer;
    std::unique_ptr<platform::Timer> m_powerTimer;
    // The status requests out whose answers have not been read yet (0: none).
    unsigned m_rxAsked = 0;
    unsigned m_txAsked = 0;
    FreqModeListener* m_freqMode = nullptr;
    unsigned m_fmAsked = 0;
};

} // namespace kivo::radio
