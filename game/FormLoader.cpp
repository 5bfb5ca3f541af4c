#include "game/FormLoader.h"

#include "display/DXDraw.h"
#include "display/DXImageList.h"
#include "display/DXTimer.h"
#include "game/MainForm.h"
#include "input/DXInput.h"
#include "platform/app/WindowTimer.h"
#include "platform/files/FormStream.h"
#include "sound/DXSound.h"
#include "sprite/DXSpriteEngine.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Kind = TStoredValue::Kind;

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    throw EReadError("Error reading " + where + ": " + what);
}

// Reads one property value as the type its setter needs.
class Value {
public:
    Value(const std::string& where, const TStoredValue& v) : where_(where), v_(v) {}
    // A stored integer that does not fit the property's type is refused, never cut down.
    int32_t Int() const { return static_cast<int32_t>(Ranged(INT32_MIN, INT32_MAX)); }
    uint32_t UInt() const { return static_cast<uint32_t>(Ranged(0, UINT32_MAX)); }
    bool Bool() const { return Expect(Kind::Boolean).Boolean; }
    const std::string& Str() const { return Expect(Kind::String).Text; }
    const std::string& Ident() const { return Expect(Kind::Identifier).Text; }
    const std::vector<std::string>& Set() const { return Expect(Kind::Set).Members; }
    const std::vector<uint8_t>& Bytes() const { return Expect(Kind::Binary).Bytes; }
    const std::vector<TStoredProperties>& Items() const { return Expect(Kind::Collection).Items; }

private:
    int64_t Ranged(int64_t lowest, int64_t highest) const {
        const int64_t v = Expect(Kind::Integer).Integer;
        if (v < lowest || v > highest) {
            Fail(where_, "Invalid property value " + std::to_string(v));
        }
        return v;
    }
    const TStoredValue& Expect(Kind kind) const {
        if (v_.Type != kind) {
            Fail(where_, "Invalid property value");
        }
        return v_;
    }
    std::string where_;
    const TStoredValue& v_;
};

TDXDrawOptions ReadOptions(const Value& v, const std::string& where) {
    static const std::array<const char*, 15> names = {
        "doFullScreen",   "doNoWindowChange", "doAllowReboot", "doWaitVBlank",   "doAllowPalette256",
        "doSystemMemory", "doStretch",        "doCenter",      "doFlip",         "do3D",
        "doDirectX7Mode", "doRetainedMode",   "doHardware",    "doSelectDriver", "doZBuffer"};
    TDXDrawOptions set = 0;
    for (const std::string& m : v.Set()) {
        auto it = std::find(names.begin(), names.end(), m);
        if (it == names.end()) {
            Fail(where, "Invalid property value " + m);
        }
        set |= OptionBit(static_cast<TDXDrawOption>(it - names.begin()));
    }
    return set;
}

// A reference to another component of the form, resolved once all of them exist.
struct Fixup {
    std::function<void(TComponent*)> apply;
    std::string target;
    std::string where;
};

class Loader {
public:
    explicit Loader(TForm1& form) : form_(form) {}

    void Run(const TStoredForm& stored) {
        ApplyForm(stored.Form);
        std::vector<TComponent*> made;
        for (const TStoredComponent& c : stored.Components) {
            TComponent& component = Create(c);
            component.SetName(c.Name);
            component.BeginLoading();
            for (const auto& [name, value] : c.Properties) {
                Apply(component, c.ClassName, name, Value(c.Name + "." + name, value), c.Name + "." + name);
            }
            made.push_back(&component);
        }
        for (const Fixup& f : fixups_) {
            TComponent* target = form_.FindComponent(f.target);
            if (!target) {
                Fail(f.where, "Invalid reference " + f.target);
            }
            f.apply(target);
        }
        CheckRequired();
        for (TComponent* c : made) {
            c->Loaded();
        }
    }

private:
    // The game calls into these components and looks pictures up by index from the first frame
    // on; a form without one of them, or with fewer pictures in a list, is refused here rather
    // than failing through a missing component later.
    void CheckRequired() const {
        const std::pair<const char*, const void*> components[] = {
            {"DXDraw", form_.DXDraw},   {"DXTimer", form_.DXTimer}, {"DXSpriteEngine", form_.DXSpriteEngine},
            {"DXInput", form_.DXInput}, {"Timer1", form_.Timer1},   {"GraphicList", form_.GraphicList},
            {"FXList", form_.FXList},   {"FonList", form_.FonList}, {"WorldList", form_.WorldList}};
        for (const auto& [name, component] : components) {
            if (component == nullptr) {
                Fail(name, "Component not found");
            }
        }
        const std::pair<const TDXImageList*, int32_t> lists[] = {
            {form_.GraphicList, 7}, {form_.FXList, 13}, {form_.FonList, 1}, {form_.WorldList, 5}};
        for (const auto& [list, needed] : lists) {
            if (list->Items().Count() < needed) {
                Fail(list->Name(), "Holds " + std::to_string(list->Items().Count()) + " pictures, the game needs " +
                                       std::to_string(needed));
            }
        }
    }

