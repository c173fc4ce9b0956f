#pragma once
#include <cairo.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/db/AcDbGeometrySink.h"
#include "host/db/AcDbObjectId.h"

class AcDbDatabase;
class AcDbViewport;

// Draws what entities tell the geometry sink onto a cairo context: strokes in
// the entity's resolved colour, linetype (dashes times the drawing's $LTSCALE
// and the entity's linetype scale) and line weight, wide polylines as filled
// bands, texts and multiline texts with the fonts their styles (or inline
// font codes) map to, hatches filled or with their pattern lines.
// Entities on layers that are off, frozen, not plottable or frozen in the
// viewport being drawn are left out, with everything a block reference on
// such a layer would draw. Entities on layer "0" inside a block take the
// reference's layer; ByBlock colours, linetypes and line weights take the
// reference's. Colour 7 (white) plots black on the white sheet.
//
// Without a cairo context the renderer only measures: extents() is then the
// box of everything it would draw, in world coordinates.
class PlotRenderer : public AcDbGeometrySink {
public:
    struct Options {
        // World (drawing) coordinates to device units (y down for cairo).
        cairo_matrix_t worldToDevice{1, 0, 0, 1, 0, 0};
        // Device units per paper millimetre (points: 72/25.4; pixels: dpi/25.4).
        double deviceUnitsPerMm = 72.0 / 25.4;
        // Line weights as stored (otherwise every line is thin).
        bool printLineweights = false;
        // The thinnest line in device units (a raster gets at least one pixel).
        double minimumLineWidth = 0.0;
        // The page in device units; texts wholly outside it are not drawn (0: no page known).
        double deviceWidth = 0.0, deviceHeight = 0.0;
    };

    // A renderer that measures.
    explicit PlotRenderer(AcDbDatabase& db);
    // A renderer that draws onto cr (not owned).
    PlotRenderer(AcDbDatabase& db, cairo_t* cr, const Options& options);
    ~PlotRenderer() override;
    PlotRenderer(const PlotRenderer&) = delete;
    PlotRenderer& operator=(const PlotRenderer&) = delete;

    // Draws the entities of a block table record (model space, a layout's
    // block) in their draw order (the space's ACAD_SORTENTS table when it has
    // one). Viewports are not drawn; each is handed to onViewport when set.
    void drawSpace(AcDbObjectId spaceId, const std::function<void(const AcDbViewport&)>& onViewport = {});
    // Layers (by id) left out as frozen in the viewport being drawn.
    void setViewportFrozenLayers(std::set<AcDbObjectId> layers) { viewportFrozen_ = std::move(layers); }
    // Replaces the world-to-device matrix (a viewport's view).
    void setWorldToDevice(const cairo_matrix_t& m) { options_.worldToDevice = m; }

    // The world box measured so far; false when nothing was drawn.
    bool extents(double& minX, double& minY, double& maxX, double& maxY) const;
    // The number of entities drawn (measured) so far.
    size_t entitiesDrawn() const { return drawn_; }

    // The TrueType family a text style's font file plots with: its own family
    // when fontconfig knows it, the metric-compatible Liberation family for
    // the common Windows fonts, DejaVu Sans for SHX fonts and anything unknown.
    static std::string fontFamilyFor(const std::string& fontFile);
    // The text with the %%-codes of CAD text replaced: %%d degree, %%p plus-minus,
    // %%c diameter, %%% percent; %%u and %%o (underline, overline) removed.
    static std::string plainText(const std::string& text);

    void polyline(const std::vector<AcGePoint3d>& points, const std::vector<double>& bulges, const AcGeVector3d& normal,
                  bool closed) override;
    void widePolyline(const std::vector<AcGePoint3d>& points, const std::vector<double>& bulges,
                      const std::vector<double>& startWidths, const std::vector<double>& endWidths,
                      const AcGeVector3d& normal, bool closed) override;
    void circularArc(const AcGePoint3d& centre, double radius, const AcGeVector3d& normal, double startAngle,
                     double endAngle) override;
    void polygon(const std::vector<AcGePoint3d>& corners) override;
    void text(const AcDbSinkText& run) override;
    void mtext(const AcDbSinkMText& text) override;
    void hatch(const AcDbSinkHatch& fill) override;
    bool beginEntity(const AcDbEntity& entity) override;
    void endEntity(const AcDbEntity& entity) override;

private:
    struct Layer;
    struct Font;
    struct Pen {
        const Layer* layer = nullptr;
        double red = 0, green = 0, blue = 0;
        std::string linetype;  // resolved name, upper case; empty for continuous
        double linetypeScale = 1.0;
        int lineWeight = 25;   // hundredths of a millimetre
    };

    const Layer& layerNamed(const std::string& name);
    const Font& fontOfStyle(const std::string& styleName);
    // The font a run of multiline text names (\\f, \\F, bold, italic), else its style's.
    const Font& fontOfRun(const AcDbMTextRun& run, const std::string& styleName);
    const Font& makeFont(const std::string& key, const std::string& family, bool bold, bool italic);
    // The font file of a text style (the Standard style's when it is missing).
    std::string styleFontFile(const std::string& styleName);
    // True when a text's estimated box (block coordinates) lies wholly off the page.
    bool offPage(const std::vector<AcGePoint3d>& box, double height) const;
    const std::vector<double>& dashesOf(const std::string& linetype);
    // The current block-to-device matrix.
    cairo_matrix_t blockToDevice() const;
    // Adds a point (block coordinates) to the path or to the measured box.
    void pathPoint(const cairo_matrix_t& m, double x, double y, bool move);
    // Strokes the path with the current pen.
    void strokePath(const cairo_matrix_t& m);
    void fillPath(bool evenOdd);
    void setColour();
    // The straight pieces of a bulged polyline in the plane (block coordinates).
    void addPolyline(const cairo_matrix_t& m, const std::vector<AcGePoint3d>& points, const std::vector<double>& bulges,
                     const AcGeVector3d& normal, bool closed);

    AcDbDatabase& db_;
    cairo_t* cr_ = nullptr;
    Options options_;
    std::vector<Pen> pens_;
    std::map<std::string, std::unique_ptr<Layer>> layers_;
    std::map<std::string, std::unique_ptr<Font>> fonts_;
    std::map<std::string, std::vector<double>> dashes_;
    std::set<AcDbObjectId> viewportFrozen_;
    double globalLinetypeScale_ = 1.0;
    bool measured_ = false;
    double minX_ = 0, minY_ = 0, maxX_ = 0, maxY_ = 0;
    size_t drawn_ = 0;
};
