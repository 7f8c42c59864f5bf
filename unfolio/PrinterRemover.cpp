#include "PrinterRemover.h"

#include <cups/cups.h>

namespace unfolio {

namespace {

// The tool never asks for a password: it runs unattended, and a prompt on the
// terminal would be the only thing it ever printed there.
const char* NoPassword(const char*, http_t*, const char*, const char*, void*)
{
    return nullptr;
}

ipp_t* NewRequest(ipp_op_t operation, const std::string& uri)
{
    ipp_t* request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

// Sends the request and reports whether the server carried it out.
bool Send(ipp_t* request, const char* resource)
{
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, resource);
    const bool done = response != nullptr && ippGetStatusCode(response) <= IPP_STATUS_OK_EVENTS_COMPLETE;
    ippDelete(response);
    return done;
}

} // namespace

PrinterRemover::PrinterRemover()
{
    cupsSetPasswordCB2(NoPassword, nullptr);
}

bool PrinterRemover::Exists(const std::string& name) const
{
    ipp_t* request = NewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, QueueUri(name));
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-name");
    return Send(request, "/");
}

void PrinterRemover::Delete(const std::string& name) const
{
    if (Exists(name))
        Send(NewRequest(IPP_OP_CUPS_DELETE_PRINTER, QueueUri(name)), "/admin/");
}

std::string PrinterRemover::QueueUri(const std::string& name) const
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof(uri), "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", name.c_str());
    return uri;
}

} // namespace unfolio
