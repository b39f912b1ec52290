#pragma once

// The values 0 to `highest`, drawn at random without putting any back: each
// draw returns a value no earlier draw returned, until the bag is empty.
// The random commands draw at most five values from bags of ten or more.

#include <cstdlib>
#include <vector>

class ShuffleBag
{
public:
    explicit ShuffleBag(int highest) { Fill(highest); }

    void Fill(int highest)
    {
        m_values.resize(highest >= 0 ? static_cast<std::size_t>(highest) + 1 : 0);
        for (std::size_t i = 0; i < m_values.size(); ++i)
            m_values[i] = static_cast<int>(i);
        m_last = highest;
    }

    bool IsEmpty() const { return m_last < 0; }
    // Values still in the bag.
    int Size() const { return m_last + 1; }

    // Takes position `random` modulo the values left and fills the gap with
    // the last live value. An empty bag gives -1 (no caller draws that far).
    int Draw(unsigned random)
    {
        if (IsEmpty())
            return -1;
        const int r = static_cast<int>(random % static_cast<unsigned>(m_last + 1));
        const int value = m_values[r];
        if (r != m_last)
            m_values[r] = m_values[m_last];
        --m_last;
        return value;
    }
    // A draw with the standard generator, seeded once at start-up.
    int Draw() { return Draw(static_cast<unsigned>(std::rand())); }

private:
    std::vector<int> m_values;
    int m_last = -1;
};
