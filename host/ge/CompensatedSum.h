#pragma once
// Neumaier (improved Kahan–Babuška) summation in extended precision. Areas of
// floor plans add many terms of mixed sign and large magnitude (millimetre
// coordinates of a building reach 1e5–1e6, their cross products 1e11–1e12);
// compensated long double summation keeps the result exact to the last
// digit of a double in practice.

#include <cmath>

class CompensatedSum {
public:
    CompensatedSum() = default;

    // Adds a term; never fails (infinities and NaN propagate).
    void add(long double value)
    {
        long double t = mSum + value;
        if (std::fabs(mSum) >= std::fabs(value))
            mCompensation += (mSum - t) + value;
        else
            mCompensation += (value - t) + mSum;
        mSum = t;
    }
    CompensatedSum& operator+=(long double value)
    {
        add(value);
        return *this;
    }
    // The sum so far in extended precision.
    long double value() const { return mSum + mCompensation; }

private:
    long double mSum = 0.0L;
    long double mCompensation = 0.0L;
};
