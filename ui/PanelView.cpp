#include "ui/PanelView.h"

#include "panel/SpokenNames.h"
#include "platform/Elements.h"
#include "ui/Indicator.h"
#include "ui/Knob.h"
#include "ui/LedDisplay.h"
#include "ui/MeterGauge.h"
#include "ui/PanelKey.h"
#include "ui/PanelScale.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>
#include <vector>

namespace kivo::ui {

namespace {

const QColor kBody(0x1C, 0x1D, 0x20);
const QColor kInk(0x10, 0x18, 0x20);
// The whole panel and its display panel as built, for a screen 1024 pixels wide.
constexpr QSize kPanelSize(1024, 540);
constexpr QSize kDisplaySize(910, 200);
constexpr int kMargin = 14;

void KeepSpaceWhenHidden(QWidget* w)
{
    QSizePolicy p = w->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    w->setSizePolicy(p);
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The element's words from the panel's one table of them.
QString Spoken(const std::string& element) { return Q(panel::SpokenName(element)); }

} // namespace

PanelView::PanelView(panel::FrontPanel& panel, ElementBinding& binding, QWidget* parent)
    : Pane(QStringLiteral("Front panel"), parent), m_panel(panel), m_binding(binding)
{
    // SCOPE opens a window: the window's business, not the panel's.
    m_clicks[el::SCOPEbutton] = [this] {
        if (onScopeKey)
            onScopeKey();
    };
    // MCK acts on press and release: how long the second press is held decides.
    auto& mck = m_panel.MemoryCheck();
    m_presses[el::MCKbutton] = {[&mck] { mck.MCKbutton_MouseDown(); }, [&mck] { mck.MCKbutton_MouseUp(); }};

    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBody);
    pal.setColor(QPalette::WindowText, QColor(0xC8, 0xCC, 0xD2));
    setPalette(pal);

    auto* top = new QHBoxLayout;
    auto* powerKey = AddKey(el::CATbutton);
    powerKey->setMinimumSize(70, 44);
    m_powerKey = powerKey;
    auto* left = new QVBoxLayout;
    left->addWidget(powerKey);
    left->addStretch();
    top->addLayout(left);
    top->addWidget(BuildDisplay(), 1);

    auto* lower = new QHBoxLayout;
    m_keysPanel = BuildKeys();
    m_knobsPanel = BuildKnobs();
    lower->addWidget(m_keysPanel, 3);
    lower->addWidget(m_knobsPanel, 2);

    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(kMargin, 12, kMargin, kMargin);
    all->setSpacing(12);
    all->addLayout(top, 2);
    all->addLayout(lower, 3);

    BindSpoken();
    OrderFocus();

    // The knobs report absolute detents; the panel starts from where they are.
    m_panel.Tuning().SetKnobPositions(m_mainKnob->value(), m_subKnob->value(), m_channelKnob->value());
    m_scale = std::make_unique<PanelScale>(this);
    ScaleTo(1.0, font().family());
}

PanelView::~PanelView() = default;

QSize PanelView::ScaleTo(qreal factor, const QString& family)
{
    m_factor = factor;
    m_family = family;
    m_scale->Apply(factor, family);
    const auto scaled = [factor](QSize s) { return QSize(qRound(s.width() * factor), qRound(s.height() * factor)); };
    m_displayPanel->setFixedSize(scaled(kDisplaySize));
    const int margin = qRound(kMargin * factor);
    // The display panel sits alone in the middle of its margins.
    if (m_lcdOnly)
        layout()->setContentsMargins(margin, margin, margin, margin);
    const QSize size = m_lcdOnly ? m_displayPanel->size() + QSize(2 * margin, 2 * margin) : scaled(kPanelSize);
    setFixedSize(size);
    return size;
}

void PanelView::ShowLcdOnly(bool lcdOnly)
{
    m_lcdOnly = lcdOnly;
    for (QWidget* w : {m_powerKey, m_keysPanel, m_knobsPanel})
        w->setVisible(!lcdOnly);
    ScaleTo(m_factor, m_family);
}

PanelKey* PanelView::Key(const std::string& name) const
{
    auto it = m_keys.find(name);
    return it == m_keys.end() ? nullptr : it->second;
}

PanelKey* PanelView::AddKey(const std::string& name)
{
    auto* key = new PanelKey;
    key->setObjectName(Q(name));
    key->setAccessibleName(Spoken(name));
    m_binding.BindButton(name, key);
    if (auto it = m_clicks.find(name); it != m_clicks.end())
        connect(key, &QAbstractButton::clicked, this, [onClick = it->second] { onClick(); });
    else if (m_panel.KeyTargets().Handles(name))
        // The same handlers the keyboard presses: one table of what each key does.
        connect(key, &QAbstractButton::clicked, this, [this, name] { m_panel.KeyTargets().Press(name); });
    if (auto it = m_presses.find(name); it != m_presses.end()) {
        connect(key, &QAbstractButton::pressed, this, [down = it->second.first] { down(); });
        connect(key, &QAbstractButton::released, this, [up = it->second.second] { up(); });
    }
    m_keys[name] = key;
    return key;
}

QLabel* PanelView::AddLabel(const std::string& name, const QString& text, QWidget* parent)
{
    // The memory's name is text to read; the others are lamps, lit by being shown.
    QLabel* l = name == el::lblMemoryDesc ? new QLabel(text, parent) : new DisplayLabel(text, parent);
    l->setObjectName(Q(name));
    if (name == el::lblMemoryDesc)
        l->setAccessibleDescription(Spoken(name));
    else
        l->setAccessibleName(Spoken(name));
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 0.9);
    l->setFont(f);
    KeepSpaceWhenHidden(l);
    if (text.isEmpty())
        m_binding.BindLabel(name, l);
    else
        m_binding.BindWidget(name, l);
    return l;
}

