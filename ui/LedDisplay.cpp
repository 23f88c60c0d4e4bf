#include "ui/LedDisplay.h"

#include "ui/Accessibility.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>

namespace kivo::ui {

namespace {

// Glyph geometry in units of the digit height.
constexpr qreal kDigitWidth = 0.54;
constexpr qreal kThickness = 0.13;
constexpr qreal kGap = 0.018;
constexpr qreal kSlant = 0.09;
constexpr qreal kDigitAdvance = kDigitWidth + 0.17;
constexpr qreal kDotAdvance = 0.24;
constexpr qreal kCharGap = 0.08;
// Pixel size of the reference font whose metrics the layout is worked out in.
constexpr int kFontPx = 100;
// A bold font's capitals fill about this much of its pixel size.
constexpr qreal kCapHeight = 0.72;

// Segments a..g as bits 0..6.
enum Seg { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };
constexpr std::array<int, 10> kDigitSegments = {
    A | B | C | D | E | F, B | C,         A | B | D | E | G,
    A | B | C | D | G,     B | C | F | G, A | C | D | F | G,
    A | C | D | E | F | G, A | B | C,     A | B | C | D | E | F | G,
    A | B | C | D | F | G,
};

enum class Kind { Digit, Dot, Glyph };

struct Cell {
    Kind kind;
    int segments; // for Digit
    QChar ch;     // for Glyph
    qreal advance;
};

QPointF Slanted(qreal x, qreal y) { return {x + kSlant * (1.0 - y), y}; }

QPolygonF Horizontal(qreal yc)
{
    const qreal h = kThickness / 2;
    const qreal x0 = h + kGap, x1 = kDigitWidth - h - kGap;
    return QPolygonF({Slanted(x0, yc), Slanted(x0 + h, yc - h), Slanted(x1 - h, yc - h), Slanted(x1, yc),
                      Slanted(x1 - h, yc + h), Slanted(x0 + h, yc + h)});
}

QPolygonF Vertical(qreal xc, qreal y0, qreal y1)
{
    const qreal h = kThickness / 2;
    y0 += kGap;
    y1 -= kGap;
    return QPolygonF({Slanted(xc, y0), Slanted(xc + h, y0 + h), Slanted(xc + h, y1 - h), Slanted(xc, y1),
                      Slanted(xc - h, y1 - h), Slanted(xc - h, y0 + h)});
}

const std::array<QPolygonF, 7>& SegmentShapes()
{
    static const std::array<QPolygonF, 7> shapes = [] {
        const qreal h = kThickness / 2;
        const qreal right = kDigitWidth - h;
        return std::array<QPolygonF, 7>{
            Horizontal(h),                 // a
            Vertical(right, h, 0.5),       // b
            Vertical(right, 0.5, 1.0 - h), // c
            Horizontal(1.0 - h),           // d
            Vertical(h, 0.5, 1.0 - h),     // e
            Vertical(h, h, 0.5),           // f
            Horizontal(0.5),               // g
        };
    }();
    return shapes;
}

QFont GlyphFont()
{
    QFont f;
    f.setBold(true);
    f.setPixelSize(kFontPx);
    return f;
}

std::vector<Cell> Layout(const QString& text)
{
    const QFont font = GlyphFont();
    const QFontMetricsF fm(font);
    std::vector<Cell> cells;
    cells.reserve(text.size());
    for (QChar ch : text) {
        if (ch.isDigit() && ch.unicode() < 128)
            cells.push_back({Kind::Digit, kDigitSegments[ch.unicode() - '0'], ch, kDigitAdvance});
        else if (ch == u'-')
            cells.push_back({Kind::Digit, G, ch, kDigitAdvance});
        else if (ch == u' ')
            cells.push_back({Kind::Digit, 0, ch, kDigitAdvance});
        else if (ch == u'.')
            cells.push_back({Kind::Dot, 0, ch, kDotAdvance});
        else {
            const qreal w = fm.horizontalAdvance(ch) / (kFontPx * kCapHeight);
            cells.push_back({Kind::Glyph, 0, ch, w + kCharGap});
        }
    }
    return cells;
}

} // namespace

LedDisplay::LedDisplay(QWidget* parent)
    : QWidget(parent), m_lit(0x0B, 0x16, 0x1C), m_unlit(0, 0, 0, 26), m_back(0x00, 0xC8, 0xF0)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    // Reached with Tab, so a screen reader reads it and follows its changes.
    setFocusPolicy(Qt::TabFocus);
    InstallAccessibleWidgets();
}

