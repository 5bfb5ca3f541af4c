#include "app/web/PageRecordsStore.h"

#include "records/RecordsFile.h"

#include <emscripten.h>
#include <nlohmann/json.hpp>

#include <algorithm>

namespace {
// clang-format off
// The table as the page's script last knew it, and what keeps the browser from keeping records.
EM_JS(int, vk_records_bytes, (int what), {
    return lengthBytesUTF8(what ? Module.vkRecords.error : Module.vkRecords.text) + 1;
});
EM_JS(void, vk_records_read, (int what, char* buffer, int size), {
    stringToUTF8(what ? Module.vkRecords.error : Module.vkRecords.text, buffer, size);
});
EM_JS(void, vk_records_set, (const char* text), { Module.vkRecords.text = UTF8ToString(text); });
EM_JS(void, vk_records_own, (const char* name), { Module.vkRecords.own = UTF8ToString(name); });
EM_JS(void, vk_records_keep, (const char* run, const char* name, const char* demo, int size), {
    Module.vkRecords.keep(UTF8ToString(run), UTF8ToString(name), HEAPU8.slice(demo, demo + size));
});

// The two texts a merge in the browser's transaction works on (0 the table kept, 1 the run) and
// the table it gives back.
EM_JS(int, vk_merge_bytes, (int which), { return lengthBytesUTF8(Module.vkRecordsIn[which]) + 1; });
EM_JS(void, vk_merge_read, (int which, char* buffer, int size), {
    stringToUTF8(Module.vkRecordsIn[which], buffer, size);
});
EM_JS(void, vk_merge_out, (const char* text), { Module.vkRecordsOut = UTF8ToString(text); });
// clang-format on

std::string ScriptText(int (*bytes)(int), void (*read)(int, char*, int), int which) {
    std::string text(static_cast<std::size_t>(bytes(which)), '\0');
    read(which, text.data(), static_cast<int>(text.size()));
    text.resize(text.size() - 1);
    return text;
}

// The table of `text`; none for an empty text, and for a damaged one, with the reason in `why`.
std::vector<RunRecord> TableOf(const std::string& text, std::string& why) {
    std::vector<RunRecord> table;
    if (!text.empty() && !RecordsFile::Parse(text, table, why)) {
        table.clear();
    }
    return table;
}

} // namespace

PageRecordsStore::PageRecordsStore(std::string demoName, std::function<std::string()> demo)
    : demoName_(std::move(demoName)), demo_(std::move(demo)) {
    // The page's own session demo is the program's to write: the script never puts the browser's
    // copy in its place.
    vk_records_own(demoName_.c_str());
}

RecordsUpdate PageRecordsStore::Read() const {
    RecordsUpdate result;
    std::string why;
    result.Table = TableOf(ScriptText(vk_records_bytes, vk_records_read, 0), why);
    if (!why.empty()) {
        result.Warning = "the browser's records are damaged (" + why + "); a new table is started";
    }
    return result;
}

RecordsUpdate PageRecordsStore::Add(const RunRecord& run) const {
    RecordsUpdate result = Read();
    result.Table = Merged(std::move(result.Table), run);
    vk_records_set(RecordsFile::Format(result.Table).c_str());
    if (std::any_of(result.Table.begin(), result.Table.end(), [&](const RunRecord& r) { return r.SameRun(run); })) {
        const std::string demo = demo_ ? demo_() : std::string();
        vk_records_keep(run.Json().dump().c_str(), demoName_.c_str(), demo.data(), static_cast<int>(demo.size()));
    }
    return result;
}

// Called by the page's script inside its transaction: the table kept by the browser
// (Module.vkRecordsIn[0]) with the run (Module.vkRecordsIn[1]) entered, into Module.vkRecordsOut.
// Returns 1 when the kept table was damaged (it was taken for none), else 0.
extern "C" EMSCRIPTEN_KEEPALIVE int vk_records_merge() {
    std::string why;
    std::vector<RunRecord> table = TableOf(ScriptText(vk_merge_bytes, vk_merge_read, 0), why);
    const nlohmann::json run = nlohmann::json::parse(ScriptText(vk_merge_bytes, vk_merge_read, 1), nullptr, false);
    if (const std::optional<RunRecord> record = RunRecord::FromJson(run)) {
        table = RecordsStore::Merged(std::move(table), *record);
    }
    vk_merge_out(RecordsFile::Format(table).c_str());
    return why.empty() ? 0 : 1;
}
