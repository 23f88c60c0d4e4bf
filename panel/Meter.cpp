#include "panel/Meter.h"

#include "platform/Elements.h"

#include <algorithm>
#include <cmath>

namespace kivo::panel {

using radio::MakeFrame;
namespace op = radio::op;

void LMeter::SetValue(double v) { m_display.SetValue(el::LMeterIndicator(m_selected), v); }
void LMeter::SetStart(double v) { m_display.SetValue(el::LMeterStart(m_selected), v); }
void LMeter::SetMarker(int indicator, double v) { m_display.SetValue(el::LMeterIndicator(indicator), v); }

double LMeter::Value(int indicator) const
{
    const std::string name = el::LMeterIndicator(indicator);
    return m_display.Has(name) ? m_display.Get(name).value : 0;
}

double LMeter::Start(int indicator) const
{
    const std::string name = el::LMeterStart(indicator);
    return m_display.Has(name) ? m_display.Get(name).value : 0;
}

Meter::Meter(state::ModKIVO& kivo, radio::RadioLink& cat, platform::EventLoop& loop, platform::DisplayModel& display)
    : m_kivo(kivo), m_cat(cat), m_display(display), m_gauge(display), m_signalTimer(loop.CreateTimer()),
      m_powerTimer(loop.CreateTimer())
{
    // A tick inside another frame's wait for the line lets that frame go first: it comes round
    // again.
    m_signalTimer->onTick = [this] {
        bool got = false;
        if (m_cat.LineWanted())
            return;
        m_signalTimer->SetEnabled(false);
        ReadRXStatus(got);
        // A poll that found the port gone stays off.
        if (!m_cat.Port().Vanished() && m_cat.Port().IsOpen())
            m_signalTimer->SetEnabled(true);
    };
    m_powerTimer->onTick = [this] {
        bool got = false;
        if (m_cat.LineWanted())
            return;
        m_powerTimer->SetEnabled(false);
        ReadTXStatus(got);
        if (!m_cat.Port().Vanished() && m_cat.Port().IsOpen())
            m_powerTimer->SetEnabled(true);
    };
}

void Meter::SetInterval(int ms)
{
    m_signalTimer->SetInterval(ms);
    m_powerTimer->SetInterval(ms);
}

void Meter::TurnOnLMeter()
{
    m_cat.Port().DiscardInput();
    m_rxAsked = 0;
    m_fmAsked = 0;
    m_signalTimer->SetEnabled(true);
}

void Meter::TurnOffLMeter()
{
    m_signalTimer->SetEnabled(false);
    m_cat.Port().DiscardInput();
    m_rxAsked = 0;
    // Whatever the panel does next changes the radio: an outstanding reading is not taken.
    m_fmAsked = 0;
    m_gauge.Select(0);
    m_gauge.SetValue(0);
    m_gauge.SetMarker(2, 0);
    m_display.SetVisible(el::lblBusy, false);
}

void Meter::ReadRXStatus(bool& gotByte)
{
    gotByte = false;
    if (m_cat.CheckVanished())
        return;
    // A frequency read has one tick to answer; then the status poll goes on in the same tick,
    // so following the dial costs the meter one tick in each read.
    if (m_fmAsked != 0) {
        const unsigned asked = m_fmAsked;
        // A slow link: the reading is still coming, and a request now would discard it.
        if (!m_cat.AnswerWaiting(asked, 5) && m_cat.AnswerOnItsWay(asked))
            return;
        m_fmAsked = 0;
        if (m_freqMode)
            m_freqMode->FreqModeRead(m_cat.TakeFreqModeAnswer(asked));
        m_rxAsked = m_cat.Request(MakeFrame(op::kReadRxStatus));
        return;
    }
    // A byte is a reading only when it answers this poll's request; anything else waiting is
    // an acknowledgement of a set command, and goes with the discard of the next request.
    if (!m_cat.AnswerWaiting(m_rxAsked)) {
        if (m_cat.AnswerOnItsWay(m_rxAsked))
            return; // still coming over a slow link: asking again would only discard it
        if (m_freqMode && m_freqMode->FreqModeReadDue()) {
            m_rxAsked = 0;
            m_fmAsked = m_cat.Request(MakeFrame(op::kReadFreqMode));
            return;
        }
        m_rxAsked = m_cat.Request(MakeFrame(op::kReadRxStatus));
        return;
    }
    m_rxAsked = 0;
    gotByte = true;
    EvaluateRxStatus(m_cat.TakeStatusByte());
    if (onReading)
        onReading(RXStatusByte);
}

void Meter::EvaluateRxStatus(std::uint8_t byte)
{
    const radio::RxStatus rx = radio::DecodeRxStatus(byte);
    m_display.SetVisible(el::lblBusy, rx.busy);
    RXStatusByte = rx.sMeter;
    m_gauge.Select(1);
    SignalCentred = rx.centred;
    if (rx.centred) {
        const bool fm = m_kivo.VFOMB.Mode == 5;
        m_gauge.SetStart(fm ? 2.25 : 0);
        m_gauge.SetValue(fm ? 2.75 : 0);
    } else {
        m_gauge.SetStart(1);
        m_gauge.SetValue(4);
    }
    ShowSMeter(RXStatusByte);
}

void Meter::ShowSMeter(int value)
{
    m_gauge.Select(0);
    m_gauge.SetValue(value);
    if (value >= SMeterPeak && value > 0) {
        SMeterPeak = value;
        m_gauge.SetMarker(2, SMeterPeak);
        // About one second of hold at any poll rate; "OFF" (0) would divide by zero, so the
        // scans that still call this with the poll off get one tick.
        const int interval = m_signalTimer->Interval();
        PeakHoldTicks = interval > 0 ? int(std::lround(1000.0 / interval)) : 1;
    }
    if (PeakHoldTicks <= 0) {
        SMeterPeak = std::max(0, SMeterPeak - 1); // the marker stops at the bottom of the scale
        m_gauge.SetMarker(2, SMeterPeak);
        PeakHoldTicks = 0;
    }
    PeakHoldTicks -= 1;
    PeakHoldTicks = std::max(PeakHoldTicks, -1);
}

void Meter::ReadTXStatus(bool& gotByte)
{
    gotByte = false;
    if (m_cat.CheckVanished())
        return;
    // As the receive poll, except that a radio quick enough to answer at once is read in the
    // same tick.
    if (!m_cat.AnswerWaiting(m_txAsked) && !m_cat.AnswerOnItsWay(m_txAsked))
        m_txAsked = m_cat.Request(MakeFrame(op::kReadTxStatus));
    if (!m_cat.AnswerWaiting(m_txAsked))
        return;
    m_txAsked = 0;
    gotByte = true;
    TXStatusValue = m_cat.TakeStatusByte();
    int v = int(TXStatusValue);
    if (v >= 128)
        v -= 128;
    if (v >= 64)
        v -= 64;
    if (v >= 32)
        v -= 32;
    TXStatusValue = radio::TxPowerWatts(std::uint8_t(v));
    m_gauge.Select(1);
    m_gauge.SetStart(0);
    m_gauge.SetValue(TXStatusValue);
}

} // namespace kivo::panel
