#include "forms/chat/FormLink.h"

FormLink::FormLink(Properties& properties, DialogListener& listener)
    : FormDialog(properties, listener, u"FormLink") {
    FormLink::load();
}

void FormLink::load() {
    FormDialog::load();
    bind_required_button(install_, u"btnInstall", *this);
    bind_required_button(about_, u"btnAbout", *this);
}
