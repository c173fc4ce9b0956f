// Stored-procedure calls against the reference database: each execution
// method, directions, NULLs, exact decimals, dates, text sizes, tiny
// integers, booleans, and what a failing call reports.

#include <filesystem>

#include <gtest/gtest.h>

#include "database/Parameters.h"
#include "database/ParameterBoolean.h"
#include "database/ParameterChar.h"
#include "database/ParameterDateTime.h"
#include "database/ParameterDecimal.h"
#include "database/ParameterInt.h"
#include "database/ParameterTinyInt.h"
#include "database/ParameterVarChar.h"
#include "database/Recordset.h"
#include "database/StoredProcedure.h"
#include "DatabaseTestSupport.h"
#include "infra/Log.h"
#include "infra/ZelkaExceptions.h"
#include "../common/ZelkaProcess.h"

namespace {

template <class P>
P* addParameter(CParameters& list, const std::string& name, int32_t direction = PARAMETER_INPUT)
{
    auto p = std::make_unique<P>();
    p->setName(name);
    p->setDirection(direction);
    return static_cast<P*>(list.add(std::move(p)));
}

// The ten parameters of the building and room procedures.
struct RoomCall {
    CParameters list;
    CParameterInt* location;
    CParameterDecimal* area;
    CParameterDecimal* perimeter;
    CParameterBoolean* exists;
    CParameterBoolean* duplicate;
    CParameterVarChar* name;

    RoomCall(int locationID, int parentID, const std::string& handle, const std::string& areaText)
    {
        location = addParameter<CParameterInt>(list, "@locationID", PARAMETER_INPUT_OUTPUT);
        location->setValue(locationID);
        addParameter<CParameterInt>(list, "@parentID")->setValue(parentID);
        name = addParameter<CParameterVarChar>(list, "@name");
        name->setValue("Room " + handle);
        addParameter<CParameterVarChar>(list, "@code")->setValue("C-" + handle);
        exists = addParameter<CParameterBoolean>(list, "@statusExists");
        exists->setValue(1);
        duplicate = addParameter<CParameterBoolean>(list, "@statusDuplicate");
        duplicate->setValue(0);
        area = addParameter<CParameterDecimal>(list, "@area");
        area->setValueText(areaText);
        addParameter<CParameterVarChar>(list, "@handle")->setValue(handle);
        perimeter = addParameter<CParameterDecimal>(list, "@perimeter");
        perimeter->setValue(0.1);
        addParameter<CParameterInt>(list, "@precision")->setValue(2);
    }
};

TEST(StoredProcedure, CallTextResolvesBracketedNamesToSchemaAndRoutine)
{
    struct Case {
        const char* name;
        int count;
        const char* text;
    } cases[] = {
        {"[idr]..[getLocationAssets]", 1, "{call idr.getLocationAssets(?)}"},
        {"__to_setRoomBlockInIPR", 3, "{call __to_setRoomBlockInIPR(?,?,?)}"},
        {"[dbo].[addLocationDrawingVertices]", 0, "{call dbo.addLocationDrawingVertices()}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CStoredProcedure::callText(c.name, c.count), c.text);
    }
}

TEST(StoredProcedure, InOutLocationIdComesBackAndTheRowHoldsEveryValueExactly)
{
    int floor = dbtest::newFloor("inout");
    auto sp = dbtest::connect();
    // 18 digits with 10 after the point: exact only when it never passes through a double.
    RoomCall call(0, floor, "1A2B", "12345678.1234567891");
    call.exists->setValue(0);
    call.duplicate->setValue(1);
    sp->setName("__to_setRoomBlockInIPR");
    sp->setParameters(&call.list);
    sp->execSPNoReturnParasReturn();
    int id = call.location->getValue();
    ASSERT_GT(id, 0);
    auto rows = dbtest::psql("select parent_id, kind, name, code, handle, area, perimeter, decimal_places, "
                             "status_exists, status_duplicate from locations where id = " + std::to_string(id));
    ASSERT_EQ(rows.size(), 1u);
    std::vector<std::string> expected = {std::to_string(floor), "r", "Room 1A2B", "C-1A2B", "1A2B",
                                         "12345678.1234567891", "0.1000000000", "2", "f", "t"};
    EXPECT_EQ(rows[0], expected);

    // Sent again with its id, the same row changes; no second row appears.
    RoomCall again(id, floor, "1A2B", "20.5");
    sp->setParameters(&again.list);
    sp->execSPNoReturnParasReturn();
    EXPECT_EQ(again.location->getValue(), id);
    EXPECT_EQ(dbtest::psqlValue("select count(*) || ':' || max(area) from locations where parent_id = " +
                                std::to_string(floor)),
              "1:20.5000000000");
}

TEST(StoredProcedure, ResultSetColumnsReadByNameAndDecimalsComeBackAsText)
{
    int floor = dbtest::newFloor("rows");
    dbtest::psql("insert into locations (parent_id, kind, name, code, handle, area, perimeter, status_exists, "
                 "status_duplicate) values (" + std::to_string(floor) + ", 'r', 'A', 'a', 'F1', 0.3, 99999999.9999999999, "
                 "true, false), (" + std::to_string(floor) + ", 'r', 'B', 'b', 'F2', null, 1, false, true);");
    auto sp = dbtest::connect();
    CParameters list;
    addParameter<CParameterInt>(list, "@parentID")->setValue(floor);
    sp->setName("__to_getBlocksFromIPR");
    sp->setParameters(&list);
    auto rows = sp->execSPReturnParas();
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->getRowCount(), 2u);
    EXPECT_EQ(rows->getString("name"), "A");
    EXPECT_EQ(rows->getString("status"), "00");
    EXPECT_EQ(rows->getString("area"), "0.3000000000");
    EXPECT_EQ(rows->getString("perimeter"), "99999999.9999999999");
    EXPECT_EQ(rows->getInt("parentid"), floor);
    rows->moveNext();
    EXPECT_EQ(rows->getString("status"), "11");
    EXPECT_TRUE(rows->isNull("area"));
    EXPECT_DOUBLE_EQ(rows->getDouble("area"), 0.0);
    rows->moveNext();
    EXPECT_TRUE(rows->isEOF());
    EXPECT_THROW(rows->getString("name"), std::out_of_range);

    // An empty result is an empty set, not an error.
    CParameters none;
    addParameter<CParameterInt>(none, "@parentID")->setValue(-1);
    sp->setParameters(&none);
    auto empty = sp->execSPReturnParas();
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->isEOF());
}

