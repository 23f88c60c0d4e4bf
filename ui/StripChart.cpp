#include "ui/StripChart.h"

#include "ui/Accessibility.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace kivo::ui {

namespace {

constexpr double kLeft = 44, kRight = 28, kTop = 10, kAxis = 22, kGap = 6;
constexpr double kTraceWithWaterfall = 215;

const QColor kBack(0x0C, 0x14, 0x1C);
const QColor kFrame(0x5A, 0x6A, 0x78);
const QColor kRule(0x24, 0x34, 0x42);
const QColor kInk(0xB8, 0xC4, 0xCE);
const QColor kTrace(0xF0, 0xE0, 0x40);
const QColor kFill(0xF0, 0xC0, 0x20, 90);
const QColor kCursor(0xFF, 0x50, 0x40);
const QColor kThreshold(0x40, 0xC0, 0x70);

// Dark blue through cyan, green and yellow to red as the reading rises.
QColor WaterfallColor(int sMeter)
{
    static const QColor kStops[] = {QColor(0x06, 0x0A, 0x30), QColor(0x10, 0x40, 0xA0), QColor(0x10, 0xB0, 0xC0),
                                    QColor(0x30, 0xD0, 0x40), QColor(0xF0, 0xE0, 0x30), QColor(0xF0, 0x30, 0x20)};
    const double t = std::clamp(sMeter / scope::kChartMaxS, 0.0, 1.0) * 5;
    const int i = std::min(int(t), 4);
    const double f = t - i;
    const QColor& a = kStops[i];
    const QColor& b = kStops[i + 1];
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * f),
                            float(a.greenF() + (b.greenF() - a.greenF()) * f),
                            float(a.blueF() + (b.blueF() - a.blueF()) * f));
}

// The chart for a screen reader: its text is the peak and the point under the cursor.
class ChartInterface final : public ReadoutInterface {
public:
    explicit ChartInterface(StripChart* chart) : ReadoutInterface(chart, QAccessible::Chart) {}
    QString Text() const override { return static_cast<StripChart*>(widget())->Summary(); }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return Text();
        return ReadoutInterface::text(t);
    }
};

QAccessibleInterface* ChartFactory(const QString&, QObject* object)
{
    if (auto* chart = qobject_cast<StripChart*>(object))
        return new ChartInterface(chart);
    return nullptr;
}

} // namespace

