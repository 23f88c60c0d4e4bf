#pragma once
// The front panel: one unit per concern, composed here. FrontPanel holds no feature logic; it
// builds the units, wires their timers and hooks, and is the one door the window uses. Each
// key's handler lives in its unit:
//   Power        start-up, POWER (PressPower), shutdown, the knob resend timer, two Settings menus
//   VfoModel     the two VFO states, the band store, sending them to the radio, SYNC
//   Tuning       MainKnob, SubKnob, ChannelKnob, the jog and MHz keys, FAST, LOCK
//   KeyEnabling  which keys, knobs and jog keys accept input; the list of the keys
//   TuningSteps  the tuning-steps dialog
//   Keypad       frequency entry: ENT, the decimal key, the keys that double as digits
//   BandMode     the band keys, band up and down, the mode keys, HOME
//   VfoOperations A > B, A < > B, SUB
//   Split        SPLIT
//   Clarifier    CLAR
//   TimerDelay   the blink and time-out timer the features below share
//   Memories     VFO/MR, MR, stepping through and recalling memories
//   MemoryCheck  MCK: browsing the memories, hold to store
//   QuickMemories STO and RCL with the ten quick memories
//   RepeaterTones  RPT, REV, TONE, the automatic repeater shift
//   ToneCodes    the CTCSS tone and DCS code dialogs
//   RepeaterShifts  the repeater shift dialog
//   Transmit     MOX
//   DialFollower following the radio's own dial and MODE key (Settings > Follow Radio Dial)
//   Pms          PMS: the PMS key, storing the PMS limits, the PMS function
//   PriorityMonitor PRI: the PRI key, its interval menu, the check of channel 0
//   DisplaySettings Settings > Display: sizes, LCD or radio view, colour schemes
//   Scanner      SCAN, SEARCH, the jog keys while SCAN is armed, the VFO and memory scans
//   Keyboard     the computer keyboard's key table onto the handlers above

#include "panel/BandMode.h"
#include "panel/Clarifier.h"
#include "panel/DialFollower.h"
#include "panel/DisplaySettings.h"
#include "panel/KeyEnabling.h"
#include "panel/Keyboard.h"
#include "panel/KeyboardTargets.h"
#include "panel/Keypad.h"
#include "panel/LinkReports.h"
#include "panel/Memories.h"
#include "panel/MemoryCheck.h"
#include "panel/PanelContext.h"
#include "panel/Pms.h"
#include "panel/PortMenu.h"
#include "panel/Power.h"
#include "panel/PriorityMonitor.h"
#include "panel/QuickMemories.h"
#include "panel/RepeaterShifts.h"
#include "panel/RepeaterTones.h"
#include "panel/Scanner.h"
#include "panel/Split.h"
#include "panel/TimerDelay.h"
#include "panel/ToneCodes.h"
#include "panel/Transmit.h"
#include "panel/Tuning.h"
#include "panel/TuningSteps.h"
#include "panel/VfoModel.h"
#include "panel/VfoOperations.h"

namespace kivo::panel {

// Gap a radio needs between two frames; closer frames are dropped.
inline constexpr double kRadioFrameGap = 0.1;

class FrontPanel {
public:
    // Builds the units over `ctx` and shows the dark panel.
    explicit FrontPanel(const PanelContext& ctx);
    FrontPanel(const FrontPanel&) = delete;
    FrontPanel& operator=(const FrontPanel&) = delete;

    panel::PortMenu& PortMenu() { return m_portMenu; }
    panel::LinkReports& LinkReports() { return m_linkReports; }
    panel::Power& Power() { return m_power; }
    panel::VfoModel& VfoModel() { return m_vfo; }
    panel::Tuning& Tuning() { return m_tuning; }
    panel::KeyEnabling& KeyEnabling() { return m_keys; }
    panel::TuningSteps& TuningSteps() { return m_steps; }
    panel::Keypad& Keypad() { return m_keypad; }
    panel::BandMode& BandMode() { return m_band; }
    panel::VfoOperations& VfoOperations() { return m_vfoOps; }
    panel::Split& Split() { return m_split; }
    panel::Clarifier& Clarifier() { return m_clar; }
    panel::TimerDelay& TimerDelay() { return m_timerDelay; }
    panel::Memories& Memories() { return m_memories; }
    panel::MemoryCheck& MemoryCheck() { return m_mck; }
    panel::QuickMemories& QuickMemories() { return m_quick; }
    panel::RepeaterTones& RepeaterTones() { return m_repeater; }
    panel::ToneCodes& CtcssTones() { return m_ctcss; }
    panel::ToneCodes& DcsCodes() { return m_dcs; }
    panel::RepeaterShifts& RepeaterShifts() { return m_shifts; }
    panel::Transmit& Transmit() { return m_transmit; }
    panel::DialFollower& DialFollower() { return m_follow; }
    panel::Pms& Pms() { return m_pms; }
    panel::PriorityMonitor& PriorityMonitor() { return m_pri; }
    panel::Scanner& Scanner() { return m_scanner; }
    panel::Keyboard& Keyboard() { return m_keyboard; }
    PanelKeyTargets& KeyTargets() { return m_keyTargets; }
    panel::DisplaySettings& DisplaySettings() { return m_displaySettings; }

private:
    // First: they show what the other units' first frames and port choices report.
    panel::PortMenu m_portMenu;
    panel::LinkReports m_linkReports;
    panel::KeyEnabling m_keys;
    panel::VfoModel m_vfo;
    panel::Power m_power;
    panel::Tuning m_tuning;
    panel::TuningSteps m_steps;
    panel::Keypad m_keypad;
    panel::BandMode m_band;
    panel::VfoOperations m_vfoOps;
    panel::Split m_split;
    panel::Clarifier m_clar;
    panel::TimerDelay m_timerDelay;
    panel::Memories m_memories;
    panel::MemoryCheck m_mck;
    panel::QuickMemories m_quick;
    panel::RepeaterTones m_repeater;
    panel::ToneCodes m_ctcss;
    panel::ToneCodes m_dcs;
    panel::RepeaterShifts m_shifts;
    panel::Transmit m_transmit;
    panel::DialFollower m_follow;
    panel::Pms m_pms;
    panel::Scanner m_scanner;
    panel::PriorityMonitor m_pri; // listens through the scanner's hand-shake
    PanelKeyTargets m_keyTargets;
    panel::Keyboard m_keyboard;
    panel::DisplaySettings m_displaySettings;
};

} // namespace kivo::panel
