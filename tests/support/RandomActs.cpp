// The steps of the world around the panel: network clients, the memory manager, the band scope,
// the files, the line and the radio's own front panel.
#include "tests/support/RandomRun.h"

namespace kivo::testing::randomop {

void Run::Network(const Step& st)
{
    auto& c = m_m->clients[st.arg % 3];
    const std::string line = NetLine(st.arg, st.more);
    if (line[0] == '(') {
        // The connection drops: a transmitter it keyed is unkeyed, as the server does.
        if (m_m->keyer == &c && m_m->s.Transmitting)
            m_m->rig.SetPtt(false);
        if (m_m->keyer == &c)
            m_m->keyer = nullptr;
        c.session = std::make_unique<net::Session>(*c.rig);
        return;
    }
    const net::Answer a = c.session->Handle(line);
    if (a.close)
        c.session = std::make_unique<net::Session>(*c.rig);
}

void Run::MemoryManager(const Step& st)
{
    memmgr::MemoryManager mm(m_m->s, m_dialogs);
    Rng r{st.more};
    const int ops = 1 + int(st.arg % 4);
    const auto row = [&r] { return r.U32() % 5 == 0 ? int(r.Below(1000)) : int(r.Below(70)); };
    for (int i = 0; i < ops; ++i) {
        switch ((st.arg / 4 + std::uint32_t(i)) % 8) {
        case 0: mm.ApplyEdit(memmgr::Edit::Cut, row(), row(), row()); break;
        case 1: mm.ApplyEdit(memmgr::Edit::Copy, row(), row(), row()); break;
        case 2: mm.ApplyEdit(memmgr::Edit::Paste, row(), row(), row()); break;
        case 3: mm.ApplyEdit(memmgr::Edit::Compress, row(), row(), row()); break;
        case 4: mm.ApplyEdit(memmgr::Edit::Insert, row(), row(), row()); break;
        case 5: mm.TickBank(1 + int(r.Below(memmgr::kBankCount)), r.U32() % 2 == 0); break;
        case 6: mm.SetDesc(row(), "note " + std::to_string(r.Below(100))); break;
        default: mm.DeleteAMemory(row()); break;
        }
    }
    if (st.more % 4)
        mm.Save();
    else
        mm.Cancel();
}

void Run::Scope(const Step& st)
{
    auto& sc = m_m->scope;
    const int op = int(st.arg % 10);
    if (!m_m->scopeOpen) {
        if (!Enabled(el::SCOPEbutton))
            return;
        sc.Load();
        m_m->scopeOpen = true;
        return;
    }
    switch (op) {
    case 0:
    case 1:
    case 2: sc.StartStop(); break;
    case 3: sc.Reset(); break;
    case 4: sc.OnChartClick(sc.AxisStartKHz() + double(st.more % 1000) / 1000.0 * sc.AxisSpanKHz()); break;
    case 5: sc.ChooseStep(int(st.more % 5)); break;
    case 6: sc.ChooseScanWidth(int(st.more % 9)); break;
    case 7:
        sc.ChooseScanSpeed(int(st.more % 5));
        sc.ChooseContinuousScan(int((st.more / 8) % 2));
        break;
    case 8:
        sc.Unload();
        m_m->scopeOpen = false;
        break;
    default:
        sc.Exit();
        m_m->scopeOpen = false;
        break;
    }
}

void Run::File(const Step& st)
{
    const int what = int(st.arg % 8);
    const auto path = [this](const char* p) -> std::optional<std::string> {
        if (!p)
            return std::nullopt;
        return m_dir + "/" + p;
    };
    auto& files = m_dialogs.inner.files;
    files.clear();
    files.push_back(path(kMemPaths[st.more % 5]));
    static const int entries[] = {0, 1, 3, 4};
    if (what <= 3 || what == 7) {
        const int entry = entries[what == 7 ? 2 : what];
        if (!Enabled(el::mnuFileArray(entry)) && m_m->display.Has(el::mnuFileArray(entry)))
            return;
        m_m->menus.Click(panel::MenuGroup::File, entry);
    } else if (what == 4 || what == 5) {
        if (m_m->display.Has(el::mnuMemory) && !m_m->display.Get(el::mnuMemory).enabled)
            return;
        files.clear();
        files.push_back(path(kCsvPaths[st.more % 3]));
        if (what == 4)
            m_m->channels.Import();
        else
            m_m->channels.Export();
    } else {
        // The data folder's disk fills up, or has room again.
        m_diskFull = !m_diskFull;
        for (const char* n :
             {"ft817.kivo", "bandinfo.kivo", "homemem.kivo", "bandscope.kivo", "network-port.txt", "radioowed.kivo"}) {
            if (m_diskFull)
                m_fs.writeErrors[m_dir + "/" + n] = ENOSPC;
            else
                m_fs.writeErrors.erase(m_dir + "/" + n);
        }
        ++m_tally.faults[m_diskFull ? "disk full" : "disk freed"];
    }
    files.clear();
}

void Run::LineFault(const Step& st)
{
    auto& wire = m_m->port.GetWire();
    const int kind = int(st.arg % kFaultKinds);
    ++m_tally.faults[kFaultNames[kind]];
    const double span = double(200 + st.more % 6000) / 1000.0;
    const std::string reads = {char(radio::op::kReadFreqMode), char(radio::op::kReadRxStatus),
                               char(radio::op::kReadTxStatus)};
    switch (kind) {
    case 0: {
        // A set command lost on the line. A lost VFO toggle or split command is left out: the
        // CAT protocol gives no way to notice one short of reading the radio's memory, so the
        // panel would work the wrong VFO for good.
        const std::string sets = {char(radio::op::kSetFreq), char(radio::op::kSetMode)};
        wire.DropNext(1 + int(st.more % 2), sets);
        break;
    }
    case 1: wire.DropNext(1 + int(st.more % 3), reads); break;
    case 2: wire.InjectFault({sim::Fault::NoReply}); break;
    case 3: wire.InjectFault({sim::Fault::Late, 0, double(50 + st.more % 900) / 1000.0}); break;
    case 4: wire.InjectFault({sim::Fault::Short, int(st.more % 4)}); break;
    case 5: wire.InjectFault({sim::Fault::Garbage, int(1 + st.more % 6)}); break;
    case 6: wire.InjectFault({sim::Fault::Doubled}); break;
    // Each fault below ends on the clock, as it does in the world: a wait of the program's own
    // running inside the harness's wait (a scan's poll) must see it end.
    case 7:
        m_m->port.SetSilent(true);
        m_m->loop.CallAt(m_m->loop.Now() + span, [this] { m_m->port.SetSilent(false); });
        Wait(span);
        break;
    case 8:
        // The cable out and back in; the operator presses POWER again (or not) later.
        m_m->port.Vanish();
        m_portGone = true;
        m_m->loop.CallAt(m_m->loop.Now() + span, [this] {
            m_m->port.Reappear();
            m_portGone = false;
        });
        Wait(span);
        // Told by the message, the operator mostly presses POWER once the radio is back.
        if (st.more % 4 != 0 && Enabled(el::PowerButton))
            m_m->panel.KeyTargets().Press(el::PowerButton);
        break;
    default: wire.DropNext(1, {char(radio::op::kPttOff)}); break;
    }
}

void Run::RadioDial(const Step& st)
{
    auto& v = m_radio.Current();
    if (st.arg % 4 == 0) {
        v.freq = std::uint32_t(BandFrequency(st.more));
    } else {
        // A few detents of the radio's own dial: 10 Hz to 1 kHz each.
        const int steps = 1 + int(st.more % 40);
        const int size = (st.more / 64) % 2 ? 100 : 10;
        const long f = long(v.freq) + ((st.more / 128) % 2 ? 1 : -1) * steps * size;
        // The radio's dial stays within what the radio tunes: a frequency past a band's edge
        // there would be one no frame could set.
        if (sim::Ft817::Tunes(f))
            v.freq = std::uint32_t(f);
    }
    m_unknown[m_radio.OnB() ? 1 : 0].freq = true;
}

} // namespace kivo::testing::randomop
