#include "ui/MainMenus.h"

#include "lock/MenuLock.h"
#include "platform/Elements.h"
#include "ui/AboutBox.h"
#include "ui/LockDialog.h"
#include "ui/MemoryMenu.h"
#include "ui/RepeaterShiftsDialog.h"
#include "ui/ToneCodesDialog.h"
#include "ui/TuningStepsDialog.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <vector>

namespace kivo::ui {

namespace {

using panel::MenuGroup;
using panel::MenuKind;

// The entries that open the window's dialogs and windows.
void WireWindowMenus(QMainWindow& window, panel::Program& prog)
{
    auto& m = prog.menus;
    m.On(MenuGroup::File, 6, [&window, &prog] { ShowLockDialog(&window, prog.menuLock, lock::kLockCaption); });
    m.On(MenuGroup::File, 7, [&window, &prog] { ShowLockDialog(&window, prog.menuLock, lock::kUnlockCaption); });
    m.On(MenuGroup::File, 9, [&window] { window.close(); });
    m.On(MenuGroup::Settings, 8,
         [&window, &prog] { ShowTuningStepsDialog(&window, prog.panel.TuningSteps(), prog.display); });
    m.On(MenuGroup::Settings, 9, [&window, &prog] { ShowRepeaterShiftsDialog(&window, prog.panel.RepeaterShifts()); });
    m.On(MenuGroup::Settings, 11, [&window, &prog] { ShowToneCodesDialog(&window, prog.panel.CtcssTones()); });
    m.On(MenuGroup::Settings, 12, [&window, &prog] { ShowToneCodesDialog(&window, prog.panel.DcsCodes()); });
    m.On(MenuGroup::Help, 2, [&window] { ShowAboutBox(&window); });
    WireMemoryMenu(window, prog);
}

} // namespace

void BuildMainMenus(QMainWindow& window, panel::Program& prog, ElementBinding& binding)
{
    WireWindowMenus(window, prog);
    auto bindAction = [&binding](const std::string& name, QAction* a) {
        if (!el::IsDeclared(name))
            return;
        binding.Bind(name, [a](const platform::Element& e) {
            if (!e.caption.empty())
                a->setText(QString::fromStdString(e.caption));
            a->setEnabled(e.enabled);
            a->setChecked(e.checked);
        });
    };

    // The menu each depth's entries go into.
    std::vector<QMenu*> open;
    for (const auto& e : panel::MainMenuTree()) {
        const std::string name = panel::MenuElement(e.group, e.index);
        const QString caption = QString::fromUtf8(e.caption);
        if (e.depth == 0) {
            // The bar's menus open with Alt and their first letter.
            QMenu* menu = window.menuBar()->addMenu(u'&' + caption);
            menu->setObjectName(QString::fromStdString(name));
            bindAction(name, menu->menuAction());
            open = {menu};
            continue;
        }
        open.resize(std::size_t(e.depth));
        QMenu* parent = open.back();
        if (e.kind == MenuKind::Separator) {
            parent->addSeparator();
            continue;
        }
        if (e.kind == MenuKind::Menu) {
            QMenu* sub = parent->addMenu(caption);
            sub->setObjectName(QString::fromStdString(name));
            bindAction(name, sub->menuAction());
            // The port menu names each number's device as it opens.
            if (e.group == MenuGroup::Settings && e.index == 0)
                QObject::connect(sub, &QMenu::aboutToShow, &window, [&prog] { prog.RefreshPorts(); });
            open.push_back(sub);
            continue;
        }
        QAction* a = parent->addAction(caption);
        a->setObjectName(QString::fromStdString(name));
        a->setCheckable(e.kind == MenuKind::Check || e.kind == MenuKind::Radio);
        QObject::connect(a, &QAction::triggered, &window, [&prog, a, name, group = e.group, index = e.index] {
            prog.menus.Click(group, index);
            // A click toggles the entry's check itself; a choice refused or cancelled leaves the
            // model as it was, and so no change that would set it back.
            if (a->isCheckable() && prog.display.Has(name))
                a->setChecked(prog.display.Get(name).checked);
        });
        bindAction(name, a);
    }
}

} // namespace kivo::ui