QWidget* PanelView::BuildDisplay()
{
    m_displayPanel = new Pane(QStringLiteral("Display"));
    m_displayPanel->setObjectName(QString::fromUtf8(el::DisplayPanel));
    m_displayPanel->setAutoFillBackground(true);
    m_binding.BindColor(el::DisplayPanel, [this](const QColor& c) {
        QPalette p = m_displayPanel->palette();
        p.setColor(QPalette::Window, c);
        p.setColor(QPalette::WindowText, kInk);
        m_displayPanel->setPalette(p);
        // The two frequency displays take the colour scheme's colour of their own.
        if (m_memNumber)
            m_memNumber->setBackColor(c);
    });

    auto* grid = new QGridLayout(m_displayPanel);
    grid->setContentsMargins(12, 8, 12, 8);

    // Upper line: memory number, main mode, tone and shift marks, status words.
    auto* upper = new QHBoxLayout;
    m_memNumber = new LedDisplay;
    m_memNumber->setObjectName(QString::fromUtf8(el::ledMRnumber));
    m_memNumber->setAccessibleName(Spoken(el::ledMRnumber));
    m_memNumber->setMinimumSize(54, 26);
    KeepSpaceWhenHidden(m_memNumber);
    m_binding.BindLed(el::ledMRnumber, m_memNumber);
    upper->addWidget(m_memNumber);
    for (int k = 0; k < 8; ++k)
        upper->addWidget(AddLabel(el::lblMBmode(k), {}, m_displayPanel));
    upper->addSpacing(8);
    const std::pair<std::string, const char*> marks[] = {
        {el::lblMainENC, "ENC"},
        {el::lblMainDEC, "DEC"},
        {el::lblMainDCS, "DCS"},
        {el::ImgRPTdirection(0), "+"},
        {el::ImgRPTdirection(1), "\u2212"},
        {el::lblSPLIT, "SPLIT"},
        {el::lblRXTX, "RX-TX"},
        {el::lblTXRX, "TX-RX"},
        {el::lblCLAR, "CLAR"},
        {el::lblMT, "MT"},
        {el::lblMCK, "MCK"},
        {el::lblQMB, "QMB"},
        {el::lblCH, "CH"},
        {el::lblSKIP, "SKIP"},
        {el::lblSCAN, "SCAN"},
        {el::lblSEARCH, "SEARCH"},
    };
    for (const auto& [name, text] : marks)
        upper->addWidget(AddLabel(name, QString::fromUtf8(text), m_displayPanel));
    upper->addStretch();
    upper->addWidget(AddLabel(el::lblBusy, QStringLiteral("BUSY"), m_displayPanel));
    upper->addWidget(AddLabel(el::lblOnAir, QStringLiteral("ON AIR"), m_displayPanel));
    grid->addLayout(upper, 0, 0, 1, 2);

    m_freq = new LedDisplay;
    m_freq->setObjectName(QString::fromUtf8(el::ledFreq));
    m_freq->setAccessibleName(Spoken(el::ledFreq));
    m_freq->setMinimumSize(360, 78);
    KeepSpaceWhenHidden(m_freq);
    m_binding.BindLed(el::ledFreq, m_freq);
    grid->addWidget(m_freq, 1, 0);

    m_meter = new MeterGauge;
    m_meter->setObjectName(QString::fromUtf8(el::LMeter));
    m_meter->setAccessibleName(Spoken(el::LMeter));
    m_meter->setMinimumSize(220, 110);
    KeepSpaceWhenHidden(m_meter);
    m_binding.BindMeter(el::LMeter, m_meter, el::LMeterStart.name);
    grid->addWidget(m_meter, 1, 1, 2, 1);

    // Lower line: the sub VFO.
    auto* sub = new QHBoxLayout;
    for (int k = 0; k < 8; ++k)
        sub->addWidget(AddLabel(el::lblSBmode(k), {}, m_displayPanel));
    for (auto [name, text] : {std::pair{el::lblSubENC, "ENC"}, {el::lblSubDEC, "DEC"}, {el::lblSubDCS, "DCS"}})
        sub->addWidget(AddLabel(name, QString::fromUtf8(text), m_displayPanel));
    sub->addStretch();
    m_subFreq = new LedDisplay;
    m_subFreq->setObjectName(QString::fromUtf8(el::ledSubFreq));
    m_subFreq->setAccessibleName(Spoken(el::ledSubFreq));
    m_subFreq->setMinimumSize(170, 34);
    KeepSpaceWhenHidden(m_subFreq);
    m_binding.BindLed(el::ledSubFreq, m_subFreq);
    sub->addWidget(m_subFreq);
    grid->addLayout(sub, 2, 0);
    grid->addWidget(AddLabel(el::lblMemoryDesc, {}, m_displayPanel), 3, 0, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    return m_displayPanel;
}

QWidget* PanelView::BuildKeys()
{
    auto* w = new Pane(QStringLiteral("Keys"));
    auto* grid = new QGridLayout(w);
    grid->setSpacing(6);
    const char* const rows[3][8] = {
        {el::MOXbutton, el::VFOMRbutton, el::HOMEbutton, el::MCKbutton, el::PMSbutton, el::PRIbutton, el::SCANbutton,
         el::SEARCHbutton},
        {el::ABbutton, el::SWAPbutton, el::SPLITbutton, el::SUBbutton, el::SYNCbutton, el::CLARbutton, el::RCLbutton,
         el::STObutton},
        {el::RPTbutton, el::REVbutton, el::TONEbutton, el::DOPbutton, el::SCOPEbutton, el::ENTbutton, el::FASTbutton,
         el::LOCKbutton},
    };
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 8; ++c)
            grid->addWidget(AddKey(rows[r][c]), r, c);
    for (int m = 0; m < panel::kModeKeyCount; ++m)
        grid->addWidget(AddKey(el::ModeButton(m)), 3, m);
    // Band keys from the lowest band up, as printed on the radio.
    auto* bands = new QHBoxLayout;
    bands->addWidget(AddKey(el::BandDownButton));
    for (int b = panel::kBandKeyCount - 1; b >= 0; --b)
        bands->addWidget(AddKey(el::BandButton(b)));
    bands->addWidget(AddKey(el::BandUpButton));
    grid->addLayout(bands, 4, 0, 1, 8);
    // Taller than a key's own height, so captions stay legible at the small size.
    for (auto* key : w->findChildren<PanelKey*>())
        key->setMinimumHeight(32);
    return w;
}

