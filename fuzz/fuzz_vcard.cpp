// libFuzzer target for the vCard reader: any bytes go through VCardParser as
// one contact file, and every card it hands out is mapped to a contact record
// (decoding quoted-printable, base64, charsets and escapes on the way), the
// way the address book reads a file and an import checks an export. The
// parser and decoder are kept across inputs, as the address book keeps them
// across files, so state left over from one input is exercised by the next.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Utf16.h"
#include "platform/contacts/VCardDecoder.h"
#include "platform/contacts/VCardImport.h"
#include "platform/contacts/VCardMapping.h"
#include "platform/contacts/VCardParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static VCardParser parser;
    static VCardDecoder decoder;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    parser.parse(bytes, [&](const VCard& card) {
        ContactRecord record = contact_from_vcard(card, decoder);
        (void)record.display_name();
        if (const VCardProperty* uid = card.find("UID"))
            (void)file_name_from_uid(utf16::to_utf8(decoder.text(*uid)));
        for (const VCardProperty& property : card.properties) (void)decoder.components(property);
    });
    return 0;
}
