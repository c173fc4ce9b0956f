#pragma once
// Tolerances for geometric comparisons: two points are equal when their
// distance is within equalPoint(); two vectors are equal when their
// difference is within equalVector(). Both default to 1e-10 drawing units.

class AcGeTol {
public:
    AcGeTol() = default;
    AcGeTol(double pointTol, double vectorTol) : mEqualPoint(pointTol), mEqualVector(vectorTol) {}

    // The point tolerance; never fails.
    double equalPoint() const { return mEqualPoint; }
    // The vector tolerance; never fails.
    double equalVector() const { return mEqualVector; }
    // Sets the point tolerance; a negative value is taken as its magnitude.
    void setEqualPoint(double value) { mEqualPoint = value < 0 ? -value : value; }
    // Sets the vector tolerance; a negative value is taken as its magnitude.
    void setEqualVector(double value) { mEqualVector = value < 0 ? -value : value; }

private:
    double mEqualPoint = 1e-10;
    double mEqualVector = 1e-10;
};
