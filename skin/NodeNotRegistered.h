#pragma once
// Thrown by the skin engine when an element is to be created for a "type" that
// no kind is registered under (the empty type included).
// Carries names only; what() is the class name.
#include <exception>
#include <string>

struct NodeNotRegistered : std::exception {
    explicit NodeNotRegistered(std::u16string name) : kind{std::move(name)} {}
    const char* what() const noexcept override { return "NodeNotRegistered"; }

    std::u16string kind;
};
