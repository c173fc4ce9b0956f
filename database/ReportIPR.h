#pragma once
// A graphic report as the property database holds it, turned into the
// report's own objects (CGraphicReport with its categories, their space
// block records, assets and hyperlinks, the layers it switches on and its
// link lines), and the drawing's layers and layouts written back. Every
// operation runs on the caller's CStoredProcedure with the given command
// timeout; a procedure that is not connected loads nothing.

#include <cstdint>
#include <memory>
#include <string>

class CBlocks;
class CCategories;
class CGraphicReport;
class CHatch;
class CLayers;
class CLayouts;
class CLinkLines;
class CStoredProcedure;

class CReportIPR {
public:
    CReportIPR(CStoredProcedure& sp, uint32_t timeout) : sp_(sp), timeout_(timeout) {}

    // Fills the report from "__gr_getGraphicReport" and, for its id, the
    // categories, layers and link lines (each kept only when not empty). A
    // missing or empty output path takes defaultOutputPath. False, the report
    // untouched, when the database has no report of that id.
    bool getGraphicReport(int32_t graphicReportID, const std::string& defaultOutputPath, CGraphicReport& report);
    // The report's categories in order: title, hatch (when the row names a
    // pattern; no layer gives "_Zelka"), the space block records and the
    // assets of each (kept when not empty).
    std::unique_ptr<CCategories> getReportCategories(int32_t graphicReportID);
    // Appends the space block records of a category: handle, name, code and
    // area as the database holds them (a null leaves the field), the swap
    // texts as attributes 0-2 (when not null or empty), the block's
    // hyperlinks (when any) and a copy of the category's hatch (when given).
    void getCategoryDWGBlocks(int32_t categoryID, const CHatch* hatch, CBlocks& blocks);
    std::unique_ptr<CLayers> getGraphicReportLayersOn(int32_t graphicReportID);
    std::unique_ptr<CLinkLines> getGraphicReportLinkLines(int32_t graphicReportID);

    // Records each layer (name, an empty description, colour index) and each
    // layout of a drawing under its attachment id; deleteDrawingLayouts first
    // forgets the layouts recorded for it.
    void addLayersToIPR(const CLayers& layers, int32_t attachID);
    void addLayoutsToIPR(const CLayouts& layouts, int32_t attachID);
    void deleteDrawingLayouts(int32_t attachID);

private:
    CStoredProcedure& sp_;
    uint32_t timeout_;
};
