// A block reference's attribute iterator walks its attributes in order,
// skipping erased ones, over a copy of the list taken when it was made:
// with a few attributes and with more than it keeps in itself.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectIterator.h"
#include "host/db/AcDbObjectPointer.h"
#include "tests/host/dxfTestSupport.h"

namespace {

std::vector<AcDbObjectId> walk(const AcDbBlockReference& reference)
{
    std::vector<AcDbObjectId> ids;
    const std::unique_ptr<AcDbObjectIterator> it(reference.attributeIterator());
    for (it->start(); !it->done(); it->step())
        ids.push_back(it->objectId());
    EXPECT_TRUE(it->objectId().isNull()) << "done";
    return ids;
}

AcDbObjectId appendAttribute(AcDbBlockReference& reference, int n)
{
    auto* attribute = new AcDbAttribute();
    attribute->setTag(("TAG" + std::to_string(n)).c_str());
    AcDbObjectId id;
    EXPECT_EQ(reference.appendAttribute(id, attribute), Acad::eOk);
    attribute->close();
    return id;
}

}  // namespace

TEST(AttributeIterator, WalksTheAttributesInOrderPastErasedOnesOverItsOwnCopy)
{
    // The room's reference (handle 30) has one attribute; each round gives
    // it more, past the number the iterator keeps in itself.
    for (const int count : {1, 7, 8, 9, 20}) {
        AcDbDatabase db(false);
        const std::string room = dxftest::readFile(dxftest::sourceDir() / "fuzz/corpus/tiny_room_AC1015.dxf");
        ASSERT_EQ(db.readDxfText(room, "room.dxf"), Acad::eOk) << db.lastError();
        AcDbObjectId referenceId;
        ASSERT_EQ(db.getAcDbObjectId(referenceId, false, AcDbHandle("30")), Acad::eOk);
        AcDbObjectPointer<AcDbBlockReference> reference(referenceId, AcDb::kForWrite);
        ASSERT_TRUE(reference);

        std::vector<AcDbObjectId> expected = walk(*reference);
        ASSERT_EQ(expected.size(), 1u);
        for (int i = 1; i < count; ++i)
            expected.push_back(appendAttribute(*reference, i));
        EXPECT_EQ(walk(*reference), expected) << count << " attributes";

        // Erased ones are passed over, the first and the last among them.
        const std::unique_ptr<AcDbObjectIterator> before(reference->attributeIterator());
        std::vector<AcDbObjectId> left;
        for (size_t i = 0; i < expected.size(); ++i) {
            if (i == 0 || i == expected.size() - 1 || i % 3 == 1) {
                AcDbObjectPointer<AcDbAttribute> attribute(expected[i], AcDb::kForWrite);
                ASSERT_TRUE(attribute);
                ASSERT_EQ(attribute->erase(), Acad::eOk);
            } else {
                left.push_back(expected[i]);
            }
        }
        EXPECT_EQ(walk(*reference), left) << count << " attributes, some erased";

        // One made before an attribute was added walks without it.
        appendAttribute(*reference, 1000);
        std::vector<AcDbObjectId> walked;
        for (before->start(); !before->done(); before->step())
            walked.push_back(before->objectId());
        EXPECT_EQ(walked, left) << count << " attributes, iterator made earlier";
        EXPECT_EQ(walk(*reference).size(), left.size() + 1);
    }
}
