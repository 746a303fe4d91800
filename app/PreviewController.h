#pragma once
// Runs the program as a viewer of one skin node: the node named by
// $QUILLMO_FORM, shown as a full form of the chosen skin, so that every skin
// element can be seen, tapped and scripted before the program's own screens
// take over. It loads the language and the skin as the program does: the
// registry's "Skin", then "default", then every other skin ("splash" never);
// a node the chosen skin lacks is looked for in the other skins.
#include <memory>
#include <string>

#include "app/AppListener.h"
#include "skin/Properties.h"

class Application;
class FormPreview;

class PreviewController : public AppListener {
public:
    // Throws NodeNotFoundInSkin when no skin has the node, and whatever the
    // form's binding throws.
    PreviewController(Application& app, std::u16string node);
    ~PreviewController() override;

    void on_other_instance_started(const std::u16string& command_line) override;
    void on_resolution_changed() override;

private:
    Application& app_;
    Properties properties_;
    std::unique_ptr<FormPreview> form_;
};
