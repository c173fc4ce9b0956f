#include "host/plot/PlotRenderer.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "host/db/AcCmColor.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbHatch.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbLayerTableRecord.h"
#include "host/db/AcDbLinetypeTable.h"
#include "host/db/AcDbLinetypeTableRecord.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbSortentsTable.h"
#include "host/db/AcDbTextStyleTable.h"
#include "host/db/AcDbTextStyleTableRecord.h"
#include "host/db/AcDbViewport.h"
#include "host/plot/PlotMTextLayout.h"
#include "host/plot/PlotWideOutline.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

std::string upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The entities of a space in draw order: the order of the space's
// ACAD_SORTENTS table when that table covers them all, their stored order
// otherwise. The table is found by the block it sorts (the stubs are
// scanned), so a block record whose extension dictionary was not read still
// finds its table.
std::vector<AcDbObjectId> drawOrderOf(AcDbDatabase& db, AcDbObjectId spaceId)
{
    std::vector<AcDbObjectId> ids;
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, spaceId, AcDb::kForRead) != Acad::eOk)
        return ids;
    for (AcDbStub* s : space->entities)
        if (!s->erased)
            ids.emplace_back(s);
    space->close();
    for (AcDbStub& stub : db.data().stubs) {
        if (stub.erased || stub.kind != static_cast<uint8_t>(AcDbObjectKind::SortentsTable))
            continue;
        auto* table = dynamic_cast<AcDbSortentsTable*>(db.objectOf(&stub));
        if (!table || table->blockId() != spaceId)
            continue;
        AcDbObjectIdArray ordered;
        if (table->getFullDrawOrder(ordered) == Acad::eOk && ordered.size() == ids.size())
            ids.assign(ordered.begin(), ordered.end());
        break;
    }
    return ids;
}

cairo_matrix_t planarPart(const AcGeMatrix3d& m)
{
    cairo_matrix_t c;
    cairo_matrix_init(&c, m.entry[0][0], m.entry[1][0], m.entry[0][1], m.entry[1][1], m.entry[0][3], m.entry[1][3]);
    return c;
}

// Text is laid out with the font's own advances, not widths rounded to the
// device's pixels, so it is as long on every device and at every scale.
void unhinted(cairo_t* cr)
{
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

double linearScale(const cairo_matrix_t& m) { return std::sqrt(std::fabs(m.xx * m.yy - m.xy * m.yx)); }

}  // namespace

struct PlotRenderer::Layer {
    AcDbObjectId id;
    bool found = false;
    bool hidden = false;  // off, frozen or not plottable
    AcCmColor colour;
    std::string linetype;
    int lineWeight = -3;
};

struct PlotRenderer::Font {
    cairo_font_face_t* face = nullptr;
    double capPerEm = 0.72;     // cap height per unit of font size
    double descentPerEm = 0.24;
    // A context at size 100 that measures advances.
    cairo_surface_t* scratch = nullptr;
    cairo_t* measure = nullptr;
    ~Font()
    {
        if (measure)
            cairo_destroy(measure);
        if (scratch)
            cairo_surface_destroy(scratch);
        if (face)
            cairo_font_face_destroy(face);
    }
    // The advance of a text at font size 1.
    double advance(const std::string& text) const
    {
        cairo_text_extents_t te;
        cairo_text_extents(measure, text.c_str(), &te);
        return te.x_advance / 100.0;
    }
};

PlotRenderer::PlotRenderer(AcDbDatabase& db) : db_(db), globalLinetypeScale_(db.ltscale()) {}

PlotRenderer::PlotRenderer(AcDbDatabase& db, cairo_t* cr, const Options& options)
    : db_(db), cr_(cr), options_(options), globalLinetypeScale_(db.ltscale())
{
    unhinted(cr_);
}

PlotRenderer::~PlotRenderer() = default;

