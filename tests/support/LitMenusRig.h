#pragma once
// The panel lit on the simulator with the usual files and its menus wired; the start's boxes and
// bytes are cleared, so a test sees only what it did.

#include "panel/MainMenu.h"
#include "tests/support/PanelRig.h"

namespace kivo::testing {

class LitMenusRig : public PanelRig {
protected:
    panel::MainMenu menus;

    void SetUp() override
    {
        panel::WirePanelMenus(menus, panel, comm, memory, dialogs);
        WriteUsualFiles();
        panel.Power().Load();
        panel.Power().PressPower();
        loop.Advance(0.5);
        dialogs.boxes.clear();
        TakeSent();
    }
};

} // namespace kivo::testing
