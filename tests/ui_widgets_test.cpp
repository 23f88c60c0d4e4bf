// The Qt layer: knob input, display-model bindings, the Qt event loop, dialogs and painting.

#include "platform/DisplayModel.h"
#include "ui/ElementBinding.h"
#include "ui/HelpWindow.h"
#include "ui/Indicator.h"
#include "ui/Knob.h"
#include "ui/LedDisplay.h"
#include "ui/MeterGauge.h"
#include "ui/PanelKey.h"
#include "ui/QtDialogs.h"
#include "ui/QtEventLoop.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <QTextBrowser>
#include <QTimer>
#include <QWheelEvent>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace kivo;
using namespace kivo::ui;

namespace {

// Wall-clock slack for a 2-core machine that is building at the same time.
constexpr double kSlack = 0.12;

void Wheel(QWidget* w, int delta)
{
    const QPointF at = QRectF(w->rect()).center();
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                  false);
    QApplication::sendEvent(w, &e);
}

void Mouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, w->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Key(QWidget* w, QEvent::Type type, int key, bool autoRepeat = false)
{
    QKeyEvent e(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(w, &e);
}

// A point on a circle round the knob's centre, clockwise degrees from 12 o'clock.
QPointF Around(const QWidget& w, qreal degrees, qreal radius = 40)
{
    const qreal rad = qDegreesToRadians(degrees);
    return QRectF(w.rect()).center() + QPointF(radius * std::sin(rad), -radius * std::cos(rad));
}

struct KnobSpies {
    explicit KnobSpies(Knob& k)
        : grabbed(&k, &Knob::grabbed), released(&k, &Knob::released), changed(&k, &Knob::valueChanged)
    {
    }
    long LastValue() const { return changed.isEmpty() ? 0 : changed.last().at(0).value<long>(); }
    QSignalSpy grabbed, released, changed;
};

} // namespace

TEST(Knob, WheelNotchGrabsTurnsAndReleasesAfterQuiet)
{
    Knob knob;
    knob.resize(100, 100);
    KnobSpies s(knob);
    Wheel(&knob, 120);
    EXPECT_EQ(s.grabbed.count(), 1);
    ASSERT_EQ(s.changed.count(), 1);
    EXPECT_EQ(s.LastValue(), 1);
    EXPECT_TRUE(knob.isHeld());
    QTest::qWait(100);
    EXPECT_EQ(s.released.count(), 0) << "released before the wheel went quiet";
    QTest::qWait(450);
    EXPECT_EQ(s.released.count(), 1);
    EXPECT_FALSE(knob.isHeld());
}

TEST(Knob, WheelBurstIsOneGrabAndDownTurnsBack)
{
    Knob knob;
    KnobSpies s(knob);
    for (int i = 0; i < 3; ++i) {
        Wheel(&knob, 120);
        QTest::qWait(60);
    }
    Wheel(&knob, -120);
    // Half notches (touchpads) add up to a detent.
    Wheel(&knob, 60);
    Wheel(&knob, 60);
    EXPECT_EQ(s.grabbed.count(), 1);
    EXPECT_EQ(s.released.count(), 0);
    EXPECT_EQ(knob.value(), 3);
    EXPECT_EQ(s.LastValue(), 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.released.count() == 1; }, 2000));
    EXPECT_EQ(s.grabbed.count(), 1);
}

