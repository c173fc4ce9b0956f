#pragma once
// Static helpers between the module and the host: measuring closed outlines
// in the drawing's units, the command-line prompts every command shares,
// turning handles into object ids, and the draw order.
//
// Measuring operations take entities the caller holds open and never open or
// close them. Every operation wraps failures in a CEXUnhandled chain naming
// it ("CAcadUtilities::...", class "AcadUtilities"). Cancelling a prompt is
// never an error: the result says so.

#include <cstdint>
#include <string>
#include <vector>

#include "host/db/AcDbHandle.h"
#include "host/db/AcDbObjectId.h"
#include "host/db/AcDbObjectIdArray.h"
#include "host/ge/AcGePoint3d.h"

class CAcadDrawing;
class AcDbBlockReference;
class AcDbDatabase;
class AcDbEntity;
class AcDbPolyline;
class CBlockDWG;

class CAcadUtilities {
public:
    // Divisors from drawing quantities to results: lunits 3 and 4 mean the
    // drawing is in inches, anything else millimetres; units 0 gives metres,
    // anything else feet.
    static double areaDivisor(int16_t lunits, int32_t units);
    static double lengthDivisor(int16_t lunits, int32_t units);

    // Length of the whole curve in drawing units (arcs as arcs, the closing
    // segment of a closed polyline included); 0 when the host cannot measure it.
    static double getPolyPerimeter(const AcDbPolyline* polyline);
    // The polyline's area divided by the area divisor.
    static double calculatePolylineArea(const AcDbPolyline* polyline, int16_t lunits, int32_t units);
    // getPolyPerimeter divided by the length divisor.
    static double calculatePolylinePerimeter(const AcDbPolyline* polyline, int16_t lunits, int32_t units);
    // The outline's converted area times |X scale| x |Y scale| of the reference.
    static double recalculateBlockArea(const AcDbBlockReference* reference, const AcDbPolyline* outline,
                                       int16_t lunits, int32_t units);
    // The outline's converted length times |X scale| when |X| = |Y|; 0 when they differ.
    static double recalculateBlockPerimeter(const AcDbBlockReference* reference, const AcDbPolyline* outline,
                                            int16_t lunits, int32_t units);
    // The first lightweight polyline of a block definition, or the null id
    // (also when the definition cannot be opened).
    static AcDbObjectId getBlockOutlineId(AcDbObjectId blockDefinitionId);
    // The outline's extents in block coordinates, grown by margin when it is
    // positive, then both corners put through the block transform (not
    // re-sorted). Leaves the corners untouched and returns false when the
    // entity is not a block reference or has no outline.
    static bool getBlockExtents(const AcDbEntity* entity, AcGePoint3d& lower, AcGePoint3d& upper, double margin);
    // A point between the current UCS of the working database and world
    // coordinates; the point itself when there is no working database.
    static AcGePoint3d convertUCSToWCS(const AcGePoint3d& point);
    static AcGePoint3d convertWCSToUCS(const AcGePoint3d& point);

    // Prompts "\n<prompt> <default>:" and echoes the final value. value is
    // first set to the default, so a cancelled read leaves the default.
    // Returns the host's result (RTNORM on success).
    static int getInteger(const std::string& prompt, int32_t defaultValue, int32_t& value);
    static int getDouble(const std::string& prompt, double defaultValue, double& value, int precision);
    static int getBoolean(const std::string& prompt, bool defaultValue, bool& value);
    // The text prompts ask again, with "\nInvalid input! - " in front, until a
    // read succeeds; an empty answer keeps the default. Returns RTNORM.
    static int getString(const std::string& prompt, const std::string& defaultValue, std::string& value);
    // Prompts "\n<prompt>:" and returns the answer (asking again as above).
    static std::string getString(const std::string& prompt);

    // Picks one entity of the class (e.g. "AcDbPolyline"): asks "\n" + prompt
    // until such an entity is picked, printing "Invalid selection - <class>.\n"
    // for any other; a failed or cancelled pick prints "Cancelled by User.\n".
    // Returns 0 with the id, non-zero when cancelled.
    static int selectObjectId(AcDbObjectId& id, const std::string& prompt, const std::string& className);
    // One pick of any entity with the prompt. Returns the host's result, and
    // the id when it is RTNORM.
    static int selectObjectId(const std::string& prompt, AcDbObjectId& id);
    // Prints the prompt on its own line and appends the id of every entity of
    // the selection set the user builds. False when no set was made.
    static bool selectObjectIds(const std::string& prompt, AcDbObjectIdArray& ids);
    // Asks for a block reference until one is picked ("Invalid selection.\n"
    // for anything else) and copies it, read as a space block, into target.
    // False, after "Cancelled by User.\n", when the pick fails or is cancelled.
    static bool userSelectZelkaBlock(CAcadDrawing& drawing, CBlockDWG& target);

    // The object id of the entity with the handle in the working database;
    // the null id when the host does not know the handle.
    static AcDbObjectId convertHandleToObjectId(const AcDbHandle& handle);
    // Appends one handle per comma-terminated piece of text; text after the
    // last comma is ignored; nothing is checked against a drawing.
    static void convertHandlesStringToArray(const std::string& text, std::vector<AcDbHandle>& handles);

    // Draws the entity before every other of its block: sets the low seven
    // bits of the drawing's SORTENTS setting, then moves the entity to the
    // bottom of its owner's "ACAD_SORTENTS" table (made when missing).
    // Returns false, having changed nothing, when a step fails. While a
    // CSendToBackBatch is open it only records the entity and returns true.
    static bool sendToBack(AcDbObjectId entityId);

    // Plot devices by id: 0 "DWF6 ePlot.pc3" (.dwf), 1 "DWG To PDF.pc3"
    // (.pdf), 2 "PublishToWeb JPG.pc3" (.jpg), 3 "PublishToWeb PNG.pc3" (.png);
    // other ids give those of 0.
    static std::string plotExtension(int32_t device);
    static std::string convertPlotDevice(int32_t device);
    // The canonical media name of a media size id 1..88; any other id gives
    // that of id 0, "ISO_A1_(841.00_x_594.00_MM)".
    static std::string convertMediaSize(int32_t id);
    // Ids from the property database and report files to the host's plot
    // values: devices 0..3 kept, else 0; plot areas 1..5 kept, else 0
    // (display); media 1..88 kept, else 0; scales 1..18 kept, 19..33 become
    // 20..34, else 0 (scale to fit).
    static int32_t convertToPlotDeviceID(int32_t id);
    static int32_t convertToPlotAreaID(int32_t id);
    static int32_t convertToMediaSizeID(int32_t id);
    static int32_t convertToScaleID(int32_t id);
    // The plot file name with the device's extension: appended when the name
    // has no ".", kept when it already ends with it, else everything from the
    // last "." replaced. Throws CEXInvalidPlotFilename for an empty name.
    static std::string checkPlotFileExtension(const std::string& fileName, int32_t device);
    // The same for several entities at once, each owner's table reordered
    // once: the first given ends lowest. False when a step fails for one.
    static bool sendToBack(const AcDbObjectIdArray& entityIds);

private:
    // Moves the entities of one owner to the bottom of its sort table.
    static bool moveToBottomOf(AcDbObjectId ownerId, const AcDbObjectIdArray& ids);
};
