#include "platform/files/FormStream.h"

#include "platform/files/ResourceLimits.h"

#include <cstring>

namespace {

constexpr char kSignature[8] = {'V', 'K', 'F', 'O', 'R', 'M', '1', '\0'};
// No stored form of this program comes near these; larger counts mean a damaged block.
constexpr uint32_t kMaxCount = platform::kMaxStoredCount;
constexpr int kMaxDepth = platform::kMaxStoredDepth;

class Writer {
public:
    void Append(const void* data, std::size_t n) {
        if (n == 0) {
            return;
        }
        const std::size_t at = out.size();
        out.resize(at + n);
        std::memcpy(out.data() + at, data, n);
    }
    void U8(uint8_t v) { out.push_back(v); }
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    }
    void I64(int64_t v) {
        auto u = static_cast<uint64_t>(v);
        for (int i = 0; i < 8; ++i) {
            out.push_back(static_cast<uint8_t>(u >> (8 * i)));
        }
    }
    void Str(const std::string& s) {
        U32(static_cast<uint32_t>(s.size()));
        Append(s.data(), s.size());
    }
    void Properties(const TStoredProperties& props) {
        U32(static_cast<uint32_t>(props.size()));
        for (const auto& [name, value] : props) {
            Str(name);
            Value(value);
        }
    }
    void Value(const TStoredValue& v) {
        U8(static_cast<uint8_t>(v.Type));
        switch (v.Type) {
        case TStoredValue::Kind::Integer:
            I64(v.Integer);
            break;
        case TStoredValue::Kind::Boolean:
            U8(v.Boolean ? 1 : 0);
            break;
        case TStoredValue::Kind::String:
        case TStoredValue::Kind::Identifier:
            Str(v.Text);
            break;
        case TStoredValue::Kind::Set:
            U32(static_cast<uint32_t>(v.Members.size()));
            for (const auto& m : v.Members) {
                Str(m);
            }
            break;
        case TStoredValue::Kind::Binary:
            U32(static_cast<uint32_t>(v.Bytes.size()));
            Append(v.Bytes.data(), v.Bytes.size());
            break;
        case TStoredValue::Kind::Collection:
            U32(static_cast<uint32_t>(v.Items.size()));
            for (const auto& item : v.Items) {
                Properties(item);
            }
            break;
        }
    }
    void Component(const TStoredComponent& c) {
        Str(c.ClassName);
        Str(c.Name);
        Properties(c.Properties);
    }
    std::vector<uint8_t> out;
};

class Reader {
public:
    Reader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    const uint8_t* Take(std::size_t n) {
        if (n > size_ - at_) {
            Fail();
        }
        const uint8_t* p = data_ + at_;
        at_ += n;
        return p;
    }
    uint8_t U8() { return *Take(1); }
    uint32_t U32() {
        const uint8_t* p = Take(4);
        return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
    }
    uint32_t Count() {
        uint32_t n = U32();
        if (n > kMaxCount) {
            Fail();
        }
        return n;
    }
    int64_t I64() {
        const uint8_t* p = Take(8);
        uint64_t v = 0;
        for (int i = 7; i >= 0; --i) {
            v = (v << 8) | p[i];
        }
        return static_cast<int64_t>(v);
    }
    std::string Str() {
        uint32_t n = U32();
        const uint8_t* p = Take(n);
        return std::string(reinterpret_cast<const char*>(p), n);
    }
    TStoredProperties Properties(int depth) {
        if (depth > kMaxDepth) {
            Fail();
        }
        TStoredProperties props;
        uint32_t n = Count();
        for (uint32_t i = 0; i < n; ++i) {
            std::string name = Str();
            props.emplace_back(std::move(name), Value(depth));
        }
        return props;
    }
    TStoredValue Value(int depth) {
        TStoredValue v;
        v.Type = static_cast<TStoredValue::Kind>(U8());
        switch (v.Type) {
        case TStoredValue::Kind::Integer:
            v.Integer = I64();
            break;
        case TStoredValue::Kind::Boolean:
            v.Boolean = U8() != 0;
            break;
        case TStoredValue::Kind::String:
        case TStoredValue::Kind::Identifier:
            v.Text = Str();
            break;
        case TStoredValue::Kind::Set: {
            uint32_t n = Count();
            for (uint32_t i = 0; i < n; ++i) {
                v.Members.push_back(Str());
            }
            break;
        }
        case TStoredValue::Kind::Binary: {
            uint32_t n = U32();
            const uint8_t* p = Take(n);
            v.Bytes.assign(p, p + n);
            break;
        }
        case TStoredValue::Kind::Collection: {
            uint32_t n = Count();
            for (uint32_t i = 0; i < n; ++i) {
                v.Items.push_back(Properties(depth + 1));
            }
            break;
        }
        default:
            Fail();
        }
        return v;
    }
    TStoredComponent Component() {
        TStoredComponent c;
        c.ClassName = Str();
        c.Name = Str();
        c.Properties = Properties(0);
        return c;
    }
    bool AtEnd() const { return at_ == size_; }

    [[noreturn]] static void Fail() { throw EReadError("Stream read error"); }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

} // namespace

TStoredValue TStoredValue::Int(int64_t v) {
    TStoredValue s;
    s.Type = Kind::Integer;
    s.Integer = v;
    return s;
}
TStoredValue TStoredValue::Bool(bool v) {
    TStoredValue s;
    s.Type = Kind::Boolean;
    s.Boolean = v;
    return s;
}
TStoredValue TStoredValue::Str(std::string v) {
    TStoredValue s;
    s.Type = Kind::String;
    s.Text = std::move(v);
    return s;
}
TStoredValue TStoredValue::Ident(std::string v) {
    TStoredValue s;
    s.Type = Kind::Identifier;
    s.Text = std::move(v);
    return s;
}
TStoredValue TStoredValue::SetOf(std::vector<std::string> v) {
    TStoredValue s;
    s.Type = Kind::Set;
    s.Members = std::move(v);
    return s;
}
TStoredValue TStoredValue::Data(std::vector<uint8_t> v) {
    TStoredValue s;
    s.Type = Kind::Binary;
    s.Bytes = std::move(v);
    return s;
}
TStoredValue TStoredValue::List(std::vector<TStoredProperties> v) {
    TStoredValue s;
    s.Type = Kind::Collection;
    s.Items = std::move(v);
    return s;
}

std::vector<uint8_t> WriteStoredForm(const TStoredForm& form) {
    Writer w;
    w.Append(kSignature, sizeof kSignature);
    w.Component(form.Form);
    w.U32(static_cast<uint32_t>(form.Components.size()));
    for (const auto& c : form.Components) {
        w.Component(c);
    }
    return std::move(w.out);
}

TStoredForm ReadStoredForm(const uint8_t* data, std::size_t size) {
    Reader r(data, size);
    if (std::memcmp(r.Take(sizeof kSignature), kSignature, sizeof kSignature) != 0) {
        Reader::Fail();
    }
    TStoredForm form;
    form.Form = r.Component();
    uint32_t n = r.Count();
    for (uint32_t i = 0; i < n; ++i) {
        form.Components.push_back(r.Component());
    }
    if (!r.AtEnd()) {
        Reader::Fail();
    }
    return form;
}
