// Conversion between the rules' byte texts and QString.
#include "qtext.h"

#include <QStringDecoder>

namespace gd {

QString ToQ(const std::string& text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(QByteArrayView(text.data(), qsizetype(text.size())));
    if (!utf8.hasError()) return decoded;
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

std::string FromQ(const QString& text) {
    return text.toStdString();
}

}  // namespace gd
