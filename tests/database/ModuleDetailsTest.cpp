// The module's entry in the document monitor's catalogue.

#include <gtest/gtest.h>

#include "database/ModuleDetails.h"
#include "DatabaseTestSupport.h"
#include "infra/ZelkaExceptions.h"

namespace {

TEST(ModuleDetails, RegistersAndReportsRunningInDocMon)
{
    const dbtest::Server& s = dbtest::server();
    dbtest::psql("delete from modules where name = 'VKR';", "docMon");
    CModuleDetails details;
    EXPECT_TRUE(details.getModuleDate().valid);
    // Running before registering: the catalogue refuses an unknown module.
    EXPECT_THROW(details.setModuleRunning(s.dataSource(), s.user(), s.password(), 10), CEXUnhandled);
    details.setModDetails(s.dataSource(), s.user(), s.password(), 10);
    EXPECT_EQ(dbtest::psqlValue("select name || ' / ' || description || ' / ' || version || ' / ' || module_date || "
                                "' / ' || (last_running is null) from modules where name = 'VKR'", "docMon"),
              "VKR / ZELKA VKR 64.04.05.00  for BricsCAD / 64.04.05.00 / 2026-04-24 00:00:00 / true");
    details.setModuleRunning(s.dataSource(), s.user(), s.password(), 10);
    EXPECT_EQ(dbtest::psqlValue("select last_running > localtimestamp - interval '1 minute' from modules "
                                "where name = 'VKR'", "docMon"),
              "t");
}

TEST(ModuleDetails, AnUnparsableBuildDateGoesAsNull)
{
    const dbtest::Server& s = dbtest::server();
    CModuleDetails details("Apr 31 2026");
    EXPECT_FALSE(details.getModuleDate().valid);
    details.setModDetails(s.dataSource(), s.user(), s.password(), 10);
    EXPECT_EQ(dbtest::psqlValue("select module_date is null from modules where name = 'VKR'", "docMon"), "t");
}

}  // namespace
