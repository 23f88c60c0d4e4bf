#include "tests/support/RandomOperator.h"

#include "lock/MenuLock.h"
#include "memmgr/ChannelFile.h"
#include "memmgr/MemoryManager.h"
#include "net/Session.h"
#include "panel/FrontPanel.h"
#include "panel/MainMenu.h"
#include "panel/Meter.h"
#include "panel/NetworkPortChoice.h"
#include "panel/NetworkRig.h"
#include "panel/PortChoice.h"
#include "panel/RadioSharing.h"
#include "panel/RateSearch.h"
#include "platform/ScriptedDialogs.h"
#include "platform/VirtualEventLoop.h"
#include "radio/Cat.h"
#include "radio/CatRateDetect.h"
#include "radio/CommPort.h"
#include "radio/NetworkPort.h"
#include "scope/BandScope.h"
#include "sim/Ft817.h"
#include "sim/SimPort.h"
#include "state/Layout.h"
#include "tests/support/FaultyFileSystem.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

namespace kivo::testing {

namespace {

using platform::Answer;
using platform::Buttons;
namespace el = platform::el;

// ---------------------------------------------------------------------------------------------
// Randomness that is the same on every machine and library.

struct Rng {
    std::uint64_t s;
    std::uint64_t Next()
    {
        std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint32_t U32() { return std::uint32_t(Next() >> 32); }
    // 0 .. n-1
    std::uint32_t Below(std::uint32_t n) { return n == 0 ? 0 : U32() % n; }
};

// How often each kind of step comes, out of the sum.
constexpr std::array<int, std::size_t(Act::kCount)> kActWeights{
    300, // PanelKey
    20,  // MckHold
    80,  // Knob
    35,  // Jog
    120, // Keyboard
    50,  // Menu
    110, // Network
    15,  // MemoryManager
    25,  // Scope
    30,  // File
    55,  // LineFault
    40,  // RadioDial
    15,  // RadioMode
    10,  // RadioVfo
    35,  // Wait
    60,  // Quiet
};

Act PickAct(std::uint32_t r)
{
    int total = 0;
    for (int w : kActWeights)
        total += w;
    int x = int(r % std::uint32_t(total));
    for (std::size_t i = 0; i < kActWeights.size(); ++i) {
        if (x < kActWeights[i])
            return Act(i);
        x -= kActWeights[i];
    }
    return Act::Wait;
}

// The front-panel keys the operator clicks, with their weights: the states the run must reach
// often (MR, PMS, HOME, scan, search, priority, SUB, split, MOX, lock) come more often.
struct KeyChoice {
    std::string name;
    int weight;
};

const std::vector<KeyChoice>& PanelKeys()
{
    static const std::vector<KeyChoice> keys = [] {
        std::vector<KeyChoice> k = {
            {el::PowerButton, 3}, {el::MOXbutton, 8},      {el::SEARCHbutton, 10}, {el::SYNCbutton, 2},
            {el::FASTbutton, 2},  {el::LOCKbutton, 5},     {el::HOMEbutton, 7},    {el::VFOMRbutton, 9},
            {el::ABbutton, 3},    {el::SPLITbutton, 8},    {el::SUBbutton, 8},     {el::RPTbutton, 2},
            {el::REVbutton, 2},   {el::TONEbutton, 2},     {el::SCANbutton, 9},    {el::PRIbutton, 7},
            {el::DOPbutton, 2},   {el::BandDownButton, 2}, {el::BandUpButton, 2},  {el::PMSbutton, 8},
            {el::ENTbutton, 4},   {el::CLARbutton, 4},     {el::RCLbutton, 3},     {el::STObutton, 3},
            {el::SWAPbutton, 3},  {el::MhzUpButton, 2},    {el::MhzDownButton, 2},
        };
        for (int b = 0; b < panel::kBandKeyCount; ++b)
            k.push_back({el::BandButton(b), 1});
        for (int m = 0; m < panel::kModeKeyCount; ++m)
            k.push_back({el::ModeButton(m), m == 5 ? 5 : 1}); // FM, where SEARCH works
        return k;
    }();
    return keys;
}

const KeyChoice& PickKey(std::uint32_t r)
{
    const auto& keys = PanelKeys();
    int total = 0;
    for (const auto& k : keys)
        total += k.weight;
    int x = int(r % std::uint32_t(total));
    for (const auto& k : keys) {
        if (x < k.weight)
            return k;
        x -= k.weight;
    }
    return keys.front();
}

// The keyboard keys: code, modifiers, and a name.
struct KeyStroke {
    int code;
    int mods;
    const char* name;
};

const std::vector<KeyStroke>& KeyStrokes()
{
    using namespace panel::vk;
    static const std::vector<KeyStroke> keys = [] {
        std::vector<KeyStroke> k = {
            {'P', 0, "P"},
            {kSpace, 0, "Space"},
            {kSpace, 0, "Space"},
            {kSpace, 0, "Space"},
            {kPageUp, 0, "Page Up"},
            {kPageDown, 0, "Page Down"},
            {kMultiply, 0, "keypad *"},
            {kDivide, 0, "keypad /"},
            {kAdd, 0, "keypad +"},
            {kSubtract, 0, "keypad -"},
            {'D', 0, "D"},
            {'U', 0, "U"},
            {kDecimal, 0, "keypad ."},
            {kEnter, 0, "Enter"},
            {kEscape, 0, "Esc"},
            {'C', 0, "C"},
            {'F', 0, "F"},
            {'L', 0, "L"},
            {'R', 0, "R"},
            {'S', 0, "S"},
            {'A', panel::kCtrlDown, "Ctrl+A"},
            {'B', panel::kCtrlDown, "Ctrl+B"},
            {'H', panel::kCtrlDown, "Ctrl+H"},
            {'L', panel::kCtrlDown, "Ctrl+L"},
            {'U', panel::kCtrlDown, "Ctrl+U"},
            {'V', panel::kCtrlDown, "Ctrl+V"},
            {'M', panel::kCtrlDown, "Ctrl+M"},
            {'L', panel::kShiftDown, "Shift+L"},
            {'U', panel::kShiftDown, "Shift+U"},
            {'C', panel::kShiftDown, "Shift+C"},
            {'A', panel::kShiftDown, "Shift+A"},
            {'F', panel::kShiftDown, "Shift+F"},
        };
        static const char* const digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
        for (int d = 0; d < 10; ++d)
            k.push_back({'0' + d, 0, digits[d]});
        static const char* const fkeys[] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"};
        for (int f = 0; f < 12; ++f)
            k.push_back({kF1 + f, 0, fkeys[f]});
        return k;
    }();
    return keys;
}

// The menu entries a click can reach (commands, radio items and checks).
const std::vector<panel::MenuEntry>& MenuChoices()
{
    static const std::vector<panel::MenuEntry> entries = [] {
        std::vector<panel::MenuEntry> v;
        for (const auto& e : panel::MainMenuTree()) {
            if (e.kind != panel::MenuKind::Command && e.kind != panel::MenuKind::Radio &&
                e.kind != panel::MenuKind::Check)
                continue;
            // Files, the memory manager and the channel lists are steps of their own; sharing
            // on the network would open a socket.
            if (e.group == panel::MenuGroup::File && e.index != 6 && e.index != 7 && e.index != 9)
                continue;
            if (e.group == panel::MenuGroup::Memory)
                continue;
            if (e.group == panel::MenuGroup::Settings && e.index == panel::kShareRadioEntry)
                continue;
            v.push_back(e);
        }
        return v;
    }();
    return entries;
}

const char* const kModeNames[] = {"LSB", "USB", "CW", "CWR", "AM", "FM", "PKTUSB", "PKTFM"};

// A frequency the radio's own dial or a client may ask for, in 10 Hz units: inside one of the
// panel's bands, or (for a client) now and then something no radio takes.
state::Long BandFrequency(std::uint32_t r)
{
    static const state::BandDataRec bands = state::DefaultBandData();
    const int b = int(r % state::kBandCount);
    const state::Long low = bands.CoverLow[std::size_t(b)];
    const state::Long high = bands.CoverHigh[std::size_t(b)];
    const state::Long span = std::max<state::Long>(1, high - low);
    return low + state::Long((r / 16) % std::uint32_t(span) / 100 * 100);
}

std::string NetLine(std::uint32_t arg, std::uint32_t more)
{
    const std::uint32_t cmd = (arg / 4) % 22;
    const auto hz = [more] {
        if (more % 23 == 0)
            return std::string(more % 2 ? "0" : "1000000000000");
        return std::to_string(std::int64_t(BandFrequency(more)) * 10);
    };
    const std::string mode = kModeNames[more % 8];
    switch (cmd) {
    case 0:
    case 1: return "F " + hz();
    case 2: return "f";
    case 3: return "M " + mode + " 0";
    case 4: return "m";
    case 5: return "V VFOA";
    case 6: return "V VFOB";
    case 7: return "V currVFO";
    case 8: return "v";
    case 9: return "G TOGGLE";
    case 10: return "S 1 VFOB";
    case 11: return "S 0 VFOA";
    case 12: return "s";
    case 13: return "T 1";
    case 14: return "T 0";
    case 15: return "t";
    case 16: return "I " + hz();
    case 17: return "i";
    case 18: return "X " + mode + " 0";
    case 19: return "x";
    case 20: return "q";
    default: return "(connection dropped)";
    }
}

const char* const kFaultNames[] = {"lost frame",     "lost read",      "no answer", "late answer",   "short answer",
                                   "garbled answer", "doubled answer", "silence",   "port vanished", "lost PTT"};
constexpr int kFaultKinds = 10;

const char* const kFileNames[] = {"New", "Open", "Save", "Save As", "Import CSV", "Export CSV", "disk full/freed",
                                  "Save"};
// The files the dialogs offer: two in a usable folder, one in a read-only folder, one on a full
// disk, and a cancel.
const char* const kMemPaths[] = {"mem/a.mem", "mem/b.mem", "ro/c.mem", "full/d.mem", nullptr};
const char* const kCsvPaths[] = {"mem/list.csv", "ro/list.csv", nullptr};

// ---------------------------------------------------------------------------------------------
// The platform fakes of the run.

class OperatorWindow final : public platform::Window {
public:
    long Left() const override { return 100; }
    long Top() const override { return 80; }
    bool OnScreen(long l, long t) const override { return l >= 0 && t >= 0 && l < 1920 && t < 1080; }
    void MoveTo(long, long) override {}
    void Centre() override {}
    void SetBusyCursor(bool) override {}
    void ShowSplash(const std::string&) override {}
    void HideSplash() override {}
    void ShowMain() override {}
    void SetTitle(const std::string&) override {}
};

// The scripted dialogs with an answer drawn for each box from its buttons, and a box held open
// for a while as a modal box runs the event loop under it.
class OperatorDialogs final : public platform::Dialogs {
public:
    Answer MessageBox(const std::string& text, const std::string& title, platform::Icon icon, Buttons buttons) override
    {
        ++open;
        ++shown;
        const std::uint32_t r = rng.U32();
        Answer a = Answer::Ok;
        switch (buttons) {
        case Buttons::Ok: a = Answer::Ok; break;
        case Buttons::OkCancel: a = r % 3 ? Answer::Ok : Answer::Cancel; break;
        case Buttons::YesNo: a = r % 2 ? Answer::Yes : Answer::No; break;
        case Buttons::YesNoCancel: a = r % 3 == 0 ? Answer::Yes : r % 3 == 1 ? Answer::No : Answer::Cancel; break;
        }
        inner.answers.push_back(a);
        const Answer got = inner.MessageBox(text, title, icon, buttons);
        if (onBox)
            onBox(text, title);
        // The user reads the box; timers and input go on meanwhile, as under a modal box.
        if (loop && open < 4 && r % 4 == 0)
            loop->Advance(double(r % 400) / 1000.0);
        if (inner.boxes.size() > 64)
            inner.boxes.erase(inner.boxes.begin(), inner.boxes.begin() + 32);
        --open;
        return got;
    }
    void Beep() override { inner.Beep(); }
    std::optional<std::string> OpenFile(const std::string& filter, const std::string& initial) override
    {
        return inner.OpenFile(filter, initial);
    }
    std::optional<std::string> SaveFile(const std::string& filter, const std::string& initial) override
    {
        return inner.SaveFile(filter, initial);
    }
    // The network port's form: cancelled, a port number no server has, or an address (the
    // simulator then stands for the radio behind it).
    bool AskForm(const std::string& title, const std::string& text, std::vector<platform::FormField>& fields) override
    {
        const std::uint32_t r = rng.U32();
        inner.forms.clear();
        if (r % 3 == 1)
            inner.forms.push_back(std::vector<std::string>{"127.0.0.1", "4532", radio::kRawCaption});
        else if (r % 3 == 2)
            inner.forms.push_back(std::vector<std::string>{"radio.local", "99999", radio::kRfc2217Caption});
        const bool ok = inner.AskForm(title, text, fields);
        if (inner.shownForms.size() > 64)
            inner.shownForms.erase(inner.shownForms.begin(), inner.shownForms.begin() + 32);
        return ok;
    }
    void ShowHelp(const std::string& topic) override { inner.ShowHelp(topic); }
    void CloseHelp() override { inner.CloseHelp(); }

