#include "ui/MainWindow.h"

#include "ui/Indicator.h"
#include "ui/Knob.h"
#include "ui/LedDisplay.h"
#include "ui/MeterGauge.h"
#include "ui/PanelKey.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace kivo::ui {

using platform::DisplayModel;

namespace {

constexpr int kTwipsPerPixel = 15;
const QColor kBody(0x1C, 0x1D, 0x20);
const QColor kInk(0x10, 0x18, 0x20);

void KeepSpaceWhenHidden(QWidget* w)
{
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

} // namespace

MainWindow::MainWindow(const std::string& dataDir, QWidget* parent) : QMainWindow(parent), m_dialogs(this)
{
    m_program = std::make_unique<panel::Program>(m_loop, m_dialogs, *this, dataDir);
    m_binding = std::make_unique<ElementBinding>(m_program->display);

    setWindowTitle(QStringLiteral("KIVO FT-817"));
    auto* body = new QWidget;
    body->setAutoFillBackground(true);
    QPalette pal = body->palette();
    pal.setColor(QPalette::Window, kBody);
    pal.setColor(QPalette::WindowText, QColor(0xC8, 0xCC, 0xD2));
    body->setPalette(pal);

    auto* top = new QHBoxLayout;
    auto* power = AddKey("CATbutton", [this] { m_program->panel.CATbutton_Click(); });
    power->setMinimumSize(70, 44);
    auto* left = new QVBoxLayout;
    left->addWidget(power);
    left->addStretch();
    top->addLayout(left);
    top->addWidget(BuildDisplay(), 1);

    auto* lower = new QHBoxLayout;
    lower->addWidget(BuildKeys(), 3);
    lower->addWidget(BuildKnobs(), 2);

    auto* all = new QVBoxLayout(body);
    all->setContentsMargins(14, 12, 14, 14);
    all->setSpacing(12);
    all->addLayout(top, 2);
    all->addLayout(lower, 3);
    setCentralWidget(body);
    BuildMenus();
    resize(980, 560);

    // The knobs report absolute detents; the panel starts from where they are.
    m_program->panel.SetKnobPositions(m_mainKnob->value(), m_subKnob->value(), m_channelKnob->value());
}

MainWindow::~MainWindow() = default;

PanelKey* MainWindow::Key(const std::string& name) const
{
    auto it = m_keys.find(name);
    return it == m_keys.end() ? nullptr : it->second;
}

PanelKey* MainWindow::AddKey(const std::string& name, std::function<void()> onClick)
{
    auto* key = new PanelKey;
    key->setObjectName(Q(name));
    m_binding->BindButton(name, key);
    if (onClick)
        connect(key, &QAbstractButton::clicked, this, [onClick = std::move(onClick)] { onClick(); });
    m_keys[name] = key;
    return key;
}

QLabel* MainWindow::AddLabel(const std::string& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(Q(name));
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 0.9);
    l->setFont(f);
    KeepSpaceWhenHidden(l);
    if (text.isEmpty())
        m_binding->BindLabel(name, l);
    else
        m_binding->BindWidget(name, l);
    return l;
}

