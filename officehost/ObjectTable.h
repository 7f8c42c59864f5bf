#pragma once

#include "platform/Variant.h"

#include <QHash>

// The host's numbers for the objects its client holds, counted like COM
// references: each time an object goes out in an answer it gains one, each
// Release from the client takes one, and at none the number is forgotten.
class ObjectTable
{
public:
    // The object's number, counting one more reference to it.
    quint32 AddReference(const LPDISPATCH& object);
    void Release(quint32 number);
    LPDISPATCH Find(quint32 number) const;
    int Size() const { return m_entries.size(); }

private:
    struct Entry
    {
        LPDISPATCH object;
        int references = 0;
    };
    QHash<quint32, Entry> m_entries;
    quint32 m_next = 1;
};
