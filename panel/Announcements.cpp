#include "panel/Announcements.h"

#include <cmath>

namespace kivo::panel {

namespace {

// "lblMBmode(3)" is an element of lblMBmode. Asked of every display change, so without building
// a string.
bool IsElementOf(std::string_view name, const el::Array& a)
{
    const std::string_view base = a.name;
    return name.size() > base.size() && name.substr(0, base.size()) == base && name[base.size()] == '(';
}

} // namespace

bool ParseAnnounceSMeterFile(std::string_view text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.remove_suffix(1);
    return text == "on";
}

Announcements::Announcements(const state::ModKIVO& s, platform::DisplayModel& display, platform::FileSystem& fs,
                             const std::string& dataDir)
    : m_s(s), m_display(display), m_fs(fs), m_file(dataDir + "/" + kAnnounceSMeterFileName)
{
    m_display.Subscribe(
        [this, alive = std::weak_ptr<bool>(m_alive)](const std::string& name, const platform::Element& e) {
            if (alive.lock())
                Changed(name, e);
        });
    ShowChoice();
}

void Announcements::Load()
{
    std::string text;
    if (m_fs.Exists(m_file) && m_fs.ReadOrCreate(m_file, 64, text))
        m_sMeterOn = ParseAnnounceSMeterFile(text);
    ShowChoice();
}

void Announcements::mnuAnnounceSMeter_Click()
{
    m_sMeterOn = !m_sMeterOn;
    m_sUnit = -1;
    // Not worth a message: the next start would only announce, or not, as before.
    m_fs.WriteAtomic(m_file, m_sMeterOn ? "on\n" : "off\n");
    ShowChoice();
}

void Announcements::ShowChoice() { m_display.SetChecked(el::mnuSettingsArray(kAnnounceSMeterEntry), m_sMeterOn); }

void Announcements::SpeakState() { Say(StateWords(m_display)); }

void Announcements::Say(const std::string& words)
{
    if (!words.empty() && onSpeak)
        onSpeak(words);
}

void Announcements::Changed(const std::string& name, const platform::Element& e)
{
    if (!m_s.CATOn) {
        // A dark panel says nothing; once lit again everything is new.
        m_freq.clear();
        m_mode.clear();
        m_function.clear();
        m_onAir = false;
        m_sUnit = -1;
        return;
    }
    if (name == el::ledFreq) {
        if (!e.visible || e.caption.empty() || e.caption == m_freq)
            return;
        m_freq = e.caption;
        Say(FrequencyWords(e.caption));
    } else if (IsElementOf(name, el::lblMBmode)) {
        const std::string mode = ModeWords(m_display);
        if (mode.empty() || mode == m_mode)
            return;
        m_mode = mode;
        Say(mode);
    } else if (name == el::ledMRnumber || name == el::lblMCK) {
        const std::string function = FunctionWords(m_display);
        if (function == m_function)
            return;
        m_function = function;
        Say(function);
    } else if (name == el::lblOnAir) {
        if (e.visible == m_onAir)
            return;
        m_onAir = e.visible;
        Say(m_onAir ? "on air" : "receiving");
    } else if (name == el::LMeterIndicator(0) && m_sMeterOn && !m_onAir) {
        const int unit = int(std::lround(e.value));
        if (unit == m_sUnit)
            return;
        m_sUnit = unit;
        Say(SMeterWords(unit));
        if (onMeterUnit)
            onMeterUnit();
    }
}

} // namespace kivo::panel
