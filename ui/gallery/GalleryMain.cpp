// One of each front-panel widget on a dark body, for screenshots:
// ui-gallery [--grab FILE.png] [--size WxH]

#include "ui/Indicator.h"
#include "ui/Knob.h"
#include "ui/LedDisplay.h"
#include "ui/MeterGauge.h"
#include "ui/PanelKey.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWidget>

#include <cstdio>

using namespace kivo::ui;

namespace {

QLabel* Caption(const QString& text)
{
    auto* l = new QLabel(text);
    l->setStyleSheet(QStringLiteral("color: #8a9099; font-size: 10px;"));
    return l;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QString grabPath;
    QSize size;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == u"--grab" && i + 1 < args.size())
            grabPath = args[++i];
        else if (args[i] == u"--size" && i + 1 < args.size()) {
            const QStringList wh = args[++i].split(u'x');
            size = wh.size() == 2 ? QSize(wh[0].toInt(), wh[1].toInt()) : QSize();
        } else {
            std::fprintf(stderr, "usage: ui-gallery [--grab FILE.png] [--size WxH]\n");
            return 2;
        }
    }

    QWidget body;
    body.setWindowTitle(QStringLiteral("KIVO FT-817 widgets"));
    body.setAutoFillBackground(true);
    QPalette pal = body.palette();
    pal.setColor(QPalette::Window, QColor(0x1C, 0x1D, 0x20));
    body.setPalette(pal);

    // The LCD: meter, main frequency, memory number and sub frequency on lit glass.
    auto* freq = new LedDisplay;
    freq->setText(QStringLiteral("144.200.00"));
    freq->setMinimumSize(330, 70);
    auto* mode = new LedDisplay;
    mode->setText(QStringLiteral("FM"));
    mode->setMinimumSize(70, 34);
    auto* memory = new LedDisplay;
    memory->setText(QStringLiteral("001"));
    memory->setMinimumSize(70, 34);
    auto* sub = new LedDisplay;
    sub->setText(QStringLiteral("433.050.00"));
    sub->setMinimumSize(170, 34);
    auto* dark = new LedDisplay;
    dark->setText(QStringLiteral("7.050.00"));
    dark->setBackColor(QColor(0x40, 0x40, 0x40));
    dark->setMinimumSize(170, 34);

    auto* meter = new MeterGauge;
    meter->setMinimumSize(300, 136);
    meter->setValue(0, 9.5);
    meter->setStart(1, 3);
    meter->setValue(1, 11);
    meter->setValue(2, 12.5);
    meter->setValue(3, 6);
    auto* darkMeter = new MeterGauge;
    darkMeter->setBackColor(QColor(0x40, 0x40, 0x40));
    darkMeter->setMinimumSize(150, 68);
    darkMeter->setValue(0, 4);

    auto* lcd = new QGridLayout;
    lcd->addWidget(meter, 0, 0, 2, 1);
    lcd->addWidget(memory, 0, 1);
    lcd->addWidget(mode, 0, 2);
    lcd->addWidget(freq, 1, 1, 1, 2);
    lcd->addWidget(sub, 2, 1, 1, 2, Qt::AlignRight);
    lcd->addWidget(Caption(QStringLiteral("unlit (backlight off)")), 2, 0, Qt::AlignLeft | Qt::AlignBottom);
    lcd->addWidget(darkMeter, 3, 0, Qt::AlignLeft);
    lcd->addWidget(dark, 3, 1, 1, 2, Qt::AlignRight);

    // Annunciators.
    auto* busy = new Indicator(QStringLiteral("BUSY"));
    busy->setOn(true);
    auto* fast = new Indicator(QStringLiteral("FAST"));
    fast->setOnColor(QColor(0xFF, 0xA0, 0x20));
    fast->setOffColor(QColor(0x3A, 0x2C, 0x18));
    fast->setOn(true);
    auto* lock = new Indicator(QStringLiteral("LOCK"));
    auto* subLed = new Indicator(QStringLiteral("SUB"));
    subLed->setOnColor(QColor(0x30, 0xB0, 0xFF));
    subLed->setOffColor(QColor(0x16, 0x26, 0x36));
    subLed->setOn(true);
    auto* onAir = new Indicator(QStringLiteral("ON AIR"), Indicator::Style::Label);
    onAir->setOn(true);
    onAir->setMinimumWidth(70);
    auto* offAir = new Indicator(QStringLiteral("ON AIR"), Indicator::Style::Label);
    offAir->setMinimumWidth(70);
    auto* lamps = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{busy, fast, lock, subLed, onAir, offAir})
        lamps->addWidget(w);
    lamps->addStretch();

    // Keys, a latched one and a disabled one among them.
    auto* keys = new QGridLayout;
    const char* captions[] = {"POWER", "V/M", "A > B", "A < > B", "HOME", "MOX", "SCAN", "SPLIT"};
    int k = 0;
    for (const char* c : captions) {
        auto* key = new PanelKey(QString::fromLatin1(c));
        key->setMinimumSize(64, 28);
        keys->addWidget(key, k / 4, k % 4);
        ++k;
    }
    auto* fastKey = new PanelKey(QStringLiteral("FAST"));
    fastKey->setCheckable(true);
    fastKey->setChecked(true);
    fastKey->setMinimumSize(64, 28);
    auto* lockKey = new PanelKey(QStringLiteral("LOCK"));
    lockKey->setMinimumSize(64, 28);
    lockKey->setEnabled(false);
    auto* pressed = new PanelKey(QStringLiteral("SUB"));
    pressed->setMinimumSize(64, 28);
    pressed->setDown(true);
    keys->addWidget(fastKey, 2, 0);
    keys->addWidget(lockKey, 2, 1);
    keys->addWidget(pressed, 2, 2);
    keys->addWidget(Caption(QStringLiteral("latched, disabled, pressed")), 2, 3);

    auto* knob = new Knob;
    knob->setMinimumSize(150, 150);
    auto* small = new Knob;
    small->setDetentsPerTurn(12);
    small->setMinimumSize(64, 64);
    auto* knobs = new QVBoxLayout;
    knobs->addWidget(knob, 0, Qt::AlignCenter);
    knobs->addWidget(small, 0, Qt::AlignCenter);

    auto* lower = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addLayout(lamps);
    left->addLayout(keys);
    left->addStretch();
    lower->addLayout(left, 1);
    lower->addLayout(knobs);

    auto* top = new QVBoxLayout(&body);
    top->setContentsMargins(18, 18, 18, 18);
    top->setSpacing(14);
    top->addLayout(lcd);
    top->addLayout(lower);

    // Turn the knobs a little so their marks are off-centre.
    for (int i = 0; i < 3; ++i) {
        QWheelEvent turn(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(knob, &turn);
        QApplication::sendEvent(small, &turn);
    }

    // Everything scales, so a bigger window shows the detail.
    if (size.isValid())
        body.resize(size);
    body.show();
    if (!grabPath.isEmpty()) {
        QTimer::singleShot(200, &body, [&] {
            const bool ok = body.grab().save(grabPath);
            std::fprintf(ok ? stdout : stderr, ok ? "saved %s\n" : "could not save %s\n",
                         grabPath.toLocal8Bit().constData());
            app.exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
