#pragma once
// The tables hold UTF-8 string views; Qt wants QString. And what the user typed, made safe for
// the places where Qt would otherwise guess that a text is HTML.

#include <QString>
#include <string_view>

namespace loadcalc::ui {

inline QString qstring(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A tooltip guesses: a text with a tag on its first line is read as HTML, so a member called
// "<b>粗</b>" would show bold and an <img> would load a file. Escaped inside a paragraph it is
// always HTML that says exactly what was typed, and a long one wraps instead of running off.
inline QString plain_tooltip(const QString& text) {
  return QStringLiteral("<p>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

// A window title marks unsaved changes where it says "[*]"; a file whose own name says it is
// shown as named (Qt reads "[*][*]" as the characters themselves).
inline QString plain_title(QString text) {
  return text.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

// A menu item underlines the letter after '&' and hides the '&': a file called "A&B" must not
// lose it.
inline QString plain_menu_text(QString text) {
  return text.replace(u'&', QStringLiteral("&&"));
}

}  // namespace loadcalc::ui
