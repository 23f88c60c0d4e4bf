// The real window at each display size and in the LCD view, its menu bar built from the menu
// tree, the menu lock's dialog and the About box.

#include "panel/MainMenu.h"
#include "panel/Power.h"
#include "platform/Version.h"
#include "program/ProgramWindow.h"
#include "tests/support/MenuDrive.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowRig.h"
#include "ui/PanelKey.h"
#include "ui/PanelView.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

using namespace kivo;

namespace {

// Every action of the menu bar, by object name ("mnuFileArray(6)", "mnuSettings").
QAction* Entry(QMainWindow& w, const std::string& name)
{
    const QString n = QString::fromStdString(name);
    for (QMenu* m : w.menuBar()->findChildren<QMenu*>())
        if (m->objectName() == n)
            return m->menuAction();
    for (QAction* a : w.menuBar()->findChildren<QAction*>())
        if (a->objectName() == n)
            return a;
    return nullptr;
}

// The menu entry by its object name.
void DriveDialog(QMainWindow& w, const std::string& entry, const std::function<void(QDialog&)>& drive)
{
    kivo::testing::DriveDialog(Entry(w, entry), entry, drive);
}

// Nothing of `root`'s visible widgets sticks out of its parent or covers a visible sibling.
void ExpectNothingClippedOrOverlapping(QWidget* root)
{
    const auto all = root->findChildren<QWidget*>();
    for (QWidget* w : all) {
        if (!w->isVisibleTo(root))
            continue;
        const std::string name = w->objectName().toStdString();
        QWidget* parent = w->parentWidget();
        EXPECT_TRUE(parent->rect().contains(w->geometry())) << name << " sticks out";
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
            EXPECT_GE(label->width(), label->minimumSizeHint().width()) << name << " cut short";
        }
        for (QWidget* other : all) {
            if (other != w && other->parentWidget() == parent && other->isVisibleTo(root) && w < other) {
                EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                    << name << " covers " << other->objectName().toStdString();
            }
        }
    }
}

class Sizes : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A user with no port chosen: the panel stays dark and nothing asks a question.
        state::ModKIVO f;
        f.Settings.CommPort = 10;
        ASSERT_TRUE(kivo::testing::SaveStartFiles(f, dir.path()));
        w = std::make_unique<program::ProgramWindow>(dir.path());
        w->Program().panel.Power().Load();
    }
    kivo::testing::TempDir dir;
    std::unique_ptr<program::ProgramWindow> w;
};

TEST_F(Sizes, EachSizeLaysThePanelOutAtItsWidthWithNothingClippedOrOverlapping)
{
    for (long width : panel::kDisplayWidths) {
        SCOPED_TRACE(width);
        std::string error;
        int step = 0;
        ASSERT_TRUE(w->ResizeDisplay(width, error, step)) << error;
        QApplication::processEvents();
        EXPECT_EQ(w->View()->width(), width);
        EXPECT_EQ(w->width(), width);
        ExpectNothingClippedOrOverlapping(w->View());

        // The LCD view: the display panel alone, the window around it.
        w->ShowLcdOnly(true);
        QApplication::processEvents();
        QWidget* lcd = w->View()->DisplayPanel();
        EXPECT_TRUE(lcd->isVisibleTo(w.get()));
        for (auto* key : w->View()->findChildren<ui::PanelKey*>())
            EXPECT_FALSE(key->isVisibleTo(w.get())) << key->objectName().toStdString();
        EXPECT_LT(w->View()->height(), lcd->height() + lcd->height() / 5);
        EXPECT_LT(w->View()->width(), width);
        ExpectNothingClippedOrOverlapping(w->View());
        w->ShowLcdOnly(false);
    }
}

