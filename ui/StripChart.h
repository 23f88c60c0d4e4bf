#pragma once
// The band scope's strip chart: the trace of S-meter readings over the swept span, filled under
// when "Color Fill" is on, and under it a waterfall of the last sweeps while continuous scan is
// on. Drawn in a fixed logical space over a cached grid; the geometry is scope::ChartGeometry.

#include "scope/BandScope.h"
#include "scope/ScopeChart.h"

#include <QPixmap>
#include <QWidget>

namespace kivo::ui {

class StripChart final : public QWidget {
    Q_OBJECT
public:
    // The logical space everything is drawn in, scaled to the widget.
    static constexpr double kWidth = 640;
    static constexpr double kHeight = 360;

    explicit StripChart(const scope::BandScope& scope, QWidget* parent = nullptr);

    // The trace or a chart setting changed.
    void Refresh();
    // The plot area's geometry for the scope's current axis, in logical units.
    scope::ChartGeometry Geometry() const;
    scope::PlotArea WaterfallArea() const;
    // The widget point (pixels) of a frequency and S-meter value, for tests and clicks.
    QPointF ToWidget(double kHz, double sMeter) const;

    // The chart in words: the peak, and the point under the cursor.
    QString Summary() const;
    // The point the cursor is on (arrow keys, the pointer), -1 for none; Enter tunes to it.
    int Cursor() const { return m_cursor; }
    void SetCursor(int index);

    QSize sizeHint() const override { return {720, 400}; }
    QSize minimumSizeHint() const override { return {400, 240}; }

signals:
    // A click on the plot, at the nearest point of the sweep's grid.
    void clicked(double kHz);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    struct GridKey {
        QSize size;
        double start = -1, span = -1;
        int handles = -1;
        bool waterfall = false;
        bool operator==(const GridKey&) const = default;
    };
    GridKey Key() const;
    void BuildGrid();
    void DrawTrace(QPainter& p, const scope::ChartGeometry& g) const;
    void DrawWaterfall(QPainter& p, const scope::ChartGeometry& g) const;

    const scope::BandScope& m_scope;
    QPixmap m_grid;
    GridKey m_gridKey;
    int m_cursor = -1;
    QString m_told; // the summary a screen reader last heard
    void TellChange();
};

} // namespace kivo::ui
