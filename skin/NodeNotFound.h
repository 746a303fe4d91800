#pragma once
// Thrown by a form that finds no element with an id it needs below its root.
// Carries the id of the element searched in and the id looked for; what() is
// the class name.
#include <exception>
#include <string>

struct NodeNotFound : std::exception {
    NodeNotFound(std::u16string in, std::u16string wanted)
        : in_id{std::move(in)}, wanted_id{std::move(wanted)} {}
    const char* what() const noexcept override { return "NodeNotFound"; }

    std::u16string in_id;
    std::u16string wanted_id;
};
