#include "readability/LeastReaching.h"

#include <algorithm>
#include <cmath>

void LeastReaching::tell(double figure)
{
    const double f = figure - m_aim;
    switch (m_stage) {
    case Stage::First:
        m_done = f >= 0;
        m_passing = m_done ? 0 : m_passing;
        m_low = f;
        m_asked = m_passing;
        m_stage = Stage::Last;
        return;
    case Stage::Last:
        m_done = f < 0;
        m_high = f;
        m_stage = Stage::Between;
        break;
    case Stage::Between:
        if (f >= 0) {
            m_passing = m_asked;
            m_high = f;
            m_low /= m_side > 0 ? 2 : 1;
            m_side = 1;
        } else {
            m_failing = m_asked;
            m_low = f;
            m_high /= m_side < 0 ? 2 : 1;
            m_side = -1;
        }
        break;
    }
    m_done = m_done || m_passing - m_failing <= 1;
    if (!m_done)
        m_asked = std::clamp(
            m_failing + int(std::ceil(m_low / (m_low - m_high) * double(m_passing - m_failing))),
            m_failing + 1, m_passing - 1);
}

int leastReaching(int last, double aim, const std::function<double(int)> &figure)
{
    LeastReaching search(last, aim);
    while (!search.done())
        search.tell(figure(search.asked()));
    return search.result();
}
