#include "ui/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <map>

namespace kivo::ui {

namespace {

QString& FolderOverride()
{
    static QString folder;
    return folder;
}

QPointer<HelpWindow>& Shared()
{
    static QPointer<HelpWindow> viewer;
    return viewer;
}

// The topics the windows ask for, and the page each opens.
const std::map<std::string, const char*>& Topics()
{
    static const std::map<std::string, const char*> topics{
        {"Contents", kHelpContentsPage}, {"Front Panel", "panel.html"},
        {"Keyboard", "keyboard.html"},   {"Menus", "menus.html"},
        {"Memories", "memories.html"},   {"Memory Manager", "memories.html#manager"},
        {"Scanning", "scanning.html"},   {"Band Scope", "scope.html"},
        {"Files", "files.html"},         {"Connecting a Radio", "radio.html"},
    };
    return topics;
}

} // namespace

QString HelpFolder()
{
    if (!FolderOverride().isEmpty())
        return FolderOverride();
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kivo-ft817/help"));
}

void SetHelpFolder(const QString& folder) { FolderOverride() = folder; }

QString HelpPageOf(const std::string& topic)
{
    const auto it = Topics().find(topic);
    return QString::fromLatin1(it == Topics().end() ? kHelpContentsPage : it->second);
}

std::vector<std::string> HelpTopics()
{
    std::vector<std::string> names;
    for (const auto& [topic, page] : Topics())
        names.push_back(topic);
    return names;
}

HelpWindow* HelpWindow::Instance() { return Shared(); }

HelpWindow* HelpWindow::Open(const QString& folder, const QString& page)
{
    if (!Shared())
        Shared() = new HelpWindow;
    HelpWindow* viewer = Shared();
    viewer->FollowModal(QApplication::activeModalWidget());
    viewer->ShowPage(folder, page);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("KIVO FT-817 Help"));
    m_back = new QPushButton(QStringLiteral("&Back"));
    m_forward = new QPushButton(QStringLiteral("&Forward"));
    m_contents = new QPushButton(QStringLiteral("&Contents"));
    m_browser = new QTextBrowser;
    m_browser->setAccessibleName(QStringLiteral("Help page"));
    m_browser->setOpenExternalLinks(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addWidget(m_contents);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);

    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_contents, &QPushButton::clicked, this,
            [this] { ShowPage(m_folder, QString::fromLatin1(kHelpContentsPage)); });
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("KIVO FT-817 Help")
                                       : QStringLiteral("KIVO FT-817 Help - %1").arg(title));
    });
    resize(760, 640);
}

void HelpWindow::ShowPage(const QString& folder, const QString& page)
{
    m_folder = folder;
    QUrl url = QUrl::fromLocalFile(QDir(folder).filePath(page.section(u'#', 0, 0)));
    if (page.contains(u'#'))
        url.setFragment(page.section(u'#', 1));
    m_browser->setSource(url);
}

void HelpWindow::FollowModal(QWidget* modal)
{
    if (modal == nullptr || modal == this || modal == parentWidget())
        return;
    // A modal window blocks every window but its own; as its child the viewer stays usable.
    const QRect where = geometry();
    setParent(modal, Qt::Window);
    setGeometry(where);
    modal->installEventFilter(this);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched == parentWidget()) {
        // The modal window goes: the viewer stays, on its own again.
        watched->removeEventFilter(this);
        const bool shown = isVisible();
        const QRect where = geometry();
        setParent(nullptr, Qt::Window);
        setGeometry(where);
        if (shown)
            show();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kivo::ui
