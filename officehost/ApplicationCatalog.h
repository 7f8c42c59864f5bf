#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class HostApplication;
class LibreOffice;
class PrintSpooler;

// The applications the host serves, by ProgID, with the process name each
// runs under.
struct ServedApplication
{
    QString processName;
    std::function<std::shared_ptr<HostApplication>(LibreOffice&, PrintSpooler&)> create;
};

std::optional<ServedApplication> FindServedApplication(const QString& progId);
