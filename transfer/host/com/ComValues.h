#pragma once

#include "transfer/core/KorvantHost.h"
#include "transfer/host/ReferenceTable.h"

#include <oaidl.h>

#include <string>

// Values between KORVANT's automation and the transfer: VARIANTs converted as
// a typed automation client converts them, text between UTF-8 and BSTR.
namespace comvalues {

// The objects a connection holds for the run.
using ComObjects = korvant::ReferenceTable<IDispatch*>;

// A VARIANT that clears itself.
struct Variant
{
    VARIANT value;

    Variant() { VariantInit(&value); }
    ~Variant() { VariantClear(&value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

std::string toUtf8(BSTR text);
// A new BSTR the caller frees; null when the text is no valid UTF-8.
BSTR toBstr(const std::string& text);

// Asks an object for IDispatch; the one reference gained is the caller's.
korvant::CallResult<IDispatch*> askForDispatch(IUnknown* object);

// The value of a property as KORVANT returned it, converted to the type the
// property has, as automation converts it for a typed client (Boolean flag,
// 32-bit type code, double numbers, text). An object is kept in `objects` as
// it was returned. Changes the VARIANT.
korvant::CallResult<korvant::Value> toValue(ComObjects& objects, VARIANT& variant,
                                            korvant::Interface addressedTo, int dispid);

// Fills a VARIANT from a value; false for a value that cannot travel as a put.
bool fromValue(const korvant::Value& value, VARIANT& variant);

} // namespace comvalues
