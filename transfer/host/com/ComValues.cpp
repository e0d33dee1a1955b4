#include "transfer/host/com/ComValues.h"

#include "transfer/host/com/ComCallRules.h"

#include <oleauto.h>

using namespace korvant;

namespace comvalues {
namespace {

// The type each scalar property has in KORVANT's automation; VT_DISPATCH for
// the properties that hold objects.
VARTYPE propertyType(Interface addressedTo, int dispid)
{
    if (addressedTo == Interface::Command && dispid == dispid::DimensionFlag)
        return VT_BOOL;
    if (addressedTo == Interface::Command && dispid == dispid::TypeCode)
        return VT_I4;
    if (addressedTo == Interface::Dimension &&
        (dispid == dispid::Nominal || dispid == dispid::PlusTolerance || dispid == dispid::MinusTolerance))
        return VT_R8;
    if ((addressedTo == Interface::Dimension && dispid == dispid::AxisText) ||
        (addressedTo == Interface::PartProgram && dispid == dispid::DefaultValue))
        return VT_BSTR;
    return VT_DISPATCH;
}

// An object as KORVANT returned it. A VT_DISPATCH is the interface KORVANT
// hands out for this property (perhaps a second one of the same object):
// asking it for IDispatch again could give another interface with other
// members. Only a bare IUnknown is asked for IDispatch.
CallResult<Value> toObject(ComObjects& objects, VARIANT& variant)
{
    if (variant.vt == VT_EMPTY || !variant.punkVal)
        return {CallStatus::Ok, ObjectRef{}};
    if (variant.vt == VT_DISPATCH) {
        variant.pdispVal->AddRef();
        return {CallStatus::Ok, objects.keep(variant.pdispVal)};
    }
    const CallResult<IDispatch*> dispatch = askForDispatch(variant.punkVal);
    if (!dispatch.ok())
        return {dispatch.status, {}};
    return {CallStatus::Ok, objects.keep(dispatch.value)};
}

} // namespace

std::string toUtf8(BSTR text)
{
    const int length = static_cast<int>(SysStringLen(text));
    if (length == 0)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), size, nullptr, nullptr);
    return result;
}

BSTR toBstr(const std::string& text)
{
    if (text.empty())
        return SysAllocStringLen(L"", 0);
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (size == 0)
        return nullptr;
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(size));
    if (result)
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, result, size);
    return result;
}

CallResult<IDispatch*> askForDispatch(IUnknown* object)
{
    IDispatch* dispatch = nullptr;
    const HRESULT outcome = comcalls::patiently(
        [&] { return object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)); });
    if (FAILED(outcome) || !dispatch)
        return {SUCCEEDED(outcome) ? CallStatus::Failed : comcalls::statusOf(outcome), nullptr};
    return {CallStatus::Ok, dispatch};
}

CallResult<Value> toValue(ComObjects& objects, VARIANT& variant, Interface addressedTo, int dispid)
{
    if ((variant.vt & VT_BYREF) && FAILED(VariantCopyInd(&variant, &variant)))
        return {CallStatus::Failed, {}};
    if (variant.vt == VT_DISPATCH || variant.vt == VT_UNKNOWN)
        return toObject(objects, variant);
    const VARTYPE type = propertyType(addressedTo, dispid);
    if (type == VT_DISPATCH && variant.vt == VT_EMPTY)
        return toObject(objects, variant);
    // Converted as a typed automation client converts: Empty reads as false,
    // 0 or "", text as a number in the user's locale; Null, an error value or
    // a value that does not convert is a failed read.
    if (type == VT_DISPATCH || variant.vt == VT_NULL || variant.vt == VT_ERROR ||
        FAILED(VariantChangeType(&variant, &variant, 0, type)))
        return {CallStatus::Failed, {}};
    switch (type) {
    case VT_BOOL:
        return {CallStatus::Ok, variant.boolVal != VARIANT_FALSE};
    case VT_I4:
        return {CallStatus::Ok, static_cast<std::int32_t>(variant.lVal)};
    case VT_R8:
        return {CallStatus::Ok, variant.dblVal};
    default:
        return {CallStatus::Ok, toUtf8(variant.bstrVal)};
    }
}

bool fromValue(const Value& value, VARIANT& variant)
{
    if (const double* number = std::get_if<double>(&value)) {
        variant.vt = VT_R8;
        variant.dblVal = *number;
    } else if (const std::int32_t* integer = std::get_if<std::int32_t>(&value)) {
        variant.vt = VT_I4;
        variant.lVal = *integer;
    } else if (const bool* flag = std::get_if<bool>(&value)) {
        variant.vt = VT_BOOL;
        variant.boolVal = *flag ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (const std::string* text = std::get_if<std::string>(&value)) {
        variant.bstrVal = toBstr(*text);
        if (!variant.bstrVal)
            return false;
        variant.vt = VT_BSTR;
    } else {
        return false;
    }
    return true;
}

} // namespace comvalues
