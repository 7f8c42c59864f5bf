#include "officehost/TaggedExportOptions.h"

#include "officehost/UnoText.h"

#include <vector>

using namespace css;

uno::Sequence<beans::PropertyValue>
TaggedExportOptions(const uno::Sequence<beans::PropertyValue>& printerOptions, const TaggedExportJob& job)
{
    const std::vector<beans::PropertyValue> tagged{
        Property("UseTaggedPDF", uno::Any(true)),
        Property("PDFUACompliance", uno::Any(true)),
        Property("ExportBookmarks", uno::Any(true)),
        Property("ExportFormFields", uno::Any(true)),
        // Form fields submit as PDF, so a reader fills and saves them in the file.
        Property("FormsType", uno::Any(sal_Int32(1))),
        Property("UseLosslessCompression", uno::Any(job.losslessImages)),
        Property("Quality", uno::Any(job.imageQuality)),
        Property("SelectPdfVersion", uno::Any(job.pdfVersion)),
    };
    std::vector<beans::PropertyValue> options;
    for (const beans::PropertyValue& option : printerOptions) {
        bool replaced = false;
        for (const beans::PropertyValue& t : tagged)
            replaced = replaced || t.Name == option.Name;
        if (!replaced)
            options.push_back(option);
    }
    options.insert(options.end(), tagged.begin(), tagged.end());
    return uno::Sequence<beans::PropertyValue>(options.data(), static_cast<sal_Int32>(options.size()));
}
