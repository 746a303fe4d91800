#pragma once
// Told after the skin or the language changed, so that a form rebuilds its
// element tree from the new skin. A listener registers with the main
// Properties when it is made and keeps the Subscription as a member, so the
// registration ends when it goes.
class Properties;

class ReloadListener {
public:
    virtual ~ReloadListener() = default;
    virtual void reload_skin(Properties& properties) = 0;
};
