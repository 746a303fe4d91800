#pragma once
// Thrown by the skin engine when a form (or the splash) finds no node of its
// name in the skin when it builds or rebuilds itself.
// Carries names only; what() is the class name.
#include <exception>
#include <string>

struct NodeNotFoundInSkin : std::exception {
    explicit NodeNotFoundInSkin(std::u16string name) : node_name{std::move(name)} {}
    const char* what() const noexcept override { return "NodeNotFoundInSkin"; }

    std::u16string node_name;
};
