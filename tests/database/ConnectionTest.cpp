// The connection: its string, quoting by the ODBC rules, and what a user
// sees when the server is down or the password is wrong.

#include <sys/socket.h>
#include <netinet/in.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "database/DataServices.h"
#include "database/SQLStatement.h"
#include "database/Recordset.h"
#include "DatabaseTestSupport.h"
#include "infra/ZelkaExceptions.h"

namespace {

TEST(Connection, ValuesAreQuotedOnlyWhereTheOdbcRulesNeedIt)
{
    struct Case {
        const char* value;
        const char* quoted;
    } cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"a;b", "{a;b}"},
        {"a}b", "{a}}b}"},
        {"{x}", "{{x}}}"},
        {"pw;}", "{pw;}}}"},
        {" lead", "{ lead}"},
        {"trail ", "{trail }"},
        {"in side", "in side"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(CDataServices::quoteValue(c.value), c.quoted);
    }
}

TEST(Connection, StringCarriesEveryValueInItsOwnKey)
{
    EXPECT_EQ(CDataServices::connectionString("db.example.org:6543", "ipr", "me", "se;cr}et"),
              "Driver={PostgreSQL Unicode};Server=db.example.org;Port=6543;Database=ipr;Uid=me;"
              "Pwd={se;cr}}et};UseServerSidePrepare=1;BoolsAsChar=0;Protocol=7.4-1;");
    // A SQL Server data source written "host,port"; an empty password keeps its key.
    EXPECT_EQ(CDataServices::connectionString("sql01,1433", "ipr", "sa", "", "FreeTDS"),
              "Driver={FreeTDS};Server=sql01;Port=1433;Database=ipr;Uid=sa;Pwd=;TDS_Version=7.4;"
              "ClientCharset=UTF-8;");
    // No port: the driver's default.
    EXPECT_EQ(CDataServices::connectionString("localhost", "docMon", "u", "p"),
              "Driver={PostgreSQL Unicode};Server=localhost;Database=docMon;Uid=u;Pwd=p;"
              "UseServerSidePrepare=1;BoolsAsChar=0;Protocol=7.4-1;");
}

std::string chainText(const CEXZelka& e)
{
    std::string text;
    for (const CEXZelka* p = &e; p; p = p->getInner()) text += p->getProcSig() + " " + p->getDescription() + "\n";
    return text;
}

int closedPort()
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    int port = ntohs(a.sin_port);
    close(fd);
    return port;
}

TEST(Connection, RefusedLoginsSayWhereAndWhyWithoutThePassword)
{
    const dbtest::Server& s = dbtest::server();
    struct Case {
        std::string label, dataSource, catalog, password, driverSays;
    } cases[] = {
        {"wrong password", s.dataSource(), "ipr", "not;the}pass", "password authentication failed"},
        {"server down", "127.0.0.1:" + std::to_string(closedPort()), "ipr", "down;pw}", "Connection refused"},
        {"no such database", s.dataSource(), "nowhere", s.password(), "does not exist"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        try {
            CSQLStatement statement(c.dataSource, c.catalog, s.user(), c.password, 5);
            ADD_FAILURE() << "connected";
        } catch (const CEXConnection& e) {
            EXPECT_EQ(e.getDescription(), "An error occurred whilst connecting to " + c.catalog + " on " + c.dataSource);
            EXPECT_EQ(e.getProcSig(), "CDataServices::CDataServices");
            ASSERT_NE(e.getInner(), nullptr);
            std::string chain = chainText(e);
            EXPECT_NE(chain.find(c.driverSays), std::string::npos) << chain;
            EXPECT_EQ(chain.find(c.password), std::string::npos) << chain;
            EXPECT_EQ(e.errorChainText().find(c.password), std::string::npos);
        }
    }
}

}  // namespace
