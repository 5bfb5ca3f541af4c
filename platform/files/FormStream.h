#pragma once

#include "platform/base/Exception.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The stored state of a form: the form's own properties and, in order, each component's
// class, name and properties. Properties are kept by name, with values of a few kinds;
// a collection holds items that are lists of properties themselves.
// A property is a named value and a value may hold lists of properties, so the property is
// its own class (declared ahead): a pair would need its value type complete too early.
struct TStoredProperty;
using TStoredProperties = std::vector<TStoredProperty>;

struct TStoredValue {
    enum class Kind : uint8_t { Integer = 1, Boolean, String, Identifier, Set, Binary, Collection };
    Kind Type = Kind::Integer;
    int64_t Integer = 0;
    bool Boolean = false;
    std::string Text; // String and Identifier
    std::vector<std::string> Members;
    std::vector<uint8_t> Bytes;
    std::vector<TStoredProperties> Items;

    static TStoredValue Int(int64_t v);
    static TStoredValue Bool(bool v);
    static TStoredValue Str(std::string v);
    static TStoredValue Ident(std::string v);
    static TStoredValue SetOf(std::vector<std::string> v);
    static TStoredValue Data(std::vector<uint8_t> v);
    static TStoredValue List(std::vector<TStoredProperties> v);
};

struct TStoredProperty {
    TStoredProperty(std::string name, TStoredValue value) : Name(std::move(name)), Value(std::move(value)) {}
    std::string Name;
    TStoredValue Value;
};

struct TStoredComponent {
    std::string ClassName;
    std::string Name;
    TStoredProperties Properties;
};

struct TStoredForm {
    TStoredComponent Form;
    std::vector<TStoredComponent> Components;
};

// A stored form that cannot be read: truncated, or not a stored form at all.
class EReadError : public Exception {
public:
    using Exception::Exception;
};

std::vector<uint8_t> WriteStoredForm(const TStoredForm& form);
// Reads what WriteStoredForm wrote; raises EReadError "Stream read error" rather than read past the end.
TStoredForm ReadStoredForm(const uint8_t* data, std::size_t size);
