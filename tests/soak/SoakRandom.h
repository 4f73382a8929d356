#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <random>

// The walk's one source of chance: everything it draws comes from this
// engine in a fixed order, so that a seed replays the same walk.
class CSoakRandom
{
public:
    explicit CSoakRandom(std::uint64_t seed) : m_engine(seed) {}

    // lo..hi, both included.
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_engine); }
    double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(m_engine); }
    bool Chance(double probability) { return Real(0.0, 1.0) < probability; }

    template <typename T>
    const T& Pick(const QList<T>& list)
    {
        return list[Int(0, int(list.size()) - 1)];
    }

    // A point of rect (an empty rect gives its top-left corner).
    QPoint PointIn(const QRect& rect)
    {
        if (rect.isEmpty())
            return rect.topLeft();
        return QPoint(Int(rect.left(), rect.right()), Int(rect.top(), rect.bottom()));
    }

private:
    std::mt19937_64 m_engine;
};
