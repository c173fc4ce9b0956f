// Drawing a table into its anonymous "*T<n>" block (AcDbTable::recomputeTableBlock).
#include <algorithm>
#include <cmath>
#include <functional>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbTable.h"
#include "host/db/AcDbText.h"

namespace {

// The text a single-line TEXT shows for MTEXT-coded cell text: escaped
// characters (\\ \{ \}) become themselves, paragraph breaks and
// non-breaking spaces become spaces, grouping braces and formatting codes
// (\H2; \fArial|b1; \L ...) are dropped.
std::string plainText(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '{' || c == '}')
            continue;
        if (c != '\\' || i + 1 >= s.size()) {
            out += c;
            continue;
        }
        const char n = s[++i];
        switch (n) {
        case '\\': case '{': case '}': out += n; break;
        case 'P': case 'X': case '~': out += ' '; break;
        case 'L': case 'l': case 'O': case 'o': case 'K': case 'k': break;
        case 'A': case 'C': case 'c': case 'H': case 'T': case 'Q': case 'W': case 'F': case 'f': case 'p': case 'S': {
            size_t end = s.find(';', i);
            i = end == std::string::npos ? s.size() : end;
            break;
        }
        default: out += '\\'; out += n; break;
        }
    }
    return out;
}

// The anchor of an alignment inside a box: 0/1/2 across (left, centre,
// right) and down (top, middle, bottom).
void anchorOf(AcDb::CellAlignment a, int& across, int& down)
{
    across = (static_cast<int>(a) - 1) % 3;
    down = (static_cast<int>(a) - 1) / 3;
}

}  // namespace

