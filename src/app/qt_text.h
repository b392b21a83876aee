#pragma once

#include <QString>

#include <string>
#include <string_view>

// The one place where the core's UTF-8 texts and Qt's strings meet.
namespace app {

QString toQString(std::string_view utf8);
std::string toStdString(const QString& text);

} // namespace app
