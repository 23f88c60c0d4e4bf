#pragma once
// User dialogs the program logic asks through: message boxes, beep, file dialogs, help.

#include <optional>
#include <string>
#include <vector>

namespace kivo::platform {

enum class Icon { None, Exclamation, Question, Information, Critical };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// One field of a form: a line of text, or, with choices, one of them.
struct FormField {
    std::string label;
    std::string value;
    std::vector<std::string> choices;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Modal message box; returns the button pressed (closing the box counts as Cancel, or Ok for Ok-only).
    virtual Answer MessageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons) = 0;
    virtual void Beep() = 0;
    // Filter in the form "Memory Data (*.MEM)|*.mem|All Files (*.*)|*.*". Empty optional on cancel.
    virtual std::optional<std::string> OpenFile(const std::string& filter, const std::string& initialPath) = 0;
    virtual std::optional<std::string> SaveFile(const std::string& filter, const std::string& initialPath) = 0;
    // A small modal form over the fields as given; true on OK, with each value as the user left it.
    virtual bool AskForm(const std::string& title, const std::string& text, std::vector<FormField>& fields) = 0;
    virtual void ShowHelp(const std::string& topic) = 0;
    virtual void CloseHelp() = 0;
};

} // namespace kivo::platform
