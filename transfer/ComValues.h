#pragma once

#include "KorvantHost.h"

#include <oaidl.h>

class ComHost;

namespace comvalues {

// The value of a property as KORVANT returned it, converted to the type the
// property has, as automation converts it for a typed client (Boolean flag,
// 32-bit type code, double numbers, text). An object is kept by the host as
// it was returned. Changes the VARIANT.
korvant::CallResult<korvant::Value> toValue(ComHost& host, VARIANT& variant, korvant::Interface addressedTo,
                                            int dispid);

} // namespace comvalues
