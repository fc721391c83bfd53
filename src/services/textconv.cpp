#include "services/textconv.h"

#include "scenario/text.h"

namespace qrn {

QString fromCp932(std::string_view bytes) {
    const std::string utf8 = cp932ToUtf8Lossy(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toCp932(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (auto whole = utf8ToCp932(std::string_view(utf8.constData(), utf8.size()))) return *whole;
    // Some character has no cp932 form: convert one character at a time.
    std::string out;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray one = text.mid(i, n).toUtf8();
        if (auto c = utf8ToCp932(std::string_view(one.constData(), one.size())))
            out += *c;
        else
            out += '?';
        i += n;
    }
    return out;
}

bool fitsCp932(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return utf8ToCp932(std::string_view(utf8.constData(), utf8.size())).has_value();
}

}  // namespace qrn
