#pragma once
// One row of the templates list: the skin node "TemplateItem", whose text
// child "text" shows the template.
#include <memory>
#include <string_view>

class Element;
class Properties;

class TemplateItem {
public:
    static constexpr char16_t kNode[] = u"TemplateItem";

    // The row for a template, or null (logged) when the skin has no such
    // node. A node without "text" gives a row that shows nothing.
    static std::unique_ptr<Element> create(Properties& properties, std::u16string_view text);
};
