#include "game/StoredMainForm.h"

#include "game/EmbeddedData.h"

// The packed form (built from assets/form by tools/formpack) is placed in the program's
// read-only data as it is; VK_STORED_FORM_PATH names the packed file.
#if defined(__wasm__)
#include "StoredMainFormSize.h"
#else
#define VK_STORED_FORM_SIZE 0
#define VK_STORED_FORM_SIZE_TEXT ""
#endif

VK_EMBED_FILE(vk_stored_form_begin, VK_STORED_FORM_PATH, VK_STORED_FORM_SIZE_TEXT);

const TStoredForm& StoredMainForm() {
    static const TStoredForm form =
        ReadStoredForm(vk_stored_form_begin, VK_EMBEDDED_SIZE(vk_stored_form_begin, VK_STORED_FORM_SIZE));
    return form;
}
