#include "game/StoredMainForm.h"

#include <cstdint>

// The packed form (built from assets/form by tools/formpack) is placed in the
// program's read-only data as it is; VK_STORED_FORM_PATH names the packed file.
#if defined(__wasm__)
// The wasm assembler wants data in a section of its own and a data symbol with a type and a
// size; the size comes from a header the build writes next to the packed file.
#include "StoredMainFormSize.h"

__asm__(".section .rodata.vk_stored_form,\"\",@\n"
        ".p2align 4\n"
        ".type vk_stored_form_begin,@object\n"
        "vk_stored_form_begin:\n"
        ".incbin \"" VK_STORED_FORM_PATH "\"\n"
        ".size vk_stored_form_begin, " VK_STORED_FORM_SIZE_TEXT "\n");

extern "C" const uint8_t vk_stored_form_begin[];

const TStoredForm& StoredMainForm() {
    static const TStoredForm form = ReadStoredForm(vk_stored_form_begin, VK_STORED_FORM_SIZE);
    return form;
}
#else
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
#endif
