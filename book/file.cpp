// The book's file: written stably, read strictly, and on disk loaded and saved whole.

#include "book/file.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <set>
#include <utility>
#include <vector>

#include "book/book_json.h"
#include "book/whole_file.h"
#include "calc/calculations.h"
#include "calc/fields.h"

namespace loadcalc {
namespace book_json {
namespace {

constexpr std::string_view book_format = "loadcalc-book";

constexpr std::array<std::string_view, 5> entry_keys{"name", "kind", "texts", "assumptions",
                                                     "note"};

// "“beam” 或 “stair”": every kind a file may name.
std::string kind_words() {
  std::string out;
  for (std::size_t i = 0; i < result_count; ++i) {
    if (i > 0) out += i + 1 == result_count ? " 或 " : "、";
    out += in_quotes(calculations[i].kind_word);
  }
  return out;
}

// The position of the first byte that is not well-formed UTF-8, or none.
std::optional<std::size_t> bad_utf8_at(std::string_view s) {
  std::size_t i = 0;
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  while (i < s.size()) {
    const unsigned char c = byte(i);
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    } else {
      return i;
    }
    if (i + n >= s.size()) return i;
    for (std::size_t k = 1; k <= n; ++k) {
      const unsigned char b = byte(i + k);
      if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) return i;
    }
    i += n + 1;
  }
  return std::nullopt;
}

// A text as typed; a number is taken as its shortest decimal text.
std::optional<std::string> text_of(const json& v) {
  if (v.is_string()) return v.get<std::string>();
  char buf[64];
  std::to_chars_result r{};
  if (v.is_number_unsigned()) {
    r = std::to_chars(buf, buf + sizeof buf, v.get<std::uint64_t>());
  } else if (v.is_number_integer()) {
    r = std::to_chars(buf, buf + sizeof buf, v.get<std::int64_t>());
  } else if (v.is_number_float()) {
    r = std::to_chars(buf, buf + sizeof buf, v.get<double>());
  } else {
    return std::nullopt;
  }
  return std::string(buf, r.ptr);
}

const char* type_word(const json& v) {
  switch (v.type()) {
    case json::value_t::null:
      return "null";
    case json::value_t::boolean:
      return "真假值";
    case json::value_t::string:
      return "文本";
    case json::value_t::array:
      return "数组";
    case json::value_t::object:
      return "对象";
    default:
      return "数字";
  }
}

std::string wrong_type(std::string_view key, std::string_view wanted, const json& v) {
  return in_quotes(key) + " 应为" + std::string(wanted) + "，却是" + type_word(v);
}

// Every key of `obj` must be one of `known`.
std::optional<std::string> unknown_key(const json& obj, auto const& known) {
  for (auto it = obj.begin(); it != obj.end(); ++it) {
    bool found = false;
    for (std::string_view k : known) found = found || k == it.key();
    if (!found) return "未知的键 " + in_quotes(it.key());
  }
  return std::nullopt;
}

std::optional<std::string> read_string(const json& obj, std::string_view key, std::string& out) {
  auto it = obj.find(key);
  if (it == obj.end()) return "缺少 " + in_quotes(key);
  if (!it->is_string()) return wrong_type(key, "文本", *it);
  out = it->get<std::string>();
  return std::nullopt;
}

std::optional<std::string> read_project(const json& j, Project& p) {
  std::array<std::string_view, project_field_count> known{};
  for (std::size_t i = 0; i < known.size(); ++i) known[i] = project_fields[i].key;
  if (auto m = unknown_key(j, known)) return m;
  for (const ProjectFieldInfo& f : project_fields)
    if (auto m = read_string(j, f.key, p.*f.member)) return m;
  return std::nullopt;
}

// What replaces a field's text: "“wall_layers”", "“openings”".
std::string_view replacing_key(Field f) {
  return f == Field::Text6 ? "wall_layers" : "openings";
}

// After the assumptions, whose replaced fields the texts must leave out.
std::optional<std::string> read_texts(const json& j, Calculation kind, Entry& e) {
  for (auto it = j.begin(); it != j.end(); ++it) {
    const FieldInfo* info = nullptr;
    for (const FieldInfo& f : fields)
      if (f.key == it.key()) info = &f;
    if (info == nullptr) return "未知的输入 " + in_quotes(it.key());
    if (info->feeds != kind)
      return in_quotes(it.key()) + " 不是" + std::string(calculation_info(kind).kind_name) +
             "的输入";
    if (replaces(e.assumptions, info->field))
      return in_quotes(it.key()) + " 已由 " + in_quotes(replacing_key(info->field)) +
             " 代替，不应再有此输入";
    std::optional<std::string> text = text_of(*it);
    if (!text) return wrong_type(it.key(), "文本或数字", *it);
    e.texts[info->field] = std::move(*text);
  }
  for (Field f : calculation_info(kind).reads)
    if (!e.texts.contains(f) && !replaces(e.assumptions, f))
      return "缺少输入 " + in_quotes(field_info(f).key);
  return std::nullopt;
}

// ---- assumptions ----

// A figure as typed: a text, or a number taken as its shortest text.
std::optional<std::string> read_figure(const json& obj, std::string_view key, std::string& out) {
  auto it = obj.find(key);
  if (it == obj.end()) return "缺少 " + in_quotes(key);
  std::optional<std::string> text = text_of(*it);
  if (!text) return wrong_type(key, "文本或数字", *it);
  out = std::move(*text);
  return std::nullopt;
}

// Which kind each key of "assumptions" belongs to.
struct AssumptionKey {
  std::string_view key;
  Calculation kind;
};
constexpr std::array<AssumptionKey, 5> assumption_keys{{
    {"wall_layers", Calculation::MainProgram_1},
    {"openings", Calculation::MainProgram_1},
    {"concrete_unit_weight", Calculation::MainProgram_2},
    {"soffit_finish", Calculation::MainProgram_2},
    {"extra_loads", Calculation::MainProgram_2},
}};

// A list's elements, each read by `read` with its place in the message: "“openings” 第 3 个：…".
// `counter` words the count: "层", "个", "项".
template <class T, class Read>
std::optional<std::string> read_list(const json& a, std::string_view key, std::size_t limit,
                                     std::string_view counter, std::vector<T>& out,
                                     const Read& read) {
  const json& list = a.at(std::string(key));
  if (!list.is_array()) return wrong_type(key, "数组", list);
  const std::string n = std::string(counter);
  if (list.size() > limit)
    return in_quotes(key) + " 有 " + std::to_string(list.size()) + " " + n + "，超过上限 " +
           std::to_string(limit) + " " + n;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string place = in_quotes(key) + " 第 " + std::to_string(i + 1) + " " + n + "：";
    const json& element = list[i];
    if (!element.is_object()) return place + "应为对象，却是" + type_word(element);
    T value;
    if (auto m = read(element, value)) return place + *m;
    out.push_back(std::move(value));
  }
  return std::nullopt;
}

