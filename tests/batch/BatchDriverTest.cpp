// zelka-batch as users run it, against the test server: queuing report XML
// files and CSV lists, several workers sharing the queue with one killed
// half-way, a clean stop on SIGTERM, and retries that are counted and capped.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "BatchTestSupport.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string kBatch = std::string(ZELKA_BINARY_DIR) + "/bin/zelka-batch";

// A report document: every space of the plan but the gross area hatched
// solid green on layer GR-ALL, the layer ROOMS shown, plotted as PDF on A4.
const char* kTemplate = R"(<?xml version="1.0" encoding="UTF-8"?>
<graphicReport xmlns="urn:zelkasystems:orvane:documentMonitor">
<grTitle>Every room</grTitle><grDrawingPath>DRAWINGS</grDrawingPath><grDrawingFilename>plan-01.dxf</grDrawingFilename>
<grPlotTypeID>1</grPlotTypeID><grPlotAreaTypeID>1</grPlotAreaTypeID><grPlotMediaSizeID>7</grPlotMediaSizeID>
<categories><category><cID>1</cID><cTitle>Rooms</cTitle><cHatchPattern>SOLID</cHatchPattern>
<cHatchColour>#00FF00</cHatchColour><cHatchScale>1</cHatchScale><cHatchAngle>0</cHatchAngle>
<cHatchLayer>GR-ALL</cHatchLayer><zelkaBlocks><zelkaBlock><mbHandle>*</mbHandle></zelkaBlock></zelkaBlocks>
</category></categories><layersOn><layerOn><loName>ROOMS</loName></layerOn></layersOn>
</graphicReport>
)";

class BatchDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::path(ZELKA_BINARY_DIR) / "test-tmp" / (std::string("batch-driver-") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "out");
        settings_ = batchtest::writeSettings(dir_);
    }
    void TearDown() override
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    // Plans made by ezdxf (bench/gen_floorplan.py).
    void makePlans(int count)
    {
        const std::string cmd = std::string(ZELKA_PYTHON) + " '" +
                                (dxftest::sourceDir() / "tests/batch/gen_plans.py").string() + "' " +
                                std::to_string(count) + " 4 '" + (dir_ / "plans").string() + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    void writeTemplate(const fs::path& file)
    {
        std::string text = kTemplate;
        text.replace(text.find("DRAWINGS"), 8, (dir_ / "plans").string() + "/");
        dxftest::writeFile(file, text);
    }
    // Starts zelka-batch with the settings; its output goes to log.
    void start(std::vector<std::string> args, const fs::path& log)
    {
        args.insert(args.begin(), kBatch);
        args.push_back("--settings");
        args.push_back(settings_.string());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        ASSERT_EQ(posix_spawn(&pid_, kBatch.c_str(), &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
    }
    // Waits for the driver to end; its exit status, -1 after the time limit.
    int finish(double seconds)
    {
        auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < until) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }
    // Runs zelka-batch to its end; its output.
    std::string runToEnd(const std::vector<std::string>& args, int& exitCode)
    {
        start(args, dir_ / "run.log");
        exitCode = finish(300);
        return dxftest::readFile(dir_ / "run.log");
    }
    int count(const std::string& where)
    {
        return std::stoi(dbtest::psqlValue("select count(*) from graphic_reports where " + where + ";"));
    }

    fs::path dir_, settings_;
    pid_t pid_ = -1;
};

TEST_F(BatchDriver, FourWorkersShareTwoHundredReportsAndOneKilledHalfWayLosesNothing)
{
    makePlans(20);
    std::map<std::string, std::string> sums;
    for (const auto& entry : fs::directory_iterator(dir_ / "plans"))
        sums[entry.path().filename().string()] = batchtest::checksum(entry.path());
    ASSERT_EQ(sums.size(), 20u);
    writeTemplate(dir_ / "every-room.xml");
    // The list: ten reports on each plan, each with its own plot name.
    std::string csv = "report,drawing_filename,output_filename\n";
    for (int i = 1; i <= 200; ++i) {
        char row[96];
        std::snprintf(row, sizeof row, "every-room.xml,plan-%02d.dxf,r%03d\n", (i - 1) % 20 + 1, i);
        csv += row;
    }
    dxftest::writeFile(dir_ / "list.csv", csv);
    const int waiting = batchtest::privateStatus(72, "scale-out test");
    const std::string mine = "id > " + dbtest::psqlValue("select coalesce(max(id), 0) from graphic_reports;");
    int rc = 0;
    std::string out = runToEnd({"queue", (dir_ / "list.csv").string(), "--status", "72", "--output-path",
                                (dir_ / "out").string() + "/"}, rc);
    ASSERT_EQ(rc, 0) << out;
    EXPECT_NE(out.find("queued 200 report(s) in status 72"), std::string::npos) << out;
    ASSERT_EQ(count(mine + " and status_id = " + std::to_string(waiting)), 200);

    start({"--status", "72", "--workers", "4", "--lease", "5", "--poll", "0.2", "--progress", "1"}, dir_ / "run.log");
    // Half-way, one worker dies without a word.
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(240);
    while (count(mine + " and status_id = 3") < 100 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::smatch m;
    std::string log = dxftest::readFile(dir_ / "run.log");
    ASSERT_TRUE(std::regex_search(log, m, std::regex("worker 2 started \\(pid ([0-9]+)\\)"))) << log;
    const pid_t victim = std::stoi(m[1]);
    ASSERT_EQ(kill(victim, SIGKILL), 0);
    const int exitCode = finish(240);
    log = dxftest::readFile(dir_ / "run.log");
    ASSERT_EQ(exitCode, 0) << log;
    EXPECT_NE(log.find("worker 2 (pid " + std::to_string(victim) + ") was killed by signal 9"), std::string::npos)
        << log;
    EXPECT_TRUE(std::regex_search(log, std::regex("finished: done 200, failed 0, waiting 0, in progress 0, "
                                                  "[0-9.]+ reports/min")))
        << log;

    // Every report ended plotted, once, and holds no claim.
    EXPECT_EQ(count(mine + " and status_id = 3 and batch_lease_until is null"), 200);
    EXPECT_EQ(count(mine + " and batch_attempts = 1"), 200 - count(mine + " and "
                                                                                "batch_attempts = 2"));
    EXPECT_LE(count(mine + " and batch_attempts = 2"), 1);
    std::printf("reports taken over from the killed worker: %d\n", count(mine + " and batch_attempts = 2"));
    // Every plot and its XML exist once, and nothing else was left there.
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir_ / "out")) files.insert(entry.path().filename().string());
    std::string others;
    for (const std::string& f : files)
        if (!std::regex_match(f, std::regex("r[0-9]{3}\\.(pdf|xml)"))) others += " " + f;
    EXPECT_EQ(files.size(), 400u) << "not a plot or its XML:" << others;
    for (int i = 1; i <= 200; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "r%03d", i);
        SCOPED_TRACE(name);
        EXPECT_EQ(files.count(std::string(name) + ".pdf"), 1u);
        EXPECT_EQ(files.count(std::string(name) + ".xml"), 1u);
        std::ifstream pdf(dir_ / "out" / (std::string(name) + ".pdf"), std::ios::binary);
        char head[5] = {};
        pdf.read(head, 5);
        EXPECT_EQ(std::string(head, 5), "%PDF-");
    }
    // A sample is opened by a PDF reader: one upright A4 page (media 7, 210 x 297 mm).
    for (const char* name : {"r001.pdf", "r100.pdf", "r200.pdf"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(batchtest::pdfinfo(dir_ / "out" / name, "Pages"), "1");
        EXPECT_EQ(batchtest::pdfinfo(dir_ / "out" / name, "Page size"), "595.276 x 841.89 pts (A4)");
    }
    // No drawing changed.
    for (const auto& [name, sum] : sums) {
        SCOPED_TRACE(name);
        EXPECT_EQ(batchtest::checksum(dir_ / "plans" / name), sum);
    }
}