TEST(StoredProcedure, ANullOutputKeepsTheValueSent)
{
    dbtest::psql("create or replace function zt_null_out(inout p_id integer, p_other integer) "
                 "language sql as 'select null::integer';");
    auto sp = dbtest::connect();
    CParameters list;
    auto* id = addParameter<CParameterInt>(list, "@id", PARAMETER_INPUT_OUTPUT);
    id->setValue(4711);
    addParameter<CParameterInt>(list, "@other")->setValue(1);
    sp->setName("zt_null_out");
    sp->setParameters(&list);
    sp->execSPNoReturnParasReturn();
    EXPECT_EQ(id->getValue(), 4711);
    EXPECT_FALSE(id->isNull());
}

TEST(StoredProcedure, PureOutputParameterIsLeftOutOfTheArgumentsAndReadBack)
{
    // The demo data excludes WC_PAN from attribute take-off.
    struct Case {
        const char* block;
        int32_t excluded;
    } cases[] = {{"WC_PAN", 1}, {"DESK", 0}};
    auto sp = dbtest::connect();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        CParameters list;
        addParameter<CParameterInt>(list, "@locationID")->setValue(0);
        addParameter<CParameterInt>(list, "@drawingID")->setValue(1);
        addParameter<CParameterVarChar>(list, "@handle")->setValue(std::string("OUT-") + c.block);
        auto* ident = addParameter<CParameterVarChar>(list, "@acadBlockIdentifier");
        ident->setSize(100);
        ident->setValue(c.block);
        addParameter<CParameterVarChar>(list, "@acadBlockDescription")->setValue("");
        addParameter<CParameterVarChar>(list, "@uniqueDescription")->setValue("");
        addParameter<CParameterDecimal>(list, "@pointX")->setValue(1.5);
        addParameter<CParameterDecimal>(list, "@pointY")->setValue(-2.25);
        addParameter<CParameterBoolean>(list, "@assetExistsInLocation")->setValue(1);
        auto* excluded = addParameter<CParameterBoolean>(list, "@excludedFromTakeoff", PARAMETER_OUTPUT);
        excluded->setValue(7);
        sp->setName("__to_applyAssetToIPR");
        sp->setParameters(&list);
        sp->execSPNoReturnParasReturn();
        EXPECT_EQ(excluded->getValue(), c.excluded);
        EXPECT_EQ(dbtest::psqlValue(std::string("select point_x || ',' || point_y from assets where handle = 'OUT-") +
                                    c.block + "'"),
                  "1.5000000000,-2.2500000000");
    }
}