    void ApplyForm(const TStoredComponent& c) {
        form_.SetName(c.Name);
        int width = form_.ClientWidth(), height = form_.ClientHeight();
        for (const auto& [name, stored] : c.Properties) {
            const std::string where = c.Name + "." + name;
            Value v(where, stored);
            if (name == "Caption") {
                form_.Caption = v.Str();
            } else if (name == "ClientWidth") {
                width = v.Int();
            } else if (name == "ClientHeight") {
                height = v.Int();
            } else if (name == "BorderStyle") {
                form_.BorderStyle = v.Ident() == "bsNone" ? TFormBorderStyle::bsNone : TFormBorderStyle::bsSizeable;
            } else if (name == "Position") {
                form_.Position = v.Ident() == "poScreenCenter" ? TPosition::poScreenCenter : TPosition::poDesigned;
            } else if (name == "BorderIcons") {
                v.Set();
            } else if (name == "OnActivate" && v.Ident() == "FormActivate") {
                form_.OnActivate = [&form = form_](TComponent* sender) { form.FormActivate(sender); };
            } else {
                Fail(where, "Property does not exist");
            }
        }
        form_.SetClientSize(width, height);
    }

    TComponent& Create(const TStoredComponent& c) {
        const std::string& cls = c.ClassName;
        const std::string& name = c.Name;
        if (cls == "TDXDraw") {
            auto& draw = CreateComponent<TDXDraw>(form_);
            draw.SetParent(&form_);
            Bind(name, "DXDraw", form_.DXDraw, draw);
            return draw;
        }
        if (cls == "TDXImageList") {
            auto& list = CreateComponent<TDXImageList>(form_);
            for (auto [field, slot] :
                 {std::pair{"GraphicList", &form_.GraphicList}, std::pair{"FXList", &form_.FXList},
                  std::pair{"FonList", &form_.FonList}, std::pair{"WorldList", &form_.WorldList}}) {
                Bind(name, field, *slot, list);
            }
            return list;
        }
        if (cls == "TDXTimer") {
            return *Bound(name, "DXTimer", form_.DXTimer, CreateComponent<TDXTimer>(form_));
        }
        if (cls == "TDXSpriteEngine") {
            return *Bound(name, "DXSpriteEngine", form_.DXSpriteEngine, CreateComponent<TDXSpriteEngine>(form_));
        }
        if (cls == "TDXSound") {
            return *Bound(name, "DXSound", form_.DXSound, CreateComponent<TDXSound>(form_));
        }
        if (cls == "TDXWaveList") {
            return *Bound(name, "DXWaveList1", form_.DXWaveList1, CreateComponent<TDXWaveList>(form_));
        }
        if (cls == "TDXInput") {
            return *Bound(name, "DXInput", form_.DXInput, CreateComponent<TDXInput>(form_));
        }
        if (cls == "TTimer") {
            return *Bound(name, "Timer1", form_.Timer1, CreateComponent<TTimer>(form_));
        }
        Fail(name, "Class " + cls + " not found");
    }

    // Puts a made component into the form field of the same name.
    template <class T> bool Bind(const std::string& name, const char* field, T*& slot, T& component) {
        if (name != field) {
            return false;
        }
        slot = &component;
        return true;
    }
    template <class T> T* Bound(const std::string& name, const char* field, T*& slot, T& component) {
        Bind(name, field, slot, component);
        return &component;
    }

