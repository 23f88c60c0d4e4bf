// The windows as a screen reader sees them, on the offscreen platform: every control named with
// a real role, and a turn of the knob told to the reader by the display it changed.

#include "platform/Elements.h"
#include "tests/support/LitWindow.h"
#include "tests/support/MenuDrive.h"
#include "ui/Accessibility.h"
#include "ui/BandScopeWindow.h"
#include "ui/HelpWindow.h"
#include "ui/Knob.h"
#include "ui/LedDisplay.h"

#include <QAccessible>
#include <QAction>
#include <QDialog>

#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace kivo;

namespace {

struct Accessibility : kivo::testing::LitWindow {};

// The shown widgets of `top` a reader reaches but could not tell: without an interface, a name
// or a role other than the anonymous filler. Qt's own inner parts ("qt_scrollarea_viewport", a
// message box's icon) and what is in them are Qt's to tell.
void ExpectAllTold(QWidget& top, const std::string& what)
{
    std::vector<std::string> untold;
    QList<QWidget*> all = top.findChildren<QWidget*>();
    all.prepend(&top);
    for (QWidget* w : all) {
        bool qts = false;
        for (const QWidget* p = w; p != nullptr && p != &top; p = p->parentWidget())
            qts = qts || p->objectName().startsWith(QLatin1String("qt_"));
        if (!w->isVisible() || qts)
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        const std::string name = std::string(w->metaObject()->className()) + " \"" + w->objectName().toStdString();
        if (a == nullptr)
            untold.push_back(name + "\": no interface");
        else if (a->text(QAccessible::Name).trimmed().isEmpty())
            untold.push_back(name + "\": no name");
        else if (a->role() == QAccessible::Client)
            untold.push_back(name + "\": no role");
    }
    EXPECT_EQ(untold, std::vector<std::string>{}) << what;
}

TEST_F(Accessibility, EveryShownControlOfEachWindowAndDialogHasANameAndARole)
{
    ExpectAllTold(*w, "the lit panel");
    // The modal dialogs, each opened by its menu entry, and a message box.
    QAction message;
    QObject::connect(&message, &QAction::triggered, [&] {
        w->Dialogs().MessageBox("A message.", "Title", platform::Icon::Question, platform::Buttons::YesNo);
    });
    for (const char* entry : {"Tuning Steps...", "Repeater Shifts...", "CTCSS Tones...", "DCS Codes...",
                              "Lock Menus...", "About KIVO FT-817", "Manager..."})
        kivo::testing::DriveDialog(kivo::testing::MenuAction(*w, QString::fromLatin1(entry)), entry,
                                   [&](QDialog& dlg) { ExpectAllTold(dlg, entry); });
    kivo::testing::DriveDialog(&message, "a message box", [&](QDialog& box) { ExpectAllTold(box, "a message box"); });

    // The windows of their own: the band scope and the help viewer.
    Click(el::SCOPEbutton);
    auto* scope = w->findChild<ui::BandScopeWindow*>();
    ASSERT_NE(scope, nullptr);
    ExpectAllTold(*scope, "the band scope");
    scope->close();
    ui::SetHelpFolder(QStringLiteral(KIVO_HELP_SOURCE));
    w->Dialogs().ShowHelp("Contents");
    ASSERT_NE(ui::HelpWindow::Instance(), nullptr);
    ExpectAllTold(*ui::HelpWindow::Instance(), "the help viewer");
    w->Dialogs().CloseHelp();
    ui::SetHelpFolder({});
}

TEST_F(Accessibility, ATurnOfTheKnobIsToldByTheDisplayItChanged)
{
    ui::LedDisplay* freq = w->FreqDisplay();
    const QString before = freq->text();
    ASSERT_EQ(before, QStringLiteral("145.200.00"));

    // What a reader hears, in order: "event object text", the text removed and inserted or the value.
    std::vector<std::string> heard;
    ui::SetAccessibleEventListener([&](QAccessibleEvent& e) {
        QString said;
        if (e.type() == QAccessible::TextUpdated) {
            const auto& t = static_cast<QAccessibleTextUpdateEvent&>(e);
            said = t.textRemoved() + " -> " + t.textInserted();
        } else if (e.type() == QAccessible::ValueChanged) {
            said = static_cast<QAccessibleValueChangeEvent&>(e).value().toString();
        }
        const QObject* o = e.object();
        const char* who = o == freq ? "display" : o == w->MainKnob() ? "knob" : o == w->Spoken() ? "window" : "other";
        heard.push_back(std::to_string(e.type()) + " " + who + " " + said.toStdString());
    });
    // The knob's increase action, as a screen reader turns it: one detent.
    QAccessibleInterface* knob = QAccessible::queryAccessibleInterface(w->MainKnob());
    ASSERT_NE(knob, nullptr);
    ASSERT_NE(knob->actionInterface(), nullptr);
    knob->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    platform::Pause(w->Loop(), 0.05);
    ui::SetAccessibleEventListener(nullptr);

    ASSERT_EQ(freq->text(), QStringLiteral("145.200.01")) << "the knob tuned";
    const auto told = [&](QAccessible::Event type, const std::string& rest) {
        const std::string want = std::to_string(type) + " " + rest;
        return std::find(heard.begin(), heard.end(), want) != heard.end();
    };
    EXPECT_TRUE(told(QAccessible::TextUpdated, "display 145.200.00 -> 145.200.01")) << "the display tells its new text";
    EXPECT_TRUE(told(QAccessible::NameChanged, "display ")) << "and its name in words";
    EXPECT_EQ(QAccessible::queryAccessibleInterface(freq)->text(QAccessible::Name).toStdString(),
              "145.20001 megahertz");
    EXPECT_TRUE(told(QAccessible::ValueChanged, "knob 145.20001")) << "the knob tells what it now sets";
    EXPECT_TRUE(told(QAccessible::NameChanged, "window ")) << "the window announces it";
    EXPECT_EQ(w->Spoken()->Spoken().toStdString(), "145.20001 megahertz");
}

} // namespace
