// The space block's data record: the one table of its key=value items,
// which drives both reading them (readXData) and building their texts
// (buildXDataItems, writeXData). Failures name class "BlockDWG", as the
// block's other operations do.

#include "spaces/BlockDWG.h"

#include <cstring>

#include "host/db/resbuf.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "spaces/Attributes.h"
#include "spaces/SpaceUnits.h"
#include "spaces/ZelkaAttribute.h"

using namespace std::string_view_literals;

namespace {

constexpr const char* kSource = "BlockDWG.cpp";

// Whether the item starts with the key; written out so that the comparison
// of a key of known length compiles to a few instructions.
inline bool hasKey(std::string_view item, std::string_view key)
{
    return item.size() >= key.size() && item.front() == key.front() &&
           std::memcmp(item.data(), key.data(), key.size()) == 0;
}

// The value of an "AREA=" or "PERIMETER=" item: the key and a recognised unit
// stripped. Without a recognised unit the whole item is returned, which reads
// as the number 0.
std::string_view stripKeyAndUnit(std::string_view item, std::string_view key,
                                 std::initializer_list<std::string_view> units, int& unitIndex)
{
    unitIndex = -1;
    int index = 0;
    for (std::string_view unit : units) {
        if (item.ends_with(unit) && item.size() >= key.size() + unit.size()) {
            unitIndex = index;
            return item.substr(key.size(), item.size() - key.size() - unit.size());
        }
        ++index;
    }
    return item;
}

// The decimals a record number was written with: the digits after its first
// point ("2.70m." gives 2, "3ft." 0). kNone when the text does not start
// with a number, so the item gives no precision of its own.
constexpr int32_t kNone = -1;
int32_t decimalsOfNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i == text.size() || text[i] != '.')
        return digits > 0 ? 0 : kNone;
    size_t decimals = 0;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        ++decimals;
    return digits + decimals > 0 ? static_cast<int32_t>(decimals) : kNone;
}

}  // namespace

// The record's items in the order they are written: each key with the field
// it reads and writes. Reading takes the first item whose key an item text
// starts with (no key is the start of another); keys that do not occur
// leave their fields.
struct CBlockDWG::RecordItem {
    enum class Kind {
        Area,     // the area, its units and the block's precision
        Measure,  // a number with its unit suffix and the decimals it was read with
        Name,     // written from the name attribute (else the name), never read
        Text,     // a text field, verbatim
        Handles,  // a handle list, possibly continued over several items
    };
    std::string_view key;
    Kind kind;
    // Area and Measure: the value and the suffix rule of its unit.
    double (CBlock::*number)() const = nullptr;
    void (CBlock::*setNumber)(double) = nullptr;
    std::string_view (*suffix)(int32_t units) = nullptr;
    // Measure: the field keeping the decimals the item was read with, and
    // whether the number is taken only with a recognised suffix (the
    // perimeter) rather than from the text after the key as it stands.
    int32_t CBlockDWG::*ownPrecision = nullptr;
    bool suffixRequired = false;
    // Text.
    const std::string& (CBlock::*text)() const = nullptr;
    void (CBlock::*setText)(const std::string&) = nullptr;
    // Handles.
    std::vector<AcDbHandle> CBlockDWG::*handles = nullptr;
    void (CBlockDWG::*setHandles)(const std::string&, AcDbDatabase*) = nullptr;
};

namespace {

using Item = CBlockDWG::RecordItem;
using Kind = Item::Kind;

constexpr Item textItem(std::string_view key, const std::string& (CBlock::*get)() const,
                        void (CBlock::*set)(const std::string&))
{
    return {.key = key, .kind = Kind::Text, .text = get, .setText = set};
}

}  // namespace

const CBlockDWG::RecordItem CBlockDWG::kRecordItems[kRecordItemCount] = {
    {.key = "AREA="sv, .kind = Kind::Area, .number = &CBlock::getArea, .setNumber = &CBlock::setArea,
     .suffix = &areaSuffix},
    {.key = "PERIMETER="sv, .kind = Kind::Measure, .number = &CBlock::getPerimeter,
     .setNumber = &CBlock::setPerimeter, .suffix = &lengthSuffix, .ownPrecision = &CBlockDWG::perimeterPrecision_,
     .suffixRequired = true},
    {.key = "NAME="sv, .kind = Kind::Name},
    textItem("TAGTYPE="sv, &CBlock::getTagType, &CBlock::setTagType),
    textItem("AREA_TYPE="sv, &CBlock::getAreaType, &CBlock::setAreaType),
    textItem("COST_CENTRE="sv, &CBlock::getCostCentre, &CBlock::setCostCentre),
    textItem("DATE="sv, &CBlock::getDate, &CBlock::setDate),
    textItem("DATE_L_MOVE="sv, &CBlock::getDateLastMove, &CBlock::setDateLastMove),
    textItem("DEPT_CHARGE="sv, &CBlock::getDeptCharge, &CBlock::setDeptCharge),
    {.key = "ROOM_HEIGHT="sv, .kind = Kind::Measure, .number = &CBlock::getRoomHeight,
     .setNumber = &CBlock::setRoomHeight, .suffix = &lengthSuffix, .ownPrecision = &CBlockDWG::roomHeightPrecision_},
    textItem("SPECIAL_REQ="sv, &CBlock::getSpecialReq, &CBlock::setSpecialReq),
    textItem("TOT_STAFF="sv, &CBlock::getTotalStaff, &CBlock::setTotalStaff),
    textItem("TOT_WKSTNS="sv, &CBlock::getTotalWorkstations, &CBlock::setTotalWorkstations),
    {.key = "VOLUME="sv, .kind = Kind::Measure, .number = &CBlock::getVolume, .setNumber = &CBlock::setVolume,
     .suffix = &volumeSuffix, .ownPrecision = &CBlockDWG::volumePrecision_},
    {.key = "HANDLESTOMINUS="sv, .kind = Kind::Handles, .handles = &CBlockDWG::handlesToMinus_,
     .setHandles = static_cast<void (CBlockDWG::*)(const std::string&, AcDbDatabase*)>(&CBlockDWG::setHandlesToMinus)},
    {.key = "HANDLESTOADD="sv, .kind = Kind::Handles, .handles = &CBlockDWG::handlesToAdd_,
     .setHandles = static_cast<void (CBlockDWG::*)(const std::string&, AcDbDatabase*)>(&CBlockDWG::setHandlesToAdd)},
};

