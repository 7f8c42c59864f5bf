#include "officehost/ObjectTable.h"

quint32 ObjectTable::AddReference(const LPDISPATCH& object)
{
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (it->object == object) {
            ++it->references;
            return it.key();
        }
    const quint32 number = m_next++;
    m_entries.insert(number, {object, 1});
    return number;
}

void ObjectTable::Release(quint32 number)
{
    auto it = m_entries.find(number);
    if (it != m_entries.end() && --it->references <= 0)
        m_entries.erase(it);
}

LPDISPATCH ObjectTable::Find(quint32 number) const
{
    auto it = m_entries.constFind(number);
    return it == m_entries.constEnd() ? nullptr : it->object;
}