TEST(StoredProcedure, DateTimeCharAndTinyIntTravelAsTheirTypes)
{
    auto sp = dbtest::connect("docMon");
    CParameters list;
    auto* name = addParameter<CParameterVarChar>(list, "@moduleName");
    name->setSize(12);
    name->setValue("ZT-DATE");
    addParameter<CParameterVarChar>(list, "@moduleDescription")->setValue("ZELKA VKR 64.04.05.00  for BricsCAD");
    auto* version = addParameter<CParameterChar>(list, "@moduleVersion");
    version->setSize(8);
    version->setValue("64.04.05.00");  // longer than its size: sent whole, never cut here
    auto* date = addParameter<CParameterDateTime>(list, "@moduleDate");
    date->setValue(CDateTimeValue::from(2026, 4, 24, 13, 5, 59));
    sp->setName("__mod_setModDetails");
    sp->setParameters(&list);
    sp->execSPNoReturnParas();
    EXPECT_EQ(dbtest::psqlValue("select description || ' / ' || version || ' / ' || module_date from modules "
                                "where name = 'ZT-DATE'", "docMon"),
              "ZELKA VKR 64.04.05.00  for BricsCAD / 64.04.05.00 / 2026-04-24 13:05:59");

    auto ipr = dbtest::connect();
    CParameters status;
    addParameter<CParameterTinyInt>(status, "@statusID")->setValue(1);
    ipr->setName("__gr_getGraphicReports");
    ipr->setParameters(&status);
    auto rows = ipr->execSPReturnParas();
    ASSERT_TRUE(rows);
    ASSERT_FALSE(rows->isEOF());
    EXPECT_EQ(rows->getInt("grID"), 1);
}

TEST(StoredProcedure, NoParameterMethodsIgnoreASetListAndEmptyListsSendNothing)
{
    dbtest::psql("create or replace function zt_no_arguments() returns table (answer integer) "
                 "language sql as 'select 42';"
                 "create table if not exists zt_calls (n integer);"
                 "create or replace function zt_count_call() returns void language sql as "
                 "'insert into zt_calls values (1)';");
    auto sp = dbtest::connect();
    CParameters list;
    addParameter<CParameterInt>(list, "@unused")->setValue(9);
    sp->setParameters(&list);
    sp->setName("zt_no_arguments");
    auto rows = sp->execSPReturnNoParas();
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->getInt("answer"), 42);

    std::string before = dbtest::psqlValue("select count(*) from zt_calls");
    sp->setName("zt_count_call");
    sp->execSPNoReturnNoParas();
    CParameters empty;
    sp->setParameters(&empty);
    sp->execSPNoReturnParas();
    EXPECT_EQ(std::stoi(dbtest::psqlValue("select count(*) from zt_calls")), std::stoi(before) + 2);
}

TEST(StoredProcedure, ARaisingProcedureNamesTheMethodAndCarriesTheDatabaseMessage)
{
    auto sp = dbtest::connect();
    CParameters list;
    addParameter<CParameterInt>(list, "@locationID")->setValue(987654);
    addParameter<CParameterDecimal>(list, "@area")->setValue(1.0);
    addParameter<CParameterVarChar>(list, "@handle")->setValue("1");
    addParameter<CParameterDecimal>(list, "@perimeter")->setValue(4.0);
    addParameter<CParameterInt>(list, "@precision")->setValue(2);
    sp->setName("__to_setSiteBlockInIPR");
    sp->setParameters(&list);
    try {
        sp->execSPNoReturnParas();
        FAIL() << "no error";
    } catch (const CEXUnhandled& e) {
        EXPECT_EQ(e.getProcSig(), "CStoredProcedure::execSPNoReturnParas");
        const auto* inner = dynamic_cast<const CEXStoredProcedure*>(e.getInner());
        ASSERT_NE(inner, nullptr);
        EXPECT_NE(inner->getDescription().find("site location 987654 does not exist"), std::string::npos)
            << inner->getDescription();
        EXPECT_NE(inner->getCallDocument().find("<parameterValue>987654</parameterValue>"), std::string::npos);
    }
    // The connection stays usable after a refused call.
    sp->setName("__to_getBlocksFromIPR");
    CParameters one;
    addParameter<CParameterInt>(one, "@parentID")->setValue(1);
    sp->setParameters(&one);
    auto rows = sp->execSPReturnParas();
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->getString("name"), "Head Office");
}