TEST(Knob, DragTurnsByDetentsClockwisePositive)
{
    Knob knob;
    knob.setDetentsPerTurn(24); // 15 degrees a detent
    knob.resize(120, 120);
    KnobSpies s(knob);
    Mouse(&knob, QEvent::MouseButtonPress, Around(knob, 0), Qt::LeftButton);
    EXPECT_EQ(s.grabbed.count(), 1);
    for (qreal a = 5; a <= 95; a += 5)
        Mouse(&knob, QEvent::MouseMove, Around(knob, a), Qt::LeftButton);
    EXPECT_EQ(knob.value(), 6); // 95 degrees: six whole detents
    EXPECT_EQ(s.LastValue(), 6);
    // Back anticlockwise past 12 o'clock, through the wrap at 180 degrees of atan2.
    for (qreal a = 90; a >= -60; a -= 10)
        Mouse(&knob, QEvent::MouseMove, Around(knob, a), Qt::LeftButton);
    Mouse(&knob, QEvent::MouseMove, Around(knob, -64), Qt::LeftButton); // off the detent boundary
    EXPECT_EQ(knob.value(), -4);
    EXPECT_EQ(s.released.count(), 0);
    Mouse(&knob, QEvent::MouseButtonRelease, Around(knob, -64), Qt::NoButton);
    EXPECT_EQ(s.released.count(), 1);
    EXPECT_EQ(s.grabbed.count(), 1);
}

TEST(Knob, DragAllTheWayRoundIsOneTurn)
{
    Knob knob;
    knob.setDetentsPerTurn(12);
    knob.resize(120, 120);
    Mouse(&knob, QEvent::MouseButtonPress, Around(knob, 0), Qt::LeftButton);
    for (qreal a = 10; a <= 360; a += 10)
        Mouse(&knob, QEvent::MouseMove, Around(knob, a), Qt::LeftButton);
    Mouse(&knob, QEvent::MouseMove, Around(knob, 365), Qt::LeftButton);
    Mouse(&knob, QEvent::MouseButtonRelease, Around(knob, 365), Qt::NoButton);
    EXPECT_EQ(knob.value(), 12);
}

TEST(Knob, KeysTurnOneDetentAndHoldWhileDown)
{
    Knob knob;
    KnobSpies s(knob);
    Key(&knob, QEvent::KeyPress, Qt::Key_Up);
    EXPECT_EQ(s.grabbed.count(), 1);
    EXPECT_EQ(knob.value(), 1);
    Key(&knob, QEvent::KeyRelease, Qt::Key_Up, true); // auto-repeat pair: still held
    Key(&knob, QEvent::KeyPress, Qt::Key_Up, true);
    EXPECT_EQ(knob.value(), 2);
    EXPECT_EQ(s.released.count(), 0);
    Key(&knob, QEvent::KeyRelease, Qt::Key_Up);
    EXPECT_EQ(s.released.count(), 1);

    Key(&knob, QEvent::KeyPress, Qt::Key_Right);
    Key(&knob, QEvent::KeyRelease, Qt::Key_Right);
    Key(&knob, QEvent::KeyPress, Qt::Key_Down);
    Key(&knob, QEvent::KeyRelease, Qt::Key_Down);
    Key(&knob, QEvent::KeyPress, Qt::Key_Left);
    Key(&knob, QEvent::KeyRelease, Qt::Key_Left);
    Key(&knob, QEvent::KeyPress, Qt::Key_Left);
    Key(&knob, QEvent::KeyRelease, Qt::Key_Left);
    EXPECT_EQ(knob.value(), 0); // 2 + 1 - 1 - 1 - 1
    EXPECT_EQ(s.grabbed.count(), 5);
    EXPECT_EQ(s.released.count(), 5);
    // Other keys are not the knob's.
    Key(&knob, QEvent::KeyPress, Qt::Key_A);
    EXPECT_EQ(s.grabbed.count(), 5);
}

TEST(Knob, SignalsComeGrabThenTurnThenRelease)
{
    Knob knob;
    std::vector<QString> log;
    QObject::connect(&knob, &Knob::grabbed, [&] { log.push_back(QStringLiteral("grab")); });
    QObject::connect(&knob, &Knob::released, [&] { log.push_back(QStringLiteral("release")); });
    QObject::connect(&knob, &Knob::valueChanged, [&](long v) { log.push_back(QString::number(v)); });
    Key(&knob, QEvent::KeyPress, Qt::Key_Down);
    Key(&knob, QEvent::KeyRelease, Qt::Key_Down);
    Wheel(&knob, 120);
    QTest::qWait(450);
    const std::vector<QString> want = {"grab", "-1", "release", "grab", "0", "release"};
    EXPECT_EQ(log, want);
}

