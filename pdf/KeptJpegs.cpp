#include "pdf/KeptJpegs.h"

#include <QByteArrayMatcher>
#include <QFile>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <algorithm>
#include <cstring>

namespace {

const QByteArray kDoubledEnd("\xFF\xD9\xFF\xD9", 4);

bool IsJpegStream(QPDFObjectHandle& object)
{
    if (!object.isStream())
        return false;
    QPDFObjectHandle filter = object.getDict().getKey("/Filter");
    if (filter.isArray() && filter.getArrayNItems() == 1)
        filter = filter.getArrayItem(0);
    return filter.isNameAndEquals("/DCTDecode");
}

} // namespace

namespace keptjpegs {

bool Kept(const ConversionSettings& settings)
{
    return settings.imageCompression != ImageCompression::Jpeg;
}

QString GhostscriptSwitch(const ConversionSettings& settings)
{
    return Kept(settings) ? QStringLiteral("-dPassThroughJPEGImages=true")
                          : QStringLiteral("-dPassThroughJPEGImages=false");
}

bool HasDoubledEnds(const QString& pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly) || file.size() < kDoubledEnd.size())
        return false;
    const uchar* bytes = file.map(0, file.size());
    if (!bytes)
        return false;
    const QByteArrayMatcher matcher(kDoubledEnd);
    const QByteArrayView all(reinterpret_cast<const char*>(bytes), file.size());
    // The marker pair right before the stream's end (after an optional line end).
    for (qsizetype at = matcher.indexIn(all); at >= 0; at = matcher.indexIn(all, at + 1)) {
        const qsizetype from = at + kDoubledEnd.size();
        const QByteArrayView after = all.sliced(from, std::min<qsizetype>(11, all.size() - from));
        if (after.startsWith("\nendstream") || after.startsWith("\r\nendstream") ||
            after.startsWith("endstream"))
            return true;
    }
    return false;
}

int TrimDoubledEnds(QPDF& pdf)
{
    int trimmed = 0;
    for (QPDFObjectHandle& object : pdf.getAllObjects()) {
        if (!IsJpegStream(object))
            continue;
        const std::shared_ptr<Buffer> data = object.getRawStreamData();
        const size_t size = data->getSize();
        const unsigned char* bytes = data->getBuffer();
        if (size < 8 || std::memcmp(bytes + size - 4, kDoubledEnd.constData(), 4) != 0)
            continue;
        QPDFObjectHandle dictionary = object.getDict();
        object.replaceStreamData(std::string(reinterpret_cast<const char*>(bytes), size - 2),
                                 dictionary.getKey("/Filter"), dictionary.getKey("/DecodeParms"));
        ++trimmed;
    }
    return trimmed;
}

} // namespace keptjpegs
