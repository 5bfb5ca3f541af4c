#include "game/StoredMainForm.h"

#include <cstdint>

// The packed form (built from assets/form by tools/formpack) is placed in the program's
// read-only data as it is; VK_STORED_FORM_PATH names the packed file.
__asm__(".section .rodata\n"
        ".balign 16\n"
        "vk_stored_form_begin:\n"
        ".incbin \"" VK_STORED_FORM_PATH "\"\n"
        "vk_stored_form_end:\n"
        ".previous\n");

extern "C" const uint8_t vk_stored_form_begin[];
extern "C" const uint8_t vk_stored_form_end[];

const TStoredForm& StoredMainForm() {
    static const TStoredForm form =
        ReadStoredForm(vk_stored_form_begin, static_cast<std::size_t>(vk_stored_form_end - vk_stored_form_begin));
    return form;
}
