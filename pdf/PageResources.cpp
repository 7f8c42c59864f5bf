#include "pdf/PageResources.h"

#include <set>

std::vector<QPDFObjectHandle> PageResources::Of(QPDFPageObjectHelper& page)
{
    std::vector<QPDFObjectHandle> found{page.getAttribute("/Resources", false)};
    std::set<QPDFObjGen> seen;
    QPDFObjectHandle annotations = page.getObjectHandle().getKey("/Annots");
    for (QPDFObjectHandle annotation :
         annotations.isArray() ? annotations.getArrayAsVector() : std::vector<QPDFObjectHandle>{}) {
        QPDFObjectHandle appearance =
            annotation.isDictionary() ? annotation.getKey("/AP") : QPDFObjectHandle();
        if (!appearance.isDictionary())
            continue;
        // Each appearance (normal, rollover, down) is a stream, or a
        // dictionary of streams by state.
        for (auto [key, state] : appearance.getDictAsMap()) {
            std::vector<QPDFObjectHandle> streams;
            if (state.isStream())
                streams.push_back(state);
            else if (state.isDictionary())
                for (auto [name, stream] : state.getDictAsMap())
                    streams.push_back(stream);
            for (QPDFObjectHandle stream : streams)
                if (stream.isStream() && (!stream.isIndirect() || seen.insert(stream.getObjGen()).second))
                    found.push_back(stream.getDict().getKey("/Resources"));
        }
    }
    return found;
}
