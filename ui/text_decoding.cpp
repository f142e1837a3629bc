#include "ui/text_decoding.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace loadcalc::ui {
namespace {

// Every decoder here is stateless: a stateful one keeps a sequence cut off at the end for the
// next call, and so would pass a truncated file as well-formed.

QByteArrayView view(std::string_view s) {
  return {s.data(), static_cast<qsizetype>(s.size())};
}

// The text in the given encoding, or none where a byte sequence is not of it.
std::variant<std::string, DecodeError> decoded(std::string_view bytes,
                                               QStringConverter::Encoding encoding,
                                               std::string_view name) {
  QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
  const QString text = decoder(view(bytes));
  if (decoder.hasError())
    return DecodeError{"文件开头标明是 " + std::string(name) + " 文本，内容却不是"};
  return text.toStdString();
}

bool valid_utf8(std::string_view bytes) {
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  [[maybe_unused]] const QString text = decoder(view(bytes));
  return !decoder.hasError();
}

constexpr std::string_view neither = "文件既不是 UTF-8 文本，也不是 GBK 文本，无法读取";

#ifdef _WIN32
std::variant<std::string, DecodeError> from_gbk(std::string_view bytes) {
  constexpr UINT gbk = 936;
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(gbk, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (n <= 0) return DecodeError{std::string(neither)};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(gbk, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), n);
  return QString::fromStdWString(wide).toStdString();
}
#else
std::variant<std::string, DecodeError> from_gbk(std::string_view bytes) {
  QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
  if (!decoder.isValid()) return DecodeError{"本机的 Qt 不能解读 GBK 文本（缺少 ICU）"};
  const QString text = decoder(view(bytes));
  if (decoder.hasError()) return DecodeError{std::string(neither)};
  return text.toStdString();
}
#endif

}  // namespace

std::variant<std::string, DecodeError> decode_text(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return decoded(bytes, QStringConverter::Utf8, "UTF-8");
  if (bytes.starts_with("\xFF\xFE")) return decoded(bytes, QStringConverter::Utf16LE, "UTF-16");
  if (bytes.starts_with("\xFE\xFF")) return decoded(bytes, QStringConverter::Utf16BE, "UTF-16");
  // Chinese text in GBK is almost never also well-formed UTF-8, and plain ASCII is both.
  if (valid_utf8(bytes)) return std::string(bytes);
  return from_gbk(bytes);
}

}  // namespace loadcalc::ui
