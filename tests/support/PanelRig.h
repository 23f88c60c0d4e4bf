#pragma once
// The front panel over the in-process simulator, a virtual clock, scripted dialogs, a fake
// window and a real data folder.

#include "panel/FrontPanel.h"
#include "platform/VirtualEventLoop.h"
#include "radio/Cat.h"
#include "sim/Ft817.h"
#include "sim/SimPort.h"
#include "tests/support/Bytes.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/FileFixture.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace kivo::testing {

// Data files as a user who has run the program before has them: port 1, no tuning to the
// radio, the main VFO on 2 m FM with minus shift and a tone, the sub VFO on 70 cm.
inline bool WriteUsualFiles(platform::FileSystem& fs, platform::Dialogs& dialogs, const std::string& dir,
                            bool tuneOnStartup = false, int catRate = 1)
{
    state::ModKIVO f;
    f.Settings.CommPort = 1;
    f.Settings.CatRate = state::Integer(catRate);
    f.Settings.TuneOnStartup = tuneOnStartup ? -1 : 0;
    f.Settings.FormLeft = 1500;
    f.Settings.FormTop = 1200;
    auto& bd = f.BandData;
    bd.LastBandMB = 1;
    bd.LastBandSB = 0;
    bd.BandVFOMB[1] = {14520000, 5, 60000, -1, 1, 8, 0, 0};
    bd.BandVFOSB[0] = {43310000, 5, 760000, 0, 0, 12, 5, 0};
    state::DataFiles w(f, fs, dialogs, dir);
    return w.SaveSettingsFile() && w.SaveBandDataFile() && w.SaveHomeFile();
}

// The frames POWER on sends for the usual files: the main VFO, then the sub VFO inside two
// VFO toggles.
inline const std::vector<std::string> kUsualPowerOn{
    F({0x08, 0, 0, 0, 0x07}),    F({0x14, 0x52, 0x00, 0x00, 0x01}),
    F({0x09, 0, 0, 0, 0x09}),    F({0x00, 0x06, 0x00, 0x00, 0xF9}),
    F({0x4A, 0, 0, 0, 0x0A}),    F({0x08, 0x85, 0, 0, 0x0B}),
    F({0x00, 0x23, 0, 0, 0x0C}), F({0, 0, 0, 0, 0x81}),
    F({0x08, 0, 0, 0, 0x07}),    F({0x43, 0x31, 0x00, 0x00, 0x01}),
    F({0x10, 0x00, 0, 0, 0x0B}), F({0, 0, 0, 0, 0x81}),
};

// A frame on the wire: milliseconds after a chosen moment on the virtual clock, and its bytes
// in hex ("14 52 00 00 01").
struct Timed {
    long ms;
    std::string hex;
    bool operator==(const Timed&) const = default;
};
inline void PrintTo(const Timed& t, std::ostream* os) { *os << t.ms << " ms: " << t.hex; }

inline std::string Hex(const std::string& bytes)
{
    std::string hex;
    for (char c : bytes) {
        char b[4];
        std::snprintf(b, sizeof b, hex.empty() ? "%02X" : " %02X", unsigned(std::uint8_t(c)));
        hex += b;
    }
    return hex;
}

// A feature unit that power-off asks to switch off; `off` is what its key does.
struct FakeUnit final : panel::Switchable {
    explicit FakeUnit(std::function<void()> f) : off(std::move(f)) {}
    void SwitchOff() override { off(); }
    std::function<void()> off;
};

// What takes the MHz keys while an entry is pending; `key` is what it does with one.
struct FakeMhzEntry final : panel::MhzKeyEntry {
    explicit FakeMhzEntry(std::function<void(bool)> f) : key(std::move(f)) {}
    void MhzKey(bool up) override { key(up); }
    std::function<void(bool)> key;
};

class PanelRig : public FileFixture {
protected:
    platform::VirtualEventLoop loop;
    sim::Ft817 radio;
    sim::SimPort port{loop, radio, {.serviceTime = 0}};
    platform::DisplayModel display;
    radio::Cat cat{s, port, loop};
    radio::CommPort commPort{port};
    panel::PortChoice comm{s, commPort, dialogs};
    panel::Meter meter{s, cat, loop, display};
    FakeWindow window;
    panel::FrontPanel panel{{s, display, dialogs, loop, window, cat, comm, meter, files, memory}};

    void WriteUsualFiles(bool tuneOnStartup = false)
    {
        ASSERT_TRUE(kivo::testing::WriteUsualFiles(fs, dialogs, dir.path(), tuneOnStartup));
    }
    // The usual files, loaded, POWER on (with Meter Update entry `meterSpeed` when given), half a
    // second on, and the frames so far taken.
    void StartLit(int meterSpeed = -1)
    {
        WriteUsualFiles();
        panel.Power().Load();
        panel.Power().PressPower();
        if (meterSpeed >= 0)
            panel.Power().ChooseMeterSpeed(meterSpeed);
        loop.Advance(0.5);
        TakeFrames();
    }
    // Frames the simulator received since the last take, timed from `t0`; meter polls left out
    // unless `polls`.
    std::vector<Timed> TakeTimed(double t0, bool polls)
    {
        std::vector<Timed> v;
        for (const auto& f : port.GetWire().Frames())
            if (polls || std::uint8_t(f.bytes[4]) != 0xE7)
                v.push_back({std::lround((f.at - t0) * 1000), Hex(f.bytes)});
        port.GetWire().ClearFrames();
        return v;
    }
    // Frames the simulator received since the last call.
    std::vector<std::string> TakeFrames()
    {
        std::vector<std::string> v;
        for (const auto& f : port.GetWire().Frames())
            v.push_back(f.bytes);
        port.GetWire().ClearFrames();
        return v;
    }
    // The same, meter polls left out.
    std::vector<std::string> TakeSent()
    {
        std::vector<std::string> v;
        for (auto& f : TakeFrames())
            if (std::uint8_t(f[4]) != 0xE7)
                v.push_back(std::move(f));
        return v;
    }
    bool Enabled(const std::string& n) const { return display.Get(n).enabled; }
    bool Shown(const std::string& n) const { return display.Has(n) && display.Get(n).visible; }
};

} // namespace kivo::testing
