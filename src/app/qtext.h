// Conversion between the single-byte texts of the rules and files and the windows' QString.
#pragma once

#include <QString>
#include <string>

namespace gd {

// UTF-8 when the bytes are valid UTF-8, otherwise Latin-1, so no byte is ever lost on screen.
QString ToQ(const std::string& text);
std::string FromQ(const QString& text);

}  // namespace gd
