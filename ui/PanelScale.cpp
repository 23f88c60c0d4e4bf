#include "ui/PanelScale.h"

#include <QLayout>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace kivo::ui {

namespace {

int Scaled(int v, qreal k) { return std::max(1, int(std::lround(v * k))); }
int ScaledGap(int v, qreal k) { return int(std::lround(v * k)); }

} // namespace

PanelScale::PanelScale(QWidget* root)
{
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const QSize min = w->minimumSize();
        const bool fixedHeight = w->sizePolicy().verticalPolicy() == QSizePolicy::Fixed;
        const int height = fixedHeight ? std::max(w->sizeHint().height(), min.height()) : 0;
        m_widgets.push_back({w, min.isNull() ? QSize() : min, height, w->font()});
    }
    for (QLayout* l : root->findChildren<QLayout*>())
        m_layouts.push_back({l, l->contentsMargins(), l->spacing()});
}

void PanelScale::Apply(qreal k, const QString& family)
{
    for (const auto& s : m_widgets) {
        if (s.minimum.isValid())
            s.widget->setMinimumSize(Scaled(s.minimum.width(), k), Scaled(s.minimum.height(), k));
        if (s.fixedHeight > 0)
            s.widget->setFixedHeight(Scaled(s.fixedHeight, k));
        QFont f = s.font;
        f.setFamily(family);
        if (f.pointSizeF() > 0)
            f.setPointSizeF(f.pointSizeF() * k);
        else if (f.pixelSize() > 0)
            f.setPixelSize(Scaled(f.pixelSize(), k));
        s.widget->setFont(f);
    }
    for (const auto& l : m_layouts) {
        const QMargins& m = l.margins;
        l.layout->setContentsMargins(ScaledGap(m.left(), k), ScaledGap(m.top(), k), ScaledGap(m.right(), k),
                                     ScaledGap(m.bottom(), k));
        if (l.spacing >= 0)
            l.layout->setSpacing(ScaledGap(l.spacing, k));
    }
}

} // namespace kivo::ui
