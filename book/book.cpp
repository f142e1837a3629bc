// The book's file: writing, strict reading, and saving that never leaves a half-written file.

#include <charconv>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <system_error>

#include "book/book.h"
#include "calc/fields.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace loadcalc {
namespace {

using ordered = nlohmann::ordered_json;
using json = nlohmann::json;

constexpr std::string_view book_format = "loadcalc-book";
constexpr std::string_view recovery_format = "loadcalc-recovery";
constexpr int format_version = 1;

// The project's keys in file order, each with its member and what the book window calls it.
struct ProjectKey {
  std::string_view key;
  std::string Project::*member;
};
constexpr std::array<ProjectKey, 7> project_keys{{
    {"name", &Project::name},
    {"number", &Project::number},
    {"subitem", &Project::subitem},
    {"designer", &Project::designer},
    {"checker", &Project::checker},
    {"approver", &Project::approver},
    {"date", &Project::date},
}};

constexpr std::array<std::string_view, 4> entry_keys{"name", "kind", "texts", "note"};

std::string in_quotes(std::string_view s) {
  return "“" + std::string(s) + "”";
}

std::string utf8(const std::filesystem::path& p) {
  const std::u8string s = p.u8string();
  return {s.begin(), s.end()};
}

// ---- writing ----

ordered to_json(const Book& book) {
  ordered project = ordered::object();
  for (const ProjectKey& k : project_keys) project[std::string(k.key)] = book.project.*k.member;
  ordered entries = ordered::array();
  for (const Entry& e : book.entries) {
    ordered texts = ordered::object();
    for (Field f : kind_fields(e.kind)) {
      auto it = e.texts.find(f);
      texts[std::string(field_info(f).key)] = it == e.texts.end() ? std::string() : it->second;
    }
    entries.push_back(ordered{{"name", e.name},
                              {"kind", std::string(kind_info(e.kind).word)},
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

// ---- reading ----

struct Fault {
  std::string message;
};

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
  std::array<std::string_view, project_keys.size()> known{};
  for (std::size_t i = 0; i < known.size(); ++i) known[i] = project_keys[i].key;
  if (auto m = unknown_key(j, known)) return m;
  for (const ProjectKey& k : project_keys)
    if (auto m = read_string(j, k.key, p.*k.member)) return m;
  return std::nullopt;
}

std::optional<std::string> read_texts(const json& j, EntryKind kind, Entry& e) {
  for (auto it = j.begin(); it != j.end(); ++it) {
    const FieldInfo* info = nullptr;
    for (const FieldInfo& f : fields)
      if (f.key == it.key()) info = &f;
    if (info == nullptr) return "未知的输入 " + in_quotes(it.key());
    if (!holds_field(kind, info->field))
      return in_quotes(it.key()) + " 不是" + std::string(kind_info(kind).name) + "的输入";
    std::optional<std::string> text = text_of(*it);
    if (!text) return wrong_type(it.key(), "文本或数字", *it);
    e.texts[info->field] = std::move(*text);
  }
  for (Field f : kind_fields(kind))
    if (!e.texts.contains(f)) return "缺少输入 " + in_quotes(field_info(f).key);
  return std::nullopt;
}

std::optional<std::string> read_entry(const json& j, Entry& e) {
  if (!j.is_object()) return std::string("应为对象，却是") + type_word(j);
  if (auto m = unknown_key(j, entry_keys)) return m;
  if (auto m = read_string(j, "name", e.name)) return m;
  std::string word;
  if (auto m = read_string(j, "kind", word)) return m;
  const KindInfo* kind = nullptr;
  for (const KindInfo& k : entry_kinds)
    if (k.word == word) kind = &k;
  if (kind == nullptr) return "未知的类型 " + in_quotes(word) + "（应为 “beam” 或 “stair”）";
  e.kind = kind->kind;
  auto texts = j.find("texts");
  if (texts == j.end()) return "缺少 “texts”";
  if (!texts->is_object()) return wrong_type("texts", "对象", *texts);
  if (auto m = read_texts(*texts, e.kind, e)) return m;
  return read_string(j, "note", e.note);
}

std::variant<Book, Fault> book_from_json(const json& j) {
  if (!j.is_object())
    return Fault{std::string("不是计算书：文件内容应为 JSON 对象，却是") + type_word(j)};
  std::string format;
  if (read_string(j, "format", format) || format != book_format)
    return Fault{"不是 loadcalc 计算书：“format” 应为 “loadcalc-book”"};
  auto version = j.find("version");
  if (version == j.end()) return Fault{"缺少 “version”"};
  if (!version->is_number_integer()) return Fault{wrong_type("version", "整数", *version)};
  if (version->get<std::int64_t>() > format_version)
    return Fault{"此计算书由较新版本的 loadcalc 写成（格式版本 " +
                 std::to_string(version->get<std::int64_t>()) + "），本程序只能读取格式版本 1"};
  if (version->get<std::int64_t>() < format_version)
    return Fault{"格式版本 " + std::to_string(version->get<std::int64_t>()) + " 无效"};
  constexpr std::array<std::string_view, 4> top_keys{"format", "version", "project", "entries"};
  if (auto m = unknown_key(j, top_keys)) return Fault{*m};

  Book book;
  auto project = j.find("project");
  if (project == j.end()) return Fault{"缺少 “project”"};
  if (!project->is_object()) return Fault{wrong_type("project", "对象", *project)};
  if (auto m = read_project(*project, book.project)) return Fault{"工程信息：" + *m};

  auto entries = j.find("entries");
  if (entries == j.end()) return Fault{"缺少 “entries”"};
  if (!entries->is_array()) return Fault{wrong_type("entries", "数组", *entries)};
  if (entries->size() > max_book_entries)
    return Fault{"计算书有 " + std::to_string(entries->size()) + " 条计算，超过上限 " +
                 std::to_string(max_book_entries) + " 条"};
  book.entries.reserve(entries->size());
  for (std::size_t i = 0; i < entries->size(); ++i) {
    Entry e;
    if (auto m = read_entry((*entries)[i], e))
      return Fault{"第 " + std::to_string(i + 1) + " 条计算：" + *m};
    book.entries.push_back(std::move(e));
  }
  return book;
}

std::variant<json, Fault> parse(std::string_view bytes) {
  if (bytes.size() > max_book_bytes)
    return Fault{"文件过大（超过 " + std::to_string(max_book_bytes / (1024 * 1024)) +
                 " MB），未读取"};
  if (bytes.empty()) return Fault{"文件是空的"};
  if (auto at = bad_utf8_at(bytes))
    return Fault{"文件不是 UTF-8 文本（第 " + std::to_string(*at + 1) + " 字节）"};
  try {
    return json::parse(bytes.begin(), bytes.end());
  } catch (const json::parse_error& e) {
    if (e.byte >= bytes.size())
      return Fault{"文件不完整：在第 " + std::to_string(e.byte) + " 字节处意外结束"};
    return Fault{"文件不是有效的 JSON（第 " + std::to_string(e.byte) + " 字节处）"};
  } catch (const json::exception&) {
    return Fault{"文件不是有效的 JSON（数值超出范围）"};
  }
}

// ---- files ----

std::optional<std::string> read_file(const std::filesystem::path& path, std::string& out) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) return "找不到文件 " + in_quotes(utf8(path));
  if (!std::filesystem::is_regular_file(status)) return in_quotes(utf8(path)) + " 不是文件";
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return "无法读取 " + in_quotes(utf8(path));
  if (size > max_book_bytes)
    return "文件过大（" + std::to_string(size / (1024 * 1024)) + " MB，超过 " +
           std::to_string(max_book_bytes / (1024 * 1024)) + " MB），未读取";
  std::ifstream in(path, std::ios::binary);
  if (!in) return "无法打开 " + in_quotes(utf8(path));
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) return "读取 " + in_quotes(utf8(path)) + " 时出错";
  out = std::move(buf).str();
  // It may have grown since it was measured.
  if (out.size() > max_book_bytes)
    return "文件过大（超过 " + std::to_string(max_book_bytes / (1024 * 1024)) + " MB），未读取";
  return std::nullopt;
}

// The data reach the disk before the rename makes them the file: otherwise a crash soon after a
// save could leave an empty file where the old one was.
bool sync_to_disk(const std::filesystem::path& path) {
#ifdef _WIN32
  (void)path;
  return true;
#else
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
#endif
}

std::optional<std::string> write_whole(const std::filesystem::path& path, std::string_view data,
                                       bool sync) {
  namespace fs = std::filesystem;
  const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
  std::random_device rd;
  const fs::path tmp =
      dir / (path.filename().native() + fs::path(".tmp" + std::to_string(rd() % 1000000)).native());
  const std::string failed = "无法保存到 " + in_quotes(utf8(path)) + "：";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out)
      return failed + "无法在 " + in_quotes(utf8(dir)) + " 中创建文件（文件夹不存在或不可写）";
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.flush();
    out.close();
    if (!out || (sync && !sync_to_disk(tmp))) {
      std::error_code ignored;
      fs::remove(tmp, ignored);
      return failed + "写入失败（磁盘可能已满）";
    }
  }
  std::error_code ec;
  fs::rename(tmp, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(tmp, ignored);
    return failed + "无法替换原文件（" + ec.message() + "）";
  }
  return std::nullopt;
}

}  // namespace

