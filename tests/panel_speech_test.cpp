// The panel in words for a screen reader: the names of the keys, the displays and the meter read
// out, and what is announced unasked, with the S-meter choice kept in its file.

#include "panel/Announcements.h"
#include "panel/BandMode.h"
#include "panel/KeyEnabling.h"
#include "panel/SpokenNames.h"
#include "platform/FileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

using namespace kivo;

namespace {

TEST(SpokenWords, EveryKeyHasWordsOfItsOwnAndTheDisplaysReadAsWords)
{
    // Every key the panel shows is in the table, and no two keys sound alike.
    std::vector<std::string> keys(panel::kFunctionKeys);
    for (int m = 0; m < panel::kModeKeyCount; ++m)
        keys.push_back(el::ModeButton(m));
    for (int b = 0; b < panel::kBandKeyCount; ++b)
        keys.push_back(el::BandButton(b));
    std::set<std::string> words;
    for (const std::string& key : keys) {
        const std::string w = panel::SpokenName(key);
        EXPECT_FALSE(w.empty()) << key;
        EXPECT_TRUE(words.insert(w).second) << key << " says " << w << " as another key does";
    }

    struct Row {
        std::string got, want;
    } const rows[] = {
        {panel::SpokenName("BandUpButton"), "Band up"},
        {panel::SpokenName("VFOMRbutton"), "VFO or memory"},
        {panel::SpokenName("ModeButton(1)"), "Mode USB"},
        {panel::SpokenName("ModeButton(8)"), ""},
        {panel::SpokenName("ModeButton(x)"), ""},
        {panel::FrequencyWords("144.200.00"), "144.200 megahertz"},
        {panel::FrequencyWords("14.074.50"), "14.0745 megahertz"},
        {panel::FrequencyWords("1296.000.01"), "1296.00001 megahertz"},
        {panel::FrequencyWords(".500.00"), "0.500 megahertz"},
        {panel::FrequencyWords("-14.---.--"), "entry 14"},
        {panel::FrequencyWords("-14.2--.--"), "entry 14.2"},
        {panel::FrequencyWords("---.---.--"), "entry"},
        {panel::FrequencyWords("HELLO"), "HELLO"},
        {panel::KHzWords(145010), "145.010 megahertz"},
        {panel::SMeterWords(0), "S0"},
        {panel::SMeterWords(9), "S9"},
        {panel::SMeterWords(11), "S9 plus 20"},
        {panel::SMeterWords(99), "S9 plus 60"},
        {panel::MemoryNumberWords("012"), "memory 12"},
        {panel::MemoryNumberWords("H"), "home"},
        {panel::MemoryNumberWords("LU"), "PMS"},
        {panel::MemoryNumberWords("Pr"), "priority"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.got, r.want);
}

struct Spoken : ::testing::Test {
    kivo::testing::TempDir dir;
    platform::PosixFileSystem fs;
    state::ModKIVO s;
    platform::DisplayModel display;
    panel::Announcements said{s, display, fs, dir.path()};
    std::vector<std::string> heard;
    int meterTold = 0;

    void SetUp() override
    {
        s.CATOn = true;
        said.onSpeak = [this](const std::string& w) { heard.push_back(w); };
        said.onMeterUnit = [this] { ++meterTold; };
    }
    std::vector<std::string> Take() { return std::exchange(heard, {}); }
};

using Said = std::vector<std::string>;

TEST_F(Spoken, AChangeIsSaidOnceAndTheMeterOnlyByWholeUnitsWhenChosen)
{
    display.SetCaption(el::ledFreq, "144.200.00");
    display.SetColor(el::ledFreq, 0x123456); // not a change a reader hears
    display.SetCaption(el::ledFreq, "144.200.00");
    EXPECT_EQ(Take(), Said{"144.200 megahertz"});

    for (int k = 0; k < 8; ++k)
        display.SetVisible(el::lblMBmode(k), false);
    display.SetVisible(el::lblMBmode(1), true);
    display.SetCaption(el::ledMRnumber, "012");
    display.SetVisible(el::ledMRnumber, true);
    display.SetVisible(el::lblOnAir, true);
    EXPECT_EQ(Take(), (Said{"Mode USB", "memory 12", "on air"}));
    display.SetVisible(el::lblOnAir, false);
    display.SetVisible(el::ledMRnumber, false);
    EXPECT_EQ(Take(), (Said{"receiving", "VFO"}));

    display.SetValue(el::LMeterIndicator(0), 5);
    EXPECT_EQ(Take(), Said{}) << "the meter is quiet unless chosen";
    said.mnuAnnounceSMeter_Click();
    EXPECT_TRUE(display.Get(el::mnuSettingsArray(panel::kAnnounceSMeterEntry)).checked);
    EXPECT_EQ(kivo::testing::ReadAll(dir / panel::kAnnounceSMeterFileName), "on\n");
    for (double v : {5.0, 5.2, 7.0, 11.0})
        display.SetValue(el::LMeterIndicator(0), v);
    EXPECT_EQ(Take(), (Said{"S5", "S7", "S9 plus 20"}));
    EXPECT_EQ(meterTold, 3);

    said.SpeakState();
    EXPECT_EQ(Take(), Said{"144.200 megahertz, Mode USB, VFO, S9 plus 20"});

    // A dark panel says nothing; the key still answers.
    s.CATOn = false;
    display.SetCaption(el::ledFreq, "7.000.00");
    display.SetVisible(el::ledFreq, false);
    said.SpeakState();
    EXPECT_EQ(Take(), Said{"Power off"});

    // The choice comes back at the next start, and a damaged file reads as off.
    panel::Announcements next(s, display, fs, dir.path());
    next.Load();
    EXPECT_TRUE(next.SMeterOn());
    kivo::testing::WriteAll(dir / panel::kAnnounceSMeterFileName, "\x01garbage");
    next.Load();
    EXPECT_FALSE(next.SMeterOn());
}

} // namespace
