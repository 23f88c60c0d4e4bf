#include "ui/ElementBinding.h"

#include "ui/Indicator.h"
#include "ui/Knob.h"
#include "ui/LedDisplay.h"
#include "ui/MeterGauge.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <QString>

namespace kivo::ui {

using platform::Element;

namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }

// A widget deleted before the model stops listening, without unbinding.
template <class W, class F> ElementBinding::Apply Guarded(W* widget, F f)
{
    return [w = QPointer<W>(widget), f](const Element& e) {
        if (w)
            f(w.data(), e);
    };
}

void ShowAndEnable(QWidget* w, const Element& e)
{
    w->setEnabled(e.enabled);
    w->setVisible(e.visible);
}

} // namespace

ElementBinding::ElementBinding(platform::DisplayModel& model) : m_model(model), m_table(std::make_shared<Table>())
{
    std::weak_ptr<Table> weak = m_table;
    m_model.Subscribe([weak](const std::string& name, const Element& e) {
        auto table = weak.lock();
        if (!table)
            return;
        auto it = table->byName.find(name);
        if (it == table->byName.end())
            return;
        // A handler may bind more; work on a copy so the vector can grow.
        const std::vector<Apply> handlers = it->second;
        for (const auto& apply : handlers)
            apply(e);
    });
}

ElementBinding::~ElementBinding() = default;

QColor ElementBinding::ToColor(unsigned rgb) { return QColor::fromRgb(QRgb(0xFF000000u | (rgb & 0xFFFFFFu))); }

void ElementBinding::Bind(const std::string& name, Apply apply)
{
    // An element the model has never heard of leaves the widget as built.
    if (m_model.Has(name))
        apply(m_model.Get(name));
    m_table->byName[name].push_back(std::move(apply));
}

std::vector<std::string> ElementBinding::BoundNames() const
{
    std::vector<std::string> names;
    names.reserve(m_table->byName.size());
    for (const auto& entry : m_table->byName)
        names.push_back(entry.first);
    return names;
}

void ElementBinding::BindWidget(const std::string& name, QWidget* widget)
{
    Bind(name, Guarded(widget, [](QWidget* w, const Element& e) { ShowAndEnable(w, e); }));
}

void ElementBinding::BindLabel(const std::string& name, QLabel* label)
{
    Bind(name, Guarded(label, [](QLabel* w, const Element& e) {
             w->setText(Text(e.caption));
             ShowAndEnable(w, e);
         }));
}

void ElementBinding::BindButton(const std::string& name, QAbstractButton* button)
{
    Bind(name, Guarded(button, [](QAbstractButton* w, const Element& e) {
             w->setText(Text(e.caption));
             if (w->isCheckable())
                 w->setChecked(e.checked);
             ShowAndEnable(w, e);
         }));
}

void ElementBinding::BindLed(const std::string& name, LedDisplay* display)
{
    Bind(name, Guarded(display, [](LedDisplay* w, const Element& e) {
             w->setText(Text(e.caption));
             if (HasColor(e))
                 w->setBackColor(ToColor(e.color));
             ShowAndEnable(w, e);
         }));
}

void ElementBinding::BindIndicator(const std::string& name, Indicator* indicator)
{
    Bind(name, Guarded(indicator, [](Indicator* w, const Element& e) {
             w->setOn(e.value != 0);
             if (!e.caption.empty())
                 w->setText(Text(e.caption));
             ShowAndEnable(w, e);
         }));
}

void ElementBinding::BindMeter(const std::string& name, MeterGauge* meter, const std::string& startName)
{
    Bind(name, Guarded(meter, [](MeterGauge* w, const Element& e) {
             if (HasColor(e))
                 w->setBackColor(ToColor(e.color));
             ShowAndEnable(w, e);
         }));
    for (int i = 0; i < MeterGauge::kIndicators; ++i) {
        Bind(platform::DisplayModel::Indexed(name, i), Guarded(meter, [i](MeterGauge* w, const Element& e) {
                 w->setValue(i, e.value);
                 w->setIndicatorVisible(i, e.visible);
             }));
        Bind(platform::DisplayModel::Indexed(startName, i),
             Guarded(meter, [i](MeterGauge* w, const Element& e) { w->setStart(i, e.value); }));
    }
}

void ElementBinding::BindKnob(const std::string& name, Knob* knob)
{
    Bind(name, Guarded(knob, [](Knob* w, const Element& e) { ShowAndEnable(w, e); }));
}

void ElementBinding::BindColor(const std::string& name, std::function<void(const QColor&)> apply)
{
    Bind(name, [apply = std::move(apply)](const Element& e) {
        if (HasColor(e))
            apply(ToColor(e.color));
    });
}

} // namespace kivo::ui
