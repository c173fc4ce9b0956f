#pragma once
// The ordered parameter list of one stored-procedure call. It owns its
// parameters; they are sent in the order they were added.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "database/Parameter.h"

class CParameters {
public:
    CParameters() = default;
    CParameters(const CParameters&) = delete;
    CParameters& operator=(const CParameters&) = delete;
    virtual ~CParameters() { deleteObjects(); }

    // Takes ownership and appends. Returns the parameter for chaining.
    CParameter* add(std::unique_ptr<CParameter> parameter);
    int32_t getCount() const { return static_cast<int32_t>(items_.size()); }
    // The parameter at index; std::out_of_range outside the list.
    CParameter& getAt(int32_t index) const { return *items_.at(static_cast<size_t>(index)); }
    // The first parameter named exactly name (case and length count), or null.
    CParameter* getParameter(const std::string& name) const;
    // Frees every parameter and empties the list.
    void deleteObjects() { items_.clear(); }
    // The "parameters" element, one "parameter" child per parameter, in order.
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;

private:
    std::vector<std::unique_ptr<CParameter>> items_;
};