Knob* PanelView::AddKnob(const char* name, int which)
{
    auto* knob = new Knob;
    knob->setObjectName(QString::fromUtf8(name));
    knob->setAccessibleName(Spoken(name));
    m_binding.BindKnob(name, knob);
    auto& t = m_panel.Tuning();
    connect(knob, &Knob::grabbed, this, [&t, which] { t.SetupTuningKnob(which, panel::kGrab); });
    connect(knob, &Knob::released, this, [&t, which] { t.SetupTuningKnob(which, panel::kRelease); });
    connect(knob, &Knob::valueChanged, this, [&t, which](long v) {
        if (which == panel::kMainKnob)
            t.MainKnob_Change(v);
        else if (which == panel::kSubKnob)
            t.SubKnob_Change(v);
        else
            t.ChannelKnob_Change(v);
    });
    return knob;
}

QWidget* PanelView::BuildKnobs()
{
    auto* w = new Pane(QStringLiteral("Knobs"));
    auto* grid = new QGridLayout(w);

    m_mainKnob = AddKnob(el::MainKnob, panel::kMainKnob);
    m_mainKnob->setDetentsPerTurn(48);
    m_mainKnob->setMinimumSize(150, 150);
    grid->addWidget(m_mainKnob, 0, 0, 3, 1);
    m_channelKnob = AddKnob(el::ChannelKnob, panel::kChannelKnob);
    m_channelKnob->setMinimumSize(64, 64);
    grid->addWidget(m_channelKnob, 0, 1);
    m_subKnob = AddKnob(el::SubKnob, panel::kSubKnob);
    m_subKnob->setMinimumSize(64, 64);
    grid->addWidget(m_subKnob, 0, 2);

    auto& t = m_panel.Tuning();
    auto jog = [this, &t](const char* name, const QString& caption, int dir) {
        auto* key = new PanelKey(caption);
        key->setObjectName(QString::fromUtf8(name));
        key->setAccessibleName(Spoken(name));
        m_binding.BindWidget(name, key);
        connect(key, &QAbstractButton::pressed, this, [&t, dir] { t.JogButton_Press(dir); });
        connect(key, &QAbstractButton::released, this, [&t] { t.JogButton_Release(); });
        // A press from a screen reader is a tap, which the held key's timer would not see:
        // one step, as D and U on the keyboard take.
        key->accessiblePress = [this, dir] {
            const unsigned char code = dir < 0 ? 'D' : 'U';
            m_panel.Keyboard().KeyDown(code, 0);
            m_panel.Keyboard().KeyUp(code, 0);
        };
        m_keys[name] = key;
        return key;
    };
    grid->addWidget(jog(el::btnJogDown, QStringLiteral("\u25C0 DWN"), -1), 1, 1);
    grid->addWidget(jog(el::btnJogUp, QStringLiteral("UP \u25B6"), 1), 1, 2);
    grid->addWidget(AddKey(el::MhzDownButton), 2, 1);
    grid->addWidget(AddKey(el::MhzUpButton), 2, 2);

    auto* leds = new QHBoxLayout;
    for (auto [name, text] : {std::pair{el::ledFAST, "FAST"}, {el::ledLOCK, "LOCK"}, {el::LEDsub, "SUB"}}) {
        auto* ind = new Indicator(QString::fromUtf8(text));
        ind->setObjectName(QString::fromUtf8(name));
        ind->setAccessibleName(Spoken(name));
        m_binding.BindIndicator(name, ind);
        leds->addWidget(ind);
    }
    grid->addLayout(leds, 3, 0, 1, 3);
    return w;
}

