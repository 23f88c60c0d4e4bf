// The invariants: what went over the wire, what was written, and the state after each step and
// each quiet period.
#include "tests/support/RandomRun.h"

#include "tests/support/MemFs.h"

namespace kivo::testing::randomop {

void Run::TrackFrame(const sim::ReceivedFrame& f)
{
    if (m_trace) {
        std::string hex;
        for (unsigned char c : f.bytes)
            hex += "0123456789ABCDEF"[c >> 4], hex += "0123456789ABCDEF"[c & 15], hex += ' ';
        std::fprintf(stderr, "%12.3f   frame %s%s%s onB %d swapped %d\n", f.at, hex.c_str(),
                     f.accepted ? "" : "(dropped) ", f.fault.c_str(), m_radio.OnB(), m_swapped);
    }
    if (f.bytes.size() != 5)
        return;
    const auto op = std::uint8_t(f.bytes[4]);
    // Where it landed, and where the panel meant it to go.
    const int landed = m_radio.OnB() ? 1 : 0;
    const int meant = m_swapped ? 1 - landed : landed;
    // A reading answered from the other VFO: following the dial, the panel may take it for its own.
    if (op == radio::op::kReadFreqMode && m_swapped && f.accepted && !f.answer.empty()) {
        m_unknown[std::size_t(meant)] = {true, true};
        return;
    }
    if (op != radio::op::kSetFreq && op != radio::op::kSetMode)
        return;
    bool Unknown::*field = op == radio::op::kSetFreq ? &Unknown::freq : &Unknown::mode;
    if (!f.accepted || f.wrongRate) {
        m_unknown[std::size_t(meant)].*field = true;
        return;
    }
    m_unknown[std::size_t(landed)].*field = m_swapped;
    if (m_swapped)
        m_unknown[std::size_t(meant)].*field = true;
}

void Run::CheckWritten(const std::string& path, std::string_view data)
{
    // What was written reads back, through the program's own loaders, as the state it came from.
    MemFs fs;
    platform::ScriptedDialogs dialogs;
    state::ModKIVO fresh;
    const std::string name = std::filesystem::path(path).filename().string();
    const std::string dir = "/d";
    fs.files[dir + "/" + name] = std::string(data);
    const state::ModKIVO& live = m_m ? m_m->s : fresh;
    if (!m_m)
        return;
    std::string broken;
    if (name == "bandinfo.kivo") {
        state::DataFiles(fresh, fs, dialogs, dir).OpenBandDataFile();
        if (state::ToBytes(fresh.BandData) != state::ToBytes(live.BandData))
            broken = "the band file read back differs from the band store";
    } else if (name == "homemem.kivo") {
        state::DataFiles(fresh, fs, dialogs, dir).OpenHomeFile();
        if (fresh.HomeMem != live.HomeMem)
            broken = "the HOME file read back differs from the HOME memories";
    } else if (name == "ft817.kivo") {
        state::DataFiles(fresh, fs, dialogs, dir)
            .OpenSettingsFile(
                {}, [](state::Long, state::Long) { return true; }, nullptr);
        // Port numbers after the classic ten are kept in files of their own; this one says None.
        state::SettingsRec expected = live.Settings;
        expected.CommPort = std::min(expected.CommPort, state::kLastFilePort);
        if (state::ToBytes(fresh.Settings) != state::ToBytes(expected))
            broken = "the settings file read back differs from the settings";
    } else if (name.size() > 4 && name.substr(name.size() - 4) == ".mem") {
        state::MemoryFile(fresh, fs, dialogs).OpenMemoryFile(dir + "/" + name);
        if (fresh.MemData != live.MemData)
            broken = "the memory file read back differs from the memories";
    } else {
        return;
    }
    ++m_tally.checks;
    if (broken.empty() && !dialogs.boxes.empty())
        broken = "reading back a file just written says: " + dialogs.boxes.front().text;
    if (!broken.empty() && m_fileError.empty())
        m_fileError = "file " + name + ": " + broken;
}

std::string Run::CheckStep(const Step& st, bool wasOnAir)
{
    ++m_tally.checks;
    const auto& s = m_m->s;
    if (!m_fileError.empty())
        return std::exchange(m_fileError, {});
    if (m_dialogs.open != 0)
        return "dialogs: a message box is still open after the step";
    auto& loop = m_m->loop;
    if (loop.OneShotCount() > 64)
        return "event loop: " + std::to_string(loop.OneShotCount()) + " one-shots pending";
    if (loop.TimerCount() > m_timerBase + 4)
        return "event loop: " + std::to_string(loop.TimerCount()) + " timers alive, " + std::to_string(m_timerBase) +
               " after start";
    if (loop.WatchCount() > 2)
        return "event loop: " + std::to_string(loop.WatchCount()) + " descriptors watched";
    if (loop.MaxWaitDepth() > 12)
        return "event loop: waits nested " + std::to_string(loop.MaxWaitDepth()) + " deep";

    // A VFO holds a frequency of its own band, the knobs wrapping by that band's edges, or one
    // read from the radio between the bands, placed in the band the band table names for it.
    if (s.CATOn && !s.HomeOn && !s.MTOn && s.VFOMRMode != state::kModeMR) {
        const auto outside = [&](const state::VFOInfo& v, state::Integer band) {
            const auto b = std::size_t(panel::BandSlot(band));
            const bool covered = v.Freq >= s.BandData.CoverLow[b] && v.Freq <= s.BandData.CoverHigh[b];
            return !covered && state::BandOfFreq(v.Freq, -1) != band;
        };
        if (outside(s.VFOMB, s.BandIdxMB))
            return "band: the main VFO's " + std::to_string(s.VFOMB.Freq) + " is outside its band " +
                   std::to_string(s.BandIdxMB);
        if (s.VFOMRMode == state::kModeVFO && outside(s.VFOSB, s.BandIdxSB))
            return "band: the sub VFO's " + std::to_string(s.VFOSB.Freq) + " is outside its band " +
                   std::to_string(s.BandIdxSB);
    }

    // Who keyed the transmitter, if this step did.
    if (s.Transmitting && !wasOnAir) {
        const bool space =
            st.act == Act::Keyboard && KeyStrokes()[st.arg % KeyStrokes().size()].code == panel::vk::kSpace;
        if (st.act == Act::PanelKey && PickKey(st.arg).name == el::MOXbutton)
            m_keyedBy = Keyer::Mox;
        else if (space)
            m_keyedBy = Keyer::Space;
        else if (st.act == Act::Network)
            m_keyedBy = Keyer::Client;
        else
            return "transmit: keyed by a step that is not MOX, Space or a client";
    }
    if (!s.Transmitting)
        m_keyedBy = Keyer::None;
    if (s.Transmitting && m_keyedBy == Keyer::Space)
        return "transmit: still on air after Space was let go";
    if (s.Transmitting && !s.CATOn)
        return "transmit: on air with the panel dark";
    // The cable went while on air: the program told the user the radio may still transmit, and
    // sends transmit off first at the next POWER on. Until then the radio may be on air.
    const bool owed = m_m->panel.Power().PttOffOwed();
    if (m_radio.Transmitting() && !s.Transmitting && PortUsable() && !owed)
        return "transmit: the radio is on air while the panel is not";
    return {};
}

std::string Run::Quiet()
{
    // No faults, nothing pressed: the program gets time to finish what it started.
    m_m->port.GetWire().ClearFaults();
    const double t0 = m_m->loop.Now();
    // A scan, search, priority check or sweep holds the dial reading off until it ends, which
    // may be late in the period: too late for the follower to have read the radio since.
    const auto& s = m_m->s;
    m_retuningAtQuiet = s.ScanDir != 0 || s.SearchOn || s.PRIOn || m_m->scope.Sweeping();
    m_watchdog->SetEnabled(true);
    m_passes = 0;
    try {
        Wait(4.0);
    } catch (const Hang&) {
        return "hang: the quiet period did not end within " + std::to_string(kStepLimitSeconds) + " s";
    }
    m_watchdog->SetEnabled(false);
    m_tally.virtualSeconds += m_m->loop.Now() - t0;
    ++m_tally.checks;
    if (auto broken = CheckStep({}, m_m->s.Transmitting); !broken.empty())
        return broken;
    return CheckAgreement();
}

std::string Run::CheckAgreement()
{
    const auto& s = m_m->s;
    auto& p = m_m->panel;
    // The panel is in step with the radio only while it is lit on a working port, and not while
    // it is itself moving the radio on purpose: a running scan, the FM search, the priority
    // monitor (which visits channel 0 on its own), a scope sweep, or while on air (the
    // transmit frequency of a clarified or shifted VFO is not the receive one). Nor while the
    // operator has the radio on its other VFO: the panel has no way to see that.
    const std::pair<const char*, bool> skips[] = {
        {"dark", !s.CATOn},
        {"port not usable", !PortUsable()},
        {"radio on its other VFO", m_swapped},
        {"between VFO toggles or SUB", m_m->cat.OnOtherVfo()},
        {"on air", s.Transmitting},
        {"scanning", (s.ScanArmed && s.ScanDir != 0) || s.SearchOn},
        {"priority monitor", s.PRIOn},
        {"scope sweep", m_m->scope.Sweeping()},
    };
    for (const auto& [why, skip] : skips) {
        if (skip) {
            ++m_tally.skipped[why];
            return {};
        }
    }
    ++m_tally.agreements;
    const auto code = [](state::Integer mode) {
        return radio::ModeTable[std::size_t(std::clamp<int>(mode, 0, 7))].code;
    };
    std::ostringstream why;
    if (m_radio.OnB() != s.SubSelected)
        why << "the radio is on VFO " << (m_radio.OnB() ? "B" : "A") << ", the panel works "
            << (s.SubSelected ? "the sub VFO" : "the main VFO") << "; ";
    if (m_radio.Split() != s.RadioSplitOn)
        why << "split is " << (m_radio.Split() ? "on" : "off") << " on the radio, " << (s.RadioSplitOn ? "on" : "off")
            << " for the panel; ";

    // Following the dial, the panel must have taken whatever the radio's main VFO shows by now.
    // The follower asks on every third meter tick at most (ask, take, status), so a change just
    // after a reading shows four ticks later: at 1000 ms as long as the quiet period itself.
    const bool following = !m_retuningAtQuiet && p.DialFollower().Following() && s.Settings.MeterSpeed != 6 &&
                           m_m->meter.TimerSignalMeter().Interval() < 1000 && !s.ScanArmed &&
                           m_m->meter.TimerSignalMeter().Enabled() && !s.KeypadOn && !s.JogHeld && !s.MCKOn &&
                           !s.SubSelected && !p.Power().TimerSendFreq().Enabled() && !p.Tuning().TmrKnob().Enabled();
    if (following)
        m_unknown[0] = {};
    const state::VFOInfo* vfo[2] = {&s.VFOMB, &s.VFOSB};
    for (int i = 0; i < 2; ++i) {
        const sim::Vfo& r = i == 0 ? m_radio.A() : m_radio.B();
        const char* name = i == 0 ? "A (main)" : "B (sub)";
        if (!m_unknown[std::size_t(i)].freq && state::Long(r.freq) != vfo[i]->Freq)
            why << "VFO " << name << " is " << r.freq << " on the radio, " << vfo[i]->Freq << " on the panel; ";
        if (!m_unknown[std::size_t(i)].mode && r.mode != code(vfo[i]->Mode))
            why << "VFO " << name << " mode is " << int(r.mode) << " on the radio, " << int(code(vfo[i]->Mode))
                << " on the panel; ";
    }
    if (m_radio.Transmitting() != s.Transmitting)
        why << "the radio is " << (m_radio.Transmitting() ? "on air" : "receiving") << ", the panel says otherwise; ";
    const std::string w = why.str();
    return w.empty() ? std::string() : "agreement: " + w.substr(0, w.size() - 2);
}

} // namespace kivo::testing::randomop
