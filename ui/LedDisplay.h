#pragma once
// A liquid-crystal text display: seven-segment digits drawn as shapes, other characters in a bold font.

#include <QColor>
#include <QString>
#include <QWidget>

namespace kivo::ui {

class LedDisplay : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(QColor litColor READ litColor WRITE setLitColor)
    Q_PROPERTY(QColor unlitColor READ unlitColor WRITE setUnlitColor)
    Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)

public:
    explicit LedDisplay(QWidget* parent = nullptr);

    QString text() const { return m_text; }
    // The shown text in words, for a screen reader ("144.200 megahertz"); its name when set.
    QString spokenText() const { return m_spoken; }
    void setSpokenText(const QString& words);
    // Colour of the segments that are on.
    QColor litColor() const { return m_lit; }
    // Faint colour of the segments that are off, as a real LCD shows them.
    QColor unlitColor() const { return m_unlit; }
    // The glass behind the segments (backlight on or off).
    QColor backColor() const { return m_back; }

    void setLitColor(const QColor& c);
    void setUnlitColor(const QColor& c);
    void setBackColor(const QColor& c);
    // Draws the display into any rectangle; paintEvent uses it, and so can a printout.
    void drawDisplay(QPainter& painter, const QRectF& rect) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void setText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString m_text;
    QString m_spoken;
    QColor m_lit;
    QColor m_unlit;
    QColor m_back;
};

} // namespace kivo::ui