    void Apply(TComponent& component, const std::string& cls, const std::string& name, const Value& v,
               const std::string& where) {
        bool known = false;
        if (cls == "TDXDraw") {
            known = ApplyDraw(static_cast<TDXDraw&>(component), name, v, where);
        } else if (cls == "TDXImageList") {
            known = ApplyImageList(static_cast<TDXImageList&>(component), name, v, where);
        } else if (cls == "TDXTimer") {
            known = ApplyTimer(static_cast<TDXTimer&>(component), name, v);
        } else if (cls == "TDXSpriteEngine") {
            if (name == "DXDraw") {
                auto* engine = static_cast<TDXSpriteEngine*>(&component);
                Refer(v.Ident(), where, [engine, where](TComponent* c) { engine->SetDXDraw(AsDraw(c, where)); });
                known = true;
            }
        } else if (cls == "TDXSound") {
            auto& sound = static_cast<TDXSound&>(component);
            if (name == "AutoInitialize") {
                sound.AutoInitialize = v.Bool();
                known = true;
            } else if (name == "Options") {
                known = v.Set().empty();
            }
        } else if (cls == "TDXWaveList") {
            if (name == "DXSound") {
                auto* waves = static_cast<TDXWaveList*>(&component);
                Refer(v.Ident(), where, [waves](TComponent* c) { waves->DXSound = dynamic_cast<TDXSound*>(c); });
                known = true;
            }
        } else if (cls == "TDXInput") {
            known = ApplyInput(static_cast<TDXInput&>(component), name, v);
        } else if (cls == "TTimer") {
            known = ApplyWindowTimer(static_cast<TTimer&>(component), name, v);
        }
        if (!known) {
            Fail(where, "Property does not exist");
        }
    }

    static TCustomDXDraw* AsDraw(TComponent* c, const std::string& where) {
        auto* draw = dynamic_cast<TCustomDXDraw*>(c);
        if (!draw) {
            Fail(where, "Invalid reference");
        }
        return draw;
    }

    void Refer(const std::string& target, const std::string& where, std::function<void(TComponent*)> apply) {
        fixups_.push_back(Fixup{std::move(apply), target, where});
    }

    bool ApplyDraw(TDXDraw& draw, const std::string& name, const Value& v, const std::string& where) {
        if (name == "Left") {
            draw.SetBounds(v.Int(), draw.Top(), draw.Width(), draw.Height());
        } else if (name == "Top") {
            draw.SetBounds(draw.Left(), v.Int(), draw.Width(), draw.Height());
        } else if (name == "Width") {
            draw.SetBounds(draw.Left(), draw.Top(), v.Int(), draw.Height());
        } else if (name == "Height") {
            draw.SetBounds(draw.Left(), draw.Top(), draw.Width(), v.Int());
        } else if (name == "Align") {
            draw.SetAlign(v.Ident() == "alClient" ? TAlign::alClient : TAlign::alNone);
        } else if (name == "AutoInitialize") {
            draw.AutoInitialize = v.Bool();
        } else if (name == "AutoSize") {
            draw.AutoSize = v.Bool();
        } else if (name == "Cursor") {
            draw.Cursor = v.Int();
        } else if (name == "Display.Width") {
            draw.Display.SetWidth(v.Int());
        } else if (name == "Display.Height") {
            draw.Display.SetHeight(v.Int());
        } else if (name == "Display.BitCount") {
            draw.Display.SetBitCount(v.Int());
        } else if (name == "Display.FixedBitCount") {
            draw.Display.FixedBitCount = v.Bool();
        } else if (name == "Display.FixedRatio") {
            draw.Display.FixedRatio = v.Bool();
        } else if (name == "Display.FixedSize") {
            draw.Display.FixedSize = v.Bool();
        } else if (name == "Options") {
            draw.SetOptions(ReadOptions(v, where));
        } else if (name == "OnMouseDown" && v.Ident() == "DXDrawMouseDown") {
            draw.OnMouseDown = [&form = form_](TComponent* s, TMouseButton, int, int) { form.DXDrawMouseDown(s); };
        } else if (name == "OnMouseUp" && v.Ident() == "DXDrawMouseUp") {
            draw.OnMouseUp = [&form = form_](TComponent* s, TMouseButton, int, int) { form.DXDrawMouseUp(s); };
        } else if (name == "OnMouseMove" && v.Ident() == "DXDrawMouseMove") {
            draw.OnMouseMove = [&form = form_](TComponent* s, int x, int y) { form.DXDrawMouseMove(s, x, y); };
        } else {
            return false;
        }
        return true;
    }

