#pragma once
#include <string>

// Where a plot puts the drawing on the sheet: the page size and the affine
// map from drawing coordinates to paper millimetres (origin at the page's
// lower left, y up). Built from a plot area, a scale (or fit), centring or
// an origin offset, a rotation in quarter turns and the printable margins.
class PlotFrame {
public:
    struct Input {
        double paperWidth = 420.0, paperHeight = 297.0;    // millimetres
        double marginLeft = 0, marginBottom = 0, marginRight = 0, marginTop = 0;
        double areaMinX = 0, areaMinY = 0, areaMaxX = 1, areaMaxY = 1;  // drawing units
        double scale = 0.0;      // paper millimetres per drawing unit; 0 scales to fit
        bool centred = true;     // otherwise the area's corner goes to the printable corner plus the origin
        double originX = 0.0, originY = 0.0;  // millimetres
        int rotation = 0;        // counter-clockwise quarter turns of the drawing on the sheet
    };

    // The frame of the input. An empty or inverted area plots as a unit square
    // about its first corner; a paper size of zero becomes ISO A3 landscape.
    static PlotFrame compute(const Input& in);

    // The paper size of a canonical media name such as "ISO_A3_(420.00_x_297.00_MM)" or
    // "ANSI_B_(17.00_x_11.00_Inches)", in millimetres; false for a name without a size.
    static bool mediaPaperSize(const std::string& media, double& widthMm, double& heightMm);

    double pageWidth() const { return pageWidth_; }
    double pageHeight() const { return pageHeight_; }
    // Paper millimetres per drawing unit.
    double scale() const { return scale_; }
    // A drawing point on the paper, millimetres from the page's lower left.
    void toPaper(double x, double y, double& px, double& py) const
    {
        px = xx_ * x + xy_ * y + x0_;
        py = yx_ * x + yy_ * y + y0_;
    }
    // The linear part and offset of toPaper: px = xx x + xy y + x0, py = yx x + yy y + y0.
    double xx() const { return xx_; }
    double xy() const { return xy_; }
    double yx() const { return yx_; }
    double yy() const { return yy_; }
    double x0() const { return x0_; }
    double y0() const { return y0_; }

private:
    double pageWidth_ = 0, pageHeight_ = 0, scale_ = 1;
    double xx_ = 1, xy_ = 0, yx_ = 0, yy_ = 1, x0_ = 0, y0_ = 0;
};
