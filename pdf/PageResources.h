#pragma once

#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <vector>

// The resource dictionaries a page draws with: the page's own (inherited
// where it has none of its own) and those of its annotations' appearance
// streams, each stream once. Forms inside them are the caller's to follow.
class PageResources
{
public:
    static std::vector<QPDFObjectHandle> Of(QPDFPageObjectHelper& page);
};
