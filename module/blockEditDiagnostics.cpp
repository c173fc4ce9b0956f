// Command bodies of the diagnostic commands that exercise the prompts and the
// XML utilities (md8, md9) and the developer's outline probe (test).

#include <string>

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"
#include "host/ed/acutPrintf.h"
#include "infra/FileUtilities.h"
#include "infra/Utilities.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/CommandFrame.h"
#include "module/SpaceCommandRun.h"
#include "module/SpaceCommandSupport.h"
#include "module/blockEdit.h"
#include "spaces/AcadUtilities.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"

namespace {

// Where md9 writes unless told otherwise: the module's temporary folder
// stands in for the root of the system drive.
std::string defaultDiagnosisPath()
{
    std::string folder = zelkaTempFolder();
    if (folder.empty()) folder = "/tmp/";
    return folder + "zelkaDiagnosis.xml";
}

}  // namespace

void zelkaDiagnosticXML()
{
    zelkaCommandFrame(nullptr, "diagnosticXML", [] {
        acutPrintf("xml test - outputs xml file to specified location\n");
        std::string path;
        zelkaPromptString("please enter output file path", defaultDiagnosisPath(), path);
        if (zelkaInputEnded()) return;
        CFileUtilities files;
        if (files.fileExists(path)) files.deleteFile(path);
        CXMLUtilities xml;
        {
            // The frame with both processing instructions: the declaration and
            // a stylesheet instruction naming no stylesheet.
            pugi::xml_document document;
            pugi::xml_node root = xml.makeFramedDocument(document, "", "root", ZELKA_DOCMON_NAMESPACE);
            pugi::xml_node stylesheet = document.insert_child_before(pugi::node_pi, root);
            stylesheet.set_name("xml-stylesheet");
            stylesheet.set_value("type=\"text/xsl\" href=\"\"");
            xml.saveXMLDocument(document, path);
        }
        pugi::xml_document document;
        CXMLLoadResult loaded = xml.loadXMLDocument(document, path);
        if (!loaded.ok)
            throw CEXUnhandled(ZELKA_MODULE_TITLE, "blockEdit.cpp", "diagnosticXML", loaded.describe(), 0);
        pugi::xml_node root = document.select_node("/*").node();
        xml.createNode(root, "name", ZELKA_DOCMON_NAMESPACE, "value");
        xml.saveXMLDocument(document, path);
        acutPrintf("xml test completed successfully\n");
    });
}

void zelkaDiagnosticUserInput()
{
    zelkaCommandFrame(nullptr, "diagnosticUserInput", [] {
        CUtilities util;
        acutPrintf("user input test - tests boolean, double, integer, string input\n");
        bool flag = false;
        CAcadUtilities::getBoolean("testing boolean input. Type 0 or 1 and then enter", false, flag);
        if (zelkaInputEnded()) return;
        acutPrintf("boolean user input test successful - %s\n", flag ? "1" : "0");
        double number = 0.0;
        CAcadUtilities::getDouble("testing decimal input. Type a decimal number and then enter", 0.0, number, 3);
        if (zelkaInputEnded()) return;
        acutPrintf("decimal user input test successful - %s\n", util.DoubleToCString(number, 3).c_str());
        int32_t whole = 0;
        CAcadUtilities::getInteger("testing integer input. Type an integer(whole) number and then enter", 0, whole);
        if (zelkaInputEnded()) return;
        acutPrintf("integer user input test successful - %i\n", whole);
        std::string text;
        CAcadUtilities::getString("testing text input. Type some text and then enter", "diagnosis", text);
        if (zelkaInputEnded()) return;
        acutPrintf("text user input test successful - %s\n", text.c_str());
        acutPrintf("user input test finished\n");
    });
}

namespace {

// The id of the first entity of the definition whose class is "AcDbPolyline",
// or the null id.
AcDbObjectId firstPolylineOf(AcDbObjectId definitionId)
{
    AcDbObjectPointer<AcDbBlockTableRecord> definition(definitionId, AcDb::kForRead);
    if (!definition) return AcDbObjectId::kNull;
    for (AcDbObjectId id : definition->entityIds()) {
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
        if (entity && std::string(entity->isA()->name()) == "AcDbPolyline") return id;
    }
    return AcDbObjectId::kNull;
}

}  // namespace

void zelkaTest()
{
    zelkaCommandFrame(nullptr, "test", [] {
        CUtilities util;
        CSpaceCommandRun run;
        acutPrintf("found %i ZelkaBlocks \n", run.gather().size());
        run.forEachBlock(
            [&](CBlockDWG& block) {
                AcDbObjectPointer<AcDbBlockReference> reference(block.getBlockReferenceId(), AcDb::kForRead);
                if (!reference) return;
                const AcDbObjectId outlineId = firstPolylineOf(reference->blockTableRecord());
                if (outlineId.isNull()) return;
                AcDbObjectPointer<AcDbPolyline> outline(outlineId, AcDb::kForRead);
                if (!outline) {
                    acutPrintf("\nNull polyline pointer.");
                    return;
                }
                const AcGeMatrix3d transform = reference->blockTransform();
                std::string vertices;
                for (unsigned v = 0; v < outline->numVerts(); ++v) {
                    AcGePoint3d point;
                    outline->getPointAt(v, point);
                    point.transformBy(transform);
                    if (v > 0) vertices += ", ";
                    vertices +=
                        "[ " + util.DoubleToCString(point.x, 8) + ", " + util.DoubleToCString(point.y, 8) + " ]";
                }
                acutPrintf("EXEC [dbo].[addLocationDrawingVertices] @parentId, '%s', 1, '%s'\n",
                           block.getHandle().c_str(), vertices.c_str());
            },
            false);
    });
}
