#include "qt_text.h"

namespace app {

QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toStdString(const QString& text) {
    return text.toStdString();
}

} // namespace app
