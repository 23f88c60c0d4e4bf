// Takes the help pages' pictures from the real window, lit on the built-in simulator: the panel
// (panel.png) and the Settings menu open down to Update Intervals > Scanning (menus.png). Run
// under Xvfb, whose screen holds the open menus: help-pictures DIR (scripts/help-pictures.sh).

#include "platform/PosixSerialPort.h"
#include "program/ProgramWindow.h"
#include "sim/BackgroundSim.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <iostream>

using namespace kivo;

namespace {

constexpr int kPanelWidth = 720;

QMenu* SubMenu(QMenu* menu, const QString& text)
{
    for (QAction* a : menu->actions())
        if (a->menu() && a->text().remove(u'&') == text)
            return a->menu();
    return nullptr;
}

QAction* MenuBarEntry(QMainWindow& w, const QString& text)
{
    for (QAction* a : w.menuBar()->actions())
        if (a->text().remove(u'&') == text)
            return a;
    return nullptr;
}

// Opens `sub` beside its entry in `parent`, as hovering the entry would.
void OpenBeside(QMenu* parent, QMenu* sub)
{
    parent->setActiveAction(sub->menuAction());
    const QRect entry = parent->actionGeometry(sub->menuAction());
    sub->popup(parent->mapToGlobal(entry.topRight()));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: help-pictures DIR\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir data;
    sim::BackgroundSim radio;
    std::string err;
    const std::string path = radio.Start(err);
    if (path.empty() || !data.isValid()) {
        std::cerr << "help-pictures: cannot start the simulator: " << err << "\n";
        return 1;
    }
    // A first run: take each message box's default answer.
    QTimer unattended;
    QObject::connect(&unattended, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->done(box->standardButtons() & QMessageBox::No ? QMessageBox::No : QMessageBox::Ok);
    });
    unattended.start(100);

    program::ProgramWindow w(data.path().toStdString());
    auto& prog = w.Program();
    prog.port.SetSimulator(path);
    prog.RefreshPorts();
    prog.panel.Power().Load();
    const int number = prog.port.Bindings().NumberOf(platform::kSimulatorDevice);
    if (number != 0)
        prog.comm.ChooseCommPort(number);
    w.move(0, 0);
    prog.panel.Power().PressPower();
    platform::Pause(w.Loop(), 1.5);
    // Smaller than the window, so the page shows it whole; scaled here, smoothly, not by the viewer.
    bool ok = w.grab()
                  .toImage()
                  .scaledToWidth(kPanelWidth, Qt::SmoothTransformation)
                  .save(out.filePath(QStringLiteral("panel.png")));

    // Settings > Update Intervals > Scanning, open; the screen holds the menus beside the window.
    QAction* settings = MenuBarEntry(w, QStringLiteral("Settings"));
    QMenu* intervals = settings ? SubMenu(settings->menu(), QStringLiteral("Update Intervals")) : nullptr;
    QMenu* scanning = intervals ? SubMenu(intervals, QStringLiteral("Scanning")) : nullptr;
    if (!scanning) {
        std::cerr << "help-pictures: no Settings > Update Intervals > Scanning menu\n";
        return 1;
    }
    w.menuBar()->setActiveAction(settings);
    platform::Pause(w.Loop(), 0.3);
    OpenBeside(settings->menu(), intervals);
    platform::Pause(w.Loop(), 0.3);
    OpenBeside(intervals, scanning);
    platform::Pause(w.Loop(), 0.5);
    QRect area = w.frameGeometry();
    int right = 0;
    int bottom = 0;
    for (QMenu* m : {settings->menu(), intervals, scanning}) {
        right = std::max(right, m->geometry().right());
        bottom = std::max(bottom, m->geometry().bottom());
    }
    area.setRight(std::min(area.right(), right + 24));
    area.setBottom(std::min(area.bottom(), bottom + 24));
    ok = w.screen()
             ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
             .save(out.filePath(QStringLiteral("menus.png"))) &&
         ok;
    scanning->hide();
    intervals->hide();
    settings->menu()->hide();
    prog.panel.Power().EndKIVO();
    return ok ? 0 : 1;
}
