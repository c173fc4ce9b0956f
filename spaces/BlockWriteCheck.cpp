#include "spaces/BlockWriteCheck.h"

#include <memory>
#include <vector>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeView.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectIterator.h"
#include "host/db/AcDbObjectPointer.h"
#include "infra/ZelkaExceptions.h"
#include "spaces/BlockDWG.h"

namespace {

// The exception class is that of the rest of CBlockDWG's write-back.
constexpr const char* kSource = "BlockDWG.cpp";

// Whether the named layer of the drawing exists and is locked: the host's
// own check, which reads the layer record in place (a block is checked part
// by part, four layers or more each).
bool layerIsLocked(AcDbDatabase* db, const char* name)
{
    return db && name && *name && acdbCheckLayerWritable(db, name) == Acad::eOnLockedLayer;
}

// A part of the block that lies on a locked layer: what it is and the
// layer, and the space's name as the drawing shows it (its NAME attribute).
struct LockedPart {
    std::string part;
    std::string layer;
    std::string shownName;
};

// The first locked part among the reference, its attributes and (when
// asked) the definition's attribute definitions, opened for read only.
bool findLockedPart(const CBlockDWG& block, bool withDefinition, LockedPart& found)
{
    AcDbObjectPointer<AcDbBlockReference> reference(block.getBlockReferenceId(), AcDb::kForRead);
    if (!reference)
        return false;
    AcDbDatabase* db = reference->database();
    if (layerIsLocked(db, reference->layer())) {
        found.part = "its block reference";
        found.layer = reference->layer();
        return true;
    }
    // The iterator holds the attributes' ids, not the reference: it serves
    // after the reference is closed.
    const std::unique_ptr<AcDbObjectIterator> it(reference->attributeIterator());
    const AcDbObjectId definitionId = reference->blockTableRecord();
    reference.close();
    bool locked = false;
    for (it->start(); !it->done(); it->step()) {
        // Read without building it where its record allows.
        AcDbAttributeView view;
        if (view.read(it->objectId()) != Acad::eOk)
            continue;
        const AcDbAttributeFields& attribute = view.fields();
        if (found.shownName.empty() && attribute.tag == "NAME")
            found.shownName = attribute.text;
        if (!locked && layerIsLocked(db, attribute.layer.c_str())) {
            found.part = "its " + attribute.tag + " attribute";
            found.layer = attribute.layer;
            locked = true;
        }
    }
    if (locked)
        return true;
    if (!withDefinition)
        return false;
    AcDbObjectPointer<AcDbBlockTableRecord> definition(definitionId, AcDb::kForRead);
    if (!definition)
        return false;
    const std::vector<AcDbObjectId> parts = definition->entityIds();
    definition.close();
    for (AcDbObjectId id : parts) {
        AcDbObjectPointer<AcDbEntity> part(id, AcDb::kForRead);
        if (!part || !part->isKindOf(AcDbAttributeDefinition::desc()))
            continue;
        if (layerIsLocked(db, part->layer())) {
            const auto* attdef = static_cast<const AcDbAttributeDefinition*>(part.object());
            found.part = std::string("the ") + attdef->tag() + " attribute definition of " + block.getBlockName();
            found.layer = part->layer();
            return true;
        }
    }
    return false;
}

}  // namespace

std::string CBlockWriteCheck::lockedLayerMessage(const CBlockDWG& block, const std::string& shownName,
                                                 const std::string& part, const std::string& layer)
{
    const std::string name = shownName.empty() ? block.getName() : shownName;
    std::string who = block.getBlockName();
    if (!name.empty() && name != block.getBlockName())
        who += " \"" + name + "\"";
    return "Block " + who + " (handle " + block.getHandle() + ") was left unchanged: " + part +
           " is on the locked layer \"" + layer + "\". Unlock the layer and run the command again.";
}

void CBlockWriteCheck::requireWritable(const CBlockDWG& block, bool withDefinition, const std::string& newEntityLayer)
{
    LockedPart found;
    const bool locked = zelkaOperation(kSource, "CBlockWriteCheck::requireWritable", [&] {
        if (findLockedPart(block, withDefinition, found))
            return true;
        if (newEntityLayer.empty())
            return false;
        AcDbObjectPointer<AcDbBlockReference> reference(block.getBlockReferenceId(), AcDb::kForRead);
        if (!reference || !layerIsLocked(reference->database(), newEntityLayer.c_str()))
            return false;
        found.part = "the entity it needs added";
        found.layer = newEntityLayer;
        return true;
    });
    // Raised here, not inside the wrapping above, so the chain names the check once.
    if (locked)
        throw CEXCustom(ZELKA_MODULE_TITLE, kSource, "CBlockWriteCheck::requireWritable",
                        lockedLayerMessage(block, found.shownName, found.part, found.layer),
                        static_cast<int>(Acad::eOnLockedLayer), nullptr);
}
