#pragma once
// A lit window over the simulator, the main VFO on 145.200 FM (20 m remembered on 14.074); the
// band scope's settings are there, so that its first opening asks nothing.

#include "platform/FileSystem.h"
#include "program/ProgramWindow.h"
#include "scope/ScopeSettings.h"
#include "sim/BackgroundSim.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowRig.h"
#include "ui/LedDisplay.h"
#include "ui/PanelKey.h"

#include <QTest>

#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace kivo::testing {

class LitWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        state::ModKIVO f = SimulatorStart(14520000);
        f.BandData.BandVFOMB[7].Freq = 1407400;
        ASSERT_TRUE(SaveStartFiles(f, dir.path()));
        platform::PosixFileSystem fs;
        ASSERT_TRUE(fs.WriteAtomic(dir / scope::kScopeSettingsFileName, scope::ToBytes(scope::ScopeSettings{})));
        w = std::make_unique<program::ProgramWindow>(dir.path());
        std::string err;
        ASSERT_TRUE(OpenOnSimulator(*w, radio, err)) << err;
        Click("CATbutton");
        ASSERT_TRUE(w->Program().s.CATOn);
    }
    // Clicks the panel key `key`, which must be there and enabled.
    void Click(const std::string& key)
    {
        ui::PanelKey* k = w->Key(key);
        ASSERT_NE(k, nullptr) << key;
        ASSERT_TRUE(k->isEnabled()) << key;
        QTest::mouseClick(k, Qt::LeftButton);
    }
    std::string Shown() const { return w->FreqDisplay()->text().toStdString(); }

    TempDir dir;
    sim::BackgroundSim radio{sim::WireOptions::Ideal()};
    std::unique_ptr<program::ProgramWindow> w;
};

} // namespace kivo::testing
