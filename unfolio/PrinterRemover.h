#pragma once

#include <string>

namespace unfolio {

// Deletes a CUPS queue through libcups, on the server libcups is set up to
// use (CUPS_SERVER, client.conf, else the local scheduler).
class PrinterRemover
{
public:
    PrinterRemover();

    // True when the server answers for a queue of that name.
    bool Exists(const std::string& name) const;

    // Deletes the queue when it exists; a missing queue, a missing server or
    // a refusal is passed over.
    void Delete(const std::string& name) const;

private:
    std::string QueueUri(const std::string& name) const;
};

} // namespace unfolio