void LedDisplay::setSpokenText(const QString& words)
{
    if (words == m_spoken)
        return;
    m_spoken = words;
    QAccessibleEvent event(this, QAccessible::NameChanged);
    SendAccessibleEvent(event);
}

void LedDisplay::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void LedDisplay::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

void LedDisplay::setText(const QString& text)
{
    if (text == m_text)
        return;
    const QString old = m_text;
    m_text = text;
    update();
    QAccessibleTextUpdateEvent event(this, 0, old, text);
    SendAccessibleEvent(event);
}

void LedDisplay::setLitColor(const QColor& c)
{
    if (c == m_lit)
        return;
    m_lit = c;
    update();
}

void LedDisplay::setUnlitColor(const QColor& c)
{
    if (c == m_unlit)
        return;
    m_unlit = c;
    update();
}

void LedDisplay::setBackColor(const QColor& c)
{
    if (c == m_back)
        return;
    m_back = c;
    update();
}

QSize LedDisplay::sizeHint() const
{
    qreal units = 0;
    for (const Cell& c : Layout(m_text.isEmpty() ? QStringLiteral("000") : m_text))
        units += c.advance;
    // Digits fill about 70 % of the height; the rest is margin.
    const int h = 40;
    return {int(units * h * 0.7) + h * 3 / 10, h};
}

QSize LedDisplay::minimumSizeHint() const { return {24, 12}; }

void LedDisplay::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    drawDisplay(p, rect());
    if (hasFocus()) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0xF0, 0xA0, 0x20), 2.0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void LedDisplay::drawDisplay(QPainter& p, const QRectF& r) const
{
    if (r.width() < 1 || r.height() < 1)
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);

    // Glass: rounded, a touch brighter at the top, inside a dark bezel.
    const qreal radius = std::min(r.width(), r.height()) * 0.08;
    QLinearGradient glass(r.topLeft(), r.bottomLeft());
    glass.setColorAt(0.0, m_back.lighter(112));
    glass.setColorAt(0.5, m_back);
    glass.setColorAt(1.0, m_back.darker(112));
    const qreal bezel = std::max<qreal>(1.0, std::min(r.width(), r.height()) * 0.025);
    p.setPen(QPen(QColor(0x10, 0x10, 0x12), bezel));
    p.setBrush(glass);
    p.drawRoundedRect(r.adjusted(bezel / 2, bezel / 2, -bezel / 2, -bezel / 2), radius, radius);

    const std::vector<Cell> cells = Layout(m_text);
    qreal units = 0;
    for (const Cell& c : cells)
        units += c.advance;
    if (!cells.empty() && cells.back().kind == Kind::Digit)
        units -= kDigitAdvance - kDigitWidth - kSlant; // no spacing after the last digit
    const qreal margin = std::min(r.width(), r.height()) * 0.14 + bezel;
    const QRectF inner = r.adjusted(margin, margin, -margin, -margin);
    if (units <= 0 || inner.width() <= 0 || inner.height() <= 0) {
        p.restore();
        return;
    }
    const qreal height = std::min(inner.height(), inner.width() / units);
    if (height < 0.5) {
        p.restore();
        return;
    }

    // Right-aligned like the radio's, vertically centred.
    p.translate(inner.right() - units * height, inner.center().y() - height / 2);
    p.scale(height, height);
    p.setPen(Qt::NoPen);
    const QFont font = GlyphFont();
    const auto& shapes = SegmentShapes();
    qreal x = 0;
    for (const Cell& c : cells) {
        p.save();
        p.translate(x, 0);
        switch (c.kind) {
        case Kind::Digit:
            for (int s = 0; s < 7; ++s) {
                p.setBrush((c.segments & (1 << s)) ? m_lit : m_unlit);
                p.drawPolygon(shapes[s]);
            }
            break;
        case Kind::Dot: {
            const qreal d = kThickness * 1.15;
            p.setBrush(m_lit);
            p.drawRect(QRectF((kDotAdvance - d) / 2 - 0.06, 1.0 - d, d, d));
            break;
        }
        case Kind::Glyph: {
            // The reference font is in pixels; bring it down to the unit box.
            p.scale(1.0 / (kFontPx * kCapHeight), 1.0 / (kFontPx * kCapHeight));
            p.setFont(font);
            p.setPen(m_lit);
            p.drawText(QPointF(0, kFontPx * kCapHeight), QString(c.ch));
            break;
        }
        }
        p.restore();
        x += c.advance;
    }
    p.restore();
}

} // namespace kivo::ui
