#include "app/batch/ReportQueue.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/batch/BatchDatabase.h"
#include "host/ed/acutPrintf.h"
#include "infra/ZelkaExceptions.h"
#include "reports/GraphicReport.h"

namespace fs = std::filesystem;

std::vector<std::string> ReportQueue::splitCsvLine(const std::string& line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

void ReportQueue::add(const std::string& path, int& queued, int& refused)
{
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(path, ec))
            if (entry.is_regular_file() && entry.path().extension() == ".xml") files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        if (files.empty()) {
            std::fprintf(stderr, "zelka-batch: %s holds no report XML files (*.xml)\n", path.c_str());
            ++refused;
        }
        for (const fs::path& file : files) addReportFile(file.string(), {}, file.string(), queued, refused);
    } else if (fs::path(path).extension() == ".csv") {
        addCsv(path, queued, refused);
    } else if (fs::is_regular_file(path, ec)) {
        addReportFile(path, {}, path, queued, refused);
    } else {
        std::fprintf(stderr, "zelka-batch: %s does not exist: give a folder of report XML files, a report XML file "
                             "or a CSV list\n", path.c_str());
        ++refused;
    }
}

void ReportQueue::addReportFile(const std::string& file,
                                const std::vector<std::pair<std::string, std::string>>& overrides,
                                const std::string& where, int& queued, int& refused)
{
    CGraphicReport report;
    std::string printed;
    CommandLineSink previous = setCommandLineSink([&](const std::string& text) { printed += text; });
    bool read = false;
    std::string failure;
    try {
        read = report.deSerialize(file);
    } catch (const CEXZelka& e) {
        failure = e.innermost().getDescription();
    }
    setCommandLineSink(previous);
    if (!read) {
        std::fprintf(stderr, "zelka-batch: %s: not a graphic report: %s\n", where.c_str(),
                     (failure.empty() ? printed : failure).c_str());
        ++refused;
        return;
    }
    report.setOutputFilename(fs::path(file).stem().string());
    report.setOutputPath(options_.outputPath);
    for (const auto& [column, value] : overrides) {
        if (column == "drawing_path") report.setDrawingPath(value);
        else if (column == "drawing_filename") report.setDrawingFilename(value);
        else if (column == "output_path" && options_.outputPath.empty()) report.setOutputPath(value);
        else if (column == "output_filename") report.setOutputFilename(value);
        else if (column == "save_copy_to") report.setSaveCopyTo(value);
        else if (column == "xml_output_to") report.setXMLOutputTo(value);
        else if (column == "title") report.setTitle(value);
    }
    try {
        int32_t id = db_.addReport(report, options_.waitingStatus);
        if (options_.verbose) std::printf("zelka-batch: %s queued as report %d\n", where.c_str(), id);
        ++queued;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zelka-batch: %s: the database refused it: %s\n", where.c_str(), e.what());
        ++refused;
    } catch (const CEXZelka& e) {
        std::fprintf(stderr, "zelka-batch: %s: the database refused it: %s\n", where.c_str(),
                     e.innermost().getDescription().c_str());
        ++refused;
    }
}

void ReportQueue::addCsv(const std::string& file, int& queued, int& refused)
{
    static const char* const known[] = {"report",       "drawing_path", "drawing_filename", "output_path",
                                        "output_filename", "save_copy_to", "xml_output_to",  "title"};
    std::ifstream in(file);
    if (!in) {
        std::fprintf(stderr, "zelka-batch: cannot read %s\n", file.c_str());
        ++refused;
        return;
    }
    std::string line;
    std::vector<std::string> header;
    int lineNumber = 0;
    const fs::path folder = fs::path(file).parent_path();
    while (std::getline(in, line)) {
        ++lineNumber;
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        std::vector<std::string> fields = splitCsvLine(line);
        const std::string where = file + ":" + std::to_string(lineNumber);
        if (header.empty()) {
            header = fields;
            bool hasReport = false;
            for (const std::string& name : header) {
                if (std::find(std::begin(known), std::end(known), name) == std::end(known)) {
                    std::fprintf(stderr, "zelka-batch: %s: unknown column \"%s\" (known: report, drawing_path, "
                                         "drawing_filename, output_path, output_filename, save_copy_to, "
                                         "xml_output_to, title)\n", where.c_str(), name.c_str());
                    ++refused;
                    return;
                }
                hasReport = hasReport || name == "report";
            }
            if (!hasReport) {
                std::fprintf(stderr, "zelka-batch: %s: the header names no \"report\" column\n", where.c_str());
                ++refused;
                return;
            }
            continue;
        }
        if (fields.size() != header.size()) {
            std::fprintf(stderr, "zelka-batch: %s: %zu field(s) where the header has %zu\n", where.c_str(),
                         fields.size(), header.size());
            ++refused;
            continue;
        }
        std::string reportFile;
        std::vector<std::pair<std::string, std::string>> overrides;
        for (size_t i = 0; i < header.size(); ++i) {
            if (header[i] == "report") reportFile = fields[i];
            else overrides.emplace_back(header[i], fields[i]);
        }
        fs::path reportPath(reportFile);
        if (reportPath.is_relative()) reportPath = folder / reportPath;
        addReportFile(reportPath.string(), overrides, where, queued, refused);
    }
}
