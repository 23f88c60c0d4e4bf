#pragma once
// The two VFO states: loading them from and saving them into the per-band store, swapping them,
// sending them to the radio through the last-sent cache, and showing them.

#include "panel/KeyEnabling.h"
#include "panel/PanelContext.h"

#include <functional>

namespace kivo::panel {

// The other two functions' entries, for the units that re-enter the function in use.
struct FunctionHooks {
    // Enter MR or PMS again: reload and resend their VFOs.
    std::function<void()> changeToMRfunction;
    std::function<void()> changeToPMSfunction;
};

// Keys of other units that a change of band, HOME or function presses.
struct OtherKeyHooks {
    // The CLAR key's action, which turns the clarifier off when it is on.
    std::function<void()> clarKey;
    // The SPLIT key's action: SPLIT on after a split recall, off when leaving one.
    std::function<void()> splitKey;
    // Stops the priority monitor's timer; PRIOn is already clear.
    std::function<void()> stopPriorityMonitor;
};

class VfoModel : private ContextRefs {
public:
    // Captions the mode labels; the dark panel shows none of them.
    VfoModel(const PanelContext& ctx, KeyEnabling& keys);

    // What this unit asks of other units; FrontPanel wires them.
    struct Hooks {
        // The CLAR key's action, which turns the clarifier off when it is on.
        std::function<void()> clarKey;
    } hooks;

    // BandIdxMB and BandIdxSB from the bands of the last save.
    void GetLastVFOindices();
    // VFOMB from the band store's main VFO of BandIdxMB.
    void GetInfoVFOMB();
    // VFOSB from the band store's sub VFO of BandIdxSB.
    void GetInfoVFOSB();
    // VFOMB into the band store (the split marker stored as simplex); its band becomes the last.
    void SaveInfoVFOMB();
    // VFOSB into the band store; its band becomes the last.
    void SaveInfoVFOSB();
    // Exchanges the two VFOs' roles in the band store; callers save before and reload after.
    void SwapVFOMBSB();
    // VFOMB into the band store's PMS VFO of BandIdxMB.
    void SavePMSInfo();
    // VFOMB from the band store's PMS VFO of BandIdxMB; that band's tuning limits become its
    // PMS limits.
    void GetPMSInfo();
    // The band's tuning limits become its receive coverage again (outside PMS).
    void UseCoverageLimits(Integer band);
    // Brings the radio's current VFO in line with `rec`: the frequency always, every other field
    // only when it differs from the last-sent cache.
    void SendInfoToRadioVFOMB(const state::VFOInfo& rec);
    // The same for VFOSB; callers bracket it in two VFO toggles so it lands in the other VFO.
    void SendInfoToRadioVFOSB();
    // VFOSB into the radio's other VFO: bracketed in two toggles, unless SUB has the radio on it.
    void SendSubVfo();
    // Reloads both VFOs from the band store, sends them and resets the main band's tuning limits.
    void DisplayVFOInfo();
    // Enters the VFO function from MR, PMS or HOME and redisplays both VFOs; the clarifier and
    // memory tune end.
    void ChangeToVFOfunction();
    // Re-enters the function in use (MR or PMS through `to`, else VFO), which reloads its VFOs,
    // sends them and ends HOME.
    void ReenterFunction(const FunctionHooks& to);
    // SYNC: files the VFO being tuned (in VFO or PMS), then reads the radio's frequency and mode
    // into it.
    void PressSync();

    // The VFO the knobs and keys tune: the sub VFO while SUB is active, else the main.
    state::VFOInfo& TunedVFO() { return m_s.SubSelected ? m_s.VFOSB : m_s.VFOMB; }
    int TunedBand() const { return BandSlot(m_s.SubSelected ? m_s.BandIdxSB : m_s.BandIdxMB); }
    // Sends (and shows) the frequency of the VFO being tuned.
    void SendTunedFreq();

private:
    KeyEnabling& m_keys;
};

// The frequency moved onto the grid of the step: upward for a positive step, downward for a
// negative one; a frequency on the grid comes back unchanged.
Long RoundFreqToStep(Long freq, Long step);

} // namespace kivo::panel
