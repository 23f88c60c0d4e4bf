#include "ui/Indicator.h"

#include "ui/Accessibility.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace kivo::ui {

namespace {

const QColor kCaption(0xD8, 0xDA, 0xDE);

QFont CaptionFont(qreal px)
{
    QFont f;
    f.setBold(true);
    f.setPixelSize(std::max(1, qRound(px)));
    return f;
}

} // namespace

Indicator::Indicator(const QString& text, Style style, QWidget* parent) : QWidget(parent), m_text(text), m_style(style)
{
    setStyle(style);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    InstallAccessibleWidgets();
}

void Indicator::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    update();
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    SendAccessibleEvent(event);
}

DisplayLabel::DisplayLabel(const QString& text, QWidget* parent) : QLabel(text, parent) { InstallAccessibleWidgets(); }

void DisplayLabel::showEvent(QShowEvent* event)
{
    QLabel::showEvent(event);
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent lit(this, changed);
    SendAccessibleEvent(lit);
}

void DisplayLabel::hideEvent(QHideEvent* event)
{
    QLabel::hideEvent(event);
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent dark(this, changed);
    SendAccessibleEvent(dark);
}

void Indicator::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    updateGeometry();
    update();
}

void Indicator::setStyle(Style style)
{
    m_style = style;
    // Sensible lamps for each look: a green LED, a red "ON AIR" label.
    if (style == Style::Led) {
        m_onColor = QColor(0x3C, 0xF0, 0x4A);
        m_offColor = QColor(0x1C, 0x30, 0x1E);
    } else {
        m_onColor = QColor(0xF0, 0x2A, 0x1E);
        m_offColor = QColor(0x3A, 0x24, 0x22);
    }
    update();
}

void Indicator::setOnColor(const QColor& c)
{
    m_onColor = c;
    update();
}

void Indicator::setOffColor(const QColor& c)
{
    m_offColor = c;
    update();
}

void Indicator::setBackColor(const QColor& c)
{
    m_back = c;
    update();
}

QSize Indicator::sizeHint() const
{
    const QFontMetrics fm(CaptionFont(11));
    const int textW = fm.horizontalAdvance(m_text);
    if (m_style == Style::Led)
        return {18 + (m_text.isEmpty() ? 0 : textW + 6), 18};
    return {textW + 16, 20};
}

QSize Indicator::minimumSizeHint() const { return {8, 8}; }

void Indicator::paintEvent(QPaintEvent*)
{
    const QRectF r = QRectF(rect());
    if (r.width() < 1 || r.height() < 1)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (m_back.isValid())
        p.fillRect(r, m_back);

    if (m_style == Style::Led) {
        const qreal d = std::min(r.height(), r.width()) * 0.72;
        const QPointF c(r.left() + std::min(r.height(), r.width()) / 2, r.center().y());
        if (m_on) {
            // Glow round a lit lamp.
            QRadialGradient glow(c, d);
            QColor halo = m_onColor;
            halo.setAlpha(110);
            glow.setColorAt(0.3, halo);
            halo.setAlpha(0);
            glow.setColorAt(1.0, halo);
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(c, d, d);
        }
        const QColor lamp = m_on ? m_onColor : m_offColor;
        QRadialGradient body(c - QPointF(d * 0.15, d * 0.18), d * 0.6);
        body.setColorAt(0.0, lamp.lighter(m_on ? 160 : 130));
        body.setColorAt(1.0, lamp.darker(m_on ? 110 : 140));
        p.setPen(QPen(QColor(0x0A, 0x0A, 0x0B), std::max<qreal>(0.8, d * 0.08)));
        p.setBrush(body);
        p.drawEllipse(c, d / 2, d / 2);
        if (!m_text.isEmpty()) {
            p.setFont(CaptionFont(r.height() * 0.6));
            p.setPen(m_on ? kCaption : kCaption.darker(170));
            const qreal x = c.x() + d / 2 + r.height() * 0.3;
            p.drawText(QRectF(x, r.top(), r.right() - x, r.height()), Qt::AlignLeft | Qt::AlignVCenter, m_text);
        }
        return;
    }

    // Label: a lit plate with dark text, or a dim one with the text barely there.
    const qreal radius = r.height() * 0.2;
    const QRectF plate = r.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(QColor(0x0A, 0x0A, 0x0B), 1.0));
    p.setBrush(m_on ? m_onColor : m_offColor);
    p.drawRoundedRect(plate, radius, radius);
    QFont f = CaptionFont(r.height() * 0.6);
    const QFontMetricsF fm(f);
    const qreal room = r.width() - r.height() * 0.4;
    if (room > 0 && fm.horizontalAdvance(m_text) > room)
        f.setPixelSize(std::max(1, int(f.pixelSize() * room / fm.horizontalAdvance(m_text))));
    p.setFont(f);
    p.setPen(m_on ? QColor(0xFF, 0xFF, 0xFF) : m_offColor.lighter(150));
    p.drawText(plate, Qt::AlignCenter, m_text);
}

} // namespace kivo::ui
