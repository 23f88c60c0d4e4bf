#include "platform/DisplayModel.h"
#include "platform/Elements.h"
#include "platform/InstanceLock.h"
#include "platform/Text1252.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(InstanceLock, ASecondProgramOnTheFolderIsRefusedUntilTheFirstEnds)
{
    kivo::testing::TempDir dir;
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t first = ::fork();
    ASSERT_GE(first, 0);
    if (first == 0) {
        ::close(release[1]);
        InstanceLock lock;
        std::string msg;
        const char ok = lock.Acquire(dir.path(), msg) ? '1' : '0';
        (void)!::write(ready[1], &ok, 1);
        char c;
        (void)!::read(release[0], &c, 1); // until the parent closes its end
        ::_exit(0);
    }
    ::close(release[0]);
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, '1');

    InstanceLock second;
    std::string msg;
    EXPECT_FALSE(second.Acquire(dir.path(), msg));
    EXPECT_EQ(msg, "KIVO FT-817 is already running on the data folder " + dir.path() +
                       ". This copy ends without changing anything.");
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1) << "nothing but the lock file";

    ::close(release[1]);
    int status = 0;
    ::waitpid(first, &status, 0);
    EXPECT_TRUE(second.Acquire(dir.path(), msg)) << "the lock goes with the process";

    InstanceLock nowhere;
    EXPECT_FALSE(nowhere.Acquire(dir / "missing", msg));
    EXPECT_EQ(msg, "The data folder " + (dir / "missing") + " cannot be used: No such file or directory.");
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
        {"mnuSettingsArray(15)", true},
        {"mnuSettingsArray(16)", true},
        {"mnuSettingsArray(18)", true},
        {"mnuSettingsArray(19)", false},
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
