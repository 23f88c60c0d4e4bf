#include "ui/MainMenus.h"

#include "platform/Elements.h"
#include "ui/MemoryMenu.h"
#include "ui/RepeaterShiftsDialog.h"
#include "ui/ToneCodesDialog.h"
#include "ui/TuningStepsDialog.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace kivo::ui {

void BuildMainMenus(QMainWindow& window, panel::Program& prog, ElementBinding& binding)
{
    auto bindAction = [&binding](const std::string& name, QAction* a) {
        binding.Bind(name, [a](const platform::Element& e) {
            if (!e.caption.empty())
                a->setText(QString::fromStdString(e.caption));
            a->setEnabled(e.enabled);
            a->setChecked(e.checked);
        });
    };

    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New"), &window, [&prog] { prog.memory.FileMenu(0); });
    file->addAction(QStringLiteral("&Open..."), &window, [&prog] { prog.memory.FileMenu(1); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Save"), &window, [&prog] { prog.memory.FileMenu(3); });
    file->addAction(QStringLiteral("Save &As..."), &window, [&prog] { prog.memory.FileMenu(4); });
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"), &window, [&window] { window.close(); });

    QMenu* settings = window.menuBar()->addMenu(QStringLiteral("&Settings"));
    QMenu* ports = settings->addMenu(QStringLiteral("Serial Port"));
    QObject::connect(ports, &QMenu::aboutToShow, &window, [&prog] { prog.RefreshPorts(); });
    for (int i = 1; i <= radio::kPortNone; ++i) {
        if (i == radio::kPortNone)
            ports->addSeparator();
        QAction* a = ports->addAction(QString::number(i));
        a->setCheckable(true);
        QObject::connect(a, &QAction::triggered, &window, [&prog, i] { prog.comm.mnuCommPortArray_Click(i); });
        bindAction(el::mnuCommPortArray(i), a);
    }
    QMenu* rates = settings->addMenu(QStringLiteral("CAT Rate"));
    for (int i = 0; i < 3; ++i) {
        QAction* a = rates->addAction(QString());
        a->setCheckable(true);
        QObject::connect(a, &QAction::triggered, &window, [&prog, i] { prog.comm.mnuCatRate_Click(i); });
        bindAction(el::mnuCatRate(i), a);
    }
    settings->addAction(QStringLiteral("Detect CAT Rate..."), &window,
                        [&prog] { prog.rateDetect.mnuDetectCatRate_Click(); });
    auto& power = prog.panel.Power();
    auto& scanner = prog.panel.Scanner();
    QMenu* intervals = settings->addMenu(QStringLiteral("Update Intervals"));
    QMenu* scanning = intervals->addMenu(QStringLiteral("Scanning"));
    for (int i = 0; i < int(panel::kScanIntervals.size()); ++i) {
        QAction* a = scanning->addAction(QString::fromLatin1(panel::kScanSpeedCaptions[std::size_t(i)]));
        a->setCheckable(true);
        QObject::connect(a, &QAction::triggered, &window, [&scanner, i] { scanner.mnuScanSpeed_Click(i); });
        bindAction(el::mnuScanSpeed(i), a);
    }
    QMenu* meter = intervals->addMenu(QStringLiteral("Meter"));
    for (int i = 0; i < 7; ++i) {
        QAction* a = meter->addAction(QString());
        a->setCheckable(true);
        QObject::connect(a, &QAction::triggered, &window, [&power, i] { power.mnuMeterSpeed_Click(i); });
        bindAction(el::mnuMeterSpeed(i), a);
    }
    QMenu* pri = intervals->addMenu(QStringLiteral("PRI Monitor"));
    auto& monitor = prog.panel.PriorityMonitor();
    for (int i = 0; i < 4; ++i) {
        QAction* a = pri->addAction(QString());
        a->setCheckable(true);
        QObject::connect(a, &QAction::triggered, &window, [&monitor, i] { monitor.mnuPRIspeed_Click(i); });
        bindAction(el::mnuPRIspeed(i), a);
    }
    QMenu* pause = intervals->addMenu(QStringLiteral("Pause"));
    for (int i = 0; i < int(panel::kPauseSeconds.size()); ++i) {
        QAction* a = pause->addAction(QString::fromLatin1(panel::kPauseCaptions[std::size_t(i)]));
        a->setCheckable(true);
        QObject::connect(a, &QAction::triggered, &window, [&scanner, i] { scanner.mnuPauseInterval_Click(i); });
        bindAction(el::mnuPauseInterval(i), a);
    }
    settings->addSeparator();
    QAction* tune = settings->addAction(QStringLiteral("Tune to Radio on Start-up"));
    tune->setCheckable(true);
    QObject::connect(tune, &QAction::triggered, &window, [&power] { power.mnuTuneOnStartup_Click(); });
    bindAction(el::mnuSettingsArray(panel::kTuneOnStartupEntry), tune);
    QAction* follow = settings->addAction(QStringLiteral("Follow Radio Dial"));
    follow->setCheckable(true);
    QObject::connect(follow, &QAction::triggered, &window,
                     [&prog] { prog.panel.DialFollower().mnuFollowDial_Click(); });
    bindAction(el::mnuSettingsArray(panel::kFollowDialEntry), follow);
    QAction* share = settings->addAction(QStringLiteral("Share Radio on Network"));
    share->setCheckable(true);
    QObject::connect(share, &QAction::triggered, &window, [&prog] { prog.sharing.mnuShareRadio_Click(); });
    bindAction(el::mnuSettingsArray(panel::kShareRadioEntry), share);
    settings->addAction(QStringLiteral("Tuning Steps..."), &window,
                        [&window, &prog] { ShowTuningStepsDialog(&window, prog.panel.TuningSteps(), prog.display); });
    settings->addAction(QStringLiteral("Repeater Shifts..."), &window,
                        [&window, &prog] { ShowRepeaterShiftsDialog(&window, prog.panel.RepeaterShifts()); });
    settings->addSeparator();
    settings->addAction(QStringLiteral("CTCSS Tones..."), &window,
                        [&window, &prog] { ShowToneCodesDialog(&window, prog.panel.CtcssTones()); });
    settings->addAction(QStringLiteral("DCS Codes..."), &window,
                        [&window, &prog] { ShowToneCodesDialog(&window, prog.panel.DcsCodes()); });

    BuildMemoryMenu(window, prog);
}

} // namespace kivo::ui
