#pragma once

#include <functional>

// The search for the least step of 0..last at which a figure, taken to rise with the
// step, reaches the aim; `last` when none does. It asks for the figure at one step at a
// time, so that searches that do not touch each other can share each drawing. Each
// guess is where a straight line through the two ends of the bracket reaches the aim,
// the end that stayed twice weighed half (the Illinois rule), so that a curved figure
// does not creep up on it from one side.
class LeastReaching
{
public:
    LeastReaching(int last, double aim) : m_aim(aim), m_passing(last) {}
    bool done() const { return m_done; }
    int asked() const { return m_asked; }
    int result() const { return m_passing; }

    // The figure at the step asked().
    void tell(double figure);

private:
    double m_aim;
    enum class Stage
    {
        First,
        Last,
        Between
    };
    Stage m_stage = Stage::First;
    int m_failing = 0, m_passing, m_asked = 0, m_side = 0;
    double m_low = 0, m_high = 0;
    bool m_done = false;
};

// The least step of 0..last at which `figure` reaches `aim`, asked one step at a time.
int leastReaching(int last, double aim, const std::function<double(int)> &figure);
