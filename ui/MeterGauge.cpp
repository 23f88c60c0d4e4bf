#include "ui/MeterGauge.h"

#include "ui/Accessibility.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace kivo::ui {

namespace {

// Face drawn in a 240 x 110 box; the needle pivots below its bottom edge.
constexpr qreal kFaceW = 240, kFaceH = 110;
const QPointF kPivot(120, 152);
constexpr qreal kSweep = 46; // degrees either side of upright
constexpr qreal kSRadius = 122;
constexpr qreal kPoRadius = 96;

const QColor kRed(0xC0, 0x1A, 0x10);
const QColor kNeedle(0x14, 0x10, 0x10);
const QColor kBand(0xFF, 0x7A, 0x10, 190);
const QColor kMarker2(0xB0, 0x10, 0x10);
const QColor kMarker3(0x10, 0x30, 0x90);

// Degrees clockwise from upright for a meter value.
qreal AngleOf(double v)
{
    const double c = std::clamp(std::isfinite(v) ? v : 0.0, 0.0, MeterGauge::kScaleMax);
    return -kSweep + 2 * kSweep * c / MeterGauge::kScaleMax;
}

QPointF OnArc(qreal radius, qreal degrees)
{
    const qreal rad = qDegreesToRadians(degrees);
    return kPivot + QPointF(radius * std::sin(rad), -radius * std::cos(rad));
}

// An arc path between two meter values, for stroking.
QPainterPath ArcPath(qreal radius, double from, double to)
{
    const QRectF box(kPivot.x() - radius, kPivot.y() - radius, 2 * radius, 2 * radius);
    // Qt counts angles anticlockwise from three o'clock.
    const qreal a0 = 90 - AngleOf(from), a1 = 90 - AngleOf(to);
    QPainterPath path;
    path.arcMoveTo(box, a0);
    path.arcTo(box, a0, a1 - a0);
    return path;
}

void Label(QPainter& p, qreal radius, double v, const QString& text)
{
    const QPointF c = OnArc(radius, AngleOf(v));
    const QRectF box(c.x() - 20, c.y() - 8, 40, 16);
    p.drawText(box, Qt::AlignCenter, text);
}

void Triangle(QPainter& p, double v, qreal tipRadius, qreal length, const QColor& color)
{
    const qreal a = AngleOf(v);
    const qreal half = 2.6; // degrees
    p.setBrush(color);
    p.setPen(QPen(color.darker(150), 0.6));
    p.drawPolygon(
        QPolygonF({OnArc(tipRadius, a), OnArc(tipRadius - length, a - half), OnArc(tipRadius - length, a + half)}));
}

} // namespace

MeterGauge::MeterGauge(QWidget* parent) : QWidget(parent), m_back(0x00, 0xC8, 0xF0), m_ink(0x10, 0x16, 0x1A)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setFocusPolicy(Qt::TabFocus);
    InstallAccessibleWidgets();
}

void MeterGauge::setReading(double value, double maximum, const QString& words)
{
    m_readingValue = value;
    m_readingMaximum = maximum;
    m_readingWords = words;
}

void MeterGauge::AnnounceReading()
{
    QAccessibleValueChangeEvent event(this, m_readingValue);
    SendAccessibleEvent(event);
}

void MeterGauge::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void MeterGauge::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

double MeterGauge::value(int i) const { return Valid(i) ? m_ind[i].value : 0; }

void MeterGauge::setValue(int i, double v)
{
    if (!Valid(i) || m_ind[i].value == v)
        return;
    m_ind[i].value = v;
    update();
}

double MeterGauge::start(int i) const { return Valid(i) ? m_ind[i].start : 0; }

void MeterGauge::setStart(int i, double v)
{
    if (!Valid(i) || m_ind[i].start == v)
        return;
    m_ind[i].start = v;
    update();
}

bool MeterGauge::isIndicatorVisible(int i) const { return Valid(i) && m_ind[i].visible; }

void MeterGauge::setIndicatorVisible(int i, bool on)
{
    if (!Valid(i) || m_ind[i].visible == on)
        return;
    m_ind[i].visible = on;
    update();
}

void MeterGauge::setBackColor(const QColor& c)
{
    if (c == m_back)
        return;
    m_back = c;
    update();
}

void MeterGauge::setInkColor(const QColor& c)
{
    if (c == m_ink)
        return;
    m_ink = c;
    update();
}

QSize MeterGauge::sizeHint() const { return {240, 110}; }

QSize MeterGauge::minimumSizeHint() const { return {48, 22}; }

