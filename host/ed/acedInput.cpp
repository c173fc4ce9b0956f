#include "host/ed/acedInput.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "host/ed/Editor.h"
#include "host/ed/acutPrintf.h"

namespace {

// What acedInitGet set up for the next prompt; every prompt clears it.
struct InitGetState {
    int flags = 0;
};

InitGetState& initGet()
{
    static InitGetState state;
    return state;
}

InitGetState takeInitGet()
{
    InitGetState taken = std::move(initGet());
    initGet() = {};
    return taken;
}

std::string trim(const std::string& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

bool parseReal(const std::string& text, double& value)
{
    if (text.empty()) return false;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    double parsed = std::strtod(begin, &end);
    if (end == begin || *end != '\0' || errno == ERANGE || !std::isfinite(parsed)) return false;
    // strtod also takes "inf", "nan" and hexadecimal forms; a CAD prompt does not.
    for (const char* c = begin; *c; ++c) {
        if (!std::isdigit(static_cast<unsigned char>(*c)) && !std::strchr("+-.eE", *c)) return false;
    }
    value = parsed;
    return true;
}

// One prompt's answer: the line, or the result code that ends the prompt.
struct Answer {
    int status = RTNORM;
    std::string text;
};

Answer readAnswer(const char* prompt)
{
    InputSource::Result result = Editor::instance().prompt(prompt ? prompt : "");
    if (result.kind != InputSource::Kind::Line) return {RTCAN, {}};
    return {RTNORM, std::move(result.text)};
}

}  // namespace

int acedGetString(int cronly, const char* prompt, std::string& result)
{
    takeInitGet();
    Answer answer = readAnswer(prompt);
    if (answer.status != RTNORM) return answer.status;
    if (cronly == 0) {
        // A blank ends the answer, as the space bar does at a CAD command line.
        std::string text = answer.text;
        size_t start = text.find_first_not_of(' ');
        if (start == std::string::npos) {
            result.clear();
            return RTNORM;
        }
        size_t blank = text.find(' ', start);
        if (blank != std::string::npos) {
            std::string rest = text.substr(blank + 1);
            if (!rest.empty()) Editor::instance().pushBack(rest);
            text = text.substr(start, blank - start);
        } else {
            text = text.substr(start);
        }
        result = text;
        return RTNORM;
    }
    result = std::move(answer.text);
    return RTNORM;
}

int acedGetString(int cronly, const char* prompt, char* result)
{
    if (!result) return RTREJ;
    std::string text;
    int status = acedGetString(cronly, prompt, text);
    if (status != RTNORM) {
        result[0] = '\0';
        return status;
    }
    if (text.size() > 132) {
        acutPrintf("The answer is longer than 132 characters.\n");
        result[0] = '\0';
        return RTERROR;
    }
    std::memcpy(result, text.c_str(), text.size() + 1);
    return RTNORM;
}

int acedGetInt(const char* prompt, int* result)
{
    InitGetState state = takeInitGet();
    for (;;) {
        Answer answer = readAnswer(prompt);
        if (answer.status != RTNORM) return answer.status;
        std::string text = trim(answer.text);
        if (text.empty()) {
            if (state.flags & RSG_NONULL) {
                acutPrintf("Requires an integer value.\n");
                continue;
            }
            return RTNONE;
        }
        double value = 0.0;
        if (!parseReal(text, value) || value != std::floor(value) || text.find_first_of(".eE") != std::string::npos) {
            acutPrintf("Requires an integer value.\n");
            continue;
        }
        if (value < -32768.0 || value > 32767.0) {
            acutPrintf("Requires an integer between -32768 and 32767.\n");
            continue;
        }
        if ((state.flags & RSG_NOZERO) && value == 0.0) {
            acutPrintf("Value must be nonzero.\n");
            continue;
        }
        if ((state.flags & RSG_NONEG) && value < 0.0) {
            acutPrintf("Value must be positive.\n");
            continue;
        }
        if (result) *result = static_cast<int>(value);
        return RTNORM;
    }
}

int acedGetReal(const char* prompt, ads_real* result)
{
    InitGetState state = takeInitGet();
    for (;;) {
        Answer answer = readAnswer(prompt);
        if (answer.status != RTNORM) return answer.status;
        std::string text = trim(answer.text);
        if (text.empty()) {
            if (state.flags & RSG_NONULL) {
                acutPrintf("Requires numeric value.\n");
                continue;
            }
            return RTNONE;
        }
        double value = 0.0;
        if (!parseReal(text, value)) {
            acutPrintf("Requires numeric value.\n");
            continue;
        }
        if ((state.flags & RSG_NOZERO) && value == 0.0) {
            acutPrintf("Value must be nonzero.\n");
            continue;
        }
        if ((state.flags & RSG_NONEG) && value < 0.0) {
            acutPrintf("Value must be positive.\n");
            continue;
        }
        if (result) *result = value;
        return RTNORM;
    }
}

int acedGetPoint(const ads_point base, const char* prompt, ads_point result)
{
    InitGetState state = takeInitGet();
    for (;;) {
        Answer answer = readAnswer(prompt);
        if (answer.status != RTNORM) return answer.status;
        std::string text = trim(answer.text);
        if (text.empty()) {
            if (state.flags & RSG_NONULL) {
                acutPrintf("Invalid point.\n");
                continue;
            }
            return RTNONE;
        }
        bool relative = false;
        if (text[0] == '@') {
            relative = true;
            text = text.substr(1);
        }
        std::vector<double> coordinates;
        std::stringstream parts(text);
        std::string part;
        bool valid = true;
        while (std::getline(parts, part, ',')) {
            double value = 0.0;
            if (!parseReal(trim(part), value)) {
                valid = false;
                break;
            }
            coordinates.push_back(value);
        }
        if (!text.empty() && text.back() == ',') valid = false;
        if (!valid || coordinates.size() < 2 || coordinates.size() > 3 || (relative && !base)) {
            acutPrintf("Invalid point.\n");
            continue;
        }
        if (coordinates.size() == 2) coordinates.push_back(0.0);
        for (int i = 0; i < 3; ++i) {
            double offset = relative ? base[i] : 0.0;
            if (result) result[i] = coordinates[static_cast<size_t>(i)] + offset;
        }
        return RTNORM;
    }
}

int acedInitGet(int flags, const char*)
{
    initGet() = InitGetState{flags};
    return RTNORM;
}
