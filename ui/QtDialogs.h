#pragma once
// The program's dialogs on Qt: message boxes, beep, file dialogs and the help.

#include "platform/Dialogs.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <string>

namespace kivo::ui {

class HelpWindow;

class QtDialogs final : public platform::Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr);
    ~QtDialogs() override;
    QtDialogs(const QtDialogs&) = delete;
    QtDialogs& operator=(const QtDialogs&) = delete;

    // Boxes and file dialogs open over this window (may be null).
    void SetParent(QWidget* parent) { m_parent = parent; }

    platform::Answer MessageBox(const std::string& text, const std::string& title, platform::Icon icon,
                                platform::Buttons buttons) override;
    void Beep() override;
    std::optional<std::string> OpenFile(const std::string& filter, const std::string& initialPath) override;
    std::optional<std::string> SaveFile(const std::string& filter, const std::string& initialPath) override;
    // Opens the shared help viewer at the topic's page (HelpPageOf); when the page is not in the
    // help folder, a message box says where it was looked for instead.
    // The fields in a form layout: a line edit for text, a drop-down for a choice, each named for
    // screen readers by its label.
    bool AskForm(const std::string& title, const std::string& text, std::vector<platform::FormField>& fields) override;
    void ShowHelp(const std::string& topic) override;
    void CloseHelp() override;

    // The help viewer every window shares (ui/HelpWindow.h); null until help was first shown.
    HelpWindow* Help() const;

    // "Memory Data (*.MEM)|*.mem|All Files (*.*)|*.*" -> "Memory Data (*.mem);;All Files (*)".
    static QString ToQtFilter(const std::string& filter);
    // The extension a typed name without one gets: the first filter's "*.ext", else empty.
    static QString DefaultSuffix(const std::string& filter);

private:
    QPointer<QWidget> m_parent;
};

} // namespace kivo::ui
