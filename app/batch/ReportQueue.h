#pragma once
// Queues graphic reports for the batch driver: report XML files (one, or
// every "*.xml" of a folder, in name order) or a CSV list whose rows name a
// report XML file and may replace its drawing and output settings. Each
// report is added to the property database in the waiting status.
//
// A queued report's output file name is the XML file's name without ".xml"
// unless the CSV row gives one; its output folder is --output-path, else the
// CSV row's, else empty (the settings' graphic report output folder).
//
// CSV: a header row naming the columns, then one row per report. Columns:
// report (required; relative to the CSV file's folder), drawing_path,
// drawing_filename, output_path, output_filename, save_copy_to,
// xml_output_to, title. Fields may be quoted with '"' ('""' for a quote).

#include <string>
#include <vector>

#include "app/batch/BatchOptions.h"

class BatchDatabase;

class ReportQueue {
public:
    ReportQueue(BatchDatabase& db, const BatchOptions& options) : db_(db), options_(options) {}
    // Queues what path names; counts the reports queued and those refused
    // (each refusal printed with the file, the row and the reason).
    void add(const std::string& path, int& queued, int& refused);

    // One CSV line split into fields.
    static std::vector<std::string> splitCsvLine(const std::string& line);

private:
    void addReportFile(const std::string& file, const std::vector<std::pair<std::string, std::string>>& overrides,
                       const std::string& where, int& queued, int& refused);
    void addCsv(const std::string& file, int& queued, int& refused);

    BatchDatabase& db_;
    const BatchOptions& options_;
};
