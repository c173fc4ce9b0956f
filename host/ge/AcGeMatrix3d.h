#pragma once
// A 4×4 affine transformation of space acting on column vectors: a point p
// maps to M·p, so A·B applies B first, then A. entry[row][col] is public;
// the last row of an affine matrix is (0, 0, 0, 1). Columns 0–2 are the
// images of the X, Y and Z axes, column 3 the image of the origin.

#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeScale3d.h"
#include "host/ge/AcGeVector3d.h"

class AcGeMatrix3d {
public:
    double entry[4][4];

    static const AcGeMatrix3d kIdentity;

    // The identity.
    AcGeMatrix3d();

    // Resets to the identity.
    AcGeMatrix3d& setToIdentity();
    // Exact equality within the vector tolerance on every entry.
    bool isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol = AcGeContext::gTol) const;
    bool operator==(const AcGeMatrix3d& m) const { return isEqualTo(m); }

    // The product this·m (m is applied first).
    AcGeMatrix3d operator*(const AcGeMatrix3d& m) const;
    // this = left·this (left is applied after this).
    AcGeMatrix3d& preMultBy(const AcGeMatrix3d& left);

    // The inverse; a singular matrix comes back unchanged (check isSingular first).
    AcGeMatrix3d inverse() const;
    // Inverts in place; a singular matrix is left unchanged.
    AcGeMatrix3d& invert();
    // The transpose of the full 4×4 matrix.
    AcGeMatrix3d transpose() const;
    // Transposes in place.
    AcGeMatrix3d& transposeIt();
    // The determinant of the full 4×4 matrix (for an affine matrix: of its linear part).
    double det() const;

    // True when the axes stay mutually perpendicular and equally long (rotation,
    // mirroring, uniform scale, translation); false for shear or non-uniform scale.
    bool isUniScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;
    // The largest length of the images of the X, Y and Z unit vectors.
    double scale() const;

    // Sets the translation part, keeping the linear part.
    AcGeMatrix3d& setTranslation(const AcGeVector3d& v);
    // Sets this to a pure translation by v.
    AcGeMatrix3d& setToTranslation(const AcGeVector3d& v);
    // Sets this to rotation by angle (radians, right-hand rule) about the axis through center; a zero axis gives the identity.
    AcGeMatrix3d& setToRotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    // Sets this to uniform scaling by factor about center.
    AcGeMatrix3d& setToScaling(double factor, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    // Sets this to scaling by separate factors along X, Y and Z about center.
    AcGeMatrix3d& setToScaling(const AcGeScale3d& factors, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    // Sets this to reflection through the plane with the given point and normal; a zero normal gives the identity.
    AcGeMatrix3d& setToMirroring(const AcGePoint3d& pointOnPlane, const AcGeVector3d& normal);
    // Sets this to reflection through a point (p maps to 2·point − p).
    AcGeMatrix3d& setToMirroring(const AcGePoint3d& point);
    // Sets this to map the system (origin, xAxis, yAxis, zAxis) given in world
    // coordinates onto the world system: columns are the axes, then the origin.
    AcGeMatrix3d& setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                                 const AcGeVector3d& yAxis, const AcGeVector3d& zAxis);
    // Reads back the columns: the axes and the origin; never fails.
    void getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis, AcGeVector3d& zAxis) const;
    // Sets this to worldToPlane(normal).
    AcGeMatrix3d& setToWorldToPlane(const AcGeVector3d& normal);
    // Sets this to planeToWorld(normal).
    AcGeMatrix3d& setToPlaneToWorld(const AcGeVector3d& normal);

    // A translation by v.
    static AcGeMatrix3d translation(const AcGeVector3d& v);
    // Rotation by angle radians about the axis through center; a zero axis gives the identity.
    static AcGeMatrix3d rotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    // Uniform scaling by factor about center.
    static AcGeMatrix3d scaling(double factor, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    // Scaling by separate factors about center.
    static AcGeMatrix3d scaling(const AcGeScale3d& factors, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    // Reflection through the plane with the given point and normal; a zero normal gives the identity.
    static AcGeMatrix3d mirroring(const AcGePoint3d& pointOnPlane, const AcGeVector3d& normal);
    // Reflection through a point.
    static AcGeMatrix3d mirroring(const AcGePoint3d& point);
    // World (WCS) to the object coordinate system of extrusion direction normal,
    // by the DXF arbitrary-axis algorithm; a zero normal is taken as +Z.
    static AcGeMatrix3d worldToPlane(const AcGeVector3d& normal);
    // Object coordinate system of extrusion direction normal to world (the inverse of worldToPlane).
    static AcGeMatrix3d planeToWorld(const AcGeVector3d& normal);
    // The DXF arbitrary-axis X and Y directions of an OCS whose Z is normal (unit vectors; a zero normal is taken as +Z).
    static void arbitraryAxis(const AcGeVector3d& normal, AcGeVector3d& xAxis, AcGeVector3d& yAxis, AcGeVector3d& zAxis);

    // Entry by row; the row must be 0–3.
    double* operator[](unsigned row) { return entry[row]; }
    const double* operator[](unsigned row) const { return entry[row]; }
    // Entry by row and column (both 0–3).
    double operator()(unsigned row, unsigned col) const { return entry[row][col]; }
    double& operator()(unsigned row, unsigned col) { return entry[row][col]; }
};
