#pragma once
// The program's life: start-up, the POWER key (`PressPower`) switching the CAT system on and
// off, the resend timer of a turning knob, and shutdown.

#include "panel/KeyEnabling.h"
#include "panel/PanelContext.h"
#include "panel/Switchable.h"
#include "panel/VfoModel.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kivo::panel {

// Display colours (0xRRGGBB) of the display panel and the meter.
inline constexpr unsigned kUnlitColor = 0x404040;
inline constexpr unsigned kLit16BitColor = 0x00C8F0;
inline constexpr unsigned kLit8BitColor = 0x00FFFF;

// The Settings menu entry `mnuSettingsArray(14)`: "Tune to Radio on Start-up".
inline constexpr int kTuneOnStartupEntry = 14;

// Meter update menu entries 0..6 in ms; 0 is "OFF".
inline constexpr int kMeterIntervals[7] = {1000, 500, 400, 300, 200, 100, 0};

class Power : private ContextRefs {
public:
    // Shows the dark panel as the window first draws it.
    Power(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys);
    ~Power();

    // Operations of other units; unset, they do nothing.
    struct Hooks {
        // The PRI Monitor menu's handler, for the stored entry at start-up.
        std::function<void(int)> priSpeed;
    } hooks;
    // Menu handlers of other units that start-up applies with the stored settings (scanning,
    // pause); Power fills in its own.
    state::SettingsMenuHandlers settingsMenus;

    // Start-up: band data, settings (which open the port), HOME memories, the dark panel; the
    // splash stays at least 2 s. Sends nothing to the radio.
    void Load();
    // POWER: switches the CAT system on or off; refused with a message while no port is open.
    void PressPower();
    // Shutdown: offers to save changed memories, then POWER off (or its saves when dark).
    // False when the user cancelled (or the memory save failed) and the program runs on.
    bool EndKIVO();
    // The end nobody can answer questions at (a signal at logout, shutdown or Ctrl+C): transmit
    // off, unsaved memories into a recovery file, then POWER off with its saves.
    void EndUnattended();
    // The port's device went away: the port is closed at once; the message and the dark panel
    // follow from the event loop. Lost on air, the message says the radio may still transmit,
    // and POWER sends transmit off first once the port is back.
    void PortVanished();
    // Transmit off is owed to a radio the port was lost from on air; it goes out at POWER on.
    bool PttOffOwed() const { return m_pttOffOwed; }

    // Power-off asks each unit added here to switch itself off, by `order`, then in the order
    // added.
    void AddSwitchable(Switchable& unit, SwitchOffOrder order);
    // Power-off stops each timer added here once the state is saved.
    void StopAtPowerOff(platform::Timer& timer) { m_stopTimers.push_back(&timer); }

    // Settings > Meter Update entry 0..6 (6 is "OFF"); an entry out of range picks 500 ms.
    void ChooseMeterSpeed(int index);
    // Settings > Tune to Radio on Start-up: toggles the option.
    void ToggleTuneOnStartup();
    // POWER on reads both of the radio's VFOs before sending anything.
    bool TuneOnStartup() const { return m_s.Settings.TuneOnStartup != 0; }

    // Resends the tuned frequency every 250 ms while enabled (by a held knob).
    platform::Timer& TimerSendFreq() { return *m_timerSendFreq; }

    // "Version  1. 0. 0": each number with the leading blank of its text.
    static std::string VersionText(int major, int minor, int revision);

private:
    // Transmit off and the main VFO, owed to the radio since its port was lost, as the port
    // comes back.
    void SendWhatALostPortOwes();
    // What the radio is owed now: transmit off, the main VFO, and, while dark, split off.
    state::RadioOwed RadioOwedNow() const;
    // The data folder's record of it, written only when it changed.
    void KeepRadioOwed();
    // Transmit off, twice, when owed; still owed unless one went out.
    void SendPttOffOwed();
    // The same without POWER: on the port open now, or the lost one if its device is back.
    void SendPttOffOwedOnPortNow();
    void PowerOn();
    void PowerOff();
    void SaveWindowPosition();
    // The saves of shutdown: POWER off when lit, the same files when dark.
    void SaveAndGoDark();
    void ApplyLitColour();
    void ShowTuneOnStartup();

    platform::Window& m_window;
    PortChoice& m_comm;
    state::DataFiles& m_files;
    state::MemoryFile& m_memory;
    VfoModel& m_vfo;
    KeyEnabling& m_keys;
    std::unique_ptr<platform::Timer> m_timerSendFreq;
    std::vector<std::pair<SwitchOffOrder, Switchable*>> m_switchables;
    std::vector<platform::Timer*> m_stopTimers;
    bool m_pttOffOwed = false; // the port went away while the radio was on air
    state::RadioOwed m_owedOnDisk;
};

} // namespace kivo::panel
