#pragma once
// The project a calculation belongs to: the texts that head its pages and sign them. One table
// gives each its key where texts are stored by name (a book's file), its caption and its place;
// the book's file, its window and exports, and the printed sheet all read them from it, in its
// order.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "calc/table.h"

namespace loadcalc {

// Each text as typed; an empty one is shown blank, or as a line to sign on.
struct Project {
  std::string name;
  std::string number;
  std::string subitem;
  std::string designer;
  std::string checker;
  std::string approver;
  std::string date;  // no date format is imposed

  friend bool operator==(const Project&, const Project&) = default;
};

struct ProjectFieldInfo {
  std::string Project::*member;
  std::string_view key;
  std::string_view caption;
  bool signs;  // on the signature line (who computed, checked and approved, and when), not atop
};

// clang-format off
inline constexpr std::array project_fields = std::to_array<ProjectFieldInfo>({
  {&Project::name,     "name",     "工程名称", false},
  {&Project::number,   "number",   "工程编号", false},
  {&Project::subitem,  "subitem",  "子项",     false},
  {&Project::designer, "designer", "计算",     true},
  {&Project::checker,  "checker",  "校对",     true},
  {&Project::approver, "approver", "审核",     true},
  {&Project::date,     "date",     "日期",     true},
});
// clang-format on
inline constexpr std::size_t project_field_count = std::size(project_fields);
static_assert(sizeof(Project) == project_field_count * sizeof(std::string),
              "a row for each text of a project");

constexpr const ProjectFieldInfo& project_field(std::string Project::*member) {
  return row_where(project_fields, &ProjectFieldInfo::member, member);
}

}  // namespace loadcalc
