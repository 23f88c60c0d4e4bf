// The windows as a screen reader sees them, on the offscreen platform: every control named with
// a real role, and a turn of the knob told to the reader by the display it changed.

#include "platform/Elements.h"
#include "platform/FileSystem.h"
#include "scope/ScopeSettings.h"
#include "sim/BackgroundSim.h"
#include "tests/support/MenuDrive.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowRig.h"
#include "ui/Accessibility.h"
#include "ui/BandScopeWindow.h"
#include "ui/HelpWindow.h"
#include "ui/Knob.h"
#include "ui/LedDisplay.h"
#include "ui/MainWindow.h"
#include "ui/PanelKey.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace kivo;

namespace {

// Qt's own inner parts ("qt_scrollarea_viewport", a message box's icon) and what is in them
// are Qt's to tell.
bool QtsOwn(const QWidget* w, const QWidget* top)
{
    for (; w != nullptr && w != top; w = w->parentWidget())
        if (w->objectName().startsWith(QLatin1String("qt_")))
            return true;
    return false;
}

// The widgets of `top` a reader reaches but could not tell: shown, and without a name or with
// the anonymous filler role.
std::vector<std::string> Untold(QWidget& top)
{
    std::vector<std::string> untold;
    QList<QWidget*> all = top.findChildren<QWidget*>();
    all.prepend(&top);
    for (QWidget* w : all) {
        if (!w->isVisible() || QtsOwn(w, &top))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        const QString what =
            QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(w->metaObject()->className()), w->objectName());
        if (a == nullptr)
            untold.push_back(what.toStdString() + ": no interface");
        else if (a->text(QAccessible::Name).trimmed().isEmpty())
            untold.push_back(what.toStdString() + ": no name");
        else if (a->role() == QAccessible::Client)
            untold.push_back(what.toStdString() + ": no role");
    }
    return untold;
}

struct LitWindow {
    kivo::testing::TempDir dir;
    sim::BackgroundSim radio{sim::WireOptions::Ideal()};
    std::unique_ptr<ui::MainWindow> w;

    LitWindow()
    {
        state::ModKIVO f = kivo::testing::SimulatorStart(14520000);
        f.Settings.CatRate = 1;
        EXPECT_TRUE(kivo::testing::SaveStartFiles(f, dir.path()));
        platform::PosixFileSystem fs;
        // A first opening of the band scope would stop at the message about a new settings file.
        EXPECT_TRUE(fs.WriteAtomic(dir / scope::kScopeSettingsFileName, scope::ToBytes(scope::ScopeSettings{})));
        w = std::make_unique<ui::MainWindow>(dir.path());
        std::string err;
        EXPECT_TRUE(kivo::testing::OpenOnSimulator(*w, radio, err)) << err;
        QTest::mouseClick(w->Key(el::CATbutton), Qt::LeftButton);
        EXPECT_TRUE(w->Program().s.CATOn);
    }
};

// Runs `check` on the modal box `open` shows, then closes it.
void OnModal(const std::function<void()>& open, const std::function<void(QWidget&)>& check)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        seen = true;
        check(*modal);
        if (auto* dlg = qobject_cast<QDialog*>(modal))
            dlg->reject();
        else
            modal->close();
    });
    open();
    EXPECT_TRUE(seen);
}