QWidget* MainWindow::BuildDisplay()
{
    m_displayPanel = new QWidget;
    m_displayPanel->setObjectName(QStringLiteral("DisplayPanel"));
    m_displayPanel->setAutoFillBackground(true);
    m_binding->BindColor("DisplayPanel", [this](const QColor& c) {
        QPalette p = m_displayPanel->palette();
        p.setColor(QPalette::Window, c);
        p.setColor(QPalette::WindowText, kInk);
        m_displayPanel->setPalette(p);
        for (auto* led : {m_freq, m_subFreq, m_memNumber})
            if (led)
                led->setBackColor(c);
    });

    auto* grid = new QGridLayout(m_displayPanel);
    grid->setContentsMargins(12, 8, 12, 8);

    // Upper line: memory number, main mode, tone and shift marks, status words.
    auto* upper = new QHBoxLayout;
    m_memNumber = new LedDisplay;
    m_memNumber->setObjectName(QStringLiteral("ledMRnumber"));
    m_memNumber->setMinimumSize(54, 26);
    KeepSpaceWhenHidden(m_memNumber);
    m_binding->BindLed("ledMRnumber", m_memNumber);
    upper->addWidget(m_memNumber);
    for (int k = 0; k < 8; ++k)
        upper->addWidget(AddLabel(DisplayModel::Indexed("lblMBmode", k), {}, m_displayPanel));
    upper->addSpacing(8);
    for (auto [name, text] : {std::pair{"lblMainENC", "ENC"},
                              {"lblMainDEC", "DEC"},
                              {"lblMainDCS", "DCS"},
                              {"ImgRPTdirection(0)", "+"},
                              {"ImgRPTdirection(1)", "\u2212"},
                              {"lblSPLIT", "SPLIT"},
                              {"lblRXTX", "RX/TX"},
                              {"lblTXRX", "TX/RX"},
                              {"lblMT", "MT"},
                              {"lblMCK", "MCK"},
                              {"lblCH", "CH"},
                              {"lblSKIP", "SKIP"},
                              {"lblSCAN", "SCAN"},
                              {"lblSEARCH", "SEARCH"}})
        upper->addWidget(AddLabel(name, QString::fromUtf8(text), m_displayPanel));
    upper->addStretch();
    upper->addWidget(AddLabel("lblBusy", QStringLiteral("BUSY"), m_displayPanel));
    upper->addWidget(AddLabel("lblOnAir", QStringLiteral("ON AIR"), m_displayPanel));
    grid->addLayout(upper, 0, 0, 1, 2);

    m_freq = new LedDisplay;
    m_freq->setObjectName(QStringLiteral("ledFreq"));
    m_freq->setMinimumSize(360, 78);
    KeepSpaceWhenHidden(m_freq);
    m_binding->BindLed("ledFreq", m_freq);
    grid->addWidget(m_freq, 1, 0);

    m_meter = new MeterGauge;
    m_meter->setObjectName(QStringLiteral("LMeter"));
    m_meter->setMinimumSize(220, 110);
    KeepSpaceWhenHidden(m_meter);
    m_binding->BindMeter("LMeter", m_meter);
    grid->addWidget(m_meter, 1, 1, 2, 1);

    // Lower line: the sub VFO.
    auto* sub = new QHBoxLayout;
    for (int k = 0; k < 8; ++k)
        sub->addWidget(AddLabel(DisplayModel::Indexed("lblSBmode", k), {}, m_displayPanel));
    for (auto [name, text] : {std::pair{"lblSubENC", "ENC"}, {"lblSubDEC", "DEC"}, {"lblSubDCS", "DCS"}})
        sub->addWidget(AddLabel(name, QString::fromUtf8(text), m_displayPanel));
    sub->addStretch();
    m_subFreq = new LedDisplay;
    m_subFreq->setObjectName(QStringLiteral("ledSubFreq"));
    m_subFreq->setMinimumSize(170, 34);
    KeepSpaceWhenHidden(m_subFreq);
    m_binding->BindLed("ledSubFreq", m_subFreq);
    sub->addWidget(m_subFreq);
    grid->addLayout(sub, 2, 0);
    grid->addWidget(AddLabel("lblMemoryDesc", {}, m_displayPanel), 3, 0, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    return m_displayPanel;
}

QWidget* MainWindow::BuildKeys()
{
    auto* w = new QWidget;
    auto* grid = new QGridLayout(w);
    grid->setSpacing(6);
    const char* rows[3][8] = {
        {"MOXbutton", "VFOMRbutton", "HOMEbutton", "MCKbutton", "PMSbutton", "PRIbutton", "SCANbutton", "SEARCHbutton"},
        {"ABbutton", "SWAPbutton", "SPLITbutton", "SUBbutton", "SYNCbutton", "CLARbutton", "RCLbutton", "STObutton"},
        {"RPTbutton", "REVbutton", "TONEbutton", "DOPbutton", "SCOPEbutton", "ENTbutton", "FASTbutton", "LOCKbutton"},
    };
    auto& p = m_program->panel;
    const std::map<std::string, std::function<void()>> handlers{
        {"SYNCbutton", [&p] { p.SYNCbutton_Click(); }},
        {"FASTbutton", [&p] { p.FASTbutton_Click(); }},
        {"LOCKbutton", [&p] { p.LOCKbutton_Click(); }},
    };
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 8; ++c) {
            auto it = handlers.find(rows[r][c]);
            grid->addWidget(AddKey(rows[r][c], it == handlers.end() ? std::function<void()>{} : it->second), r, c);
        }
    for (int m = 0; m < panel::kModeKeyCount; ++m)
        grid->addWidget(AddKey(DisplayModel::Indexed("ModeButton", m)), 3, m);
    // Band keys from the lowest band up, as printed on the radio.
    auto* bands = new QHBoxLayout;
    bands->addWidget(AddKey("BandDownButton"));
    for (int b = panel::kBandKeyCount - 1; b >= 0; --b)
        bands->addWidget(AddKey(DisplayModel::Indexed("BandButton", b)));
    bands->addWidget(AddKey("BandUpButton"));
    grid->addLayout(bands, 4, 0, 1, 8);
    return w;
}

