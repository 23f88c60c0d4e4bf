#pragma once
// The multi-scale needle meter: S-units and PO on one arc face, a needle, a band and two markers.

#include <QColor>
#include <QWidget>

#include <array>

namespace kivo::ui {

class MeterGauge : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)
    Q_PROPERTY(QColor inkColor READ inkColor WRITE setInkColor)

public:
    // Indicator 0 is the needle, 1 a band from its start to its value, 2 and 3 triangle markers.
    static constexpr int kIndicators = 4;
    // Values run 0..15 across the arc: S9 at 9, then 10 dB a step up to +60.
    static constexpr double kScaleMax = 15;

    explicit MeterGauge(QWidget* parent = nullptr);

    double value(int indicator) const;
    void setValue(int indicator, double v);
    double start(int indicator) const;
    void setStart(int indicator, double v);
    bool isIndicatorVisible(int indicator) const;
    void setIndicatorVisible(int indicator, bool on);

    // The face: lit or unlit, as the display panel.
    QColor backColor() const { return m_back; }
    void setBackColor(const QColor& c);
    // Scale lines and figures.
    QColor inkColor() const { return m_ink; }
    void setInkColor(const QColor& c);

    // The reading in words and as a level, for a screen reader ("S9 plus 20"; 0..15, or the watts
    // of 0..5 on air). Set quietly: the meter is read when asked.
    void setReading(double value, double maximum, const QString& words);
    double readingValue() const { return m_readingValue; }
    double readingMaximum() const { return m_readingMaximum; }
    QString readingWords() const { return m_readingWords; }
    // Tells a screen reader the reading changed (a new whole S-unit, when the operator asked).
    void AnnounceReading();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Indicator {
        double value = 0;
        double start = 0;
        bool visible = true;
    };
    static bool Valid(int i) { return i >= 0 && i < kIndicators; }

    std::array<Indicator, kIndicators> m_ind;
    QColor m_back;
    QColor m_ink;
    double m_readingValue = 0;
    double m_readingMaximum = kScaleMax;
    QString m_readingWords;
};

} // namespace kivo::ui