std::optional<std::string> read_layer(const json& j, WallLayerText& layer) {
  constexpr std::array<std::string_view, 4> known{"material", "thickness", "unit_weight",
                                                  "area_weight"};
  if (auto m = unknown_key(j, known)) return m;
  if (auto m = read_string(j, "material", layer.material)) return m;
  if (j.contains("area_weight")) {
    if (j.contains("thickness") || j.contains("unit_weight"))
      return std::string("“area_weight” 与 “thickness”、“unit_weight” 只能有一种");
    layer.basis = LayerBasis::area;
    return read_figure(j, "area_weight", layer.weight);
  }
  layer.basis = LayerBasis::thickness;
  if (auto m = read_figure(j, "thickness", layer.thickness)) return m;
  return read_figure(j, "unit_weight", layer.weight);
}

std::optional<std::string> read_opening(const json& j, OpeningText& o) {
  constexpr std::array<std::string_view, 5> known{"width", "height", "count", "weight", "type"};
  if (auto m = unknown_key(j, known)) return m;
  if (auto m = read_figure(j, "width", o.width)) return m;
  if (auto m = read_figure(j, "height", o.height)) return m;
  if (auto m = read_figure(j, "count", o.count)) return m;
  if (auto m = read_figure(j, "weight", o.weight)) return m;
  if (j.contains("type")) return read_string(j, "type", o.type);
  return std::nullopt;
}

std::optional<std::string> read_extra(const json& j, ExtraLoadText& e) {
  constexpr std::array<std::string_view, 4> known{"name", "area_weight", "line_weight",
                                                  "flight_width"};
  if (auto m = unknown_key(j, known)) return m;
  if (auto m = read_string(j, "name", e.name)) return m;
  if (j.contains("area_weight")) {
    if (j.contains("line_weight") || j.contains("flight_width"))
      return std::string("“area_weight” 与 “line_weight”、“flight_width” 只能有一种");
    e.basis = ExtraBasis::area;
    return read_figure(j, "area_weight", e.weight);
  }
  e.basis = ExtraBasis::line;
  if (auto m = read_figure(j, "line_weight", e.weight)) return m;
  return read_figure(j, "flight_width", e.flight_width);
}

