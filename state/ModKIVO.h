#pragma once
// The process-wide state of the front panel: one instance, owned by the program, shared by
// every unit of the panel, the memory manager and the band scope.

#include "state/Records.h"

#include <array>
#include <string>

namespace kivo::state {

enum VFOMRModes : Integer { kModeMR = 1, kModeVFO = 2, kModePMS = 3 };

struct ModKIVO {
    VFOInfo VFOMB;
    VFOInfo VFOSB;
    Integer BandIdxMB = 0;
    Integer BandIdxSB = 0;
    BandDataRec BandData = DefaultBandData();
    std::array<MemRec, kMemCount> MemData{};
    int MemCount = 0;
    int CurMemPos = 0;
    int PrevMemPos = 0;
    bool MemChanged = false;
    std::array<MemRec, kBandCount> HomeMem{};
    std::array<QuickMemRec, kQuickMemCount> QuickMem{};
    bool QMBStore = false;
    bool QMBRecall = false;
    Integer VFOMRMode = kModeVFO;
    bool MCKOn = false;
    bool SplitOn = false;
    bool HomeOn = false;
    SettingsRec Settings = DefaultSettings();
    bool CATOn = false;
    bool PortReady = false;
    bool RadioSplitOn = false;
    bool SubSelected = false;
    bool ClarOn = false;
    bool KeypadOn = false;
    bool ScanArmed = false;
    bool SearchOn = false;
    int ScanDir = 0;
    Long ScanStep = 0;
    bool PRIOn = false;
    bool MenusLocked = false;
    // Panel states the display shows and nothing reads back from it.
    bool FastOn = false;       // FAST: steps ten times larger (ledFAST)
    bool LockOn = false;       // LOCK: the knobs refuse input (ledLOCK)
    bool Transmitting = false; // MOX keyed, the radio on air (lblOnAir)
    bool MTOn = false;         // tuning away from a memory channel (lblMT)
    bool JogHeld = false;      // a jog key held down to tune (not to scan)
    // A knob key held down with its knob's motion started, and the direction of the last one.
    bool MainKnobKeyHeld = false;
    bool SubKnobKeyHeld = false;
    bool ChannelKnobKeyHeld = false;
    int KeyKnobDir = 0;
    // The blink timer's tag: the memory-check phase "OFF", "ONE" or "TWO"; empty until the
    // first POWER on.
    std::string TimerDelayTag;

    // Every byte of all 1000 positions to zero.
    void EmptyMemData() { MemData.fill(MemRec{}); }
};

} // namespace kivo::state