TEST(StoredProcedure, ACommandTimeoutStopsASlowCall)
{
    dbtest::psql("create or replace function zt_slow() returns void language sql as 'select pg_sleep(5)';");
    auto sp = dbtest::connect("ipr", 1);
    sp->setName("zt_slow");
    auto start = std::chrono::steady_clock::now();
    try {
        sp->execSPNoReturnNoParas();
        FAIL() << "no timeout";
    } catch (const CEXUnhandled& e) {
        ASSERT_NE(e.getInner(), nullptr);
        std::string d = e.getInner()->getDescription();
        EXPECT_TRUE(d.find("cancel") != std::string::npos || d.find("timeout") != std::string::npos) << d;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
}

TEST(StoredProcedure, TheDebugLogRecordsEachCallWithItsParameters)
{
    zelkatest::TempFolder folder;
    std::string log = (folder.path() / "debug.xml").string();
    CLog::setDebugLogPath(log);
    auto sp = dbtest::connect();
    CParameters list;
    addParameter<CParameterInt>(list, "@parentID")->setValue(2);
    sp->setName("__to_getBlocksFromIPR");
    sp->setParameters(&list);
    sp->execSPReturnParas();
    CLog::setDebugLogPath("");
    std::string text = zelkatest::readFile(log);
    EXPECT_NE(text.find("execSPReturnParas"), std::string::npos) << text;
    EXPECT_NE(text.find("<name>__to_getBlocksFromIPR</name>"), std::string::npos) << text;
    EXPECT_NE(text.find("<parameterName>@parentID</parameterName>"), std::string::npos) << text;
    EXPECT_NE(text.find("<parameterType>int</parameterType>"), std::string::npos) << text;
    EXPECT_EQ(text.find(dbtest::server().password()), std::string::npos);
}

TEST(Parameters, LookUpIsExactAndFirstWins)
{
    CParameters list;
    addParameter<CParameterInt>(list, "@id")->setValue(1);
    addParameter<CParameterInt>(list, "@id")->setValue(2);
    addParameter<CParameterInt>(list, "@ID")->setValue(3);
    EXPECT_EQ(static_cast<CParameterInt*>(list.getParameter("@id"))->getValue(), 1);
    EXPECT_EQ(static_cast<CParameterInt*>(list.getParameter("@ID"))->getValue(), 3);
    EXPECT_EQ(list.getParameter("@i"), nullptr);
    EXPECT_EQ(list.getParameter("id"), nullptr);
    EXPECT_THROW(list.getAt(3), std::out_of_range);
}

TEST(Parameters, DecimalTextIsKeptDigitForDigit)
{
    struct Case {
        double value;
        const char* text;
    } cases[] = {{0.1, "0.1"}, {25.9, "25.9"}, {1e-7, "0.0000001"}, {-3.0, "-3"}, {123456.789, "123456.789"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CParameterDecimal d;
        d.setValue(c.value);
        EXPECT_EQ(d.getValueText(), c.text);
        EXPECT_EQ(d.getValue(), c.value);
    }
    CParameterDecimal d;
    for (const char* bad : {"1e5", "", "abc", "1.2.3", "--1", "."}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(d.setValueText(bad), std::invalid_argument);
    }
}

TEST(Parameters, SerializedFormHasNameTypeSizeAndValue)
{
    struct Case {
        std::unique_ptr<CParameter> p;
        const char* type;
        const char* size;
        const char* value;
    };
    std::vector<Case> cases;
    auto dt = std::make_unique<CParameterDateTime>();
    dt->setValue(CDateTimeValue::from(2026, 4, 24));
    cases.push_back({std::move(dt), "dateTime", "0", "2026042400h0000_"});
    auto vc = std::make_unique<CParameterVarChar>();
    vc->setValue("Kitchen");
    cases.push_back({std::move(vc), "varchar", "255", "Kitchen"});
    auto ch = std::make_unique<CParameterChar>();
    ch->setValue("x");
    cases.push_back({std::move(ch), "char", "20", "x"});
    auto ti = std::make_unique<CParameterTinyInt>();
    ti->setValue(200);
    cases.push_back({std::move(ti), "tinyInt", "1", "200"});
    auto de = std::make_unique<CParameterDecimal>();
    de->setValueText("1.50");
    cases.push_back({std::move(de), "decimal", "9", "1.50"});
    for (Case& c : cases) {
        SCOPED_TRACE(c.type);
        c.p->setName("@p");
        pugi::xml_document doc;
        pugi::xml_node e = c.p->serialize(doc, "urn:test");
        EXPECT_STREQ(e.child("parameterName").text().get(), "@p");
        EXPECT_STREQ(e.child("parameterType").text().get(), c.type);
        EXPECT_STREQ(e.child("parameterSize").text().get(), c.size);
        EXPECT_STREQ(e.child("parameterValue").text().get(), c.value);
    }
    EXPECT_TRUE(CDateTimeValue::parseBuildDate("Apr 24 2026").valid);
    EXPECT_EQ(CDateTimeValue::parseBuildDate("Apr 24 2026").logText(), "2026042400h0000_");
    for (const char* bad : {"Apr 31 2026", "Foo 1 2026", "Apr 24", "Apr 24 2026x"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(CDateTimeValue::parseBuildDate(bad).valid);
    }
}

}  // namespace