    platform::ScriptedDialogs inner;
    platform::VirtualEventLoop* loop = nullptr;
    Rng rng{1};
    int open = 0;
    long shown = 0;
    std::function<void(const std::string& text, const std::string& title)> onBox;
};

// Files in memory, for reading back what was written without touching the disk.
class BytesFs final : public platform::FileSystem {
public:
    platform::IoResult ReadOrCreate(const std::string& path, std::size_t maxBytes, std::string& out) override
    {
        out = files[path].substr(0, maxBytes);
        return platform::IoResult::Ok();
    }
    platform::IoResult WriteAtomic(const std::string& path, std::string_view data) override
    {
        files[path] = std::string(data);
        return platform::IoResult::Ok();
    }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    platform::IoResult Remove(const std::string& path) override
    {
        files.erase(path);
        return platform::IoResult::Ok();
    }
    platform::IoResult Rename(const std::string& from, const std::string& to) override
    {
        files[to] = files[from];
        files.erase(from);
        return platform::IoResult::Ok();
    }
    std::map<std::string, std::string> files;
};

// A network client's view of the rig: the client that keyed the transmitter is remembered, as
// the server does, so a dropped connection unkeys only what it keyed.
class ClientRig final : public net::RigModel {
public:
    ClientRig(net::RigModel& rig, std::function<void(bool)> keyed) : m_rig(rig), m_keyed(std::move(keyed)) {}
    bool Lit() const override { return m_rig.Lit(); }
    net::Got<net::Vfo> CurrentVfo() const override { return m_rig.CurrentVfo(); }
    int ToggleVfo() override { return m_rig.ToggleVfo(); }
    net::Got<std::int64_t> Frequency(net::Vfo v) const override { return m_rig.Frequency(v); }
    int SetFrequency(net::Vfo v, std::int64_t hz) override { return m_rig.SetFrequency(v, hz); }
    net::Got<net::RigMode> Mode(net::Vfo v) const override { return m_rig.Mode(v); }
    int SetMode(net::Vfo v, net::RigMode m) override { return m_rig.SetMode(v, m); }
    net::Got<bool> Ptt() const override { return m_rig.Ptt(); }
    int SetPtt(bool on) override
    {
        const bool was = m_rig.Ptt().value;
        const int r = m_rig.SetPtt(on);
        if (r == 0 && on != was)
            m_keyed(on);
        return r;
    }
    net::Got<bool> Split() const override { return m_rig.Split(); }
    int SetSplit(bool on) override { return m_rig.SetSplit(on); }
    net::Got<int> SMeter() const override { return m_rig.SMeter(); }

private:
    net::RigModel& m_rig;
    std::function<void(bool)> m_keyed;
};

// ---------------------------------------------------------------------------------------------
// The program, composed as program/Program.h composes it, over the virtual clock and the
// in-process simulator. The radio outlives it: File > Exit and a new start meet the same radio.

struct Machine {
    Machine(const std::string& dir, sim::Ft817& radio, FaultyFileSystem& fs, OperatorDialogs& dialogs)
        : port(loop, radio, sim::WireOptions{}), files(s, fs, dialogs, dir), memory(s, fs, dialogs), cat(s, port, loop),
          commPort(port), comm(s, commPort, dialogs), networkPort(s, comm, network, dialogs, fs, dir),
          meter(s, cat, loop, display), rateDetect(s, cat, comm, dialogs), panel(Ctx(dialogs)),
          rig(Ctx(dialogs), panel), menuLock(s, display, dialogs), scope(Ctx(dialogs), panel.Tuning(), fs, dir),
          channels(s, fs, dialogs)
    {
        cat.SetFrameGap(panel::kRadioFrameGap);
        memory.SetRecoveryFolder(dir);
        rig.moxKey = [this] { panel.Transmit().PressMox(); };
        panel::WirePanelMenus(menus, panel, comm, memory, dialogs);
        // The network port's address and choice; the simulator's port stands for it once chosen.
        menus.On(panel::MenuGroup::CommPort, radio::kPortNetwork, [this] { networkPort.ChooseNetworkPort(); });
        networkPort.Load();
        menus.On(panel::MenuGroup::Settings, radio::kDetectCatRateEntry, [this] { rateDetect.DetectCatRate(); });
        panel.Power().AddSwitchable(scope, panel::SwitchOffOrder::SCAN);
        panel.Power().StopAtPowerOff(scope.TimerScope());
        for (auto& c : clients)
            c.rig = std::make_unique<ClientRig>(rig, [this, &c](bool on) { keyer = on ? &c : nullptr; });
        for (auto& c : clients)
            c.session = std::make_unique<net::Session>(*c.rig);
    }
    panel::PanelContext Ctx(OperatorDialogs& dialogs)
    {
        return {s, display, dialogs, loop, window, cat, comm, meter, files, memory};
    }

