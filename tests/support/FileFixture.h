#pragma once
// A data folder, the file units over it, scripted dialogs and an error-injecting file system.

#include "platform/ScriptedDialogs.h"
#include "state/DataFiles.h"
#include "state/MemoryFile.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace kivo::testing {

class FileFixture : public ::testing::Test {
protected:
    TempDir dir;
    FaultyFileSystem fs;
    platform::ScriptedDialogs dialogs;
    state::ModKIVO s;
    state::DataFiles files{s, fs, dialogs, dir.path()};
    state::MemoryFile memory{s, fs, dialogs};

    std::string settingsPath() const { return dir / "ft817.kivo"; }
    std::string bandPath() const { return dir / "bandinfo.kivo"; }
    std::string homePath() const { return dir / "homemem.kivo"; }
    void ExpectOneBox(const std::string& text, const std::string& title, platform::Icon icon, platform::Buttons b)
    {
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, text);
        EXPECT_EQ(dialogs.boxes[0].title, title);
        EXPECT_EQ(dialogs.boxes[0].icon, icon);
        EXPECT_EQ(dialogs.boxes[0].buttons, b);
    }
};

} // namespace kivo::testing
