#pragma once
// Named display elements (labels, LEDs, keys, menus) the UI binds to; the logic only sets them.

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kivo::platform {

struct Element {
    bool visible = true;
    std::string caption;
    bool enabled = true;
    double value = 0;
    bool checked = false;
    unsigned color = 0; // 0xRRGGBB back colour where an element has one
};

class DisplayModel {
public:
    using Listener = std::function<void(const std::string& name, const Element&)>;

    // Element names are the control names, with an array index in brackets: "lblMBmode(3)";
    // each is declared in platform/Elements.h. Setting an undeclared one is a programming
    // error, asserted in debug builds. Get of an absent element gives the defaults.
    const Element& Get(const std::string& name) const;
    bool Has(const std::string& name) const { return m_elements.count(name) != 0; }

    void SetVisible(const std::string& name, bool on);
    void SetCaption(const std::string& name, const std::string& text);
    void SetEnabled(const std::string& name, bool on);
    void SetValue(const std::string& name, double v);
    void SetChecked(const std::string& name, bool on);
    void SetColor(const std::string& name, unsigned rgb);

    // Listeners hear of an element only when one of its properties really changes.
    void Subscribe(Listener l) { m_listeners.push_back(std::move(l)); }
    const std::map<std::string, Element>& All() const { return m_elements; }

    static std::string Indexed(const std::string& name, int index);

private:
    template <class F> void Change(const std::string& name, F&& apply);
    std::map<std::string, Element> m_elements;
    std::vector<Listener> m_listeners;
};

} // namespace kivo::platform
