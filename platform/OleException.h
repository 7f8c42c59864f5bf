#pragma once

#include "platform/Variant.h"

#include <QString>

#include <exception>
#include <string>

// Failures of automation calls, thrown by value. A converter's one catch-all
// catches CException (or anything). COleException: the call could not be
// made or answered (server gone, time limit passed). COleDispatchException:
// the server answered with an error.
class CException : public std::exception
{
public:
    explicit CException(const QString& description) : m_what(description.toStdString()) {}
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    std::string m_what;
};

class COleException : public CException
{
public:
    COleException(SCODE sc, const QString& description) : CException(description), m_sc(sc) {}
    SCODE m_sc;
};

class COleDispatchException : public CException
{
public:
    COleDispatchException(SCODE scError, const QString& description)
        : CException(description), m_scError(scError), m_strDescription(description)
    {
    }
    SCODE m_scError;
    QString m_strDescription;
};
