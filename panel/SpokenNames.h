#pragma once
// The front panel in words, as a screen reader says it: one table of what every key, knob,
// display, lamp and label is called, and the readings of the displays and the meter put into
// words from what the display model shows. The window gives these to its widgets; nothing
// here knows of the toolkit.

#include "platform/DisplayModel.h"
#include "platform/Elements.h"

#include <array>
#include <string>
#include <string_view>

namespace kivo::panel {

// The modes in words, by mode code.
inline constexpr std::array<const char*, 8> kModeWords{"LSB", "USB", "CW",      "CW reverse",
                                                       "AM",  "FM",  "digital", "packet"};

struct SpokenElement {
    const char* name; // an element, or the name of an element array
    int index;        // the array element, -1 for a plain element
    const char* words;
};

// Every element of the front panel a screen reader reaches, by the words it says for it: the
// printed caption spelt out ("BAND ▲" is "Band up", "V/M" is "VFO or memory"). The mode keys and
// labels say "Mode" or "Sub mode" and kModeWords, the band keys "Band", their caption and
// "megahertz".
inline constexpr std::array<SpokenElement, 63> kSpokenNames{{
    // Keys, row by row as on the panel.
    {el::CATbutton, -1, "Power"},
    {el::MOXbutton, -1, "MOX transmit"},
    {el::VFOMRbutton, -1, "VFO or memory"},
    {el::HOMEbutton, -1, "Home"},
    {el::MCKbutton, -1, "Memory check"},
    {el::PMSbutton, -1, "Programmed memory scan"},
    {el::PRIbutton, -1, "Priority"},
    {el::SCANbutton, -1, "Scan"},
    {el::SEARCHbutton, -1, "Search"},
    {el::ABbutton, -1, "A to B"},
    {el::SWAPbutton, -1, "Swap A and B"},
    {el::SPLITbutton, -1, "Split"},
    {el::SUBbutton, -1, "Sub"},
    {el::SYNCbutton, -1, "Sync"},
    {el::CLARbutton, -1, "Clarifier"},
    {el::RCLbutton, -1, "Recall"},
    {el::STObutton, -1, "Store"},
    {el::RPTbutton, -1, "Repeater shift"},
    {el::REVbutton, -1, "Reverse"},
    {el::TONEbutton, -1, "Tone"},
    {el::DOPbutton, -1, "Decimal point"},
    {el::SCOPEbutton, -1, "Band scope"},
    {el::ENTbutton, -1, "Enter"},
    {el::FASTbutton, -1, "Fast"},
    {el::LOCKbutton, -1, "Lock"},
    {el::BandDownButton, -1, "Band down"},
    {el::BandUpButton, -1, "Band up"},
    // Knobs and the keys beside them.
    {el::MainKnob, -1, "Main tuning knob"},
    {el::ChannelKnob, -1, "Channel knob"},
    {el::SubKnob, -1, "Clarifier knob"},
    {el::btnJogDown, -1, "Step down"},
    {el::btnJogUp, -1, "Step up"},
    {el::MhzDownButton, -1, "Megahertz down"},
    {el::MhzUpButton, -1, "Megahertz up"},
    {el::ledFAST, -1, "Fast lamp"},
    {el::ledLOCK, -1, "Lock lamp"},
    {el::LEDsub, -1, "Sub lamp"},
    // The display panel.
    {el::ledMRnumber, -1, "Memory number"},
    {el::ledFreq, -1, "Frequency"},
    {el::ledSubFreq, -1, "Sub frequency"},
    {el::LMeter, -1, "Meter"},
    {el::lblMainENC, -1, "Tone encoder"},
    {el::lblMainDEC, -1, "Tone decoder"},
    {el::lblMainDCS, -1, "DCS"},
    {el::lblSubENC, -1, "Sub tone encoder"},
    {el::lblSubDEC, -1, "Sub tone decoder"},
    {el::lblSubDCS, -1, "Sub DCS"},
    {el::ImgRPTdirection.name, 0, "Plus shift"},
    {el::ImgRPTdirection.name, 1, "Minus shift"},
    {el::lblSPLIT, -1, "Split"},
    {el::lblRXTX, -1, "Receive sub, transmit main"},
    {el::lblTXRX, -1, "Transmit sub, receive main"},
    {el::lblCLAR, -1, "Clarifier"},
    {el::lblMT, -1, "Memory tune"},
    {el::lblMCK, -1, "Memory check"},
    {el::lblQMB, -1, "Quick memory"},
    {el::lblCH, -1, "Channel"},
    {el::lblSKIP, -1, "Skip"},
    {el::lblSCAN, -1, "Scan"},
    {el::lblSEARCH, -1, "Search"},
    {el::lblBusy, -1, "Busy"},
    {el::lblOnAir, -1, "On air"},
    {el::lblMemoryDesc, -1, "Memory name"},
}};

// The words of an element ("BandUpButton" "Band up", "ModeButton(1)" "Mode USB"); "" for one
// the table does not have.
std::string SpokenName(std::string_view element);

// A frequency as the displays show it, in words: "144.200.00" is "144.200 megahertz",
// "14.074.50" "14.0745 megahertz"; a keypad entry "-14.2--.--" is "entry 14.2". Other text
// comes back as it is.
std::string FrequencyWords(std::string_view shown);
// The shown frequency in MHz, 0 when the text is not one.
double FrequencyMHz(std::string_view shown);
// A frequency in kHz in words: 145010 is "145.010 megahertz".
std::string KHzWords(double kHz);
// The S-meter scale 0..15 in words: "S7", "S9 plus 20".
std::string SMeterWords(int value);
// The memory-number display in words: "012" "memory 12", "H" "home", "Pr" "priority".
std::string MemoryNumberWords(std::string_view shown);

// What the display shows, in words.
std::string ModeWords(const platform::DisplayModel& display);     // "Mode USB"; "" with no mode lit
std::string FunctionWords(const platform::DisplayModel& display); // "VFO", "memory 12", "home", "PMS"
std::string MeterWords(const platform::DisplayModel& display);    // "S7", or on air "power 2.5 watts"
// Everything at once, for the key that speaks the state: "144.200 megahertz, Mode USB, VFO, S7".
std::string StateWords(const platform::DisplayModel& display);

// The meter as a level: its reading, the top of its scale (15 receiving, 5 watts on air).
struct MeterLevel {
    double value = 0;
    double maximum = 15;
};
MeterLevel MeterReading(const platform::DisplayModel& display);

// What a knob sets, as its value: the frequency it tunes in MHz, or on a memory channel the
// channel knob's memory number.
struct KnobReading {
    double value = 0;
    double minimum = 0;
    double maximum = 0;
};
// `knob` is kMainKnob, kSubKnob or kChannelKnob (Tuning.h).
KnobReading KnobValue(const platform::DisplayModel& display, int knob);

} // namespace kivo::panel
