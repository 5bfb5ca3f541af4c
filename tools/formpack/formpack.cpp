// Packs the main form's text source (component settings and picture files) into the
// stored-form container that the game embeds.
//
//   formpack SOURCE OUTPUT
//
// Source syntax, one property per line ('#' starts a comment line):
//   form NAME CLASS                  the form's own record
//   component NAME CLASS             a component record
//   item                             a new item of the component's "Items" collection
//   Name = VALUE                     a property of the form, component or current item
// Values: 12, -5, true, false, "text", identifier, {member member}, zeros(N),
// ints32(a b c ...) (little-endian 32-bit values), file("path") (a file's bytes, relative
// to the source).
#include "platform/base/ControlEscape.h"
#include "platform/base/FillText.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/FormStream.h"
#include "platform/files/RegularFile.h"
#include "platform/files/ResourceLimits.h"
#include "tools/ToolLanguage.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Only regular files are read: a FIFO or a device named by mistake is refused, not waited on.
std::vector<uint8_t> ReadFile(const std::string& path) {
    std::optional<std::vector<uint8_t>> bytes = platform::RegularFile::ReadAll(path, platform::kMaxToolFileBytes);
    if (!bytes) {
        throw std::runtime_error(Fill(Tr("cannot read {}"), {platform::EscapeControls(path)}));
    }
    return std::move(*bytes);
}

std::string Trim(const std::string& s) {
    auto b = s.find_first_not_of(" \t\r");
    auto e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::vector<std::string> Words(const std::string& s) {
    std::istringstream in(s);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

std::string Inside(const std::string& value, const std::string& head) {
    if (value.size() < head.size() + 2 || value.back() != ')') {
        throw std::runtime_error(Fill(Tr("bad value: {}"), {platform::EscapeControls(value)}));
    }
    return value.substr(head.size() + 1, value.size() - head.size() - 2);
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

TStoredValue ParseValue(const std::string& value, const std::string& folder) {
    if (value == "true" || value == "false") {
        return TStoredValue::Bool(value == "true");
    }
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return TStoredValue::Str(value.substr(1, value.size() - 2));
    }
    if (value.front() == '{' && value.back() == '}') {
        return TStoredValue::SetOf(Words(value.substr(1, value.size() - 2)));
    }
    if (value.rfind("zeros(", 0) == 0) {
        return TStoredValue::Data(std::vector<uint8_t>(std::stoul(Inside(value, "zeros")), 0));
    }
    if (value.rfind("ints32(", 0) == 0) {
        std::vector<uint8_t> bytes;
        for (const auto& w : Words(Inside(value, "ints32"))) {
            PutU32(bytes, static_cast<uint32_t>(std::stol(w)));
        }
        return TStoredValue::Data(bytes);
    }
    if (value.rfind("file(", 0) == 0) {
        std::string path = Inside(value, "file");
        if (path.size() >= 2 && path.front() == '"') {
            path = path.substr(1, path.size() - 2);
        }
        return TStoredValue::Data(ReadFile(folder + "/" + path));
    }
    if (value.front() == '-' || std::isdigit(static_cast<unsigned char>(value.front()))) {
        return TStoredValue::Int(std::stoll(value));
    }
    return TStoredValue::Ident(value);
}

TStoredForm Parse(std::istream& in, const std::string& folder) {
    TStoredForm form;
    TStoredComponent* current = nullptr;
    TStoredProperties* item = nullptr;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::string text = Trim(line);
        if (text.empty() || text[0] == '#') {
            continue;
        }
        try {
            auto words = Words(text);
            if (words[0] == "form" && words.size() == 3) {
                form.Form = TStoredComponent{words[2], words[1], {}};
                current = &form.Form;
                item = nullptr;
            } else if (words[0] == "component" && words.size() == 3) {
                form.Components.push_back(TStoredComponent{words[2], words[1], {}});
                current = &form.Components.back();
                item = nullptr;
            } else if (words[0] == "item" && words.size() == 1 && current) {
                auto& props = current->Properties;
                if (props.empty() || props.back().Name != "Items") {
                    props.emplace_back("Items", TStoredValue::List({}));
                }
                props.back().Value.Items.emplace_back();
                item = &props.back().Value.Items.back();
            } else if (auto eq = text.find('='); eq != std::string::npos && current) {
                std::string name = Trim(text.substr(0, eq));
                TStoredValue value = ParseValue(Trim(text.substr(eq + 1)), folder);
                (item ? *item : current->Properties).emplace_back(name, std::move(value));
            } else {
                throw std::runtime_error(Tr("cannot read this line"));
            }
        } catch (const std::exception& e) {
            throw std::runtime_error(Fill(Tr("line {}: {}"), {std::to_string(number), e.what()}));
        }
    }
    return form;
}

constexpr const char* kUsage = N_("usage: formpack SOURCE OUTPUT\n");

} // namespace

int main(int argc, char** argv) {
    UseToolLanguage();
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::cout << Tr(kUsage) << Tr("Packs a form source and its pictures into a stored form.\n");
        return 0;
    }
    if (argc != 3) {
        std::cerr << Tr(kUsage);
        return 2;
    }
    const char* sourcePath = argv[1];
    const char* outputPath = argv[2];
    try {
        const std::vector<uint8_t> text = ReadFile(sourcePath);
        std::istringstream in(std::string(text.begin(), text.end()));
        std::string source = sourcePath;
        std::string folder = source.find('/') == std::string::npos ? "." : source.substr(0, source.rfind('/'));
        const std::vector<uint8_t> bytes = WriteStoredForm(Parse(in, folder));
        // Through a temporary name: a build stopped half-way leaves no half-written form.
        const std::string error = platform::WriteFileAtomically(
            outputPath, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        if (!error.empty()) {
            std::cerr << "formpack: " << error << '\n';
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << platform::EscapeControls(sourcePath) << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