TEST_F(BatchDriver, SigtermFinishesTheCurrentReportThenStops)
{
    makePlans(1);
    writeTemplate(dir_ / "template.xml");
    fs::create_directories(dir_ / "queue");
    // Enough reports that the stop still comes before the last one on a
    // busy machine, where the worker and this test's polling slow together.
    constexpr int kQueued = 60;
    for (int i = 1; i <= kQueued; ++i)
        fs::copy_file(dir_ / "template.xml", dir_ / "queue" / ("t" + std::to_string(100 + i) + ".xml"));
    batchtest::privateStatus(73, "stop test");
    const std::string mine = "id > " + dbtest::psqlValue("select coalesce(max(id), 0) from graphic_reports;");
    int rc = 0;
    std::string out = runToEnd({"queue", (dir_ / "queue").string(), "--status", "73"}, rc);
    ASSERT_EQ(rc, 0) << out;
    // Queued reports without an output folder plot into the settings' folder.
    ASSERT_EQ(count(mine + " and status_id = 73"), kQueued);

    start({"--status", "73", "--workers", "1", "--poll", "0.2"}, dir_ / "run.log");
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (count(mine + " and status_id = 3") < 1 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(kill(pid_, SIGTERM), 0);
    EXPECT_EQ(finish(60), 0);
    const std::string log = dxftest::readFile(dir_ / "run.log");
    EXPECT_NE(log.find("stopping: each worker finishes its current report"), std::string::npos) << log;
    // Nothing is left half-done: every report is plotted or still waiting, none claimed.
    const int plotted = count(mine + " and status_id = 3");
    EXPECT_GE(plotted, 1);
    EXPECT_EQ(count(mine + " and status_id = 73") + plotted, kQueued) << log;
    EXPECT_GE(count(mine + " and status_id = 73"), 1) << "the stop came too late to leave any waiting";
    EXPECT_EQ(count(mine + " and batch_lease_until is not null"), 0);
    int pdfs = 0;
    for (const auto& entry : fs::directory_iterator(dir_ / "default-out"))
        if (entry.path().extension() == ".pdf") ++pdfs;
    EXPECT_EQ(pdfs, plotted);
}

TEST_F(BatchDriver, FailuresAreRetriedUpToTheCapAndDeadClaimsAreTakenOver)
{
    makePlans(1);
    dxftest::writeFile(dir_ / "plans/broken.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n");
    const int waiting = batchtest::privateStatus(74, "retry test");
    batchtest::ReportRow r;
    r.status = waiting;
    r.drawingPath = (dir_ / "plans").string() + "/";
    r.outputPath = (dir_ / "out").string() + "/";
    struct Case {
        const char* name;
        const char* drawing;
        int status;
        int attempts;
        const char* error;  // a part of the reason recorded, "" none
    };
    const Case cases[] = {
        {"a drawing that cannot be read is tried up to the cap", "broken.dxf", 20, 3, "eBadDxfSequence"},
        {"a missing drawing is a final status at once", "absent.dxf", 4, 1, ""},
        {"a good report", "plan-01.dxf", 3, 1, ""},
        {"a claim whose worker died with no attempts left is given up", "plan-01.dxf", 20, 3, "stopped before it"},
        {"a claim whose worker died is taken over", "plan-01.dxf", 3, 2, ""},
    };
    std::vector<int> ids;
    for (const Case& c : cases) {
        r.drawingFile = c.drawing;
        r.outputFile = "retry" + std::to_string(ids.size());
        ids.push_back(batchtest::insertReport(r));
    }
    // Two claims of workers that died: their leases ran out long ago.
    dbtest::psql("update graphic_reports set status_id = 2, batch_worker = 'gone:1/1', batch_attempts = 3, "
                 "batch_lease_until = now() - interval '1 hour' where id = " + std::to_string(ids[3]) + ";"
                 "update graphic_reports set status_id = 2, batch_worker = 'gone:1/2', batch_attempts = 1, "
                 "batch_lease_until = now() - interval '1 hour' where id = " + std::to_string(ids[4]) + ";");
    int rc = 0;
    const std::string log = runToEnd({"--status", "74", "--workers", "2", "--max-attempts", "3", "--poll", "0.2"}, rc);
    EXPECT_EQ(rc, 0) << log;
    for (size_t i = 0; i < ids.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        const std::string id = std::to_string(ids[i]);
        EXPECT_EQ(batchtest::statusOf(ids[i]), c.status);
        EXPECT_EQ(dbtest::psqlValue("select batch_attempts from graphic_reports where id = " + id), std::to_string(c.attempts));
        const std::string error = dbtest::psqlValue("select coalesce(batch_error, '') from graphic_reports where id = " + id);
        if (*c.error)
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        else
            EXPECT_EQ(error, "");
    }
    // The unreadable drawing's errors went to the error log as well.
    EXPECT_NE(dxftest::readFile(dir_ / "errors.xml").find("broken.dxf"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir_ / "out/retry2.pdf"));
    EXPECT_TRUE(fs::exists(dir_ / "out/retry4.pdf"));
}

TEST_F(BatchDriver, QueueRefusesWhatIsNotAReportAndSaysWhere)
{
    makePlans(1);
    fs::create_directories(dir_ / "queue");
    writeTemplate(dir_ / "queue/a.xml");
    writeTemplate(dir_ / "queue/b.xml");
    dxftest::writeFile(dir_ / "queue/c.xml", "<notAReport/>\n");
    dxftest::writeFile(dir_ / "queue/d.xml", "<graphicReport><grTitle>half");
    batchtest::privateStatus(75, "queue test");
    struct Case {
        const char* name;
        std::vector<std::string> paths;
        int exitCode;
        std::vector<std::string> said;
        int queued;
    };
    dxftest::writeFile(dir_ / "bad-column.csv", "report,colour\na.xml,red\n");
    dxftest::writeFile(dir_ / "short-row.csv", "report,output_filename\nqueue/a.xml\nqueue/b.xml,\"b, \"\"two\"\"\"\n");
    const Case cases[] = {
        {"a folder with two reports and two that are not", {(dir_ / "queue").string()}, 1,
         {"queued 2 report(s) in status 75, 2 refused", (dir_ / "queue/c.xml").string() + ": not a graphic report",
          (dir_ / "queue/d.xml").string() + ": not a graphic report"}, 2},
        {"a CSV list with an unknown column", {(dir_ / "bad-column.csv").string()}, 1,
         {"bad-column.csv:1: unknown column \"colour\""}, 0},
        {"a CSV row with too few fields, and a quoted one", {(dir_ / "short-row.csv").string()}, 1,
         {"short-row.csv:2: 1 field(s) where the header has 2", "queued 1 report(s)"}, 1},
        {"a path that does not exist", {(dir_ / "nowhere").string()}, 1, {"nowhere does not exist"}, 0},
    };
    int total = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"queue"};
        args.insert(args.end(), c.paths.begin(), c.paths.end());
        args.insert(args.end(), {"--status", "75"});
        int rc = 0;
        const std::string out = runToEnd(args, rc);
        EXPECT_EQ(rc, c.exitCode) << out;
        for (const std::string& text : c.said) EXPECT_NE(out.find(text), std::string::npos) << text << "\n" << out;
        total += c.queued;
        EXPECT_EQ(count("status_id = 75"), total);
        // The summary follows: the status, its meaning and the count.
        EXPECT_TRUE(std::regex_search(out, std::regex("\\n +75  queue test +" + std::to_string(total) + " +0\\n")) ||
                    total == 0)
            << out;
    }
    EXPECT_EQ(count("status_id = 75 and output_filename = 'b, \"two\"'"), 1);
}

}  // namespace
