#pragma once

#include <QString>
#include <QStringList>

// The values the Advanced page offers, in the order its boxes list them; the
// first of each is the page's default. The command line takes the same ones.
namespace advancedchoices {

// The archival version, the last of the versions offered.
inline const QString kPdfA2bVersion = QStringLiteral("PDF/A-2b");

inline const QStringList kDocumentCompressions{QStringLiteral("Flate"), QStringLiteral("LZW")};
inline const QStringList kImageCompressions{QStringLiteral("Flate"), QStringLiteral("JPEG"),
                                            QStringLiteral("Automatic")};
inline const QStringList kJpegQualities{QStringLiteral("Minimum"), QStringLiteral("Low"),
                                        QStringLiteral("Medium"), QStringLiteral("High"),
                                        QStringLiteral("Maximum")};
inline const QStringList kPdfVersions{QStringLiteral("V1.3(Acrobat 4.xx)"),
                                      QStringLiteral("V1.4"),
                                      QStringLiteral("V1.5"),
                                      QStringLiteral("V1.6"),
                                      QStringLiteral("V1.7"),
                                      kPdfA2bVersion};

} // namespace advancedchoices