std::optional<std::string> read_assumptions(const json& a, Calculation kind, Assumptions& out) {
  if (!a.is_object()) return wrong_type("assumptions", "对象", a);
  for (auto it = a.begin(); it != a.end(); ++it) {
    const AssumptionKey* row = nullptr;
    for (const AssumptionKey& k : assumption_keys)
      if (k.key == it.key()) row = &k;
    if (row == nullptr) return "“assumptions” 中未知的键 " + in_quotes(it.key());
    if (row->kind != kind)
      return in_quotes(it.key()) + " 不是" + std::string(calculation_info(kind).kind_name) +
             "的假定";
  }
  if (a.contains("wall_layers")) {
    auto& layers = out.wall_layers.emplace();
    if (auto m = read_list(a, "wall_layers", max_wall_layers, "层", layers, read_layer)) return m;
  }
  if (a.contains("openings")) {
    auto& openings = out.openings.emplace();
    if (auto m = read_list(a, "openings", max_openings, "个", openings, read_opening)) return m;
  }
  if (a.contains("concrete_unit_weight")) {
    if (auto m = read_figure(a, "concrete_unit_weight", out.concrete_unit_weight.emplace()))
      return m;
  }
  if (auto it = a.find("soffit_finish"); it != a.end()) {
    if (!it->is_object()) return wrong_type("soffit_finish", "对象", *it);
    constexpr std::array<std::string_view, 2> known{"material", "area_weight"};
    FinishText& f = out.soffit_finish.emplace();
    const auto m = [&]() -> std::optional<std::string> {
      if (auto m = unknown_key(*it, known)) return m;
      if (auto m = read_string(*it, "material", f.material)) return m;
      return read_figure(*it, "area_weight", f.area_weight);
    }();
    if (m) return "“soffit_finish”：" + *m;
  }
  if (a.contains("extra_loads"))
    return read_list(a, "extra_loads", max_extra_loads, "项", out.extra_loads, read_extra);
  return std::nullopt;
}

std::optional<std::string> read_entry(const json& j, Entry& e, std::int64_t version) {
  if (!j.is_object()) return std::string("应为对象，却是") + type_word(j);
  if (auto m = unknown_key(j, entry_keys)) return m;
  if (auto m = read_string(j, "name", e.name)) return m;
  std::string word;
  if (auto m = read_string(j, "kind", word)) return m;
  const CalculationInfo* kind = nullptr;
  for (const CalculationInfo& c : calculations)
    if (c.kind_word == word) kind = &c;
  if (kind == nullptr) return "未知的类型 " + in_quotes(word) + "（应为 " + kind_words() + "）";
  e.kind = kind->id;
  // A file of the first version knows no assumptions.
  if (auto a = j.find("assumptions"); a != j.end()) {
    if (version < assumptions_version) return "未知的键 “assumptions”";
    if (auto m = read_assumptions(*a, e.kind, e.assumptions)) return m;
  }
  auto texts = j.find("texts");
  if (texts == j.end()) return "缺少 “texts”";
  if (!texts->is_object()) return wrong_type("texts", "对象", *texts);
  if (auto m = read_texts(*texts, e.kind, e)) return m;
  return read_string(j, "note", e.note);
}

// JSON lets an object name a key twice and a parser keep either value; a book whose file does is
// not what anyone wrote, and reading it would silently drop one of the two. Watches the parse for
// the first key an object names again, and says where it is as the other messages do.
class DuplicateKeys {
 public:
  bool operator()(int, json::parse_event_t event, json& parsed) {
    using E = json::parse_event_t;
    if ((event == E::object_start || event == E::array_start || event == E::value) &&
        !frames_.empty() && frames_.back().array)
      ++frames_.back().count;
    if (event == E::object_start || event == E::array_start)
      frames_.push_back({event == E::array_start, {}, {}, 0});
    else if ((event == E::object_end || event == E::array_end) && !frames_.empty())
      frames_.pop_back();
    else if (event == E::key && !frames_.empty()) {
      Frame& object = frames_.back();
      object.key = parsed.get<std::string>();
      if (!object.keys.insert(object.key).second && !message_)
        message_ = place() + in_quotes(object.key);
    }
    return true;
  }

