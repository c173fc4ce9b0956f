#pragma once
// Helpers for the batch preparation tests: a folder with drawings, output
// folders and the document-monitor settings pointing at the test server;
// reports written into the database with psql; what pdfinfo and the
// file headers say about the files a preparation wrote.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <pugixml.hpp>

#include "tests/database/DatabaseTestSupport.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/plot/PlotTestSupport.h"

namespace batchtest {

namespace fs = std::filesystem;

// The settings file for the test server: graphic report output folder,
// temporary folder and error log in dir.
inline fs::path writeSettings(const fs::path& dir)
{
    const dbtest::Server& s = dbtest::server();
    fs::create_directories(dir / "default-out");
    fs::create_directories(dir / "tmp");
    fs::path file = dir / "docmon.xml";
    pugi::xml_document doc;
    pugi::xml_node entry = doc.append_child("documentMonitorPreferences").append_child("server");
    auto field = [&](const char* name, const std::string& value) {
        entry.append_child(name).text().set(value.c_str());
    };
    field("dbDatasource", s.dataSource());
    field("dbUserID", s.user());
    field("dbPassword", s.password());
    field("dbInitialCatalog", "ipr");
    field("dbTimeout", "30");
    field("graphRepOutPath", (dir / "default-out").string() + "/");
    field("acadTempDirectory", (dir / "tmp").string() + "/");
    field("acadErrorLogFilePath", (dir / "errors.xml").string());
    doc.save_file(file.c_str());
    return file;
}

inline std::string quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

// A report in status on the drawing, with one category "*" (every space
// but the gross area) hatched SOLID red on layer GR-ALL and the layer
// ROOMS shown. Returns its id.
struct ReportRow {
    int status = 0;
    std::string drawingPath, drawingFile, plotLayout = "Model";
    int device = 1;
    std::string outputPath, outputFile, saveCopyTo, xmlOutputTo;
};

inline int insertReport(const ReportRow& r)
{
    int id = std::stoi(dbtest::psqlValue(
        "insert into graphic_reports (status_id, title, drawing_path, drawing_filename, plot_layout, plot_type_id, "
        "plot_area_type_id, plot_media_size_id, plot_scale_type_id, output_path, output_filename, save_copy_to, "
        "xml_output_to, total_child_areas) values (" + std::to_string(r.status) + ", 'Batch test', " +
        quoted(r.drawingPath) + ", " + quoted(r.drawingFile) + ", " + quoted(r.plotLayout) + ", " +
        std::to_string(r.device) + ", 1, 5, 0, " + quoted(r.outputPath) + ", " + quoted(r.outputFile) + ", " +
        quoted(r.saveCopyTo) + ", " + quoted(r.xmlOutputTo) + ", 100) returning id;"));
    std::string rid = std::to_string(id);
    int category = std::stoi(dbtest::psqlValue(
        "insert into report_categories (graphic_report_id, sort_order, title, hatch_pattern, hatch_colour, "
        "hatch_layer) values (" + rid + ", 1, 'All rooms', 'SOLID', '#FF0000', 'GR-ALL') returning id;"));
    dbtest::psql("insert into category_blocks (category_id, sort_order, handle) values (" + std::to_string(category) +
                 ", 1, '*'); insert into report_layers_on (graphic_report_id, sort_order, name) values (" + rid +
                 ", 1, 'ROOMS');");
    return id;
}

inline int statusOf(int reportID)
{
    return std::stoi(dbtest::psqlValue("select status_id from graphic_reports where id = " + std::to_string(reportID)));
}

// A status of the driver's own for one test, so that the reports of other
// tests (and the demo data) are never claimed by it; reports an earlier run
// left in it are moved out.
inline int privateStatus(int id, const std::string& label)
{
    dbtest::psql("insert into statuses (id, description) values (" + std::to_string(id) + ", " + quoted(label) +
                 ") on conflict (id) do nothing; update graphic_reports set status_id = 0, batch_lease_until = null "
                 "where status_id = " + std::to_string(id) + ";");
    return id;
}

inline std::string pdfReport(const fs::path& pdf) { return dxftest::capture("pdfinfo '" + pdf.string() + "' 2>&1"); }
using plottest::pdfinfo;

inline bool isPng(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    char head[8] = {};
    in.read(head, 8);
    return in && std::string(head, 8) == std::string("\x89PNG\r\n\x1a\n", 8);
}

inline std::string checksum(const fs::path& file)
{
    std::string out = dxftest::capture("sha256sum '" + file.string() + "'");
    return out.substr(0, out.find(' '));
}

}  // namespace batchtest
