// Texts between the engine's UTF-8 strings and Qt's.
#pragma once

#include <QString>
#include <string_view>

namespace tavrix::screens {

// A UTF-8 text as a QString.
inline QString FromUtf8(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A caption kept with CR LF line ends, as a label shows it.
inline QString Lines(std::string_view crlf) {
  return FromUtf8(crlf).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace tavrix::screens
