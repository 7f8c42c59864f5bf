#include "cli/CliMessageBoxes.h"

#include "cli/CliPage.h"

#include <cstdio>

int CliMessageBoxes::Show(const MessageBoxRequest& request)
{
    if (CliPage* page = CliPage::Current())
        return page->Answer(request.text, request.type);
    std::fprintf(stderr, "foliant-convert: %s\n", qPrintable(request.text.simplified()));
    return DismissAnswer(request.type);
}
