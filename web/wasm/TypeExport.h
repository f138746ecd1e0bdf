#pragma once
// Enums and plain structures handed to the page, registered with embind and
// described once more in a catalogue the build turns into the page's
// TypeScript declarations (web/tools/gen-types.cjs), so the page never
// writes a type of the rules by hand.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

struct TypeCatalogue {
    struct Enum {
        std::string name;
        std::vector<std::pair<std::string, int>> values;
    };
    struct Object {
        std::string name;
        std::vector<std::pair<std::string, std::string>> fields;  // field, TypeScript type
    };
    std::vector<Enum> enums;
    std::vector<Object> objects;

    static TypeCatalogue& Instance() {
        static TypeCatalogue catalogue;
        return catalogue;
    }
    emscripten::val AsValue() const;
};

// emscripten::enum_ that also enters its values in the catalogue.
template <typename E>
class ExportedEnum {
public:
    explicit ExportedEnum(const char* name) : m_enum(name), m_index(TypeCatalogue::Instance().enums.size()) {
        TypeCatalogue::Instance().enums.push_back({name, {}});
    }
    ExportedEnum& value(const char* name, E v) {
        m_enum.value(name, v);
        TypeCatalogue::Instance().enums[m_index].values.emplace_back(name, static_cast<int>(v));
        return *this;
    }

private:
    emscripten::enum_<E> m_enum;
    std::size_t m_index;
};

template <typename T>
const char* TypeScriptType() {
    if constexpr (std::is_same_v<T, bool>)
        return "boolean";
    else if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>)
        return "number";
    else if constexpr (std::is_same_v<T, std::string>)
        return "string";
    else
        static_assert(sizeof(T) == 0, "no TypeScript type for this field");
}

// emscripten::value_object that also enters its fields in the catalogue.
template <typename S>
class ExportedObject {
public:
    explicit ExportedObject(const char* name) : m_object(name), m_index(TypeCatalogue::Instance().objects.size()) {
        TypeCatalogue::Instance().objects.push_back({name, {}});
    }
    template <typename F>
    ExportedObject& field(const char* name, F S::*member) {
        m_object.field(name, member);
        TypeCatalogue::Instance().objects[m_index].fields.emplace_back(name, TypeScriptType<F>());
        return *this;
    }

private:
    emscripten::value_object<S> m_object;
    std::size_t m_index;
};
