#include "tests/support/MenuDrive.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <gtest/gtest.h>

namespace kivo::testing {

QAction* MenuAction(QMainWindow& w, const QString& text)
{
    for (QAction* top : w.menuBar()->actions())
        if (top->menu())
            for (QAction* a : top->menu()->actions())
                if (a->text() == text)
                    return a;
    return nullptr;
}

void DriveDialog(QAction* entry, const std::string& what, const std::function<void(QDialog&)>& drive)
{
    ASSERT_NE(entry, nullptr) << what;
    bool drove = false;
    // The dialog runs its own loop once triggered, so it is driven from a timer inside that loop.
    QTimer::singleShot(0, entry, [&] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        drove = true;
        drive(*dlg);
        if (dlg->isVisible())
            dlg->reject();
    });
    entry->trigger();
    EXPECT_TRUE(drove) << what;
}

} // namespace kivo::testing
