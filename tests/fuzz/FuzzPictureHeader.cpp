// A picture's header is measured before it is decoded: any bytes under any
// picture name give a picture or a reason, never a crash or a decode past
// the size limit.
#include "platform/CImage.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir& Folder()
{
    static QTemporaryDir folder;
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The image plugins (JPEG, GIF, TIFF, WebP) are found through the application.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the name's extension; the reader looks at the bytes too.
    static const char* const kNames[] = {"p.png", "p.jpg", "p.bmp", "p.gif", "p.tif", "p.webp"};
    const QString path = Folder().filePath(QString::fromLatin1(kNames[data[0] % 6]));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data + 1), static_cast<qint64>(size - 1));
    file.close();
    CImage image;
    const bool loaded = image.Load(path);
    if (loaded && (image.IsNull() || qint64(image.GetWidth()) * image.GetHeight() > CImage::kMaxPixels))
        std::abort();
    if (!loaded && image.ErrorText().isEmpty())
        std::abort();
    QFile::remove(path);
    return 0;
}
