#pragma once
// The program's dialogs on Qt: message boxes, beep, file dialogs and a small help window.

#include "platform/Dialogs.h"

#include <QPointer>
#include <QString>
#include <QTextBrowser>
#include <QWidget>

#include <map>
#include <string>

namespace kivo::ui {

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
    void ShowHelp(const std::string& topic) override;
    void CloseHelp() override;

    // Help text (HTML or plain) shown for a topic; unknown topics get a page naming them.
    void AddHelpTopic(const std::string& topic, const QString& text);
    QTextBrowser* HelpWindow() const { return m_help; }

    // "Memory Data (*.MEM)|*.mem|All Files (*.*)|*.*" -> "Memory Data (*.mem);;All Files (*)".
    static QString ToQtFilter(const std::string& filter);
    // The extension a typed name without one gets: the first filter's "*.ext", else empty.
    static QString DefaultSuffix(const std::string& filter);

private:
    QPointer<QWidget> m_parent;
    QPointer<QTextBrowser> m_help;
    std::map<std::string, QString> m_helpTopics;
};

} // namespace kivo::ui