    struct Client {
        std::unique_ptr<ClientRig> rig;
        std::unique_ptr<net::Session> session;
    };

    platform::VirtualEventLoop loop;
    sim::SimPort port;
    OperatorWindow window;
    state::ModKIVO s;
    platform::DisplayModel display;
    state::DataFiles files;
    state::MemoryFile memory;
    radio::Cat cat;
    radio::CommPort commPort;
    panel::PortChoice comm;
    platform::TcpSerialPort network; // only its address: never opened
    panel::NetworkPortChoice networkPort;
    panel::Meter meter;
    panel::RateSearch rateDetect;
    panel::FrontPanel panel;
    panel::NetworkRig rig;
    lock::MenuLock menuLock;
    scope::BandScope scope;
    memmgr::ChannelFile channels;
    panel::MainMenu menus;
    std::array<Client, 3> clients;
    const Client* keyer = nullptr;
    bool scopeOpen = false;
};

// The data a user who has worked the program before has: port 1, memories (channel 0 for the
// priority monitor, a split memory, two banks), the meter at 500 ms, the priority monitor at 5 s,
// the scan pause at 3 s.
void WriteStartFiles(const std::string& dir)
{
    platform::PosixFileSystem fs;
    platform::ScriptedDialogs dialogs;
    state::ModKIVO f;
    f.Settings.CommPort = 1;
    f.Settings.CatRate = 1;
    f.Settings.MeterSpeed = 1;
    f.Settings.PRISpeed = 2;
    f.Settings.ScanSpeed = 3;
    f.Settings.PauseInterval = 3;
    f.Settings.TuneOnStartup = 0;
    f.Settings.FormLeft = 1500;
    f.Settings.FormTop = 1200;
    const std::string memPath = dir + "/mem/start.mem";
    f.Settings.LastMemFile.Assign(memPath);
    auto& bd = f.BandData;
    bd.LastBandMB = 1;
    bd.LastBandSB = 0;
    bd.BandVFOMB[1] = {14520000, 5, 60000, -1, 1, 8, 0, 0};
    bd.BandVFOSB[0] = {43310000, 5, 760000, 0, 0, 12, 5, 0};
    // HOME channels on 2 m, 20 m and 70 cm.
    f.HomeMem[1].VFO1 = {14600000, 5, 60000, 0, 0, 8, 0, 0};
    f.HomeMem[1].Band1 = 1;
    f.HomeMem[7].VFO1 = {1423000, 1, 0, 0, 0, 8, 0, 0};
    f.HomeMem[7].Band1 = 7;
    f.HomeMem[0].VFO1 = {43350000, 5, 760000, 0, 0, 8, 0, 0};
    f.HomeMem[0].Band1 = 0;
    state::DataFiles w(f, fs, dialogs, dir);
    w.SaveSettingsFile();
    w.SaveBandDataFile();
    w.SaveHomeFile();
    std::array<state::MemRec, state::kMemCount> mem{};
    const auto put = [&mem](int pos, state::Long freq, state::Integer mode, state::Integer band) {
        auto& m = mem[std::size_t(pos)];
        m.VFO1 = {freq, mode, 60000, 0, 0, 8, 0, 0};
        m.Band1 = band;
        m.Desc.Assign("ch " + std::to_string(pos));
    };
    put(0, 14550000, 5, 1);
    put(1, 1407400, 1, 7);
    put(2, 709000, 0, 9);
    put(3, 14480000, 5, 1);
    put(5, 5031000, 1, 2);
    put(7, 1420000, 1, 7);
    mem[7].Split = -1;
    mem[7].VFO2 = {1425000, 1, 0, 0, 0, 8, 0, 0};
    mem[7].Band2 = 7;
    put(12, 43350000, 5, 0);
    put(51, 2807400, 1, 3);
    put(60, 2100000, 2, 5);
    mem[0].BankSel = -1;
    mem[50].BankSel = -1;
    mem[3].Skip = -1;
    state::MemoryFile mf(f, fs, dialogs);
    mf.OpenMemoryFile(memPath); // made, empty
    f.MemData = mem;
    mf.SaveMemoryFile();
}

} // namespace

// ---------------------------------------------------------------------------------------------

std::string Describe(const Step& st)
{
    const std::uint32_t a = st.arg, m = st.more;
    std::string d;
    switch (st.act) {
    case Act::PanelKey: d = "key " + PickKey(a).name; break;
    case Act::MckHold: d = "MCK held " + std::to_string(100 + m % 1200) + " ms"; break;
    case Act::Knob:
        d = std::string(a % 3 == 0   ? "main"
                        : a % 3 == 1 ? "sub"
                                     : "channel") +
            " knob " + std::to_string(1 + (m % 8)) + " detents " + ((m / 8) % 2 ? "up" : "down");
        break;
    case Act::Jog:
        d = std::string("jog ") + (a % 2 ? "UP" : "DWN") + " held " + std::to_string(100 + m % 1500) + " ms";
        break;
    case Act::Keyboard: {
        const auto& k = KeyStrokes()[a % KeyStrokes().size()];
        d = std::string("keyboard ") + k.name + " held " + std::to_string(30 + m % 900) + " ms" +
            (m % 11 == 0 ? ", focus lost" : "");
        break;
    }
    case Act::Menu: {
        const auto& e = MenuChoices()[a % MenuChoices().size()];
        d = std::string("menu ") + panel::MenuElement(e.group, e.index) + " \"" + e.caption + "\"";
        break;
    }
    case Act::Network: d = "net " + std::to_string(a % 3) + ": " + NetLine(a, m); break;
    case Act::MemoryManager: d = "memory manager op " + std::to_string(a % 8) + (m % 4 ? ", SAVE" : ", CANCEL"); break;
    case Act::Scope: d = "scope op " + std::to_string(a % 10); break;
    case Act::File: {
        d = std::string("file ") + kFileNames[a % 8];
        const int k = int(m % 5);
        if (a % 8 == 1 || a % 8 == 3)
            d += std::string(" ") + (kMemPaths[k] ? kMemPaths[k] : "(cancel)");
        break;
    }
    case Act::LineFault: d = std::string("fault: ") + kFaultNames[a % kFaultKinds]; break;
    case Act::RadioDial: d = "radio dial " + std::string(a % 4 == 0 ? "to another band" : "turned"); break;
    case Act::RadioMode: d = std::string("radio MODE ") + radio::ModeTable[a % 8].caption; break;
    case Act::RadioVfo: d = "radio A/B for " + std::to_string(200 + m % 3000) + " ms"; break;
    case Act::Wait: d = "wait"; break;
    case Act::Quiet: d = "quiet period"; break;
    case Act::kCount: d = "?"; break;
    }
    return d + (st.waitMs ? ", " + std::to_string(st.waitMs) + " ms" : "");
}

namespace {
const char* const kActNames[] = {"PanelKey",  "MckHold",       "Knob",  "Jog",  "Keyboard",  "Menu",
                                 "Network",   "MemoryManager", "Scope", "File", "LineFault", "RadioDial",
                                 "RadioMode", "RadioVfo",      "Wait",  "Quiet"};
static_assert(std::size(kActNames) == std::size_t(Act::kCount));
} // namespace

std::string Literal(const Step& st)
{
    char b[128];
    std::snprintf(b, sizeof b, "{Act::%s, %uu, %uu, %u}", kActNames[std::size_t(st.act)], st.arg, st.more,
                  unsigned(st.waitMs));
    return b;
}

std::vector<Step> ParseSteps(const std::string& text)
{
    std::vector<Step> steps;
    for (auto at = text.find("{Act::"); at != std::string::npos; at = text.find("{Act::", at + 1)) {
        char name[32] = {};
        unsigned arg = 0, more = 0, wait = 0;
        if (std::sscanf(text.c_str() + at, "{Act::%31[A-Za-z], %uu, %uu, %u}", name, &arg, &more, &wait) != 4)
            continue;
        for (std::size_t a = 0; a < std::size(kActNames); ++a)
            if (std::string_view(name) == kActNames[a])
                steps.push_back({Act(a), arg, more, std::uint16_t(wait)});
    }
    return steps;
}

std::vector<Step> GenerateSteps(std::uint64_t seed, std::size_t count)
{
    Rng r{seed * 0x2545F4914F6CDD1Dull + 1};
    std::vector<Step> v;
    v.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        Step st;
        st.act = PickAct(r.U32());
        st.arg = r.U32();
        st.more = r.U32();
        const std::uint32_t w = r.U32();
        st.waitMs = std::uint16_t(w % 5 == 0 ? w % 1500 : w % 250);
        v.push_back(st);
    }
    return v;
}

std::vector<Step> StepsFromBytes(const std::uint8_t* data, std::size_t size)
{
    std::vector<Step> v;
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        const std::uint8_t* b = data + i;
        Step st;
        st.act = PickAct(std::uint32_t(b[0]) * 4u + (b[1] & 3u));
        st.arg = std::uint32_t(b[1]) | std::uint32_t(b[2]) << 8 | std::uint32_t(b[3]) << 16;
        st.more = std::uint32_t(b[4]) | std::uint32_t(b[5]) << 8 | std::uint32_t(b[6]) << 16;
        st.waitMs = std::uint16_t(b[7] * 6);
        v.push_back(st);
    }
    return v;
}

