#pragma once
// Builds the parameter lists of the property database's calls: one function
// per parameter type, each appending a named parameter with its direction
// and value in the order of the call. Decimals carry precision 18 and scale
// 10, as every call of the catalogue declares them.

#include <cstdint>
#include <memory>
#include <string>

#include "database/ParameterBoolean.h"
#include "database/ParameterChar.h"
#include "database/ParameterDateTime.h"
#include "database/ParameterDecimal.h"
#include "database/ParameterInt.h"
#include "database/ParameterTinyInt.h"
#include "database/ParameterVarChar.h"
#include "database/Parameters.h"

namespace callparameters {

template <class P>
P* append(CParameters& list, const std::string& name, int32_t direction)
{
    auto p = std::make_unique<P>();
    p->setName(name);
    p->setDirection(direction);
    return static_cast<P*>(list.add(std::move(p)));
}

inline CParameterInt* addInt(CParameters& list, const std::string& name, int32_t value,
                             int32_t direction = PARAMETER_INPUT)
{
    auto* p = append<CParameterInt>(list, name, direction);
    p->setValue(value);
    return p;
}

inline CParameterTinyInt* addTinyInt(CParameters& list, const std::string& name, uint8_t value)
{
    auto* p = append<CParameterTinyInt>(list, name, PARAMETER_INPUT);
    p->setValue(value);
    return p;
}

inline CParameterBoolean* addBoolean(CParameters& list, const std::string& name, int32_t value,
                                     int32_t direction = PARAMETER_INPUT)
{
    auto* p = append<CParameterBoolean>(list, name, direction);
    p->setValue(value);
    return p;
}

inline CParameterDecimal* addDecimal(CParameters& list, const std::string& name, double value)
{
    auto* p = append<CParameterDecimal>(list, name, PARAMETER_INPUT);
    p->setPrecision(18);
    p->setNumericScale(10);
    p->setValue(value);
    return p;
}

inline CParameterVarChar* addVarChar(CParameters& list, const std::string& name, const std::string& value,
                                     int32_t size = 255)
{
    auto* p = append<CParameterVarChar>(list, name, PARAMETER_INPUT);
    p->setSize(size);
    p->setValue(value);
    return p;
}

inline CParameterChar* addChar(CParameters& list, const std::string& name, const std::string& value, int32_t size)
{
    auto* p = append<CParameterChar>(list, name, PARAMETER_INPUT);
    p->setSize(size);
    p->setValue(value);
    return p;
}

inline CParameterDateTime* addDateTime(CParameters& list, const std::string& name, const CDateTimeValue& value)
{
    auto* p = append<CParameterDateTime>(list, name, PARAMETER_INPUT);
    p->setValue(value);
    return p;
}

}  // namespace callparameters
