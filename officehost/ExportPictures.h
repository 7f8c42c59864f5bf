#pragma once

#include <QString>

#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

// The pictures of a document as its PDF export takes them. The export passes
// a JPEG on with its own data only when it may store pictures lossily, and
// then it would store other bitmaps as JPEG too where that is smaller; PNGs it
// always keeps lossless. So before such an export every bitmap that is
// neither JPEG nor PNG becomes a PNG: JPEGs go out as they are, every other
// bitmap without loss.
class ExportPictures
{
public:
    // True when the document holds a JPEG picture; its other bitmaps are PNGs
    // then. folder: where the office may write (a PNG passes through a file there).
    static bool PrepareToKeepJpegs(const css::uno::Reference<css::uno::XComponentContext>& context,
                                   const css::uno::Reference<css::lang::XComponent>& document,
                                   const QString& folder);
};
