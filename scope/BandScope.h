#pragma once
// The band scope without its window: the sweep of the main VFO over a span
// around a centre frequency with the status hand-shake at each step, the step and width lists,
// START/STOP, RESET, tuning by a chart click, the menus and their settings file, the progress,
// the trace and the waterfall's history. The window shows what this holds and calls these.

#include "panel/PanelContext.h"
#include "panel/ScanStatus.h"
#include "panel/Switchable.h"
#include "panel/Tuning.h"
#include "platform/FileSystem.h"
#include "scope/ScopeSettings.h"
#include "scope/Sweep.h"

#include <array>
#include <ctime>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kivo::scope {

using state::Long;

inline constexpr const char* kCaption = "Band Scope";

// listSteps: the first two entries carry ten times their caption's value.
inline constexpr std::array<const char*, 5> kStepCaptions{"10 Hz", "50 Hz", "1 KHz", "5 KHz", "10 KHz"};
inline constexpr std::array<Long, 5> kStepValues{10, 50, 100, 500, 1000};
inline constexpr int kDefaultStep = 0;
// listScanWidth: the distance from the centre to each end.
inline constexpr std::array<const char*, 9> kWidthCaptions{"500 KHz", "400 KHz", "300 KHz", "200 KHz", "100 KHz",
                                                           "50 KHz",  "25 KHz",  "10 KHz",  "5 KHz"};
inline constexpr std::array<Long, 9> kHalfWidths{50000, 40000, 30000, 20000, 10000, 5000, 2500, 1000, 500};
inline constexpr int kDefaultWidth = 6;

// The Settings menu's groups, by entry index.
inline constexpr std::array<int, 5> kScopeIntervals{1000, 500, 400, 300, 250};
inline constexpr std::array<const char*, 5> kScopeSpeedCaptions{"1000 ms.", "500 ms.", "400 ms.", "300 ms.", "250 ms."};
inline constexpr std::array<const char*, 10> kThresholdCaptions{"S0", "S1", "S2", "S3", "S4",
                                                                "S5", "S6", "S7", "S8", "S9"};
inline constexpr std::array<const char*, 2> kOnOffCaptions{"On", "Off"};
inline constexpr std::array<const char*, 2> kDisplayModeCaptions{"Pan", "Wrap"};
inline constexpr std::array<const char*, 4> kScaleHandleCaptions{"None", "Horizontal", "Vertical", "Both"};
inline constexpr int kWrapWidths = 4; // entries "1".."4"

// Sweeps the waterfall keeps.
inline constexpr std::size_t kHistoryDepth = 50;

class BandScope final : public panel::Switchable, private panel::ContextRefs {
public:
    BandScope(const panel::PanelContext& ctx, panel::Tuning& tuning, platform::FileSystem& fs,
              const std::string& dataDir);
    ~BandScope() override;

    struct Hooks {
        // The trace, the history or a chart setting changed: the chart paints again.
        std::function<void()> chartChanged;
    } hooks;
    // The wall clock a finished sweep is stamped with.
    std::function<std::time_t()> wallClock = [] { return std::time(nullptr); };

    // Window load: the centre from the main VFO, the settings file, the lists' defaults.
    void Load();
    // The window closed by its close box: the sweep stops, nothing is saved.
    void Unload();
    // File > Exit: as Unload, and the settings file is written.
    void Exit();

    void ChooseStep(int index);
    void ChooseScanWidth(int index);
    void ChangeXScale();
    void ChangeScanStep();
    // START or STOP.
    void StartStop();
    // RESET: the range centred on the main VFO.
    void Reset();
    // A click on the chart at `kHz`: the radio goes there.
    void OnChartClick(double kHz);
    void TimerScope_Tick();
    // One pass of the hand-shake; plots the point when the answer came.
    void ReadScopeStatus(bool& done, bool& sendReq);

    void ChooseActiveSearch(int index);
    void ChooseScanSpeed(int index);
    void ChooseContinuousScan(int index);
    void ChooseDisplayMode(int index);
    void ChooseScaleHandles(int index);
    void ChooseWrapWidth(int index);
    void ChooseColorFill(int index);

    // File > Export Sweep...: asks for a file and writes the last sweep as CSV.
    void ExportSweep();
    bool ExportSweepTo(const std::string& path);
    // File > Save Picture...: the file the chart goes to; the window writes it.
    std::optional<std::string> AskPicturePath();
    void PictureNotSaved(const std::string& path, const std::string& reason);

    // Power-off stops a running sweep.
    void SwitchOff() override;

    bool Sweeping() const { return m_sweeping; }
    Long ScopeCentre() const { return m_centre; }
    Long ScopeStart() const { return m_start; }
    Long ScopeEnd() const { return m_end; }
    Long ScopeCurKHz() const { return m_curKHz; }
    Long SelectedStep() const { return kStepValues[std::size_t(m_stepIndex)]; }
    const ScopeSettings& Settings() const { return m_settings; }
    // The chart's axis: start in whole kHz, span in kHz.
    double AxisStartKHz() const;
    double AxisSpanKHz() const;
    const Sweep& Trace() const { return m_trace; }
    // Finished sweeps, oldest first; the waterfall shows them while continuous scan is on.
    const std::deque<Sweep>& History() const { return m_history; }
    bool WaterfallOn() const { return m_settings.ContinuousScan == 0; }
    // Points of a whole sweep over the current range and step.
    int TotalPoints() const;
    // "Point 12 of 51, 39 s left" while sweeping, else empty.
    std::string ProgressText() const;
    platform::Timer& TimerScope() { return *m_timer; }
    std::string SettingsPath() const { return m_file.Path(); }

private:
    void Start();
    void Stop();
    bool PanelScanning() const;
    bool VfoElsewhere() const;
    // The main VFO went to another band or function since the sweep started.
    bool MovedAway() const;
    bool AwaitStatus();
    void StepMainVFO();
    // The range of the selected width around the centre, inside the main VFO's band.
    void ComputeRange();
    void ShowCurrent(double kHz);
    void ClearTrace(bool zeroAtStart);
    void Plot(double kHz, int sMeter);
    void FinishSweep();
    void ShowProgress();
    void ChartChanged();
    template <std::size_t N>
    int Check(const platform::el::Array& group, int index, int fallback, const std::array<const char*, N>& captions);

    panel::Tuning& m_tuning;
    platform::FileSystem& m_fs;
    ScopeSettingsFile m_file;
    panel::ScanStatus m_status;
    std::unique_ptr<platform::Timer> m_timer;
    ScopeSettings m_settings;
    int m_stepIndex = kDefaultStep;
    int m_widthIndex = kDefaultWidth;
    Long m_centre = 0;
    Long m_start = 0;
    Long m_end = 0;
    Long m_curKHz = 0;
    bool m_sweeping = false;
    Sweep m_trace;
    std::optional<Sweep> m_last;
    std::deque<Sweep> m_history;
    unsigned m_run = 0; // counts STARTs, so a tick can tell its own sweep
    // The band and function the sweep was started on: a band key, PMS, MR or HOME meanwhile
    // gives the main VFO another band's frequency, which the sweep must not overwrite.
    Integer m_sweptBand = 0;
    Integer m_sweptFunction = 0;
    bool m_sweptHome = false;
    double m_runStartAt = 0;
    int m_runPoints = 0;
    std::string m_lastExport;
};

} // namespace kivo::scope