    bool ApplyImageList(TDXImageList& list, const std::string& name, const Value& v, const std::string& where) {
        if (name == "DXDraw") {
            Refer(v.Ident(), where, [&list, where](TComponent* c) { list.SetDXDraw(AsDraw(c, where)); });
        } else if (name == "Items.ColorTable") {
            const auto& bytes = v.Bytes();
            if (bytes.size() != list.Items().ColorTable.size()) {
                Fail(where, "Invalid property value");
            }
            std::copy(bytes.begin(), bytes.end(), list.Items().ColorTable.begin());
        } else if (name == "Items") {
            int index = 0;
            for (const TStoredProperties& stored : v.Items()) {
                TPictureCollectionItem& item = list.Items().Add();
                for (const auto& [key, value] : stored) {
                    const std::string at = where + "[" + std::to_string(index) + "]." + key;
                    ApplyItem(item, key, Value(at, value), at);
                }
                // Pattern geometry beyond the limit is refused with the form, not at the first display.
                item.CheckPatternLimit();
                ++index;
            }
        } else {
            return false;
        }
        return true;
    }

    static void ApplyItem(TPictureCollectionItem& item, const std::string& name, const Value& v,
                          const std::string& where) {
        if (name == "Name") {
            item.Name = v.Str();
        } else if (name == "PatternHeight") {
            item.PatternHeight = v.Int();
        } else if (name == "PatternWidth") {
            item.PatternWidth = v.Int();
        } else if (name == "SkipHeight") {
            item.SkipHeight = v.Int();
        } else if (name == "SkipWidth") {
            item.SkipWidth = v.Int();
        } else if (name == "SystemMemory") {
            item.SystemMemory = v.Bool();
        } else if (name == "Transparent") {
            item.Transparent = v.Bool();
        } else if (name == "TransparentColor") {
            item.SetTransparentColor(v.Int());
        } else if (name == "Picture.Data") {
            TPicture picture;
            const auto& bytes = v.Bytes();
            picture.LoadFromStoredData(bytes.data(), bytes.size());
            item.SetPicture(picture);
        } else {
            Fail(where, "Property does not exist");
        }
    }

    bool ApplyTimer(TDXTimer& timer, const std::string& name, const Value& v) {
        if (name == "ActiveOnly") {
            timer.SetActiveOnly(v.Bool());
        } else if (name == "Enabled") {
            timer.SetEnabled(v.Bool());
        } else if (name == "Interval") {
            timer.SetInterval(v.Int());
        } else if (name == "OnTimer" && v.Ident() == "DXTimerTimer") {
            timer.OnTimer = [&form = form_](TComponent* s, int32_t lag) { form.DXTimerTimer(s, lag); };
        } else {
            return false;
        }
        return true;
    }

    static bool ApplyInput(TDXInput& input, const std::string& name, const Value& v) {
        if (name == "ActiveOnly") {
            input.SetActiveOnly(v.Bool());
        } else if (name == "UseDirectInput") {
            input.SetUseDirectInput(v.Bool());
        } else if (name == "Joystick.Enabled") {
            input.Joystick().Enabled = v.Bool();
        } else if (name == "Mouse.Enabled") {
            input.Mouse().Enabled = v.Bool();
        } else if (name == "Keyboard.Enabled") {
            input.Keyboard().Enabled = v.Bool();
        } else if (name == "Keyboard.BindInputStates") {
            input.Keyboard().BindInputStates = v.Bool();
        } else if (name == "Keyboard.Assigns" || name == "Keyboard.Aissgns") {
            // Forms written by an early version of the library spell the name this way.
            const auto& bytes = v.Bytes();
            input.Keyboard().ReadAssignsData(bytes.data(), bytes.size());
        } else {
            return false;
        }
        return true;
    }

    bool ApplyWindowTimer(TTimer& timer, const std::string& name, const Value& v) {
        if (name == "Interval") {
            timer.SetInterval(v.UInt());
        } else if (name == "Enabled") {
            timer.SetEnabled(v.Bool());
        } else if (name == "OnTimer" && v.Ident() == "Timer1Timer") {
            timer.OnTimer = [&form = form_](TComponent* s) { form.Timer1Timer(s); };
        } else {
            return false;
        }
        return true;
    }

    TForm1& form_;
    std::vector<Fixup> fixups_;
};

} // namespace

void LoadForm(TForm1& form, const TStoredForm& stored) {
    Loader(form).Run(stored);
}
