// The computer keyboard on the real window. A key held on X11 sends release-press pairs, both
// marked auto-repeat. Key strokes sent to the window's controls reach the panel first, those pairs
// do not chatter, and a window that loses the keyboard lets go of what its keys held.

#include "program/ProgramWindow.h"
#include "sim/BackgroundSim.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowRig.h"
#include "ui/Knob.h"
#include "ui/PanelKey.h"

#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

using namespace kivo;

namespace {

class KeysOnWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kivo::testing::SaveStartFiles(kivo::testing::SimulatorStart(14520000), dir.path()));
        w = std::make_unique<program::ProgramWindow>(dir.path());
        std::string err;
        ASSERT_TRUE(kivo::testing::OpenOnSimulator(*w, radio, err)) << err;
        // P lights the dark panel, sent to the POWER key as the focused control.
        Key(w->Key("CATbutton"), QEvent::KeyPress, Qt::Key_P, "p");
        Key(w->Key("CATbutton"), QEvent::KeyRelease, Qt::Key_P, "p");
        ASSERT_TRUE(s().CATOn);
    }
    // Sends one key event; true when the window kept it from `to`.
    static bool Key(QWidget* to, QEvent::Type type, int key, const QString& text = {}, bool autoRepeat = false)
    {
        QKeyEvent e(type, key, Qt::NoModifier, text, autoRepeat);
        return QApplication::sendEvent(to, &e);
    }
    void Deactivate()
    {
        QEvent e(QEvent::WindowDeactivate);
        QApplication::sendEvent(w.get(), &e);
    }
    void Wait(double seconds) { platform::Pause(w->Loop(), seconds); }
    state::ModKIVO& s() { return w->Program().s; }

    kivo::testing::TempDir dir;
    sim::BackgroundSim radio{sim::WireOptions::Ideal()};
    std::unique_ptr<program::ProgramWindow> w;
};

TEST_F(KeysOnWindow, SpaceHeldWithAutoRepeatTransmitsUntilItIsReleased)
{
    // Space sent to a focused key would click that key; the panel takes it first.
    QWidget* split = w->Key("SPLITbutton");
    EXPECT_TRUE(Key(split, QEvent::KeyPress, Qt::Key_Space, " "));
    EXPECT_TRUE(s().Transmitting);
    for (int i = 0; i < 5; ++i) {
        Key(split, QEvent::KeyRelease, Qt::Key_Space, " ", true);
        EXPECT_TRUE(s().Transmitting) << "an auto-repeat release, " << i;
        Key(split, QEvent::KeyPress, Qt::Key_Space, " ", true);
        Wait(0.05);
    }
    EXPECT_TRUE(radio.OnAir());
    EXPECT_FALSE(s().SplitOn);
    Key(split, QEvent::KeyRelease, Qt::Key_Space, " ");
    EXPECT_FALSE(s().Transmitting);
    Wait(0.3);
    EXPECT_FALSE(radio.OnAir());
}

TEST_F(KeysOnWindow, LosingTheWindowWhileSpaceIsHeldEndsTheTransmission)
{
    Key(w.get(), QEvent::KeyPress, Qt::Key_Space, " ");
    ASSERT_TRUE(s().Transmitting);
    Wait(0.3);
    ASSERT_TRUE(radio.OnAir());
    Deactivate(); // a dialog or another window took the keyboard; the key-up goes there
    EXPECT_FALSE(s().Transmitting);
    Wait(0.3);
    EXPECT_FALSE(radio.OnAir());
}

TEST_F(KeysOnWindow, AHeldKnobKeyTunesPerRepeatAndStopsWhenTheWindowIsLost)
{
    ui::Knob* knob = w->MainKnob();
    const auto step = s().Settings.DialStep[1][5];
    Key(knob, QEvent::KeyPress, Qt::Key_PageUp);
    for (int i = 0; i < 3; ++i) {
        Key(knob, QEvent::KeyRelease, Qt::Key_PageUp, {}, true);
        EXPECT_TRUE(s().MainKnobKeyHeld) << "the motion goes on through an auto-repeat release, " << i;
        Key(knob, QEvent::KeyPress, Qt::Key_PageUp, {}, true);
    }
    EXPECT_EQ(s().VFOMB.Freq, 14520000 + 4 * step);
    EXPECT_TRUE(s().MainKnobKeyHeld);
    EXPECT_TRUE(w->Program().panel.Power().TimerSendFreq().Enabled());
    Deactivate();
    EXPECT_FALSE(s().MainKnobKeyHeld);
    EXPECT_FALSE(w->Program().panel.Power().TimerSendFreq().Enabled()) << "the motion ended";
    Wait(0.3);
    radio.Stop();
    EXPECT_EQ(radio.Radio().A().freq, std::uint32_t(14520000 + 4 * step));
}

TEST_F(KeysOnWindow, LettersGoToThePanelWhileArrowsStillTurnAFocusedKnob)
{
    ui::Knob* knob = w->MainKnob();
    Key(knob, QEvent::KeyPress, Qt::Key_L, "l");
    Key(knob, QEvent::KeyRelease, Qt::Key_L, "l");
    EXPECT_TRUE(s().LockOn);
    Key(knob, QEvent::KeyPress, Qt::Key_L, "l");
    Key(knob, QEvent::KeyRelease, Qt::Key_L, "l");
    ASSERT_FALSE(s().LockOn);
    Key(knob, QEvent::KeyPress, Qt::Key_Up);
    Key(knob, QEvent::KeyRelease, Qt::Key_Up);
    EXPECT_EQ(s().VFOMB.Freq, 14520000 + s().Settings.DialStep[1][5]) << "the knob's own arrow keys";
}

} // namespace
