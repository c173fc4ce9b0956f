// zelka_space_pass IN OUT [--again]: the space-block pass of the benchmark on
// the Zelka side. Opens the DXF file into a drawing database as a host
// document, finds the space block references of the floor plan (collect_s),
// and, as mus does, reads each block just before recalculating its area and
// perimeter and writing it back to the drawing (record and attributes);
// then saves to OUT. Prints one JSON line: the count, the sums of the new
// areas and perimeters, and the seconds each step took. With --again the
// pass runs a second time before the save, over the drawing the first pass
// changed, and its seconds are reported as again_s and again_cpu_s.

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbOpen.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/AcApDocument.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"

namespace {

double since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Processor time of this process: the machine is shared, so wall-clock
// times of a step vary with the load while its processor time does not.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool again = argc == 4 && std::string(argv[3]) == "--again";
    if (argc != 3 && !again) {
        std::fprintf(stderr, "usage: zelka_space_pass IN.dxf OUT.dxf [--again]\n");
        return 64;
    }
    auto start = std::chrono::steady_clock::now();
    auto db = std::make_shared<AcDbDatabase>(false);
    if (db->readDxfFile(argv[1]) != Acad::eOk) {
        std::fprintf(stderr, "%s\n", db->lastError().c_str());
        return 2;
    }
    double readSeconds = since(start);
    AcApDocument* document = acDocManagerPtr()->appendDocument(std::make_unique<AcApDocument>(argv[1], db));
    acdbSetWorkingDatabase(db.get());
    CAcadDrawing drawing;
    drawing.setDocument(document);
    drawing.setFullPath(argv[1]);
    drawing.setOpen(true);
    drawing.setKeepOpen(true);

    double areaSum = 0.0, perimeterSum = 0.0, collectSeconds = 0.0, passSeconds = 0.0, passCpu = 0.0;
    double againSeconds = 0.0, againCpu = 0.0;
    int count = 0;
    // One pass: collect, recalculate, write back. Returns the block count and
    // sets the sums of the new areas and perimeters.
    auto pass = [&](double& collected) {
        auto passStart = std::chrono::steady_clock::now();
        areaSum = perimeterSum = 0.0;
        const std::vector<AcDbObjectId> ids = CBlocks::getZelkaBlockIds_SS(drawing);
        collected = since(passStart);
        int blocks = 0;
        for (AcDbObjectId id : ids) {
            std::unique_ptr<CBlockDWG> block = CBlocks::readSpaceBlock(id, drawing, false, "f", true);
            if (!block) continue;
            block->recalculateAreaAndPerimeter(drawing);
            block->applyToDWG(drawing, false);
            areaSum += block->getArea();
            perimeterSum += block->getPerimeter();
            ++blocks;
        }
        return blocks;
    };
    try {
        auto passStart = std::chrono::steady_clock::now();
        double cpuStart = cpuSeconds();
        count = pass(collectSeconds);
        passSeconds = since(passStart);
        passCpu = cpuSeconds() - cpuStart;
        if (again) {
            double collectedAgain = 0.0;
            auto againStart = std::chrono::steady_clock::now();
            cpuStart = cpuSeconds();
            pass(collectedAgain);
            againSeconds = since(againStart);
            againCpu = cpuSeconds() - cpuStart;
        }
    } catch (const CEXZelka& e) {
        std::fprintf(stderr, "%s\n", e.printChainText().c_str());
        return 1;
    }
    auto saveStart = std::chrono::steady_clock::now();
    if (db->saveAs(argv[2]) != Acad::eOk) {
        std::fprintf(stderr, "%s\n", db->lastError().c_str());
        return 2;
    }
    double saveSeconds = since(saveStart);
    std::string againText;
    if (again) {
        char text[96];
        std::snprintf(text, sizeof text, ", \"again_s\": %.3f, \"again_cpu_s\": %.3f", againSeconds, againCpu);
        againText = text;
    }
    std::printf("{\"blocks\": %d, \"area_sum\": %.6f, \"perimeter_sum\": %.6f, \"read_s\": %.3f, "
                "\"collect_s\": %.3f, \"pass_s\": %.3f, \"pass_cpu_s\": %.3f, \"save_s\": %.3f, \"total_s\": %.3f, "
                "\"total_cpu_s\": %.3f%s}\n",
                count, areaSum, perimeterSum, readSeconds, collectSeconds, passSeconds, passCpu, saveSeconds,
                since(start), cpuSeconds(), againText.c_str());
    acdbSetWorkingDatabase(nullptr);
    acDocManagerPtr()->closeDocument(document);
    return 0;
}