void Tally::Add(const Tally& o)
{
    for (const auto& [k, n] : o.reached)
        reached[k] += n;
    for (const auto& [k, n] : o.faults)
        faults[k] += n;
    for (const auto& [k, n] : o.skipped)
        skipped[k] += n;
    steps += o.steps;
    checks += o.checks;
    agreements += o.agreements;
    virtualSeconds += o.virtualSeconds;
}

std::string Tally::Text() const
{
    std::ostringstream o;
    long faultCount = 0;
    for (const auto& [k, n] : faults)
        faultCount += n;
    o << steps << " steps, " << long(virtualSeconds) << " s of virtual time, " << checks << " invariant checks, "
      << agreements << " agreement checks, " << faultCount << " faults injected\n  reached:";
    for (const auto& [k, n] : reached)
        o << " " << k << " " << n << ",";
    o << "\n  faults:";
    for (const auto& [k, n] : faults)
        o << " " << k << " " << n << ",";
    o << "\n  quiet periods not compared:";
    for (const auto& [k, n] : skipped)
        o << " " << k << " " << n << ",";
    return o.str();
}

// ---------------------------------------------------------------------------------------------
// One run.

namespace {

std::string FreshDir()
{
    std::string base = "/dev/shm";
    if (const char* t = std::getenv("KIVO_RANDOM_DIR"))
        base = t;
    std::error_code ec;
    if (!std::filesystem::is_directory(base, ec))
        base = std::filesystem::temp_directory_path().string();
    std::string tmpl = base + "/kivo-random-XXXXXX";
    if (!::mkdtemp(tmpl.data()))
        return {};
    for (const char* sub : {"mem", "ro", "full"})
        std::filesystem::create_directory(tmpl + "/" + sub, ec);
    return tmpl;
}

class Run {
public:
    explicit Run(Tally& tally) : m_tally(tally), m_dir(FreshDir())
    {
        WriteStartFiles(m_dir);
        for (const char* p : {"ro/c.mem", "ro/list.csv"})
            m_fs.writeErrors[m_dir + "/" + p] = EROFS;
        m_fs.writeErrors[m_dir + "/full/d.mem"] = ENOSPC;
        m_fs.onWritten = [this](const std::string& path, std::string_view data) { CheckWritten(path, data); };
        Start();
    }
    ~Run()
    {
        m_m.reset();
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    // The step and the checks after it; the broken invariant, or empty.
    std::string Do(const Step& st);
    // A quiet period and the agreement of the radio and the panel.
    std::string Quiet();

private:
    void Start();
    void Restart();
    void Wait(double seconds) { m_m->loop.Advance(seconds); }
    bool Enabled(const std::string& name) const { return m_m->display.Has(name) && m_m->display.Get(name).enabled; }
    void Apply(const Step& st);
    void PanelKey(const Step& st);
    void Knob(const Step& st);
    void Keyboard(const Step& st);
    void Menu(const Step& st);
    void Network(const Step& st);
    void MemoryManager(const Step& st);
    void Scope(const Step& st);
    void File(const Step& st);
    void LineFault(const Step& st);
    void RadioDial(const Step& st);
    void TrackFrame(const sim::ReceivedFrame& f);
    std::string CheckStep(const Step& st, bool wasOnAir);
    std::string CheckAgreement();
    void CheckWritten(const std::string& path, std::string_view data);
    void Count(const Step& st);
    bool PortUsable() const
    {
        return m_m->port.IsOpen() && !m_m->port.Vanished() && !m_m->comm.WasLost() && !m_portGone;
    }

    // Fields of the radio the panel cannot know: a lost set command, the radio's own dial or
    // MODE key, a frame that landed on the other VFO while the operator had switched it.
    struct Unknown {
        bool freq = false;
        bool mode = false;
    };

    Tally& m_tally;
    std::string m_dir;
    sim::Ft817 m_radio;
    FaultyFileSystem m_fs;
    OperatorDialogs m_dialogs;
    std::unique_ptr<Machine> m_m;
    state::BandDataRec m_loadedBand; // the band store as the last start loaded it
    std::array<Unknown, 2> m_unknown{};
    bool m_swapped = false;  // the operator has the radio on the VFO the panel does not expect
    bool m_portGone = false; // the cable is out
    enum class Keyer { None, Mox, Space, Client } m_keyedBy = Keyer::None;
    std::string m_fileError;
    std::size_t m_timerBase = 0;
    bool m_diskFull = false;
    bool m_trace = std::getenv("KIVO_RANDOM_TRACE") != nullptr;
    std::map<std::string, bool> m_inState;
    std::unique_ptr<platform::Timer> m_watchdog;
    // No step may take longer than this on the virtual clock.
    static constexpr int kStepLimitSeconds = 600;
    // Nor more passes of the event pump than 600 s of the fastest timer could need.
    static constexpr long kPassLimit = 2000000;
    long m_passes = 0;
};

// Thrown by the watchdog out of a step that never ends (a wait inside the program that virtual
// time cannot finish); the run is over then.
struct Hang {};

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
    BytesFs fs;
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
    const bool following = p.DialFollower().Following() && s.Settings.MeterSpeed != 6 &&
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

} // namespace

Outcome RunSteps(const std::vector<Step>& steps, Tally* tally)
{
    Tally local;
    Tally& t = tally ? *tally : local;
    Run run(t);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (std::string broken = run.Do(steps[i]); !broken.empty())
            return {true, i, broken};
    }
    if (std::string broken = run.Quiet(); !broken.empty())
        return {true, steps.size(), broken};
    return {};
}

