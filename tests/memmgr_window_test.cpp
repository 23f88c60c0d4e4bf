// The memory manager window on the offscreen platform: opened from the Memory menu, edited with
// the keyboard and the mouse, saved, and the memory file written from it.

#include "program/ProgramWindow.h"
#include "state/Layout.h"
#include "tests/support/MenuDrive.h"
#include "tests/support/TempDir.h"
#include "ui/HelpWindow.h"
#include "ui/MemoryManagerWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <string>

using namespace kivo;
using state::MemRec;

namespace {

MemRec Used(int p, const std::string& desc)
{
    MemRec m;
    m.VFO1 = {14500000 + 100 * p, 5, 60000, 0, 0, 8, 0, 0};
    m.Band1 = 1;
    m.Desc.Assign(desc);
    return m;
}

using kivo::testing::MenuAction;

QString Cell(const ui::MemoryManagerWindow& dlg, int row, int column)
{
    return dlg.Model()->index(row, column).data().toString();
}

void ClickRow(ui::MemoryManagerWindow& dlg, int row, Qt::KeyboardModifiers mods = {})
{
    const QModelIndex at = dlg.Model()->index(row, 0);
    dlg.Table()->scrollTo(at);
    QTest::mouseClick(dlg.Table()->viewport(), Qt::LeftButton, mods, dlg.Table()->visualRect(at).center());
}

void Click(ui::MemoryManagerWindow& dlg, const char* name)
{
    auto* b = dlg.findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(b, nullptr) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

// The open editor; a closed one lingers until the event loop deletes it.
QLineEdit* Editor(ui::MemoryManagerWindow& dlg)
{
    for (auto* e : dlg.findChildren<QLineEdit*>(QStringLiteral("Text1")))
        if (e->isVisible())
            return e;
    return nullptr;
}

TEST(MemoryManagerWindow, AnEditACutAndAPasteReachTheMemoryFileAfterSave)
{
    kivo::testing::TempDir dir;
    std::array<MemRec, state::kMemCount> before{};
    for (int p = 0; p <= 12; ++p)
        before[p] = Used(p, p == 5 ? "five" : "ch" + std::to_string(p));
    before[0].BankSel = state::kTrue;
    const std::string path = dir / "club.mem";
    std::string bytes;
    for (const auto& m : before)
        bytes += state::ToBytes(m);
    kivo::testing::WriteAll(path, bytes);

    program::ProgramWindow w(dir.path());
    auto& prog = w.Program();
    ASSERT_TRUE(prog.memory.OpenMemoryFile(path));
    QAction* manager = MenuAction(w, QStringLiteral("Manager..."));
    ASSERT_NE(manager, nullptr);

    bool drove = false;
    QTimer::singleShot(0, &w, [&] {
        auto* dlg = w.findChild<ui::MemoryManagerWindow*>();
        ASSERT_NE(dlg, nullptr);
        // Whatever fails below, the modal window must not stay open.
        struct Closer {
            ui::MemoryManagerWindow* d;
            ~Closer()
            {
                if (d->isVisible())
                    d->reject();
            }
        } closer{dlg};
        EXPECT_EQ(dlg->windowTitle(), "Memory Manager");
        EXPECT_TRUE(dlg->isModal());
        EXPECT_EQ(dlg->Model()->rowCount(), 1000);
        EXPECT_EQ(Cell(*dlg, 5, 2), "145.005.00");

        // F2 on the frequency cell edits the row's description; Enter commits.
        dlg->Table()->setCurrentIndex(dlg->Model()->index(5, 2));
        QTest::keyClick(dlg->Table(), Qt::Key_F2);
        QLineEdit* editor = Editor(*dlg);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->text(), "five");
        EXPECT_EQ(editor->cursorPosition(), 4) << "the cursor at the end";
        EXPECT_FALSE(editor->hasSelectedText());
        QTest::keyClicks(editor, " new");
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_EQ(Cell(*dlg, 5, 3), "five new");
        EXPECT_EQ(Cell(*dlg, 5, 2), "145.005.00");

        ClickRow(*dlg, 10);
        ClickRow(*dlg, 12, Qt::ShiftModifier);
        EXPECT_EQ(dlg->Table()->SelectedRows(), std::make_pair(10, 12));
        Click(*dlg, "btnMemoryEdit(0)");
        for (int r = 10; r <= 12; ++r)
            EXPECT_EQ(Cell(*dlg, r, 2), "") << r;
        ClickRow(*dlg, 40);
        Click(*dlg, "btnMemoryEdit(2)");
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(Cell(*dlg, 40 + r, 3), QStringLiteral("ch%1").arg(10 + r));
        EXPECT_FALSE(prog.s.MemChanged) << "nothing reaches the database before SAVE";
        Click(*dlg, "cmdSAVE");
        drove = true;
    });
    manager->trigger(); // returns when the window closes
    ASSERT_TRUE(drove);
    EXPECT_TRUE(prog.s.MemChanged);
    ASSERT_TRUE(prog.memory.SaveCommand());

    auto want = before;
    for (int p = 0; p < 50; ++p)
        want[p].BankSel = state::kTrue; // bank 1 ticked by its first position
    want[5].Desc.Assign("five new");
    for (int p = 10; p <= 12; ++p) {
        want[p + 30] = want[p];
        want[p] = MemRec{};
        want[p].Desc.Assign("");
        want[p].BankSel = state::kTrue;
        want[p].Skip = state::kTrue;
    }
    const std::string saved = kivo::testing::ReadAll(path);
    ASSERT_EQ(saved.size(), state::kMemFileSize);
    auto record = [&saved](int p) { return saved.substr(std::size_t(p) * state::kMemRecSize, state::kMemRecSize); };
    EXPECT_EQ(record(5).substr(44, 49), "five new" + std::string(41, ' '));
    EXPECT_EQ(record(11), std::string(44, '\0') + std::string(49, ' ') + "\xFF\xFF" + std::string(2, '\0') +
                              "\xFF\xFF" + std::string(4, '\0'))
        << "emptied: blank description, BankSel and Skip -1";
    EXPECT_EQ(record(41).substr(0, 4), std::string("\xEC\x44\xDD\x00", 4)) << "14501100, little-endian, at 41";
    for (int p = 0; p < state::kMemCount; ++p)
        ASSERT_EQ(record(p), state::ToBytes(want[p])) << "position " << p;
}

TEST(MemoryManagerWindow, EditorKeysCaptionsAndCancel)
{
    state::ModKIVO s;
    s.MemData[0].BankSel = state::kTrue;
    s.MemData[3] = Used(3, "three");
    s.MemData[4] = Used(4, "four");
    s.MemChanged = true; // a stored memory not yet saved
    ui::MemoryManagerWindow dlg(s);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));

    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(dlg.Model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), memmgr::kHeadings[c]);
    for (int i = 0; i < 5; ++i) {
        auto* b = dlg.findChild<QPushButton*>(QStringLiteral("btnMemoryEdit(%1)").arg(i));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), memmgr::kEditCaptions[i]);
        EXPECT_EQ(b->toolTip(), memmgr::kEditToolTips[i]);
    }
    EXPECT_EQ(dlg.findChild<QPushButton*>(QStringLiteral("cmdSAVE"))->toolTip(), memmgr::kSaveToolTip);
    EXPECT_EQ(dlg.findChild<QPushButton*>(QStringLiteral("cmdCANCEL"))->toolTip(), memmgr::kCancelToolTip);
    for (int k = 1; k <= 20; ++k) {
        auto* box = dlg.findChild<QCheckBox*>(QStringLiteral("chkBank(%1)").arg(k));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text().toStdString(), memmgr::BankCaption(k));
        EXPECT_EQ(box->isChecked(), k == 1);
    }

    // A double click on the number cell opens the description; Esc leaves it as it was.
    const QModelIndex three = dlg.Model()->index(3, 0);
    const QPoint at = dlg.Table()->visualRect(three).center();
    QTest::mouseClick(dlg.Table()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dlg.Table()->viewport(), Qt::LeftButton, {}, at);
    ASSERT_NE(Editor(dlg), nullptr);
    EXPECT_EQ(Editor(dlg)->text(), "three");
    QTest::keyClicks(Editor(dlg), "x");
    QTest::keyClick(Editor(dlg), Qt::Key_Escape);
    EXPECT_EQ(Cell(dlg, 3, 3), "three");

    // Down commits and moves one row; up on the first row commits and stays.
    dlg.Table()->setCurrentIndex(three);
    QTest::keyClick(dlg.Table(), Qt::Key_F2);
    QTest::keyClicks(Editor(dlg), "y");
    QTest::keyClick(Editor(dlg), Qt::Key_Down);
    EXPECT_EQ(Cell(dlg, 3, 3), "threey");
    EXPECT_EQ(dlg.Table()->CurrentRow(), 4);
    dlg.Table()->setCurrentIndex(dlg.Model()->index(0, 3));
    QTest::keyClick(dlg.Table(), Qt::Key_F2);
    QTest::keyClicks(Editor(dlg), "z");
    QTest::keyClick(Editor(dlg), Qt::Key_Up);
    EXPECT_EQ(Cell(dlg, 0, 3), "z");
    EXPECT_EQ(dlg.Table()->CurrentRow(), 0);

    // Neither Enter nor Escape on the table presses a button or closes the window.
    QTest::keyClick(dlg.Table(), Qt::Key_Return);
    QTest::keyClick(dlg.Table(), Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(Cell(dlg, 0, 3), "z");

    dlg.close(); // the close box is CANCEL
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(s.MemData[3].Desc.Text(), "three");
    EXPECT_TRUE(s.MemChanged) << "CANCEL leaves the flag as it was";
}