void PanelView::BindSpoken()
{
    const platform::DisplayModel& model = m_binding.Model();
    for (LedDisplay* d : {m_freq, m_subFreq})
        m_binding.Bind(d->objectName().toStdString(),
                       [d](const platform::Element& e) { d->setSpokenText(Q(panel::FrequencyWords(e.caption))); });
    m_binding.Bind(el::ledMRnumber, [this](const platform::Element& e) {
        m_memNumber->setSpokenText(Q(panel::MemoryNumberWords(e.caption)));
    });
    const auto meter = [this, &model](const platform::Element&) {
        const panel::MeterLevel level = panel::MeterReading(model);
        m_meter->setReading(level.value, level.maximum, Q(panel::MeterWords(model)));
    };
    for (const std::string& name : {el::LMeterIndicator(0), el::LMeterIndicator(1), std::string(el::lblOnAir)})
        m_binding.Bind(name, meter);
    const auto knobs = [this, &model](const platform::Element&) {
        for (auto [knob, which] : {std::pair{m_mainKnob, panel::kMainKnob},
                                   {m_subKnob, panel::kSubKnob},
                                   {m_channelKnob, panel::kChannelKnob}}) {
            const panel::KnobReading r = panel::KnobValue(model, which);
            knob->setReading({r.value, r.minimum, r.maximum});
        }
    };
    for (const char* name : {el::ledFreq, el::ledSubFreq, el::ledMRnumber, el::LEDsub})
        m_binding.Bind(name, knobs);
}

void PanelView::OrderFocus()
{
    std::vector<QWidget*> order{m_powerKey, m_memNumber, m_freq, m_meter, m_subFreq};
    for (auto* key : m_keysPanel->findChildren<PanelKey*>(QString(), Qt::FindDirectChildrenOnly))
        order.push_back(key);
    for (QWidget* w : std::initializer_list<QWidget*>{m_mainKnob, m_channelKnob, m_subKnob, Key(el::btnJogDown),
                                                      Key(el::btnJogUp), Key(el::MhzDownButton), Key(el::MhzUpButton)})
        order.push_back(w);
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

} // namespace kivo::ui
