#include "platform/DisplayModel.h"
#include "platform/Elements.h"
#include "platform/Text1252.h"

#include <gtest/gtest.h>

using namespace kivo::platform;

TEST(Text1252, EveryByteSurvivesTheTripThroughUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    bool lossy = true;
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all), &lossy), all);
    EXPECT_FALSE(lossy);
}

TEST(Text1252, MapsTheHighRangeAndMarksWhatItCannotStore)
{
    EXPECT_EQ(Cp1252ToUtf8("\x80 \xe9"), "\u20ac \u00e9");
    EXPECT_EQ(Utf8ToCp1252("\u20ac\u00fc"), "\x80\xfc");
    bool lossy = false;
    EXPECT_EQ(Utf8ToCp1252("\u0416x", &lossy), "?x");
    EXPECT_TRUE(lossy);
    // Broken UTF-8 never reads past the end.
    EXPECT_EQ(Utf8ToCp1252("\xe2\x82", &lossy), "??");
}

TEST(DisplayModel, NotifiesOnlyRealChanges)
{
    DisplayModel m;
    int calls = 0;
    m.Subscribe([&](const std::string&, const Element&) { ++calls; });
    m.SetCaption("ledFreq", "144.200.00");
    m.SetCaption("ledFreq", "144.200.00");
    m.SetVisible("ledFreq", true); // already visible
    m.SetVisible("ledFreq", false);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(m.Get("ledFreq").visible);
    EXPECT_EQ(m.Get("ledFreq").caption, "144.200.00");
    EXPECT_EQ(DisplayModel::Indexed("lblMBmode", 3), "lblMBmode(3)");
}

TEST(Elements, OnlyDeclaredNamesAndIndexesInRange)
{
    struct Row {
        const char* name;
        bool declared;
    };
    const Row rows[] = {
        {"ledFreq", true},
        {"CATbutton", true},
        {"LMeter", true},
        {"LMeter(3)", true},
        {"LMeterStart(0)", true},
        {"lblMBmode(0)", true},
        {"lblMBmode(7)", true},
        {"BandButton(11)", true},
        {"mnuCommPortArray(10)", true},
        {"VFObox(3)", true},
        {"mnuSettingsArray(14)", true},
        {"ledFreqq", false},
        {"", false},
        {"lblMBmode", false},
        {"lblMBmode(8)", false},
        {"lblMBmode(-1)", false},
        {"lblMBmode(03)", false},
        {"lblMBmode()", false},
        {"lblMBmode(3", false},
        {"mnuCommPortArray(0)", false},
        {"VFObox(2)", false},
        {"ledFreq(0)", false},
        {"LMeter(4)", false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(el::IsDeclared(r.name), r.declared) << r.name;
    EXPECT_EQ(el::lblMBmode(3), "lblMBmode(3)");
    EXPECT_EQ(el::lblMBmode(3), DisplayModel::Indexed(el::lblMBmode.name, 3));
}
