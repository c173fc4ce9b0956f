#include "host/plot/PlotFrame.h"

#include <algorithm>
#include <cstdio>

PlotFrame PlotFrame::compute(const Input& in)
{
    PlotFrame f;
    f.pageWidth_ = in.paperWidth > 0 ? in.paperWidth : 420.0;
    f.pageHeight_ = in.paperHeight > 0 ? in.paperHeight : 297.0;
    const double printLeft = std::max(0.0, in.marginLeft);
    const double printBottom = std::max(0.0, in.marginBottom);
    const double printWidth = std::max(1e-9, f.pageWidth_ - printLeft - std::max(0.0, in.marginRight));
    const double printHeight = std::max(1e-9, f.pageHeight_ - printBottom - std::max(0.0, in.marginTop));

    double minX = in.areaMinX, minY = in.areaMinY, maxX = in.areaMaxX, maxY = in.areaMaxY;
    if (!(maxX > minX))
        maxX = minX + 1.0;
    if (!(maxY > minY))
        maxY = minY + 1.0;
    const int quarter = ((in.rotation % 4) + 4) % 4;
    const bool sideways = quarter % 2 == 1;
    // The area's size once turned on the sheet.
    const double turnedWidth = sideways ? maxY - minY : maxX - minX;
    const double turnedHeight = sideways ? maxX - minX : maxY - minY;
    double s = in.scale;
    if (!(s > 0.0))
        s = std::min(printWidth / turnedWidth, printHeight / turnedHeight);
    f.scale_ = s;

    // Rotation by quarter turns: (cos, sin) of the angle.
    static const int cosOf[4] = {1, 0, -1, 0};
    static const int sinOf[4] = {0, 1, 0, -1};
    const double c = cosOf[quarter] * s, n = sinOf[quarter] * s;
    f.xx_ = c;
    f.xy_ = -n;
    f.yx_ = n;
    f.yy_ = c;
    // Where the area's centre lands.
    double cx, cy;
    if (in.centred) {
        cx = printLeft + printWidth / 2.0;
        cy = printBottom + printHeight / 2.0;
    } else {
        cx = printLeft + in.originX + turnedWidth * s / 2.0;
        cy = printBottom + in.originY + turnedHeight * s / 2.0;
    }
    const double mx = (minX + maxX) / 2.0, my = (minY + maxY) / 2.0;
    f.x0_ = cx - (f.xx_ * mx + f.xy_ * my);
    f.y0_ = cy - (f.yx_ * mx + f.yy_ * my);
    return f;
}

bool PlotFrame::mediaPaperSize(const std::string& media, double& widthMm, double& heightMm)
{
    const size_t open = media.rfind('(');
    if (open == std::string::npos)
        return false;
    double w = 0, h = 0;
    char unit[16] = {0};
    if (std::sscanf(media.c_str() + open, "(%lf_x_%lf_%15[A-Za-z])", &w, &h, unit) != 3 || w <= 0 || h <= 0)
        return false;
    const std::string u(unit);
    double factor;
    if (u == "MM" || u == "mm")
        factor = 1.0;
    else if (u == "Inches" || u == "INCHES" || u == "in")
        factor = 25.4;
    else
        return false;
    widthMm = w * factor;
    heightMm = h * factor;
    return true;
}
