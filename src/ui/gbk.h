#pragma once
// The one place where GBK text meets Unicode: widgets show QString, the rest of
// the program works on GBK bytes.

#include <QString>

#include "web/text.h"

namespace shop {

// Invalid GBK bytes are shown as the replacement character.
QString from_gbk(const Text& text);
// A character that GBK cannot hold becomes "?".
Text to_gbk(const QString& text);

}  // namespace shop
