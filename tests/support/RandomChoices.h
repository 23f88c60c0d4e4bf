#pragma once
// The random operator's choices: the weights of the kinds of step, the keys, keyboard strokes,
// menu entries and client lines a step picks from, and the generator that draws them the same
// on every machine and library.

#include "panel/MainMenu.h"
#include "state/Records.h"
#include "tests/support/RandomOperator.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kivo::testing::randomop {

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

Act PickAct(std::uint32_t r);

// The front-panel keys the operator clicks, with their weights: the states the run must reach
// often (MR, PMS, HOME, scan, search, priority, SUB, split, MOX, lock) come more often.
struct KeyChoice {
    std::string name;
    int weight;
};

const std::vector<KeyChoice>& PanelKeys();
const KeyChoice& PickKey(std::uint32_t r);

// The keyboard keys: code, modifiers, and a name.
struct KeyStroke {
    int code;
    int mods;
    const char* name;
};
const std::vector<KeyStroke>& KeyStrokes();

// The menu entries a click can reach (commands, radio items and checks).
const std::vector<panel::MenuEntry>& MenuChoices();

// A frequency the radio's own dial or a client may ask for, in 10 Hz units: inside one of the
// panel's bands, or (for a client) now and then something no radio takes.
state::Long BandFrequency(std::uint32_t r);
// The line a network client sends.
std::string NetLine(std::uint32_t arg, std::uint32_t more);

inline constexpr const char* kFaultNames[] = {"lost frame",    "lost read",      "no answer",      "late answer",
                                              "short answer",  "garbled answer", "doubled answer", "silence",
                                              "port vanished", "lost PTT"};
inline constexpr int kFaultKinds = 10;

inline constexpr const char* kFileNames[] = {
    "New", "Open", "Save", "Save As", "Import CSV", "Export CSV", "disk full/freed", "Save"};
// The files the dialogs offer: two in a usable folder, one in a read-only folder, one on a full
// disk, and a cancel.
inline constexpr const char* kMemPaths[] = {"mem/a.mem", "mem/b.mem", "ro/c.mem", "full/d.mem", nullptr};
inline constexpr const char* kCsvPaths[] = {"mem/list.csv", "ro/list.csv", nullptr};

} // namespace kivo::testing::randomop
