#pragma once
// A small front-panel annunciator: a round LED with a caption, or a lit label such as "ON AIR".

#include <QColor>
#include <QLabel>
#include <QString>
#include <QWidget>

namespace kivo::ui {

class Indicator : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool on READ isOn WRITE setOn)
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(QColor onColor READ onColor WRITE setOnColor)
    Q_PROPERTY(QColor offColor READ offColor WRITE setOffColor)
    Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)

public:
    enum class Style { Led, Label };

    explicit Indicator(const QString& text = {}, Style style = Style::Led, QWidget* parent = nullptr);

    bool isOn() const { return m_on; }
    QString text() const { return m_text; }
    Style style() const { return m_style; }
    // The lamp (Led) or the label's lit face (Label).
    QColor onColor() const { return m_onColor; }
    QColor offColor() const { return m_offColor; }
    // What a Label sits on when transparent is wrong, e.g. the lit LCD; invalid = transparent.
    QColor backColor() const { return m_back; }

    void setText(const QString& text);
    void setStyle(Style style);
    void setOnColor(const QColor& c);
    void setOffColor(const QColor& c);
    void setBackColor(const QColor& c);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void setOn(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    Style m_style;
    bool m_on = false;
    QColor m_onColor;
    QColor m_offColor;
    QColor m_back;
};

// A label of the display panel, lit by being shown (a mode, a tone or shift mark, ON AIR): a
// screen reader finds it checked while shown and invisible while dark.
class DisplayLabel : public QLabel {
    Q_OBJECT
public:
    explicit DisplayLabel(const QString& text = {}, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};

} // namespace kivo::ui