TEST(Knob, DisabledKnobIgnoresInput)
{
    Knob knob;
    knob.resize(120, 120);
    knob.setEnabled(false);
    KnobSpies s(knob);
    Wheel(&knob, 120);
    Key(&knob, QEvent::KeyPress, Qt::Key_Up);
    Key(&knob, QEvent::KeyRelease, Qt::Key_Up);
    Mouse(&knob, QEvent::MouseButtonPress, Around(knob, 0), Qt::LeftButton);
    Mouse(&knob, QEvent::MouseMove, Around(knob, 90), Qt::LeftButton);
    Mouse(&knob, QEvent::MouseButtonRelease, Around(knob, 90), Qt::NoButton);
    QTest::qWait(400);
    EXPECT_EQ(s.grabbed.count(), 0);
    EXPECT_EQ(s.changed.count(), 0);
    EXPECT_EQ(s.released.count(), 0);
    EXPECT_EQ(knob.value(), 0);
}

TEST(Knob, DisablingWhileHeldReleases)
{
    Knob knob;
    KnobSpies s(knob);
    Wheel(&knob, 120);
    knob.setEnabled(false);
    EXPECT_EQ(s.released.count(), 1);
    QTest::qWait(400);
    EXPECT_EQ(s.released.count(), 1);
}

TEST(ElementBinding, WidgetsFollowTheModel)
{
    platform::DisplayModel model;
    model.SetCaption("lblMBmode(3)", "CWR");
    QWidget parent;
    auto* label = new QLabel(QStringLiteral("as built"), &parent);
    auto* untouched = new QLabel(QStringLiteral("as built"), &parent);
    auto* key = new PanelKey(QStringLiteral("?"), &parent);
    auto* led = new LedDisplay(&parent);
    auto* lamp = new Indicator(QStringLiteral("FAST"), Indicator::Style::Led, &parent);
    auto* knob = new Knob(&parent);
    parent.show();

    ElementBinding b(model);
    b.BindLabel("lblMBmode(3)", label);
    b.BindLabel("lblNeverSet", untouched);
    b.BindButton("CATbutton", key);
    b.BindLed("ledFreq", led);
    b.BindIndicator("ledFAST", lamp);
    b.BindKnob("MainKnob", knob);
    // The current state is applied on binding; unknown elements leave the widget alone.
    EXPECT_EQ(label->text(), QStringLiteral("CWR"));
    EXPECT_EQ(untouched->text(), QStringLiteral("as built"));

    model.SetCaption("lblMBmode(3)", "USB");
    EXPECT_EQ(label->text(), QStringLiteral("USB"));
    model.SetVisible("lblMBmode(3)", false);
    EXPECT_FALSE(label->isVisible());
    model.SetVisible("lblMBmode(3)", true);
    EXPECT_TRUE(label->isVisible());

    model.SetCaption("CATbutton", "POWER");
    EXPECT_EQ(key->text(), QStringLiteral("POWER"));
    model.SetEnabled("CATbutton", false);
    EXPECT_FALSE(key->isEnabled());
    model.SetEnabled("CATbutton", true);
    EXPECT_TRUE(key->isEnabled());

    const QColor glass = led->backColor();
    model.SetCaption("ledFreq", "144.200.00");
    EXPECT_EQ(led->text(), QStringLiteral("144.200.00"));
    EXPECT_EQ(led->backColor(), glass) << "colour 0 (never set) keeps the widget's own";
    model.SetColor("ledFreq", 0x404040);
    EXPECT_EQ(led->backColor(), QColor(0x40, 0x40, 0x40));

    EXPECT_FALSE(lamp->isOn());
    model.SetValue("ledFAST", 1);
    EXPECT_TRUE(lamp->isOn());
    EXPECT_EQ(lamp->text(), QStringLiteral("FAST"));
    model.SetValue("ledFAST", 0);
    EXPECT_FALSE(lamp->isOn());

    model.SetEnabled("MainKnob", false);
    EXPECT_FALSE(knob->isEnabled());
    model.SetVisible("MainKnob", false);
    EXPECT_TRUE(knob->isHidden());
}