void CBlockDWG::readXData(const std::vector<std::string_view>& texts, CAcadDrawing& drawing)
{
    zelkaOperation(kSource, "CBlockDWG::readXData", [&] {
        CUtilities utilities;
        // A handle list may continue over several items of the same key;
        // their texts are joined in order and parsed once.
        std::string handleTexts[kRecordItemCount];
        // No key starts another, so at most one key fits an item and the
        // keys may be tried in any order: from the one after the last key
        // found, as records list their items in the table's order.
        size_t expected = 0;
        for (const std::string_view text : texts) {
            size_t index = kRecordItemCount;
            for (size_t tried = 0; tried < kRecordItemCount; ++tried) {
                const size_t candidate = (expected + tried) % kRecordItemCount;
                if (hasKey(text, kRecordItems[candidate].key)) {
                    index = candidate;
                    break;
                }
            }
            if (index == kRecordItemCount)
                continue;
            expected = index + 1;
            const RecordItem& item = kRecordItems[index];
            const std::string_view rest = text.substr(item.key.size());
            switch (item.kind) {
            case Kind::Area: {
                int unit = -1;
                std::string_view value = stripKeyAndUnit(text, item.key, {item.suffix(0), item.suffix(1)}, unit);
                if (unit >= 0)
                    setUnits(unit);
                while (!value.empty() && value.back() == ' ')
                    value.remove_suffix(1);
                size_t point = value.find('.');
                setPrecision(point == std::string_view::npos ? 0 : static_cast<int32_t>(value.size() - point - 1));
                (this->*item.setNumber)(utilities.CStringToDouble(value));
                break;
            }
            case Kind::Measure: {
                // Without a recognised suffix a required one leaves the
                // whole item, which reads as 0 with no decimals of its own.
                std::string_view value = rest;
                std::string_view decimalsFrom = rest;
                if (item.suffixRequired) {
                    int unit = -1;
                    value = stripKeyAndUnit(text, item.key, {item.suffix(0), item.suffix(1)}, unit);
                    decimalsFrom = unit >= 0 ? value : std::string_view();
                }
                (this->*item.setNumber)(utilities.CStringToDouble(value));
                const int32_t decimals = decimalsOfNumber(decimalsFrom);
                this->*item.ownPrecision = decimals == kNone ? kBlockPrecision : decimals;
                break;
            }
            case Kind::Name:
                break;
            case Kind::Text:
                (this->*item.setText)(std::string(rest));
                break;
            case Kind::Handles:
                handleTexts[index] += rest;
                break;
            }
        }
        // An empty list leaves the list as it was.
        for (size_t index = 0; index < kRecordItemCount; ++index)
            if (!handleTexts[index].empty())
                (this->*kRecordItems[index].setHandles)(handleTexts[index], drawing.getDatabase());
    });
}

size_t CBlockDWG::fillXDataItems(std::vector<std::string>& items)
{
    CUtilities u;
    if (xdataApplication_ == kNoXData)
        xdataApplication_ = "ADE";
    const std::string* name = &getName();
    if (const CAttributes* attributes = getAttributes())
        if (const CZelkaAttribute* nameAttribute = attributes->getAtAttribute(0))
            name = &nameAttribute->getText();
    size_t count = 0;
    // The next item, emptied but keeping its capacity (clearing and
    // appending costs less than assign, which allows for overlapping texts).
    auto next = [&]() -> std::string& {
        if (items.size() <= count)
            items.resize(count + 1);
        items[count].clear();
        return items[count++];
    };
    next().append(xdataApplication_);
    next().append("{"sv);
    for (const RecordItem& entry : kRecordItems) {
        const std::string_view key = entry.key;
        switch (entry.kind) {
        case Kind::Area:
        case Kind::Measure: {
            // Each number keeps the decimals its item was read with; a
            // missing item or a measured value takes the block's precision.
            const int32_t own = entry.kind == Kind::Area ? kBlockPrecision : this->*entry.ownPrecision;
            std::string& item = next();
            item.append(key);
            u.appendDoubleText(item, (this->*entry.number)(), own == kBlockPrecision ? getPrecision() : own);
            item.append(entry.suffix(getUnits()));
            break;
        }
        case Kind::Name:
        case Kind::Text: {
            std::string& item = next();
            item.append(key);
            item.append(entry.kind == Kind::Name ? *name : (this->*entry.text)());
            break;
        }
        case Kind::Handles: {
            // A list whose text would pass kMaxItemBytes goes on in further
            // items under the same key, each holding whole handles with
            // their commas.
            std::string* item = &next();
            item->append(key);
            for (const AcDbHandle& handle : this->*entry.handles) {
                std::string handleText = handle.toString();
                if (item->size() > key.size() && item->size() + handleText.size() + 1 > kMaxItemBytes) {
                    item = &next();
                    item->append(key);
                }
                item->append(handleText);
                item->push_back(',');
            }
            break;
        }
        }
    }
    next().append("}"sv);
    return count;
}
