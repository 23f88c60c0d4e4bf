#pragma once
// Scales a painted panel and everything in it: each widget's minimum size, the height of keys
// and indicators, fonts, and the margins and spacing of the layouts, all taken from the sizes
// the panel was built with. The widgets paint vectors at whatever size they get, so every size
// stays sharp, on high-density screens too.

#include <QFont>
#include <QSize>
#include <QString>

#include <vector>

class QLayout;
class QWidget;

namespace kivo::ui {

class PanelScale {
public:
    // Records the sizes `root` and its children were built with; call once they all exist.
    explicit PanelScale(QWidget* root);

    // Sizes everything `factor` times its built size, with text in the font `family`.
    void Apply(qreal factor, const QString& family);

private:
    struct WidgetSize {
        QWidget* widget;
        QSize minimum;   // empty: none was set
        int fixedHeight; // 0: the height is not fixed
        QFont font;
    };
    struct LayoutSize {
        QLayout* layout;
        QMargins margins;
        int spacing; // negative: the style's
    };
    std::vector<WidgetSize> m_widgets;
    std::vector<LayoutSize> m_layouts;
};

} // namespace kivo::ui