void MeterGauge::paintEvent(QPaintEvent*)
{
    if (width() < 2 || height() < 2)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    // Fit the face box, keeping its shape, centred.
    const qreal scale = std::min(width() / kFaceW, height() / kFaceH);
    p.translate((width() - kFaceW * scale) / 2, (height() - kFaceH * scale) / 2);
    p.scale(scale, scale);
    const QRectF face(0, 0, kFaceW, kFaceH);

    QLinearGradient glass(face.topLeft(), face.bottomLeft());
    glass.setColorAt(0.0, m_back.lighter(112));
    glass.setColorAt(1.0, m_back.darker(115));
    p.setPen(QPen(QColor(0x10, 0x10, 0x12), 2.5));
    p.setBrush(glass);
    p.drawRoundedRect(face.adjusted(1.25, 1.25, -1.25, -1.25), 7, 7);
    p.setClipRect(face.adjusted(2.5, 2.5, -2.5, -2.5));

    QFont font;
    font.setBold(true);
    font.setPixelSize(10);
    p.setFont(font);

    // S scale: S1..S9 in ink, the dB over S9 in red.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(m_ink, 1.6, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(ArcPath(kSRadius, 0, 9));
    p.setPen(QPen(kRed, 3.2, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(ArcPath(kSRadius + 0.8, 9, kScaleMax));
    for (int v = 0; v <= kScaleMax; ++v) {
        const bool major = v % 2 == 1;
        const qreal a = AngleOf(v);
        p.setPen(QPen(v > 9 ? kRed : m_ink, major ? 1.8 : 1.1));
        p.drawLine(OnArc(kSRadius, a), OnArc(kSRadius + (major ? 7 : 4), a));
    }
    p.setPen(m_ink);
    for (int v : {1, 3, 5, 7, 9})
        Label(p, kSRadius + 15, v, QString::number(v));
    p.setPen(kRed);
    Label(p, kSRadius + 15, 11, QStringLiteral("+20"));
    Label(p, kSRadius + 15, 13, QStringLiteral("+40"));
    Label(p, kSRadius + 15, 15, QStringLiteral("+60"));
    p.setPen(m_ink);
    p.drawText(QRectF(6, 4, 20, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("S"));
    p.setPen(kRed);
    p.drawText(QRectF(kFaceW - 26, 4, 20, 14), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("dB"));

    // PO scale under it, 0..5 W.
    p.setPen(QPen(m_ink, 1.3, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(ArcPath(kPoRadius, 0, kScaleMax));
    for (int v = 0; v <= kScaleMax; ++v) {
        const bool major = v % 3 == 0;
        const qreal a = AngleOf(v);
        p.setPen(QPen(m_ink, major ? 1.5 : 0.9));
        p.drawLine(OnArc(kPoRadius, a), OnArc(kPoRadius - (major ? 6 : 3.5), a));
    }
    font.setPixelSize(8);
    p.setFont(font);
    p.setPen(m_ink);
    for (int w = 0; w <= 5; ++w)
        Label(p, kPoRadius - 13, w * 3.0, QString::number(w));
    p.drawText(QRectF(6, 62, 24, 12), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("PO"));
    p.drawText(QRectF(kFaceW - 30, 62, 24, 12), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("W"));

    // Indicator 1: a band along the S arc, e.g. the peak or the discriminator window.
    if (m_ind[1].visible && m_ind[1].value != m_ind[1].start) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kBand, 6.0, Qt::SolidLine, Qt::FlatCap));
        p.drawPath(ArcPath(kSRadius - 6, m_ind[1].start, m_ind[1].value));
    }
    // Indicators 2 and 3: markers pointing out at the S arc.
    if (m_ind[2].visible)
        Triangle(p, m_ind[2].value, kSRadius - 1.5, 9, kMarker2);
    if (m_ind[3].visible)
        Triangle(p, m_ind[3].value, kSRadius - 1.5, 9, kMarker3);

    // Indicator 0: the needle, with a faint shadow on the face.
    if (m_ind[0].visible) {
        const qreal a = AngleOf(m_ind[0].value);
        p.setPen(QPen(QColor(0, 0, 0, 50), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(OnArc(40, a) + QPointF(2, 2), OnArc(kSRadius + 6, a) + QPointF(2, 2));
        p.setPen(QPen(kNeedle, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(OnArc(40, a), OnArc(kSRadius + 6, a));
    }

    // Housing over the pivot.
    QLinearGradient housing(QPointF(0, kFaceH - 18), QPointF(0, kFaceH));
    housing.setColorAt(0.0, QColor(0x3A, 0x3C, 0x40));
    housing.setColorAt(1.0, QColor(0x16, 0x17, 0x19));
    p.setPen(QPen(QColor(0x0A, 0x0A, 0x0B), 1.0));
    p.setBrush(housing);
    p.drawChord(QRectF(kPivot.x() - 42, kFaceH - 16, 84, 44), 0, 180 * 16);
    if (hasFocus()) {
        p.setClipping(false);
        p.setPen(QPen(QColor(0xF0, 0xA0, 0x20), 2.0));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(face.adjusted(1, 1, -1, -1), 7, 7);
    }
}

} // namespace kivo::ui