TEST(Accessibility, EveryShownControlOfEachWindowAndDialogHasANameAndARole)
{
    LitWindow lit;
    ui::MainWindow& w = *lit.w;
    const auto expectTold = [](QWidget& top, const std::string& what) {
        EXPECT_EQ(Untold(top), std::vector<std::string>{}) << what;
    };
    expectTold(w, "the lit panel");

    // The modal dialogs, each opened by its menu entry.
    for (const char* entry : {"Tuning Steps...", "Repeater Shifts...", "CTCSS Tones...", "DCS Codes...",
                              "Lock Menus...", "About KIVO FT-817", "Manager..."})
        kivo::testing::DriveDialog(kivo::testing::MenuAction(w, QString::fromLatin1(entry)), entry,
                                   [&](QDialog& dlg) { expectTold(dlg, entry); });
    OnModal([&] { w.Dialogs().MessageBox("A message.", "Title", platform::Icon::Question, platform::Buttons::YesNo); },
            [&](QWidget& box) { expectTold(box, "a message box"); });

    // The windows of their own: the band scope and the help viewer.
    QTest::mouseClick(w.Key(el::SCOPEbutton), Qt::LeftButton);
    auto* scope = w.findChild<ui::BandScopeWindow*>();
    ASSERT_NE(scope, nullptr);
    expectTold(*scope, "the band scope");
    scope->close();
    ui::SetHelpFolder(QStringLiteral(KIVO_HELP_SOURCE));
    w.Dialogs().ShowHelp("Contents");
    ASSERT_NE(ui::HelpWindow::Instance(), nullptr);
    expectTold(*ui::HelpWindow::Instance(), "the help viewer");
    w.Dialogs().CloseHelp();
    ui::SetHelpFolder({});
}

TEST(Accessibility, ATurnOfTheKnobIsToldByTheDisplayItChanged)
{
    LitWindow lit;
    ui::MainWindow& w = *lit.w;
    ui::LedDisplay* freq = w.FreqDisplay();
    const QString before = freq->text();
    ASSERT_EQ(before, QStringLiteral("145.200.00"));

    struct Heard {
        QAccessible::Event type;
        QObject* object;
        QString removed, inserted;
        QVariant value;
    };
    std::vector<Heard> heard;
    ui::SetAccessibleEventListener([&](QAccessibleEvent& e) {
        Heard h{e.type(), e.object(), {}, {}, {}};
        if (e.type() == QAccessible::TextUpdated) {
            const auto& t = static_cast<QAccessibleTextUpdateEvent&>(e);
            h.removed = t.textRemoved();
            h.inserted = t.textInserted();
        } else if (e.type() == QAccessible::ValueChanged) {
            h.value = static_cast<QAccessibleValueChangeEvent&>(e).value();
        }
        heard.push_back(h);
    });

    // The knob's increase action, as a screen reader turns it: one detent.
    QAccessibleInterface* knob = QAccessible::queryAccessibleInterface(w.MainKnob());
    ASSERT_NE(knob, nullptr);
    ASSERT_NE(knob->actionInterface(), nullptr);
    knob->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    platform::Pause(w.Loop(), 0.05);
    ui::SetAccessibleEventListener(nullptr);

    const QString after = freq->text();
    ASSERT_NE(after, before) << "the knob tuned";
    const auto told = [&](QAccessible::Event type, QObject* object) {
        for (const Heard& h : heard)
            if (h.type == type && h.object == object)
                return &h;
        return static_cast<const Heard*>(nullptr);
    };
    const Heard* text = told(QAccessible::TextUpdated, freq);
    ASSERT_NE(text, nullptr) << "the display tells its new text";
    EXPECT_EQ(text->removed, before);
    EXPECT_EQ(text->inserted, after);
    EXPECT_NE(told(QAccessible::NameChanged, freq), nullptr) << "and its name in words";
    EXPECT_EQ(QAccessible::queryAccessibleInterface(freq)->text(QAccessible::Name).toStdString(),
              "145.20001 megahertz");
    const Heard* value = told(QAccessible::ValueChanged, w.MainKnob());
    ASSERT_NE(value, nullptr) << "the knob tells what it now sets";
    EXPECT_NEAR(value->value.toDouble(), 145.20001, 1e-9);
    const Heard* spoken = told(QAccessible::NameChanged, w.Spoken());
    ASSERT_NE(spoken, nullptr) << "the window announces it";
    EXPECT_EQ(w.Spoken()->Spoken().toStdString(), "145.20001 megahertz");
}

} // namespace
