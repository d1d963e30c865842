#pragma once
#include <QString>

// The sources are UTF-8; Chinese captions, messages and SQL texts are written
// as S("...").
inline QString S(const char *utf8) { return QString::fromUtf8(utf8); }
