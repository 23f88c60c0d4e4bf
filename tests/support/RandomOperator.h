#pragma once
// Deterministic simulation of the whole program under a random operator: the real program core
// (every panel unit through FrontPanel, the menus, dialogs with random answers, the network
// clients' commands, the memory manager, the band scope, the files) on the virtual clock against
// the in-process simulator, with faults on the line, on the disk and at the radio's own panel.
// The invariants are checked after every step and after every quiet period; a failing sequence
// shrinks to the shortest that still fails.
//
// A step is plain data, so a sequence comes from a seed (GenerateSteps), from a fuzzer's bytes
// (StepsFromBytes) or from a table of steps in a test, and replays the same every time.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kivo::testing {

enum class Act : std::uint8_t {
    PanelKey,      // a click on a front-panel, band or mode key (a disabled key takes none)
    MckHold,       // MCK pressed and held for a while
    Knob,          // a knob grabbed, turned some detents, released
    Jog,           // a jog key held
    Keyboard,      // a key of the computer keyboard, held for a while
    Menu,          // an entry of the menu bar, the dialogs it opens answered at random
    Network,       // a line from one of the network clients, or its connection dropped
    MemoryManager, // the memory manager opened, edited, saved or cancelled
    Scope,         // the band scope window: open, START/STOP, RESET, a chart click, close
    File,          // New, Open, Save, Save As, channel lists, the disk filling up or freed
    LineFault,     // a lost frame, a garbled, short, doubled or late answer, silence, the port gone
    RadioDial,     // the operator turns the radio's own dial
    RadioMode,     // the operator presses the radio's own MODE key
    RadioVfo,      // the operator looks at the radio's other VFO (A/B) and comes back
    Wait,          // time passes
    Quiet,         // a quiet period with no faults, then the radio and the panel must agree
    kCount,
};

struct Step {
    Act act = Act::Wait;
    std::uint32_t arg = 0;  // which key, entry, command, fault
    std::uint32_t more = 0; // its details: direction, count, hold time, the dialogs' answers
    std::uint16_t waitMs = 0;
    bool operator==(const Step&) const = default;
};

// "MOX", "net 2: F 14074000", "fault: lost frame": what the step does, for a failure's listing.
std::string Describe(const Step& step);
// The step as a row of a C++ table, for pasting a shrunk failure into a test.
std::string Literal(const Step& step);
// Every step written as Literal writes it in `text`, in order; anything else is skipped.
std::vector<Step> ParseSteps(const std::string& text);

std::vector<Step> GenerateSteps(std::uint64_t seed, std::size_t count);
// Eight bytes a step; a shorter tail is ignored.
std::vector<Step> StepsFromBytes(const std::uint8_t* data, std::size_t size);

// What a run reached and checked.
struct Tally {
    std::map<std::string, long> reached; // panel states entered: "MR", "PMS", "scan", ...
    std::map<std::string, long> faults;  // faults injected, by kind
    std::map<std::string, long> skipped; // quiet periods without an agreement check, by reason
    long steps = 0;
    long checks = 0;     // invariant checks made
    long agreements = 0; // quiet periods whose radio/panel agreement was compared
    double virtualSeconds = 0;
    void Add(const Tally& other);
    std::string Text() const;
};

struct Outcome {
    bool failed = false;
    std::size_t step = 0; // the step after which the invariant broke
    std::string what;     // which invariant, and how
};

// Runs the steps on a fresh program in a fresh data folder, checking after each. A quiet period
// with its agreement check runs after the last step too.
Outcome RunSteps(const std::vector<Step>& steps, Tally* tally = nullptr);

// The shortest sequence found (by removing steps, replaying from scratch each time) that still
// fails with the same invariant as `steps` does; at most `replays` runs.
std::vector<Step> Shrink(const std::vector<Step>& steps, const Outcome& failure, int replays = 400);

// A failure as text: the invariant and the numbered steps, each described and as a table row.
std::string Report(const std::vector<Step>& steps, const Outcome& failure);

} // namespace kivo::testing
