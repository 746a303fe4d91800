#pragma once
// Told after the skin or the language changed, so that a form rebuilds its
// element tree from the new skin. A listener adds itself to the main
// Properties when it is made and removes itself when it goes.
class Properties;

class ReloadListener {
public:
    virtual ~ReloadListener() = default;
    virtual void reload_skin(Properties& properties) = 0;
};
