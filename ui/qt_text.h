#pragma once
// The tables hold UTF-8 string views; Qt wants QString.

#include <QString>
#include <string_view>

namespace loadcalc::ui {

inline QString qstring(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace loadcalc::ui
