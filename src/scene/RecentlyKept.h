#pragma once

#include <QByteArray>
#include <QHash>

#include <utility>
#include <vector>

// The last few values made, found again by all they were made from: a search measures
// the same texts over the same pixels many times.
template <typename Value> class RecentlyKept
{
public:
    const Value *find(const QByteArray &key) const
    {
        const auto kept = m_kept.constFind(key);
        return kept == m_kept.cend() ? nullptr : &*kept;
    }

    void keep(const QByteArray &key, const Value &value)
    {
        if (m_order.size() < Kept) {
            m_order.push_back(key);
        } else {
            m_kept.remove(std::exchange(m_order[m_next], key));
            m_next = (m_next + 1) % Kept;
        }
        m_kept.insert(key, value);
    }

private:
    static constexpr size_t Kept = 64;
    QHash<QByteArray, Value> m_kept;
    std::vector<QByteArray> m_order; // the next to go at m_next
    size_t m_next = 0;
};