std::string write_book(const Book& book) {
  return dump(to_json(book));
}

std::variant<Book, ReadError> read_book(std::string_view bytes) {
  auto parsed = parse(bytes);
  if (auto* f = std::get_if<Fault>(&parsed)) return ReadError{std::move(f->message)};
  auto book = book_from_json(std::get<json>(parsed));
  if (auto* f = std::get_if<Fault>(&book)) return ReadError{std::move(f->message)};
  return std::get<Book>(std::move(book));
}

std::optional<std::string> save_book(const std::filesystem::path& path, const Book& book) {
  return replace_file(path, write_book(book));
}

std::optional<std::string> replace_file(const std::filesystem::path& path, std::string_view data) {
  return write_whole(path, data, true);
}

std::optional<std::string> read_whole_file(const std::filesystem::path& path, std::string& out) {
  return read_file(path, out);
}

std::variant<Book, ReadError> load_book(const std::filesystem::path& path) {
  std::string bytes;
  if (auto m = read_file(path, bytes)) return ReadError{std::move(*m)};
  return read_book(bytes);
}

std::optional<std::string> write_recovery(const std::filesystem::path& copy, const Book& book,
                                          const std::filesystem::path& original) {
  // Written after every change while the user types, so not waited on to reach the disk: the
  // rename alone keeps a crash of the program from leaving half a copy, and a copy lost to a
  // power failure is only not offered.
  return write_whole(copy,
                     dump(ordered{{"format", std::string(recovery_format)},
                                  {"version", format_version},
                                  {"original", utf8(original)},
                                  {"book", to_json(book)}}),
                     false);
}

std::optional<Recovery> read_recovery(const std::filesystem::path& copy) {
  std::string bytes;
  if (read_file(copy, bytes)) return std::nullopt;
  auto parsed = parse(bytes);
  const json* j = std::get_if<json>(&parsed);
  if (j == nullptr || !j->is_object()) return std::nullopt;
  const auto format = j->find("format");
  const auto version = j->find("version");
  const auto original = j->find("original");
  if (format == j->end() || *format != recovery_format || version == j->end() ||
      *version != format_version || original == j->end() || !original->is_string() ||
      !j->contains("book"))
    return std::nullopt;
  auto book = book_from_json(j->at("book"));
  if (!std::holds_alternative<Book>(book)) return std::nullopt;
  const std::string o = original->get<std::string>();
  return Recovery{std::get<Book>(std::move(book)),
                  std::filesystem::path(std::u8string(o.begin(), o.end()))};
}

void discard_recovery(const std::filesystem::path& copy) {
  std::error_code ignored;
  std::filesystem::remove(copy, ignored);
}

}  // namespace loadcalc
