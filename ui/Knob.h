#pragma once
// A rotary knob with detents: turned by dragging, the mouse wheel or the arrow keys.

#include <QTimer>
#include <QWidget>

#include <set>

namespace kivo::ui {

class Knob : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int detentsPerTurn READ detentsPerTurn WRITE setDetentsPerTurn)
    Q_PROPERTY(int wheelQuietMs READ wheelQuietMs WRITE setWheelQuietMs)

public:
    explicit Knob(QWidget* parent = nullptr);

    int detentsPerTurn() const { return m_detents; }
    void setDetentsPerTurn(int detents);
    // A burst of wheel events counts as one grab; it ends after this long without one.
    int wheelQuietMs() const { return m_quiet.interval(); }
    void setWheelQuietMs(int ms) { m_quiet.setInterval(ms); }

    // Detents turned since construction, clockwise positive.
    long value() const { return m_value; }
    // True while the knob is held (mouse down, wheel burst or arrow key down).
    bool isHeld() const { return m_mouseDown || m_wheeling || m_keyHeld || m_stepping; }
    // One turn of `detents` from outside (a screen reader's increase or decrease): grabbed,
    // turned and released at once.
    void Step(long detents);

    // What the knob sets, for a screen reader: the frequency it tunes or the channel; a change
    // of the value is announced.
    struct Reading {
        double value = 0;
        double minimum = 0;
        double maximum = 0;
    };
    const Reading& reading() const { return m_reading; }
    void setReading(const Reading& r);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int w) const override { return w; }

signals:
    void grabbed();
    void released();
    // The absolute detent count after a turn; listeners work with differences.
    void valueChanged(long value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Holding starts with the first source and ends with the last.
    void Hold(bool& source);
    void Unhold(bool& source);
    void LetGoOfEverything();
    void Turn(long detents);
    qreal DegreesPerDetent() const { return 360.0 / m_detents; }
    // Pointer angle around the centre, clockwise from 12 o'clock; false too near the centre to tell.
    bool AngleAt(const QPointF& pos, qreal& degrees) const;

    int m_detents = 24;
    long m_value = 0;
    bool m_mouseDown = false;
    bool m_wheeling = false;
    bool m_keyHeld = false;
    bool m_stepping = false;
    Reading m_reading;
    std::set<int> m_keysDown;
    bool m_haveAngle = false;
    qreal m_lastAngle = 0;
    qreal m_dragRest = 0; // degrees turned towards the next detent
    int m_wheelRest = 0;  // eighths of a degree towards the next notch
    QTimer m_quiet;
};

} // namespace kivo::ui
