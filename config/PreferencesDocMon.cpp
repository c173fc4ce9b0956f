#include "config/PreferencesDocMon.h"

#include <variant>

#include "host/ed/acutPrintf.h"
#include "infra/FileUtilities.h"
#include "infra/Log.h"
#include "infra/Utilities.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"

// The element name and member of every field, in the order of the file.
struct CServerPreferenceDocMonFields {
    using S = CServerPreferenceDocMon;
    using Member = std::variant<std::string S::*, int32_t S::*, bool S::*>;
    struct Field {
        const char* element;
        Member member;
    };
    static constexpr Field fields[] = {
        {"docMonErrorLogFilePath", &S::docMonErrorLogFilePath_},
        {"acadErrorLogFilePath", &S::acadErrorLogFilePath_},
        {"deletePeriodSecs", &S::deletePeriodSecs_},
        {"cacheOutPath", &S::cacheOutPath_},
        {"cachePlotTypeID", &S::cachePlotTypeID_},
        {"applyCachePlotSettings", &S::applyCachePlotSettings_},
        {"cachePlotCentred", &S::cachePlotCentred_},
        {"cachePlotScaleTypeID", &S::cachePlotScaleTypeID_},
        {"cachePlotAreaTypeID", &S::cachePlotAreaTypeID_},
        {"cachePlotMediaNameID", &S::cachePlotMediaNameID_},
        {"graphRepOutPath", &S::graphRepOutPath_},
        {"dbTimeout", &S::dbTimeout_},
        {"dbDatasource", &S::dbDatasource_},
        {"dbUserID", &S::dbUserID_},
        {"dbPassword", &S::dbPassword_},
        {"dbInitialCatalog", &S::dbInitialCatalog_},
        {"dbDriver", &S::dbDriver_},
        {"runAcadService", &S::runAcadService_},
        {"runAcadOnlyWhenRequired", &S::runAcadOnlyWhenRequired_},
        {"acadCheckPeriod", &S::acadCheckPeriod_},
        {"acadPath", &S::acadPath_},
        {"acadArguments", &S::acadArguments_},
        {"acadWorkingDirectory", &S::acadWorkingDirectory_},
        {"acadTempDirectory", &S::acadTempDirectory_},
        {"acadMaxSessionSecs", &S::acadMaxSessionSecs_},
        {"monitorAsbestos", &S::monitorAsbestos_},
        {"asbestosWaitPeriodSecs", &S::asbestosWaitPeriodSecs_},
        {"asbestosBatchSize", &S::asbestosBatchSize_},
        {"monitorCondition", &S::monitorCondition_},
        {"conditionWaitPeriodSecs", &S::conditionWaitPeriodSecs_},
        {"conditionBatchSize", &S::conditionBatchSize_},
        {"monitorIPC", &S::monitorIPC_},
        {"ipcWaitPeriodSecs", &S::ipcWaitPeriodSecs_},
        {"ipcBatchSize", &S::ipcBatchSize_},
        {"monitorIPR", &S::monitorIPR_},
        {"iprWaitPeriodSecs", &S::iprWaitPeriodSecs_},
        {"iprBatchSize", &S::iprBatchSize_},
        {"monitorLLT", &S::monitorLLT_},
        {"lltWaitPeriodSecs", &S::lltWaitPeriodSecs_},
        {"lltBatchSize", &S::lltBatchSize_},
        {"monitorSVG", &S::monitorSVG_},
        {"svgWaitPeriodSecs", &S::svgWaitPeriodSecs_},
        {"svgBatchSize", &S::svgBatchSize_},
        {"debugAcad", &S::debugAcad_},
        {"debugDocMon", &S::debugDocMon_},
        // This module's own addition; the monitor ignores elements it does not know.
        {"acadDebugLogFilePath", &S::acadDebugLogFilePath_},
    };
};

void CServerPreferenceDocMon::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CServerPreferenceDocMon::CServerPreferenceDocMon", [&] {
        CUtilities utilities;
        for (const auto& field : CServerPreferenceDocMonFields::fields) {
            pugi::xml_node child;
            for (pugi::xml_node candidate : element.children()) {
                if (candidate.type() == pugi::node_element && CXMLUtilities::localName(candidate) == field.element) {
                    child = candidate;
                    break;
                }
            }
            if (!child) continue;
            const std::string text = CXMLUtilities::getText(child);
            std::visit(
                [&](auto member) {
                    using T = std::remove_reference_t<decltype(this->*member)>;
                    if constexpr (std::is_same_v<T, std::string>)
                        this->*member = text;
                    else if constexpr (std::is_same_v<T, int32_t>)
                        this->*member = utilities.CStringToInt(text);
                    else
                        this->*member = text == "1";
                },
                field.member);
        }
    });
}

std::string CPreferencesDocMon::preferencesFolderPath()
{
    return CFileUtilities().preferencesFolder();
}

CPreferencesDocMon& CPreferencesDocMon::moduleSettings()
{
    static CPreferencesDocMon settings;
    return settings;
}

int CPreferencesDocMon::loadFromPreferencesFolder()
{
    CPreferencesDocMon& settings = moduleSettings();
    const std::string folder = preferencesFolderPath();
    if (folder.empty())
        settings.deleteObjects();
    else
        settings.loadPreferences(folder + FILE_NAME);
    CLog::setDebugLogPath(settings.getCount() > 0 ? settings.getAt(0).getAcadDebugLogFilePath() : std::string());
    return settings.getCount();
}

bool CPreferencesDocMon::loadPreferences(const std::string& path)
{
    return zelkaOperation(__FILE__, "CPreferencesDocMon::loadPreferences", [&] {
        deleteObjects();
        pugi::xml_document document;
        CXMLLoadResult loaded = CXMLUtilities().loadXMLDocument(document, path);
        if (!loaded.ok) {
            if (!loaded.fileMissing)
                acutPrintf("Unable to read the document-monitor settings %s: %s\n", path.c_str(),
                           loaded.describe().c_str());
            return false;
        }
        loadPreferences(document);
        return true;
    });
}

void CPreferencesDocMon::loadPreferences(const pugi::xml_document& document)
{
    zelkaOperation(__FILE__, "CPreferencesDocMon::loadPreferences", [&] {
        deleteObjects();
        pugi::xml_node root = CXMLUtilities::rootElement(document);
        if (CXMLUtilities::localName(root) != "documentMonitorPreferences") return;
        for (pugi::xml_node child : root.children()) {
            // An entry is a child that has child nodes of its own.
            if (child.type() != pugi::node_element || !child.first_child()) continue;
            auto entry = std::make_unique<CServerPreferenceDocMon>();
            entry->deSerialize(child);
            add(std::move(entry));
        }
    });
}

void CPreferencesDocMon::add(std::unique_ptr<CServerPreferenceDocMon> entry)
{
    if (entry) items_.push_back(std::move(entry));
}

const CServerPreferenceDocMon& CPreferencesDocMon::getAt(int index) const
{
    return zelkaOperation(__FILE__, "CPreferencesDocMon::getAt", [&]() -> const CServerPreferenceDocMon& {
        return *items_.at(static_cast<size_t>(index));
    });
}

std::vector<std::string> CPreferencesDocMon::errorLogPaths() const
{
    std::vector<std::string> paths;
    for (const auto& entry : items_) paths.push_back(entry->getAcadErrorLogFilePath());
    return paths;
}

void CPreferencesDocMon::deleteObjects()
{
    zelkaOperation(__FILE__, "CPreferencesDocMon::deleteObjects", [&] { items_.clear(); });
}