namespace {

// The invariant's name: the text before its first colon.
std::string Kind(const std::string& what) { return what.substr(0, what.find(':')); }

} // namespace

std::vector<Step> Shrink(const std::vector<Step>& steps, const Outcome& failure, int replays)
{
    const std::string kind = Kind(failure.what);
    std::vector<Step> cur(steps.begin(), steps.begin() + std::ptrdiff_t(std::min(failure.step + 1, steps.size())));
    const auto fails = [&](const std::vector<Step>& v) {
        if (replays-- <= 0)
            return false;
        const Outcome o = RunSteps(v);
        return o.failed && Kind(o.what) == kind;
    };
    // Delta debugging: drop chunks while the failure stays, finer as it stops shrinking.
    std::size_t n = 2;
    while (cur.size() >= 2 && replays > 0) {
        const std::size_t chunk = (cur.size() + n - 1) / n;
        bool reduced = false;
        for (std::size_t start = 0; start < cur.size() && replays > 0; start += chunk) {
            std::vector<Step> rest(cur.begin(), cur.begin() + std::ptrdiff_t(start));
            rest.insert(rest.end(), cur.begin() + std::ptrdiff_t(std::min(cur.size(), start + chunk)), cur.end());
            if (!rest.empty() && fails(rest)) {
                cur = std::move(rest);
                n = std::max<std::size_t>(n - 1, 2);
                reduced = true;
                break;
            }
        }
        if (!reduced) {
            if (n >= cur.size())
                break;
            n = std::min(cur.size(), n * 2);
        }
    }
    return cur;
}

std::string Report(const std::vector<Step>& steps, const Outcome& failure)
{
    std::ostringstream o;
    o << failure.what << "\n  after step " << failure.step + 1 << " of " << steps.size() << ":\n";
    for (std::size_t i = 0; i < steps.size(); ++i)
        o << "  " << i + 1 << ". " << Describe(steps[i]) << "    " << Literal(steps[i]) << ",\n";
    return o.str();
}

} // namespace kivo::testing
