#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "host/ge/BlockTransform.h"
#include "host/ge/UcsTransform.h"
#include "tests/host/geOracle.h"

using georacle::num;

namespace {

constexpr double kPi = std::numbers::pi;

struct InsertCase {
    AcGePoint3d insertion;
    AcGeScale3d scale;
    double rotationDegrees;
    AcGeVector3d normal;
    AcGePoint3d base;
    AcGePoint3d probe;
};

}  // namespace

TEST(GeBlockTransform, MatchesEzdxfInsertMatrixOnRandomReferences)
{
    std::mt19937 rng(20261205);
    std::uniform_real_distribution<double> coord(-5000.0, 5000.0), factor(0.2, 4.0), angle(-720.0, 720.0),
        unit(-1.0, 1.0);
    std::vector<InsertCase> cases;
    for (int i = 0; i < 60; ++i) {
        InsertCase c;
        c.insertion = AcGePoint3d(coord(rng), coord(rng), coord(rng) / 10);
        c.scale = AcGeScale3d(factor(rng) * (i % 3 == 0 ? -1 : 1), factor(rng) * (i % 4 == 1 ? -1 : 1),
                              factor(rng) * (i % 5 == 2 ? -1 : 1));
        c.rotationDegrees = angle(rng);
        switch (i % 4) {
        case 0: c.normal = AcGeVector3d::kZAxis; break;
        case 1: c.normal = AcGeVector3d(0, 0, -1); break;
        case 2: c.normal = AcGeVector3d(0.01 * unit(rng), 0.01 * unit(rng), 1.0); break;  // near Z: Wy rule
        default: c.normal = AcGeVector3d(unit(rng), unit(rng), unit(rng)); break;
        }
        if (c.normal.isZeroLength(AcGeTol(1e-3, 1e-3)))
            c.normal = AcGeVector3d(0.5, 0.5, 0.5);
        c.base = AcGePoint3d(coord(rng) / 10, coord(rng) / 10, i % 2 ? coord(rng) / 100 : 0.0);
        c.probe = AcGePoint3d(coord(rng), coord(rng), coord(rng) / 50);
        cases.push_back(c);
    }
    std::string script = "import ezdxf, math\nfrom ezdxf.math import Vec3\ndoc = ezdxf.new()\nmsp = doc.modelspace()\n";
    for (size_t i = 0; i < cases.size(); ++i) {
        const InsertCase& c = cases[i];
        std::string name = "B" + std::to_string(i);
        script += "doc.blocks.new('" + name + "', base_point=(" + num(c.base.x) + "," + num(c.base.y) + ","
                + num(c.base.z) + "))\n";
        script += "r = msp.add_blockref('" + name + "', (" + num(c.insertion.x) + "," + num(c.insertion.y) + ","
                + num(c.insertion.z) + "), dxfattribs={'xscale': " + num(c.scale.sx) + ", 'yscale': " + num(c.scale.sy)
                + ", 'zscale': " + num(c.scale.sz) + ", 'rotation': " + num(c.rotationDegrees) + ", 'extrusion': ("
                + num(c.normal.x) + "," + num(c.normal.y) + "," + num(c.normal.z) + ")})\n";
        script += "p = r.matrix44().transform(Vec3(" + num(c.probe.x) + "," + num(c.probe.y) + "," + num(c.probe.z)
                + "))\nvalues += [p.x, p.y, p.z]\n";
    }
    std::vector<double> expected = georacle::runPython(script);
    ASSERT_EQ(expected.size(), cases.size() * 3);
    for (size_t i = 0; i < cases.size(); ++i) {
        const InsertCase& c = cases[i];
        AcGeMatrix3d m = acgeBlockTransform(c.insertion, c.scale, c.rotationDegrees * kPi / 180.0, c.normal, c.base);
        AcGePoint3d p = m * c.probe;
        // Coordinates reach ~1e5: 1e-7 absolute is ~1e-12 relative.
        EXPECT_NEAR(p.x, expected[3 * i], 1e-7) << "case " << i;
        EXPECT_NEAR(p.y, expected[3 * i + 1], 1e-7) << "case " << i;
        EXPECT_NEAR(p.z, expected[3 * i + 2], 1e-7) << "case " << i;
    }
}