void MainWindow::ConnectKnob(Knob* knob, int which)
{
    auto& p = m_program->panel;
    connect(knob, &Knob::grabbed, this, [&p, which] { p.SetupTuningKnob(which, panel::kGrab); });
    connect(knob, &Knob::released, this, [&p, which] { p.SetupTuningKnob(which, panel::kRelease); });
    connect(knob, &Knob::valueChanged, this, [&p, which](long v) {
        if (which == panel::kMainKnob)
            p.MainKnob_Change(v);
        else if (which == panel::kSubKnob)
            p.SubKnob_Change(v);
        else
            p.ChannelKnob_Change(v);
    });
}

QWidget* MainWindow::BuildKnobs()
{
    auto* w = new QWidget;
    auto* grid = new QGridLayout(w);
    auto& p = m_program->panel;

    m_mainKnob = new Knob;
    m_mainKnob->setObjectName(QStringLiteral("MainKnob"));
    m_mainKnob->setDetentsPerTurn(48);
    m_mainKnob->setMinimumSize(150, 150);
    m_binding->BindKnob("MainKnob", m_mainKnob);
    ConnectKnob(m_mainKnob, panel::kMainKnob);
    grid->addWidget(m_mainKnob, 0, 0, 3, 1);

    m_channelKnob = new Knob;
    m_channelKnob->setObjectName(QStringLiteral("ChannelKnob"));
    m_channelKnob->setMinimumSize(64, 64);
    m_binding->BindKnob("ChannelKnob", m_channelKnob);
    ConnectKnob(m_channelKnob, panel::kChannelKnob);
    grid->addWidget(m_channelKnob, 0, 1);
    m_subKnob = new Knob;
    m_subKnob->setObjectName(QStringLiteral("SubKnob"));
    m_subKnob->setMinimumSize(64, 64);
    m_binding->BindKnob("SubKnob", m_subKnob);
    ConnectKnob(m_subKnob, panel::kSubKnob);
    grid->addWidget(m_subKnob, 0, 2);

    auto jog = [this, &p](const std::string& name, const QString& caption, int dir) {
        auto* key = new PanelKey(caption);
        key->setObjectName(Q(name));
        m_binding->BindWidget(name, key);
        connect(key, &QAbstractButton::pressed, this, [&p, dir] { p.JogButton_Press(dir); });
        connect(key, &QAbstractButton::released, this, [&p] { p.JogButton_Release(); });
        m_keys[name] = key;
        return key;
    };
    grid->addWidget(jog("btnJogDown", QStringLiteral("\u25C0 DWN"), -1), 1, 1);
    grid->addWidget(jog("btnJogUp", QStringLiteral("UP \u25B6"), 1), 1, 2);
    grid->addWidget(AddKey("MhzDownButton", [&p] { p.MhzButton_Click(false); }), 2, 1);
    grid->addWidget(AddKey("MhzUpButton", [&p] { p.MhzButton_Click(true); }), 2, 2);

    auto* leds = new QHBoxLayout;
    for (auto [name, text] : {std::pair{"ledFAST", "FAST"}, {"ledLOCK", "LOCK"}, {"LEDsub", "SUB"}}) {
        auto* ind = new Indicator(QString::fromUtf8(text));
        ind->setObjectName(QString::fromUtf8(name));
        m_binding->BindIndicator(name, ind);
        leds->addWidget(ind);
    }
    grid->addLayout(leds, 3, 0, 1, 3);
    return w;
}

