#pragma once
// A Dialogs fake for tests: records every box and answers from a script.

#include "platform/Dialogs.h"

#include <deque>
#include <string>
#include <vector>

namespace kivo::platform {

struct ShownForm {
    std::string title;
    std::string text;
    std::vector<FormField> fields; // as offered, before the scripted answer
};

struct ShownBox {
    std::string text;
    std::string title;
    Icon icon;
    Buttons buttons;
    Answer answer;
};

class ScriptedDialogs final : public Dialogs {
public:
    Answer MessageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) override;
    void Beep() override { ++beeps; }
    std::optional<std::string> OpenFile(const std::string& filter, const std::string& initialPath) override;
    std::optional<std::string> SaveFile(const std::string& filter, const std::string& initialPath) override;
    bool AskForm(const std::string& title, const std::string& text, std::vector<FormField>& fields) override;
    void ShowHelp(const std::string& topic) override { helpTopics.push_back(topic); }
    void CloseHelp() override { ++helpCloses; }

    // Answers for the next boxes, in order; when the script runs out a box gets its first button.
    std::deque<Answer> answers;
    // Paths for the next file dialogs, in order; std::nullopt is a cancel. Running out cancels.
    std::deque<std::optional<std::string>> files;
    // Values typed into the next forms, one per field in order; std::nullopt (or running out)
    // cancels.
    std::deque<std::optional<std::vector<std::string>>> forms;

    std::vector<ShownBox> boxes;
    std::vector<std::string> fileFilters;
    std::vector<ShownForm> shownForms;
    std::vector<std::string> helpTopics;
    int beeps = 0;
    int helpCloses = 0;

private:
    std::optional<std::string> NextFile(const std::string& filter);
};

} // namespace kivo::platform
