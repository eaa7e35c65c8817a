// The tables of the model file: each kind of JSON object is a list of
// fields, each field a key with the member of the object's record it fills
// and a codec that says how its value is read and written. Reading and
// writing both go through the one table, so a key is spelled once.
//
// A codec is a small value with
//   void Read(const Node& value, T& into, ReadContext& context) const;
//   Json Write(const T& value, const std::string& path) const;
// where Read checks the value where it stands (its errors name its place)
// and Write may throw a ModelError at `path`, the place the value takes in
// the model, for a value the file has no form for. A codec that reads
// objects (ObjectOf, VariantOf) borrows their tables, which must outlive it.
#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "tav/json/Node.h"
#include "tav/json/ReadContext.h"

namespace tav::json {

enum class Presence { kOptional, kRequired };

template <typename T>
struct IsOptional : std::false_type {};
template <typename T>
struct IsOptional<std::optional<T>> : std::true_type {};

// A record whose members `Part`'s fields can fill: one built on it.
template <typename Part, typename Whole>
concept PartOf = std::is_base_of_v<Part, Whole> && !std::is_same_v<Part, Whole>;

// One key of an object. An optional member is written only when it holds a
// value; any other member always. A key the object lacks leaves the member
// as it is, unless the key is required. A field owns a copy of its codec.
template <typename Record>
class Field {
 public:
  template <typename Owner, typename Value, typename Codec>
  Field(const char* key, Value Owner::*member, Codec codec, Presence presence = Presence::kOptional)
      : m_key(key), m_presence(presence) {
    static_assert(std::is_base_of_v<Owner, Record>);
    m_read = [member, codec](const Node& value, Record& record, ReadContext& context) {
      Value& into = record.*member;
      if constexpr (IsOptional<Value>::value) {
        codec.Read(value, into.emplace(), context);
      } else {
        codec.Read(value, into, context);
      }
    };
    m_write = [member, codec](const Record& record, const std::string& path) -> std::optional<Json> {
      const Value& value = record.*member;
      if constexpr (IsOptional<Value>::value) {
        if (!value) return std::nullopt;
        return codec.Write(*value, path);
      } else {
        return codec.Write(value, path);
      }
    };
  }

  // A field of a base record, as the same field of a record built on it:
  // the parts records share are spelled once.
  template <PartOf<Record> Base>
  Field(const Field<Base>& base)
      : m_key(base.m_key), m_presence(base.m_presence), m_read(base.m_read), m_write(base.m_write) {}

  const char* Key() const { return m_key; }
  void Read(const Node& object, Record& record, ReadContext& context) const {
    if (m_presence == Presence::kRequired || object.Has(m_key)) m_read(object[m_key], record, context);
  }
  void Write(const Record& record, Json& object, const std::string& path) const {
    if (std::optional<Json> value = m_write(record, path + "/" + m_key)) object[m_key] = std::move(*value);
  }

 private:
  template <typename Other>
  friend class Field;

