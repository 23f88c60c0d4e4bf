#include "scope/BandScope.h"

#include "radio/CatCodec.h"

#include <algorithm>
#include <cmath>

namespace kivo::scope {

using platform::Buttons;
using platform::Icon;

namespace {
// The status bits above the S-meter value: squelch, tone match, discriminator.
constexpr std::uint8_t kSMeterBits = 0x1F;
} // namespace

BandScope::BandScope(const panel::PanelContext& ctx, panel::Tuning& tuning, platform::FileSystem& fs,
                     const std::string& dataDir)
    : panel::ContextRefs(ctx), m_tuning(tuning), m_fs(fs),
      m_file(fs, ctx.dialogs, dataDir + "/" + kScopeSettingsFileName), m_status(ctx.cat, ctx.loop),
      m_timer(ctx.loop.CreateTimer())
{
    m_timer->onTick = [this] { TimerScope_Tick(); };
    m_timer->SetInterval(kScopeIntervals[0]);
}

BandScope::~BandScope() = default;

void BandScope::Load()
{
    m_centre = m_s.VFOMB.Freq;
    m_display.SetCaption(el::txtboxFreq(1), radio::FreqText(m_centre));
    m_display.SetCaption(el::cmdSCAN, "START");
    m_display.SetCaption(el::ResetButton, "RESET");
    m_display.SetVisible(el::lblScopeProgress, false);
    m_file.Open(m_settings, {[this](int i) { ChooseActiveSearch(i); }, [this](int i) { ChooseContinuousScan(i); },
                             [this](int i) { ChooseDisplayMode(i); }, [this](int i) { ChooseScaleHandles(i); },
                             [this](int i) { ChooseWrapWidth(i); }, [this](int i) { ChooseColorFill(i); },
                             [this](int i) { ChooseScanSpeed(i); }});
    ChooseStep(kDefaultStep);
    ChangeScanStep();
    ChooseScanWidth(kDefaultWidth);
    ChooseDisplayMode(0);
}

void BandScope::Unload()
{
    if (!m_sweeping)
        return;
    // The panel's own scans share ScanDir: only a sweep of ours is stopped here.
    Stop();
}

void BandScope::Exit()
{
    Unload();
    m_file.Save(m_settings);
}

void BandScope::ChooseStep(int index)
{
    m_stepIndex = index >= 0 && index < int(kStepValues.size()) ? index : kDefaultStep;
    m_display.SetValue(el::listSteps, m_stepIndex);
}

void BandScope::ChooseScanWidth(int index)
{
    m_widthIndex = index >= 0 && index < int(kHalfWidths.size()) ? index : kDefaultWidth;
    m_display.SetValue(el::listScanWidth, m_widthIndex);
    ChangeXScale();
}

void BandScope::ComputeRange()
{
    const Long half = kHalfWidths[std::size_t(m_widthIndex)];
    m_start = m_centre - half;
    m_end = m_centre + half;
    // Inside the band's tuning limits, so the stepper never wraps and a single sweep ends.
    const int b = panel::BandSlot(m_s.BandIdxMB);
    const Long low = m_s.BandData.TuneLow[std::size_t(b)], high = m_s.BandData.TuneHigh[std::size_t(b)];
    if (low < high) {
        m_start = std::clamp(m_start, low, high - 1);
        m_end = std::clamp(m_end, m_start, high - 1);
    }
}

void BandScope::ChangeXScale()
{
    ComputeRange();
    // The VFO stays where the radio is until START sends the start: a model moved ahead of the
    // radio would make the next knob step jump by half a span.
    ShowCurrent(std::round(double(m_s.VFOMB.Freq) / 100));
    // A trace or waterfall over another range would be drawn against the wrong axis.
    m_history.clear();
    ClearTrace(false);
}

void BandScope::ChangeScanStep() { m_s.ScanStep = SelectedStep(); }

// Whole kHz, as the chart axis starts.
double BandScope::AxisStartKHz() const { return std::trunc(double(m_start) / 100); }

double BandScope::AxisSpanKHz() const { return double(m_end - m_start) / 100; }

int BandScope::TotalPoints() const
{
    const Long step = m_sweeping ? m_trace.step : SelectedStep();
    return step > 0 ? int((m_end - m_start + step - 1) / step) + 1 : 1;
}

void BandScope::StartStop()
{
    if (m_sweeping)
        Stop();
    else
        Start();
}

void BandScope::Start()
{
    // A dark panel has no radio to sweep; a scan, search or priority monitor owns the VFO; on air
    // or with SUB the sweep's frames would move the wrong frequency.
    if (!m_s.CATOn || m_s.ScanDir != 0 || PanelScanning() || VfoElsewhere()) {
        m_dialogs.Beep();
        return;
    }
    m_display.SetCaption(el::cmdSCAN, "STOP");
    m_meter.TurnOffLMeter();
    ChangeScanStep();
    // A centre taken on a band the panel has left would clamp the sweep to this band's edge: the
    // sweep is around the VFO then, as RESET would put it.
    const auto b = std::size_t(panel::BandSlot(m_s.BandIdxMB));
    if (m_centre < m_s.BandData.TuneLow[b] || m_centre >= m_s.BandData.TuneHigh[b]) {
        m_centre = m_s.VFOMB.Freq;
        m_display.SetCaption(el::txtboxFreq(1), radio::FreqText(m_centre));
    }
    ComputeRange();
    m_s.VFOMB.Freq = m_start;
    m_cat.SendFreqMB();
    ShowCurrent(std::round(double(m_s.VFOMB.Freq) / 100));
    ClearTrace(false);
    m_s.ScanDir = 1;
    m_sweeping = true;
    m_sweptBand = m_s.BandIdxMB;
    m_sweptFunction = m_s.VFOMRMode;
    m_sweptHome = m_s.HomeOn;
    ++m_run;
    m_runStartAt = m_loop.Now();
    m_runPoints = 0;
    ShowProgress();
    m_timer->SetEnabled(true);
}

bool BandScope::PanelScanning() const { return m_s.ScanArmed || m_s.SearchOn || m_s.PRIOn; }

// A set-frequency frame lands in the radio's current VFO: the sub VFO while SUB is on, the
// transmit frequency while on air.
bool BandScope::VfoElsewhere() const { return m_s.Transmitting || m_s.SubSelected; }

bool BandScope::MovedAway() const
{
    return m_s.BandIdxMB != m_sweptBand || m_s.VFOMRMode != m_sweptFunction || m_s.HomeOn != m_sweptHome;
}

void BandScope::Stop()
{
    m_display.SetCaption(el::cmdSCAN, "START");
    m_sweeping = false;
    m_s.ScanDir = 0;
    m_timer->SetEnabled(false);
    if (m_s.CATOn)
        m_meter.TurnOnLMeter();
    ShowProgress();
}

void BandScope::SwitchOff()
{
    if (m_sweeping)
        Stop();
}

void BandScope::Reset()
{
    m_centre = m_s.VFOMB.Freq;
    m_display.SetCaption(el::txtboxFreq(1), radio::FreqText(m_centre));
    ChangeXScale();
}

void BandScope::OnChartClick(double kHz)
{
    // Only an idle, lit panel in VFO is tuned from the chart; anything else owns the frequency.
    if (!m_s.CATOn || m_s.ScanDir != 0 || PanelScanning() || VfoElsewhere() || m_s.VFOMRMode != state::kModeVFO ||
        m_s.MCKOn) {
        m_dialogs.Beep();
        return;
    }
    const Long freq = Long(std::lround(kHz * 100));
    // The chart may still show another band (the panel moved since it was drawn) or run past this
    // one: the radio ignores a frequency it cannot tune, and the knobs would wrap by the wrong band.
    const auto b = std::size_t(panel::BandSlot(m_s.BandIdxMB));
    if (freq < m_s.BandData.TuneLow[b] || freq >= m_s.BandData.TuneHigh[b]) {
        m_dialogs.Beep();
        return;
    }
    m_display.SetCaption(el::txtboxFreq(0), radio::FreqText(freq));
    m_s.VFOMB.Freq = freq;
    m_cat.SendFreqMB();
}

void BandScope::TimerScope_Tick()
{
    // A step inside another unit's toggle–send–toggle would land on the radio's other VFO, and a
    // status poll inside a frequency read would take its reply.
    if (m_cat.MidToggle() || m_cat.Reading())
        return;
    m_timer->SetEnabled(false); // no second tick while this one waits
    if (!AwaitStatus())
        return;
    const int b = panel::BandSlot(m_s.BandIdxMB);
    const bool atBandTop = m_s.VFOMB.Freq + m_s.ScanStep >= m_s.BandData.TuneHigh[std::size_t(b)];
    if (m_s.VFOMB.Freq >= m_end || atBandTop) {
        FinishSweep();
        if (m_settings.ContinuousScan != 0) {
            ShowCurrent(std::round(double(m_s.VFOMB.Freq) / 100));
            Stop();
            return;
        }
        m_s.VFOMB.Freq = m_start;
        ShowCurrent(std::round(double(m_start) / 100));
        ClearTrace(true);
    }
    StepMainVFO();
    ShowProgress();
    m_timer->SetEnabled(true);
}

bool BandScope::AwaitStatus()
{
    const unsigned run = m_run;
    // Inside a wait the user may stop, or stop and start again: this tick then belongs to
    // nothing and ends.
    const auto mine = [&] { return m_sweeping && m_run == run; };
    bool done = false, sendReq = false;
    m_cat.Port().DiscardInput();
    m_status.Begin(sendReq);
    for (;;) {
        if (PanelScanning()) {
            // SCAN, SEARCH or PRI pressed meanwhile took ScanDir over: the sweep gives way,
            // leaving the shared state to them.
            m_sweeping = false;
            m_timer->SetEnabled(false);
            m_display.SetCaption(el::cmdSCAN, "START");
            ShowProgress();
            return false;
        }
        if (VfoElsewhere() || MovedAway()) {
            Stop(); // MOX, SUB, a band key or another function meanwhile
            return false;
        }
        ReadScopeStatus(done, sendReq);
        if (!mine())
            return false;
        if (m_s.ScanDir == 0) {
            Stop(); // something else ended the sweep
            return false;
        }
        if (done)
            return true;
        if (m_status.Silent()) {
            m_dialogs.Beep();
            Stop();
            m_dialogs.MessageBox("The radio is not answering. The sweep has been stopped.", "Band Scope",
                                 Icon::Exclamation, Buttons::Ok);
            return false;
        }
        m_status.Wait();
        if (!mine())
            return false;
    }
}

void BandScope::ReadScopeStatus(bool& done, bool& sendReq)
{
    const auto byte = m_status.Poll(sendReq);
    if (!byte)
        return;
    done = sendReq = true;
    // Every step is plotted, the squelch open or not.
    const double kHz = double(m_s.VFOMB.Freq) / 100;
    ShowCurrent(kHz);
    ++m_runPoints;
    Plot(kHz, *byte & kSMeterBits);
}

void BandScope::StepMainVFO()
{
    // No sweep runs with SUB on, so the stepper moves the main VFO.
    m_tuning.StepFrequency();
}

void BandScope::ShowCurrent(double kHz)
{
    m_curKHz = Long(std::lround(kHz));
    m_display.SetCaption(el::txtboxFreq(0), radio::FreqText(Long(std::lround(kHz * 100))));
}

void BandScope::ClearTrace(bool zeroAtStart)
{
    m_trace = Sweep{m_centre, m_start, m_end, m_sweeping ? m_s.ScanStep : SelectedStep(), 0, {}};
    if (zeroAtStart)
        m_trace.points.push_back({double(m_start) / 100, 0});
    ChartChanged();
}

void BandScope::Plot(double kHz, int sMeter)
{
    m_trace.points.push_back({kHz, sMeter});
    ChartChanged();
}

void BandScope::FinishSweep()
{
    m_trace.time = wallClock ? wallClock() : 0;
    m_last = m_trace;
    m_history.push_back(m_trace);
    while (m_history.size() > kHistoryDepth)
        m_history.pop_front();
}

std::string BandScope::ProgressText() const
{
    if (!m_sweeping)
        return {};
    const int total = TotalPoints();
    const int reached = std::min(int(m_trace.points.size()), total);
    const double pace = m_runPoints > 0 ? (m_loop.Now() - m_runStartAt) / m_runPoints : m_timer->Interval() / 1000.0;
    const long left = std::lround(std::max(0, total - reached) * pace);
    std::string text = "Point " + std::to_string(reached) + " of " + std::to_string(total) + ", ";
    if (left >= 60)
        text += std::to_string(left / 60) + " min " + std::to_string(left % 60) + " s left";
    else
        text += std::to_string(left) + " s left";
    return text;
}

void BandScope::ShowProgress()
{
    m_display.SetCaption(el::lblScopeProgress, ProgressText());
    m_display.SetVisible(el::lblScopeProgress, m_sweeping);
}

void BandScope::ChartChanged()
{
    if (hooks.chartChanged)
        hooks.chartChanged();
}

} // namespace kivo::scope
