// The band scope's menus: the Settings groups and the File entries beyond Exit.

#include "scope/BandScope.h"

namespace kivo::scope {

using platform::Buttons;
using platform::Icon;

namespace {
constexpr const char* kCsvFilter = "Comma Separated Values (*.csv)|*.csv|All Files (*.*)|*.*";
constexpr const char* kPngFilter = "PNG Picture (*.png)|*.png|All Files (*.*)|*.*";
} // namespace

template <std::size_t N> int BandScope::Check(const platform::el::Array& group, int index, int fallback,
                                              const std::array<const char*, N>& captions)
{
    if (!group.Holds(index))
        index = fallback;
    for (int i = group.first; i <= group.last; ++i) {
        m_display.SetCaption(group(i), captions[std::size_t(i - group.first)]);
        m_display.SetChecked(group(i), i == index);
    }
    return index;
}

void BandScope::ChooseActiveSearch(int index)
{
    m_settings.ActiveSearch = Integer(Check(el::mnuActiveSearch, index, 3, kThresholdCaptions));
    ChartChanged(); // the chart draws the level
}

void BandScope::ChooseScanSpeed(int index)
{
    index = Check(el::mnuScopeSpeed, index, 0, kScopeSpeedCaptions);
    m_settings.ScopeScanSpeed = Integer(index);
    // A tick waiting for its answer has the timer off: the new pace starts with the next one.
    m_timer->SetInterval(kScopeIntervals[std::size_t(index)]);
}

void BandScope::ChooseContinuousScan(int index)
{
    m_settings.ContinuousScan = Integer(Check(el::mnuContinuousScan, index, 1, kOnOffCaptions));
    ChartChanged();
}

void BandScope::ChooseDisplayMode(int)
{
    // "Wrap" is offered but never taken: the chart always pans.
    m_settings.DisplayMode = Integer(Check(el::mnuDisplayMode, 0, 0, kDisplayModeCaptions));
    m_display.SetEnabled(el::mnuDisplayMode(1), false);
}

void BandScope::ChooseScaleHandles(int index)
{
    m_settings.ScaleHandles = Integer(Check(el::mnuScaleHandles, index, 0, kScaleHandleCaptions));
    ChartChanged();
}

void BandScope::ChooseWrapWidth(int index)
{
    static constexpr std::array<const char*, kWrapWidths> kCaptions{"1", "2", "3", "4"};
    m_settings.WrapWidth = Integer(Check(el::mnuWrapWidth, index, 1, kCaptions));
}

void BandScope::ChooseColorFill(int index)
{
    m_settings.ColorFill = Integer(Check(el::mnuColorFill, index, 0, kOnOffCaptions));
    ChartChanged();
}

void BandScope::ExportSweep()
{
    if (auto path = m_dialogs.SaveFile(kCsvFilter, m_lastExport))
        ExportSweepTo(*path);
}

bool BandScope::ExportSweepTo(const std::string& path)
{
    m_lastExport = path;
    // The last whole sweep; before the first has ended, what the chart shows.
    const Sweep& sweep = m_last ? *m_last : m_trace;
    if (sweep.points.empty()) {
        m_dialogs.MessageBox("There is no sweep to export yet: press START first.", "Export Sweep", Icon::Exclamation,
                             Buttons::Ok);
        return false;
    }
    Sweep stamped = sweep;
    if (stamped.time == 0 && wallClock)
        stamped.time = wallClock();
    const auto io = m_fs.WriteAtomic(path, SweepCsv(stamped));
    if (!io)
        m_dialogs.MessageBox("Error encountered while trying to save file " + path + ". " + io.description + ".",
                             "Export Sweep", Icon::Exclamation, Buttons::Ok);
    return static_cast<bool>(io);
}

std::optional<std::string> BandScope::AskPicturePath() { return m_dialogs.SaveFile(kPngFilter, {}); }

void BandScope::PictureNotSaved(const std::string& path, const std::string& reason)
{
    m_dialogs.MessageBox("Error encountered while trying to save file " + path + ". " + reason + ".", "Save Picture",
                         Icon::Exclamation, Buttons::Ok);
}

} // namespace kivo::scope