Acad::ErrorStatus AcDbTable::recomputeTableBlock(bool forceUpdate)
{
    if (!forceUpdate && !blockStale_)
        return Acad::eOk;
    AcDbDatabase* db = database();
    if (!db)
        return Acad::eNotInDatabase;

    AcDbObjectId recordId = blockTableRecord();
    AcDbBlockTableRecord* record = nullptr;
    Acad::ErrorStatus es;
    if (recordId.isNull() || recordId.isErased()) {
        AcDbBlockTable* blocks = nullptr;
        es = db->getBlockTable(blocks, AcDb::kForWrite);
        if (es != Acad::eOk)
            return es;
        record = new AcDbBlockTableRecord();
        record->setName("*T");
        es = blocks->add(recordId, record);
        blocks->close();
        if (es != Acad::eOk) {
            delete record;
            return es;
        }
        setBlockTableRecord(recordId);
        dataChanged_ = true;  // the table names its block's record
    } else {
        es = acdbOpenObject(record, recordId, AcDb::kForWrite);
        if (es != Acad::eOk)
            return es;
        for (const AcDbObjectId& id : record->entityIds()) {
            AcDbEntity* e = nullptr;
            if (acdbOpenObject(e, id, AcDb::kForWrite) == Acad::eOk) {
                e->erase();
                e->close();
            }
        }
    }

    // Table coordinates: x along the rows' direction from the left edge, y up
    // from the top edge (rows run down). Block coordinates turn them by the
    // direction's angle in the table's plane less the reference's own
    // rotation, which turns the block as a whole.
    AcGeVector3d dir = AcGeMatrix3d::worldToPlane(normal()) * direction_;
    if (normal().x == 0.0 && normal().y == 0.0 && normal().z == 1.0)
        dir = direction_;
    const double angle = std::atan2(dir.y, dir.x) - rotation();
    const double ux = std::cos(angle), uy = std::sin(angle);
    auto at = [&](double x, double y) { return AcGePoint3d(x * ux - y * uy, x * uy + y * ux, 0.0); };
    auto add = [&](AcDbEntity* e) {
        e->setLayer("0");
        e->setColorIndex(0);
        if (record->appendAcDbEntity(e) == Acad::eOk)
            e->close();
        else
            delete e;
    };

    // Grid lines take colour, linetype and line weight from the table.
    auto line = [&](const AcGePoint3d& a, const AcGePoint3d& b) {
        auto* l = new AcDbLine(a, b);
        l->setLinetype("ByBlock");
        l->setLineWeight(AcDb::kLnWtByBlock);
        add(l);
    };
    const int rows = numRows(), cols = numColumns();
    std::vector<double> xs(static_cast<size_t>(cols) + 1, 0.0), ys(static_cast<size_t>(rows) + 1, 0.0);
    for (int c = 0; c < cols; ++c)
        xs[static_cast<size_t>(c) + 1] = xs[static_cast<size_t>(c)] + colWidths_[static_cast<size_t>(c)];
    for (int r = 0; r < rows; ++r)
        ys[static_cast<size_t>(r) + 1] = ys[static_cast<size_t>(r)] - rowHeights_[static_cast<size_t>(r)];

    // Grid: each row boundary and column boundary as runs of edges that no
    // merge hides, one LINE per run.
    auto hidden = [&](bool rowEdge, int edge, int along) {
        for (const Merge& m : merges_) {
            if (rowEdge && edge > m.minRow && edge <= m.maxRow && along >= m.minColumn && along <= m.maxColumn)
                return true;
            if (!rowEdge && edge > m.minColumn && edge <= m.maxColumn && along >= m.minRow && along <= m.maxRow)
                return true;
        }
        return false;
    };
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c < cols;) {
            if (hidden(true, r, c)) {
                ++c;
                continue;
            }
            int end = c;
            while (end < cols && !hidden(true, r, end))
                ++end;
            line(at(xs[static_cast<size_t>(c)], ys[static_cast<size_t>(r)]), at(xs[static_cast<size_t>(end)], ys[static_cast<size_t>(r)]));
            c = end;
        }
    for (int c = 0; c <= cols; ++c)
        for (int r = 0; r < rows;) {
            if (hidden(false, c, r)) {
                ++r;
                continue;
            }
            int end = r;
            while (end < rows && !hidden(false, c, end))
                ++end;
            line(at(xs[static_cast<size_t>(c)], ys[static_cast<size_t>(r)]), at(xs[static_cast<size_t>(c)], ys[static_cast<size_t>(end)]));
            r = end;
        }

    // Contents: a merge shows its top-left cell over the merged box.
    const double hm = horzCellMargin(), vm = vertCellMargin();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            int r1 = r, c1 = c;
            if (const Merge* m = mergeAt(r, c)) {
                if (m->minRow != r || m->minColumn != c)
                    continue;
                r1 = m->maxRow;
                c1 = m->maxColumn;
            }
            const Cell& cell = *cellAt(r, c);
            const double left = xs[static_cast<size_t>(c)], right = xs[static_cast<size_t>(c1) + 1];
            const double top = ys[static_cast<size_t>(r)], bottom = ys[static_cast<size_t>(r1) + 1];
            int across = 1, down = 1;
            anchorOf(alignment(r, c), across, down);
            const double ax = across == 0 ? left + hm : across == 1 ? (left + right) / 2 : right - hm;
            const double ay = down == 0 ? top - vm : down == 1 ? (top + bottom) / 2 : bottom + vm;
            if (cell.type == AcDb::kTextCell && !cell.text.empty()) {
                auto* text = new AcDbText();
                text->setTextString(plainText(cell.text).c_str());
                text->setHeight(textHeight(r, c));
                text->setRotation(angle + cell.rotation);
                text->setHorizontalMode(across == 0 ? AcDb::kTextLeft : across == 1 ? AcDb::kTextCenter : AcDb::kTextRight);
                text->setVerticalMode(down == 0 ? AcDb::kTextTop : down == 1 ? AcDb::kTextVertMid : AcDb::kTextBottom);
                text->setPosition(at(ax, ay));
                text->setAlignmentPoint(at(ax, ay));
                add(text);
            } else if (cell.type == AcDb::kBlockCell && !cell.block.isNull() && !cell.block.isErased()) {
                // The block's own box decides its scale (to fit the cell
                // inside the margins) and where it sits for the alignment.
                AcDbExtents box;
                AcDbBlockTableRecord* shown = nullptr;
                if (acdbOpenObject(shown, cell.block, AcDb::kForRead) == Acad::eOk) {
                    for (const AcDbObjectId& id : shown->entityIds()) {
                        AcDbEntity* e = nullptr;
                        if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk)
                            continue;
                        AcDbExtents one;
                        if (e->getGeomExtents(one) == Acad::eOk)
                            box.addExt(one);
                        e->close();
                    }
                    shown->close();
                }
                double bx0 = 0, by0 = 0, bx1 = 0, by1 = 0;
                if (box.isValid()) {
                    bx0 = box.minPoint().x;
                    by0 = box.minPoint().y;
                    bx1 = box.maxPoint().x;
                    by1 = box.maxPoint().y;
                }
                double scale = cell.blockScale;
                if (cell.autoFit && bx1 > bx0 && by1 > by0)
                    scale = std::max(0.0, std::min((right - left - 2 * hm) / (bx1 - bx0), (top - bottom - 2 * vm) / (by1 - by0)));
                if (!(scale > 0))
                    scale = 1.0;
                const double px = across == 0 ? bx0 : across == 1 ? (bx0 + bx1) / 2 : bx1;
                const double py = down == 0 ? by1 : down == 1 ? (by0 + by1) / 2 : by0;
                auto* insert = new AcDbBlockReference(at(ax - scale * px, ay - scale * py), cell.block);
                insert->setScaleFactors(AcGeScale3d(scale));
                insert->setRotation(angle);
                add(insert);
            }
        }
    record->close();
    blockStale_ = false;
    return Acad::eOk;
}