  const char* m_key;
  Presence m_presence;
  std::function<void(const Node&, Record&, ReadContext&)> m_read;
  std::function<std::optional<Json>(const Record&, const std::string&)> m_write;
};

template <typename Record>
using Fields = std::vector<Field<Record>>;

// Reads an object whose keys are those of `fields` (and `tag`, the key that
// chose them): unknown keys first, then each field in the table's order.
template <typename Record>
void ReadObject(const Node& node, const Fields<Record>& fields, Record& record, ReadContext& context,
                const char* tag = nullptr) {
  node.Object([&fields, tag](const std::string& key) {
    return (tag != nullptr && key == tag) ||
           std::any_of(fields.begin(), fields.end(), [&key](const Field<Record>& f) { return key == f.Key(); });
  });
  context.Enter(record);
  for (const Field<Record>& field : fields) field.Read(node, record, context);
}

template <typename Record>
void WriteFields(const Record& record, const Fields<Record>& fields, Json& object, const std::string& path) {
  for (const Field<Record>& field : fields) field.Write(record, object, path);
}

// ---- Codecs --------------------------------------------------------------------

// A JSON array of `values`, built item by item (the converting constructor
// of a whole std::array trips gcc's null-dereference analysis).
template <typename Values>
Json ArrayOf(const Values& values) {
  Json list = Json::array();
  for (const auto& value : values) list.push_back(value);
  return list;
}

struct Real {
  void Read(const Node& node, double& into, ReadContext& /*context*/) const { into = node.Number(); }
  Json Write(double value, const std::string& /*path*/) const { return value; }
};

struct RealIn {
  double low;
  double high;
  const char* range;  // the range in words
  void Read(const Node& node, double& into, ReadContext& /*context*/) const { into = node.Number(low, high, range); }
  Json Write(double value, const std::string& /*path*/) const { return value; }
};

struct Whole {
  long long low;
  long long high;
  void Read(const Node& node, int32_t& into, ReadContext& /*context*/) const { into = node.Integer(low, high); }
  Json Write(int32_t value, const std::string& /*path*/) const { return value; }
};

struct Truth {
  void Read(const Node& node, bool& into, ReadContext& /*context*/) const { into = node.Bool(); }
  Json Write(bool value, const std::string& /*path*/) const { return value; }
};

struct Text {
  void Read(const Node& node, std::string& into, ReadContext& /*context*/) const { into = node.String(); }
  Json Write(const std::string& value, const std::string& /*path*/) const { return value; }
};

// One of `names`, held as its position. A document can hold any number
// there; one without a name is reported at its place rather than guessed.
struct OneOf {
  Names names;
  void Read(const Node& node, int32_t& into, ReadContext& /*context*/) const { into = node.Choice(names); }
  Json Write(int32_t value, const std::string& path) const {
    if (value < 0 || static_cast<size_t>(value) >= names.size()) {
      throw ModelError(path, "the value " + std::to_string(value) + " has no name in a model file");
    }
    return names[static_cast<size_t>(value)];
  }
};

// A set of `names` as bits; bits beyond the names are not written.
struct SetOf {
  Names names;
  void Read(const Node& node, uint8_t& into, ReadContext& /*context*/) const { into = node.Flags(names); }
  Json Write(uint8_t flags, const std::string& /*path*/) const {
    Json list = Json::array();
    for (size_t bit = 0; bit < names.size(); ++bit) {
      if ((flags >> bit) & 1U) list.push_back(names[bit]);
    }
    return list;
  }
};

// Exactly N numbers.
struct Reals {
  template <size_t N>
  void Read(const Node& node, std::array<double, N>& into, ReadContext& /*context*/) const {
    const std::vector<double> values = node.Numbers(N);
    std::copy(values.begin(), values.end(), into.begin());
  }
  template <size_t N>
  Json Write(const std::array<double, N>& values, const std::string& /*path*/) const {
    return ArrayOf(values);
  }
};

// A 1-based reference to one of the objects `count` counts, held 0-based.
struct Ref {
  const char* what;
  int32_t (ReadContext::*count)() const;
  void Read(const Node& node, int32_t& into, ReadContext& context) const {
    into = node.Reference((context.*count)(), what);
  }
  Json Write(int32_t value, const std::string& /*path*/) const { return value + 1; }
};

// Two references, as the ends of a beam, a link or a lane. `element` names
// what joins the two when they must differ.
struct RefPair {
  Ref ref;
  const char* plural;
  const char* element = nullptr;
  void Read(const Node& node, std::array<int32_t, 2>& into, ReadContext& context) const {
    if (node.Size() != 2) node.Fail(std::string("expected two ") + plural);
    ref.Read(node.At(0), into[0], context);
    ref.Read(node.At(1), into[1], context);
    if (element != nullptr && into[0] == into[1]) {
      node.Fail("a " + std::string(element) + " needs two different " + plural);
    }
  }
  Json Write(const std::array<int32_t, 2>& pair, const std::string& path) const {
    return {ref.Write(pair[0], path), ref.Write(pair[1], path)};
  }
};

// An array of values each read and written by `item`.
template <typename Item>
struct ListOf {
  Item item;
  template <typename T>
  void Read(const Node& node, std::vector<T>& into, ReadContext& context) const {
    node.Each([&](const Node& value, size_t) {
      T read{};
      item.Read(value, read, context);
      into.push_back(std::move(read));
    });
  }
  template <typename T>
  Json Write(const std::vector<T>& values, const std::string& path) const {
    Json list = Json::array();
    for (size_t i = 0; i < values.size(); ++i) list.push_back(item.Write(values[i], path + "/" + std::to_string(i)));
    return list;
  }
};

template <typename Record>
struct ObjectOf {
  const Fields<Record>* fields;
  void Read(const Node& node, Record& into, ReadContext& context) const { ReadObject(node, *fields, into, context); }
  Json Write(const Record& record, const std::string& path) const {
    Json object = Json::object();
    WriteFields(record, *fields, object, path);
    return object;
  }
};

template <typename Record>
ListOf<ObjectOf<Record>> ObjectsOf(const Fields<Record>& fields) {
  return {{&fields}};
}

// An object whose key `tag` names its kind, and so the rest of its keys:
// alternative i of the variant is named names[i] and has the fields
// `fields` i. The tag is read before anything else and written first.
template <typename... Alternatives>
struct VariantOf {
  const char* tag;
  Names names;
  std::tuple<const Fields<Alternatives>*...> fields;

  void Read(const Node& node, std::variant<Alternatives...>& into, ReadContext& context) const {
    ReadAlternative(node, node[tag].Choice(names), into, context, std::index_sequence_for<Alternatives...>{});
  }
  Json Write(const std::variant<Alternatives...>& value, const std::string& path) const {
    Json object = Json::object();
    object[tag] = names[value.index()];
    std::visit(
        [&](const auto& alternative) {
          using Record = std::decay_t<decltype(alternative)>;
          WriteFields(alternative, *std::get<const Fields<Record>*>(fields), object, path);
        },
        value);
    return object;
  }

 private:
  template <size_t... I>
  void ReadAlternative(const Node& node, int kind, std::variant<Alternatives...>& into, ReadContext& context,
                       std::index_sequence<I...>) const {
    ((kind == static_cast<int>(I) ? ReadObject(node, *std::get<I>(fields), into.template emplace<I>(), context, tag)
                                  : void()),
     ...);
  }
};

}  // namespace tav::json
