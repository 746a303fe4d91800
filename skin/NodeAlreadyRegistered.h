#pragma once
// Thrown by the skin engine when a kind name is registered a second time.
// Carries names only; what() is the class name.
#include <exception>
#include <string>

struct NodeAlreadyRegistered : std::exception {
    explicit NodeAlreadyRegistered(std::u16string name) : kind{std::move(name)} {}
    const char* what() const noexcept override { return "NodeAlreadyRegistered"; }

    std::u16string kind;
};
