#pragma once
#include <cstddef>
#include <initializer_list>

#include "host/base/RawTag.h"

class AcDbObject;
class AcDbText;
class DxfCodepage;
class DxfTagEditor;

// TEXT, and the text part of ATTRIB and ATTDEF (their codecs build on it).
class DxfTextCodec {
public:
    // Called for a tag of the second subclass (the attribute's own, or a
    // second AcDbText) that the text part does not read: 2, 3, 70 and, for
    // attributes, 73.
    using SecondTag = void (*)(AcDbObject& o, const DxfTag& tag, const DxfCodepage& cp);

    // Reads the text fields. The first AcDbText subclass holds the text's
    // geometry; a second one, or the attribute's own subclass, holds the rest.
    static void loadText(AcDbText& x, bool isText, const DxfTag* t, size_t end, const DxfCodepage& cp,
                         SecondTag second);
    // Writes the fields of the first AcDbText subclass.
    static void saveText(AcDbText& x, DxfTagEditor& ed);
    // The order of the codes of the second subclass.
    static const std::initializer_list<int>& secondOrder();
};
