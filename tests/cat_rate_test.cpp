// Settings > Detect CAT Rate...: the three rates tried with the frequency-and-mode read against a
// radio set to each, and against no radio; the rate found is stored and checked as the CAT Rate
// menu would, and nothing found leaves the old rate.

#include "panel/PortMenu.h"
#include "panel/RateSearch.h"
#include "platform/DisplayModel.h"
#include "platform/Elements.h"
#include "platform/ScriptedDialogs.h"
#include "platform/VirtualEventLoop.h"
#include "radio/Cat.h"
#include "sim/Ft817.h"
#include "sim/SimPort.h"

#include <gtest/gtest.h>

using namespace kivo;

namespace {

constexpr const char* kNoAnswer =
    "The radio did not answer at 4800, 9600 or 38400 bps. Please check that the radio is switched on, that its CAT "
    "RATE menu item (menu 14) is set to one of these rates, and that the CAT cable is plugged in at both ends. The "
    "CAT Rate stays 9600 bps.";

struct Detect {
    explicit Detect(int radioRate) : port(loop, radio, {.serviceTime = 0.06, .rate = radioRate})
    {
        kivo.Settings.CommPort = 1;
        kivo.Settings.CatRate = 1;
        comm.OpenCommPort();
    }
    platform::VirtualEventLoop loop;
    sim::Ft817 radio;
    sim::SimPort port;
    state::ModKIVO kivo;
    platform::DisplayModel display;
    platform::ScriptedDialogs dialogs;
    radio::Cat cat{kivo, port, loop};
    radio::CommPort commPort{port};
    panel::PortChoice comm{kivo, commPort, dialogs};
    panel::PortMenu portMenu{kivo, comm, display};
    panel::RateSearch detect{kivo, cat, comm, dialogs};
};

TEST(CatRateDetect, FindsTheRateTheRadioIsSetToAndSelectsIt)
{
    struct Row {
        int radioRate;
        int index;
        const char* message;
        int reads; // frequency-and-mode reads written before the answer
    } const rows[] = {
        {4800, 0, "The radio answered at 4800 bps. The CAT Rate is now 4800 bps.", 1},
        {9600, 1, "The radio answered at 9600 bps. The CAT Rate is now 9600 bps.", 3},
        {38400, 2, "The radio answered at 38400 bps. The CAT Rate is now 38400 bps.", 5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.radioRate);
        Detect d(r.radioRate);
        d.radio.A().freq = 702000;
        d.radio.A().mode = 0x02; // 7.020 MHz CW
        // The port and rate menus must not reopen the port under the search.
        bool settingsDuring = true;
        d.loop.CallAt(d.loop.Now() + 0.3, [&] { settingsDuring = d.display.Get(el::mnuSettings).enabled; });
        d.detect.DetectCatRate();
        EXPECT_FALSE(settingsDuring);
        EXPECT_TRUE(d.display.Get(el::mnuSettings).enabled);
        ASSERT_EQ(d.dialogs.boxes.size(), 1u);
        EXPECT_EQ(d.dialogs.boxes[0].text, r.message);
        EXPECT_EQ(d.dialogs.boxes[0].title, "Detect CAT Rate");
        EXPECT_EQ(d.kivo.Settings.CatRate, r.index);
        EXPECT_TRUE(d.kivo.PortReady);
        EXPECT_EQ(d.port.LineSettings(), std::to_string(r.radioRate) + ",N,8,2");
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(d.display.Get(el::mnuCatRate(i)).checked, i == r.index);
        EXPECT_TRUE(d.display.Get(el::mnuCommPortArray(1)).checked);
        // Two reads at each rate that fails, each answered with garbage the decoder refuses;
        // nothing else went out, and the radio's state is untouched.
        int reads = 0;
        for (const auto& f : d.port.GetWire().Frames()) {
            EXPECT_EQ(f.bytes, std::string("\0\0\0\0\x03", 5));
            ++reads;
        }
        EXPECT_EQ(reads, r.reads);
        EXPECT_EQ(d.radio.A().freq, 702000u);
        EXPECT_FALSE(d.radio.Transmitting());
    }
}

TEST(CatRateDetect, NoRadioKeepsThePreviousRateAndSaysWhatToCheck)
{
    Detect d(9600);
    d.port.SetSilent(true);
    const double start = d.loop.Now();
    d.detect.DetectCatRate();
    ASSERT_EQ(d.dialogs.boxes.size(), 1u);
    EXPECT_EQ(d.dialogs.boxes[0].text, kNoAnswer);
    EXPECT_EQ(d.dialogs.boxes[0].icon, platform::Icon::Exclamation);
    EXPECT_EQ(d.kivo.Settings.CatRate, 1);
    EXPECT_EQ(d.port.LineSettings(), "9600,N,8,2") << "the port is back at the old rate";
    EXPECT_TRUE(d.display.Get(el::mnuCatRate(1)).checked);
    EXPECT_TRUE(d.kivo.PortReady);
    // Six reads, each given the read's own 0.2 s settling pause and six polls of 0.1 s.
    EXPECT_EQ(d.port.GetWire().Frames().size(), 6u);
    EXPECT_NEAR(d.loop.Now() - start, 6 * 0.8, 0.05);
}

TEST(CatRateDetect, RefusedWhileTheCatSystemIsOnOrNoPortIsChosen)
{
    Detect d(4800);
    d.kivo.CATOn = true;
    d.detect.DetectCatRate();
    d.kivo.CATOn = false;
    d.kivo.Settings.CommPort = radio::kPortNone;
    d.detect.DetectCatRate();
    ASSERT_EQ(d.dialogs.boxes.size(), 2u);
    EXPECT_EQ(d.dialogs.boxes[0].text.rfind("Cannot change the Serial Communications Port Rate while the CAT system "
                                            "is in use.",
                                            0),
              0u);
    EXPECT_EQ(d.dialogs.boxes[1].text, "No serial port is selected. Please select the radio's port from the "
                                       "Settings Menu (Serial Port) first.");
    EXPECT_TRUE(d.port.GetWire().Frames().empty());
    EXPECT_EQ(d.kivo.Settings.CatRate, 1);
}

TEST(CatRateDetect, APortThatCannotOpenIsReportedAsThePortMenuReportsIt)
{
    Detect d(4800);
    d.port.Vanish(); // the cable was pulled
    d.detect.DetectCatRate();
    // The first try fails; the old rate is put back and the port menu's own open reports it.
    ASSERT_EQ(d.dialogs.boxes.size(), 1u);
    EXPECT_EQ(d.dialogs.boxes[0].title, "Open Communications Port");
    EXPECT_FALSE(d.kivo.PortReady);
    EXPECT_EQ(d.kivo.Settings.CatRate, 1);
    EXPECT_TRUE(d.display.Get(el::mnuCommPortArray(radio::kPortNone)).checked);
}

} // namespace
