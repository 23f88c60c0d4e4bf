#pragma once
// A front-panel push key: rounded dark rubber key with a light caption.

#include <QAbstractButton>

#include <functional>

namespace kivo::ui {

class PanelKey : public QAbstractButton {
    Q_OBJECT

public:
    explicit PanelKey(const QString& text = {}, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // What a screen reader's press does; a click when not set.
    std::function<void()> accessiblePress;
    // The screen reader pressed the key: nothing while it is disabled.
    void AccessiblePress();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_hover = false;
};

} // namespace kivo::ui
