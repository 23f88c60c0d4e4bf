#include "radio/CatRateDetect.h"

#include "platform/Elements.h"

namespace kivo::radio {

namespace {

constexpr const char* kTitle = "Detect CAT Rate";
constexpr const char* kRateText[3] = {"4800", "9600", "38400"};
// Tries per rate: the first frame after the line comes up may be lost to the switch-over.
constexpr int kTries = 2;

} // namespace

CatRateDetect::CatRateDetect(state::ModKIVO& s, Cat& cat, CommPort& comm, platform::Dialogs& dialogs,
                             platform::DisplayModel& display)
    : m_s(s), m_cat(cat), m_comm(comm), m_dialogs(dialogs), m_display(display)
{
}

bool CatRateDetect::Answers()
{
    // Garbage from a mismatched receiver fails the BCD, range and mode checks of the decoder.
    return m_cat.ReadFreqMode().has_value();
}

int CatRateDetect::Search()
{
    // POWER refuses while the search has the port.
    m_s.PortReady = false;
    for (int rate = 0; rate < 3; ++rate) {
        m_s.Settings.CatRate = state::Integer(rate);
        std::string error;
        if (!m_comm.TryOpen(error))
            return -1;
        m_cat.PortReopened();
        for (int i = 0; i < kTries; ++i)
            if (Answers())
                return rate;
    }
    return -1;
}

void CatRateDetect::mnuDetectCatRate_Click()
{
    if (m_busy)
        return;
    if (m_s.CATOn) {
        m_comm.mnuCatRate_Click(m_s.Settings.CatRate); // its refusal: the rate cannot change now
        return;
    }
    if (!CommPort::IsPort(m_s.Settings.CommPort)) {
        m_dialogs.MessageBox("No serial port is selected. Please select the radio's port from the Settings Menu "
                             "(Serial Port) first.",
                             kTitle, platform::Icon::Exclamation, platform::Buttons::Ok);
        return;
    }
    if (!m_cat.Port().SetsLineSettings()) {
        m_dialogs.MessageBox("The network port is raw TCP: its rate is the one in the serial port server's "
                             "configuration, which this program cannot change. Set it there to the radio's CAT RATE "
                             "(menu 14), or serve the port with RFC 2217 and choose that under Settings > Serial Port "
                             "> Network Port....",
                             kTitle, platform::Icon::Exclamation, platform::Buttons::Ok);
        return;
    }
    m_busy = true;
    // The port and rate menus would reopen the port under the search, and make POWER possible.
    m_display.SetEnabled(el::mnuSettings, false);
    const int previous = m_s.Settings.CatRate < 0 || m_s.Settings.CatRate > 2 ? 0 : m_s.Settings.CatRate;
    const int found = Search();
    m_display.SetEnabled(el::mnuSettings, !m_s.MenusLocked);
    const int rate = found >= 0 ? found : previous;
    // Checked and stored as the menus do it; the port handler opens the port at the rate (and
    // reports a port that cannot be opened in its own words).
    m_s.Settings.CatRate = state::Integer(rate);
    m_comm.mnuCatRate_Click(rate);
    m_comm.mnuCommPortArray_Click(m_s.Settings.CommPort);
    m_cat.PortReopened();
    m_busy = false;
    if (!m_s.PortReady)
        return;
    if (found >= 0) {
        m_dialogs.MessageBox(std::string("The radio answered at ") + kRateText[found] + " bps. The CAT Rate is now " +
                                 kRateText[found] + " bps.",
                             kTitle, platform::Icon::Information, platform::Buttons::Ok);
    } else {
        m_dialogs.MessageBox(std::string("The radio did not answer at 4800, 9600 or 38400 bps. Please check that the "
                                         "radio is switched on, that its CAT RATE menu item (menu 14) is set to one "
                                         "of these rates, and that the CAT cable is plugged in at both ends. The CAT "
                                         "Rate stays ") +
                                 kRateText[previous] + " bps.",
                             kTitle, platform::Icon::Exclamation, platform::Buttons::Ok);
    }
}

} // namespace kivo::radio
