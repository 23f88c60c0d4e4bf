#include "platform/DisplayModel.h"

#include "platform/Elements.h"

#include <cassert>
#include <utility>

namespace kivo::platform {

const Element& DisplayModel::Get(const std::string& name) const
{
    static const Element absent{};
    auto it = m_elements.find(name);
    return it == m_elements.end() ? absent : it->second;
}

template <class F> void DisplayModel::Change(const std::string& name, F&& apply)
{
    // A name missing from the declarations is a typo that would show nowhere.
    assert(el::IsDeclared(name) && "display element not declared in platform/Elements.h");
    auto [it, inserted] = m_elements.try_emplace(name);
    if (apply(it->second) || inserted)
        for (auto& l : m_listeners)
            l(name, it->second);
}

void DisplayModel::SetVisible(const std::string& name, bool on)
{
    Change(name, [on](Element& e) { return std::exchange(e.visible, on) != on; });
}

void DisplayModel::SetCaption(const std::string& name, const std::string& text)
{
    Change(name, [&text](Element& e) {
        if (e.caption == text)
            return false;
        e.caption = text;
        return true;
    });
}

void DisplayModel::SetEnabled(const std::string& name, bool on)
{
    Change(name, [on](Element& e) { return std::exchange(e.enabled, on) != on; });
}

void DisplayModel::SetValue(const std::string& name, double v)
{
    Change(name, [v](Element& e) { return std::exchange(e.value, v) != v; });
}

void DisplayModel::SetChecked(const std::string& name, bool on)
{
    Change(name, [on](Element& e) { return std::exchange(e.checked, on) != on; });
}

void DisplayModel::SetColor(const std::string& name, unsigned rgb)
{
    Change(name, [rgb](Element& e) { return std::exchange(e.color, rgb) != rgb; });
}

std::string DisplayModel::Indexed(const std::string& name, int index)
{
    return name + "(" + std::to_string(index) + ")";
}

} // namespace kivo::platform
