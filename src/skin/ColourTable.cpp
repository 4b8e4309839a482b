#include "skin/ColourTable.h"

#include "platform/Error.h"

namespace {

size_t checkedRow(int row)
{
    if (row < 0 || row >= ItemCount)
        throw Error::subscriptOutOfRange();
    return static_cast<size_t>(row);
}

} // namespace

const QString &ColourTable::at(int row) const
{
    return m_codes[checkedRow(row)];
}

void ColourTable::set(int row, const QString &code)
{
    m_codes[checkedRow(row)] = code.left(LongestCode);
}
