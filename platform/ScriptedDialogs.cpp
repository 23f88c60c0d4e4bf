#include "platform/ScriptedDialogs.h"

namespace kivo::platform {

namespace {
Answer FirstButton(Buttons b)
{
    switch (b) {
    case Buttons::Ok:
    case Buttons::OkCancel: return Answer::Ok;
    case Buttons::YesNo:
    case Buttons::YesNoCancel: return Answer::Yes;
    }
    return Answer::Ok;
}
} // namespace

Answer ScriptedDialogs::MessageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons)
{
    Answer a = FirstButton(buttons);
    if (!answers.empty()) {
        a = answers.front();
        answers.pop_front();
    }
    boxes.push_back({text, title, icon, buttons, a});
    return a;
}

std::optional<std::string> ScriptedDialogs::NextFile(const std::string& filter)
{
    fileFilters.push_back(filter);
    if (files.empty())
        return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
}

bool ScriptedDialogs::AskForm(const std::string& title, const std::string& text, std::vector<FormField>& fields)
{
    shownForms.push_back({title, text, fields});
    if (forms.empty())
        return false;
    const auto typed = forms.front();
    forms.pop_front();
    if (!typed)
        return false;
    for (std::size_t i = 0; i < fields.size() && i < typed->size(); ++i)
        fields[i].value = (*typed)[i];
    return true;
}

std::optional<std::string> ScriptedDialogs::OpenFile(const std::string& filter, const std::string&)
{
    return NextFile(filter);
}

std::optional<std::string> ScriptedDialogs::SaveFile(const std::string& filter, const std::string&)
{
    return NextFile(filter);
}

} // namespace kivo::platform