TEST(ElementBinding, MeterIndicatorsAndColour)
{
    platform::DisplayModel model;
    MeterGauge meter;
    ElementBinding b(model);
    b.BindMeter("LMeter", &meter);
    model.SetValue("LMeter(0)", 9);
    model.SetValue("LMeterStart(1)", 2);
    model.SetValue("LMeter(1)", 11);
    model.SetValue("LMeter(3)", 4.5);
    model.SetVisible("LMeter(2)", false);
    model.SetColor("LMeter", 0x00C8F0);
    EXPECT_DOUBLE_EQ(meter.value(0), 9);
    EXPECT_DOUBLE_EQ(meter.start(1), 2);
    EXPECT_DOUBLE_EQ(meter.value(1), 11);
    EXPECT_DOUBLE_EQ(meter.value(3), 4.5);
    EXPECT_FALSE(meter.isIndicatorVisible(2));
    EXPECT_TRUE(meter.isIndicatorVisible(3));
    EXPECT_EQ(meter.backColor(), QColor(0x00, 0xC8, 0xF0));
    model.SetVisible("LMeter", false);
    EXPECT_TRUE(meter.isHidden());
}

TEST(ElementBinding, SeveralWidgetsOnOneNameAndDeletedWidgets)
{
    platform::DisplayModel model;
    ElementBinding b(model);
    auto* a = new QLabel;
    QLabel c;
    b.BindLabel("lblBusy", a);
    b.BindLabel("lblBusy", &c);
    int calls = 0;
    b.Bind("lblBusy", [&](const platform::Element&) { ++calls; });
    delete a;
    model.SetCaption("lblBusy", "BUSY");
    EXPECT_EQ(c.text(), QStringLiteral("BUSY"));
    EXPECT_EQ(calls, 1);
}

TEST(ElementBinding, ModelOutlivesTheBinding)
{
    platform::DisplayModel model;
    QLabel label;
    {
        ElementBinding b(model);
        b.BindLabel("lblCH", &label);
    }
    model.SetCaption("lblCH", "CH");
    EXPECT_TRUE(label.text().isEmpty());
}

TEST(QtEventLoop, TimerTicksAtItsInterval)
{
    QtEventLoop loop;
    auto t = loop.CreateTimer();
    std::vector<double> ticks;
    t->onTick = [&] { ticks.push_back(loop.Now()); };
    t->SetInterval(50);
    t->SetEnabled(true);
    EXPECT_TRUE(t->Enabled());
    EXPECT_EQ(t->Interval(), 50);
    const double start = loop.Now();
    platform::Pause(loop, 0.525);
    EXPECT_GE(loop.Now() - start, 0.525);
    EXPECT_GE(ticks.size(), 5u); // 10 due; a loaded machine may drop some
    EXPECT_LE(ticks.size(), 10u);
    ASSERT_FALSE(ticks.empty());
    EXPECT_GE(ticks.front() - start, 0.045);
    EXPECT_LE(ticks.front() - start, 0.05 + kSlack);
    t->SetEnabled(false);
    const size_t n = ticks.size();
    platform::Pause(loop, 0.15);
    EXPECT_EQ(ticks.size(), n);
}

TEST(QtEventLoop, IntervalZeroNeverTicks)
{
    QtEventLoop loop;
    auto t = loop.CreateTimer();
    int n = 0;
    t->onTick = [&] { ++n; };
    t->SetEnabled(true);
    platform::Pause(loop, 0.15);
    t->SetInterval(0);
    platform::Pause(loop, 0.1);
    EXPECT_EQ(n, 0);
    t->SetInterval(20);
    platform::Pause(loop, 0.1);
    EXPECT_GE(n, 1);
}

