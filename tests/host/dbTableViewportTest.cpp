// Viewports read from ezdxf's fixture files: every value the
// database reports against what ezdxf reads from the same file.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbViewport.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

// ezdxf's view of the viewports: one line per viewport with
// handle cx cy w h status id vcx vcy vh twist.
std::vector<std::string> ezdxfViewports(const std::string& path)
{
    std::string script =
        "import ezdxf,sys\n"
        "doc=ezdxf.readfile(sys.argv[1])\n"
        "for e in doc.entitydb.values():\n"
        "  if e.dxftype()!='VIEWPORT': continue\n"
        "  d=e.dxf\n"
        "  print(d.handle, d.center.x, d.center.y, d.width, d.height, d.status, d.id, d.view_center_point.x,"
        " d.view_center_point.y, d.view_height, d.view_twist_angle)\n";
    const auto dir = dxftest::tempDir("viewport-oracle");
    dxftest::writeFile(dir / "vp.py", script);
    std::string cmd = std::string(ZELKA_PYTHON) + " '" + (dir / "vp.py").string() + "' '" + path + "' 2>&1";
    std::string out = dxftest::capture(cmd);
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace

TEST(Viewport, ReadAsEzdxfReadsIt)
{
    ZELKA_REQUIRE_EZDXF();
    for (const char* name : {"ezdxf_plan_R2000_AC1015.dxf", "ezdxf_plan_R2018_AC1032.dxf"}) {
        const auto path = (dxftest::sourceDir() / "tests/data/dxf/ezdxf" / name).string();
        auto expected = ezdxfViewports(path);
        ASSERT_FALSE(expected.empty()) << name;
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfFile(path.c_str()), Acad::eOk);
        std::vector<std::string> seen;
        for (const std::string& line : expected) {
            AcDbObjectId id;
            ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(std::stoull(line.substr(0, line.find(' ')), nullptr, 16))), Acad::eOk)
                << line;
            AcDbViewport* vp = nullptr;
            ASSERT_EQ(acdbOpenObject(vp, id, AcDb::kForRead), Acad::eOk) << line;
            EXPECT_STREQ(vp->isA()->name(), "AcDbViewport");
            std::ostringstream s;
            s.precision(17);
            s << vp->objectId().handle().value() << ' ' << vp->centerPoint().x << ' ' << vp->centerPoint().y << ' ' << vp->width()
              << ' ' << vp->height() << ' ' << vp->status() << ' ' << vp->number() << ' ' << vp->viewCenter().x << ' '
              << vp->viewCenter().y << ' ' << vp->viewHeight() << ' ' << vp->twistAngle();
            seen.push_back(s.str());
            if (vp->viewHeight() > 0) {
                EXPECT_DOUBLE_EQ(vp->customScale(), vp->height() / vp->viewHeight());
            }
            vp->close();
        }
        ASSERT_EQ(seen.size(), expected.size()) << name;
        for (size_t i = 0; i < seen.size(); ++i) {
            std::istringstream a(seen[i]), b(expected[i]);
            unsigned long handle = 0;
            std::string theirHandle;
            a >> handle;
            b >> theirHandle;
            EXPECT_EQ(handle, std::stoul(theirHandle, nullptr, 16)) << name;
            for (int k = 0; k < 10; ++k) {
                double x = 0, y = 0;
                a >> x;
                b >> y;
                EXPECT_NEAR(x, k == 9 ? y * 3.141592653589793 / 180 : y, 1e-12) << name << " field " << k;
            }
        }
    }
}