TEST(MemoryManagerWindow, HelpContentsOpensTheProgramsHelpAndStaysUsable)
{
    state::ModKIVO s;
    s.MemData[0].BankSel = state::kTrue;
    ui::MemoryManagerWindow dlg(s);
    dlg.setWindowModality(Qt::ApplicationModal); // as the Memory menu opens it
    dlg.show();
    QAction* contents = nullptr;
    for (QAction* a : dlg.findChild<QMenuBar*>()->actions())
        if (a->menu() && a->text() == QStringLiteral("&Help"))
            contents = a->menu()->actions().value(0);
    ASSERT_NE(contents, nullptr);
    EXPECT_EQ(contents->text(), QStringLiteral("&Contents"));
    contents->trigger();

    ui::HelpWindow* viewer = ui::HelpWindow::Instance();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->Browser()->source().fileName(), QStringLiteral("index.html"));
    // Opened over the modal manager, the viewer is its window's child, so the manager does not block it.
    EXPECT_TRUE(dlg.windowHandle()->isAncestorOf(viewer->windowHandle(), QWindow::IncludeTransients));
    dlg.close();
    EXPECT_EQ(viewer->parentWidget(), nullptr);
    EXPECT_TRUE(viewer->isVisible()) << "help stays open after the manager closes";
}

} // namespace