std::string PlotRenderer::fontFamilyFor(const std::string& fontFile)
{
    std::string stem = fontFile;
    const size_t slash = stem.find_last_of("/\\");
    if (slash != std::string::npos)
        stem = stem.substr(slash + 1);
    const size_t dot = stem.rfind('.');
    std::string ext = dot == std::string::npos ? "" : upper(stem.substr(dot + 1));
    if (dot != std::string::npos)
        stem = stem.substr(0, dot);
    const std::string key = upper(stem);
    static const std::pair<const char*, const char*> kKnown[] = {
        {"ARIAL", "Liberation Sans"},       {"ARIALN", "Liberation Sans Narrow"},
        {"HELVETICA", "Liberation Sans"},   {"TIMES", "Liberation Serif"},
        {"TIMESNEWROMAN", "Liberation Serif"}, {"COUR", "Liberation Mono"},
        {"COURIER", "Liberation Mono"},     {"COURIERNEW", "Liberation Mono"},
        {"VERDANA", "DejaVu Sans"},         {"TAHOMA", "DejaVu Sans"},
        {"CALIBRI", "Liberation Sans"},     {"SEGOEUI", "DejaVu Sans"},
    };
    for (const auto& [name, family] : kKnown)
        if (key == name)
            return family;
    if (ext == "SHX" || key.empty())
        return "DejaVu Sans";
    // A TrueType file of another name: its stem, which fontconfig resolves
    // (DejaVu Sans is its default for a family it does not have).
    return stem;
}

