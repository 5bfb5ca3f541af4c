#include "game/LanguagePictures.h"

#include "display/DXImageList.h"
#include "game/EmbeddedData.h"
#include "game/MainForm.h"
#include "platform/files/FormStream.h"

#if defined(VK_LANGUAGE_PICTURES_FILE)
#include "platform/files/WholeFile.h"
#else
#if defined(__wasm__)
#include "LanguagePicturesSize.h"
#else
#define VK_LANGUAGE_PICTURES_SIZE 0
#define VK_LANGUAGE_PICTURES_SIZE_TEXT ""
#endif

VK_EMBED_FILE(vk_language_pictures_begin, VK_LANGUAGE_PICTURES_PATH, VK_LANGUAGE_PICTURES_SIZE_TEXT);
#endif

namespace {

const TStoredValue* Property(const TStoredProperties& properties, const std::string& name, TStoredValue::Kind kind) {
    for (const TStoredProperty& p : properties) {
        if (p.Name == name && p.Value.Type == kind) {
            return &p.Value;
        }
    }
    return nullptr;
}

// The component of `language`, else of the language without its region or codeset.
const TStoredComponent* PicturesOf(const TStoredForm& pictures, const std::string& language) {
    const std::string bare = language.substr(0, language.find_first_of("_.@"));
    for (const std::string& name : {language, bare}) {
        for (const TStoredComponent& c : pictures.Components) {
            if (!name.empty() && c.Name == name) {
                return &c;
            }
        }
    }
    return nullptr;
}

void UsePicture(TForm1& form, const std::string& where, const TStoredProperties& item) {
    using Kind = TStoredValue::Kind;
    const TStoredValue* list = Property(item, "List", Kind::Identifier);
    const TStoredValue* index = Property(item, "Index", Kind::Integer);
    const TStoredValue* data = Property(item, "Picture.Data", Kind::Binary);
    auto* images = list ? dynamic_cast<TCustomDXImageList*>(form.FindComponent(list->Text)) : nullptr;
    if (!images || !index || !data || index->Integer < 0 || index->Integer >= images->Items().Count()) {
        throw EReadError("Error reading " + where + ": Invalid property value");
    }
    TPicture picture;
    picture.LoadFromStoredData(data->Bytes.data(), data->Bytes.size());
    images->Items().ItemAt(static_cast<int32_t>(index->Integer)).SetPicture(picture);
}

} // namespace

#if defined(VK_LANGUAGE_PICTURES_FILE)
// The page's program carries none of these pictures: the page fetches their file only for a
// visitor whose language is not the game's own and puts it in the program's file system, so that
// the others never download it. Without the file the stored pictures stay.
const TStoredForm& LanguagePictures() {
    static const TStoredForm pictures = [] {
        std::string error;
        const std::optional<std::string> bytes = platform::ReadWholeFile(VK_LANGUAGE_PICTURES_FILE, 64u << 20, error);
        if (!bytes) {
            return TStoredForm{};
        }
        return ReadStoredForm(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size());
    }();
    return pictures;
}
#else
const TStoredForm& LanguagePictures() {
    static const TStoredForm pictures = ReadStoredForm(
        vk_language_pictures_begin, VK_EMBEDDED_SIZE(vk_language_pictures_begin, VK_LANGUAGE_PICTURES_SIZE));
    return pictures;
}
#endif

void UseLanguagePictures(TForm1& form, const std::string& language, const TStoredForm& pictures) {
    const TStoredComponent* own = PicturesOf(pictures, language);
    if (!own) {
        return;
    }
    const TStoredValue* items = Property(own->Properties, "Items", TStoredValue::Kind::Collection);
    if (!items) {
        return;
    }
    for (std::size_t i = 0; i < items->Items.size(); ++i) {
        UsePicture(form, own->Name + ".Items[" + std::to_string(i) + "]", items->Items[i]);
    }
}
