#pragma once
// The program as the random operator runs it: composed as the program composes it, over the
// virtual clock and the in-process simulator, with platform fakes that answer dialogs at random
// and keep what was written.

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

#include "tests/support/FakeWindow.h"
#include "tests/support/RandomChoices.h"
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

#include <map>
#include <memory>

namespace kivo::testing::randomop {

using platform::Answer;
using platform::Buttons;
namespace el = platform::el;

// ---------------------------------------------------------------------------------------------
// The platform fakes of the run.

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
    FakeWindow window;
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
// The data a user who has worked the program before has: port 1, memories (channel 0 for the
// priority monitor, a split memory, two banks), the meter at 500 ms, the priority monitor at 5 s,
// the scan pause at 3 s.
void WriteStartFiles(const std::string& dir);
// A fresh folder for one run's files, in memory where the system has it.
std::string FreshDir();

} // namespace kivo::testing::randomop
