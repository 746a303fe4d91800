#pragma once
// The small dialog that offers the companion contacts application when it is
// not installed: its "text" says so, "btnInstall" opens the page to get it and
// "btnAbout" the page about it. Both, like the dialog's own "btnOk" and
// "btnCancel", close the dialog first and then tell its listener which button
// it was.
#include "forms/FormDialog.h"

class FormLink : public FormDialog {
public:
    // Binds to "FormLink". Throws NodeNotFoundInSkin when the skin has no such
    // node and NodeNotFound when it lacks "btnInstall" or "btnAbout".
    FormLink(Properties& properties, DialogListener& listener);

    ButtonElement* install_button() const { return install_; }
    ButtonElement* about_button() const { return about_; }

protected:
    void load() override;

private:
    ButtonElement* install_ = nullptr;
    ButtonElement* about_ = nullptr;
};