  // "第 3 条计算：重复的键 “name”", or none.
  const std::optional<std::string>& message() const { return message_; }

 private:
  struct Frame {
    bool array;
    std::set<std::string> keys;
    std::string key;    // an object's key being read
    std::size_t count;  // an array's elements so far
  };

  // The message up to the key, for the innermost object.
  std::string place() const {
    std::string where;
    for (std::size_t i = 0; i + 1 < frames_.size(); ++i) {
      if (frames_[i].array) continue;
      if (frames_[i].key == "entries" && frames_[i + 1].array && i + 2 < frames_.size())
        where = "第 " + std::to_string(frames_[i + 1].count) + " 条计算：";
      if (frames_[i].key == "project") where = "工程信息：";
    }
    return where + "重复的键 ";
  }

  std::vector<Frame> frames_;
  std::optional<std::string> message_;
};

ordered figures_json(std::initializer_list<std::pair<const char*, const std::string*>> pairs) {
  ordered out = ordered::object();
  for (const auto& [key, value] : pairs) out[key] = *value;
  return out;
}

// The members of the entry's kind only: a file never holds the other kind's.
ordered assumptions_json(const Assumptions& a, Calculation kind) {
  ordered out = ordered::object();
  if (kind == Calculation::MainProgram_2) {
    if (a.concrete_unit_weight) out["concrete_unit_weight"] = *a.concrete_unit_weight;
    if (a.soffit_finish)
      out["soffit_finish"] = figures_json({{"material", &a.soffit_finish->material},
                                           {"area_weight", &a.soffit_finish->area_weight}});
    if (!a.extra_loads.empty()) {
      ordered extras = ordered::array();
      for (const ExtraLoadText& e : a.extra_loads)
        extras.push_back(e.basis == ExtraBasis::area
                             ? figures_json({{"name", &e.name}, {"area_weight", &e.weight}})
                             : figures_json({{"name", &e.name},
                                             {"line_weight", &e.weight},
                                             {"flight_width", &e.flight_width}}));
      out["extra_loads"] = std::move(extras);
    }
    return out;
  }
  if (a.wall_layers) {
    ordered layers = ordered::array();
    for (const WallLayerText& l : *a.wall_layers)
      layers.push_back(l.basis == LayerBasis::area
                           ? figures_json({{"material", &l.material}, {"area_weight", &l.weight}})
                           : figures_json({{"material", &l.material},
                                           {"thickness", &l.thickness},
                                           {"unit_weight", &l.weight}}));
    out["wall_layers"] = std::move(layers);
  }
  if (a.openings) {
    ordered openings = ordered::array();
    for (const OpeningText& o : *a.openings) {
      ordered j = figures_json(
          {{"width", &o.width}, {"height", &o.height}, {"count", &o.count}, {"weight", &o.weight}});
      if (!o.type.empty()) j["type"] = o.type;
      openings.push_back(std::move(j));
    }
    out["openings"] = std::move(openings);
  }
  return out;
}

}  // namespace

ordered to_json(const Book& book) {
  ordered project = ordered::object();
  for (const ProjectFieldInfo& f : project_fields)
    project[std::string(f.key)] = book.project.*f.member;
  ordered entries = ordered::array();
  bool stated = false;
  for (const Entry& e : book.entries) {
    ordered texts = ordered::object();
    for (Field f : calculation_info(e.kind).reads) {
      if (replaces(e.assumptions, f)) continue;
      auto it = e.texts.find(f);
      texts[std::string(field_info(f).key)] = it == e.texts.end() ? std::string() : it->second;
    }
    ordered entry{{"name", e.name},
                  {"kind", std::string(calculation_info(e.kind).kind_word)},
                  {"texts", std::move(texts)}};
    if (states_any(e.assumptions, e.kind)) {
      entry["assumptions"] = assumptions_json(e.assumptions, e.kind);
      stated = true;
    }
    entry["note"] = e.note;
    entries.push_back(std::move(entry));
  }
  // A book that states no assumptions stays a first-version file, which every copy reads.
  return ordered{{"format", std::string(book_format)},
                 {"version", stated ? assumptions_version : format_version},
                 {"project", std::move(project)},
                 {"entries", std::move(entries)}};
}

