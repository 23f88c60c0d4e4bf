#pragma once
// Ties widgets to display-model elements by name, so each widget shows what the model holds.

#include "platform/DisplayModel.h"
#include "platform/Elements.h"

#include <QColor>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QAbstractButton;
class QLabel;
class QWidget;

namespace kivo::ui {

class Indicator;
class Knob;
class LedDisplay;
class MeterGauge;

class ElementBinding {
public:
    using Apply = std::function<void(const platform::Element&)>;

    // Subscribes to the model once; the listener goes idle when the binding is destroyed.
    explicit ElementBinding(platform::DisplayModel& model);
    ~ElementBinding();
    ElementBinding(const ElementBinding&) = delete;
    ElementBinding& operator=(const ElementBinding&) = delete;

    // Calls `apply` on every change of the element, and now if the model already has it.
    void Bind(const std::string& name, Apply apply);

    // visible and enabled.
    void BindWidget(const std::string& name, QWidget* widget);
    // visible, enabled, caption.
    void BindLabel(const std::string& name, QLabel* label);
    // visible, enabled, caption, checked (for checkable buttons).
    void BindButton(const std::string& name, QAbstractButton* button);
    // visible, enabled, caption as the shown text, colour as the glass colour.
    void BindLed(const std::string& name, LedDisplay* display);
    // visible, enabled, value non-zero as lit; a non-empty caption as its text.
    void BindIndicator(const std::string& name, Indicator* indicator);
    // The gauge: `name` for visible, enabled and back colour; name(i) for each indicator's value
    // and visibility; startName(i) for each indicator's start.
    void BindMeter(const std::string& name, MeterGauge* meter, const std::string& startName = el::LMeterStart.name);
    // visible and enabled; the knob's detents are input, not display.
    void BindKnob(const std::string& name, Knob* knob);
    // Just the back colour, for a panel whose colour follows the model (e.g. "DisplayPanel").
    void BindColor(const std::string& name, std::function<void(const QColor&)> apply);

    // The model the widgets show.
    const platform::DisplayModel& Model() const { return m_model; }

    // Every element name something is bound to.
    std::vector<std::string> BoundNames() const;

    // 0 is an element's colour before the logic sets one: keep the widget's own then.
    static bool HasColor(const platform::Element& e) { return e.color != 0; }
    static QColor ToColor(unsigned rgb);

private:
    struct Table {
        std::unordered_map<std::string, std::vector<Apply>> byName;
    };
    platform::DisplayModel& m_model;
    // Shared with the model's listener, which outlives us; it does nothing once we are gone.
    std::shared_ptr<Table> m_table;
};

} // namespace kivo::ui