TEST_F(Sizes, TheDisplayMenuChoosesTheSizeAndTheView)
{
    auto& s = w->Program().s;
    Entry(*w, "mnuResizeDisplayArray(0)")->trigger();
    EXPECT_EQ(s.Settings.DisplaySize, 0);
    EXPECT_EQ(w->width(), 640);
    EXPECT_TRUE(Entry(*w, "mnuResizeDisplayArray(0)")->isChecked());
    EXPECT_FALSE(Entry(*w, "mnuResizeDisplayArray(2)")->isChecked());
    Entry(*w, "mnuResizeDisplayArray(4)")->trigger();
    EXPECT_FALSE(w->Key(el::MOXbutton)->isVisibleTo(w.get()));
    Entry(*w, "mnuResizeDisplayArray(5)")->trigger();
    EXPECT_TRUE(w->Key(el::MOXbutton)->isVisibleTo(w.get()));
    EXPECT_EQ(w->width(), 640);
}

TEST_F(Sizes, TheMenuBarHasTheTreesCaptionsInItsOrder)
{
    std::vector<std::string> shown;
    std::function<void(QMenu*)> walk = [&](QMenu* m) {
        for (QAction* a : m->actions()) {
            shown.push_back(a->isSeparator() ? "-" : a->text().toStdString());
            if (a->menu())
                walk(a->menu());
        }
    };
    for (QAction* top : w->menuBar()->actions()) {
        shown.push_back(top->text().remove(u'&').toStdString());
        walk(top->menu());
    }
    std::vector<std::string> tree;
    for (const auto& e : panel::MainMenuTree())
        tree.push_back(e.caption);
    // The port entries name their devices; the rest are the tree's captions.
    ASSERT_EQ(shown.size(), tree.size());
    for (std::size_t i = 0; i < tree.size(); ++i)
        if (panel::MainMenuTree()[i].group != panel::MenuGroup::CommPort) {
            EXPECT_EQ(shown[i], tree[i]);
        }
}

TEST_F(Sizes, LockedTheSettingsAndMemoryMenusCannotOpenAndHelpCan)
{
    DriveDialog(*w, "mnuFileArray(6)", [](QDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Lock Menus"));
        auto* text = dlg.findChild<QLineEdit*>(QStringLiteral("txtPassword"));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->echoMode(), QLineEdit::Password);
        EXPECT_EQ(text->maxLength(), 10);
        // Too short: the message, then the text selected for typing over.
        QTest::keyClicks(text, QStringLiteral("abc"));
        QString boxTitle;
        QTimer::singleShot(0, &dlg, [&boxTitle] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxTitle = box->windowTitle();
                box->accept();
            }
        });
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        EXPECT_EQ(boxTitle, QStringLiteral("Lock Menus"));
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(text->selectedText(), QStringLiteral("abc"));
        QTest::keyClicks(text, QStringLiteral("Secret1"));
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        EXPECT_FALSE(dlg.isVisible());
    });
    EXPECT_TRUE(w->Program().s.MenusLocked);
    for (const char* n : {"mnuSettings", "mnuMemory", "mnuFileArray(0)", "mnuFileArray(6)", "mnuFileArray(9)"})
        EXPECT_FALSE(Entry(*w, n)->isEnabled()) << n;
    for (const char* n : {"mnuHelp", "mnuHelpArray(0)", "mnuHelpArray(2)", "mnuFileArray(7)"})
        EXPECT_TRUE(Entry(*w, n)->isEnabled()) << n;

    DriveDialog(*w, "mnuFileArray(7)", [](QDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Unlock Menus"));
        QTest::keyClicks(dlg.findChild<QLineEdit*>(QStringLiteral("txtPassword")), QStringLiteral("Secret1"));
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    EXPECT_FALSE(w->Program().s.MenusLocked);
    EXPECT_TRUE(Entry(*w, "mnuSettings")->isEnabled());
}

TEST_F(Sizes, AboutShowsTheProgramsNameAndVersion)
{
    DriveDialog(*w, "mnuHelpArray(2)", [](QDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("About KIVO FT-817"));
        EXPECT_NE(dlg.findChildren<QLabel*>().size(), 0);
        bool version = false;
        for (auto* l : dlg.findChildren<QLabel*>())
            version = version || l->text().contains(QString::fromStdString(panel::Power::VersionText(
                                     platform::kVersionMajor, platform::kVersionMinor, platform::kVersionPatch)));
        EXPECT_TRUE(version);
    });
}

} // namespace
