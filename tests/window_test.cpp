// The real window on the offscreen platform, over the simulator's pseudo-terminal.

#include "platform/Elements.h"
#include "platform/FileSystem.h"
#include "program/ProgramWindow.h"
#include "sim/BackgroundSim.h"
#include "tests/support/LitWindow.h"
#include "tests/support/MenuDrive.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowRig.h"
#include "ui/Knob.h"
#include "ui/LedDisplay.h"
#include "ui/PanelKey.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

using namespace kivo;

namespace {

void WaitUntil(program::ProgramWindow& w, double seconds) { platform::Pause(w.Loop(), seconds); }

// Waits, processing events, until `done` or two seconds have passed; returns `done()`.
bool WaitFor(program::ProgramWindow& w, const std::function<bool()>& done)
{
    for (int i = 0; i < 200 && !done(); ++i)
        WaitUntil(w, 0.01);
    return done();
}

using kivo::testing::MenuAction;

// The menu entry by its caption.
void DriveDialog(QMainWindow& w, const QString& entry, const std::function<void(QDialog&)>& drive)
{
    kivo::testing::DriveDialog(MenuAction(w, entry), entry.toStdString(), drive);
}

void ClickIn(QDialog& dlg, const char* name)
{
    auto* b = dlg.findChild<QAbstractButton*>(QString::fromLatin1(name));
    ASSERT_NE(b, nullptr) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

TEST(Window, PowerLightsThePanelAndAWheelNotchTunesTheRadio)
{
    kivo::testing::TempDir dir;
    {
        state::ModKIVO f = kivo::testing::SimulatorStart(14520000);
        f.Settings.CatRate = 1;
        ASSERT_TRUE(kivo::testing::SaveStartFiles(f, dir.path()));
    }
    sim::BackgroundSim radio(sim::WireOptions::Ideal());
    program::ProgramWindow w(dir.path());
    auto& prog = w.Program();
    std::string err;
    ASSERT_TRUE(kivo::testing::OpenOnSimulator(w, radio, err)) << err;
    ASSERT_TRUE(w.isVisible());
    ASSERT_TRUE(prog.s.PortReady);
    EXPECT_FALSE(w.FreqDisplay()->isVisible()) << "dark until POWER";

    QTest::mouseClick(w.Key("CATbutton"), Qt::LeftButton);
    ASSERT_TRUE(prog.s.CATOn);
    EXPECT_TRUE(w.FreqDisplay()->isVisible());
    EXPECT_EQ(w.FreqDisplay()->text().toStdString(), "145.200.00");
    EXPECT_EQ(w.FreqDisplay()->backColor(), QColor(0x00, 0xC8, 0xF0));

    // One wheel notch: grab, one detent, release after the wheel goes quiet.
    ui::Knob* knob = w.MainKnob();
    ASSERT_TRUE(knob->isEnabled());
    const QPointF at(knob->width() / 2.0, knob->height() / 2.0);
    QWheelEvent notch(at, knob->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(knob, &notch);
    EXPECT_EQ(prog.s.VFOMB.Freq, 14520001);
    WaitUntil(w, 1.0);
    EXPECT_FALSE(knob->isHeld());
    EXPECT_EQ(prog.display.Get("ledFreq").caption, "145.200.01");

    // Every display shows exactly what the model holds.
    for (auto* led : w.findChildren<ui::LedDisplay*>()) {
        const std::string name = led->objectName().toStdString();
        ASSERT_TRUE(prog.display.Has(name)) << name;
        EXPECT_EQ(led->text().toStdString(), prog.display.Get(name).caption) << name;
        EXPECT_EQ(led->isVisibleTo(&w), prog.display.Get(name).visible) << name;
    }
    for (auto* key : w.findChildren<ui::PanelKey*>()) {
        const std::string name = key->objectName().toStdString();
        if (prog.display.Has(name)) {
            EXPECT_EQ(key->isEnabled(), prog.display.Get(name).enabled) << name;
        }
    }

    QTest::mouseClick(w.Key("CATbutton"), Qt::LeftButton);
    EXPECT_FALSE(prog.s.CATOn);
    radio.Stop();
    EXPECT_EQ(radio.Radio().A().freq, 14520001u) << "the notch reached the radio";
}

TEST(Window, FollowRadioDialIsASettingsOptionKeptInTheDataFolder)
{
    kivo::testing::TempDir dir;
    const auto followAction = [](program::ProgramWindow& w) -> QAction* {
        for (auto* a : w.findChildren<QAction*>())
            if (a->text() == QStringLiteral("Follow Radio Dial"))
                return a;
        return nullptr;
    };
    {
        program::ProgramWindow w(dir.path());
        QAction* follow = followAction(w);
        ASSERT_NE(follow, nullptr);
        EXPECT_TRUE(follow->isChecked()) << "on by default";
        follow->trigger();
        EXPECT_FALSE(w.Program().panel.DialFollower().Following());
        EXPECT_FALSE(follow->isChecked());
    }
    std::string text;
    platform::PosixFileSystem fs;
    ASSERT_TRUE(fs.ReadOrCreate(dir.path() + "/options.txt", 1024, text));
    EXPECT_EQ(text, "FollowRadioDial=0\n");
    program::ProgramWindow again(dir.path());
    EXPECT_FALSE(again.Program().panel.DialFollower().Following());
    EXPECT_FALSE(followAction(again)->isChecked());
}

using kivo::testing::LitWindow;

TEST_F(LitWindow, AFrequencyTypedOnThePanelKeysMovesTheRadio)
{
    // 7 . 0 7 4 on the keys that double as digits.
    Click("ENTbutton");
    EXPECT_EQ(Shown(), "---.---.--");
    for (const char* key : {"BandDownButton", "DOPbutton", "MhzUpButton", "BandDownButton", "SCANbutton"})
        Click(key);
    EXPECT_EQ(Shown(), "--7.074.--");
    EXPECT_FALSE(w->MainKnob()->isEnabled()) << "the knobs wait for the entry";
    Click("ENTbutton");
    EXPECT_EQ(Shown(), "7.074.00");
    WaitUntil(*w, 0.3);
    radio.Stop();
    EXPECT_EQ(radio.Radio().A().freq, 707400u);
}

TEST_F(LitWindow, ABandKeyMovesTheRadioToTheBandsRememberedFrequency)
{
    Click("BandButton(7)");
    EXPECT_EQ(Shown(), "14.074.00");
    EXPECT_EQ(w->Program().s.BandIdxMB, 7);
    WaitUntil(*w, 0.3);
    radio.Stop();
    EXPECT_EQ(radio.Radio().A().freq, 1407400u);
}

TEST_F(LitWindow, SplitAndSwapClickedOnTheWindowMoveTheRadiosVfos)
{
    const auto& s = w->Program().s;
    const state::Long main = s.VFOMB.Freq, sub = s.VFOSB.Freq;
    ASSERT_NE(main, sub);
    Click("SPLITbutton");
    EXPECT_TRUE(w->findChild<QLabel*>("lblSPLIT")->isVisible());
    EXPECT_TRUE(w->findChild<QLabel*>("lblRXTX")->isVisible());
    Click("SWAPbutton");
    EXPECT_EQ(s.VFOMB.Freq, sub);
    EXPECT_EQ(s.VFOSB.Freq, main);
    EXPECT_EQ(Shown(), radio::FreqText(sub));
    EXPECT_EQ(w->SubFreqDisplay()->text().toStdString(), radio::FreqText(main));
    WaitUntil(*w, 0.3);
    radio.Stop();
    EXPECT_TRUE(radio.Radio().Split());
    EXPECT_FALSE(radio.Radio().OnB());
    EXPECT_EQ(radio.Radio().A().freq, std::uint32_t(sub));
    EXPECT_EQ(radio.Radio().B().freq, std::uint32_t(main));
}

TEST_F(LitWindow, VfoMrShowsTheMemoryNumberAndMovesTheRadioToTheMemory)
{
    auto& s = w->Program().s;
    s.MemData[17].VFO1 = {43350000, 5, 500000, 0, 0, 8, 0, 0};
    s.MemData[17].Band1 = 0;
    s.MemData[17].Desc.Assign("Club repeater");
    s.MemCount = 1;
    s.CurMemPos = 12; // empty: the next used position is shown
    auto* number = w->findChild<ui::LedDisplay*>(QString::fromUtf8(el::ledMRnumber));
    auto* desc = w->findChild<QLabel*>(QString::fromUtf8(el::lblMemoryDesc));
    ASSERT_NE(number, nullptr);
    ASSERT_NE(desc, nullptr);
    EXPECT_FALSE(number->isVisible());

    Click("VFOMRbutton");
    EXPECT_TRUE(number->isVisible());
    EXPECT_EQ(number->text().toStdString(), "017");
    EXPECT_TRUE(desc->isVisible());
    EXPECT_EQ(desc->text().toStdString(), "Club repeater");
    EXPECT_EQ(Shown(), "433.500.00");
    EXPECT_FALSE(w->Key("STObutton")->isEnabled());
    WaitUntil(*w, 0.3);
    radio.Stop();
    EXPECT_EQ(radio.Radio().A().freq, 43350000u);
}

TEST_F(LitWindow, MckHeldOnItsSecondPressStoresTheVfo)
{
    auto& s = w->Program().s;
    s.CurMemPos = 3;
    ui::PanelKey* mck = w->Key("MCKbutton");
    QTest::mouseClick(mck, Qt::LeftButton);
    EXPECT_TRUE(s.MCKOn);
    EXPECT_FALSE(w->Key("VFOMRbutton")->isEnabled());
    QTest::mousePress(mck, Qt::LeftButton);
    WaitUntil(*w, 0.6);
    QTest::mouseRelease(mck, Qt::LeftButton);
    EXPECT_FALSE(s.MCKOn);
    EXPECT_EQ(s.MemData[3].VFO1.Freq, 14520000);
    EXPECT_TRUE(s.MemChanged);
    EXPECT_TRUE(w->Key("VFOMRbutton")->isEnabled());
}

TEST_F(LitWindow, MoxKeysTheRadioAndASignalsEndReleasesItBeforeTheProgramEnds)
{
    auto& prog = w->Program();
    Click("MOXbutton");
    ASSERT_TRUE(WaitFor(*w, [this] { return radio.OnAir(); }));
    auto* onAir = w->findChild<QLabel*>(QStringLiteral("lblOnAir"));
    ASSERT_NE(onAir, nullptr);
    EXPECT_TRUE(onAir->isVisible());
    EXPECT_FALSE(w->Key("RPTbutton")->isEnabled()) << "the keys wait for the end of the transmission";
    EXPECT_TRUE(w->Key("MOXbutton")->isEnabled());

    // What SIGTERM, SIGINT and SIGHUP run, then the end of the program.
    prog.panel.Power().EndUnattended();
    EXPECT_TRUE(WaitFor(*w, [this] { return !radio.OnAir(); })) << "transmit off reached the radio";
    EXPECT_FALSE(prog.s.CATOn);
    radio.Stop();
    EXPECT_FALSE(radio.Radio().Transmitting());
}

TEST_F(LitWindow, ClosingTheWindowOnAirReleasesTheTransmitter)
{
    Click("MOXbutton");
    ASSERT_TRUE(WaitFor(*w, [this] { return radio.OnAir(); }));
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(WaitFor(*w, [this] { return !radio.OnAir(); }));
    radio.Stop();
    EXPECT_FALSE(radio.Radio().Transmitting());
}

TEST_F(LitWindow, TheToneDialogsOpenFromTheSettingsMenu)
{
    auto& s = w->Program().s;
    DriveDialog(*w, QStringLiteral("CTCSS Tones..."), [](QDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle().toStdString(), "CTCSS Tone (MAIN VFO)");
        EXPECT_TRUE(dlg.isModal());
        const auto options = dlg.findChildren<QRadioButton*>();
        ASSERT_EQ(options.size(), 39);
        auto* selected = dlg.findChild<QRadioButton*>(QStringLiteral("opt(8)"));
        ASSERT_NE(selected, nullptr);
        EXPECT_EQ(selected->text().toStdString(), "88.5");
        EXPECT_TRUE(selected->isChecked());
        QTest::mouseClick(dlg.findChild<QRadioButton*>(QStringLiteral("opt(12)")), Qt::LeftButton);
        ClickIn(dlg, "cmdSAVE");
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_EQ(s.VFOMB.CTCSSidx, 12);

    DriveDialog(*w, QStringLiteral("DCS Codes..."), [](QDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle().toStdString(), "DCS Code (MAIN VFO)");
        const auto options = dlg.findChildren<QRadioButton*>();
        ASSERT_EQ(options.size(), 104);
        EXPECT_EQ(dlg.findChild<QRadioButton*>(QStringLiteral("opt(103)"))->text().toStdString(), "754");
        for (const char* key : {"cmdSAVE", "cmdDEFAULT", "cmdCancel"})
            EXPECT_NE(dlg.findChild<QPushButton*>(QString::fromLatin1(key)), nullptr) << key;
        EXPECT_EQ(dlg.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text().toStdString(), "CANCEL");
        QTest::mouseClick(dlg.findChild<QRadioButton*>(QStringLiteral("opt(103)")), Qt::LeftButton);
        ClickIn(dlg, "cmdCancel");
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_EQ(s.VFOMB.DCSidx, 0) << "CANCEL changes nothing";
    WaitUntil(*w, 0.3);
    radio.Stop();
    EXPECT_EQ(radio.Radio().CtcssTenthsHz(), 1000);
}

TEST_F(LitWindow, TheRepeaterShiftDialogRefusesATextThatIsNotAShift)
{
    auto& s = w->Program().s;
    std::string boxTitle;
    DriveDialog(*w, QStringLiteral("Repeater Shifts..."), [&boxTitle](QDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle().toStdString(), "Repeater Shift");
        auto* box = dlg.findChild<QLineEdit*>(QStringLiteral("txtRPToffset(1)"));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text().toStdString(), ".60");
        EXPECT_TRUE(dlg.findChild<QRadioButton*>(QStringLiteral("ssopt144(0)"))->isChecked());

        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("abc"));
        QTimer::singleShot(50, [&boxTitle] {
            if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxTitle = m->windowTitle().toStdString();
                m->accept();
            }
        });
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(box->text().toStdString(), ".60") << "the box keeps its previous value";
        EXPECT_TRUE(dlg.isVisible());

        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("0.75"));
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(box->text().toStdString(), ".75");
        QTest::mouseClick(dlg.findChild<QRadioButton*>(QStringLiteral("ssopt430(1)")), Qt::LeftButton);
        ClickIn(dlg, "cmdSAVE");
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_EQ(boxTitle, "Repeater Shift");
    EXPECT_EQ(s.BandData.BandVFOMB[1].RptOffset, 75000);
    EXPECT_EQ(s.Settings.AutoRptShift430, 0);
    EXPECT_EQ(s.Settings.AutoRptShift144, -1);
    WaitUntil(*w, 0.3);
    radio.Stop();
    EXPECT_EQ(radio.Radio().RptOffset(), 75000u);
}

TEST(Window, EveryBindingNamesADeclaredElementAndEveryKeyIsBuilt)
{
    kivo::testing::TempDir dir;
    program::ProgramWindow w(dir.path());
    const auto names = w.Binding().BoundNames();
    ASSERT_GT(names.size(), 100u);
    for (const auto& name : names)
        EXPECT_TRUE(el::IsDeclared(name)) << name;
    for (const auto& key : panel::kFrontKeys)
        EXPECT_NE(w.Key(key.name), nullptr) << key.name;
}

} // namespace

// A program on the network, as a digital-mode program is: the protocol's connect sequence, then
// tune, key and go while keyed.
TEST_F(LitWindow, ANetworkClientTunesKeysAndIsUnkeyedWhenItGoes)
{
    auto& prog = w->Program();
    prog.sharing.Load(panel::ShareChoice{true, "127.0.0.1", 0});
    ASSERT_TRUE(prog.sharing.Server().Running());
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(std::uint16_t(prog.sharing.Server().Port()));
    ::inet_pton(AF_INET, "127.0.0.1", &a.sin_addr);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    const auto ask = [&](const std::string& line, const std::string& until = "\n") {
        const std::string text = line + "\n";
        (void)!::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        std::string got;
        for (int i = 0; i < 300 && got.find(until) == std::string::npos; ++i) {
            WaitUntil(*w, 0.01);
            char buf[8192];
            const ssize_t n = ::recv(fd, buf, sizeof buf, MSG_DONTWAIT);
            if (n > 0)
                got.append(buf, std::size_t(n));
        }
        return got;
    };
    // The simulator works on its own thread: what it received shows a moment later.
    const auto onAir = [&](bool want) {
        for (int i = 0; i < 200 && (radio.OnAir() != want || prog.s.Transmitting != want); ++i)
            WaitUntil(*w, 0.01);
        return radio.OnAir() == want && prog.s.Transmitting == want;
    };
    EXPECT_EQ(ask("\\chk_vfo"), "0\n");
    EXPECT_NE(ask("\\dump_state", "done\n").find("done\n"), std::string::npos);
    EXPECT_EQ(ask("v"), "VFOA\n");
    EXPECT_EQ(ask("f"), "145200000\n");
    EXPECT_EQ(ask("s", "VFOB\n"), "0\nVFOB\n");
    EXPECT_EQ(ask("\\get_powerstat"), "1\n");

    EXPECT_EQ(ask("F 14074000"), "RPRT 0\n");
    EXPECT_EQ(ask("M USB -1"), "RPRT 0\n");
    EXPECT_EQ(Shown(), "14.074.00");
    EXPECT_EQ(ask("T 1"), "RPRT 0\n");
    EXPECT_TRUE(onAir(true));
    EXPECT_EQ(ask("T 0"), "RPRT 0\n");
    EXPECT_TRUE(onAir(false));
    EXPECT_EQ(ask("T 1"), "RPRT 0\n");
    EXPECT_TRUE(onAir(true));
    ::close(fd); // gone while keyed
    EXPECT_TRUE(onAir(false));
    radio.Stop();
    EXPECT_EQ(radio.Radio().A().freq, 1407400u);
    EXPECT_EQ(radio.Radio().A().mode, 0x01);
}
