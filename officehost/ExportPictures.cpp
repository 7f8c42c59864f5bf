#include "officehost/ExportPictures.h"

#include "officehost/UnoText.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/beans/XPropertySetInfo.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/drawing/XDrawPageSupplier.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/drawing/XMasterPagesSupplier.hpp>
#include <com/sun/star/graphic/GraphicType.hpp>
#include <com/sun/star/graphic/XGraphic.hpp>
#include <com/sun/star/graphic/XGraphicProvider.hpp>
#include <com/sun/star/io/XInputStream.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/text/XTextGraphicObjectsSupplier.hpp>
#include <com/sun/star/uno/Exception.hpp>

#include <QFile>
#include <QTemporaryFile>

#include <vector>

using namespace css;

namespace {

// Every object that holds a picture ("Graphic"): shapes on every page, in groups too.
void Collect(const uno::Reference<uno::XInterface>& object,
             std::vector<uno::Reference<beans::XPropertySet>>& found, int depth = 0)
{
    if (!object.is() || depth > 16)
        return;
    uno::Reference<beans::XPropertySet> properties(object, uno::UNO_QUERY);
    if (properties.is()) {
        uno::Reference<beans::XPropertySetInfo> info = properties->getPropertySetInfo();
        if (info.is() && info->hasPropertyByName("Graphic"))
            found.push_back(properties);
    }
    uno::Reference<container::XIndexAccess> items(object, uno::UNO_QUERY);
    for (sal_Int32 i = 0; items.is() && i < items->getCount(); ++i) {
        uno::Reference<uno::XInterface> item;
        items->getByIndex(i) >>= item;
        Collect(item, found, depth + 1);
    }
}

std::vector<uno::Reference<beans::XPropertySet>>
PictureHolders(const uno::Reference<lang::XComponent>& document)
{
    std::vector<uno::Reference<beans::XPropertySet>> found;
    // A text document's one drawing page: the interface is marked deprecated
    // but is the only way to it.
    uno::Reference<drawing::XDrawPageSupplier> drawPage(document, uno::UNO_QUERY);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (drawPage.is())
        Collect(drawPage->getDrawPage(), found);
#pragma GCC diagnostic pop
    uno::Reference<drawing::XDrawPagesSupplier> drawPages(document, uno::UNO_QUERY);
    if (drawPages.is())
        Collect(drawPages->getDrawPages(), found);
    uno::Reference<drawing::XMasterPagesSupplier> masterPages(document, uno::UNO_QUERY);
    if (masterPages.is())
        Collect(masterPages->getMasterPages(), found);
    uno::Reference<text::XTextGraphicObjectsSupplier> textGraphics(document, uno::UNO_QUERY);
    if (textGraphics.is()) {
        const uno::Reference<container::XNameAccess> named = textGraphics->getGraphicObjects();
        for (const rtl::OUString& name : named->getElementNames()) {
            uno::Reference<beans::XPropertySet> picture(named->getByName(name), uno::UNO_QUERY);
            if (picture.is())
                found.push_back(picture);
        }
    }
    return found;
}

rtl::OUString MimeType(const uno::Reference<graphic::XGraphic>& graphic, sal_Int8* type)
{
    uno::Reference<beans::XPropertySet> properties(graphic, uno::UNO_QUERY);
    rtl::OUString mime;
    *type = graphic::GraphicType::EMPTY;
    if (properties.is()) {
        properties->getPropertyValue("MimeType") >>= mime;
        properties->getPropertyValue("GraphicType") >>= *type;
    }
    return mime;
}

// The picture as a PNG, or null.
uno::Reference<graphic::XGraphic> AsPng(const uno::Reference<uno::XComponentContext>& context,
                                        const uno::Reference<graphic::XGraphicProvider>& provider,
                                        const uno::Reference<graphic::XGraphic>& graphic,
                                        const QString& folder)
{
    QTemporaryFile file(folder + QStringLiteral("/.picture-XXXXXX.png"));
    if (!file.open())
        return {};
    file.close();
    const beans::PropertyValue target[] = {Property("URL", uno::Any(FileUrl(file.fileName()))),
                                           Property("MimeType", uno::Any(rtl::OUString("image/png")))};
    provider->storeGraphic(graphic, uno::Sequence<beans::PropertyValue>(target, 2));
    if (!file.open())
        return {};
    const QByteArray png = file.readAll();
    if (png.isEmpty())
        return {};
    // Read from memory, so the picture does not hang on the file.
    const uno::Sequence<sal_Int8> bytes(reinterpret_cast<const sal_Int8*>(png.constData()),
                                        sal_Int32(png.size()));
    const uno::Any argument(bytes);
    uno::Reference<io::XInputStream> stream(
        context->getServiceManager()->createInstanceWithArgumentsAndContext(
            "com.sun.star.io.SequenceInputStream", uno::Sequence<uno::Any>(&argument, 1), context),
        uno::UNO_QUERY);
    if (!stream.is())
        return {};
    const beans::PropertyValue source = Property("InputStream", uno::Any(stream));
    return provider->queryGraphic(uno::Sequence<beans::PropertyValue>(&source, 1));
}

} // namespace

bool ExportPictures::PrepareToKeepJpegs(const uno::Reference<uno::XComponentContext>& context,
                                        const uno::Reference<lang::XComponent>& document,
                                        const QString& folder)
{
    try {
        const std::vector<uno::Reference<beans::XPropertySet>> holders = PictureHolders(document);
        std::vector<std::pair<uno::Reference<beans::XPropertySet>, uno::Reference<graphic::XGraphic>>> others;
        bool jpeg = false;
        for (const uno::Reference<beans::XPropertySet>& holder : holders) {
            uno::Reference<graphic::XGraphic> graphic;
            holder->getPropertyValue("Graphic") >>= graphic;
            if (!graphic.is())
                continue;
            sal_Int8 type = graphic::GraphicType::EMPTY;
            const rtl::OUString mime = MimeType(graphic, &type);
            if (mime == "image/jpeg")
                jpeg = true;
            else if (type == graphic::GraphicType::PIXEL && mime != "image/png")
                others.emplace_back(holder, graphic);
        }
        if (!jpeg || !context.is())
            return false;
        uno::Reference<graphic::XGraphicProvider> provider(
            context->getServiceManager()->createInstanceWithContext("com.sun.star.graphic.GraphicProvider",
                                                                    context),
            uno::UNO_QUERY);
        if (!provider.is())
            return false;
        for (const auto& [holder, graphic] : others) {
            const uno::Reference<graphic::XGraphic> png = AsPng(context, provider, graphic, folder);
            if (!png.is())
                return false; // that picture would not be kept lossless: nothing is passed on
            holder->setPropertyValue("Graphic", uno::Any(png));
        }
        return true;
    } catch (const uno::Exception&) {
        return false;
    }
}