std::string PlotRenderer::plainText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && text[i + 1] == '%') {
            const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 2])));
            const char* with = nullptr;
            switch (c) {
            case 'D': with = "\xC2\xB0"; break;
            case 'P': with = "\xC2\xB1"; break;
            case 'C': with = "\xC3\x98"; break;
            case '%': with = "%"; break;
            case 'U':
            case 'O': with = ""; break;
            default: break;
            }
            if (with) {
                out += with;
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

const PlotRenderer::Layer& PlotRenderer::layerNamed(const std::string& name)
{
    const std::string key = upper(name);
    auto it = layers_.find(key);
    if (it != layers_.end())
        return *it->second;
    auto layer = std::make_unique<Layer>();
    layer->colour.setColorIndex(7);
    AcDbLayerTable* table = nullptr;
    if (db_.getLayerTable(table, AcDb::kForRead) == Acad::eOk) {
        AcDbSymbolTableRecord* record = nullptr;
        if (table->getAt(name.c_str(), record, AcDb::kForRead) == Acad::eOk) {
            if (auto* l = dynamic_cast<AcDbLayerTableRecord*>(record)) {
                layer->found = true;
                layer->id = l->objectId();
                layer->hidden = l->isOff() || l->isFrozen() || !l->isPlottable();
                layer->colour = l->color();
                layer->linetype = l->linetypeName();
                layer->lineWeight = l->lineWeight();
            }
            record->close();
        }
        table->close();
    }
    return *layers_.emplace(key, std::move(layer)).first->second;
}

const std::vector<double>& PlotRenderer::dashesOf(const std::string& linetype)
{
    auto it = dashes_.find(linetype);
    if (it != dashes_.end())
        return it->second;
    std::vector<double> dashes;
    AcDbLinetypeTable* table = nullptr;
    if (db_.getLinetypeTable(table, AcDb::kForRead) == Acad::eOk) {
        AcDbSymbolTableRecord* record = nullptr;
        if (table->getAt(linetype.c_str(), record, AcDb::kForRead) == Acad::eOk) {
            if (auto* lt = dynamic_cast<AcDbLinetypeTableRecord*>(record))
                for (int i = 0; i < lt->numDashes(); ++i)
                    dashes.push_back(lt->dashLengthAt(i));
            record->close();
        }
        table->close();
    }
    // A pattern of gaps only, or of nothing, draws as a continuous line.
    if (std::none_of(dashes.begin(), dashes.end(), [](double d) { return d >= 0.0; }))
        dashes.clear();
    return dashes_.emplace(linetype, std::move(dashes)).first->second;
}

std::string PlotRenderer::styleFontFile(const std::string& styleName)
{
    std::string file;
    AcDbTextStyleTable* table = nullptr;
    if (db_.getTextStyleTable(table, AcDb::kForRead) == Acad::eOk) {
        AcDbSymbolTableRecord* record = nullptr;
        if (table->getAt(styleName.c_str(), record, AcDb::kForRead) == Acad::eOk ||
            table->getAt("Standard", record, AcDb::kForRead) == Acad::eOk) {
            if (auto* st = dynamic_cast<AcDbTextStyleTableRecord*>(record))
                file = st->fileName();
            record->close();
        }
        table->close();
    }
    return file;
}

const PlotRenderer::Font& PlotRenderer::fontOfStyle(const std::string& styleName)
{
    const std::string key = upper(styleName);
    auto it = fonts_.find(key);
    if (it != fonts_.end())
        return *it->second;
    return makeFont(key, fontFamilyFor(styleFontFile(styleName)), false, false);
}

const PlotRenderer::Font& PlotRenderer::fontOfRun(const AcDbMTextRun& run, const std::string& styleName)
{
    if (run.fontFamily.empty() && run.fontFile.empty() && !run.bold && !run.italic)
        return fontOfStyle(styleName);
    const std::string family = !run.fontFamily.empty() ? run.fontFamily
                               : !run.fontFile.empty() ? fontFamilyFor(run.fontFile)
                                                       : fontFamilyFor(styleFontFile(styleName));
    // Keyed apart from style names, which cannot hold a '|'.
    const std::string key = "|" + upper(family) + (run.bold ? "|B" : "|") + (run.italic ? "|I" : "|");
    auto it = fonts_.find(key);
    if (it != fonts_.end())
        return *it->second;
    return makeFont(key, family, run.bold, run.italic);
}

const PlotRenderer::Font& PlotRenderer::makeFont(const std::string& key, const std::string& family, bool bold,
                                                 bool italic)
{
    auto font = std::make_unique<Font>();
    font->face = cairo_toy_font_face_create(family.c_str(), italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                                            bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    // The font's cap height and descent per unit of size, measured once: a
    // CAD text height is the height of its capitals.
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(scratch);
    unhinted(cr);
    cairo_set_font_face(cr, font->face);
    cairo_set_font_size(cr, 100.0);
    cairo_text_extents_t te;
    cairo_text_extents(cr, "H", &te);
    if (te.height > 1.0)
        font->capPerEm = te.height / 100.0;
    font->scratch = scratch;
    font->measure = cr;
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    if (fe.descent > 0.0)
        font->descentPerEm = fe.descent / 100.0;
    return *fonts_.emplace(key, std::move(font)).first->second;
}

bool PlotRenderer::beginEntity(const AcDbEntity& entity)
{
    if (entity.kind() == AcDbObjectKind::Viewport)
        return false;
    const Pen* parent = pens_.empty() ? nullptr : &pens_.back();
    const std::string name = entity.layer();
    const Layer* layer = (name == "0" && parent) ? parent->layer : &layerNamed(name);
    if (layer && (layer->hidden || (layer->found && viewportFrozen_.count(layer->id))))
        return false;
    Pen pen;
    pen.layer = layer;
    AcCmColor colour = entity.color();
    bool byBlock = false;
    if (colour.isByLayer() && layer)
        colour = layer->colour;
    else if (colour.isByBlock())
        byBlock = parent != nullptr;
    if (byBlock) {
        pen.red = parent->red;
        pen.green = parent->green;
        pen.blue = parent->blue;
    } else if (!colour.isByColor() && (colour.colorIndex() == 7 || colour.isByBlock() || colour.isByLayer())) {
        // White (and an unresolved ByBlock/ByLayer) plots black on the white sheet.
        pen.red = pen.green = pen.blue = 0.0;
    } else {
        pen.red = colour.red() / 255.0;
        pen.green = colour.green() / 255.0;
        pen.blue = colour.blue() / 255.0;
    }
    std::string linetype = upper(entity.linetype());
    if (linetype == "BYLAYER")
        linetype = layer ? upper(layer->linetype) : "";
    else if (linetype == "BYBLOCK")
        linetype = parent ? parent->linetype : "";
    if (linetype == "CONTINUOUS" || linetype == "BYLAYER" || linetype == "BYBLOCK")
        linetype.clear();
    pen.linetype = linetype;
    pen.linetypeScale = entity.linetypeScale() * (parent ? parent->linetypeScale : 1.0);
    int weight = entity.lineWeight();
    if (weight == AcDb::kLnWtByLayer)
        weight = layer ? layer->lineWeight : AcDb::kLnWtByLwDefault;
    else if (weight == AcDb::kLnWtByBlock)
        weight = parent ? parent->lineWeight : AcDb::kLnWtByLwDefault;
    if (weight < 0)
        weight = 25;
    pen.lineWeight = weight;
    pens_.push_back(pen);
    ++drawn_;
    return true;
}

void PlotRenderer::endEntity(const AcDbEntity&)
{
    if (!pens_.empty())
        pens_.pop_back();
}

cairo_matrix_t PlotRenderer::blockToDevice() const
{
    cairo_matrix_t block = planarPart(transform());
    cairo_matrix_t result;
    cairo_matrix_multiply(&result, &block, &options_.worldToDevice);
    return result;
}

void PlotRenderer::pathPoint(const cairo_matrix_t& m, double x, double y, bool move)
{
    cairo_matrix_transform_point(&m, &x, &y);
    if (!cr_) {
        if (!measured_) {
            minX_ = maxX_ = x;
            minY_ = maxY_ = y;
            measured_ = true;
        } else {
            minX_ = std::min(minX_, x);
            maxX_ = std::max(maxX_, x);
            minY_ = std::min(minY_, y);
            maxY_ = std::max(maxY_, y);
        }
        return;
    }
    if (move)
        cairo_move_to(cr_, x, y);
    else
        cairo_line_to(cr_, x, y);
}

void PlotRenderer::setColour()
{
    if (pens_.empty())
        cairo_set_source_rgb(cr_, 0, 0, 0);
    else
        cairo_set_source_rgb(cr_, pens_.back().red, pens_.back().green, pens_.back().blue);
}

void PlotRenderer::strokePath(const cairo_matrix_t& m)
{
    if (!cr_)
        return;
    setColour();
    const Pen* pen = pens_.empty() ? nullptr : &pens_.back();
    const double weightMm = options_.printLineweights && pen ? std::max(5, pen->lineWeight) / 100.0 : 0.13;
    cairo_set_line_width(cr_, std::max(options_.minimumLineWidth, weightMm * options_.deviceUnitsPerMm));
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    std::vector<double> device;
    if (pen && !pen->linetype.empty()) {
        // Dashes in drawing units, scaled like the geometry; a gap is
        // negative, a dot zero (drawn as a short dash of the line's width).
        const double k = linearScale(m) * pen->linetypeScale * globalLinetypeScale_;
        const double dot = std::max(options_.minimumLineWidth, weightMm * options_.deviceUnitsPerMm);
        for (double d : dashesOf(pen->linetype)) {
            const bool on = d >= 0.0;
            const double length = d == 0.0 ? dot : std::fabs(d) * k;
            if (device.size() % 2 == (on ? 0u : 1u))
                device.push_back(length);
            else if (!device.empty())
                device.back() += length;
            else {
                device.push_back(0.0);
                device.push_back(length);
            }
        }
        if (device.size() % 2 == 1)
            device.push_back(0.0);
        double total = 0.0;
        for (double d : device)
            total += d;
        // Patterns finer than a device unit are drawn continuous.
        if (total < 1.0)
            device.clear();
    }
    cairo_set_dash(cr_, device.data(), static_cast<int>(device.size()), 0.0);
    cairo_stroke(cr_);
}

void PlotRenderer::fillPath(bool evenOdd)
{
    if (!cr_)
        return;
    setColour();
    cairo_set_fill_rule(cr_, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    cairo_fill(cr_);
}

void PlotRenderer::addPolyline(const cairo_matrix_t& m, const std::vector<AcGePoint3d>& points,
                               const std::vector<double>& bulges, const AcGeVector3d& normal, bool closed)
{
    if (points.empty())
        return;
    const double flip = normal.z < 0 ? -1.0 : 1.0;
    const double deviceScale = std::max(linearScale(m), 1e-12);
    pathPoint(m, points[0].x, points[0].y, true);
    const size_t segments = closed ? points.size() : points.size() - 1;
    for (size_t i = 0; i < segments; ++i) {
        const AcGePoint3d& a = points[i];
        const AcGePoint3d& b = points[(i + 1) % points.size()];
        const double bulge = i < bulges.size() ? bulges[i] * flip : 0.0;
        if (bulge != 0.0) {
            // The arc of the bulge: included angle 4 atan(bulge), centre off the chord's middle.
            const double dx = b.x - a.x, dy = b.y - a.y;
            const double chord = std::hypot(dx, dy);
            if (chord > 0.0) {
                const double sweep = 4.0 * std::atan(bulge);
                const double radius = chord / (2.0 * std::sin(std::fabs(sweep) / 2.0));
                const double sagitta = bulge * chord / 2.0;
                const double mx = (a.x + b.x) / 2.0, my = (a.y + b.y) / 2.0;
                // Centre: from the midpoint, perpendicular to the chord, (radius - sagitta) on the arc's inside.
                const double nx = -dy / chord, ny = dx / chord;
                const double toCentre = (bulge > 0 ? 1.0 : -1.0) * (radius - std::fabs(sagitta));
                const double cx = mx + nx * toCentre, cy = my + ny * toCentre;
                const double start = std::atan2(a.y - cy, a.x - cx);
                const double devRadius = radius * deviceScale;
                const double step = devRadius > 0.25 ? 2.0 * std::acos(std::max(-1.0, 1.0 - 0.1 / devRadius)) : kPi;
                const int n = std::clamp(static_cast<int>(std::ceil(std::fabs(sweep) / std::max(step, 1e-3))), 1, 4096);
                for (int k = 1; k < n; ++k) {
                    const double t = start + sweep * k / n;
                    pathPoint(m, cx + radius * std::cos(t), cy + radius * std::sin(t), false);
                }
            }
        }
        pathPoint(m, b.x, b.y, false);
    }
    if (closed && cr_)
        cairo_close_path(cr_);
}

void PlotRenderer::polyline(const std::vector<AcGePoint3d>& points, const std::vector<double>& bulges,
                            const AcGeVector3d& normal, bool closed)
{
    const cairo_matrix_t m = blockToDevice();
    addPolyline(m, points, bulges, normal, closed);
    strokePath(m);
}

void PlotRenderer::widePolyline(const std::vector<AcGePoint3d>& points, const std::vector<double>& bulges,
                                const std::vector<double>& startWidths, const std::vector<double>& endWidths,
                                const AcGeVector3d& normal, bool closed)
{
    const cairo_matrix_t m = blockToDevice();
    // Arcs in steps that stray at most a tenth of a device unit from the curve.
    const double deviceScale = std::max(linearScale(m), 1e-12);
    const auto polygons = PlotWideOutline::polygons(points, bulges, startWidths, endWidths, normal.z < 0, closed,
                                                    0.1 / deviceScale);
    for (const auto& polygon : polygons)
        for (size_t j = 0; j < polygon.size(); ++j)
            pathPoint(m, polygon[j].x, polygon[j].y, j == 0);
    if (cr_ && !polygons.empty())
        fillPath(false);
    // A band narrower than the thinnest line still shows as a line.
    addPolyline(m, points, bulges, normal, closed);
    strokePath(m);
}

void PlotRenderer::circularArc(const AcGePoint3d& centre, double radius, const AcGeVector3d& normal,
                               double startAngle, double endAngle)
{
    const cairo_matrix_t m = blockToDevice();
    const AcGeMatrix3d plane = AcGeMatrix3d::planeToWorld(normal);
    const AcGeVector3d xAxis = plane * AcGeVector3d(1, 0, 0);
    const AcGeVector3d yAxis = plane * AcGeVector3d(0, 1, 0);
    double sweep = endAngle - startAngle;
    while (sweep <= 0.0)
        sweep += 2.0 * kPi;
    const bool full = std::fabs(sweep - 2.0 * kPi) < 1e-12;
    const double devRadius = radius * linearScale(m);
    const double step = devRadius > 0.25 ? 2.0 * std::acos(std::max(-1.0, 1.0 - 0.1 / devRadius)) : kPi / 2;
    const int n = std::clamp(static_cast<int>(std::ceil(sweep / std::max(step, 1e-3))), 8, 8192);
    for (int k = 0; k <= n; ++k) {
        const double t = startAngle + sweep * k / n;
        const double c = std::cos(t) * radius, s = std::sin(t) * radius;
        pathPoint(m, centre.x + c * xAxis.x + s * yAxis.x, centre.y + c * xAxis.y + s * yAxis.y, k == 0);
    }
    if (full && cr_)
        cairo_close_path(cr_);
    strokePath(m);
}

void PlotRenderer::polygon(const std::vector<AcGePoint3d>& corners)
{
    if (corners.size() < 3)
        return;
    const cairo_matrix_t m = blockToDevice();
    addPolyline(m, corners, {}, AcGeVector3d(0, 0, 1), true);
    fillPath(false);
}

void PlotRenderer::text(const AcDbSinkText& run)
{
    const std::string shown = plainText(run.text);
    if (shown.empty() || !(run.height > 0.0))
        return;
    if (!cr_) {
        // Measuring: the text's estimated box.
        const cairo_matrix_t m = blockToDevice();
        for (size_t i = 0; i < run.box.size(); ++i)
            pathPoint(m, run.box[i].x, run.box[i].y, i == 0);
        return;
    }
    if (offPage(run.box, run.height))
        return;
    const Font& font = fontOfStyle(run.styleName);
    double height = run.height;
    double width = run.widthFactor > 0.0 ? run.widthFactor : 1.0;
    double size = height / font.capPerEm;
    double advance = font.advance(shown) * size * width;  // drawing units

    double rotation = run.rotation;
    AcGePoint3d origin = run.position;
    double u0 = 0.0, v0 = 0.0;
    const int h = run.horizontalMode, v = run.verticalMode;
    if ((h == AcDb::kTextAlign || h == AcDb::kTextFit) && advance > 0.0) {
        const double dx = run.alignment.x - run.position.x, dy = run.alignment.y - run.position.y;
        const double length = std::hypot(dx, dy);
        if (length > 0.0) {
            rotation = std::atan2(dy, dx);
            const double k = length / advance;
            if (h == AcDb::kTextAlign) {
                height *= k;
                size *= k;
            }
            width *= k;
            advance = length;
        }
    } else if (!(h == AcDb::kTextLeft && v == AcDb::kTextBase)) {
        origin = run.alignment;
        if (h == AcDb::kTextCenter || h == AcDb::kTextMid)
            u0 = -advance / 2.0;
        else if (h == AcDb::kTextRight)
            u0 = -advance;
        if (h == AcDb::kTextMid || v == AcDb::kTextVertMid)
            v0 = -height / 2.0;
        else if (v == AcDb::kTextTop)
            v0 = -height;
        else if (v == AcDb::kTextBottom)
            v0 = font.descentPerEm * size;
    }
    // Glyph space (y down, font units of size) to the text's own frame
    // (x along the baseline, y up), then sheared, turned and placed.
    cairo_matrix_t glyph;
    cairo_matrix_init(&glyph, width, 0.0, -std::tan(run.oblique), -1.0, u0, v0);
    if (run.mirroredInX || run.mirroredInY) {
        cairo_matrix_t mirror;
        cairo_matrix_init(&mirror, run.mirroredInX ? -1.0 : 1.0, 0, 0, run.mirroredInY ? -1.0 : 1.0,
                          run.mirroredInX ? advance : 0.0, run.mirroredInY ? height : 0.0);
        cairo_matrix_multiply(&glyph, &glyph, &mirror);
    }
    cairo_matrix_t place;
    cairo_matrix_init(&place, std::cos(rotation), std::sin(rotation), -std::sin(rotation), std::cos(rotation), origin.x,
                      origin.y);
    const cairo_matrix_t device = blockToDevice();
    cairo_matrix_t full;
    cairo_matrix_multiply(&full, &glyph, &place);
    cairo_matrix_multiply(&full, &full, &device);
    if (std::fabs(full.xx * full.yy - full.xy * full.yx) > 1e-18) {
        cairo_save(cr_);
        cairo_set_font_face(cr_, font.face);
        cairo_set_font_size(cr_, size);
        cairo_set_matrix(cr_, &full);
        setColour();
        cairo_move_to(cr_, 0.0, 0.0);
        cairo_show_text(cr_, shown.c_str());
        cairo_new_path(cr_);
        cairo_restore(cr_);
    }
}

bool PlotRenderer::offPage(const std::vector<AcGePoint3d>& box, double height) const
{
    // A text wholly off the page (with its height to spare: the box is an estimate) is not drawn.
    if (!(options_.deviceWidth > 0.0) || box.size() != 4)
        return false;
    const cairo_matrix_t m = blockToDevice();
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const AcGePoint3d& p : box) {
        double x = p.x, y = p.y;
        cairo_matrix_transform_point(&m, &x, &y);
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    const double spare = height * linearScale(m);
    return x1 < -spare || y1 < -spare || x0 > options_.deviceWidth + spare || y0 > options_.deviceHeight + spare;
}

void PlotRenderer::mtext(const AcDbSinkMText& text)
{
    if (!(text.height > 0.0) || text.paragraphs.empty())
        return;
    const cairo_matrix_t device = blockToDevice();
    if (!cr_) {
        // Measuring: the text's estimated box.
        for (size_t i = 0; i < text.box.size(); ++i)
            pathPoint(device, text.box[i].x, text.box[i].y, i == 0);
        return;
    }
    if (offPage(text.box, text.height))
        return;
    const auto lines = PlotMTextLayout::layout(text, [&](const AcDbMTextRun& run, const std::string& s) {
        const Font& font = fontOfRun(run, text.styleName);
        return font.advance(plainText(s)) * run.height / font.capPerEm * run.widthFactor;
    });
    // The text's frame (x along its direction, y across it in its plane) in block coordinates.
    const AcGeVector3d up = text.normal.crossProduct(text.direction);
    cairo_matrix_t place;
    cairo_matrix_init(&place, text.direction.x, text.direction.y, up.x, up.y, text.location.x, text.location.y);
    cairo_matrix_t frame;
    cairo_matrix_multiply(&frame, &place, &device);
    for (const PlotMTextLayout::Line& line : lines)
        for (const PlotMTextLayout::Piece& piece : line.pieces) {
            const AcDbMTextRun& run = *piece.run;
            const std::string shown = plainText(piece.text);
            if (shown.empty() || !(run.height > 0.0))
                continue;
            const Font& font = fontOfRun(run, text.styleName);
            cairo_matrix_t glyph, full;
            cairo_matrix_init(&glyph, run.widthFactor, 0.0, -std::tan(run.oblique), -1.0, piece.x, line.baseline);
            cairo_matrix_multiply(&full, &glyph, &frame);
            if (!(std::fabs(full.xx * full.yy - full.xy * full.yx) > 1e-18))
                continue;
            // A run's own colour (\\C, \\c), else the entity's; white plots black.
            auto colour = [&] {
                if (run.hasColour && !(run.colour.isByACI() && run.colour.colorIndex() == 7))
                    cairo_set_source_rgb(cr_, run.colour.red() / 255.0, run.colour.green() / 255.0,
                                         run.colour.blue() / 255.0);
                else
                    setColour();
            };
            cairo_save(cr_);
            colour();
            cairo_set_font_face(cr_, font.face);
            cairo_set_font_size(cr_, run.height / font.capPerEm);
            cairo_set_matrix(cr_, &full);
            cairo_move_to(cr_, 0.0, 0.0);
            cairo_show_text(cr_, shown.c_str());
            cairo_new_path(cr_);
            cairo_restore(cr_);
            // Lines under, over and through the run, a tenth of its height thick.
            const double marks[] = {run.underline ? -0.2 : 2.0, run.overline ? 1.2 : 2.0, run.strikeThrough ? 0.5 : 2.0};
            for (double at : marks) {
                if (at > 1.5)
                    continue;
                const double y = line.baseline + at * run.height;
                pathPoint(frame, piece.x, y, true);
                pathPoint(frame, piece.x + piece.advance, y, false);
                cairo_save(cr_);
                colour();
                cairo_set_line_width(cr_, std::max(options_.minimumLineWidth, 0.1 * run.height * linearScale(frame)));
                cairo_stroke(cr_);
                cairo_restore(cr_);
            }
        }
}

void PlotRenderer::hatch(const AcDbSinkHatch& fill)
{
    const AcDbHatch* h = fill.hatch;
    if (!h) {
        AcDbGeometrySink::hatch(fill);
        return;
    }
    const cairo_matrix_t m = blockToDevice();
    const AcGeMatrix3d plane = AcGeMatrix3d::planeToWorld(h->normal());
    const bool plusZ = h->normal().x == 0.0 && h->normal().y == 0.0 && h->normal().z > 0.0;
    auto toBlock = [&](double x, double y) {
        AcGePoint3d p(x, y, h->elevation());
        return plusZ ? p : plane * p;
    };
    if (h->isSolidFill() || !cr_) {
        for (int i = 0; i < h->numLoops(); ++i) {
            const std::vector<AcGePoint2d> outline = h->loopOutline(i);
            for (size_t k = 0; k < outline.size(); ++k) {
                const AcGePoint3d p = toBlock(outline[k].x, outline[k].y);
                pathPoint(m, p.x, p.y, k == 0);
            }
            if (cr_ && !outline.empty())
                cairo_close_path(cr_);
        }
        fillPath(true);
        return;
    }
    // Pattern lines: a copy of the hatch works them out, so the drawing's own is left as it is.
    std::unique_ptr<AcDbEntity> copy(h->clone());
    auto* work = dynamic_cast<AcDbHatch*>(copy.get());
    if (!work || work->evaluateHatch() != Acad::eOk)
        return;
    for (int i = 0; i < work->numHatchLines(); ++i) {
        AcGePoint2d a, b;
        if (work->getHatchLineDataAt(i, a, b) != Acad::eOk)
            continue;
        const AcGePoint3d pa = toBlock(a.x, a.y), pb = toBlock(b.x, b.y);
        pathPoint(m, pa.x, pa.y, true);
        pathPoint(m, pb.x, pb.y, false);
    }
    // Pattern lines are drawn continuous, whatever the entity's linetype.
    Pen& pen = pens_.back();
    const std::string linetype = pen.linetype;
    pen.linetype.clear();
    strokePath(m);
    pen.linetype = linetype;
}

void PlotRenderer::drawSpace(AcDbObjectId spaceId, const std::function<void(const AcDbViewport&)>& onViewport)
{
    for (const AcDbObjectId& id : drawOrderOf(db_, spaceId)) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk)
            continue;
        if (auto* viewport = dynamic_cast<AcDbViewport*>(entity)) {
            if (onViewport)
                onViewport(*viewport);
        } else {
            entity->drawGeometry(*this);
        }
        entity->close();
    }
}

bool PlotRenderer::extents(double& minX, double& minY, double& maxX, double& maxY) const
{
    if (!measured_)
        return false;
    minX = minX_;
    minY = minY_;
    maxX = maxX_;
    maxY = maxY_;
    return true;
}
