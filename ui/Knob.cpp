#include "ui/Knob.h"

#include "ui/Accessibility.h"

#include <QConicalGradient>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QWheelEvent>

#include <cmath>

namespace kivo::ui {

namespace {

// One wheel notch in angleDelta units (eighths of a degree).
constexpr int kNotch = 120;
// Radii in a 100-unit knob.
constexpr qreal kTickOuter = 99, kTickInner = 92;
constexpr qreal kSkirt = 88, kCap = 74;

int KeyStep(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Right: return 1;
    case Qt::Key_Down:
    case Qt::Key_Left: return -1;
    default: return 0;
    }
}

QPointF Polar(qreal radius, qreal degrees)
{
    const qreal rad = qDegreesToRadians(degrees);
    return {radius * std::sin(rad), -radius * std::cos(rad)};
}

} // namespace

Knob::Knob(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(300);
    connect(&m_quiet, &QTimer::timeout, this, [this] {
        m_wheelRest = 0;
        Unhold(m_wheeling);
    });
    InstallAccessibleWidgets();
}

void Knob::Step(long detents)
{
    if (!isEnabled() || detents == 0)
        return;
    Hold(m_stepping);
    Turn(detents);
    Unhold(m_stepping);
}

void Knob::setReading(const Reading& r)
{
    const bool changed = r.value != m_reading.value;
    m_reading = r;
    if (!changed)
        return;
    QAccessibleValueChangeEvent event(this, r.value);
    SendAccessibleEvent(event);
}

void Knob::setDetentsPerTurn(int detents)
{
    detents = std::max(1, detents);
    if (detents == m_detents)
        return;
    m_detents = detents;
    update();
}

QSize Knob::sizeHint() const { return {96, 96}; }

QSize Knob::minimumSizeHint() const { return {24, 24}; }

void Knob::Hold(bool& source)
{
    const bool was = isHeld();
    source = true;
    if (!was)
        emit grabbed();
}

void Knob::Unhold(bool& source)
{
    if (!source)
        return;
    source = false;
    if (!isHeld())
        emit released();
}

void Knob::LetGoOfEverything()
{
    const bool was = isHeld();
    m_quiet.stop();
    m_mouseDown = m_wheeling = m_keyHeld = m_stepping = false;
    m_keysDown.clear();
    m_haveAngle = false;
    m_dragRest = 0;
    m_wheelRest = 0;
    if (was)
        emit released();
    update();
}

void Knob::Turn(long detents)
{
    if (detents == 0)
        return;
    m_value += detents;
    update();
    emit valueChanged(m_value);
}

bool Knob::AngleAt(const QPointF& pos, qreal& degrees) const
{
    const QPointF d = pos - QRectF(rect()).center();
    const qreal radius = std::min(width(), height()) / 2.0;
    // Near the centre a pixel is many degrees: ignore it rather than spin.
    if (std::hypot(d.x(), d.y()) < radius * 0.12)
        return false;
    degrees = qRadiansToDegrees(std::atan2(d.x(), -d.y()));
    return true;
}

void Knob::mousePressEvent(QMouseEvent* event)
{
    if (!isEnabled() || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_dragRest = 0;
    m_haveAngle = AngleAt(event->position(), m_lastAngle);
    Hold(m_mouseDown);
    event->accept();
}

void Knob::mouseMoveEvent(QMouseEvent* event)
{
    if (!isEnabled() || !m_mouseDown) {
        event->ignore();
        return;
    }
    qreal angle;
    if (!AngleAt(event->position(), angle))
        return;
    if (m_haveAngle) {
        qreal delta = angle - m_lastAngle;
        if (delta > 180)
            delta -= 360;
        else if (delta <= -180)
            delta += 360;
        m_dragRest += delta;
        const long n = static_cast<long>(m_dragRest / DegreesPerDetent());
        m_dragRest -= n * DegreesPerDetent();
        Turn(n);
        update();
    }
    m_lastAngle = angle;
    m_haveAngle = true;
}

void Knob::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_mouseDown) {
        event->ignore();
        return;
    }
    // The knob settles into its detent.
    m_dragRest = 0;
    m_haveAngle = false;
    update();
    Unhold(m_mouseDown);
}

void Knob::wheelEvent(QWheelEvent* event)
{
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    int delta = event->angleDelta().y();
    if (delta == 0)
        delta = event->angleDelta().x();
    if (event->inverted())
        delta = -delta;
    if (delta == 0)
        return;
    Hold(m_wheeling);
    m_quiet.start();
    m_wheelRest += delta;
    const int n = m_wheelRest / kNotch;
    m_wheelRest -= n * kNotch;
    Turn(n);
    event->accept();
}

