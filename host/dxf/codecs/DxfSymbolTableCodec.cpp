#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbLinetypeTable.h"
#include "host/db/AcDbRegAppTable.h"
#include "host/db/AcDbStub.h"
#include "host/db/AcDbTextStyleTable.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfValue.h"

// TABLE: the head of a symbol table; its record type (2) picks the class.
class DxfSymbolTableCodec {
public:
    static std::string_view recordType(const DxfTag* t, size_t n)
    {
        for (size_t i = 1; i < n; ++i)
            if (t[i].code == 2)
                return DxfValue::trimmed(t[i].value());
        return {};
    }

    static AcDbObject* create(const AcDbStub& stub)
    {
        std::vector<DxfTag> scratch;
        const std::string_view type = recordType(stub.database->data().tagsOf(stub, scratch), stub.tagCount);
        if (type == "BLOCK_RECORD") return new AcDbBlockTable();
        if (type == "LAYER") return new AcDbLayerTable();
        if (type == "LTYPE") return new AcDbLinetypeTable();
        if (type == "STYLE") return new AcDbTextStyleTable();
        if (type == "APPID") return new AcDbRegAppTable();
        return new AcDbSymbolTable();
    }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage&)
    {
        static_cast<AcDbSymbolTable&>(o).recordType_ = std::string(recordType(t, end));
    }
};

// A table head is written as read: its records follow it in the file.
extern const DxfCodecFunctions kDxfSymbolTableCodec = {&DxfSymbolTableCodec::create, &DxfSymbolTableCodec::load,
                                                       nullptr, nullptr};