TEST(GeUcs, AxesStraightenAYDirectionThatIsNotPerpendicular)
{
    // A Y direction that is not perpendicular is straightened: the plane is kept.
    AcGeVector3d x, y, z;
    EXPECT_TRUE(acgeUcsAxes(AcGeVector3d(1, 0, 0), AcGeVector3d(1, 1, 0), x, y, z));
    EXPECT_TRUE(y.isEqualTo(AcGeVector3d::kYAxis));
    EXPECT_TRUE(z.isEqualTo(AcGeVector3d::kZAxis));
    EXPECT_FALSE(acgeUcsAxes(AcGeVector3d(1, 0, 0), AcGeVector3d(-2, 0, 0), x, y, z));
}

TEST(GeUcs, MatchesEzdxfUcs)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> coord(-1000.0, 1000.0), unit(-1.0, 1.0);
    std::string script = "from ezdxf.math import UCS, Vec3\n";
    struct Case {
        AcGePoint3d origin;
        AcGeVector3d x, y;
        AcGePoint3d probe;
    };
    std::vector<Case> cases;
    for (int i = 0; i < 30; ++i) {
        Case c;
        c.origin = AcGePoint3d(coord(rng), coord(rng), coord(rng));
        AcGeVector3d a(unit(rng), unit(rng), unit(rng));
        AcGeVector3d b(unit(rng), unit(rng), unit(rng));
        c.x = a * 3.0;
        c.y = a.crossProduct(b).crossProduct(a) * 0.5;  // perpendicular to a, not unit length
        c.probe = AcGePoint3d(coord(rng), coord(rng), coord(rng));
        cases.push_back(c);
        script += "u = UCS(origin=(" + num(c.origin.x) + "," + num(c.origin.y) + "," + num(c.origin.z) + "), ux=("
                + num(c.x.x) + "," + num(c.x.y) + "," + num(c.x.z) + "), uy=(" + num(c.y.x) + "," + num(c.y.y) + ","
                + num(c.y.z) + "))\n";
        script += "w = u.to_wcs(Vec3(" + num(c.probe.x) + "," + num(c.probe.y) + "," + num(c.probe.z)
                + "))\nl = u.from_wcs(Vec3(" + num(c.probe.x) + "," + num(c.probe.y) + "," + num(c.probe.z)
                + "))\nvalues += [w.x, w.y, w.z, l.x, l.y, l.z]\n";
    }
    std::vector<double> expected = georacle::runPython(script);
    ASSERT_EQ(expected.size(), cases.size() * 6);
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        AcGePoint3d w = acgeUcsToWorld(c.origin, c.x, c.y) * c.probe;
        AcGePoint3d l = acgeWorldToUcs(c.origin, c.x, c.y) * c.probe;
        const double* e = &expected[6 * i];
        EXPECT_NEAR(w.x, e[0], 1e-9);
        EXPECT_NEAR(w.y, e[1], 1e-9);
        EXPECT_NEAR(w.z, e[2], 1e-9);
        EXPECT_NEAR(l.x, e[3], 1e-9);
        EXPECT_NEAR(l.y, e[4], 1e-9);
        EXPECT_NEAR(l.z, e[5], 1e-9);
    }
}

// The world UCS and the identity take a short way (no arithmetic); what they
// give must be the very bits the long way gives, or saved drawings would
// change: the world UCS built from its axes is the identity to the bit, and
// the identity inverted by elimination is itself.
TEST(UcsTransform, WorldUcsAndTheInverseOfTheIdentityAreTheIdentityToTheBit)
{
    const AcGeMatrix3d world = acgeUcsToWorld(AcGePoint3d(0, 0, 0), AcGeVector3d(1, 0, 0), AcGeVector3d(0, 1, 0));
    EXPECT_EQ(std::memcmp(world.entry, AcGeMatrix3d::kIdentity.entry, sizeof world.entry), 0);
    // A matrix that differs from the identity in one entry is inverted.
    AcGeMatrix3d shifted;
    shifted.entry[0][3] = 5.0;
    EXPECT_EQ(shifted.inverse().entry[0][3], -5.0);
    EXPECT_EQ(std::memcmp(AcGeMatrix3d().inverse().entry, AcGeMatrix3d::kIdentity.entry, sizeof world.entry), 0);
}