void MainWindow::BuildMenus()
{
    auto& prog = *m_program;
    auto bindAction = [this](const std::string& name, QAction* a) {
        m_binding->Bind(name, [a](const platform::Element& e) {
            if (!e.caption.empty())
                a->setText(Q(e.caption));
            a->setEnabled(e.enabled);
            a->setChecked(e.checked);
        });
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New"), this, [&prog] { prog.memory.FileMenu(0); });
    file->addAction(QStringLiteral("&Open..."), this, [&prog] { prog.memory.FileMenu(1); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Save"), this, [&prog] { prog.memory.FileMenu(3); });
    file->addAction(QStringLiteral("Save &As..."), this, [&prog] { prog.memory.FileMenu(4); });
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"), this, [this] { close(); });

    QMenu* settings = menuBar()->addMenu(QStringLiteral("&Settings"));
    QMenu* ports = settings->addMenu(QStringLiteral("Serial Port"));
    connect(ports, &QMenu::aboutToShow, this, [&prog] { prog.RefreshPorts(); });
    for (int i = 1; i <= radio::kPortNone; ++i) {
        if (i == radio::kPortNone)
            ports->addSeparator();
        QAction* a = ports->addAction(QString::number(i));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [&prog, i] { prog.comm.mnuCommPortArray_Click(i); });
        bindAction(DisplayModel::Indexed("mnuCommPortArray", i), a);
    }
    QMenu* rates = settings->addMenu(QStringLiteral("CAT Rate"));
    for (int i = 0; i < 3; ++i) {
        QAction* a = rates->addAction(QString());
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [&prog, i] { prog.comm.mnuCatRate_Click(i); });
        bindAction(DisplayModel::Indexed("mnuCatRate", i), a);
    }
    QMenu* meter = settings->addMenu(QStringLiteral("Meter Update"));
    for (int i = 0; i < 7; ++i) {
        QAction* a = meter->addAction(QString());
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [&prog, i] { prog.panel.mnuMeterSpeed_Click(i); });
        bindAction(DisplayModel::Indexed("mnuMeterSpeed", i), a);
    }
    settings->addSeparator();
    QAction* tune = settings->addAction(QStringLiteral("Tune to Radio on Start-up"));
    tune->setCheckable(true);
    connect(tune, &QAction::triggered, this, [&prog] { prog.panel.mnuTuneOnStartup_Click(); });
    bindAction("mnuSettingsArray(14)", tune);
    settings->addAction(QStringLiteral("Tuning Steps..."), this, [this] { ShowTuningSteps(); });
}

void MainWindow::ShowTuningSteps()
{
    auto& steps = m_program->steps;
    auto& model = m_program->display;
    QDialog dlg(this);
    dlg.setWindowTitle(Q(model.Get("frmTuningSteps").caption));
    auto* grid = new QGridLayout(&dlg);
    std::vector<std::pair<std::string, QComboBox*>> boxes;
    auto addBox = [&](QGridLayout* g, int row, const std::string& box, int index, const std::string& label) {
        g->addWidget(new QLabel(Q(model.Get(label).caption)), row, 0);
        auto* combo = new QComboBox;
        combo->addItems(Q(model.Get(DisplayModel::Indexed(box, index)).caption).split(QLatin1Char('|')));
        connect(combo, &QComboBox::activated, &dlg, [&steps, box, index](int e) { steps.Select(box, index, e); });
        g->addWidget(combo, row, 1);
        boxes.emplace_back(DisplayModel::Indexed(box, index), combo);
    };
    for (int k = 0; k < 5; ++k) {
        auto* group = new QGroupBox(Q(model.Get(DisplayModel::Indexed("fraSteps", k)).caption));
        auto* g = new QGridLayout(group);
        if (k < 4) {
            addBox(g, 0, "CHboxFM", k, DisplayModel::Indexed("lblCHboxFM", k));
            addBox(g, 1, "CHboxAM", k, DisplayModel::Indexed("lblCHboxAM", k));
            addBox(g, 2, "CHboxSSB", k, DisplayModel::Indexed("lblCHboxSSB", k));
        } else {
            addBox(g, 0, "VFObox", 5, "lblVFObox(5)");
            addBox(g, 1, "VFObox", 4, "lblVFObox(4)");
            addBox(g, 2, "VFObox", 3, "lblVFObox(3)");
        }
        grid->addWidget(group, k / 3, k % 3);
    }
    auto refresh = [&] {
        for (auto& [name, combo] : boxes)
            combo->setCurrentIndex(int(model.Get(name).value));
    };
    auto* buttons = new QHBoxLayout;
    const char* captions[3] = {"cmdSave", "cmdDefault", "cmdCancel"};
    for (int act = 0; act < 3; ++act) {
        auto* b = new QPushButton(Q(model.Get(captions[act]).caption));
        connect(b, &QPushButton::clicked, &dlg, [&, act] {
            if (act == 0)
                steps.SAVE();
            else if (act == 1)
                steps.DEFAULT();
            else
                steps.CANCEL();
            refresh();
            if (!steps.IsOpen())
                dlg.accept();
        });
        buttons->addWidget(b);
    }
    grid->addLayout(buttons, 2, 0, 1, 3);
    steps.Show();
    refresh();
    dlg.exec();
    if (steps.IsOpen())
        steps.CANCEL(); // closed with the window's own close box
}

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
        m_splash = std::make_unique<QWidget>(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
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

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_program->panel.EndKIVO())
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
