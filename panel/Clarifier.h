#pragma once
// CLAR: the clarifier, carried out on the panel. Its offset is part of the main frequency sent
// to the radio; no clarifier command goes out. While it is on, the sub knob moves the offset.

#include "panel/KeyEnabling.h"
#include "panel/PanelContext.h"
#include "panel/Switchable.h"

namespace kivo::panel {

class Clarifier final : public Switchable, private ContextRefs {
public:
    // The dark panel shows no CLAR mark.
    Clarifier(const PanelContext& ctx, KeyEnabling& keys);

    // CLAR on adds the main VFO's clarifier offset to its frequency, CLAR off takes it away
    // again; either way the frequency goes to the radio.
    void PressClar();

    // CLAR off when it is on.
    void SwitchOff() override;

private:
    KeyEnabling& m_keys;
};

} // namespace kivo::panel
