// The book's file: written stably, read strictly, and on disk loaded and saved whole.

#include "book/file.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <functional>
#include <set>
#include <vector>

#include "book/book_json.h"
#include "book/whole_file.h"
#include "calc/calculations.h"
#include "calc/fields.h"

namespace loadcalc {
namespace book_json {
namespace {

constexpr std::string_view book_format = "loadcalc-book";

constexpr std::array<std::string_view, 4> entry_keys{"name", "kind", "texts", "note"};

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

std::optional<std::string> read_texts(const json& j, Calculation kind, Entry& e) {
  for (auto it = j.begin(); it != j.end(); ++it) {
    const FieldInfo* info = nullptr;
    for (const FieldInfo& f : fields)
      if (f.key == it.key()) info = &f;
    if (info == nullptr) return "未知的输入 " + in_quotes(it.key());
    if (info->feeds != kind)
      return in_quotes(it.key()) + " 不是" + std::string(calculation_info(kind).kind_name) +
             "的输入";
    std::optional<std::string> text = text_of(*it);
    if (!text) return wrong_type(it.key(), "文本或数字", *it);
    e.texts[info->field] = std::move(*text);
  }
  for (Field f : calculation_info(kind).reads)
    if (!e.texts.contains(f)) return "缺少输入 " + in_quotes(field_info(f).key);
  return std::nullopt;
}

std::optional<std::string> read_entry(const json& j, Entry& e) {
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

}  // namespace

ordered to_json(const Book& book) {
  ordered project = ordered::object();
  for (const ProjectFieldInfo& f : project_fields)
    project[std::string(f.key)] = book.project.*f.member;
  ordered entries = ordered::array();
  for (const Entry& e : book.entries) {
    ordered texts = ordered::object();
    for (Field f : calculation_info(e.kind).reads) {
      auto it = e.texts.find(f);
      texts[std::string(field_info(f).key)] = it == e.texts.end() ? std::string() : it->second;
    }
    entries.push_back(ordered{{"name", e.name},
                              {"kind", std::string(calculation_info(e.kind).kind_word)},
                              {"texts", std::move(texts)},
                              {"note", e.note}});
  }
  return ordered{{"format", std::string(book_format)},
                 {"version", format_version},
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
  if (version->get<std::int64_t>() > format_version)
    return ReadError{"此计算书由较新版本的 loadcalc 写成（格式版本 " +
                     std::to_string(version->get<std::int64_t>()) + "），本程序只能读取格式版本 1"};
  if (version->get<std::int64_t>() < format_version)
    return ReadError{"格式版本 " + std::to_string(version->get<std::int64_t>()) + " 无效"};
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
    if (auto m = read_entry((*entries)[i], e))
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