StripChart::StripChart(const scope::BandScope& scope, QWidget* parent) : QWidget(parent), m_scope(scope)
{
    static const bool installed = [] {
        QAccessible::installFactory(ChartFactory);
        return true;
    }();
    (void)installed;
    setObjectName(QStringLiteral("stripScope"));
    setAccessibleName(QStringLiteral("Sweep chart"));
    // Left and Right move the cursor over the sweep's points, Enter tunes there: a click's work
    // from the keyboard.
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

scope::ChartGeometry StripChart::Geometry() const
{
    const double h = m_scope.WaterfallOn() ? kTraceWithWaterfall : kHeight - kTop - kAxis - 4;
    return {m_scope.AxisStartKHz(), m_scope.AxisSpanKHz(), {kLeft, kTop, kWidth - kLeft - kRight, h}};
}

scope::PlotArea StripChart::WaterfallArea() const
{
    const double top = kTop + kTraceWithWaterfall + kAxis + kGap;
    return {kLeft, top, kWidth - kLeft - kRight, kHeight - top - 6};
}

QPointF StripChart::ToWidget(double kHz, double sMeter) const
{
    const scope::ChartGeometry g = Geometry();
    return {g.XOf(kHz) * width() / kWidth, g.YOf(sMeter) * height() / kHeight};
}

void StripChart::Refresh()
{
    if (m_cursor >= int(m_scope.Trace().points.size()))
        m_cursor = -1;
    update();
    TellChange();
}

QString StripChart::Summary() const { return QString::fromStdString(scope::ChartWords(m_scope.Trace(), m_cursor)); }

void StripChart::SetCursor(int index)
{
    const int n = int(m_scope.Trace().points.size());
    index = n == 0 ? -1 : std::clamp(index, 0, n - 1);
    if (index == m_cursor)
        return;
    m_cursor = index;
    update();
    TellChange();
}

void StripChart::TellChange()
{
    const QString now = Summary();
    if (now == m_told)
        return;
    QAccessibleTextUpdateEvent event(this, 0, m_told, now);
    m_told = now;
    SendAccessibleEvent(event);
}

void StripChart::focusInEvent(QFocusEvent* event)
{
    if (m_cursor < 0)
        SetCursor(0);
    QWidget::focusInEvent(event);
}

void StripChart::keyPressEvent(QKeyEvent* event)
{
    const int n = int(m_scope.Trace().points.size());
    switch (event->key()) {
    case Qt::Key_Left: SetCursor(m_cursor - 1); break;
    case Qt::Key_Right: SetCursor(m_cursor + 1); break;
    case Qt::Key_PageUp: SetCursor(m_cursor - 10); break;
    case Qt::Key_PageDown: SetCursor(m_cursor + 10); break;
    case Qt::Key_Home: SetCursor(0); break;
    case Qt::Key_End: SetCursor(n - 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_cursor >= 0 && m_cursor < n)
            emit clicked(m_scope.Trace().points[std::size_t(m_cursor)].kHz);
        break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void StripChart::mouseMoveEvent(QMouseEvent* event)
{
    const auto& points = m_scope.Trace().points;
    if (points.empty())
        return;
    const double x = event->position().x() * kWidth / width();
    const scope::ChartGeometry g = Geometry();
    const double kHz = g.KHzAt(x);
    int nearest = 0;
    for (int i = 1; i < int(points.size()); ++i)
        if (std::abs(points[std::size_t(i)].kHz - kHz) < std::abs(points[std::size_t(nearest)].kHz - kHz))
            nearest = i;
    SetCursor(nearest);
}

StripChart::GridKey StripChart::Key() const
{
    return {size(), m_scope.AxisStartKHz(), m_scope.AxisSpanKHz(), m_scope.Settings().ScaleHandles,
            m_scope.WaterfallOn()};
}

void StripChart::resizeEvent(QResizeEvent*) { m_gridKey = {}; }

void StripChart::BuildGrid()
{
    const qreal dpr = devicePixelRatioF();
    m_grid = QPixmap(size() * dpr);
    m_grid.setDevicePixelRatio(dpr);
    m_grid.fill(kBack);
    QPainter p(&m_grid);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(width() / kWidth, height() / kHeight);
    const scope::ChartGeometry g = Geometry();
    const QRectF plot(g.area.left, g.area.top, g.area.width, g.area.height);
    // Scale handles: "Horizontal" rules across at each S level, "Vertical" at each frequency tick.
    const int handles = m_scope.Settings().ScaleHandles;
    QFont font = p.font();
    font.setPointSizeF(7.5);
    p.setFont(font);
    for (const scope::Tick& t : g.YTicks()) {
        p.setPen(QPen(kRule, 0.8));
        if (handles == 1 || handles == 3)
            p.drawLine(QPointF(plot.left(), t.pos), QPointF(plot.right(), t.pos));
        p.setPen(QPen(kFrame, 1));
        p.drawLine(QPointF(plot.left() - 4, t.pos), QPointF(plot.left(), t.pos));
        p.setPen(kInk);
        p.drawText(QRectF(0, t.pos - 7, plot.left() - 6, 14), Qt::AlignRight | Qt::AlignVCenter,
                   QString::fromStdString(t.label));
    }
    for (const scope::Tick& t : g.XTicks()) {
        p.setPen(QPen(kRule, 0.8));
        if (handles == 2 || handles == 3)
            p.drawLine(QPointF(t.pos, plot.top()), QPointF(t.pos, plot.bottom()));
        p.setPen(QPen(kFrame, 1));
        p.drawLine(QPointF(t.pos, plot.bottom()), QPointF(t.pos, plot.bottom() + 4));
        p.setPen(kInk);
        p.drawText(QRectF(t.pos - 30, plot.bottom() + 4, 60, kAxis - 6), Qt::AlignCenter,
                   QString::fromStdString(t.label));
    }
    p.setPen(kInk);
    // The unit in the plot's corner: the axis row has no room beside the end labels.
    p.drawText(QRectF(plot.right() - 64, plot.top() + 2, 60, 14), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("kHz"));
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot);
    if (m_scope.WaterfallOn()) {
        const scope::PlotArea w = WaterfallArea();
        p.drawRect(QRectF(w.left, w.top, w.width, w.height));
    }
    m_gridKey = Key();
}

void StripChart::paintEvent(QPaintEvent*)
{
    if (!(m_gridKey == Key()))
        BuildGrid();
    QPainter p(this);
    p.drawPixmap(0, 0, m_grid);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(width() / kWidth, height() / kHeight);
    const scope::ChartGeometry g = Geometry();
    p.setClipRect(QRectF(g.area.left, g.area.top, g.area.width, g.area.height + 1));
    // The Active Search Threshold as a level across the plot: what rises above it stands out.
    const double level = g.YOf(m_scope.Settings().ActiveSearch);
    p.setPen(QPen(kThreshold, 1, Qt::DotLine));
    p.drawLine(QPointF(g.area.left, level), QPointF(g.area.left + g.area.width, level));
    DrawTrace(p, g);
    p.setClipping(false);
    if (m_scope.WaterfallOn())
        DrawWaterfall(p, g);
}

void StripChart::DrawTrace(QPainter& p, const scope::ChartGeometry& g) const
{
    const auto& points = m_scope.Trace().points;
    if (points.empty())
        return;
    QPolygonF line;
    for (const scope::ScopePoint& pt : points)
        line << QPointF(g.XOf(pt.kHz), g.YOf(pt.sMeter));
    const double base = g.YOf(0);
    if (m_scope.Settings().ColorFill == 0 && line.size() > 1) {
        QPolygonF area = line;
        area << QPointF(line.back().x(), base) << QPointF(line.front().x(), base);
        p.setPen(Qt::NoPen);
        p.setBrush(kFill);
        p.drawPolygon(area);
    }
    p.setPen(QPen(kTrace, 1.4));
    p.setBrush(Qt::NoBrush);
    if (line.size() > 1)
        p.drawPolyline(line);
    else
        p.drawEllipse(line.front(), 1.5, 1.5);
    if (m_scope.Sweeping()) {
        p.setPen(QPen(kCursor, 1, Qt::DashLine));
        const double x = line.back().x();
        p.drawLine(QPointF(x, g.area.top), QPointF(x, g.area.top + g.area.height));
    }
    // The keyboard's cursor, while the chart has the keyboard.
    if (hasFocus() && m_cursor >= 0 && m_cursor < int(line.size())) {
        p.setPen(QPen(kInk, 1, Qt::DotLine));
        const double x = line[m_cursor].x();
        p.drawLine(QPointF(x, g.area.top), QPointF(x, g.area.top + g.area.height));
        p.setBrush(kInk);
        p.drawEllipse(line[m_cursor], 2.5, 2.5);
    }
}

void StripChart::DrawWaterfall(QPainter& p, const scope::ChartGeometry& g) const
{
    const scope::PlotArea w = WaterfallArea();
    const auto& history = m_scope.History();
    const double rowH = w.height / double(scope::kHistoryDepth);
    p.setPen(Qt::NoPen);
    // Newest at the top.
    double y = w.top;
    for (auto it = history.rbegin(); it != history.rend(); ++it, y += rowH) {
        const double halfStep = double(it->step) / 200;
        for (const scope::ScopePoint& pt : it->points) {
            const double x0 = std::max(w.left, g.XOf(pt.kHz - halfStep));
            const double x1 = std::min(w.left + w.width, g.XOf(pt.kHz + halfStep));
            if (x1 > x0)
                p.fillRect(QRectF(x0, y, x1 - x0, rowH + 0.3), WaterfallColor(pt.sMeter));
        }
    }
}

void StripChart::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF at(event->position().x() * kWidth / width(), event->position().y() * kHeight / height());
    const scope::ChartGeometry g = Geometry();
    if (at.x() < g.area.left || at.x() > g.area.left + g.area.width || at.y() < g.area.top ||
        at.y() > g.area.top + g.area.height)
        return;
    emit clicked(
        scope::SnapKHz(g.KHzAt(at.x()), double(m_scope.ScopeStart()) / 100, double(m_scope.SelectedStep()) / 100));
}

} // namespace kivo::ui
