#pragma once
// The property-database tests run against the throwaway PostgreSQL server of
// scripts/pg-test-server.sh (ctest starts it; ZELKA_PG_TEST_DIR names its
// folder). What landed in the database is read back with the server's own
// client, psql, not with the module's ODBC code.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "database/StoredProcedure.h"
#include "tests/common/Shell.h"

namespace dbtest {

struct Server {
    std::map<std::string, std::string> values;
    std::string get(const std::string& key) const
    {
        auto it = values.find(key);
        if (it == values.end()) throw std::runtime_error("server.env has no " + key);
        return it->second;
    }
    std::string dataSource() const { return get("ZELKA_PG_HOST") + ":" + get("ZELKA_PG_PORT"); }
    std::string user() const { return get("ZELKA_PG_USER"); }
    std::string password() const { return get("ZELKA_PG_PASSWORD"); }
};

// The running test server; the ODBC driver registration is made the
// process's own. A server that is not running fails the test (no skip).
inline const Server& server()
{
    static Server s = [] {
        Server r;
        const char* dir = std::getenv("ZELKA_PG_TEST_DIR");
        std::string folder = dir ? dir : std::string(ZELKA_BINARY_DIR) + "/pgtest";
        std::ifstream in(folder + "/server.env");
        if (!in) throw std::runtime_error("no test server in " + folder + ": run scripts/pg-test-server.sh start " + folder);
        std::string line;
        while (std::getline(in, line)) {
            size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            std::string value = line.substr(eq + 1);
            if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'') value = value.substr(1, value.size() - 2);
            r.values[line.substr(0, eq)] = value;
        }
        setenv("ODBCSYSINI", r.get("ODBCSYSINI").c_str(), 1);
        setenv("ODBCINI", r.get("ODBCINI").c_str(), 1);
        return r;
    }();
    return s;
}

inline std::unique_ptr<CStoredProcedure> connect(const std::string& catalog = "ipr", uint32_t timeout = 30)
{
    const Server& s = server();
    return std::make_unique<CStoredProcedure>(s.dataSource(), catalog, s.user(), s.password(), timeout);
}

// Runs SQL through psql as the login role; returns the rows, fields split at '|'.
inline std::vector<std::vector<std::string>> psql(const std::string& sql, const std::string& catalog = "ipr")
{
    const Server& s = server();
    std::string file = std::string(ZELKA_BINARY_DIR) + "/pgtest-query-" + std::to_string(getpid()) + ".sql";
    {
        std::ofstream out(file);
        out << sql;
    }
    std::string command = "PGPASSWORD='" + s.password() + "' " + s.get("ZELKA_PG_BIN") +
                          "/psql -X -q -At -F '|' -v ON_ERROR_STOP=1 -h " + s.get("ZELKA_PG_HOST") + " -p " +
                          s.get("ZELKA_PG_PORT") + " -U " + s.user() + " -d '" + catalog + "' -f " + file + " 2>&1";
    const zelkatest::CommandOutput run = zelkatest::runCommand(command);
    std::remove(file.c_str());
    if (run.status != 0) throw std::runtime_error("psql failed on: " + sql + "\n" + run.out);
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream parts(line + "|");  // a trailing empty field is a field too
        for (std::string field; std::getline(parts, field, '|');) fields.push_back(field);
        rows.push_back(fields);
    }
    return rows;
}

// The single value of a one-row, one-column query.
inline std::string psqlValue(const std::string& sql, const std::string& catalog = "ipr")
{
    auto rows = psql(sql, catalog);
    if (rows.size() != 1 || rows[0].size() != 1) throw std::runtime_error("expected one value from: " + sql);
    return rows[0][0];
}

// A new floor (with its own site and building) for one test, so tests do
// not see each other's rows. Returns the floor's location id.
inline int newFloor(const std::string& label)
{
    std::string sql = "insert into locations (parent_id, kind, name) values (null, 's', '" + label +
                      " site') returning id;";
    int site = std::stoi(psqlValue(sql));
    int building = std::stoi(psqlValue("insert into locations (parent_id, kind, name) values (" + std::to_string(site) +
                                       ", 'b', '" + label + " building') returning id;"));
    return std::stoi(psqlValue("insert into locations (parent_id, kind, name) values (" + std::to_string(building) +
                               ", 'f', '" + label + " floor') returning id;"));
}

}  // namespace dbtest
