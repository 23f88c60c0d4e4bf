#include "ui/PanelKey.h"

#include "ui/Accessibility.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace kivo::ui {

namespace {

QFont KeyFont(const QFont& base, qreal px)
{
    QFont f = base;
    f.setBold(true);
    f.setPixelSize(std::max(1, qRound(px)));
    return f;
}

} // namespace

PanelKey::PanelKey(const QString& text, QWidget* parent) : QAbstractButton(parent)
{
    setText(text);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAttribute(Qt::WA_Hover);
    InstallAccessibleWidgets();
}

void PanelKey::AccessiblePress()
{
    if (!isEnabled())
        return;
    if (accessiblePress)
        accessiblePress();
    else
        animateClick();
}

QSize PanelKey::sizeHint() const
{
    const QFontMetrics fm(KeyFont(font(), 11));
    return {std::max(44, fm.horizontalAdvance(text()) + 20), 26};
}

QSize PanelKey::minimumSizeHint() const { return {16, 12}; }

void PanelKey::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PanelKey::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void PanelKey::paintEvent(QPaintEvent*)
{
    const QRectF r = QRectF(rect());
    if (r.width() < 2 || r.height() < 2)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool on = isEnabled();
    const bool down = isDown() && on;
    const qreal radius = std::min(r.width(), r.height()) * 0.22;

    // Shadow the key casts on the panel; a pressed key sits lower and casts less.
    const qreal lift = down ? 0.0 : std::max<qreal>(1.0, r.height() * 0.06);
    const QRectF body = r.adjusted(1, 1, -1, -1 - lift);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 140));
    p.drawRoundedRect(body.translated(0, lift), radius, radius);

    QLinearGradient face(body.topLeft(), body.bottomLeft());
    if (down) {
        face.setColorAt(0.0, QColor(0x1A, 0x1B, 0x1E));
        face.setColorAt(1.0, QColor(0x2A, 0x2C, 0x30));
    } else {
        const int hover = m_hover && on ? 110 : 100;
        face.setColorAt(0.0, QColor(0x4A, 0x4D, 0x53).lighter(hover));
        face.setColorAt(0.45, QColor(0x33, 0x35, 0x3A).lighter(hover));
        face.setColorAt(1.0, QColor(0x22, 0x23, 0x26).lighter(hover));
    }
    p.setPen(QPen(QColor(0x0B, 0x0B, 0x0C), 1.0));
    p.setBrush(face);
    p.drawRoundedRect(body.translated(0, down ? lift + 0.5 : 0), radius, radius);

    // A checked key shows a lit bar, as a latched function does.
    if (isCheckable() && isChecked()) {
        const qreal bh = std::max<qreal>(1.5, body.height() * 0.1);
        const QRectF bar(body.left() + body.width() * 0.3, body.top() + bh * 0.8, body.width() * 0.4, bh);
        p.setPen(Qt::NoPen);
        p.setBrush(on ? QColor(0xFF, 0x9A, 0x2A) : QColor(0x6A, 0x50, 0x30));
        p.drawRoundedRect(bar, bh / 2, bh / 2);
    }

    if (hasFocus()) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x00, 0xC8, 0xF0, 170), 1.2));
        p.drawRoundedRect(body.adjusted(1.5, 1.5, -1.5, -1.5), radius * 0.8, radius * 0.8);
    }

    QFont f = KeyFont(font(), body.height() * 0.42);
    const QFontMetricsF fm(f);
    const QString caption = text();
    const qreal room = body.width() - 6;
    const qreal need = fm.horizontalAdvance(QString(caption).remove(u'&'));
    if (room > 0 && need > room)
        f.setPixelSize(std::max(1, int(f.pixelSize() * room / need)));
    p.setFont(f);
    p.setPen(on ? QColor(0xEC, 0xEE, 0xF0) : QColor(0x74, 0x76, 0x7A));
    p.drawText(body.translated(0, down ? lift + 0.5 : 0), Qt::AlignCenter | Qt::TextShowMnemonic, caption);
}

} // namespace kivo::ui