void Knob::keyPressEvent(QKeyEvent* event)
{
    const int step = KeyStep(event->key());
    if (!isEnabled() || step == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_keysDown.insert(event->key());
    Hold(m_keyHeld);
    Turn(step);
    event->accept();
}

void Knob::keyReleaseEvent(QKeyEvent* event)
{
    if (KeyStep(event->key()) == 0) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    event->accept();
    // Auto-repeat sends release-press pairs while the key stays down.
    if (event->isAutoRepeat())
        return;
    m_keysDown.erase(event->key());
    if (m_keysDown.empty())
        Unhold(m_keyHeld);
}

void Knob::focusOutEvent(QFocusEvent* event)
{
    // Key releases go to the new focus widget; don't stay held.
    m_keysDown.clear();
    Unhold(m_keyHeld);
    update();
    QWidget::focusOutEvent(event);
}

void Knob::hideEvent(QHideEvent* event)
{
    LetGoOfEverything();
    QWidget::hideEvent(event);
}

void Knob::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            LetGoOfEverything();
        update();
    }
    QWidget::changeEvent(event);
}

void Knob::paintEvent(QPaintEvent*)
{
    const qreal side = std::min(width(), height());
    if (side < 2)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(QRectF(rect()).center());
    p.scale(side / 200.0, side / 200.0);
    const bool on = isEnabled();

    // Detent marks on the panel around the knob; thinned out when there are very many.
    const int every = std::max(1, (m_detents + 71) / 72);
    p.setPen(QPen(on ? QColor(0x9A, 0xA0, 0xA8) : QColor(0x55, 0x58, 0x5C), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < m_detents; i += every) {
        const qreal a = i * DegreesPerDetent();
        p.drawLine(Polar(kTickInner, a), Polar(i == 0 ? kTickOuter + 1 : kTickOuter - 2, a));
    }

    // Shadow under the knob.
    QRadialGradient shadow(QPointF(0, 4), kSkirt + 6);
    shadow.setColorAt(0.85, QColor(0, 0, 0, 160));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(QPointF(0, 4), kSkirt + 6, kSkirt + 6);

    const qreal angle = m_value * DegreesPerDetent() + m_dragRest;

    // Knurled skirt: grip ridges turn with the knob.
    QConicalGradient skirt(QPointF(0, 0), 120);
    skirt.setColorAt(0.0, QColor(0x2C, 0x2E, 0x32));
    skirt.setColorAt(0.25, QColor(0x4A, 0x4D, 0x53));
    skirt.setColorAt(0.5, QColor(0x1E, 0x1F, 0x22));
    skirt.setColorAt(0.75, QColor(0x3A, 0x3C, 0x41));
    skirt.setColorAt(1.0, QColor(0x2C, 0x2E, 0x32));
    p.setBrush(skirt);
    p.setPen(QPen(QColor(0x0C, 0x0C, 0x0E), 1.5));
    p.drawEllipse(QPointF(0, 0), kSkirt, kSkirt);
    p.setPen(QPen(QColor(0x12, 0x12, 0x14), 1.6));
    for (int i = 0; i < 60; ++i) {
        const qreal a = angle + i * 6.0;
        p.drawLine(Polar(kCap + 3, a), Polar(kSkirt - 1.5, a));
    }

    // Cap: dark satin metal lit from the upper left.
    QRadialGradient cap(QPointF(-kCap * 0.35, -kCap * 0.45), kCap * 1.5);
    cap.setColorAt(0.0, QColor(0x5C, 0x60, 0x67));
    cap.setColorAt(0.45, QColor(0x2E, 0x30, 0x35));
    cap.setColorAt(1.0, QColor(0x15, 0x16, 0x18));
    p.setBrush(cap);
    p.setPen(QPen(QColor(0x08, 0x08, 0x09), 1.5));
    p.drawEllipse(QPointF(0, 0), kCap, kCap);

    // Finger dimple and the position mark.
    const QPointF dimple = Polar(kCap * 0.58, angle);
    QRadialGradient hollow(dimple + QPointF(4, 5), 15);
    hollow.setColorAt(0.0, QColor(0x4A, 0x4D, 0x53));
    hollow.setColorAt(1.0, QColor(0x0E, 0x0E, 0x10));
    p.setBrush(hollow);
    p.setPen(QPen(QColor(0x60, 0x64, 0x6A, 120), 1.0));
    p.drawEllipse(dimple, 12, 12);
    p.setPen(QPen(on ? QColor(0xF0, 0xF0, 0xF0) : QColor(0x70, 0x70, 0x70), 5.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(Polar(kSkirt - 16, angle), Polar(kSkirt - 3, angle));

    if (hasFocus()) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x00, 0xC8, 0xF0, 160), 2.0));
        p.drawEllipse(QPointF(0, 0), kTickOuter, kTickOuter);
    }
    if (!on) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x20, 0x20, 0x22, 110));
        p.drawEllipse(QPointF(0, 0), kSkirt, kSkirt);
    }
}

} // namespace kivo::ui
