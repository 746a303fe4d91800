#pragma once
// Told when one of a dialog's buttons closed it. The dialog is off the
// FormStack by then; the listener may destroy it.
class ButtonElement;
class FormDialog;

class DialogListener {
public:
    virtual ~DialogListener() = default;
    virtual void dialog_closed(FormDialog& dialog, ButtonElement& button) = 0;
};
