#pragma once

#include "platform/TaggedExportJob.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Sequence.hxx>

// The export options of a tagged job: the printer's own options, with the
// structure tree and PDF/UA-1, bookmarks and fillable form fields, and the
// job's image and version choices in place of the printer's. LibreOffice's
// PDF is then the final PDF, so nothing of it may depend on a later step.
css::uno::Sequence<css::beans::PropertyValue>
TaggedExportOptions(const css::uno::Sequence<css::beans::PropertyValue>& printerOptions,
                    const TaggedExportJob& job);