TEST(QtEventLoop, TickDoesNotReenterItsOwnHandler)
{
    QtEventLoop loop;
    auto t = loop.CreateTimer();
    int depth = 0, maxDepth = 0, n = 0;
    t->onTick = [&] {
        ++n;
        maxDepth = std::max(maxDepth, ++depth);
        platform::Pause(loop, 0.1); // waits inside the tick, as the radio readers do
        --depth;
    };
    t->SetInterval(20);
    t->SetEnabled(true);
    platform::Pause(loop, 0.5);
    t->SetEnabled(false);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_GE(n, 2);
}

TEST(QtEventLoop, HandlerMayDeleteItsTimer)
{
    QtEventLoop loop;
    auto t = loop.CreateTimer();
    int n = 0;
    t->onTick = [&] {
        ++n;
        t.reset();
    };
    t->SetInterval(10);
    t->SetEnabled(true);
    platform::Pause(loop, 0.1);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(t, nullptr);
}

TEST(QtEventLoop, CallAtFiresOnceAtItsTime)
{
    QtEventLoop loop;
    const double start = loop.Now();
    std::vector<double> fired;
    loop.CallAt(start + 0.1, [&] { fired.push_back(loop.Now()); });
    loop.CallAt(start - 1, [&] { fired.push_back(-1); }); // already due: runs at the next pump
    platform::Pause(loop, 0.05);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0], -1);
    platform::Pause(loop, 0.2);
    ASSERT_EQ(fired.size(), 2u);
    EXPECT_GE(fired[1] - start, 0.1);
    EXPECT_LE(fired[1] - start, 0.1 + kSlack);
}

TEST(QtEventLoop, ProcessEventsUntilReturnsByTheDeadline)
{
    QtEventLoop loop;
    // Something far off must not keep the pump asleep past the deadline.
    bool late = false;
    loop.CallAt(loop.Now() + 60, [&] { late = true; });
    auto t = loop.CreateTimer();
    t->SetInterval(10000);
    t->SetEnabled(true);
    const double start = loop.Now();
    loop.ProcessEventsUntil(start + 0.15);
    const double took = loop.Now() - start;
    EXPECT_LE(took, 0.15 + kSlack);
    EXPECT_GE(took, 0.0);
    // A deadline already past just handles what is pending.
    const double before = loop.Now();
    loop.ProcessEventsUntil(before - 5);
    EXPECT_LT(loop.Now() - before, kSlack);
    EXPECT_FALSE(late);
}

TEST(QtEventLoop, InputOnAWatchedDescriptorEndsTheWait)
{
    // A scan waiting for the radio's answer must wake when it comes, not at the resend time.
    QtEventLoop loop;
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    int woken = 0;
    loop.WatchFd(fds[0], [&] { ++woken; });
    loop.CallAt(loop.Now() + 0.05, [&] { ASSERT_EQ(::write(fds[1], "x", 1), 1); });
    const double start = loop.Now();
    loop.ProcessEventsUntil(start + 10);
    EXPECT_EQ(woken, 1);
    EXPECT_LT(loop.Now() - start, 5.0); // back long before the deadline
    loop.UnwatchFd(fds[0]);
    ::close(fds[0]);
    ::close(fds[1]);
}

TEST(QtEventLoop, NowIsMonotonicSeconds)
{
    QtEventLoop loop;
    const double a = loop.Now();
    QTest::qSleep(20);
    const double b = loop.Now();
    EXPECT_GT(b, a);
    EXPECT_NEAR(b - a, 0.02, 0.05);
}

