// The band scope window on the offscreen platform, over the simulator's pseudo-terminal: opened
// by SCOPE, swept across the simulator's 145.000 MHz carrier, the peak found on the painted
// chart, a click on it tunes the radio, File > Exit keeps the menu choices.

#include "platform/FileSystem.h"
#include "program/ProgramWindow.h"
#include "scope/BandScope.h"
#include "sim/BackgroundSim.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowRig.h"
#include "ui/BandScopeWindow.h"
#include "ui/PanelKey.h"
#include "ui/StripChart.h"

#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <fstream>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>

using namespace kivo;

namespace {

bool WaitFor(program::ProgramWindow& w, double seconds, const std::function<bool()>& done)
{
    for (int i = 0; i < int(seconds * 50) && !done(); ++i)
        platform::Pause(w.Loop(), 0.02);
    return done();
}

QAction* MenuEntry(QMainWindow& w, const QString& text)
{
    QList<QMenu*> menus;
    for (QAction* top : w.menuBar()->actions())
        if (top->menu())
            menus << top->menu();
    while (!menus.isEmpty()) {
        QMenu* m = menus.takeFirst();
        for (QAction* a : m->actions()) {
            if (a->menu())
                menus << a->menu();
            else if (a->text() == text)
                return a;
        }
    }
    return nullptr;
}

void ClickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

TEST(BandScopeWindow, ASweepAcrossTheCarrierPeaksOnItsFrequencyAndAClickThereTunesTheRadio)
{
    kivo::testing::TempDir dir;
    {
        state::ModKIVO f = kivo::testing::SimulatorStart(14500000);
        f.Settings.CatRate = 1;
        ASSERT_TRUE(kivo::testing::SaveStartFiles(f, dir.path()));
        // A first opening would stop at the message about a new settings file.
        platform::PosixFileSystem fs;
        ASSERT_TRUE(fs.WriteAtomic(dir / scope::kScopeSettingsFileName, scope::ToBytes(scope::ScopeSettings{})));
    }
    sim::BackgroundSim radio(sim::WireOptions::Ideal());
    program::ProgramWindow w(dir.path());
    auto& prog = w.Program();
    std::string err;
    ASSERT_TRUE(kivo::testing::OpenOnSimulator(w, radio, err)) << err;
    QTest::mouseClick(w.Key(el::PowerButton), Qt::LeftButton);
    ASSERT_TRUE(prog.s.CATOn);

    QTest::mouseClick(w.Key(el::SCOPEbutton), Qt::LeftButton);
    auto* scope = w.findChild<ui::BandScopeWindow*>();
    ASSERT_NE(scope, nullptr);
    EXPECT_EQ(scope->windowTitle(), QStringLiteral("Band Scope"));
    EXPECT_FALSE(scope->isModal());
    EXPECT_TRUE(scope->isVisible());
    QTest::mouseClick(w.Key(el::SCOPEbutton), Qt::LeftButton);
    EXPECT_EQ(w.findChildren<ui::BandScopeWindow*>().size(), 1) << "a second press raises the same window";

    auto* centre = scope->findChild<QLineEdit*>(QStringLiteral("txtboxFreq(1)"));
    ASSERT_NE(centre, nullptr);
    EXPECT_EQ(centre->text(), QStringLiteral("145.000.00"));
    // The menus as the choices stand: defaults from a new settings file.
    QAction* pan = MenuEntry(*scope, QStringLiteral("Pan"));
    QAction* wrap = MenuEntry(*scope, QStringLiteral("Wrap"));
    ASSERT_TRUE(pan && wrap);
    EXPECT_TRUE(pan->isChecked());
    EXPECT_FALSE(wrap->isEnabled());

    QAction* fast = MenuEntry(*scope, QStringLiteral("250 ms."));
    ASSERT_NE(fast, nullptr);
    fast->trigger();
    fast->trigger(); // the checked entry stays checked
    EXPECT_TRUE(fast->isChecked());
    auto* steps = scope->findChild<QListWidget*>(QStringLiteral("listSteps"));
    ASSERT_NE(steps, nullptr);
    ClickRow(steps, 3); // "5 KHz"
    auto* start = scope->findChild<QPushButton*>(QStringLiteral("cmdSCAN"));
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->text(), QStringLiteral("START"));
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_EQ(start->text(), QStringLiteral("STOP"));
    ASSERT_TRUE(WaitFor(w, 15, [&] { return start->text() == QStringLiteral("START"); }));
    ASSERT_EQ(prog.scope.Trace().points.size(), 11u);

    // The highest trace pixel on the painted chart lies over the carrier.
    ui::StripChart* chart = scope->Chart();
    const QImage image = chart->grab().toImage();
    int peakX = -1, peakY = image.height();
    for (int y = 0; y < image.height() && peakX < 0; ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 190 && c.blue() < 120) {
                peakX = x;
                peakY = y;
                break;
            }
        }
    ASSERT_GE(peakX, 0) << "no trace drawn";
    const double peakKHz = chart->Geometry().KHzAt(peakX * ui::StripChart::kWidth / chart->width());
    EXPECT_NEAR(peakKHz, 145000, 2.5);
    EXPECT_NEAR(chart->ToWidget(145000, 7).y(), peakY, 3);

    QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(peakX, peakY + 20));
    EXPECT_EQ(prog.s.VFOMB.Freq, 14500000);
    EXPECT_TRUE(WaitFor(w, 2, [&] { return radio.Radio().Current().freq == 14500000u; }));

    QPointer<ui::BandScopeWindow> closed(scope);
    // File > Exit keeps the Scan Speed choice; the window goes.
    MenuEntry(*scope, QStringLiteral("&Exit"))->trigger();
    std::ifstream in(dir / scope::kScopeSettingsFileName, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    ASSERT_EQ(bytes.str().size(), scope::kScopeSettingsSize);
    EXPECT_EQ(bytes.str()[8], 4);
    EXPECT_TRUE(closed.isNull() || !closed->isVisible());
}

} // namespace
