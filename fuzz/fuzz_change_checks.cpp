// Arbitrary sequences of writes, recalculations and silent loads on an in-memory sheet after
// start-up. After every step: both captions are results or failure texts, every field whose check
// has run since it was last loaded holds a text its own rules accept, and a check nests at most
// once (the reset's write), never deeper.
#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "calc/calculations.h"
#include "calc/memory_sheet.h"
#include "calc/startup.h"
#include "checks/checks.h"
#include "fuzz_check.h"

namespace {

using namespace loadcalc;

// clang-format off
constexpr std::string_view dictionary[] = {
  "", " ", ".", "-", "+", "0", "00", "01", "02", "03", "04", "05", "06", "07", "08", "09", "0..",
  "0.", "0.0", "-1", "-0.1", "1", "2", "2.0", "2.2", "3", "4", "4.0", "0.45", "0.5", "0.50", "1.99",
  "2.01", "3.6", "10", "9.99", "22.0", "50", "100", "130", "160", "199.99", "200", "280", "300",
  "349.9", "350", "1e999", "-1e999", "1e-999", "&H10", "&O7", "３．５", "－１", "０１", "１e９９９",
  "\xE3\x80\x80", "12abc", "01.5", "1e", "Text11", "中文", "\xEF\xBC", "\x80",
};
// clang-format on
constexpr std::size_t dictionary_size = std::size(dictionary);

struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::uint8_t next() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
  // A dictionary word, two of them joined, or up to 31 raw bytes.
  std::string text() {
    const std::uint8_t b = next();
    if (b < 0xC0) return std::string(dictionary[b % dictionary_size]);
    if (b >= 0xE0) {
      std::string joined(dictionary[next() % dictionary_size]);
      return joined.append(dictionary[next() % dictionary_size]);
    }
    const std::size_t n = std::min<std::size_t>(b & 0x1F, size);
    std::string raw(reinterpret_cast<const char*>(data), n);
    data += n;
    size -= n;
    return raw;
  }
};

int depth = 0;
std::array<bool, field_count> checked{};

void tracked_check(Sheet& sheet, Field f) {
  FUZZ_ASSERT(++depth <= 2);
  change_check(sheet, f);
  checked[index_of(f)] = true;
  --depth;
}

bool caption_ok(const MemorySheet& sheet, ResultLabel l) {
  const std::string& c = sheet.caption(l);
  return c == failure_text(CalcStatus::zero_divisor) ||
         c == failure_text(CalcStatus::out_of_range) ||
         fuzz::well_formed_caption(c, result_info(l).unit);
}

void check_invariants(const MemorySheet& sheet) {
  FUZZ_ASSERT(depth == 0);
  for (const CalculationInfo& c : calculations) FUZZ_ASSERT(caption_ok(sheet, c.label));
  for (const FieldInfo& info : fields) {
    if (!checked[index_of(info.field)]) continue;
    const std::string text = sheet.text(info.field);
    if (find_range_rule(info.field)) {
      FUZZ_ASSERT(!range_check(info.field, text));
    } else {
      FUZZ_ASSERT(!value_check(info.field, text));
      FUZZ_ASSERT(!leading_zero_guard(text));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  checked.fill(false);
  MemorySheet sheet(tracked_check);
  Form_Load(sheet);
  check_invariants(sheet);

  while (in.size > 0) {
    const std::uint8_t op = in.next();
    const Field f = field_at(in.next() % field_count);
    switch (op % 4) {
      case 0:
      case 1:
        sheet.set_text(f, in.text());
        break;
      case 2:
        run_calculation(sheet, calculations[(op >> 2) % calculations.size()].id);
        break;
      default:
        sheet.load(f, in.text());
        checked[index_of(f)] = false;
        break;
    }
    check_invariants(sheet);
    // The record of effects is for the tests; here it would only grow.
    sheet.clear_effects();
  }
  return 0;
}