TEST(QtDialogs, FilterInQtForm)
{
    EXPECT_EQ(QtDialogs::ToQtFilter("Memory Data (*.MEM)|*.mem|All Files (*.*)|*.*"),
              QStringLiteral("Memory Data (*.mem);;All Files (*)"));
    EXPECT_EQ(QtDialogs::ToQtFilter("Text|*.txt;*.log"), QStringLiteral("Text (*.txt *.log)"));
    EXPECT_EQ(QtDialogs::ToQtFilter(""), QString());
    EXPECT_EQ(QtDialogs::DefaultSuffix("Memory Data (*.MEM)|*.mem|All Files (*.*)|*.*"), QStringLiteral("mem"));
    EXPECT_EQ(QtDialogs::DefaultSuffix("All Files (*.*)|*.*"), QString());
}

namespace {

// Acts on the next message box once it is up.
void WhenBoxShows(std::function<void(QMessageBox*)> act)
{
    QTimer::singleShot(50, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(box);
    });
}

} // namespace

TEST(QtDialogs, MessageBoxAnswers)
{
    QtDialogs dialogs;
    using platform::Answer;
    using platform::Buttons;
    using platform::Icon;

    WhenBoxShows([](QMessageBox* b) {
        EXPECT_EQ(b->windowTitle(), QStringLiteral("KIVO"));
        EXPECT_EQ(b->text(), QStringLiteral("Save the memories?"));
        EXPECT_EQ(b->icon(), QMessageBox::Question);
        b->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(dialogs.MessageBox("Save the memories?", "KIVO", Icon::Question, Buttons::YesNo), Answer::No);

    WhenBoxShows([](QMessageBox* b) { b->button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(dialogs.MessageBox("?", "KIVO", Icon::Question, Buttons::YesNoCancel), Answer::Yes);

    WhenBoxShows([](QMessageBox* b) { b->close(); });
    EXPECT_EQ(dialogs.MessageBox("?", "KIVO", Icon::Question, Buttons::YesNo), Answer::Cancel);

    WhenBoxShows([](QMessageBox* b) { b->close(); });
    EXPECT_EQ(dialogs.MessageBox("Done.", "KIVO", Icon::Information, Buttons::Ok), Answer::Ok);

    WhenBoxShows([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.MessageBox("?", "KIVO", Icon::Exclamation, Buttons::OkCancel), Answer::Cancel);

    WhenBoxShows([](QMessageBox* b) { b->button(QMessageBox::Ok)->click(); });
    EXPECT_EQ(dialogs.MessageBox("?", "KIVO", Icon::Critical, Buttons::OkCancel), Answer::Ok);
}

namespace {

// The help pages in the source tree, and the URL the viewer shows.
QString HelpSource() { return QStringLiteral(KIVO_HELP_SOURCE); }
QString Shown(const HelpWindow& viewer) { return viewer.Browser()->source().fileName(); }

void ClickText(QTextBrowser* browser, const QString& text)
{
    const QTextCursor at = browser->document()->find(text);
    ASSERT_FALSE(at.isNull()) << text.toStdString();
    QTextCursor middle = at;
    middle.setPosition((at.selectionStart() + at.selectionEnd()) / 2);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(middle).center());
}

} // namespace

TEST(Help, ContentsThenALinkBackForwardAndContents)
{
    SetHelpFolder(HelpSource());
    QtDialogs dialogs;
    dialogs.ShowHelp("Contents");
    HelpWindow* viewer = dialogs.Help();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(Shown(*viewer), QStringLiteral("index.html"));
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("KIVO FT-817 Help - Contents"));
    EXPECT_FALSE(viewer->BackButton()->isEnabled());
    EXPECT_FALSE(viewer->ForwardButton()->isEnabled());

    ClickText(viewer->Browser(), QStringLiteral("The front panel, key by key"));
    EXPECT_EQ(Shown(*viewer), QStringLiteral("panel.html"));
    ASSERT_TRUE(viewer->BackButton()->isEnabled());
    QTest::mouseClick(viewer->BackButton(), Qt::LeftButton);
    EXPECT_EQ(Shown(*viewer), QStringLiteral("index.html"));
    ASSERT_TRUE(viewer->ForwardButton()->isEnabled());
    QTest::mouseClick(viewer->ForwardButton(), Qt::LeftButton);
    EXPECT_EQ(Shown(*viewer), QStringLiteral("panel.html"));
    QTest::mouseClick(viewer->ContentsButton(), Qt::LeftButton);
    EXPECT_EQ(Shown(*viewer), QStringLiteral("index.html"));

    // Another topic opens the same window at its page.
    dialogs.ShowHelp("Memory Manager");
    EXPECT_EQ(dialogs.Help(), viewer);
    EXPECT_EQ(Shown(*viewer), QStringLiteral("memories.html"));
    EXPECT_EQ(viewer->Browser()->source().fragment(), QStringLiteral("manager"));
    dialogs.CloseHelp();
    EXPECT_FALSE(viewer->isVisible());
    SetHelpFolder({});
}

TEST(Help, AMissingFolderIsNamedInAMessageAndNoWindowOpens)
{
    const QString folder = QDir::temp().filePath(QStringLiteral("kivo-no-help-here"));
    SetHelpFolder(folder);
    QtDialogs dialogs;
    QString text;
    WhenBoxShows([&text](QMessageBox* b) {
        EXPECT_EQ(b->windowTitle(), QStringLiteral("Help"));
        EXPECT_EQ(b->icon(), QMessageBox::Warning);
        text = b->text();
        b->button(QMessageBox::Ok)->click();
    });
    dialogs.ShowHelp("Contents");
    EXPECT_TRUE(text.contains(folder)) << text.toStdString();
    EXPECT_EQ(dialogs.Help(), nullptr);
    SetHelpFolder({});
}

TEST(Help, TheProgramFindsThePagesBesideIt)
{
    // From build/tests as from build/app: the build tree keeps the installed layout.
    EXPECT_TRUE(QFileInfo(QDir(HelpFolder()).filePath(QStringLiteral("index.html"))).isFile())
        << HelpFolder().toStdString();
}

TEST(Help, EveryLinkImageAndTopicLeadsToAFile)
{
    const QDir dir(HelpSource());
    const QStringList pages = dir.entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_GE(pages.size(), 9);
    auto readPage = [&dir](const QString& name) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        return QString::fromUtf8(f.readAll());
    };
    // "page#anchor": the page exists and, with an anchor, holds that id.
    auto check = [&](const QString& from, const QString& target) {
        const QString file = target.section(u'#', 0, 0);
        const QString anchor = target.section(u'#', 1);
        const QString page = file.isEmpty() ? from : file;
        ASSERT_TRUE(QFileInfo(dir.filePath(page)).isFile()) << from.toStdString() << " -> " << target.toStdString();
        if (!anchor.isEmpty()) {
            EXPECT_TRUE(readPage(page).contains(QStringLiteral("id=\"%1\"").arg(anchor)))
                << from.toStdString() << " -> " << target.toStdString();
        }
    };
    QSet<QString> linkedTo;
    const QRegularExpression ref(QStringLiteral(R"re((?:href|src)="([^"]+)")re"));
    for (const QString& name : pages) {
        const QString html = readPage(name);
        EXPECT_TRUE(html.contains(QStringLiteral("<title>"))) << name.toStdString();
        for (auto m = ref.globalMatch(html); m.hasNext();) {
            const QString target = m.next().captured(1);
            if (target.startsWith(QStringLiteral("http")) || target.startsWith(QStringLiteral("mailto:")))
                continue;
            check(name, target);
            linkedTo.insert(target.section(u'#', 0, 0));
        }
    }
    for (const QString& name : pages)
        EXPECT_TRUE(name == QStringLiteral("index.html") || linkedTo.contains(name))
            << name.toStdString() << " is linked from no page";
    for (const std::string& topic : HelpTopics())
        check(QStringLiteral("topic"), HelpPageOf(topic));
    EXPECT_EQ(HelpPageOf("no such topic"), QStringLiteral("index.html"));
}

namespace {

// Qt's warnings while alive, e.g. a painter ended with saved states or a bad transform.
class QtWarnings {
public:
    QtWarnings() : m_previous(qInstallMessageHandler(&Collect)) { s_text.clear(); }
    ~QtWarnings() { qInstallMessageHandler(m_previous); }
    QtWarnings(const QtWarnings&) = delete;
    QtWarnings& operator=(const QtWarnings&) = delete;
    std::string Text() const { return s_text; }

private:
    static void Collect(QtMsgType type, const QMessageLogContext&, const QString& message)
    {
        if (type != QtDebugMsg && type != QtInfoMsg)
            s_text += message.toStdString() + "\n";
    }
    static inline std::string s_text;
    QtMessageHandler m_previous;
};

// What the widget itself paints at that size, on a transparent image (no window background).
QImage OwnPainting(QWidget& w, const QSize& size)
{
    w.resize(size);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    w.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

bool PaintsSomething(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

} // namespace

TEST(Painting, LedDisplayRendersAtAnySize)
{
    LedDisplay led;
    led.setText(QStringLiteral("144.200.00"));
    const QSize sizes[] = {{1, 1},   {2, 1},    {1, 2},     {3, 3},     {7, 5},
                           {40, 12}, {330, 70}, {1000, 20}, {20, 1000}, {2000, 400}};
    for (const QSize& s : sizes) {
        QtWarnings warnings;
        const QImage image = OwnPainting(led, s);
        EXPECT_EQ(warnings.Text(), "") << s.width() << "x" << s.height();
        if (s.width() >= 3 && s.height() >= 3) {
            EXPECT_EQ(qAlpha(image.pixel(s.width() / 2, s.height() / 2)), 255)
                << "the glass covers the middle at " << s.width() << "x" << s.height();
        }
    }
    // At a readable size the dark segments are really drawn on the lit glass.
    QImage big(2000, 400, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::white);
    {
        QPainter p(&big);
        led.drawDisplay(p, QRectF(0, 0, 2000, 400));
    }
    int dark = 0;
    for (int y = 0; y < big.height(); y += 4)
        for (int x = 0; x < big.width(); x += 4)
            dark += qGray(big.pixel(x, y)) < 60;
    EXPECT_GT(dark, 500);
}

TEST(Painting, OtherWidgetsRenderAtOddSizes)
{
    LedDisplay letters;
    letters.setText(QStringLiteral("FM - VFO a"));
    MeterGauge meter;
    meter.setValue(0, 99); // beyond full scale: pinned
    meter.setValue(1, -3);
    meter.setValue(2, std::nan(""));
    Knob knob;
    knob.setDetentsPerTurn(1000);
    Indicator lamp(QStringLiteral("BUSY"));
    lamp.setOn(true);
    Indicator label(QStringLiteral("ON AIR"), Indicator::Style::Label);
    PanelKey key(QStringLiteral("A < > B"));
    key.setCheckable(true);
    key.setChecked(true);
    // The same gauge with the values the odd ones must be drawn as.
    MeterGauge pinned;
    pinned.setValue(0, MeterGauge::kScaleMax);
    pinned.setValue(1, 0);
    pinned.setValue(2, 0);
    QWidget* all[] = {&letters, &meter, &knob, &lamp, &label, &key};
    for (const QSize& s : {QSize(1, 1), QSize(3, 2), QSize(300, 12), QSize(12, 300), QSize(800, 400)}) {
        const std::string at = std::to_string(s.width()) + "x" + std::to_string(s.height());
        for (QWidget* w : all) {
            QtWarnings warnings;
            const QImage image = OwnPainting(*w, s);
            EXPECT_EQ(warnings.Text(), "") << w->metaObject()->className() << " at " << at;
            if (s.width() >= 3 && s.height() >= 2) {
                EXPECT_TRUE(PaintsSomething(image)) << w->metaObject()->className() << " at " << at;
            }
        }
        EXPECT_EQ(OwnPainting(meter, s), OwnPainting(pinned, s))
            << "beyond full scale, below zero and NaN are drawn pinned, at " << at;
    }
}
