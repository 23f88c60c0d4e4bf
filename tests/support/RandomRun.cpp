#include "tests/support/RandomRun.h"

namespace kivo::testing::randomop {

void Run::Start()
{
    m_m = std::make_unique<Machine>(m_dir, m_radio, m_fs, m_dialogs);
    m_watchdog = m_m->loop.CreateTimer();
    m_watchdog->SetInterval(kStepLimitSeconds * 1000);
    m_watchdog->onTick = [] { throw Hang{}; };
    // A wait the virtual clock does not move in.
    m_m->loop.onPass = [this] {
        if (++m_passes > kPassLimit)
            throw Hang{};
    };
    m_dialogs.loop = &m_m->loop;
    m_m->port.GetWire().onFrame = [this](const sim::ReceivedFrame& f) { TrackFrame(f); };
    m_m->panel.Power().Load();
    m_loadedBand = m_m->s.BandData;
    m_timerBase = m_m->loop.TimerCount();
    m_m->panel.Power().PressPower();
    Wait(0.5);
}

void Run::Restart()
{
    // The memory file is what was saved; the band store, HOME and settings what power-off saved.
    const state::BandDataRec band = m_m->s.BandData;
    const bool bandSaved = !m_diskFull;
    m_dialogs.loop = nullptr;
    m_m.reset();
    Start();
    // The VFOs the bands keep (the tuning limits in force are the session's, not the store's),
    // as loaded: POWER may take the radio's frequency into them at once (Tune to Radio on Start-up).
    const auto& now = m_loadedBand;
    if (bandSaved && (now.BandVFOMB != band.BandVFOMB || now.BandVFOSB != band.BandVFOSB ||
                      now.BandPMSVFO != band.BandPMSVFO || now.PMSLow != band.PMSLow || now.PMSHigh != band.PMSHigh))
        m_fileError = "restart: the band store read back differs from the one saved at exit";
}

void Run::PanelKey(const Step& st)
{
    const auto& k = PickKey(st.arg);
    if (!Enabled(k.name))
        return; // a disabled key takes no click
    // The operator switches on readily, and off now and then.
    if (k.name == el::PowerButton && m_m->s.CATOn && st.more % 4 != 0)
        return;
    m_m->panel.KeyTargets().Press(k.name);
}

void Run::Knob(const Step& st)
{
    const int knob = int(st.arg % 3) + 1;
    const char* name = knob == 1 ? el::MainKnob : knob == 2 ? el::SubKnob : el::ChannelKnob;
    if (!Enabled(name))
        return;
    auto& t = m_m->panel.Tuning();
    const int dir = (st.more / 8) % 2 ? 1 : -1;
    const int detents = 1 + int(st.more % 8);
    const double gap = double((st.more / 16) % 300) / 1000.0;
    t.SetupTuningKnob(knob, panel::kGrab);
    for (int i = 0; i < detents; ++i) {
        t.KnobDetent(knob, dir);
        Wait(gap);
    }
    t.SetupTuningKnob(knob, panel::kRelease);
}

void Run::Keyboard(const Step& st)
{
    const auto& k = KeyStrokes()[st.arg % KeyStrokes().size()];
    auto& kb = m_m->panel.Keyboard();
    if (k.code == 'P' && m_m->s.CATOn && st.more % 4 != 0)
        return;
    const double hold = double(30 + st.more % 900) / 1000.0;
    kb.KeyDown(k.code, k.mods, false);
    // Knob keys and D, U repeat while held.
    const int repeats = int((st.more / 1024) % 4);
    for (int i = 0; i < repeats; ++i) {
        Wait(hold / (repeats + 1));
        kb.KeyDown(k.code, k.mods, true);
    }
    Wait(hold / (repeats + 1));
    if (st.more % 11 == 0)
        kb.FocusLost();
    else
        kb.KeyUp(k.code, k.mods);
}

void Run::Menu(const Step& st)
{
    using G = panel::MenuGroup;
    const auto& e = MenuChoices()[st.arg % MenuChoices().size()];
    const std::string element = panel::MenuElement(e.group, e.index);
    if (m_m->display.Has(element) && !m_m->display.Get(element).enabled)
        return;
    const bool underSettings = e.group != G::File && e.group != G::Help && e.group != G::Memory;
    if (underSettings && m_m->display.Has(el::mnuSettings) && !m_m->display.Get(el::mnuSettings).enabled)
        return;
    if (e.group == G::File) {
        static const char* const passwords[] = {"kivo817", "ab", "kivo 817", "KIVO817"};
        const std::string pw = passwords[st.more % 4];
        if (e.index == 6) {
            m_m->menuLock.SetCaption(lock::kLockCaption);
            if (st.more % 5)
                m_m->menuLock.Confirm(pw);
            else
                m_m->menuLock.Cancel();
        } else if (e.index == 7) {
            m_m->menuLock.SetCaption(lock::kUnlockCaption);
            m_m->menuLock.Confirm(pw);
        } else if (e.index == 9) {
            std::string owedBox;
            m_dialogs.onBox = [&owedBox](const std::string& text, const std::string& title) {
                if (title == "Save Radio Owed File")
                    owedBox = text;
            };
            const bool ended = m_m->panel.Power().EndKIVO();
            m_dialogs.onBox = nullptr;
            // What the radio is owed could not be remembered (the disk is full): the operator does
            // on the radio what the box says, as the next start cannot.
            for (const auto& [says, op] : {std::pair{"Release its transmitter", radio::op::kPttOff},
                                           std::pair{"Press its A/B key", radio::op::kToggleVFO},
                                           std::pair{"Switch its split off", radio::op::kSplitOff}})
                if (ended && owedBox.find(says) != std::string::npos)
                    m_radio.HandleFrame(std::string(4, '\0') + char(op));
            if (ended)
                Restart();
        }
        return;
    }
    if (e.group == G::Settings && (e.index == 11 || e.index == 12)) {
        auto& tones = e.index == 11 ? m_m->panel.CtcssTones() : m_m->panel.DcsCodes();
        tones.Show();
        tones.Select(int(st.more % 60));
        if (st.more % 3)
            tones.SAVE();
        else
            tones.CANCEL();
        return;
    }
    m_m->menus.Click(e.group, e.index);
}

void Run::Apply(const Step& st)
{
    switch (st.act) {
    case Act::PanelKey: PanelKey(st); break;
    case Act::MckHold:
        if (Enabled(el::MCKbutton)) {
            m_m->panel.MemoryCheck().MCKbutton_MouseDown();
            Wait(double(100 + st.more % 1200) / 1000.0);
            m_m->panel.MemoryCheck().MCKbutton_MouseUp();
        }
        break;
    case Act::Knob: Knob(st); break;
    case Act::Jog: {
        const char* name = st.arg % 2 ? el::btnJogUp : el::btnJogDown;
        if (!Enabled(name))
            break;
        auto& t = m_m->panel.Tuning();
        t.JogButton_Press(st.arg % 2 ? 1 : -1);
        Wait(double(100 + st.more % 1500) / 1000.0);
        t.JogButton_Release();
        break;
    }
    case Act::Keyboard: Keyboard(st); break;
    case Act::Menu: Menu(st); break;
    case Act::Network: Network(st); break;
    case Act::MemoryManager: MemoryManager(st); break;
    case Act::Scope: Scope(st); break;
    case Act::File: File(st); break;
    case Act::LineFault: LineFault(st); break;
    case Act::RadioDial:
        ++m_tally.faults["radio dial"];
        RadioDial(st);
        break;
    case Act::RadioMode:
        ++m_tally.faults["radio MODE"];
        m_radio.Current().mode = radio::ModeTable[st.arg % 8].code;
        m_unknown[m_radio.OnB() ? 1 : 0].mode = true;
        break;
    case Act::RadioVfo:
        ++m_tally.faults["radio A/B"];
        m_radio.HandleFrame(std::string("\0\0\0\0\x81", 5));
        m_swapped = true;
        m_m->loop.CallAt(m_m->loop.Now() + double(200 + st.more % 3000) / 1000.0, [this] {
            m_radio.HandleFrame(std::string("\0\0\0\0\x81", 5));
            m_swapped = false;
        });
        Wait(double(200 + st.more % 3000) / 1000.0);
        break;
    case Act::Wait: Wait(double(st.more % 3000) / 1000.0); break;
    case Act::Quiet:
    case Act::kCount: break;
    }
}

void Run::Count(const Step&)
{
    const auto& s = m_m->s;
    const std::pair<const char*, bool> states[] = {
        {"MR", s.VFOMRMode == state::kModeMR},
        {"PMS", s.VFOMRMode == state::kModePMS},
        {"HOME", s.HomeOn},
        {"scan", s.ScanArmed && s.ScanDir != 0 && !s.JogHeld},
        {"search", s.SearchOn},
        {"priority", s.PRIOn},
        {"SUB", s.SubSelected},
        {"split", s.SplitOn},
        {"MOX", s.Transmitting},
        {"LOCK", s.LockOn},
        {"menus locked", s.MenusLocked},
        {"memory check", s.MCKOn},
        {"clarifier", s.ClarOn},
        {"scope sweep", m_m->scope.Sweeping()},
        {"dark", !s.CATOn},
    };
    for (const auto& [name, on] : states) {
        bool& was = m_inState[name];
        if (on && !was)
            ++m_tally.reached[name];
        was = on;
    }
}

std::string Run::Do(const Step& st)
{
    ++m_tally.steps;
    const double t0 = m_m->loop.Now();
    const bool wasOnAir = m_m->s.Transmitting;
    m_m->loop.ResetMaxWaitDepth();
    m_dialogs.rng = Rng{st.more ^ 0x5bd1e995u};
    if (st.act == Act::Quiet)
        return Quiet();
    m_watchdog->SetEnabled(true);
    m_passes = 0;
    try {
        Apply(st);
        Wait(st.waitMs / 1000.0);
    } catch (const Hang&) {
        return "hang: the step did not end within " + std::to_string(kStepLimitSeconds) + " s of virtual time or " +
               std::to_string(kPassLimit) + " passes of the event pump";
    }
    m_watchdog->SetEnabled(false);
    m_tally.virtualSeconds += m_m->loop.Now() - t0;
    Count(st);
    if (m_trace) {
        const auto& s = m_m->s;
        std::fprintf(stderr,
                     "%8.2f %-50s lit %d mode %d sub %d split %d/%d scan %d/%d search %d pri %d mck %d tx %d A %u B %u "
                     "onB %d panel %u/%d %u/%d pms0 %u pms2 %u\n",
                     m_m->loop.Now(), Describe(st).c_str(), s.CATOn, int(s.VFOMRMode), s.SubSelected, s.SplitOn,
                     s.RadioSplitOn, s.ScanArmed, s.ScanDir, s.SearchOn, s.PRIOn, s.MCKOn, s.Transmitting,
                     unsigned(m_radio.A().freq), unsigned(m_radio.B().freq), m_radio.OnB(), unsigned(s.VFOMB.Freq),
                     int(s.BandIdxMB), unsigned(s.VFOSB.Freq), int(s.BandIdxSB),
                     unsigned(s.BandData.BandPMSVFO[0].Freq), unsigned(s.BandData.BandPMSVFO[2].Freq));
    }
    return CheckStep(st, wasOnAir);
}

} // namespace kivo::testing::randomop
