#include "ui/MainWindow.h"

#include "ui/Accessibility.h"
#include "ui/BandScopeWindow.h"
#include "ui/KeyForwarder.h"
#include "ui/MainMenus.h"
#include "ui/MeterGauge.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

namespace kivo::ui {

namespace {

constexpr int kTwipsPerPixel = 15;
// The panel as built is laid out for a screen this wide.
constexpr long kBuiltWidthTwips = 15360;
const QColor kBody(0x1C, 0x1D, 0x20);

QString Q(const std::string& s) { return QString::fromStdString(s); }

} // namespace

MainWindow::MainWindow(const std::string& dataDir, QWidget* parent) : QMainWindow(parent), m_dialogs(this)
{
    m_program = std::make_unique<panel::Program>(m_loop, m_dialogs, *this, dataDir);
    m_binding = std::make_unique<ElementBinding>(m_program->display);

    setWindowTitle(QStringLiteral("KIVO FT-817"));
    m_view = new PanelView(m_program->panel, *m_binding);
    setCentralWidget(m_view);
    m_view->onScopeKey = [this] { ShowBandScope(this, *m_program); };
    BuildMainMenus(*this, *m_program, *m_binding);
    menuBar()->setAccessibleName(QStringLiteral("Menu bar"));
    // What changes on the panel is said through a notification of the window's own.
    m_spoken = new SpokenStatus(this);
    auto& said = m_program->announcements;
    said.onSpeak = [this](const std::string& words) { m_spoken->Say(Q(words)); };
    said.onMeterUnit = [this] { m_view->Meter()->AnnounceReading(); };
    // Shown only while the radio is shared on the network: where, and with how many programs.
    auto* share = new QLabel(this);
    share->setObjectName(QString::fromUtf8(el::lblShareStatus));
    statusBar()->addWidget(share);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->setAccessibleName(QStringLiteral("Status"));
    m_binding->BindLabel(el::lblShareStatus, share);
    m_binding->Bind(el::lblShareStatus, [this](const platform::Element& e) { statusBar()->setVisible(e.visible); });
    // The window is as large as the panel's size and view make it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_program->panel.DisplaySettings().SetLayout(this);
    // The panel's keyboard sees every key stroke before the window's controls do.
    m_keyForwarder = std::make_unique<KeyForwarder>(this, m_program->panel.Keyboard());
}

MainWindow::~MainWindow() = default;

long MainWindow::LeftTwips() const { return long(geometry().x()) * kTwipsPerPixel; }
long MainWindow::TopTwips() const { return long(geometry().y()) * kTwipsPerPixel; }

bool MainWindow::OnScreen(long leftTwips, long topTwips) const
{
    return QGuiApplication::screenAt(QPoint(int(leftTwips / kTwipsPerPixel), int(topTwips / kTwipsPerPixel))) !=
           nullptr;
}

void MainWindow::MoveTo(long leftTwips, long topTwips)
{
    move(int(leftTwips / kTwipsPerPixel), int(topTwips / kTwipsPerPixel));
}

void MainWindow::Centre()
{
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
}

void MainWindow::SetBusyCursor(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainWindow::ShowSplash(const std::string& versionText)
{
    if (!m_splash) {
        m_splash = std::make_unique<Pane>(QStringLiteral("KIVO FT-817 starting"), nullptr,
                                          Qt::SplashScreen | Qt::FramelessWindowHint);
        m_splash->setAutoFillBackground(true);
        QPalette pal = m_splash->palette();
        pal.setColor(QPalette::Window, kBody);
        pal.setColor(QPalette::WindowText, QColor(0x00, 0xC8, 0xF0));
        m_splash->setPalette(pal);
        auto* v = new QVBoxLayout(m_splash.get());
        auto* title = new QLabel(QStringLiteral("KIVO FT-817"));
        QFont f = title->font();
        f.setPointSize(28);
        f.setBold(true);
        title->setFont(f);
        title->setAlignment(Qt::AlignCenter);
        m_splashVersion = new QLabel;
        m_splashVersion->setAlignment(Qt::AlignCenter);
        v->addWidget(title);
        v->addWidget(m_splashVersion);
        m_splash->resize(420, 180);
    }
    m_splashVersion->setText(Q(versionText));
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        QRect r = m_splash->frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        m_splash->move(r.topLeft());
    }
    m_splash->show();
    m_splash->repaint();
}

void MainWindow::HideSplash()
{
    if (m_splash)
        m_splash->hide();
}

void MainWindow::ShowMain()
{
    show();
    repaint();
}

void MainWindow::SetTitle(const std::string& title) { setWindowTitle(Q(title)); }

long MainWindow::ScreenWidthTwips() const
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? long(s->geometry().width()) * kTwipsPerPixel : kBuiltWidthTwips;
}

bool MainWindow::ResizeDisplay(long widthTwips, std::string& error, int& step)
{
    step = 1;
    if (widthTwips <= 0) {
        error = "A display width of " + std::to_string(widthTwips) + " twips";
        return false;
    }
    const qreal factor = qreal(widthTwips) / kBuiltWidthTwips;
    // The small layout takes the small screen font; the larger ones Arial.
    const QString family = widthTwips == 9600 ? QStringLiteral("Small Fonts") : QStringLiteral("Arial");
    step = 2;
    const QSize size = m_view->ScaleTo(factor, family);
    step = 3;
    m_view->layout()->activate();
    const QSize needed = m_view->layout()->minimumSize();
    if (needed.width() > size.width() || needed.height() > size.height()) {
        error = "The panel needs " + std::to_string(needed.width()) + " x " + std::to_string(needed.height()) +
                " pixels and has " + std::to_string(size.width()) + " x " + std::to_string(size.height());
        return false;
    }
    step = 4;
    adjustSize();
    return true;
}

void MainWindow::SelectInterfacePics(long, int)
{
    // The face is painted at whatever size it has: there are no pictures to choose; it is
    // painted again with the colours the display elements now have.
    m_view->update();
}

void MainWindow::ShowLcdOnly(bool lcdOnly)
{
    m_view->ShowLcdOnly(lcdOnly);
    adjustSize();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_program->panel.Power().EndKIVO())
        event->accept();
    else
        event->ignore();
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // Typed characters do nothing on the panel.
    event->accept();
}

} // namespace kivo::ui
