#pragma once
// The program's help: HTML pages in a folder installed with the program, shown in one viewer
// window with Back, Forward and Contents. Every window of the program opens the same viewer.

#include <QString>
#include <QWidget>

#include <string>
#include <vector>

class QPushButton;
class QTextBrowser;

namespace kivo::ui {

// The page of the table of contents.
inline constexpr const char* kHelpContentsPage = "index.html";

// The help folder: the one set by SetHelpFolder, else share/kivo-ft817/help beside the
// program's bin folder (the build tree keeps a copy at the same place from build/app).
QString HelpFolder();
// Points the viewer at another folder (tests); an empty text goes back to the default.
void SetHelpFolder(const QString& folder);
// The page, with an optional "#anchor", that a topic opens; an unknown topic opens the contents.
QString HelpPageOf(const std::string& topic);
// Every topic HelpPageOf knows.
std::vector<std::string> HelpTopics();

class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    // The viewer every window shares, made on first use; null before that or once deleted.
    static HelpWindow* Instance();
    // Shows `page` (relative to `folder`) in the shared viewer, brought to the front. When a
    // modal window is up the viewer opens as its child, which keeps it usable beside it.
    static HelpWindow* Open(const QString& folder, const QString& page);

    QTextBrowser* Browser() const { return m_browser; }
    QPushButton* BackButton() const { return m_back; }
    QPushButton* ForwardButton() const { return m_forward; }
    QPushButton* ContentsButton() const { return m_contents; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HelpWindow();
    void ShowPage(const QString& folder, const QString& page);
    void FollowModal(QWidget* modal);

    QTextBrowser* m_browser = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_forward = nullptr;
    QPushButton* m_contents = nullptr;
    QString m_folder;
};

} // namespace kivo::ui