std::string dump(const ordered& j) {
  // A text that is not UTF-8 cannot come from the window; should one arrive, it is written with
  // replacement characters rather than making the save fail.
  return j.dump(2, ' ', false, nlohmann::detail::error_handler_t::replace) + "\n";
}

std::variant<Book, ReadError> book_from_json(const json& j) {
  if (!j.is_object())
    return ReadError{std::string("不是计算书：文件内容应为 JSON 对象，却是") + type_word(j)};
  std::string format;
  if (read_string(j, "format", format) || format != book_format)
    return ReadError{"不是 loadcalc 计算书：“format” 应为 “loadcalc-book”"};
  auto version = j.find("version");
  if (version == j.end()) return ReadError{"缺少 “version”"};
  if (!version->is_number_integer()) return ReadError{wrong_type("version", "整数", *version)};
  const std::int64_t v = version->get<std::int64_t>();
  if (v > assumptions_version)
    return ReadError{"此计算书由较新版本的 loadcalc 写成（格式版本 " + std::to_string(v) +
                     "），本程序只能读取格式版本 " + std::to_string(assumptions_version) +
                     " 及以前"};
  if (v < format_version) return ReadError{"格式版本 " + std::to_string(v) + " 无效"};
  constexpr std::array<std::string_view, 4> top_keys{"format", "version", "project", "entries"};
  if (auto m = unknown_key(j, top_keys)) return ReadError{*m};

  Book book;
  auto project = j.find("project");
  if (project == j.end()) return ReadError{"缺少 “project”"};
  if (!project->is_object()) return ReadError{wrong_type("project", "对象", *project)};
  if (auto m = read_project(*project, book.project)) return ReadError{"工程信息：" + *m};

  auto entries = j.find("entries");
  if (entries == j.end()) return ReadError{"缺少 “entries”"};
  if (!entries->is_array()) return ReadError{wrong_type("entries", "数组", *entries)};
  if (entries->size() > max_book_entries)
    return ReadError{"计算书有 " + std::to_string(entries->size()) + " 条计算，超过上限 " +
                     std::to_string(max_book_entries) + " 条"};
  book.entries.reserve(entries->size());
  for (std::size_t i = 0; i < entries->size(); ++i) {
    Entry e;
    if (auto m = read_entry((*entries)[i], e, v))
      return ReadError{"第 " + std::to_string(i + 1) + " 条计算：" + *m};
    book.entries.push_back(std::move(e));
  }
  return book;
}

std::variant<json, ReadError> parse(std::string_view bytes) {
  if (bytes.size() > max_book_bytes)
    return ReadError{"文件过大（超过 " + std::to_string(max_book_bytes / (1024 * 1024)) +
                     " MB），未读取"};
  if (bytes.empty()) return ReadError{"文件是空的"};
  if (auto at = bad_utf8_at(bytes))
    return ReadError{"文件不是 UTF-8 文本（第 " + std::to_string(*at + 1) + " 字节）"};
  try {
    DuplicateKeys duplicates;
    json j = json::parse(bytes.begin(), bytes.end(), std::ref(duplicates));
    if (duplicates.message()) return ReadError{*duplicates.message()};
    return j;
  } catch (const json::parse_error& e) {
    if (e.byte >= bytes.size())
      return ReadError{"文件不完整：在第 " + std::to_string(e.byte) + " 字节处意外结束"};
    return ReadError{"文件不是有效的 JSON（第 " + std::to_string(e.byte) + " 字节处）"};
  } catch (const json::exception&) {
    return ReadError{"文件不是有效的 JSON（数值超出范围）"};
  }
}

}  // namespace book_json

std::string write_book(const Book& book) {
  return book_json::dump(book_json::to_json(book));
}

std::variant<Book, ReadError> read_book(std::string_view bytes) {
  auto parsed = book_json::parse(bytes);
  if (auto* e = std::get_if<ReadError>(&parsed)) return std::move(*e);
  return book_json::book_from_json(std::get<book_json::json>(parsed));
}

std::variant<Book, ReadError> load_book(const std::filesystem::path& path) {
  std::string bytes;
  if (auto m = read_whole(path, bytes)) return ReadError{std::move(*m)};
  return read_book(bytes);
}

std::optional<std::string> save_book(const std::filesystem::path& path, const Book& book) {
  return write_whole(path, write_book(book), true);
}

}  // namespace loadcalc
