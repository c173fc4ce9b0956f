#pragma once
// A 3×3 affine transformation of the plane acting on column vectors: a point
// p maps to M·p, so A·B applies B first. entry[row][col] is public; the last
// row of an affine matrix is (0, 0, 1).

#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGeVector2d.h"

class AcGeMatrix3d;

class AcGeMatrix2d {
public:
    double entry[3][3];

    static const AcGeMatrix2d kIdentity;

    // The identity.
    AcGeMatrix2d();

    // Resets to the identity.
    AcGeMatrix2d& setToIdentity();
    // Equality of every entry within the vector tolerance.
    bool isEqualTo(const AcGeMatrix2d& m, const AcGeTol& tol = AcGeContext::gTol) const;
    bool operator==(const AcGeMatrix2d& m) const { return isEqualTo(m); }

    // The product this·m (m is applied first).
    AcGeMatrix2d operator*(const AcGeMatrix2d& m) const;
    AcGeMatrix2d& operator*=(const AcGeMatrix2d& m);
    // this = left·this.
    AcGeMatrix2d& preMultBy(const AcGeMatrix2d& left);
    // this = this·right.
    AcGeMatrix2d& postMultBy(const AcGeMatrix2d& right);

    // The inverse; a singular matrix comes back unchanged (check isSingular first).
    AcGeMatrix2d inverse() const;
    // Inverts in place; a singular matrix is left unchanged.
    AcGeMatrix2d& invert();
    // True when the determinant is within tol.equalVector() of zero.
    bool isSingular(const AcGeTol& tol = AcGeContext::gTol) const;
    // The determinant (of the linear part for an affine matrix): the factor areas are multiplied by, negative when mirrored.
    double det() const;
    // True when the axes stay perpendicular and equally long (rotation, mirroring, uniform scale, translation).
    bool isUniScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;
    // The larger length of the images of the X and Y unit vectors.
    double scale() const;

    // The translation part (image of the origin).
    AcGeVector2d translation() const;
    // Sets this to map the system (origin, xAxis, yAxis) onto the world: columns are the axes, then the origin.
    AcGeMatrix2d& setCoordSystem(const AcGePoint2d& origin, const AcGeVector2d& xAxis, const AcGeVector2d& yAxis);
    // Reads back the columns; never fails.
    void getCoordSystem(AcGePoint2d& origin, AcGeVector2d& xAxis, AcGeVector2d& yAxis) const;

    // A translation by v.
    static AcGeMatrix2d translation(const AcGeVector2d& v);
    // Counter-clockwise rotation by angle radians about center.
    static AcGeMatrix2d rotation(double angle, const AcGePoint2d& center = AcGePoint2d::kOrigin);
    // Uniform scaling by factor about center.
    static AcGeMatrix2d scaling(double factor, const AcGePoint2d& center = AcGePoint2d::kOrigin);
    // Scaling by sx along X and sy along Y about center (negative factors mirror).
    static AcGeMatrix2d scaling(double sx, double sy, const AcGePoint2d& center = AcGePoint2d::kOrigin);
    // Reflection in the line through point with the given direction; a zero direction gives the identity.
    static AcGeMatrix2d mirroring(const AcGePoint2d& point, const AcGeVector2d& direction);
    // The XY part of a 3-D transformation (rows and columns 0, 1 and the translation):
    // exact for matrices that map the XY plane onto itself, such as the block
    // transform of a reference whose normal is +Z.
    static AcGeMatrix2d fromXYOf(const AcGeMatrix3d& m);
};

// Matrix m applied to p.
AcGePoint2d operator*(const AcGeMatrix2d& m, const AcGePoint2d& p);
// The linear part of m applied to v.
AcGeVector2d operator*(const AcGeMatrix2d& m, const AcGeVector2d& v);
